// The triangles of an actor's own brush (movers), in brush space, built from its T3D polygons.
#pragma once

#include "content/BrushTransform.h"
#include "content/WorldTriangle.h"
#include "core/Array.h"

namespace orv {

struct Actor;

struct ActorBrush {
    Array<WorldTriangle> Triangles;
    Actor* Owner = nullptr;
    // The triangles' corners in the world, three per triangle, for the transform they were
    // turned by: a mover at rest is swept by every shot without turning its brush again.
    Array<Vector> WorldCorners;
    BrushTransform CornersFor;
};

} // namespace orv
