// Limits on the numbers that levels bring, and conversions and sums that cannot overflow.
#pragma once

#include "core/Vector.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace orv {

// The largest coordinate, and the largest float property, that the world takes from a file:
// real levels stay within 65536 units, and squares and sums of numbers this size stay far from
// the float range. Bigger values are clamped to it.
inline constexpr float kWorldMax = 1048576.0f; // 2^20

// A float or double as a 32-bit integer: NaN gives 0, values beyond the range the nearest end.
constexpr int32_t SaturateToInt32(double v) {
    if (!(v == v)) {
        return 0;
    }
    if (v >= static_cast<double>(std::numeric_limits<int32_t>::max())) {
        return std::numeric_limits<int32_t>::max();
    }
    if (v <= static_cast<double>(std::numeric_limits<int32_t>::min())) {
        return std::numeric_limits<int32_t>::min();
    }
    return static_cast<int32_t>(v);
}

// A sum or difference of 32-bit integers, done in 64 bits, kept at the nearest end of the range.
constexpr int32_t SaturateInt32(int64_t v) {
    return static_cast<int32_t>(
        std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

// A rotator component turned by delta: 32-bit arithmetic that wraps rather than overflows.
constexpr int32_t WrapAdd(int32_t a, int32_t delta) {
    return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(delta));
}

// A number from a file within +-kWorldMax; NaN gives 0.
constexpr float ClampToWorld(float v) { return v == v ? std::clamp(v, -kWorldMax, kWorldMax) : 0.0f; }
constexpr Vector ClampToWorld(const Vector& v) { return {ClampToWorld(v.X), ClampToWorld(v.Y), ClampToWorld(v.Z)}; }

} // namespace orv
