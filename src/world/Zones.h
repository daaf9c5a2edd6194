// Which zone a point lies in: dynamic zones first, then the BSP leaf's zone.
#pragma once

#include "core/Vector.h"

namespace orv {

struct Actor;
struct World;

// The zone actor at a point; the level's LevelInfo where the leaf has no zone.
Actor* FindZoneAt(const World& world, const Vector& location);

} // namespace orv
