// Converting a map package: the level's actors as T3D text (mover brushes as polygons) and its
// world model as the engine's Level Model, checked by the engine's own reader.
#pragma once

#include "Package.h"

#include "content/LevelModel.h"

#include <string>
#include <vector>

namespace orv {

struct MapStats {
    int Actors = 0;
    int Movers = 0; // actors written with their brush polygons
    int Nodes = 0;
    int Surfaces = 0;
    int Lightmaps = 0;
    std::vector<std::string> Textures; // every texture the surfaces and mover polygons name, once
};

struct ConvertedMap {
    std::string T3d;
    LevelModel Model;
    MapStats Stats;
};

// An ImportError when the package holds no level or its model does not hold together.
ConvertedMap ConvertMap(const Package& package);

} // namespace orv
