// Light flicker: 256 factors in [0.6, 1.0) that drift from one random set to the next over a
// second of game time. The lightmap code reads Table.
#pragma once

#include <array>

namespace orv {

// Shimmering lights pick a factor per lightmap point: its shadow bit number modulo 256.
constexpr int kFlickerSize = 256;
// The dimmest a flickering light gets, and the span above it (full brightness is never reached).
constexpr float kFlickerLow = 0.6f;
constexpr float kFlickerSpan = 0.4f;
// Game time from one random set to the next.
constexpr double kFlickerRenewSeconds = 1.0;

struct FlickerSets {
    std::array<float, kFlickerSize> Table{};    // FlickerTable: what the lights use this frame
    std::array<float, kFlickerSize> Previous{};
    std::array<float, kFlickerSize> Next{};
    float LastTime = 0.0f; // game time the sets were last renewed
};

// r * kFlickerSpan + kFlickerLow for r in [0, 1), kept below 1.0 (the float sum rounds up for
// the largest r).
float FlickerFactor(float r);
// The factor for a fresh random number.
float NewFlickerFactor();

// Fills both sets with new factors (start-up does this before the generator is seeded).
void FillFlickerSets(FlickerSets& flicker);

// Once more than a second of game time has passed the next set becomes the previous one and a new next
// set is drawn; Table is then the blend of the two by the fraction of the second gone.
void UpdateFlicker(FlickerSets& flicker, double gameTime);

} // namespace orv
