// The level compiler's reader for T3D maps: every actor with its class, name and property lines,
// and the polygons of every block (the editor's brushes included, which the engine's own actor
// reader leaves out). Same line rules and the same fatal parse errors as the engine's reader.
#pragma once

#include "content/PropertyList.h"
#include "core/Vector.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orv {

struct MapPolygon {
    std::string Texture; // as written on the Begin Polygon line; empty when none
    uint32_t Flags = 0;
    Vector Origin;
    Vector Normal;
    Vector TextureU;
    Vector TextureV;
    int32_t PanU = 0;
    int32_t PanV = 0;
    std::vector<Vector> Vertices;
    int Line = 0; // of its Begin Polygon
};

struct MapActor {
    std::string Class;
    std::string Name;
    PropertyList Properties;
    std::vector<MapPolygon> Polygons;
    int Line = 0; // of its Begin Actor
};

struct MapFile {
    std::string Path;
    std::vector<MapActor> Actors; // completed actors in file order
};

// Parses T3D text; path names the file in messages. Syntax errors are fatal with the engine's
// texts ("Parse error: 'Begin Actor' in the middle of another actor." and the two polygon ones),
// preceded by a log line naming the file and line; a vector line with fewer than three numbers
// and a Begin Actor line without a class or a name are "Parse error: bad line N of FILE: TEXT".
MapFile ParseMap(std::string_view text, std::string_view path);

// Reads and parses a file; an unreadable file is fatal ("Cannot read map file PATH").
MapFile ReadMapFile(std::string_view path);

} // namespace orv
