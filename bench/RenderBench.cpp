// Speed of the world renderer: the CPU visibility of one frame (walk, span buffer, queueing) at
// 1280 x 720, lightmap preparation, the per-frame relight of dynamic lightmaps, and a headless
// timedemo (SDL offscreen, Mesa llvmpipe) at 640 x 480. The levels: the demo room of the
// renderer tests, a 16 x 16 grid of rooms joined by doorways, both built in memory, and
// DM-Liandri compiled by our level compiler (from ../shared/peers or ORV_PEERS_DIR; skipped
// when it is not there).
#include "BenchSupport.h"
#include "HeadlessGl.h"
#include "LevelBuild.h"
#include "TestLevels.h"
#include "content/PropertyValues.h"
#include "core/Log.h"
#include "core/Vfs.h"
#include "render/Camera.h"
#include "render/GlState.h"
#include "render/GlTextureUploader.h"
#include "render/Lightmaps.h"
#include "render/Renderer.h"
#include "render/WorldWalk.h"
#include "world/LevelLoader.h"

#include <GL/gl.h>
#include "BenchWorld.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace orv;

constexpr float kFov = 80.0f; // the default configuration's vertical field of view

struct Viewpoint {
    Vector Eye;
    int32_t Pitch;
    int32_t Yaw;
};

const std::vector<Viewpoint> kRoomViews = {
    {{-450, 0, 128}, 0, 0}, {{0, -100, 128}, 0, 16384}, {{400, 400, 100}, -2000, -24576}, {{-300, -300, 60}, 1500, 8192}};

// Along the rows and columns of doorways, across the grid, and up at the ceiling.
const std::vector<Viewpoint> kGridViews = {{{100, 256, 100}, 0, 0},       {{256, 100, 100}, 0, 16384},
                                           {{4000, 4000, 128}, 0, 8192},  {{2000, 6000, 200}, -1500, -8192},
                                           {{7900, 3840, 100}, 0, 32768}, {{3000, 3000, 60}, 3000, 24576},
                                           {{6000, 1200, 128}, 0, -16384}, {{1300, 7000, 128}, -800, 40000}};

// A built level, kept for the whole run (building the grid takes a moment).
struct BenchLevel {
    test::TestScene Scene;
    std::vector<Viewpoint> Views;
};

void BuildGrid(BenchLevel& level, TextureUploader& uploader) {
    test::BuildRoomGrid(level.Scene, 16, 16);
    level.Scene.Finish(uploader, 2048);
    level.Views = kGridViews;
}

test::DemoRoom& Room() {
    static NullTextureUploader uploader;
    static test::DemoRoom room(uploader, 512);
    return room;
}

BenchLevel& Grid() {
    static auto level = [] {
        auto l = std::make_unique<BenchLevel>();
        NullTextureUploader uploader;
        BuildGrid(*l, uploader);
        return l;
    }();
    return *level;
}

void Walk(benchmark::State& state, World& world, Renderer& renderer, const std::vector<Viewpoint>& views) {
    const LevelModel& model = world.CurrentLevel.Model;
    RenderView view;
    view.FieldOfView = HorizontalFieldOfView(1280, 720, kFov);
    size_t i = 0;
    int64_t queued = 0;
    for (auto _ : state) {
        const Viewpoint& v = views[i++ % views.size()];
        view.Location = v.Eye;
        view.Pitch = v.Pitch;
        view.Yaw = v.Yaw;
        WalkWorld(view, model, renderer.LevelState, 1280, 720);
        int polygons = view.TransparentCount;
        for (int b = 0; b < view.BucketCount; ++b) {
            polygons += static_cast<int>(view.Buckets[b].Nodes.size());
        }
        queued += polygons;
        benchmark::DoNotOptimize(polygons);
    }
    state.counters["nodes"] = model.Nodes.Num();
    state.counters["queued/frame"] = static_cast<double>(queued) / static_cast<double>(state.iterations());
}

// DM-Liandri's compiled world, looked at from each player start in four directions.
struct CompiledMap {
    Resources Res;
    ConfigTable Config;
    std::unique_ptr<World> Scene;
    std::unique_ptr<Renderer> Render = CreateRenderer();
    std::vector<Viewpoint> Views;
};

CompiledMap* Liandri() {
    static std::unique_ptr<CompiledMap> compiled = []() -> std::unique_ptr<CompiledMap> {
        const std::string path = bench::LiandriPath();
        if (path.empty() || !FileExists(path)) {
            return nullptr;
        }
        const MapFile map = ReadMapFile(path);
        LevelBuildOptions options;
        options.Progress = false;
        CompiledLevel level = CompileMap(map, options);
        auto c = std::make_unique<CompiledMap>();
        c->Scene = std::make_unique<World>(c->Res, c->Config);
        CreatePlayerPawn(*c->Scene);
        c->Scene->CurrentLevel.Model = std::move(level.Model);
        PrepareRenderBounds(c->Render->LevelState, c->Scene->CurrentLevel.Model);
        for (const MapActor& actor : map.Actors) {
            if (actor.Class != "PlayerStart") {
                continue;
            }
            const Vector at = ParseVectorValue(actor.Properties.Get("Location")) + Vector(0, 0, 40);
            const int32_t yaw = ParseRotatorValue(actor.Properties.Get("Rotation")).Yaw;
            for (int turn = 0; turn < 4; ++turn) {
                c->Views.push_back({at, 0, yaw + turn * 16384});
            }
        }
        return c->Views.empty() ? nullptr : std::move(c);
    }();
    return compiled.get();
}

void BM_WalkLiandri(benchmark::State& state) {
    CompiledMap* map = Liandri();
    if (!map) {
        state.SkipWithError("DM-Liandri.t3d not found (set ORV_PEERS_DIR)");
        return;
    }
    Walk(state, *map->Scene, *map->Render, map->Views);
    state.counters["views"] = static_cast<double>(map->Views.size());
}
BENCHMARK(BM_WalkLiandri)->Unit(benchmark::kMicrosecond);

// The lightmaps a view's frame draws (the ones a relight would look at).
std::vector<int32_t> LightmapsDrawnFrom(const LevelModel& model, LevelRenderState& level, const Viewpoint& v) {
    RenderView view;
    view.FieldOfView = HorizontalFieldOfView(1280, 720, kFov);
    view.Location = v.Eye;
    view.Pitch = v.Pitch;
    view.Yaw = v.Yaw;
    WalkWorld(view, model, level, 1280, 720);
    std::vector<int32_t> drawn;
    for (int b = 0; b < view.BucketCount; ++b) {
        for (int32_t n : view.Buckets[b].Nodes) {
            const int32_t lm = model.Surfaces[model.Nodes[n].Surface].LightmapIndex;
            if (lm >= 0) {
                drawn.push_back(lm);
            }
        }
    }
    return drawn;
}

// Marks the lightmaps as drawn in a new frame, as the frame's drawing does.
void MarkDrawn(LevelRenderState& level, const std::vector<int32_t>& drawn) {
    ++level.Frame;
    for (int32_t i : drawn) {
        level.Lightmaps[static_cast<size_t>(i)].DrawnFrame = level.Frame;
    }
}

// Atlas texels the level's placed lightmaps take.
double AtlasTexels(const LevelRenderState& level) {
    int64_t texels = 0;
    for (const LightmapState& l : level.Lightmaps) {
        texels += int64_t(l.AtlasWidth) * l.AtlasHeight;
    }
    return static_cast<double>(texels);
}

// Demo 1 as the game loads it from the built game tree (textures, class defaults, lightmaps),
// seen from a walk through its rooms.
const std::vector<Viewpoint> kDemo1Views = {
    {{96, 384, 64}, 0, 0},          {{700, 700, 100}, 0, -24576},   {{384, 900, 60}, 2500, 16384},
    {{600, 1500, 200}, 0, -20000},  {{820, 384, 64}, 0, 0},          {{1250, 384, 64}, 0, 0},
    {{1600, 300, 190}, 0, 8000},    {{2200, 700, 300}, -1500, -28000}, {{2500, 300, 580}, 0, 0},
    {{3300, 448, 580}, 0, 32768},   {{200, 300, 250}, -4000, 16384}, {{1984, 448, 0}, 0, 16384}};

using LoadedLevel = bench::GameLevel;

std::unique_ptr<LoadedLevel> LoadDemo1(TextureUploader& uploader) { return bench::LoadBuiltLevel("Demo1", {}, &uploader); }

LoadedLevel* Demo1Cpu() {
    static NullTextureUploader uploader;
    static std::unique_ptr<LoadedLevel> level = LoadDemo1(uploader);
    return level.get();
}

void BM_WalkDemo1(benchmark::State& state) {
    LoadedLevel* level = Demo1Cpu();
    if (!level) {
        state.SkipWithError("Demo1 is not built (game/Maps/Demo1.bsp)");
        return;
    }
    Walk(state, *level->Scene, *level->Render, kDemo1Views);
    state.counters["views"] = static_cast<double>(kDemo1Views.size());
}
BENCHMARK(BM_WalkDemo1)->Unit(benchmark::kMicrosecond);

void BM_PrepareLightmapsDemo1(benchmark::State& state) {
    LoadedLevel* level = Demo1Cpu();
    if (!level) {
        state.SkipWithError("Demo1 is not built (game/Maps/Demo1.bsp)");
        return;
    }
    NullTextureUploader uploader;
    for (auto _ : state) {
        PrepareLevel(*level->Render, *level->Scene, uploader, 2048);
    }
    state.counters["lightmaps"] = level->Scene->CurrentLevel.Model.Lightmaps.Num();
    state.counters["texels"] = AtlasTexels(level->Render->LevelState);
}
BENCHMARK(BM_PrepareLightmapsDemo1)->Unit(benchmark::kMillisecond);

// The relight of one Demo 1 frame: the dynamic lightmaps each view drew.
void BM_RelightDemo1(benchmark::State& state) {
    LoadedLevel* level = Demo1Cpu();
    if (!level) {
        state.SkipWithError("Demo1 is not built (game/Maps/Demo1.bsp)");
        return;
    }
    World& world = *level->Scene;
    LevelRenderState& levelState = level->Render->LevelState;
    std::vector<std::vector<int32_t>> drawnPerView;
    for (const Viewpoint& v : kDemo1Views) {
        drawnPerView.push_back(LightmapsDrawnFrom(world.CurrentLevel.Model, levelState, v));
    }
    NullTextureUploader uploader;
    int64_t relit = 0;
    size_t i = 0;
    for (auto _ : state) {
        MarkDrawn(levelState, drawnPerView[i++ % drawnPerView.size()]);
        world.GameTime += 1.0 / 60.0;
        relit += RelightDynamicLightmaps(levelState, world.CurrentLevel, WorldLighting(world, nullptr), uploader);
    }
    state.counters["relit/frame"] = static_cast<double>(relit) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_RelightDemo1)->Unit(benchmark::kMicrosecond);

void BM_WalkDemoRoom(benchmark::State& state) { Walk(state, Room().Scene.Scene, *Room().Scene.Render, kRoomViews); }
BENCHMARK(BM_WalkDemoRoom)->Unit(benchmark::kMicrosecond);

void BM_WalkRoomGrid(benchmark::State& state) { Walk(state, Grid().Scene.Scene, *Grid().Scene.Render, kGridViews); }
BENCHMARK(BM_WalkRoomGrid)->Unit(benchmark::kMicrosecond);

void Prepare(benchmark::State& state, test::TestScene& scene, int atlasSize) {
    NullTextureUploader uploader;
    LevelRenderState& level = scene.Render->LevelState;
    for (auto _ : state) {
        PrepareLightmaps(level, scene.Scene.CurrentLevel, WorldLighting(scene.Scene, nullptr), uploader, atlasSize);
    }
    state.counters["lightmaps"] = scene.Scene.CurrentLevel.Model.Lightmaps.Num();
    state.counters["texels"] = AtlasTexels(level);
}

void BM_PrepareLightmapsDemoRoom(benchmark::State& state) { Prepare(state, Room().Scene, 512); }
BENCHMARK(BM_PrepareLightmapsDemoRoom)->Unit(benchmark::kMillisecond);

void BM_PrepareLightmapsRoomGrid(benchmark::State& state) { Prepare(state, Grid().Scene, 2048); }
BENCHMARK(BM_PrepareLightmapsRoomGrid)->Unit(benchmark::kMillisecond);

// The relight of one frame: the grid with every light pulsing, and the lightmaps a view drew.
void BM_RelightRoomGrid(benchmark::State& state) {
    static auto level = [] {
        auto l = std::make_unique<BenchLevel>();
        NullTextureUploader uploader;
        test::BuildRoomGrid(l->Scene, 16, 16);
        for (Actor* light : l->Scene.Lights) {
            light->LightType = lt_pulse;
            light->LightPeriod = 40;
        }
        l->Scene.Finish(uploader, 2048);
        return l;
    }();
    World& world = level->Scene.Scene;
    LevelRenderState& levelState = level->Scene.Render->LevelState;
    const std::vector<int32_t> drawn =
        LightmapsDrawnFrom(world.CurrentLevel.Model, levelState, kGridViews[static_cast<size_t>(state.range(0))]);
    NullTextureUploader uploader;
    int relit = 0;
    for (auto _ : state) {
        MarkDrawn(levelState, drawn);
        world.GameTime += 1.0 / 60.0;
        relit = RelightDynamicLightmaps(levelState, world.CurrentLevel, WorldLighting(world, nullptr), uploader);
    }
    state.counters["relit/frame"] = relit;
}
BENCHMARK(BM_RelightRoomGrid)->Arg(0)->Arg(2)->Unit(benchmark::kMicrosecond);

// Whole world frames drawn headless along a fixed path, finished on the GL side each time.
enum class DemoLevel { Room, Grid, Liandri, Demo1 };

void Timedemo(benchmark::State& state, DemoLevel which) {
    test::GlTestContext& gl = test::GlTestContext::Get(640, 480);
    if (!gl.Ok()) {
        state.SkipWithError(("no headless OpenGL: " + gl.Reason()).c_str());
        return;
    }
    SetStartupGlState(640, 480, kFov);
    static GlTextureUploader uploader;
    static std::unique_ptr<test::DemoRoom> room;
    static std::unique_ptr<BenchLevel> gridLevel;
    World* world = nullptr;
    Renderer* renderer = nullptr; // the one prepared for the level
    const std::vector<Viewpoint>* views = nullptr;
    static std::unique_ptr<LoadedLevel> demo1;
    if (which == DemoLevel::Demo1) {
        if (!demo1) {
            demo1 = LoadDemo1(uploader);
        }
        if (!demo1) {
            state.SkipWithError("Demo1 is not built (game/Maps/Demo1.bsp)");
            return;
        }
        world = demo1->Scene.get();
        renderer = demo1->Render.get();
        views = &kDemo1Views;
    } else if (which == DemoLevel::Liandri) {
        CompiledMap* map = Liandri();
        if (!map) {
            state.SkipWithError("DM-Liandri.t3d not found (set ORV_PEERS_DIR)");
            return;
        }
        world = map->Scene.get();
        renderer = map->Render.get();
        views = &map->Views;
    } else if (which == DemoLevel::Grid) {
        if (!gridLevel) {
            gridLevel = std::make_unique<BenchLevel>();
            BuildGrid(*gridLevel, uploader);
        }
        world = &gridLevel->Scene.Scene;
        renderer = gridLevel->Scene.Render.get();
        views = &gridLevel->Views;
    } else {
        if (!room) {
            room = std::make_unique<test::DemoRoom>(uploader, 512);
        }
        world = &room->Scene.Scene;
        renderer = room->Scene.Render.get();
        views = &kRoomViews;
    }
    renderer->Timings = {};
    if (!StartRenderer(*renderer, &test::GlTestContext::GetProc)) {
        state.SkipWithError("no multitexturing");
        return;
    }
    FrameHooks hooks;
    FrameSettings settings;
    settings.Width = 640;
    settings.Height = 480;
    settings.FovDegrees = kFov;
    PlayerPawn& player = *world->Player;
    size_t i = 0;
    for (auto _ : state) {
        // Glide between the viewpoints, a quarter of the way per frame.
        const Viewpoint& a = (*views)[(i / 4) % views->size()];
        const Viewpoint& b = (*views)[(i / 4 + 1) % views->size()];
        const float t = static_cast<float>(i % 4) / 4.0f;
        ++i;
        player.Location = a.Eye + (b.Eye - a.Eye) * t - Vector(0, 0, player.EyeHeight);
        player.Rotation = {a.Pitch, a.Yaw, 0};
        world->GameTime += 1.0 / 60.0;
        RenderWorldFrame(*renderer, *world, ComputeCamera(player, 640, 480, kFov), settings, uploader, hooks);
        glFinish();
    }
    state.counters["fps"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    state.SetLabel(TimedemoLine(renderer->Timings));
}

void BM_TimedemoDemo1(benchmark::State& state) { Timedemo(state, DemoLevel::Demo1); }
BENCHMARK(BM_TimedemoDemo1)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();

void BM_TimedemoDemoRoom(benchmark::State& state) { Timedemo(state, DemoLevel::Room); }
BENCHMARK(BM_TimedemoDemoRoom)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();

void BM_TimedemoRoomGrid(benchmark::State& state) { Timedemo(state, DemoLevel::Grid); }
BENCHMARK(BM_TimedemoRoomGrid)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();

// The compiled map has no lightmaps or textures yet: this measures its geometry alone.
void BM_TimedemoLiandri(benchmark::State& state) { Timedemo(state, DemoLevel::Liandri); }
BENCHMARK(BM_TimedemoLiandri)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
