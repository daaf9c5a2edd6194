// Whole compiles of small maps, in the manner of a compiler's test maps: each level must pass the
// common checks (see ExpectSoundLevel) and show the facts its brushes call for.
#include "LevelBuild.h"
#include "LevelWriter.h"
#include "MapText.h"

#include "content/LevelModel.h"
#include "core/Vfs.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <map>

namespace orv {
namespace {

using test::BoxBrush;
using test::MapText;

TEST(LevelBuild, SubtractedCubeIsOneSealedZone) {
    const CompiledLevel level = test::Compile(MapText({BoxBrush("Room", "CSG_Subtract", {0, 0, 0}, {256, 256, 256})}));
    test::ExpectSoundLevel(level, 2000);
    EXPECT_EQ(level.Faces.size(), 6u);
    EXPECT_EQ(level.Zones.LeakingLeaves, 0);
    EXPECT_TRUE(level.Zones.Leaks.empty());
    EXPECT_EQ(level.Zones.NumZones, 1);
    for (float x = 2; x < 256; x += 31) {
        for (float y = 2; y < 256; y += 37) {
            for (float z = 2; z < 256; z += 41) {
                EXPECT_FALSE(level.IsSolid({x, y, z}));
                EXPECT_TRUE(level.IsSolid({x - 260, y, z}));
                EXPECT_TRUE(level.IsSolid({x, y, z + 300}));
                EXPECT_TRUE(level.IsSolid({x, -y, -z}));
            }
        }
    }
    // A ray from inside out enters solid at the wall; one within the room never does.
    double fraction = 0.0;
    EXPECT_TRUE(level.Tree.TraceSolid({128, 128, 128}, {128, 128, 640}, &fraction));
    EXPECT_NEAR(fraction, 0.25, 1e-9);
    EXPECT_FALSE(level.Tree.TraceSolid({10, 10, 10}, {250, 240, 200}));
    ASSERT_EQ(level.Model.ZoneIndices.Num(), 2);
    EXPECT_EQ(level.Model.ZoneIndices[1], 0); // no ZoneInfo: the level's own
    EXPECT_TRUE(level.Model.ActorRefs.IsEmpty());
    EXPECT_TRUE(level.Model.Lightmaps.IsEmpty());
    for (const Surface& s : level.Model.Surfaces) {
        EXPECT_EQ(s.LightmapIndex, -1);
        EXPECT_EQ(s.TextureName, "Orvane.Walls.Plain");
    }
}

TEST(LevelBuild, OverlappingRoomsWithAPillar) {
    const CompiledLevel level = test::Compile(MapText({BoxBrush("A", "CSG_Subtract", {0, 0, 0}, {512, 256, 192}),
                                                       BoxBrush("B", "CSG_Subtract", {384, 128, 64}, {768, 512, 256}),
                                                       BoxBrush("Pillar", "CSG_Add", {192, 96, 0}, {256, 160, 192})}));
    test::ExpectSoundLevel(level, 4000);
    EXPECT_EQ(level.Zones.NumZones, 1);
    EXPECT_EQ(level.Zones.LeakingLeaves, 0);
    EXPECT_TRUE(level.IsSolid({224, 128, 96}));
    EXPECT_FALSE(level.IsSolid({600, 400, 200})); // in B only
    EXPECT_FALSE(level.IsSolid({450, 200, 100})); // in both
    EXPECT_TRUE(level.IsSolid({600, 400, 32}));   // under B's raised floor
    double fraction = 0.0;
    EXPECT_TRUE(level.Tree.TraceSolid({32, 128, 96}, {480, 128, 96}, &fraction));
    EXPECT_NEAR(32 + fraction * 448, 192.0, 1e-6); // stopped by the pillar's near face
    EXPECT_FALSE(level.Tree.TraceSolid({32, 32, 96}, {480, 32, 96}));
    EXPECT_FALSE(level.Tree.TraceSolid({300, 200, 100}, {600, 300, 150})); // from A through both into B
}

TEST(LevelBuild, RotatedAndMirroredBrushes) {
    // A ramp: a wedge rising along +X; mirrored in X it rises along -X instead.
    const std::vector<test::Polygon> wedge = {
        {{0, 0, 0}, {0, 64, 0}, {128, 64, 0}, {128, 0, 0}},       // bottom
        {{0, 0, 0}, {128, 0, 64}, {128, 64, 64}, {0, 64, 0}},     // slope
        {{128, 0, 0}, {128, 64, 0}, {128, 64, 64}, {128, 0, 64}}, // high end
        {{0, 0, 0}, {128, 0, 0}, {128, 0, 64}},                   // sides
        {{0, 64, 0}, {128, 64, 64}, {128, 64, 0}},
    };
    const CompiledLevel level = test::Compile(MapText(
        {BoxBrush("Room", "CSG_Subtract", {-512, -512, 0}, {512, 512, 256}),
         BoxBrush("Turned", "CSG_Add", {-32, -32, -32}, {32, 32, 32},
                  {"Location=(X=-256,Y=256,Z=128)", "Rotation=(Pitch=4000,Yaw=9000,Roll=2000)"}),
         test::BrushText("Mirrored", "CSG_Add", wedge,
                         {"Location=(X=300,Y=-300,Z=0)", "MainScale=(Scale=(X=-1.000000),SheerAxis=SHEER_ZX)"})}));
    test::ExpectSoundLevel(level, 6000);
    EXPECT_EQ(level.Zones.LeakingLeaves, 0);
    EXPECT_TRUE(level.IsSolid({300 - 120, -300 + 32, 50}));  // the high end, mirrored to -X
    EXPECT_FALSE(level.IsSolid({300 + 120, -300 + 32, 50})); // where it was before the mirror
    EXPECT_TRUE(level.IsSolid({-256, 256, 128}));
}

TEST(LevelBuild, ZonePortalSplitsARoomIntoZones) {
    const test::Polygon sheet = {{256, -64, -64}, {256, 320, -64}, {256, 320, 192}, {256, -64, 192}};
    const std::string room = BoxBrush("Room", "CSG_Subtract", {0, 0, 0}, {512, 256, 128});
    const std::string portal = test::BrushText("Portal", "CSG_Add", {sheet}, {"PolyFlags=67109129"});
    test::LogCapture log;
    const CompiledLevel level =
        test::Compile(MapText({room, portal, test::ActorText("WaterZone", "WaterZone0", {100, 128, 64}),
                               test::ActorText("ZoneInfo", "ZoneInfo3", {120, 100, 64}),
                               test::ActorText("ZoneInfo", "Buried", {100, 128, -500})}));
    test::ExpectSoundLevel(level, 3000);
    EXPECT_TRUE(log.Contains("Warning: ZoneInfo ZoneInfo3 shares its zone with WaterZone0, which marks it"));
    EXPECT_TRUE(log.Contains("Warning: ZoneInfo Buried lies in solid space and marks no zone"));
    ASSERT_EQ(level.Zones.NumZones, 2);
    EXPECT_GT(level.Zones.BlockedPortals, 0);
    const int water = test::ModelZoneAt(level.Model, {100, 128, 64});
    const int dry = test::ModelZoneAt(level.Model, {400, 128, 64});
    ASSERT_NE(water, dry);
    ASSERT_TRUE(water == 1 || water == 2);
    ASSERT_TRUE(dry == 1 || dry == 2);
    ASSERT_EQ(level.Model.ZoneIndices.Num(), 3);
    EXPECT_EQ(level.Model.ZoneIndices[dry], 0);
    ASSERT_EQ(level.Model.ZoneIndices[water], 1);
    EXPECT_EQ(level.Model.ActorRefs[0].ClassName, "WaterZone");
    EXPECT_EQ(level.Model.ActorRefs[0].Name, "WaterZone0");
    // Every surface knows its zone: floor pieces by the side of the portal they lie on, the
    // portal itself with its own flags.
    int portalNodes = 0;
    for (const BspNode& node : level.Model.Nodes) {
        const Surface& s = level.Model.Surfaces[node.Surface];
        if (s.Flags & PF_ZonePortal) {
            ++portalNodes;
            EXPECT_EQ(node.NodeFlags, kNodeSheet | kNodeZonePortal);
            continue;
        }
        float x = 0;
        for (int v = 0; v < node.NumVertices; ++v) {
            x += level.Model.Points[level.Model.VertexPool[node.FirstVertex + v]].X / node.NumVertices;
        }
        EXPECT_EQ(node.SecondZone, x < 256 ? water : dry);
        EXPECT_EQ(node.FirstZone, 0);
        EXPECT_NE(node.ZoneMask & (uint64_t(1) << node.SecondZone), 0u);
    }
    EXPECT_GE(portalNodes, 1);

    // Without the portal the room is one zone, which the water zone marks.
    const CompiledLevel open =
        test::Compile(MapText({room, test::ActorText("WaterZone", "WaterZone0", {100, 128, 64})}));
    EXPECT_EQ(open.Zones.NumZones, 1);
    EXPECT_EQ(test::ModelZoneAt(open.Model, {400, 128, 64}), 1);
    EXPECT_EQ(open.Model.ZoneIndices[1], 1);
}

TEST(LevelBuild, LeakIsReportedWithAPointAndTheLevelStillWritten) {
    // A room without a ceiling lets its space out through the top.
    std::vector<test::Polygon> faces = test::BoxFaces({0, 0, 0}, {256, 256, 128});
    faces.erase(faces.begin() + 4);
    const std::string leaking = MapText({test::BrushText("Open", "CSG_Subtract", faces),
                                         test::ActorText("PlayerStart", "PlayerStart0", {128, 128, 40})});
    test::TempDir dir;
    const std::string map = dir.Write("Maps/Leaky.t3d", leaking);
    const std::string bsp = dir / "Maps/Leaky.bsp";
    test::LogCapture log;
    BuildLevelFile(map, bsp, {});
    EXPECT_TRUE(FileExists(bsp));
    ASSERT_TRUE(FileExists(dir / "Maps/Leaky.pts"));

    const CompiledLevel level = test::Compile(leaking);
    EXPECT_GT(level.Zones.LeakingLeaves, 0);
    ASSERT_EQ(level.Zones.Leaks.size(), 1u);
    const LeakReport& leak = level.Zones.Leaks[0];
    EXPECT_EQ(level.Tree.Leaves[static_cast<size_t>(leak.Leaf)].Contents, LeafContents::Empty);
    EXPECT_GT(leak.Point.Z, 128.0); // where the shaft above the room meets the world's edge
    ASSERT_GE(leak.Path.size(), 2u);
    EXPECT_EQ(leak.Path.front(), (DVector{128, 128, 40}));
    EXPECT_GT(leak.Path.back().Z, 128.0);
    bool warned = false;
    for (const std::string& line : log.Lines()) {
        warned |= line.rfind("Warning: the level leaks: empty leaf ", 0) == 0;
    }
    EXPECT_TRUE(warned);

    // Sealed again, the stale leak path goes.
    dir.Write("Maps/Leaky.t3d", MapText({BoxBrush("Closed", "CSG_Subtract", {0, 0, 0}, {256, 256, 128})}));
    BuildLevelFile(map, bsp, {});
    EXPECT_FALSE(FileExists(dir / "Maps/Leaky.pts"));
}

TEST(LevelBuild, LargePolygonsAreCutIntoNodesOf32Corners) {
    // A 40-sided shaft: its floor and ceiling have 40 corners each.
    constexpr int kSides = 40;
    test::Polygon bottom, top;
    for (int i = 0; i < kSides; ++i) {
        const double a = 2.0 * M_PI * i / kSides;
        bottom.push_back({static_cast<float>(256 * std::cos(a)), static_cast<float>(-256 * std::sin(a)), 0});
        top.push_back({static_cast<float>(256 * std::cos(a)), static_cast<float>(256 * std::sin(a)), 128});
    }
    std::vector<test::Polygon> faces = {bottom, top};
    for (int i = 0; i < kSides; ++i) {
        const Vector a = top[static_cast<size_t>(i)], b = top[static_cast<size_t>((i + 1) % kSides)];
        faces.push_back({a - Vector{0, 0, 128}, b - Vector{0, 0, 128}, b, a});
    }
    const CompiledLevel level = test::Compile(MapText({test::BrushText("Shaft", "CSG_Subtract", faces)}));
    test::ExpectSoundLevel(level, 2000);
    double floorArea = 0.0;
    int floorNodes = 0;
    for (const TreeNode& node : level.Tree.Nodes) {
        if (node.Plane.Normal.Z > 0.999) {
            floorArea += WindingArea(node.Points);
            ++floorNodes;
        }
    }
    EXPECT_GE(floorNodes, 2);
    Winding floor;
    for (const Vector& p : bottom) {
        floor.push_back(DVector(p));
    }
    EXPECT_NEAR(floorArea, WindingArea(floor), 0.5);
}

TEST(LevelBuild, OutputIsTheSameEveryTime) {
    const std::string map = MapText({BoxBrush("A", "CSG_Subtract", {0, 0, 0}, {512, 256, 192}),
                                     BoxBrush("B", "CSG_Subtract", {384, 128, 64}, {768, 512, 256}),
                                     BoxBrush("P", "CSG_Add", {192, 96, 0}, {256, 160, 192}, {"Rotation=(Yaw=3000)"})});
    EXPECT_EQ(WriteLevelModel(test::Compile(map).Model), WriteLevelModel(test::Compile(map).Model));
}

TEST(LevelBuild, TooManyZonesShareTheLast) {
    // 70 sealed rooms; the first and the last have zone actors.
    std::vector<std::string> actors;
    for (int i = 0; i < 70; ++i) {
        const float x = static_cast<float>(i * 128);
        actors.push_back(BoxBrush("Room" + std::to_string(i), "CSG_Subtract", {x, 0, 0}, {x + 64, 64, 64}));
    }
    actors.push_back(test::ActorText("ZoneInfo", "First", {32, 32, 32}));
    actors.push_back(test::ActorText("LavaZone", "Last", {69 * 128 + 32, 32, 32}));
    test::LogCapture log;
    const CompiledLevel level = test::Compile(MapText(actors));
    EXPECT_TRUE(log.Contains("Warning: 70 zones; those beyond 61 share zone 62"));
    EXPECT_EQ(level.Zones.NumZones, kMaxZones);
    ASSERT_EQ(level.Model.ZoneIndices.Num(), kMaxZones + 1);
    // Rooms with zone actors keep zones of their own; the plain rooms beyond the limit share one.
    const int first = test::ModelZoneAt(level.Model, {32, 32, 32});
    const int last = test::ModelZoneAt(level.Model, {69 * 128 + 32, 32, 32});
    EXPECT_EQ(level.Model.ActorRefs[level.Model.ZoneIndices[first] - 1].Name, "First");
    EXPECT_EQ(level.Model.ActorRefs[level.Model.ZoneIndices[last] - 1].Name, "Last");
    std::map<int, int> rooms; // zone -> rooms in it
    for (int i = 0; i < 70; ++i) {
        ++rooms[test::ModelZoneAt(level.Model, {static_cast<float>(i * 128 + 32), 32, 32})];
    }
    EXPECT_EQ(rooms.size(), static_cast<size_t>(kMaxZones));
    EXPECT_EQ(rooms.begin()->first, 1);
    EXPECT_EQ(rooms[kMaxZones], 70 - (kMaxZones - 1));
    EXPECT_EQ(rooms[first], 1);
    EXPECT_EQ(rooms[last], 1);
    EXPECT_EQ(test::ModelZoneAt(level.Model, {64, 200, 32}), 0);
}

} // namespace
} // namespace orv
