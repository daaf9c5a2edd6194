// The demo levels: the checked-in sources are the generator's, they compile sealed and without a
// warning against the generated content, every texture, sound, song, class, event and level they
// name exists there, and the engine loads, lights and runs them.
#include "DemoMaps.h"
#include "LevelBuild.h"
#include "Lightmaps.h"

#include "content/PackageNames.h"
#include "content/PropertyValues.h"
#include "content/Resources.h"
#include "core/Text.h"
#include "core/Vfs.h"
#include "render/LightEffects.h"
#include "render/Lightmaps.h"
#include "support/TestSupport.h"
#include "world/ActorClasses.h"
#include "world/LevelLoader.h"
#include "world/WorldFixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>

namespace orv {
namespace {

namespace fs = std::filesystem;

void ExpectNoWarning(const test::LogCapture& log) {
    for (const std::string& line : log.Lines()) {
        EXPECT_TRUE(FindText(line, "warning") == std::string::npos && FindText(line, "error") == std::string::npos)
            << line;
    }
}

TEST(DemoMaps, CheckedInSourcesAreTheGeneratorsOutput) {
    for (const mapgen::DemoMap& map : mapgen::DemoMaps()) {
        std::string checkedIn;
        ASSERT_TRUE(ReadWholeFile((test::SourceDir() / "content" / "maps" / (map.Name + ".t3d")).string(), checkedIn));
        EXPECT_TRUE(checkedIn == map.Text)
            << "content/maps/" << map.Name << ".t3d differs from the generator's: run orvane-mapgen --out content/maps";
    }
}

// Against the generated content, each demo compiles sealed, without a warning, every surface that
// takes light with its lightmap and most of them seeing a light. Every texture, sound, song, class
// and level it names exists in the content; every event reaches a tag and every tag is reached
// (PlayerStart's arrival tag "Start" by the other level); the LevelInfo names the level for the
// menus.
TEST(DemoMaps, CompileSealedAndEverythingTheyNameExists) {
    const fs::path game = test::GameDir();
    ASSERT_TRUE(fs::exists(game / "System")) << game << " holds no generated content: build the game tree first";
    test::InDirectory(game, [&] {
        InvalidateVfsCache();
        Resources res;
        LoadClassDefaults(res);
        for (const mapgen::DemoMap& demo : mapgen::DemoMaps()) {
            SCOPED_TRACE(demo.Name);
            test::LogCapture log;
            LevelBuildOptions options;
            options.ContentDir = game.string();
            const CompiledLevel level = CompileMap(ParseMap(demo.Text, demo.Name + ".t3d"), options);
            ExpectNoWarning(log);
            EXPECT_TRUE(level.Zones.LeakingLeaves == 0 && level.Untextured.empty());
            int lit = 0;
            for (const Surface& s : level.Model.Surfaces) {
                EXPECT_EQ(s.LightmapIndex >= 0, SurfaceGetsLightmap(s.Flags)) << s.TextureName;
                lit += s.LightmapIndex >= 0 && level.Model.Lightmaps[s.LightmapIndex].FirstLight >= 0;
            }
            EXPECT_GT(lit, level.Model.Lightmaps.Num() * 3 / 4);

            std::set<std::string> tags, fired;
            for (const MapActor& actor : level.Map.Actors) {
                EXPECT_NE(FindClass(res, actor.Class), nullptr) << "no class script for " << actor.Class;
                for (const char* key : {"Title", "Author", "LevelEnterText", "Song"}) {
                    EXPECT_TRUE(actor.Class != "LevelInfo" || !actor.Properties.Get(key).empty()) << key;
                }
                for (const T3dPolygon& polygon : actor.Polygons) {
                    const std::string texture = polygon.TextureName.value_or("");
                    EXPECT_FALSE(ResolveTexturePath(res, texture, "").empty()) << texture;
                }
                for (const PropertyPair& p : actor.Properties.Pairs) {
                    if (StartsWithText(p.Value, "Sound'")) {
                        EXPECT_FALSE(ResolveSoundPath(res, StripObjectReference(p.Value), "").empty()) << p.Value;
                    } else if (SameText(p.Key, "Song")) {
                        EXPECT_TRUE(FileExists("Music\\" + ParseClassRefValue(p.Value) + ".xm")) << p.Value;
                    } else if (SameText(p.Key, "Event") || StartsWithText(p.Key, "OutEvents")) {
                        fired.insert(p.Value); // events match tags byte for byte
                    } else if (SameText(p.Key, "Tag")) {
                        tags.insert(p.Value);
                    } else if (SameText(p.Key, "URL")) {
                        // A level exit names a level of the tree; a teleporter URL a destination's tag.
                        const std::string url = ParseStateValue(p.Value);
                        if (url.find('#') == std::string::npos) {
                            fired.insert(url);
                        } else {
                            EXPECT_TRUE(FileExists("Maps\\" + url.substr(0, url.find('#')) + ".t3d")) << url;
                        }
                    }
                }
            }
            for (const std::string& event : fired) {
                EXPECT_TRUE(tags.count(event)) << "nothing is tagged " << event;
            }
            for (const std::string& tag : tags) {
                EXPECT_TRUE(fired.count(tag) || tag == "Start") << "nothing fires " << tag;
            }
        }
    });
}

// The engine's services for a headless run, with the renderer's own lightmap preparation (no
// graphics card: the atlas stays an image).
struct LoadServices : test::RecordingServices {
    void PrepareLightmaps(World& world) override {
        orv::PrepareLightmaps(State, world.CurrentLevel, WorldLighting(world, nullptr), uploader, 2048);
        ++LightmapPreparations;
    }
    NullTextureUploader uploader;
    LevelRenderState State;
};

// What the real program's run of each demo level (e2e) does not see: the engine loads Demo1,
// Demo2 and Demo1 again with every lightmap on the atlas, listing live lights that brighten it,
// every texture found, every liquid and the sky room zones of their own, each linked to its actor
// (only the open level is the LevelInfo's), the sky zone linked, and the songs started.
TEST(DemoMaps, LoadInTheEngineLitAndLinked) {
    const fs::path game = test::GameDir();
    ASSERT_TRUE(fs::exists(game / "Maps" / "Demo1.bsp")) << "the build compiles the demo levels into " << game;
    test::InDirectory(game, [&] {
        InvalidateVfsCache();
        test::LogCapture log;
        Resources res;
        ConfigTable config;
        ConfigLoad(config, "Orvane.ini");
        World world(res, config);
        LoadServices services;
        world.Services = &services;
        LoadFallbackTexture(res);
        LoadClassDefaults(res);
        CreatePlayerPawn(world);
        for (const char* name : {"Demo1", "Demo2", "Demo1"}) {
            SCOPED_TRACE(name);
            LoadLevel(world, std::string("Maps\\") + name + ".t3d", false);
            const Level& level = world.CurrentLevel;
            const LevelModel& model = level.Model;
            const auto sum = [](uint32_t c) { return ((c >> 16) & 0xFF) + ((c >> 8) & 0xFF) + (c & 0xFF); };
            int baked = 0, brighter = 0, marked = 0;
            for (int i = 0; i < model.Lightmaps.Num(); ++i) {
                const LightmapState& l = *services.State.Lightmap(i);
                EXPECT_TRUE(l.Placed);
                bool staticLight = false;
                for (int k = model.Lightmaps[i].FirstLight; k >= 0 && model.LightIndices[k] != 0; ++k) {
                    const Actor* light = level.LightActors[k];
                    // Every listed light shines, but a trigger light waiting for its trigger.
                    ASSERT_TRUE(light != nullptr && light->LightType > 0);
                    EXPECT_TRUE(light->LightBrightness > 0 || light->GetEngineClass() == EngineClass::TriggerLight);
                    staticLight |= !IsDynamicLight(*light);
                }
                baked += staticLight;
                brighter += staticLight && std::any_of(l.Static.Pixels.begin(), l.Static.Pixels.end(),
                                                       [&](uint32_t texel) { return sum(texel) > sum(l.Ambient); });
            }
            EXPECT_GT(baked, model.Lightmaps.Num() / 2);
            EXPECT_GE(brighter, baked * 9 / 10);
            for (const Surface& s : model.Surfaces) {
                EXPECT_NE(s.Tex, res.FallbackTexture()) << s.TextureName;
            }
            for (int z = 1; z < model.ZoneIndices.Num(); ++z) {
                EXPECT_EQ(model.ZoneIndices[z] != 0, level.ZoneActors[z] != nullptr) << "zone " << z;
                marked += model.ZoneIndices[z] != 0;
            }
            EXPECT_EQ(marked, model.ZoneIndices.Num() - 2); // all but the open level's zone
            EXPECT_EQ(level.SkyZone != nullptr, std::string(name) == "Demo1");
        }
        ExpectNoWarning(log);
        EXPECT_EQ(services.LightmapPreparations, 3);
        EXPECT_EQ(services.Music.front(), "Music'Emberfall.Emberfall'@0");
    });
}

} // namespace
} // namespace orv
