// The fixed-step clock of the main loop: 60 simulation steps per second of wall-clock time,
// caught up back to back after a slow step, then one drawn frame.
#pragma once

#include "core/FixedStep.h"

#include <functional>

namespace orv {

// The step for the clocks (64-bit) and the one actors are handed (32-bit: 0.016666668).

struct LoopClock {
    double Start = 0.0;     // wall-clock time the loop started
    double Simulated = 0.0; // simulated time so far
};

// One pass: elapsed = now - Start, read once; while Simulated < elapsed, step() and advance
// Simulated by one step (step() returning false means no step was run, and ends the catch-up);
// then frame(), whether or not a step ran. No sleep and no cap. Returns the steps run.
int RunCatchUpPass(LoopClock& clock, double now, const std::function<bool()>& step, const std::function<void()>& frame);

} // namespace orv
