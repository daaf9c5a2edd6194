// Loading a level: the old level's actors and textures go, the Level Model and the T3D are read
// and linked, the world is sorted and hashed, the player is placed and every actor starts.
#pragma once

#include "content/LevelModel.h"
#include "content/T3dParser.h"

#include <string_view>

namespace orv {

struct Actor;
struct World;
struct LevelModel;

// Every failure is fatal. Writes one log line per step.
void LoadLevel(World& world, std::string_view path, bool showLoadingScreen);

// Reads a T3D file into actors appended to the world's list (class defaults, the block's lines,
// ApplyProperties; mover brushes from the block's polygons; mesh movers dropped with a warning).
void ParseT3DActors(World& world, std::string_view path);
void ParseT3DActorsText(World& world, std::string_view fileName, std::string_view text);

// Links the model's actor references, light lists and zone tables to the level's actors, and
// gives every surface its zone actor (the LevelInfo where the zone has none).
void ResolveModelActors(LevelModel& model, World& world, Actor* levelInfo);

// The loader's steps after the actors exist, exposed for tests.
void SortWorldTriangles(Array<WorldTriangle>& triangles);
void BuildSkyBox(World& world);

// The texture lookup the level's geometry and polygons use.
TextureResolver LevelTextureResolver(World& world);

} // namespace orv
