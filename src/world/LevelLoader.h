// Loading a level: the old level's actors and textures go, the Level Model and the T3D are read
// and linked, the world is sorted and hashed, the player is placed and every actor starts.
#pragma once

#include "content/LevelModel.h"
#include "content/T3dParser.h"

#include <string_view>

namespace orv {

struct World;

// Every failure is fatal. Writes one log line per step.
void LoadLevel(World& world, std::string_view path, bool showLoadingScreen);

// Reads a T3D file into actors appended to the world's list (class defaults, the block's lines,
// ApplyProperties; mover brushes from the block's polygons; mesh movers dropped with a warning).
void ParseT3DActors(World& world, std::string_view path);
void ParseT3DActorsText(World& world, std::string_view fileName, std::string_view text);

// Fills the current level's light, zone and surface-zone tables from its model's actor
// references: each takes the first actor whose name and class match (ASCII case-blind), and a
// surface's zone is its node's zone actor, the level's LevelInfo where the zone has none.
void ResolveModelActors(World& world);

// The loader's steps after the actors exist, exposed for tests.
void SortWorldTriangles(Array<WorldTriangle>& triangles);
void BuildSkyBox(World& world);

// The texture lookup the level's geometry and polygons use.
TextureResolver LevelTextureResolver(World& world);

} // namespace orv
