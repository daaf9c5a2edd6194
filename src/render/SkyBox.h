// The sky box: the triangles of the sky zone, drawn around the eye before the world, with a
// second, multiplying pass for their lightmaps.
#pragma once

#include "content/WorldTriangle.h"
#include "core/Array.h"
#include "render/Renderer.h"

namespace orv {

struct Texture;

// Pass 0 draws the sky's solid triangles (then their lightmaps from the atlas), pass 1 the
// modulated ones, pass 2 the translucent ones.
void DrawSkybox(Renderer& renderer, const Array<WorldTriangle>& skybox, int pass, Texture* atlas);

} // namespace orv
