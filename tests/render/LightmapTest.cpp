// Lightmaps: the shelf packer, light values with their falloff, incidence and saturation, light
// types and effects, the atlas and the per-frame relight. The cross filter smooths the lightmaps
// of the world pictures.
#include "render/LightEffects.h"
#include "render/LightmapAtlas.h"
#include "render/Lightmaps.h"

#include "GlTestSupport.h"
#include "TestLevels.h"
#include "core/Random.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace orv {
namespace {

// Tallest first, as the preparation packs; the preparation test sees where the first ones go.
TEST(ShelfPacker, PlacedRectanglesNeverOverlapAndKeepTheLastRowFree) {
    RandomGenerator random;
    random.Seed(99);
    for (int round = 0; round < 20; ++round) {
        struct Rect {
            int W, H, X = 0, Y = 0;
        };
        std::vector<Rect> rects, placed;
        for (int i = 0; i < 200; ++i) {
            rects.push_back({LightmapColumns(1 + static_cast<int>(random.Float() * 40)),
                             1 + static_cast<int>(random.Float() * 30)});
        }
        std::stable_sort(rects.begin(), rects.end(), [](const Rect& a, const Rect& b) { return a.H > b.H; });
        ShelfPacker packer(256);
        for (Rect r : rects) {
            if (packer.Place(r.W, r.H, r.X, r.Y)) {
                placed.push_back(r);
            }
        }
        ASSERT_GT(placed.size(), 20u);
        ASSERT_LT(placed.size(), rects.size()); // full: once the shelves meet nothing more goes in
        for (size_t i = 0; i < placed.size(); ++i) {
            const Rect& a = placed[i];
            ASSERT_TRUE(a.X >= 0 && a.Y >= 0 && a.X + a.W <= 256 && a.Y + a.H <= 255);
            for (size_t j = i + 1; j < placed.size(); ++j) {
                const Rect& b = placed[j];
                ASSERT_TRUE(a.X + a.W <= b.X || b.X + b.W <= a.X || a.Y + a.H <= b.Y || b.Y + b.H <= a.Y)
                    << "round " << round << ": " << i << " and " << j;
            }
        }
    }
    int x = 0, y = 0;
    EXPECT_FALSE(ShelfPacker(32).Place(40, 4, x, y)); // wider than the atlas, even alone
}

// A 64 x 64 floor at z = 0 facing up with one 5 x 5 lightmap (16 units per texel) whose texel
// (0, 0) centres on (0, 0), in a zone of ambient 16, and the lights given.
struct FloorScene {
    explicit FloorScene(std::initializer_list<Vector> lights) {
        scene.AddZone(0xFF101010u);
        scene.AddPolygon({{0, 0, 0}, {64, 0, 0}, {64, 64, 0}, {0, 64, 0}}, {nullptr, 0, true, 16.0f}, 1);
        for (const Vector& at : lights) {
            scene.AddLight(at, 64, 8); // radius 200; brightness 64 gives 112 at full strength
        }
    }
    FloorScene& Finish() {
        scene.Finish(uploader, 64);
        return *this;
    }
    LevelRenderState& State() { return scene.Render->LevelState; }
    LightmapState& Map() { return State().Lightmaps[0]; }
    uint32_t Texel(int x, int y) { return Map().Static.At(x, y); }

    test::TestScene scene;
    test::RecordingUploader uploader;
};

uint32_t Grey(int v) { return 0xFF000000u | (uint32_t(v) << 16) | (uint32_t(v) << 8) | uint32_t(v); }

TEST(Lightmaps, LightFallsOffWithDistanceAndIncidenceAddsWithSaturationAndOnlyFromItsSide) {
    FloorScene f({{0, 0, 100}});
    f.Finish();
    EXPECT_EQ(f.Map().AtlasWidth, 8);
    EXPECT_EQ(f.Texel(0, 0), Grey(16 + 56)); // half way to the radius, head-on
    EXPECT_EQ(f.Texel(4, 0), Grey(16 + 36)); // 118.7 away at 32.6 degrees off the normal
    EXPECT_EQ(f.Texel(7, 0), Grey(16 + 16)); // padding columns are lit like the rest
    EXPECT_EQ(f.Map().Ambient, 0xFF101010u);
    EXPECT_FALSE(f.Map().HasDynamicLights);
    struct Case {
        const char* Name;
        Vector At;
        uint8_t Brightness;
        int32_t Effect;
        uint8_t SpecialLit;
        int Expected; // texel (0, 0)
    };
    const Case cases[] = {
        {"no brightness", {0, 0, 100}, 0, le_none, 0, 16},
        {"behind the surface", {0, 0, -100}, 64, le_none, 0, 16},
        {"behind, without incidence", {0, 0, -100}, 64, le_nonincidence, 0, 16 + 56},
        {"beyond the radius", {0, 0, 250}, 64, le_none, 0, 16},
        {"special-lit light on a plain surface", {0, 0, 100}, 64, le_none, 1, 16},
    };
    for (const Case& c : cases) {
        FloorScene one({c.At});
        Actor& light = *one.scene.Lights[0];
        light.LightBrightness = c.Brightness;
        light.LightEffect = ELightEffect(c.Effect);
        light.bSpecialLit = c.SpecialLit;
        EXPECT_EQ(one.Finish().Texel(0, 0), Grey(c.Expected)) << c.Name;
    }
    FloorScene bright({{0, 0, 100}, {0, 0, 100}});
    for (Actor* light : bright.scene.Lights) {
        light->LightBrightness = 255;
    }
    bright.scene.Lights[1]->LightSaturation = 0; // pure red
    bright.scene.Info->Brightness = 2.0f;
    EXPECT_EQ(bright.Finish().Texel(0, 0), 0xFFFF9090u); // red stops at 255; 16 + 128 from the white
}

TEST(Lightmaps, PreparationPacksTallestFirstUploadsOnceAndTakesEachSurfacesZone) {
    test::TestScene scene;
    test::RecordingUploader uploader;
    ZoneInfo* zone = scene.AddZone(0xFF202020u);
    // 64 x 32, 32 x 96, 16 x 16 units at 16 per texel: 5 x 3, 3 x 7 and 2 x 2 texels.
    scene.AddPolygon({{0, 0, 0}, {64, 0, 0}, {64, 32, 0}, {0, 32, 0}}, {nullptr, 0, true, 16}, 1);
    scene.AddPolygon({{100, 0, 0}, {132, 0, 0}, {132, 96, 0}, {100, 96, 0}}, {nullptr, 0, true, 16}, 1);
    scene.AddPolygon({{200, 0, 0}, {216, 0, 0}, {216, 16, 0}, {200, 16, 0}}, {nullptr, 0, true, 16}, kNoZone);
    scene.Info->AmbientColor = 0xFF303030u;
    scene.Finish(uploader, 64);
    const LevelRenderState& state = scene.Render->LevelState;
    EXPECT_EQ(state.Atlas->Width(), 64);
    EXPECT_EQ(uploader.Generated, 1u);
    // The tallest goes first, to the bottom (the last row stays free), the short one to the top;
    // one region upload per lightmap, of its atlas rectangle.
    const LightmapState& tall = state.Lightmaps[1];
    EXPECT_EQ(tall.AtlasY + tall.AtlasHeight, 63);
    EXPECT_EQ(state.Lightmaps[2].AtlasY, 0);
    ASSERT_EQ(uploader.Regions.size(), 3u);
    EXPECT_EQ(uploader.Regions[0], (std::array<int, 4>{tall.AtlasX, tall.AtlasY, 8, 7}));
    // The zone's ambient, or LevelInfo's for no zone, in the filtered atlas; the surfaces pan with
    // the same zones.
    EXPECT_EQ(state.Lightmaps[0].Ambient, 0xFF202020u);
    EXPECT_EQ(state.Lightmaps[2].Ambient, 0xFF303030u);
    EXPECT_EQ(state.Atlas->Pixels.At(tall.AtlasX, tall.AtlasY), 0xFF202020u);
    EXPECT_EQ(state.Atlas->Pixels.At(63, 63), 0xFF000000u);
    const Level& level = scene.Scene.CurrentLevel;
    EXPECT_EQ(level.SurfaceZones.Std(), (std::vector<Actor*>{zone, zone, scene.Info}));
    // World triangles know their lightmap and their corners in it: texel centres at (i + 0.5) / Width.
    int mapped = 0;
    for (const WorldTriangle& t : level.Triangles) {
        ASSERT_EQ(t.Lightmap, level.Model.Surfaces[level.Model.Nodes[t.Index].Surface].LightmapIndex);
        for (int v = 0; v < 3; ++v) {
            if (t.Vertices[v] == Vector(132, 96, 0)) {
                ++mapped;
                EXPECT_EQ(Vector(t.LightmapCoords[v][0], t.LightmapCoords[v][1], 0), Vector(2.5f / 3, 6.5f / 7, 0));
            }
        }
    }
    EXPECT_EQ(mapped, 2); // both triangles of the polygon's fan
}

TEST(Lightmaps, ATooSmallAtlasIsReportedOnceAndTheRestStillLoads) {
    test::TestScene scene;
    test::RecordingUploader uploader;
    for (int i = 0; i < 6; ++i) {
        const float x = 100.0f * i;
        scene.AddPolygon({{x, 0, 0}, {x + 64, 0, 0}, {x + 64, 64, 0}, {x, 64, 0}}, {nullptr, 0, true, 16}, 1);
    }
    test::LogCapture log;
    scene.Finish(uploader, 16); // room for two 8 x 5 maps side by side, and a row for one more
    EXPECT_EQ(std::count(log.Lines().begin(), log.Lines().end(), "Error: Can't fit lightmaps on atlas"), 1);
    const std::vector<LightmapState>& lightmaps = scene.Render->LevelState.Lightmaps;
    const auto placed = std::count_if(lightmaps.begin(), lightmaps.end(), [](const LightmapState& l) {
        EXPECT_EQ(l.Static.IsEmpty(), !l.Placed);
        return l.Placed;
    });
    EXPECT_TRUE(placed > 0 && placed < 6);
    EXPECT_EQ(static_cast<long>(uploader.Regions.size()), placed);
}

TEST(Lightmaps, DynamicLightsAreLeftToTheRelightOfMapsDrawnSinceTheLast) {
    FloorScene f({{0, 0, 100}, {64, 64, 100}});
    f.scene.Lights[1]->bStatic = 0; // may move: relit every frame it is seen
    f.Finish();
    LightmapState& map = f.Map();
    LevelRenderState& state = f.State();
    ASSERT_TRUE(map.HasDynamicLights);
    EXPECT_EQ(f.Texel(0, 0), Grey(16 + 56)); // the static image holds the static light only
    const Image before = map.Static;
    EXPECT_EQ(state.Atlas->Pixels.At(map.AtlasX + 4, map.AtlasY + 4), before.At(4, 4)); // copied unfiltered
    const Level& level = f.scene.Scene.CurrentLevel;
    const LightingInputs inputs = WorldLighting(f.scene.Scene, nullptr);
    const size_t uploads = f.uploader.Regions.size();
    EXPECT_EQ(RelightDynamicLightmaps(state, level, inputs, f.uploader), 0); // not drawn: left alone
    map.DrawnFrame = ++state.Frame;
    EXPECT_EQ(RelightDynamicLightmaps(state, level, inputs, f.uploader), 1);
    EXPECT_EQ(RelightDynamicLightmaps(state, level, inputs, f.uploader), 0); // not drawn again since
    EXPECT_EQ(f.uploader.Regions.size(), uploads + 1);
    EXPECT_EQ(map.Static.Pixels, before.Pixels);
    EXPECT_GT(test::Red(state.Atlas->Pixels.At(map.AtlasX + 4, map.AtlasY + 4)), test::Red(before.At(4, 4)) + 20);
    // A static steady light without effect is baked once and never relit; one that changes over
    // time by its type or effect is dynamic.
    FloorScene plain({{0, 0, 100}});
    plain.Finish().Map().DrawnFrame = ++plain.State().Frame;
    EXPECT_EQ(RelightDynamicLightmaps(plain.State(), plain.scene.Scene.CurrentLevel, inputs, plain.uploader), 0);
    plain.scene.Lights[0]->LightEffect = le_disco;
    EXPECT_TRUE(IsDynamicLight(*plain.scene.Lights[0]));
}

// What each effect does to the light that reaches a texel, by its shape rather than its numbers.
TEST(LightEffects, ShapesOfTheEffects) {
    Actor a;
    a.LightRadius = 4;           // 100 units
    const Vector down{0, 0, -1}; // a floor's stored normal: lit from above
    auto factor = [&](int32_t effect, const Vector& v, double time = 0.0, const float* flicker = nullptr) {
        a.LightEffect = ELightEffect(effect);
        return LightFactor(MakeLightShape(a, time, flicker), v, down, 256 + 5);
    };
    const Vector below{0, 0, -50};
    EXPECT_FLOAT_EQ(factor(le_none, below), 0.5f);
    EXPECT_FLOAT_EQ(factor(le_cylinder, {0, 0, -500}), 1.0f); // no falloff, no incidence
    EXPECT_FLOAT_EQ(factor(le_shell, {0, 0, -80}), 0.0f);     // a shell: nothing well inside the radius,
    EXPECT_FLOAT_EQ(factor(le_shell, {0, 0, -100}), 1.0f);    // full at the radius
    a.Rotation = {-16384, 0, 0}; // spots pointing straight down: a cone of 128 keeps about 60 degrees
    a.LightCone = 128;
    EXPECT_FLOAT_EQ(factor(le_spotlight, below), 0.5f);
    EXPECT_FLOAT_EQ(factor(le_staticspot, {40, 0, -20}), 0.0f); // 63 degrees off
    a.Rotation = {};
    float table[256];
    std::fill(std::begin(table), std::end(table), 1.0f);
    table[5] = 0.25f; // watery shimmer takes the entry of the texel's shadow bit
    EXPECT_FLOAT_EQ(factor(le_wateryshimmer, below, 0.0, table), 0.125f);
    a.LightPeriod = 32; // a searchlight's beam turns a quarter in LightPeriod x 22.933 / 64 seconds
    EXPECT_GT(factor(le_searchlight, {40, 0, -10}, 0.0), 0.0f);
    EXPECT_FLOAT_EQ(factor(le_searchlight, {40, 0, -10}, 32 * 22.933 / 64), 0.0f);
    // The moving patterns stay within the light's own factor and change over time.
    for (int32_t effect :
         {le_torchwaver, le_firewaver, le_slowwave, le_fastwave, le_shock, le_disco, le_interference, le_rotor}) {
        bool changes = false;
        for (int i = 0; i < 200; ++i) {
            const Vector v{std::cos(i * 0.7f) * 60, std::sin(i * 0.7f) * 60, -20.0f - (i % 5) * 5};
            const float f0 = factor(effect, v, 0.0);
            EXPECT_TRUE(f0 >= 0.0f && f0 <= factor(le_none, v) + 1e-6f) << effect;
            changes = changes || std::fabs(f0 - factor(effect, v, 0.75 + i * 0.01)) > 1e-3f;
        }
        EXPECT_TRUE(changes) << effect;
    }
    // A flickering or strobing light adds nothing while it is off.
    a.LightType = lt_strobe;
    a.bLightOff = 1;
    EXPECT_LT(LightTypeBrightness(a, 1.0), 0.0f);
}

} // namespace
} // namespace orv
