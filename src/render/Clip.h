// Convex polygon clipping against view planes, in fixed work buffers.
#pragma once

#include "content/LevelModel.h"
#include "core/Vector.h"

namespace orv {

// Node polygons and box faces the walk clips have at most this many points.
constexpr int kMaxPolygonPoints = 33;
// Each of the five view planes can add one point to a convex polygon.
constexpr int kClipCapacity = kMaxPolygonPoints + 5;

struct ClipPolygon {
    int Num = 0;
    Vector Points[kClipCapacity];
};

// Keeps the part of a convex polygon in front of the plane (N.p - W >= 0): the entry
// intersection, the inside points in order, the exit intersection. False when nothing remains.
bool ClipToPlane(ClipPolygon& polygon, const Plane& plane);

} // namespace orv
