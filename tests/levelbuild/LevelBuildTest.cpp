// Whole compiles of small maps, in the manner of a compiler's test maps: each level must pass the
// common checks (see ExpectSoundLevel) and show the facts its brushes call for.
#include "LevelBuild.h"
#include "MapText.h"

#include "content/LevelModel.h"
#include "core/Text.h"
#include "core/Vfs.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>

namespace orv {
namespace {

using namespace test;

TEST(LevelBuild, OverlappingRoomsPillarAndMirroredRamp) {
    // A ramp: a wedge rising along +X; mirrored in X it rises along -X instead.
    const std::vector<Polygon> wedge = {
        {{0, 0, 0}, {0, 64, 0}, {128, 64, 0}, {128, 0, 0}},       // bottom
        {{0, 0, 0}, {128, 0, 64}, {128, 64, 64}, {0, 64, 0}},     // slope
        {{128, 0, 0}, {128, 64, 0}, {128, 64, 64}, {128, 0, 64}}, // high end
        {{0, 0, 0}, {128, 0, 0}, {128, 0, 64}},                   // sides
        {{0, 64, 0}, {128, 64, 64}, {128, 64, 0}},
    };
    const CompiledLevel level = Compile(
        MapText({BoxBrush("A", "CSG_Subtract", {0, 0, 0}, {512, 256, 192}),
                 BoxBrush("B", "CSG_Subtract", {384, 128, 64}, {768, 512, 256}),
                 BoxBrush("Pillar", "CSG_Add", {192, 96, 0}, {256, 160, 192}),
                 BrushText("Ramp", "CSG_Add", wedge,
                           {"Location=(X=600,Y=400,Z=64)", "MainScale=(Scale=(X=-1.000000),SheerAxis=SHEER_ZX)"})}),
        4000);
    EXPECT_EQ(std::tuple(level.Zones.NumZones, level.Zones.LeakingLeaves, level.Zones.Leaks.size()),
              std::tuple(1, 0, 0u));
    EXPECT_TRUE(level.IsSolid({600 - 120, 432, 114}));  // the ramp's high end, mirrored to -X
    EXPECT_FALSE(level.IsSolid({600 + 120, 432, 114})); // where it was before the mirror
    // Rays: out through the ceiling, stopped by the pillar's near face, along a wall, and from A
    // through both rooms into B.
    double fraction = 0.0;
    EXPECT_TRUE(level.Tree.TraceSolid({128, 64, 96}, {128, 64, 288}, &fraction));
    EXPECT_NEAR(fraction, 0.5, 1e-9);
    EXPECT_TRUE(level.Tree.TraceSolid({32, 128, 96}, {480, 128, 96}, &fraction));
    EXPECT_NEAR(32 + fraction * 448, 192.0, 1e-6);
    EXPECT_FALSE(level.Tree.TraceSolid({32, 32, 96}, {480, 32, 96}));
    EXPECT_FALSE(level.Tree.TraceSolid({300, 200, 100}, {600, 300, 150}));
}

TEST(LevelBuild, LeakIsReportedWithAPointAndTheLevelStillWritten) {
    // A room without a ceiling lets its space out through the top.
    std::vector<Polygon> faces = BoxFaces({0, 0, 0}, {256, 256, 128});
    faces.erase(faces.begin() + 4);
    TempDir dir;
    const std::string map = dir.Write(
        "Maps/Leaky.t3d",
        MapText({BrushText("Open", "CSG_Subtract", faces), ActorText("PlayerStart", "PlayerStart0", {128, 128, 40})}));
    LogCapture log;
    BuildLevelFile(map, dir / "Maps/Leaky.bsp", {});
    EXPECT_TRUE(FileExists(dir / "Maps/Leaky.bsp"));
    EXPECT_TRUE(std::any_of(log.Lines().begin(), log.Lines().end(), [](const std::string& line) {
        return line.rfind("Warning: the level leaks: empty leaf ", 0) == 0;
    }));
    // The point file leads from the actor in the leaking space out through the open top.
    std::string points;
    ASSERT_TRUE(ReadWholeFile(dir / "Maps/Leaky.pts", points));
    const std::vector<std::string> path = SplitLines(points);
    ASSERT_GE(path.size(), 2u);
    EXPECT_EQ(path.front(), "128 128 40");
    EXPECT_GT(ParseDouble(path.back().substr(path.back().rfind(' '))), 128.0);
    // Sealed again, the stale leak path goes.
    dir.Write("Maps/Leaky.t3d", MapText({BoxBrush("Closed", "CSG_Subtract", {0, 0, 0}, {256, 256, 128})}));
    BuildLevelFile(map, dir / "Maps/Leaky.bsp", {});
    EXPECT_FALSE(FileExists(dir / "Maps/Leaky.pts"));
}

TEST(LevelBuild, LargePolygonsAreCutIntoNodesOf32Corners) {
    // A 40-sided shaft: its floor and ceiling have 40 corners each.
    constexpr int kSides = 40;
    const auto corner = [](int i, float z) {
        const double a = 2.0 * M_PI * i / kSides;
        return Vector{static_cast<float>(256 * std::cos(a)), static_cast<float>(256 * std::sin(a)), z};
    };
    std::vector<Polygon> faces(2);
    for (int i = 0; i < kSides; ++i) {
        faces[0].push_back(corner(-i, 0));
        faces[1].push_back(corner(i, 128));
        faces.push_back({corner(i, 0), corner(i + 1, 0), corner(i + 1, 128), corner(i, 128)});
    }
    // At most 32 corners a node (ExpectSoundLevel), and the floor whole.
    const CompiledLevel level = Compile(MapText({BrushText("Shaft", "CSG_Subtract", faces)}), 2000);
    double floorArea = 0.0;
    int floorNodes = 0;
    for (const TreeNode& node : level.Tree.Nodes) {
        floorArea += node.Plane.Normal.Z > 0.999 ? WindingArea(node.Points) : 0.0;
        floorNodes += node.Plane.Normal.Z > 0.999;
    }
    EXPECT_GE(floorNodes, 2);
    EXPECT_NEAR(floorArea, 0.5 * kSides * 256 * 256 * std::sin(2 * M_PI / kSides), 0.5);
}

TEST(LevelBuild, ZonesBeyondTheLimitShareTheLast) {
    // 70 sealed rooms in a row; the first and the last have zone actors.
    std::vector<std::string> actors = {ActorText("ZoneInfo", "First", {32, 32, 32}),
                                       ActorText("LavaZone", "Last", {69 * 128 + 32, 32, 32})};
    for (int i = 0; i < 70; ++i) {
        actors.push_back(
            BoxBrush("Room" + std::to_string(i), "CSG_Subtract", {i * 128.0f, 0, 0}, {i * 128.0f + 64, 64, 64}));
    }
    LogCapture log;
    const CompiledLevel level = Compile(MapText(actors));
    EXPECT_TRUE(log.Contains("Warning: 70 zones; those beyond 61 share zone 62"));
    ASSERT_EQ(std::pair(level.Zones.NumZones, level.Model.ZoneIndices.Num()), std::pair(kMaxZones, kMaxZones + 1));
    // Zones 1 to 61 hold a room each, zone 62 the other nine; the rooms with zone actors keep
    // zones of their own, named by their actors; outside is no zone.
    std::map<int, std::vector<int>> rooms; // zone -> rooms in it
    for (int i = 0; i < 70; ++i) {
        rooms[ModelZoneAt(level.Model, {i * 128.0f + 32, 32, 32})].push_back(i);
    }
    EXPECT_EQ(std::tuple(rooms.size(), rooms.begin()->first, rooms[kMaxZones].size()), std::tuple(62u, 1, 9u));
    for (const auto& [room, name] : {std::pair(0, "First"), std::pair(69, "Last")}) {
        const int zone = ModelZoneAt(level.Model, {room * 128.0f + 32, 32, 32});
        EXPECT_EQ(level.Model.ActorRefs[level.Model.ZoneIndices[zone] - 1].Name, name);
        EXPECT_EQ(rooms[zone], std::vector<int>{room});
    }
    EXPECT_EQ(ModelZoneAt(level.Model, {64, 200, 32}), 0);
}

} // namespace
} // namespace orv
