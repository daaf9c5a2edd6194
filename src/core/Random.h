// The engine's one uniform random generator (PCG32). Until it is seeded it runs from a fixed
// state, so anything drawn before seeding (the first flicker sets) is the same on every run.
#pragma once

#include "core/Vector.h"

#include <cstdint>

namespace orv {

class RandomGenerator {
public:
    void Seed(uint64_t seed);
    uint32_t Next32();
    // Uniform in [0, 1): 24 random bits, so every value is an exact float.
    float Float();
    // Three components 2r - 1, drawn again while the length exceeds 1 (or is 0), then normalised.
    Vector UnitVector();

private:
    // PCG32's published initial state and stream, for a generator that was never seeded.
    uint64_t state_ = 0x853c49e6748fea9bULL;
    uint64_t increment_ = 0xda3e39cb94b95bdbULL;
};

RandomGenerator& GlobalRandom();
void SeedRandom(uint64_t seed);
// Seeds from the high-resolution clock.
void SeedRandomFromClock();
// A uniform float in [0, 1) from the global generator.
float FRand();

} // namespace orv
