// Collision between moving actors and the level, movers and other actors.
#pragma once

#include "core/Vector.h"

namespace orv {

// Upright cylinders (half heights, radii) overlap; touching counts as overlap.
bool CylindersOverlap(const Vector& locationA, float heightA, float radiusA, const Vector& locationB, float heightB,
                      float radiusB);

} // namespace orv
