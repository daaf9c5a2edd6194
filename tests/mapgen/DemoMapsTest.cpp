// The demo levels: the checked-in sources are the generator's, they compile sealed and without a
// warning against the generated content, every texture, sound, song, class and level they name
// exists there, together they show what the world can do, and the engine loads, lights and runs
// them.
#include "DemoMaps.h"
#include "LevelBuild.h"
#include "Lightmaps.h"

#include "content/PackageNames.h"
#include "content/PropertyValues.h"
#include "content/Resources.h"
#include "core/Log.h"
#include "core/Text.h"
#include "core/Vfs.h"
#include "render/LightEffects.h"
#include "render/Lightmaps.h"
#include "support/TestSupport.h"
#include "world/ActorClasses.h"
#include "world/LevelLoader.h"
#include "world/WorldFixture.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>

namespace orv {
namespace {

namespace fs = std::filesystem;

#define REQUIRE_GAME_DIR()                                                                                             \
    const fs::path game = test::GameDir();                                                                             \
    ASSERT_TRUE(fs::exists(game / "System")) << game << " holds no generated content: build the game tree first"

bool IsWarning(const std::string& line) {
    return FindText(line, "warning") != std::string::npos || FindText(line, "error") != std::string::npos;
}

TEST(DemoMaps, CheckedInSourcesAreTheGeneratorsOutput) {
    for (const mapgen::DemoMap& map : mapgen::DemoMaps()) {
        std::string checkedIn;
        ASSERT_TRUE(ReadWholeFile((test::SourceDir() / "content" / "maps" / (map.Name + ".t3d")).string(), checkedIn))
            << map.Name;
        EXPECT_TRUE(checkedIn == map.Text)
            << "content/maps/" << map.Name << ".t3d differs from the generator's: run orvane-mapgen --out content/maps";
    }
}

TEST(DemoMaps, CompileSealedWithoutWarnings) {
    REQUIRE_GAME_DIR();
    for (const mapgen::DemoMap& demo : mapgen::DemoMaps()) {
        SCOPED_TRACE(demo.Name);
        test::LogCapture log;
        LevelBuildOptions options;
        options.ContentDir = game.string();
        const CompiledLevel level = CompileMap(ParseMap(demo.Text, demo.Name + ".t3d"), options);
        for (const std::string& line : log.Lines()) {
            EXPECT_FALSE(IsWarning(line)) << line;
        }
        EXPECT_TRUE(level.Zones.Leaks.empty());
        EXPECT_EQ(level.Zones.LeakingLeaves, 0);
        EXPECT_TRUE(level.Untextured.empty());
        // Every liquid and the sky room are zones of their own, each marked by its actor.
        int marked = 0;
        for (int z = 1; z <= level.Zones.NumZones; ++z) {
            marked += level.Zones.ZoneActors[static_cast<size_t>(z)] >= 0;
        }
        EXPECT_EQ(marked, level.Zones.NumZones - 1) << "only the open level is the LevelInfo's";
        // Lit: every surface that takes light has its lightmap, and most see a light.
        int lit = 0;
        for (const Surface& s : level.Model.Surfaces) {
            EXPECT_EQ(s.LightmapIndex >= 0, SurfaceGetsLightmap(s.Flags)) << s.TextureName;
            lit += s.LightmapIndex >= 0 && level.Model.Lightmaps[s.LightmapIndex].FirstLight >= 0;
        }
        EXPECT_GT(lit, level.Model.Lightmaps.Num() * 3 / 4);
    }
}

// Every property value that names a sound: Sound'...' references and a DynamicAmbientSound's list.
std::vector<std::string> SoundNames(const MapActor& actor) {
    std::vector<std::string> names;
    for (const PropertyPair& p : actor.Properties.Pairs) {
        if (StartsWithText(p.Value, "Sound'")) {
            names.push_back(StripObjectReference(p.Value));
        }
    }
    return names;
}

TEST(DemoMaps, EverythingTheyNameExistsInTheContent) {
    REQUIRE_GAME_DIR();
    test::InDirectory(game, [&] {
        InvalidateVfsCache();
        Resources res;
        LoadClassDefaults(res);
        for (const mapgen::DemoMap& demo : mapgen::DemoMaps()) {
            SCOPED_TRACE(demo.Name);
            const MapFile map = ParseMap(demo.Text, demo.Name);
            for (const MapActor& actor : map.Actors) {
                EXPECT_NE(FindClass(res, actor.Class), nullptr) << "no class script for " << actor.Class;
                for (const MapPolygon& polygon : actor.Polygons) {
                    EXPECT_FALSE(ResolveTexturePath(res, polygon.Texture, "").empty()) << polygon.Texture;
                }
                for (const std::string& sound : SoundNames(actor)) {
                    EXPECT_FALSE(ResolveSoundPath(res, sound, "").empty()) << sound;
                }
                if (const std::string* song = actor.Properties.Find("Song")) {
                    const std::string name = ParseClassRefValue(*song);
                    EXPECT_TRUE(FileExists("Music\\" + name + ".xm")) << *song;
                }
                // A level exit names a level of the tree.
                const std::string url = ParseStateValue(actor.Properties.Get("URL"));
                if (url.find('#') != std::string::npos) {
                    EXPECT_TRUE(FileExists("Maps\\" + url.substr(0, url.find('#')) + ".t3d")) << url;
                }
            }
        }
    });
}

TEST(DemoMaps, TogetherTheyShowWhatTheWorldCanDo) {
    std::multiset<std::string> classes;
    std::set<std::string> states, lightTypes, lightEffects, textures, urls;
    std::map<std::string, int> demo1Classes;
    uint32_t flags = 0;
    for (const mapgen::DemoMap& demo : mapgen::DemoMaps()) {
        const MapFile map = ParseMap(demo.Text, demo.Name);
        for (const MapActor& actor : map.Actors) {
            classes.insert(actor.Class);
            demo1Classes[actor.Class] += demo.Name == "Demo1";
            const PropertyList& p = actor.Properties;
            if (SameText(actor.Class, "Mover")) {
                states.insert(p.Get("InitialState"));
            }
            if (!p.Get("LightType").empty()) {
                lightTypes.insert(p.Get("LightType"));
            }
            if (!p.Get("LightEffect").empty()) {
                lightEffects.insert(p.Get("LightEffect"));
            }
            if (!p.Get("URL").empty()) {
                urls.insert(ParseStateValue(p.Get("URL")));
            }
            const uint32_t brushFlags = static_cast<uint32_t>(ParseInt(p.Get("PolyFlags")));
            for (const MapPolygon& polygon : actor.Polygons) {
                textures.insert(polygon.Texture);
                flags |= polygon.Flags | brushFlags;
            }
            if (actor.Class == "LevelInfo") {
                for (const char* key : {"Title", "Author", "LevelEnterText", "Song"}) {
                    EXPECT_FALSE(p.Get(key).empty()) << demo.Name << " " << key;
                }
            }
        }
    }
    for (const char* c : {"Light",           "Spotlight",
                          "TriggerLight",    "Trigger",
                          "Mover",           "WaterZone",
                          "LavaZone",        "SkyZoneInfo",
                          "WavySurfaceInfo", "Health",
                          "NaliFruit",       "DispersionPistol",
                          "Bird1",           "TranslatorEvent",
                          "Counter",         "SpecialEvent",
                          "Dispatcher",      "Earthquake",
                          "ExplodingWall",   "ExplosionChain",
                          "AmbientSound",    "DynamicAmbientSound",
                          "MusicEvent",      "Teleporter",
                          "PlayerStart",     "Brute",
                          "Skaarj",          "SkaarjWarrior",
                          "Manta",           "GiantManta",
                          "CaveManta",       "DevilFish",
                          "Tentacle"}) {
        EXPECT_GT(demo1Classes[c], 0) << "Demo1 has no " << c;
    }
    EXPECT_GE(demo1Classes["Bird1"], 2);
    for (const char* s : {"TriggerOpenTimed", "BumpOpenTimed", "TriggerToggle", "StandOpenTimed"}) {
        EXPECT_TRUE(states.count(s)) << s;
    }
    for (const char* t : {"LT_Pulse", "LT_Flicker", "LT_Strobe"}) {
        EXPECT_TRUE(lightTypes.count(t)) << t;
    }
    for (const char* e : {"LE_TorchWaver", "LE_FireWaver", "LE_WateryShimmer"}) {
        EXPECT_TRUE(lightEffects.count(e)) << e;
    }
    for (uint32_t f : {PF_FakeBackdrop, PF_AlphaBlend, PF_Masked, PF_Translucent, PF_AutoUPan, PF_SmallWavy,
                       PF_TwoSided, PF_ZonePortal, PF_Unlit}) {
        EXPECT_TRUE(flags & f) << std::hex << f;
    }
    for (const char* t : {"Orvane.Fire.Torch", "Orvane.Liquid.WaterWet", "Orvane.Liquid.LavaWet", "Orvane.Glass.Window",
                          "Orvane.Metal.Grate", "Orvane.Sky.Clouds"}) {
        EXPECT_TRUE(textures.count(t)) << t;
    }
    EXPECT_TRUE(urls.count("Demo2#Start"));
    EXPECT_TRUE(urls.count("Demo1#Start"));
}

TEST(DemoMaps, EveryEventReachesItsTargets) {
    for (const mapgen::DemoMap& demo : mapgen::DemoMaps()) {
        SCOPED_TRACE(demo.Name);
        const MapFile map = ParseMap(demo.Text, demo.Name);
        std::set<std::string> tags, fired;
        std::vector<std::string> urls;
        for (const MapActor& actor : map.Actors) {
            const PropertyList& p = actor.Properties;
            if (!p.Get("Tag").empty()) {
                tags.insert(p.Get("Tag"));
            }
            for (const PropertyPair& pair : p.Pairs) {
                if (SameText(pair.Key, "Event") || StartsWithText(pair.Key, "OutEvents")) {
                    fired.insert(pair.Value);
                }
            }
            const std::string url = ParseStateValue(p.Get("URL"));
            if (!url.empty() && url.find('#') == std::string::npos) {
                urls.push_back(url);
            }
        }
        // Events match tags byte for byte; a tag nobody fires is a dead end (PlayerStart's
        // arrival tag and teleporter destinations are reached otherwise).
        for (const std::string& event : fired) {
            EXPECT_TRUE(tags.count(event)) << "nothing is tagged " << event;
        }
        for (const std::string& url : urls) {
            bool found = false;
            for (const std::string& tag : tags) {
                found |= SameText(tag, url);
            }
            EXPECT_TRUE(found) << "no teleporter destination is tagged " << url;
            fired.insert(url);
        }
        for (const std::string& tag : tags) {
            EXPECT_TRUE(fired.count(tag) || tag == "Start") << "nothing fires " << tag;
        }
    }
}

// The engine's services for a headless run, with the engine's own lightmap preparation (no
// graphics card: the atlas stays an image). Before it runs, every record's shadow range must lie
// inside the model's bits and every light list entry must name a live light.
struct LoadServices : test::RecordingServices {
    void PrepareLightmaps(World& world) override {
        ++LightmapPreparations;
        const LevelModel& model = world.CurrentLevel.Model;
        for (int i = 0; i < model.Lightmaps.Num(); ++i) {
            const LightmapRecord& l = model.Lightmaps[i];
            const int64_t bytes = int64_t(model.LightCount(l)) * LightmapAtlasWidth(l.Width) * l.Height / 8;
            ShadowRangesInside &= l.ShadowOffset >= 0 && l.ShadowOffset + bytes <= model.ShadowBits.Num();
            for (int k = l.FirstLight; k >= 0 && model.LightIndices[k] != 0; ++k) {
                const Actor* light = world.CurrentLevel.LightActors[k];
                LightsResolved &= light != nullptr && light->LightBrightness > 0 && light->LightType > 0;
            }
        }
        orv::PrepareLightmaps(State, world.CurrentLevel, WorldLighting(world, nullptr), uploader, 2048);
    }
    NullTextureUploader uploader;
    LevelRenderState State;
    bool ShadowRangesInside = true;
    bool LightsResolved = true;
};

// Lightmaps that list a light baked at load and come out brighter than their zone's ambient.
std::pair<int, int> BakedLightmaps(const Level& level, const LevelRenderState& state) {
    const LevelModel& model = level.Model;
    int baked = 0, brighter = 0;
    for (int i = 0; i < model.Lightmaps.Num(); ++i) {
        const LightmapRecord& record = model.Lightmaps[i];
        const LightmapState& l = *state.Lightmap(i);
        bool staticLight = false;
        for (int k = record.FirstLight; k >= 0 && model.LightIndices[k] != 0; ++k) {
            staticLight |= !IsDynamicLight(*level.LightActors[k]);
        }
        if (!staticLight) {
            continue;
        }
        ++baked;
        const auto sum = [](uint32_t c) { return ((c >> 16) & 0xFF) + ((c >> 8) & 0xFF) + (c & 0xFF); };
        bool lit = false;
        for (uint32_t texel : l.Static.Pixels) {
            lit |= sum(texel) > sum(l.Ambient);
        }
        brighter += lit;
    }
    return {baked, brighter};
}

TEST(DemoMaps, LoadAndRunInTheEngineWithoutAWarning) {
    REQUIRE_GAME_DIR();
    ASSERT_TRUE(fs::exists(game / "Maps" / "Demo1.bsp")) << "the build compiles the demo levels into the game tree";
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
            EXPECT_TRUE(services.ShadowRangesInside);
            EXPECT_TRUE(services.LightsResolved);
            for (const LightmapState& l : services.State.Lightmaps) {
                EXPECT_TRUE(l.Placed) << "every lightmap fits the atlas";
            }
            const auto [baked, brighter] = BakedLightmaps(level, services.State);
            EXPECT_GT(baked, level.Model.Lightmaps.Num() / 2);
            EXPECT_GE(brighter, baked * 9 / 10);
            ASSERT_NE(level.Info, nullptr);
            for (const Surface& s : level.Model.Surfaces) {
                EXPECT_NE(s.Tex, res.FallbackTexture()) << s.TextureName;
            }
            for (int z = 1; z < level.Model.ZoneIndices.Num(); ++z) {
                EXPECT_EQ(level.Model.ZoneIndices[z] != 0, level.ZoneActors[z] != nullptr) << "zone " << z;
            }
            EXPECT_EQ(level.SkyZone != nullptr, std::string(name) == "Demo1");
            // The player starts on the floor, in the level's own zone.
            for (int step = 0; step < 60; ++step) {
                world.GameTime += kStepSeconds;
                UpdateActors(world, kStepSeconds);
            }
            EXPECT_EQ(world.Player->Health, 100);
            EXPECT_NEAR(world.Player->Location.Z, world.Player->CollisionHeight, 1.0f);
        }
        for (const std::string& line : log.Lines()) {
            EXPECT_FALSE(IsWarning(line)) << line;
        }
        EXPECT_EQ(services.LightmapPreparations, 3);
        EXPECT_EQ(services.Music.front(), "Music'Emberfall.Emberfall'@0");
    });
}

} // namespace
} // namespace orv
