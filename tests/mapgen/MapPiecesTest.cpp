// The generator's pieces as the level compiler and the engine read them: closed brushes wound
// outwards, texture axes in their faces, wedges rising the way asked, pools that are zones of their
// own, and doors and lifts that the engine turns into movers.
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

#include <algorithm>
#include <cmath>

namespace orv {
namespace {

using namespace mapgen;

TEST(MapPieces, FaceAxesLieInTheFaceWithVDown) {
    for (const Vector n : {Vector{1, 0, 0}, Vector{0, -1, 0}, Normal({1, 1, 0}), Vector{0, 0, 1}, Vector{0, 0, -1},
                           Normal({0.3f, -0.4f, 0.5f}), Normal({-1, 0, 0.2f})}) {
        Vector u, v;
        FaceAxes(n, 2.0f, u, v); // two world units per texel
        for (const float d : {Dot(u, n), Dot(v, n), Dot(u, v), Length(u) - 0.5f, Length(v) - 0.5f}) {
            EXPECT_NEAR(d, 0.0f, 1e-5f);
        }
        // Walls read top to bottom, and left to right along the level.
        EXPECT_TRUE(std::fabs(n.Z) > 0.7f || (v.Z < 0.0f && std::fabs(u.Z) < 1e-6f)) << n.X << " " << n.Y;
    }
}

TEST(MapPieces, WedgesRiseTheWayAskedAndTexelsLieOnTheirFaces) {
    const Skin stone = Plain("Orvane.Stone.Wall");
    for (Rise rise : {Rise::PlusX, Rise::MinusX, Rise::PlusY, Rise::MinusY}) {
        MapWriter map;
        Room(map, {0, 0, 0}, {512, 512, 256}, stone);
        Ramp(map, {128, 128, 0}, {384, 384, 128}, rise, stone);
        const CompiledLevel level = test::Compile(map.Text(), 800);
        EXPECT_EQ(level.Zones.LeakingLeaves, 0);
        // A quarter of the way up the wedge the slope is 32 high, three quarters up 96.
        const bool alongX = rise == Rise::PlusX || rise == Rise::MinusX;
        const bool rising = rise == Rise::PlusX || rise == Rise::PlusY;
        const auto at = [&](float along, float z) {
            const float a = rising ? 128 + along : 384 - along;
            return alongX ? DVector{a, 256, z} : DVector{256, a, z};
        };
        EXPECT_TRUE(level.IsSolid(at(64, 24)) && level.IsSolid(at(192, 88)));
        EXPECT_FALSE(level.IsSolid(at(64, 40)) || level.IsSolid(at(192, 104)));
        // Texture origins lie on their faces: the engine's texels lie on the surface.
        for (const TreeNode& node : level.Tree.Nodes) {
            const Surface& s = level.Model.Surfaces[node.Surface];
            EXPECT_NEAR(node.Plane.Distance(TexelMapper(s, level.Model.Lightmaps[s.LightmapIndex]).Position(1, 1)), 0.0,
                        0.01);
        }
    }
}

TEST(MapPieces, PoolsAreZonesBehindTheirSurface) {
    // (The stairs and the pools of the demo levels are climbed and swum in by the real program's
    // runs, e2e.)
    MapWriter map;
    Room(map, {640, 0, 64}, {1024, 256, 320}, Plain("Orvane.Stone.Wall"));
    const Vector basin[2] = {{768, 64, -64}, {896, 192, 64}};
    Pool(map, {basin[0], basin[1], 8, Plain("Orvane.Tiles.Mosaic"), "Orvane.Liquid.WaterWet", kTranslucent, "WaterZone",
               Properties()});
    Light(map, "Light", {700, 128, 200}, 100, 0, 0, 64, {{"LightType", "LT_Steady"}});
    Light(map, "Light", {832, 128, 0}, 100, 0, 0, 64, {{"LightType", "LT_Steady"}});
    const CompiledLevel level = test::Compile(map.Text(), 2000);
    EXPECT_EQ(level.Zones.LeakingLeaves, 0);
    // The water below its surface is the WaterZone's zone, above it the level's own; the surface
    // between them is a two-sided zone portal, lit from above and from below.
    const LevelModel& model = level.Model;
    const int below = test::ModelZoneAt(model, {832, 128, 0}), above = test::ModelZoneAt(model, {832, 128, 100});
    ASSERT_GT(model.ZoneIndices[below], 0);
    EXPECT_EQ(model.ActorRefs[model.ZoneIndices[below] - 1].ClassName, "WaterZone");
    EXPECT_EQ(model.ZoneIndices[above], 0);
    const auto surface = std::find_if(model.Surfaces.begin(), model.Surfaces.end(),
                                      [](const Surface& s) { return s.Flags & PF_ZonePortal; });
    ASSERT_NE(surface, model.Surfaces.end());
    const uint32_t kept = PF_TwoSided | PF_NotSolid | PF_Translucent;
    EXPECT_EQ(surface->Flags & kept, kept);
    EXPECT_EQ(model.LightCount(model.Lightmaps[surface->LightmapIndex]), 2);
}

TEST(MapPieces, DoorsAndLiftsBecomeTheEnginesMovers) {
    MapWriter map;
    Room(map, {0, 0, 0}, {4096, 1024, 1024}, Plain("Orvane.Stone.Wall")); // the editor's brushes: no actor brush
    Door(map, {{784, 320, 0}, {800, 448, 160}, 152, "TriggerToggle", "Gate"});
    Lift(map, {2312, 328, 112}, {2424, 440, 128}, 384, 3, "Orvane.Metal.Plate");
    Faces sky = BoxFaces({0, 0, 0}, {64, 64, 64}, Plain("Orvane.Metal.Plate"));
    sky[0].Flags = kSkyPortal; // a sky portal polygon is no part of a mover's brush
    map.Mover({32, 32, 32}, sky, {});
    test::WorldFixture f;
    f.AddEngineClasses();
    test::LogCapture log;
    ParseT3DActorsText(f.world, "Maps\\Pieces.t3d", map.Text());
    EXPECT_FALSE(log.Contains("Warning: Mesh Movers are not supported."));
    ASSERT_EQ(f.world.Actors.Num(), 4);
    EXPECT_EQ(f.world.Actors[0]->Brush, nullptr);
    ASSERT_NE(f.world.Actors[3]->Brush, nullptr);
    EXPECT_EQ(f.world.Actors[3]->Brush->Triangles.Num(), 10);
    const struct {
        Vector Min, Max, Key;
        const char* State;
    } expected[] = {{{784, 320, 0}, {800, 448, 160}, {0, 0, 152}, "TriggerToggle"},
                    {{2312, 328, 112}, {2424, 440, 128}, {0, 0, 384}, "StandOpenTimed"}};
    for (int i = 0; i < 2; ++i) {
        const auto* mover = dynamic_cast<const Mover*>(f.world.Actors[i + 1].get());
        ASSERT_TRUE(mover && mover->Brush);
        ASSERT_EQ(mover->Brush->Triangles.Num(), 12);
        EXPECT_EQ(mover->InitialState, expected[i].State);
        EXPECT_EQ(mover->KeyPos[1], expected[i].Key);
        // The brush's corners, placed at the mover's location, are the box asked for; its faces
        // point out of the slab.
        Bounds box;
        for (const WorldTriangle& t : mover->Brush->Triangles) {
            for (const Vector& v : t.Vertices) {
                box.Add(DVector(v + mover->Location));
            }
            EXPECT_GT(Dot(t.Normal, t.Centre), 0.0f);
        }
        EXPECT_EQ(std::pair(box.Min, box.Max), std::pair(DVector(expected[i].Min), DVector(expected[i].Max)));
    }
}

} // namespace
} // namespace orv
