// The brushes of movers, drawn where the mover stands now, as the sky box draws its triangles:
// by pass, batched by texture and flags, panning with the zone they are in.
#pragma once

#include "render/Renderer.h"

namespace orv {

struct Mover;

// The console line of a brush without its back reference to the mover.
inline constexpr const char* kBrushWithoutMover = "Error: DrawMover: mesh.Mover=0";

// The brush triangles of the pass, through the brush transform the mover collides with, tinted
// by the mover's light (unlit triangles at a fixed grey). A brush that lost its mover is not
// drawn; the first time it is asked for in a level, kBrushWithoutMover is logged.
void DrawMoverBrush(Renderer& renderer, Mover& mover, DrawPass pass);

} // namespace orv
