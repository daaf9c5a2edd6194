// A T3D map as the level compiler works on it: every actor with its class, name, property lines
// and polygons, the editor's brushes included (the engine's own actor builder leaves those out).
// Read through the engine's T3D reader, with its line rules and fatal parse errors.
#pragma once

#include "content/PropertyList.h"
#include "content/WorldTriangle.h"

#include <string>
#include <string_view>
#include <vector>

namespace orv {

struct MapActor {
    std::string Class;
    std::string Name;
    PropertyList Properties;
    std::vector<T3dPolygon> Polygons; // every polygon of its block, in file order
    int Line = 0;                     // of its Begin Actor
};

struct MapFile {
    std::string Path;
    std::vector<MapActor> Actors; // completed actors in file order
};

// Parses T3D text; path names the file in messages. Syntax errors are fatal with the engine's
// texts (see ParseT3DText).
MapFile ParseMap(std::string_view text, std::string_view path);

// Reads and parses a file; an unreadable file is fatal ("Cannot read map file PATH").
MapFile ReadMapFile(std::string_view path);

} // namespace orv
