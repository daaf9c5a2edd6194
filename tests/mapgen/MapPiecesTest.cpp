// The generator's pieces as the level compiler and the engine read them: closed brushes wound
// outwards, texture axes in their faces, wedges rising the way asked, stairs that climb, pools that
// are zones of their own, and doors and lifts that the engine turns into movers.
#include "MapWriter.h"
#include "Shapes.h"

#include "LevelBuild.h"
#include "Lightmaps.h"
#include "levelbuild/MapText.h"

#include "support/TestSupport.h"
#include "world/ActorBrush.h"
#include "world/ActorClasses.h"
#include "world/LevelLoader.h"
#include "world/WorldFixture.h"

#include <gtest/gtest.h>

#include <cmath>

namespace orv {
namespace {

using namespace mapgen;

CompiledLevel CompileText(const std::string& text) {
    LevelBuildOptions options;
    options.Progress = false;
    return CompileMap(ParseMap(text, "Pieces.t3d"), options);
}

TEST(MapPieces, FaceAxesLieInTheFaceWithVDown) {
    for (const Vector n : {Vector{1, 0, 0}, Vector{0, -1, 0}, Normal({1, 1, 0}), Vector{0, 0, 1}, Vector{0, 0, -1},
                           Normal({0.3f, -0.4f, 0.5f}), Normal({-1, 0, 0.2f})}) {
        Vector u, v;
        FaceAxes(n, 2.0f, u, v);
        EXPECT_NEAR(Dot(u, n), 0.0f, 1e-5f);
        EXPECT_NEAR(Dot(v, n), 0.0f, 1e-5f);
        EXPECT_NEAR(Length(u), 0.5f, 1e-5f); // two world units per texel
        EXPECT_NEAR(Length(v), 0.5f, 1e-5f);
        EXPECT_NEAR(Dot(u, v), 0.0f, 1e-5f);
        if (std::fabs(n.Z) <= 0.7f) {
            EXPECT_LT(v.Z, 0.0f) << "walls read top to bottom";
            EXPECT_NEAR(u.Z, 0.0f, 1e-6f) << "and left to right along the level";
        }
    }
}

TEST(MapPieces, WedgesRiseTheWayAskedAndRoomsAreSealed) {
    const Skin stone = Plain("Orvane.Stone.Wall");
    for (Rise rise : {Rise::PlusX, Rise::MinusX, Rise::PlusY, Rise::MinusY}) {
        MapWriter map;
        map.Actor("LevelInfo", {0, 0, 0});
        Room(map, {0, 0, 0}, {512, 512, 256}, stone);
        Ramp(map, {128, 128, 0}, {384, 384, 128}, rise, stone);
        const CompiledLevel level = CompileText(map.Text());
        test::ExpectSoundLevel(level, 800);
        EXPECT_EQ(level.Zones.LeakingLeaves, 0);
        // A quarter of the way up the wedge the slope is 32 high, three quarters up 96.
        const bool alongX = rise == Rise::PlusX || rise == Rise::MinusX;
        const bool rising = rise == Rise::PlusX || rise == Rise::PlusY;
        const auto at = [&](float along, float z) {
            const float a = rising ? 128 + along : 384 - along;
            return alongX ? DVector{a, 256, z} : DVector{256, a, z};
        };
        EXPECT_TRUE(level.IsSolid(at(64, 24)));
        EXPECT_FALSE(level.IsSolid(at(64, 40)));
        EXPECT_TRUE(level.IsSolid(at(192, 88)));
        EXPECT_FALSE(level.IsSolid(at(192, 104)));
        // Texture origins lie on their faces: the engine's texels lie on the surface.
        for (const TreeNode& node : level.Tree.Nodes) {
            const Surface& s = level.Model.Surfaces[node.Surface];
            const TexelMapper texels(s, level.Model.Lightmaps[s.LightmapIndex]);
            ASSERT_TRUE(texels.Valid());
            EXPECT_NEAR(node.Plane.Distance(texels.Position(1, 1)), 0.0, 0.01);
        }
    }
}

TEST(MapPieces, StairsClimbAndPoolsAreZonesBehindTheirSurface) {
    MapWriter map;
    map.Actor("LevelInfo", {0, 0, 0});
    Room(map, {0, 0, 0}, {512, 256, 256}, Plain("Orvane.Stone.Wall"));
    StairsUpX(map, {512, 64, 0}, 4, 32, 16, 128, 160, Plain("Orvane.Stone.Floor"));
    Room(map, {640, 0, 64}, {1024, 256, 320}, Plain("Orvane.Stone.Wall"));
    Pool(map, {{768, 64, -64},
               {896, 192, 64},
               8,
               Plain("Orvane.Tiles.Mosaic"),
               "Orvane.Liquid.WaterWet",
               kTranslucent,
               "WaterZone",
               {}});
    map.Actor("Light", {700, 128, 200}, {{"LightBrightness", "100"}, {"LightType", "LT_Steady"}});
    map.Actor("Light", {832, 128, 0}, {{"LightBrightness", "100"}, {"LightType", "LT_Steady"}});
    const CompiledLevel level = CompileText(map.Text());
    test::ExpectSoundLevel(level, 2000);
    EXPECT_EQ(level.Zones.LeakingLeaves, 0);
    for (int k = 0; k < 4; ++k) {
        const double x = 512 + 32 * k + 16;
        EXPECT_TRUE(level.IsSolid({x, 128, 16.0 * k - 4})) << "step " << k;
        EXPECT_FALSE(level.IsSolid({x, 128, 16.0 * k + 4})) << "step " << k;
    }
    // The water below its surface is the WaterZone's; above it the level's own.
    ASSERT_EQ(level.Zones.NumZones, 2);
    const int water = level.Tree.Leaves[static_cast<size_t>(level.Tree.LeafAt({832, 128, 0}))].Zone;
    const int air = level.Tree.Leaves[static_cast<size_t>(level.Tree.LeafAt({832, 128, 100}))].Zone;
    ASSERT_NE(water, air);
    EXPECT_EQ(level.Map.Actors[static_cast<size_t>(level.Zones.ZoneActors[static_cast<size_t>(water)])].Class,
              "WaterZone");
    EXPECT_LT(level.Zones.ZoneActors[static_cast<size_t>(air)], 0);
    // The surface is a two-sided zone portal, lit from above and from below.
    int surfaces = 0;
    for (const Surface& s : level.Model.Surfaces) {
        if (s.TextureName != "Orvane.Liquid.WaterWet") {
            continue;
        }
        ++surfaces;
        EXPECT_EQ(s.Flags & (PF_ZonePortal | PF_TwoSided | PF_NotSolid | PF_Translucent),
                  PF_ZonePortal | PF_TwoSided | PF_NotSolid | PF_Translucent);
        ASSERT_GE(s.LightmapIndex, 0);
        EXPECT_EQ(level.Model.LightCount(level.Model.Lightmaps[s.LightmapIndex]), 2);
    }
    EXPECT_EQ(surfaces, 1);
}

TEST(MapPieces, DoorsAndLiftsBecomeTheEnginesMovers) {
    MapWriter map;
    Door(map, {{784, 320, 0}, {800, 448, 160}, 152, "TriggerToggle", "Gate"});
    Lift(map, {2312, 328, 112}, {2424, 440, 128}, 384, 3, "Orvane.Metal.Plate");
    test::WorldFixture f;
    f.AddEngineClasses();
    test::LogCapture log;
    ParseT3DActorsText(f.world, "Maps\\Pieces.t3d", map.Text());
    EXPECT_FALSE(log.Contains("Warning: Mesh Movers are not supported."));
    ASSERT_EQ(f.world.Actors.Num(), 2);
    const struct {
        Vector Min, Max, Key;
        const char* State;
    } expected[] = {{{784, 320, 0}, {800, 448, 160}, {0, 0, 152}, "TriggerToggle"},
                    {{2312, 328, 112}, {2424, 440, 128}, {0, 0, 384}, "StandOpenTimed"}};
    for (int i = 0; i < 2; ++i) {
        const auto* mover = dynamic_cast<const Mover*>(f.world.Actors[i].get());
        ASSERT_NE(mover, nullptr);
        ASSERT_NE(mover->Brush, nullptr);
        EXPECT_EQ(mover->Brush->Triangles.Num(), 12);
        EXPECT_EQ(mover->InitialState, expected[i].State);
        EXPECT_EQ(mover->KeyPos[1], expected[i].Key);
        // The brush's corners, placed at the mover's location, are the box asked for.
        Vector min{1e9f, 1e9f, 1e9f}, max{-1e9f, -1e9f, -1e9f};
        for (const WorldTriangle& t : mover->Brush->Triangles) {
            for (const Vector& v : t.Vertices) {
                const Vector p = v + mover->Location;
                min = {std::fmin(min.X, p.X), std::fmin(min.Y, p.Y), std::fmin(min.Z, p.Z)};
                max = {std::fmax(max.X, p.X), std::fmax(max.Y, p.Y), std::fmax(max.Z, p.Z)};
            }
            // Faces point out of the slab.
            EXPECT_GT(Dot(t.Normal, t.Centre - Vector{0, 0, 0}), 0.0f);
        }
        EXPECT_EQ(min, expected[i].Min);
        EXPECT_EQ(max, expected[i].Max);
    }
    EXPECT_EQ(f.world.Actors[0]->GetProperty("Tag"), "Gate");
    EXPECT_EQ(f.world.Actors[1]->GetProperty("OpeningSound"), "Sound'Orvane.Doors.LiftStart'");
}

} // namespace
} // namespace orv
