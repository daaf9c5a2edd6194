// The triangles of an actor's own brush (movers), in brush space, built from its T3D polygons.
#pragma once

#include "content/WorldTriangle.h"
#include "core/Array.h"

namespace orv {

struct Actor;

struct ActorBrush {
    Array<WorldTriangle> Triangles;
    Actor* Owner = nullptr;
};

} // namespace orv
