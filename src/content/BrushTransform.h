// How a brush's own coordinates reach the world: pre-pivot, main scale, rotation, post scale and
// location. Movers and the level compiler both place brush vertices with it.
#pragma once

#include "core/Rotator.h"
#include "core/Vector.h"

namespace orv {

struct BrushTransform {
    Vector Location;
    Rotator Rotation;
    Vector PrePivot;
    Vector MainScale{1, 1, 1};
    Vector PostScale{1, 1, 1};
};

// v - PrePivot, times MainScale, Y negated, turned by RotateByAngles(-Roll, -Yaw, Pitch), Y negated
// again, times PostScale, plus Location.
Vector BrushVertexToWorld(const BrushTransform& t, const Vector& v);

// The same steps without PrePivot and Location (both scales and Y negations included), then
// normalised: the direction of a brush normal in the world as movers report it on a hit.
Vector BrushNormalToWorld(const BrushTransform& t, const Vector& n);

// The linear part without pre-pivot and location (for tools that need the matrix itself).
Vector BrushDirectionToWorld(const BrushTransform& t, const Vector& d);

} // namespace orv
