// The rippling textured grid of a WavySurfaceInfo.
#pragma once

#include "render/Renderer.h"

namespace orv {

struct WavySurfaceInfo;

// One grid vertex's texture coordinates and height at the surface's time: the texture spread
// over the grid and panning, each of U, V and Z moved by its two sine waves (along X and Y).
struct WavyVertex {
    float U = 0.0f;
    float V = 0.0f;
    float Z = 0.0f;
};
WavyVertex WavyVertexAt(const WavySurfaceInfo& surface, int i, int j);

// The grid as quads in the actor's placement, the texture at half brightness, in any pass.
void DrawWavySurface(Renderer& renderer, WavySurfaceInfo& surface);

} // namespace orv
