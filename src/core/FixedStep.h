// The simulation's fixed step: 60 steps a second. The clocks add the 64-bit value; actors
// receive the 32-bit one.
#pragma once

namespace orv {

constexpr double kStepSeconds = 1.0 / 60.0;
constexpr float kStepDeltaTime = 0.016666668f;

} // namespace orv
