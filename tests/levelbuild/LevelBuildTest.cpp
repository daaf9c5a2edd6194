// Whole compiles of small maps, in the manner of a compiler's test maps: each level must pass the
// common checks (see ExpectSoundLevel) and show the facts its brushes call for.
#include "LevelBuild.h"
#include "LevelWriter.h"
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

using test::ActorText;
using test::BoxBrush;
using test::MapText;

TEST(LevelBuild, OverlappingRoomsPillarAndMirroredRamp) {
    // A ramp: a wedge rising along +X; mirrored in X it rises along -X instead.
    const std::vector<test::Polygon> wedge = {
        {{0, 0, 0}, {0, 64, 0}, {128, 64, 0}, {128, 0, 0}},       // bottom
        {{0, 0, 0}, {128, 0, 64}, {128, 64, 64}, {0, 64, 0}},     // slope
        {{128, 0, 0}, {128, 64, 0}, {128, 64, 64}, {128, 0, 64}}, // high end
        {{0, 0, 0}, {128, 0, 0}, {128, 0, 64}},                   // sides
        {{0, 64, 0}, {128, 64, 64}, {128, 64, 0}},
    };
    const CompiledLevel level = test::Compile(MapText(
        {BoxBrush("A", "CSG_Subtract", {0, 0, 0}, {512, 256, 192}),
         BoxBrush("B", "CSG_Subtract", {384, 128, 64}, {768, 512, 256}),
         BoxBrush("Pillar", "CSG_Add", {192, 96, 0}, {256, 160, 192}),
         test::BrushText("Ramp", "CSG_Add", wedge,
                         {"Location=(X=600,Y=400,Z=64)", "MainScale=(Scale=(X=-1.000000),SheerAxis=SHEER_ZX)"})}));
    test::ExpectSoundLevel(level, 4000);
    EXPECT_EQ(level.Zones.NumZones, 1);
    EXPECT_EQ(level.Zones.LeakingLeaves, 0);
    EXPECT_TRUE(level.Zones.Leaks.empty());
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
    // No zone actor: the one zone is the level's own.
    EXPECT_EQ(level.Model.ZoneIndices.Std(), (std::vector<int32_t>{0, 0}));
    EXPECT_TRUE(level.Model.ActorRefs.IsEmpty());
}

TEST(LevelBuild, ZonePortalSplitsARoomIntoZones) {
    const test::Polygon sheet = {{256, -64, -64}, {256, 320, -64}, {256, 320, 192}, {256, -64, 192}};
    const std::string room = BoxBrush("Room", "CSG_Subtract", {0, 0, 0}, {512, 256, 128});
    const std::string water = ActorText("WaterZone", "WaterZone0", {100, 128, 64});
    test::LogCapture log;
    const CompiledLevel level = test::Compile(MapText(
        {room, test::BrushText("Portal", "CSG_Add", {sheet}, {"PolyFlags=67109129"}), water,
         ActorText("ZoneInfo", "ZoneInfo3", {120, 100, 64}), ActorText("ZoneInfo", "Buried", {100, 128, -500})}));
    test::ExpectSoundLevel(level, 3000);
    EXPECT_TRUE(log.Contains("Warning: ZoneInfo ZoneInfo3 shares its zone with WaterZone0, which marks it"));
    EXPECT_TRUE(log.Contains("Warning: ZoneInfo Buried lies in solid space and marks no zone"));
    ASSERT_EQ(level.Zones.NumZones, 2);
    EXPECT_GT(level.Zones.BlockedPortals, 0);
    const int wet = test::ModelZoneAt(level.Model, {100, 128, 64});
    const int dry = test::ModelZoneAt(level.Model, {400, 128, 64});
    ASSERT_EQ(wet + dry, 3); // zones 1 and 2
    EXPECT_EQ(level.Model.ZoneIndices[dry], 0);
    ASSERT_EQ(level.Model.ZoneIndices[wet], 1);
    EXPECT_EQ(level.Model.ActorRefs[0].ClassName + " " + level.Model.ActorRefs[0].Name, "WaterZone WaterZone0");
    // The portal's nodes are flagged; every node's zone mask holds the zone it is seen from (the
    // zone bytes themselves are checked at random points by ExpectSoundLevel).
    for (const BspNode& node : level.Model.Nodes) {
        const bool portal = level.Model.Surfaces[node.Surface].Flags & PF_ZonePortal;
        EXPECT_EQ(node.NodeFlags, portal ? kNodeSheet | kNodeZonePortal : 0);
        EXPECT_NE(node.ZoneMask & (uint64_t(1) << node.SecondZone), 0u);
    }
    // Without the portal the room is one zone, which the water zone marks.
    const CompiledLevel open = test::Compile(MapText({room, water}));
    EXPECT_EQ(open.Zones.NumZones, 1);
    EXPECT_EQ(test::ModelZoneAt(open.Model, {400, 128, 64}), 1);
    EXPECT_EQ(open.Model.ZoneIndices[1], 1);
}

TEST(LevelBuild, LeakIsReportedWithAPointAndTheLevelStillWritten) {
    // A room without a ceiling lets its space out through the top.
    std::vector<test::Polygon> faces = test::BoxFaces({0, 0, 0}, {256, 256, 128});
    faces.erase(faces.begin() + 4);
    const std::string leaking = MapText(
        {test::BrushText("Open", "CSG_Subtract", faces), ActorText("PlayerStart", "PlayerStart0", {128, 128, 40})});
    test::TempDir dir;
    const std::string map = dir.Write("Maps/Leaky.t3d", leaking);
    test::LogCapture log;
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
    const CompiledLevel level = test::Compile(leaking);
    EXPECT_GT(level.Zones.LeakingLeaves, 0);
    EXPECT_EQ(level.Tree.Leaves[static_cast<size_t>(level.Zones.Leaks.at(0).Leaf)].Contents, LeafContents::Empty);
    // Sealed again, the stale leak path goes.
    dir.Write("Maps/Leaky.t3d", MapText({BoxBrush("Closed", "CSG_Subtract", {0, 0, 0}, {256, 256, 128})}));
    BuildLevelFile(map, dir / "Maps/Leaky.bsp", {});
    EXPECT_FALSE(FileExists(dir / "Maps/Leaky.pts"));
}

TEST(LevelBuild, LargePolygonsAreCutIntoNodesOf32Corners) {
    // A 40-sided shaft: its floor and ceiling have 40 corners each.
    constexpr int kSides = 40;
    std::vector<test::Polygon> faces(2);
    for (int i = 0; i < kSides; ++i) {
        const float c = static_cast<float>(256 * std::cos(2.0 * M_PI * i / kSides));
        const float s = static_cast<float>(256 * std::sin(2.0 * M_PI * i / kSides));
        const float cn = static_cast<float>(256 * std::cos(2.0 * M_PI * ((i + 1) % kSides) / kSides));
        const float sn = static_cast<float>(256 * std::sin(2.0 * M_PI * ((i + 1) % kSides) / kSides));
        faces[0].push_back({c, -s, 0});
        faces[1].push_back({c, s, 128});
        faces.push_back({{c, s, 0}, {cn, sn, 0}, {cn, sn, 128}, {c, s, 128}});
    }
    const CompiledLevel level = test::Compile(MapText({test::BrushText("Shaft", "CSG_Subtract", faces)}));
    test::ExpectSoundLevel(level, 2000); // at most 32 corners a node
    double floorArea = 0.0;
    int floorNodes = 0;
    for (const TreeNode& node : level.Tree.Nodes) {
        if (node.Plane.Normal.Z > 0.999) {
            floorArea += WindingArea(node.Points);
            ++floorNodes;
        }
    }
    EXPECT_GE(floorNodes, 2);
    EXPECT_NEAR(floorArea, 0.5 * kSides * 256 * 256 * std::sin(2 * M_PI / kSides), 0.5);
}

TEST(LevelBuild, TooManyZonesShareTheLast) {
    // 70 sealed rooms; the first and the last have zone actors.
    std::vector<std::string> actors = {ActorText("ZoneInfo", "First", {32, 32, 32}),
                                       ActorText("LavaZone", "Last", {69 * 128 + 32, 32, 32})};
    for (int i = 0; i < 70; ++i) {
        const float x = static_cast<float>(i * 128);
        actors.push_back(BoxBrush("Room" + std::to_string(i), "CSG_Subtract", {x, 0, 0}, {x + 64, 64, 64}));
    }
    test::LogCapture log;
    const CompiledLevel level = test::Compile(MapText(actors));
    EXPECT_TRUE(log.Contains("Warning: 70 zones; those beyond 61 share zone 62"));
    EXPECT_EQ(level.Zones.NumZones, kMaxZones);
    ASSERT_EQ(level.Model.ZoneIndices.Num(), kMaxZones + 1);
    // Rooms with zone actors keep zones of their own; the plain rooms beyond the limit share one.
    std::map<int, std::vector<int>> rooms; // zone -> rooms in it
    for (int i = 0; i < 70; ++i) {
        rooms[test::ModelZoneAt(level.Model, {static_cast<float>(i * 128 + 32), 32, 32})].push_back(i);
    }
    EXPECT_EQ(rooms.size(), static_cast<size_t>(kMaxZones));
    EXPECT_EQ(rooms.begin()->first, 1);
    EXPECT_EQ(rooms[kMaxZones].size(), static_cast<size_t>(70 - (kMaxZones - 1)));
    const int first = test::ModelZoneAt(level.Model, {32, 32, 32});
    const int last = test::ModelZoneAt(level.Model, {69 * 128 + 32, 32, 32});
    EXPECT_EQ(level.Model.ActorRefs[level.Model.ZoneIndices[first] - 1].Name, "First");
    EXPECT_EQ(level.Model.ActorRefs[level.Model.ZoneIndices[last] - 1].Name, "Last");
    EXPECT_EQ(rooms[first], std::vector<int>{0});
    EXPECT_EQ(rooms[last], std::vector<int>{69});
    EXPECT_EQ(test::ModelZoneAt(level.Model, {64, 200, 32}), 0);
}

} // namespace
} // namespace orv
