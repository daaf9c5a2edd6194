// PCG32: small, fast and the same sequence on every platform for a given seed.
#include "core/Random.h"

#include <chrono>

namespace orv {

void RandomGenerator::Seed(uint64_t seed) {
    state_ = 0;
    increment_ = (seed << 1u) | 1u;
    Next32();
    // The seed is mixed with 2^64 divided by the golden ratio, so that small seeds (0, 1, 2 ...)
    // start far apart in the state.
    state_ += seed ^ 0x9E3779B97F4A7C15ULL;
    Next32();
}

uint32_t RandomGenerator::Next32() {
    // PCG32's step and output: a 64-bit linear congruential step (Knuth's MMIX multiplier),
    // then the old state's top bits xor-shifted and rotated by its top five bits.
    const uint64_t old = state_;
    state_ = old * 6364136223846793005ULL + increment_;
    const uint32_t xorshifted = static_cast<uint32_t>(((old >> 18u) ^ old) >> 27u);
    const uint32_t rot = static_cast<uint32_t>(old >> 59u);
    return (xorshifted >> rot) | (xorshifted << ((32u - rot) & 31u));
}

float RandomGenerator::Float() {
    constexpr int kMantissaBits = 24; // the precision of a float in [0, 1)
    return static_cast<float>(Next32() >> (32 - kMantissaBits)) * (1.0f / (1 << kMantissaBits));
}

Vector RandomGenerator::UnitVector() {
    for (;;) {
        const Vector v{Float() * 2.0f - 1.0f, Float() * 2.0f - 1.0f, Float() * 2.0f - 1.0f};
        const float lengthSquared = Dot(v, v);
        // Inside the unit ball (so directions are uniform) and not so short that normalising
        // it would magnify rounding.
        if (lengthSquared <= 1.0f && lengthSquared > 1e-12f) {
            return Normal(v);
        }
    }
}

RandomGenerator& GlobalRandom() {
    static RandomGenerator generator;
    return generator;
}

void SeedRandom(uint64_t seed) { GlobalRandom().Seed(seed); }

void SeedRandomFromClock() {
    SeedRandom(static_cast<uint64_t>(std::chrono::high_resolution_clock::now().time_since_epoch().count()));
}

float FRand() { return GlobalRandom().Float(); }

} // namespace orv
