// The sky box: the triangles of the sky zone, drawn around the eye before the world, with a
// second, multiplying pass for their lightmaps.
#pragma once

#include "render/Renderer.h"

namespace orv {

struct Level;

// The level's sky triangles of one pass: the opaque pass draws the solid ones (then their
// lightmaps from the atlas), the see-through pass the modulated ones, the translucent pass the
// translucent ones.
void DrawSkybox(Renderer& renderer, const Level& level, DrawPass pass);

} // namespace orv
