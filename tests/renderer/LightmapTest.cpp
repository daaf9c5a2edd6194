// Lightmaps: the shelf packer, the cross filter, light values with their falloff, incidence
// and saturation, light types and effects, the atlas and the per-frame relight.
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
#include <numbers>

namespace orv {
namespace {

using test::Blue;
using test::Green;
using test::Red;

TEST(ShelfPacker, ShortMapsFillFromTheTopTallOnesFromTheBottomUntilTheyMeet) {
    ShelfPacker packer(64);
    int x = -1, y = -1;
    ASSERT_TRUE(packer.Place(16, 20, x, y)); // nothing packed yet: bottom shelf, last row free
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 43);
    ASSERT_TRUE(packer.Place(16, 10, x, y)); // shorter than the average so far: top
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 0);
    ASSERT_TRUE(packer.Place(40, 20, x, y));
    EXPECT_EQ(x, 16);
    EXPECT_EQ(y, 43);
    ASSERT_TRUE(packer.Place(16, 20, x, y)); // 56 + 16 reaches the edge: a new bottom shelf above
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 23);
    ASSERT_TRUE(packer.Place(56, 8, x, y)); // a new top shelf below the first
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 10);
    ASSERT_TRUE(packer.Place(8, 15, x, y)); // on the second bottom shelf
    EXPECT_EQ(x, 16);
    EXPECT_EQ(y, 28);
    EXPECT_FALSE(packer.Place(40, 16, x, y)); // a third bottom shelf would climb into the top ones
    EXPECT_FALSE(packer.Place(4, 4, x, y));   // and once full it stays full
    ShelfPacker narrow(32);
    EXPECT_FALSE(narrow.Place(40, 4, x, y)); // wider than the atlas
    EXPECT_TRUE(narrow.Place(8, 4, x, y));
}

TEST(ShelfPacker, PlacedRectanglesNeverOverlapAndKeepTheLastRowFree) {
    RandomGenerator random;
    random.Seed(99);
    for (int round = 0; round < 20; ++round) {
        struct Rect {
            int W, H, X = 0, Y = 0;
        };
        std::vector<Rect> rects;
        for (int i = 0; i < 200; ++i) {
            rects.push_back({LightmapColumns(1 + static_cast<int>(random.Float() * 40)), 1 + static_cast<int>(random.Float() * 30)});
        }
        std::stable_sort(rects.begin(), rects.end(), [](const Rect& a, const Rect& b) { return a.H > b.H; });
        ShelfPacker packer(256);
        std::vector<Rect> placed;
        for (Rect r : rects) {
            if (packer.Place(r.W, r.H, r.X, r.Y)) {
                placed.push_back(r);
            }
        }
        ASSERT_GT(placed.size(), 20u);
        for (size_t i = 0; i < placed.size(); ++i) {
            const Rect& a = placed[i];
            ASSERT_GE(a.X, 0);
            ASSERT_GE(a.Y, 0);
            ASSERT_LE(a.X + a.W, 256);
            ASSERT_LE(a.Y + a.H, 255);
            for (size_t j = i + 1; j < placed.size(); ++j) {
                const Rect& b = placed[j];
                const bool apart = a.X + a.W <= b.X || b.X + b.W <= a.X || a.Y + a.H <= b.Y || b.Y + b.H <= a.Y;
                ASSERT_TRUE(apart) << "round " << round << ": " << i << " and " << j;
            }
        }
    }
}

TEST(CrossFilter, AveragesInnerTexelsWithTheirFourNeighboursAlphaIncluded) {
    Image image(7, 7, 0xFF000000u);
    image.At(3, 3) = 0xFFC86432u; // 200, 100, 50
    image.At(1, 1) = 0xFFFFFFFFu; // in the untouched border
    CrossFilter(image);
    // 5 x 255 x 51 / 256 = 254 for alpha; a lone texel passes 51 / 256 of itself to each.
    EXPECT_EQ(image.At(3, 3), 0xFE271309u);
    EXPECT_EQ(image.At(2, 3), 0xFE271309u);
    EXPECT_EQ(image.At(3, 4), 0xFE271309u);
    EXPECT_EQ(image.At(2, 2), 0xFE000000u);
    EXPECT_EQ(image.At(1, 1), 0xFFFFFFFFu);
    EXPECT_EQ(image.At(1, 3), 0xFF000000u);
    EXPECT_EQ(image.At(5, 3), 0xFF000000u); // width - 2: outside the filtered area
    Image tiny(4, 4, 0xFF808080u);
    CrossFilter(tiny);
    EXPECT_EQ(tiny.At(2, 2), 0xFF808080u);
}

// A 64 x 64 floor at z = 0 facing up (clockwise seen from above: +X is up the screen, +Y
// right) with one 5 x 5 lightmap (16 units per texel) whose texel (0, 0)
// centres on (0, 0), in a zone of ambient 16.
struct FloorScene {
    explicit FloorScene(int atlas = 64) : atlasSize(atlas) {
        scene.AddZone(0xFF101010u);
        floor = scene.Builder.AddPolygon({{0, 0, 0}, {64, 0, 0}, {64, 64, 0}, {0, 64, 0}}, {nullptr, 0, true, 16.0f}, 1);
    }
    Actor* Light(const Vector& at, uint8_t brightness, uint8_t radius) { return scene.AddLight(at, brightness, radius); }
    void Finish() { scene.Finish(uploader, atlasSize); }
    LevelRenderState& State() { return scene.Render->LevelState; }
    LightmapState& Map() { return State().Lightmaps[0]; }
    uint32_t Texel(int x, int y) { return Map().Static.At(x, y); }

    int atlasSize;
    test::TestScene scene;
    test::RecordingUploader uploader;
    int floor = -1;
};

uint32_t Grey(int v) { return 0xFF000000u | (uint32_t(v) << 16) | (uint32_t(v) << 8) | uint32_t(v); }

TEST(Lightmaps, LightFallsOffWithDistanceAndIncidenceOverTheZoneAmbient) {
    FloorScene f;
    f.Light({0, 0, 100}, 64, 8); // radius 200; brightness 64 gives 112 at full strength
    f.Finish();
    ASSERT_EQ(f.scene.Scene.CurrentLevel.Model.Lightmaps[0].Width, 5);
    EXPECT_EQ(f.Map().AtlasWidth, 8);
    EXPECT_EQ(f.Texel(0, 0), Grey(16 + 56));     // half way to the radius, head-on
    EXPECT_EQ(f.Texel(4, 0), Grey(16 + 36));     // 118.7 away at 32.6 degrees off the normal
    EXPECT_GT(Red(f.Texel(1, 1)), Red(f.Texel(3, 3)));
    EXPECT_EQ(f.Texel(7, 0), Grey(16 + 16));     // padding columns are lit like the rest
    EXPECT_EQ(f.Map().Ambient, 0xFF101010u);
    EXPECT_FALSE(f.Map().HasDynamicLights);
}

TEST(Lightmaps, LightsAddWithSaturationAndOnlyFromTheirSide) {
    struct Case {
        const char* Name;
        Vector At;
        uint8_t Brightness;
        int32_t Effect;
        uint8_t SpecialLit;
        int Expected; // texel (0, 0)
    };
    const Case cases[] = {
        {"no brightness", {0, 0, 100}, 0, LE_None, 0, 16},
        {"behind the surface", {0, 0, -100}, 64, LE_None, 0, 16},
        {"behind, without incidence", {0, 0, -100}, 64, LE_NonIncidence, 0, 16 + 56},
        {"beyond the radius", {0, 0, 250}, 64, LE_None, 0, 16},
        {"special-lit light on a plain surface", {0, 0, 100}, 64, LE_None, 1, 16},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        FloorScene f;
        Actor* light = f.Light(c.At, c.Brightness, 8);
        light->LightEffect = c.Effect;
        light->bSpecialLit = c.SpecialLit;
        f.Finish();
        EXPECT_EQ(f.Texel(0, 0), Grey(c.Expected));
    }
    FloorScene bright;
    bright.Light({0, 0, 100}, 255, 8)->LightHue = 0;
    Actor* red = bright.Light({0, 0, 100}, 255, 8);
    red->LightSaturation = 0; // pure red at full strength
    bright.scene.Info->Brightness = 2.0f;
    bright.Finish();
    const uint32_t t = bright.Texel(0, 0);
    EXPECT_EQ(Red(t), 255);   // 16 + 128 + 128 stops at 255
    EXPECT_EQ(Green(t), 144); // 16 + 128 from the white light only
    EXPECT_EQ(t >> 24, 0xFFu);
}

TEST(Lightmaps, PreparationPacksTallestFirstUploadsOnceAndMapsTriangles) {
    test::TestScene scene;
    test::RecordingUploader uploader;
    scene.AddZone(0xFF202020u);
    // 64 x 32, 32 x 96, 16 x 16 units at 16 per texel: 5 x 3, 3 x 7 and 2 x 2 texels.
    scene.Builder.AddPolygon({{0, 0, 0}, {64, 0, 0}, {64, 32, 0}, {0, 32, 0}}, {nullptr, 0, true, 16}, 1);
    scene.Builder.AddPolygon({{100, 0, 0}, {132, 0, 0}, {132, 96, 0}, {100, 96, 0}}, {nullptr, 0, true, 16}, 1);
    scene.Builder.AddPolygon({{200, 0, 0}, {216, 0, 0}, {216, 16, 0}, {200, 16, 0}}, {nullptr, 0, true, 16}, kNoZone);
    scene.Info->AmbientColor = 0xFF303030u;
    scene.Finish(uploader, 64);
    const LevelModel& model = scene.Scene.CurrentLevel.Model;
    const LevelRenderState& state = scene.Render->LevelState;
    ASSERT_NE(state.Atlas, nullptr);
    EXPECT_EQ(state.Atlas->Width(), 64);
    EXPECT_EQ(uploader.Generated, 1);
    ASSERT_EQ(uploader.Regions.size(), 3u);
    // The tallest goes first, to the bottom; one region upload per lightmap, of its atlas rectangle.
    const LightmapState& tall = state.Lightmaps[1];
    EXPECT_EQ(uploader.Regions[0].Y, tall.AtlasY);
    EXPECT_EQ(tall.AtlasY + tall.AtlasHeight, 63);
    EXPECT_EQ(uploader.Regions[0].W, 8);
    EXPECT_EQ(uploader.Regions[0].H, 7);
    for (int i = 0; i < 3; ++i) {
        const LightmapState& l = state.Lightmaps[i];
        EXPECT_TRUE(l.Placed);
        EXPECT_EQ(l.Static.Width, l.AtlasWidth);
        EXPECT_EQ(l.AtlasHeight, model.Lightmaps[i].Height);
    }
    // The zone's ambient, or LevelInfo's for zone 63; the atlas holds the filtered images.
    EXPECT_EQ(state.Lightmaps[0].Ambient, 0xFF202020u);
    EXPECT_EQ(state.Lightmaps[2].Ambient, 0xFF303030u);
    EXPECT_EQ(state.Atlas->Pixels.At(tall.AtlasX, tall.AtlasY), 0xFF202020u);
    EXPECT_EQ(state.Atlas->Pixels.At(63, 63), 0xFF000000u);
    // Triangle corners in lightmap space: texel centres sit at (i + 0.5) / Width.
    int mapped = 0;
    for (const WorldTriangle& t : scene.Scene.CurrentLevel.Triangles) {
        ASSERT_GE(t.Lightmap, 0);
        for (int v = 0; v < 3; ++v) {
            if (t.Vertices[v] == Vector(0, 0, 0)) {
                EXPECT_FLOAT_EQ(t.LightmapCoords[v][0], 0.5f / 5.0f);
                EXPECT_FLOAT_EQ(t.LightmapCoords[v][1], 0.5f / 3.0f);
                ++mapped;
            }
            if (t.Vertices[v] == Vector(132, 96, 0)) {
                EXPECT_FLOAT_EQ(t.LightmapCoords[v][0], (2.0f + 0.5f) / 3.0f);
                EXPECT_FLOAT_EQ(t.LightmapCoords[v][1], (6.0f + 0.5f) / 7.0f);
                ++mapped;
            }
        }
    }
    EXPECT_GE(mapped, 2);
}

TEST(Lightmaps, ATooSmallAtlasIsReportedOnceAndTheRestStillLoads) {
    test::TestScene scene;
    test::RecordingUploader uploader;
    scene.AddZone(0xFF202020u);
    for (int i = 0; i < 6; ++i) {
        const float x = 100.0f * i;
        scene.Builder.AddPolygon({{x, 0, 0}, {x + 64, 0, 0}, {x + 64, 64, 0}, {x, 64, 0}}, {nullptr, 0, true, 16}, 1);
    }
    test::LogCapture log;
    scene.Finish(uploader, 16); // room for two 8 x 5 maps side by side, and a row for one more
    EXPECT_EQ(std::count(log.Lines().begin(), log.Lines().end(), "Error: Can't fit lightmaps on atlas"), 1);
    int placed = 0;
    for (const LightmapState& l : scene.Render->LevelState.Lightmaps) {
        placed += l.Placed ? 1 : 0;
        EXPECT_EQ(l.Static.IsEmpty(), !l.Placed);
    }
    EXPECT_GT(placed, 0);
    EXPECT_LT(placed, 6);
    EXPECT_EQ(static_cast<int>(uploader.Regions.size()), placed);
    for (const WorldTriangle& t : scene.Scene.CurrentLevel.Triangles) {
        EXPECT_GE(t.Lightmap, 0); // unplaced maps still belong to their triangles
    }
}

TEST(Lightmaps, DynamicLightsAreLeftToTheRelightOfMapsDrawnLastFrame) {
    FloorScene f;
    f.Light({0, 0, 100}, 64, 8);
    Actor* torch = f.Light({64, 64, 100}, 64, 8);
    torch->bStatic = 0; // may move: relit every frame it is seen
    FloorScene plain;
    plain.Light({0, 0, 100}, 64, 8);
    f.Finish();
    plain.Finish();
    LightmapState& map = f.Map();
    ASSERT_TRUE(map.HasDynamicLights);
    EXPECT_EQ(f.Texel(0, 0), Grey(16 + 56)); // the static image holds the static light only
    const Image before = map.Static;
    LevelRenderState& state = f.State();
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
    const Image& atlas = state.Atlas->Pixels;
    EXPECT_GT(Red(atlas.At(map.AtlasX + 4, map.AtlasY + 4)), Red(before.At(4, 4)) + 20);

    // A static steady light without effect is baked once: never relit.
    plain.Map().DrawnFrame = ++plain.State().Frame;
    EXPECT_EQ(RelightDynamicLightmaps(plain.State(), plain.scene.Scene.CurrentLevel, inputs, plain.uploader), 0);
}

TEST(LightEffects, WhichLightsAreDynamic) {
    Actor light;
    EXPECT_TRUE(IsDynamicLight(light)); // movable
    light.bStatic = 1;
    EXPECT_FALSE(IsDynamicLight(light)); // LightType 0
    for (int32_t type : {LT_Pulse, LT_Blink, LT_Flicker, LT_Strobe, LT_SubtlePulse, LT_TexturePaletteOnce, LT_TexturePaletteLoop}) {
        light.LightType = type;
        EXPECT_TRUE(IsDynamicLight(light)) << type;
    }
    for (int32_t type : {int32_t(LT_Steady), int32_t(LT_BackdropLight), int32_t(42)}) {
        light.LightType = type;
        for (int32_t effect = 0; effect <= LE_Sunlight; ++effect) {
            light.LightEffect = effect;
            const bool animated = (effect >= 1 && effect <= 7) || effect == 9 || effect == 10 || effect == 16 || effect == 18;
            EXPECT_EQ(IsDynamicLight(light), animated) << type << " " << effect;
        }
    }
}

TEST(LightEffects, TypesSetTheBrightnessOverTime) {
    Actor light;
    light.LightBrightness = 200;
    light.LightPeriod = 64; // one half-turn of the sine per second
    light.LightType = LT_Pulse;
    EXPECT_FLOAT_EQ(LightTypeBrightness(light, 0.0), 200 * 0.625f);
    EXPECT_NEAR(LightTypeBrightness(light, 0.5), 200.0f, 1e-3f);
    EXPECT_NEAR(LightTypeBrightness(light, 1.5), 200 * 0.25f, 1e-3f);
    light.LightPhase = 64; // a quarter of the way on
    EXPECT_NEAR(LightTypeBrightness(light, 0.0), 200.0f, 1e-3f);
    light.LightType = LT_SubtlePulse;
    EXPECT_NEAR(LightTypeBrightness(light, 1.0), 200 * 0.5f, 1e-3f);
    light.LightPeriod = 0; // read as 1, never a division by zero
    EXPECT_TRUE(std::isfinite(LightTypeBrightness(light, 3.7)));
    light.LightType = LT_Strobe;
    EXPECT_FLOAT_EQ(LightTypeBrightness(light, 1.0), 200.0f);
    light.bLightOff = 1;
    EXPECT_LT(LightTypeBrightness(light, 1.0), 0.0f);
    light.LightType = LT_Blink;
    EXPECT_FLOAT_EQ(LightTypeBrightness(light, 1.0), 200.0f);
}

TEST(LightEffects, ShapesOfTheEffects) {
    Actor a;
    a.LightRadius = 4; // 100 units
    const Vector down{0, 0, -1};   // a floor's stored normal: lit from above
    auto factor = [&](int32_t effect, const Vector& v, double time = 0.0, const float* flicker = nullptr, uint32_t bit = 0) {
        a.LightEffect = effect;
        return LightFactor(MakeLightShape(a, time, flicker), v, down, bit);
    };
    const Vector below{0, 0, -50};
    EXPECT_FLOAT_EQ(factor(LE_None, below), 0.5f);
    EXPECT_FLOAT_EQ(factor(LE_Cylinder, {0, 0, -500}), 1.0f);     // no falloff, no incidence
    EXPECT_FLOAT_EQ(factor(LE_NonIncidence, {50, 0, 0}), 0.5f);  // sideways, still lit
    EXPECT_FLOAT_EQ(factor(LE_None, {50, 0, 0}), 0.0f);
    // A shell: nothing inside 0.835 of the radius, full at the radius, gone 0.165 beyond.
    EXPECT_FLOAT_EQ(factor(LE_Shell, {0, 0, -80}), 0.0f);
    EXPECT_FLOAT_EQ(factor(LE_Shell, {0, 0, -100}), 1.0f);
    EXPECT_NEAR(factor(LE_Shell, {0, 0, -108.25f}), 0.5f, 1e-4f);
    EXPECT_FLOAT_EQ(factor(LE_Shell, {0, 0, -120}), 0.0f);
    // Spots: a cone of 128 keeps light within about 60 degrees of the beam.
    a.LightCone = 128;
    a.Rotation = {-16384, 0, 0}; // pointing straight down
    EXPECT_FLOAT_EQ(factor(LE_Spotlight, below), 0.5f);
    const Vector slanted = Vector(30, 0, -40); // 36.9 degrees off the beam
    EXPECT_NEAR(factor(LE_Spotlight, slanted) / factor(LE_None, slanted), (0.8f - 1.0f) * (255.0f / 128.0f) + 1.0f, 1e-4f);
    EXPECT_FLOAT_EQ(factor(LE_StaticSpot, {40, 0, -20}), 0.0f); // 63 degrees off
    // Sunlight: only the beam against the surface counts, at any distance.
    EXPECT_FLOAT_EQ(factor(LE_Sunlight, {5000, 0, -10}), 1.0f);
    a.Rotation = {16384, 0, 0};
    EXPECT_FLOAT_EQ(factor(LE_Sunlight, below), 0.0f);
    a.Rotation = {};
    // Watery shimmer scales by the flicker table entry of the texel's shadow bit.
    float table[256];
    std::fill(std::begin(table), std::end(table), 1.0f);
    table[5] = 0.25f;
    EXPECT_FLOAT_EQ(factor(LE_WateryShimmer, below, 0.0, table, 256 + 5), 0.125f);
    EXPECT_FLOAT_EQ(factor(LE_WateryShimmer, below, 0.0, table, 6), 0.5f);
    // A searchlight's beam turns with time.
    a.LightPeriod = 32;
    const double quarter = 32 * 22.933 * 0.03125 / 2; // seconds for a quarter turn
    EXPECT_GT(factor(LE_Searchlight, {40, 0, -10}, 0.0), 0.0f);
    EXPECT_FLOAT_EQ(factor(LE_Searchlight, {40, 0, -10}, quarter), 0.0f);
    EXPECT_GT(factor(LE_Searchlight, {0, 40, -10}, quarter), 0.0f);
    // The moving patterns stay within the light's own factor and change over time.
    for (int32_t effect : {LE_TorchWaver, LE_FireWaver, LE_SlowWave, LE_FastWave, LE_Shock, LE_Disco, LE_Interference, LE_Rotor}) {
        bool changes = false;
        for (int i = 0; i < 200; ++i) {
            const Vector v{std::cos(i * 0.7f) * 60, std::sin(i * 0.7f) * 60, -20.0f - (i % 5) * 5};
            const float plain = factor(LE_None, v);
            const float f0 = factor(effect, v, 0.0);
            const float f1 = factor(effect, v, 0.75 + i * 0.01);
            EXPECT_GE(f0, 0.0f) << effect;
            EXPECT_LE(f0, plain + 1e-6f) << effect;
            changes = changes || std::fabs(f0 - f1) > 1e-3f;
        }
        EXPECT_TRUE(changes) << effect;
    }
}

} // namespace
} // namespace orv
