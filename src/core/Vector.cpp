// Length and normalisation of world vectors.
#include "core/Vector.h"

#include <cmath>

namespace orv {

float LengthSquared(const Vector& v) { return Dot(v, v); }

float Length(const Vector& v) { return std::sqrt(LengthSquared(v)); }

Vector Normal(const Vector& v) {
    const float len = Length(v);
    if (len == 0.0f) {
        return {};
    }
    return v * (1.0f / len);
}

} // namespace orv
