// The level compiler's stages in order, from a parsed T3D map to the Level Model the engine loads:
// brushes, CSG, BSP, portals, zones, surfaces, lighting. Each stage's result stays available, so
// the tests can query the compiled tree.
#pragma once

#include "Brushes.h"
#include "Bsp.h"
#include "Csg.h"
#include "LightSources.h"
#include "Lighting.h"
#include "MapFile.h"
#include "Portals.h"
#include "Zones.h"

#include "content/LevelModel.h"

#include <string>
#include <string_view>
#include <vector>

namespace orv {

struct LevelBuildOptions {
    std::string ContentDir; // the game tree: bare texture names, class defaults of the actors
    bool Progress = true;   // a line per stage and the summary (warnings are always logged)
    bool Lighting = true;   // lightmaps, light lists and shadow bits
    int Threads = 0;        // for the lighting; 0: one per core
};

struct CompiledLevel {
    MapFile Map;
    BrushStats BrushCounts;
    std::vector<BrushSolid> Brushes;
    CsgStats CsgCounts;
    std::vector<CsgFace> Faces;
    BspTree Tree;
    PortalSet Portals;
    ZoneResult Zones;
    LevelModel Model;
    std::vector<MapLight> Lights;
    LightingStats LightingCounts;
    std::vector<std::string> Untextured; // bare texture names found nowhere in the content tree

    // The compiled world's verdict, and the brushes' own.
    bool IsSolid(const DVector& p) const { return Tree.IsSolid(p); }
    bool BrushesSaySolid(const DVector& p) const { return orv::BrushesSaySolid(Brushes, p); }
};

// Runs every stage, with a progress line each and a summary line unless options say otherwise.
CompiledLevel CompileMap(MapFile map, const LevelBuildOptions& options);

// The folder two levels above the map: the game tree that holds its Maps folder.
std::string DefaultContentDir(std::string_view mapPath);

// Reads a T3D map, compiles it and writes the Level Model to outputPath (and, for a level that
// leaks, the path from inside to the outside as a point file beside it, with extension ".pts").
// Bad input and unwritable output are fatal.
void BuildLevelFile(const std::string& mapPath, const std::string& outputPath, const LevelBuildOptions& options);

} // namespace orv
