// Surfaces of the Level Model: one per brush face that left anything in the world, shared by all
// the node polygons cut from it, with its texture name, flags, texture origin and axes and pans.
#pragma once

#include "Brushes.h"
#include "Csg.h"
#include "TextureNames.h"

#include "content/LevelModel.h"

#include <vector>

namespace orv {

// The engine's lighting and world triangles take a stored surface normal to point away from the
// side the surface is seen from, so the file holds the visible side's normal negated.
DVector StoredSurfaceNormal(const DVector& visibleNormal);

// Appends the surfaces of the CSG faces to `surfaces` and returns each face's surface index.
std::vector<int> MakeSurfaces(const std::vector<BrushSolid>& brushes, const std::vector<CsgFace>& faces,
                              TextureNames& textures, Array<Surface>& surfaces);

} // namespace orv
