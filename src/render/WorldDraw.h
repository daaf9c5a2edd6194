// The OpenGL half of the world renderer: node polygons with their texture on unit 0 and their
// lightmap on unit 1, render state changed only when the flags that matter change.
#pragma once

#include "content/LevelModel.h"
#include "render/Renderer.h"

namespace orv {

struct Level;

// The render mode of polygon flags: the first of modulated, translucent, masked and alpha-blend
// that is set, else opaque.
RenderMode RenderModeForFlags(uint32_t flags);

// Walks the level (WalkWorld) and draws the queued opaque polygons bucket by bucket.
void RenderWorld(Renderer& renderer, const Level& level, int width, int height);

// Draws one node polygon with its render state and marks its lightmap drawn in this frame; a
// sky portal only marks the sky as visible.
void DrawSurfacePolygon(Renderer& renderer, const Level& level, int32_t node);

// Draws the see-through list from its last entry to its first: back to front.
void DrawTransparentPolygons(Renderer& renderer, const Level& level);

} // namespace orv
