// Running the compiler's stages.
#include "LevelBuild.h"

#include "LevelWriter.h"
#include "Surfaces.h"
#include "TextureNames.h"

#include "core/Fatal.h"
#include "core/Log.h"
#include "core/Text.h"
#include "core/Vfs.h"

#include <chrono>
#include <cstdio>
#include <filesystem>

namespace orv {

namespace {

class StageTimer {
public:
    StageTimer() : start_(std::chrono::steady_clock::now()) {}
    std::string Seconds() const {
        const double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
        char text[32];
        std::snprintf(text, sizeof(text), "%.2f s", s);
        return text;
    }

private:
    std::chrono::steady_clock::time_point start_;
};

std::string N(size_t n) { return std::to_string(n); }

std::string FormatPoint(const DVector& p) {
    return "(" + FormatFloat(p.X) + ", " + FormatFloat(p.Y) + ", " + FormatFloat(p.Z) + ")";
}

std::vector<BspFace> ToBspFaces(const std::vector<CsgFace>& faces, const std::vector<int>& surfaceOf,
                                const Array<Surface>& surfaces) {
    std::vector<BspFace> out;
    out.reserve(faces.size());
    for (size_t i = 0; i < faces.size(); ++i) {
        BspFace face;
        face.Points = faces[i].Points;
        face.Plane = faces[i].Plane;
        face.Surface = surfaceOf[i];
        face.BoundsSolid = faces[i].BoundsSolid;
        face.ZonePortal = (surfaces[surfaceOf[i]].Flags & PF_ZonePortal) != 0;
        out.push_back(std::move(face));
    }
    return out;
}

} // namespace

CompiledLevel CompileMap(MapFile map, const LevelBuildOptions& options) {
    auto progress = [&options](std::string_view line) {
        if (options.Progress) {
            Log(line);
        }
    };
    CompiledLevel level;
    level.Map = std::move(map);

    StageTimer brushTime;
    level.Brushes = MakeBrushes(level.Map, level.BrushCounts);
    const BrushStats& bc = level.BrushCounts;
    progress("Brushes: " + N(bc.Applied) + " of " + N(bc.BrushActors) + " applied, " + N(bc.Polygons) + " polygons, " +
             N(bc.DroppedPolygons) + " degenerate dropped (" + brushTime.Seconds() + ")");

    StageTimer csgTime;
    level.Faces = BuildCsg(level.Brushes, level.CsgCounts);
    progress("CSG: " + N(level.CsgCounts.Faces) + " faces from " + N(level.CsgCounts.Fragments) + " pieces (" +
             csgTime.Seconds() + ")");

    StageTimer surfaceTime;
    TextureNames textures(options.ContentDir);
    const std::vector<int> surfaceOf = MakeSurfaces(level.Brushes, level.Faces, textures, level.Model.Surfaces);
    level.Untextured = textures.Unresolved();
    progress("Surfaces: " + N(level.Model.Surfaces.Num()) + ", " + N(level.Untextured.size()) + " untextured names (" +
             surfaceTime.Seconds() + ")");

    StageTimer bspTime;
    level.Tree = BuildBsp(ToBspFaces(level.Faces, surfaceOf, level.Model.Surfaces));
    progress("BSP: " + N(level.Tree.Nodes.size()) + " nodes, " + N(level.Tree.Leaves.size()) + " leaves, " +
             N(level.Tree.Stats.Splits) + " splits (" + bspTime.Seconds() + ")");

    StageTimer portalTime;
    level.Portals = BuildPortals(level.Tree);
    progress("Portals: " + N(level.Portals.Portals.size()) + " (" + portalTime.Seconds() + ")");

    StageTimer zoneTime;
    level.Zones = BuildZones(level.Tree, level.Portals, level.Map,
                             [&level](const DVector& p) { return level.BrushesSaySolid(p); });
    const ZoneResult& z = level.Zones;
    progress("Zones: " + N(z.NumZones) + ", " + N(z.BlockedPortals) + " portals closed by zone portals, " +
             N(z.LeakingLeaves) + " leaking leaves (" + zoneTime.Seconds() + ")");
    for (const LeakReport& leak : z.Leaks) {
        Log("Warning: the level leaks: empty leaf " + N(leak.Leaf) + " reaches the outside of the world at " +
            FormatPoint(leak.Point));
    }

    FillLevelModel(level.Model, level.Tree, level.Zones, level.Map);

    std::string summary = "Summary: " + N(bc.BrushActors) + " brushes, " + N(level.Faces.size()) + " faces, " +
                          N(level.Tree.Nodes.size()) + " nodes, " + N(level.Tree.Leaves.size()) + " leaves, " +
                          N(z.NumZones) + " zones, " + N(level.Portals.Portals.size()) + " portals, " +
                          N(level.Untextured.size()) + " untextured names";
    for (size_t i = 0; i < level.Untextured.size(); ++i) {
        summary += (i == 0 ? ": " : ", ") + level.Untextured[i];
    }
    progress(summary);
    return level;
}

std::string DefaultContentDir(std::string_view mapPath) {
    std::filesystem::path path(std::string{mapPath});
    if (path.is_relative()) {
        path = std::filesystem::current_path() / path;
    }
    return path.lexically_normal().parent_path().parent_path().string();
}

void BuildLevelFile(const std::string& mapPath, const std::string& outputPath, const LevelBuildOptions& options) {
    StageTimer readTime;
    Log("Reading " + mapPath);
    MapFile map = ReadMapFile(mapPath);
    Log("Read " + N(map.Actors.size()) + " actors (" + readTime.Seconds() + ")");
    CompiledLevel level = CompileMap(std::move(map), options);
    const std::vector<uint8_t> bytes = WriteLevelModel(level.Model);
    if (!WriteWholeFile(outputPath, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()))) {
        FatalError("Cannot write " + outputPath);
    }
    Log("Wrote " + outputPath + " (" + N(bytes.size()) + " bytes)");
    const std::string pointFile = std::filesystem::path(outputPath).replace_extension(".pts").string();
    if (level.Zones.Leaks.empty()) {
        if (FileExists(pointFile)) {
            DeleteFile(pointFile); // from an earlier build that leaked
        }
        return;
    }
    std::string text;
    for (const DVector& p : level.Zones.Leaks.front().Path) {
        text += FormatFloat(p.X) + " " + FormatFloat(p.Y) + " " + FormatFloat(p.Z) + "\n";
    }
    if (WriteWholeFile(pointFile, text)) {
        Log("Wrote the leak's path to " + pointFile);
    }
}

} // namespace orv
