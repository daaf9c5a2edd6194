// Speed of actor drawing: Demo 1 drawn headless (SDL offscreen, Mesa llvmpipe) at 640 x 480 with
// every monster of the level gathered in a row across the hall in front of the eye, its actor
// time split into mesh transform (unpacking frames and laying out the corners), lighting
// (ComputeActorLight with its traces, redone every frame here as on each actor's first sight)
// and OpenGL submission; and the CPU time of DrawMesh per thousand triangles for the largest monster mesh.
#include "BenchSupport.h"
#include "HeadlessGl.h"
#include "core/ConfigFile.h"
#include "core/Log.h"
#include "core/Vfs.h"
#include "render/Camera.h"
#include "render/GlState.h"
#include "render/GlTextureUploader.h"
#include "render/MeshDraw.h"
#include "render/Renderer.h"
#include "world/ActorClasses.h"
#include "world/LevelLoader.h"
#include "world/World.h"

#include <GL/gl.h>
#include "BenchWorld.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <memory>

namespace {

using namespace orv;

constexpr int kWidth = 640;
constexpr int kHeight = 480;
constexpr float kFov = 80.0f; // the default configuration's vertical field of view

struct LoadedLevel {
    std::unique_ptr<bench::GameLevel> Game;
    std::vector<Actor*> Monsters;
};

// Demo 1 from the built game tree, its monsters moved into a row 330 units ahead of the start
// in the hall, facing it.
LoadedLevel* Demo1WithMonstersInView(TextureUploader& uploader) {
    static std::unique_ptr<LoadedLevel> level = [&uploader]() -> std::unique_ptr<LoadedLevel> {
        auto l = std::make_unique<LoadedLevel>();
        l->Game = bench::LoadBuiltLevel("Demo1", {}, &uploader);
        if (!l->Game) {
            return nullptr;
        }
        for (const auto& actor : l->Game->Scene->Actors) {
            if (dynamic_cast<ScriptedPawn*>(actor.get())) {
                l->Monsters.push_back(actor.get());
            }
        }
        const float spacing = 480.0f / static_cast<float>(std::max<size_t>(l->Monsters.size(), 1));
        for (size_t i = 0; i < l->Monsters.size(); ++i) {
            Actor& monster = *l->Monsters[i];
            UnregisterActor(monster);
            monster.Location = {430, 144 + spacing * (static_cast<float>(i) + 0.5f), 60};
            monster.Rotation = {0, 32768, 0};
            RegisterActor(monster);
        }
        return l;
    }();
    return level.get();
}

void BM_ActorFrameDemo1AllMonsters(benchmark::State& state) {
    test::GlTestContext& gl = test::GlTestContext::Get(kWidth, kHeight);
    if (!gl.Ok()) {
        state.SkipWithError(("no headless OpenGL: " + gl.Reason()).c_str());
        return;
    }
    SetStartupGlState(kWidth, kHeight, kFov);
    static GlTextureUploader uploader;
    LoadedLevel* level = Demo1WithMonstersInView(uploader);
    if (!level || !StartRenderer(*level->Game->Render, &test::GlTestContext::GetProc)) {
        state.SkipWithError("Demo1 is not built (game/Maps/Demo1.bsp) or no multitexturing");
        return;
    }
    World& world = *level->Game->Scene;
    Renderer& renderer = *level->Game->Render;
    PlayerPawn& player = *world.Player;
    player.Location = {96, 384, 40};
    player.Rotation = {0, 0, 0};
    FrameHooks hooks;
    FrameSettings settings{kWidth, kHeight, kFov};
    settings.TraceMeshColor = true; // as the shipped configuration has it
    renderer.Timings = {};
    renderer.Actors.Timings = {};
    int64_t step = 0;
    for (auto _ : state) {
        for (Actor* monster : level->Monsters) {
            monster->bLit = 0; // every frame lights every monster, as its first sight does
            std::fill(std::begin(monster->LightColor), std::end(monster->LightColor), 0.0f);
            monster->AnimFrame = static_cast<float>(step % 30) / 30.0f; // a new frame each time
        }
        ++step;
        world.GameTime += 1.0 / 60.0;
        RenderWorldFrame(renderer, world, ComputeCamera(player, kWidth, kHeight, kFov), settings, uploader, hooks);
        glFinish();
    }
    const double frames = static_cast<double>(state.iterations());
    const ActorDrawTimings& t = renderer.Actors.Timings;
    state.counters["monsters"] = static_cast<double>(level->Monsters.size());
    state.counters["triangles/frame"] = static_cast<double>(t.MeshTriangles) / frames;
    char label[200];
    std::snprintf(label, sizeof label, "actors %.3f ms: mesh transform %.3f, lighting %.3f, GL submission %.3f ms/frame",
                  t.TotalSeconds * 1e3 / frames, t.MeshSeconds * 1e3 / frames, t.LightingSeconds * 1e3 / frames,
                  t.SubmitSeconds() * 1e3 / frames);
    state.SetLabel(label);
}
BENCHMARK(BM_ActorFrameDemo1AllMonsters)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();

// DrawMesh alone, all passes, the frame changing every call; the counter is CPU time per
// thousand triangles drawn (with Mesa llvmpipe that includes its software vertex processing).
void BM_DrawMeshPerThousandTriangles(benchmark::State& state) {
    test::GlTestContext& gl = test::GlTestContext::Get(kWidth, kHeight);
    static GlTextureUploader uploader;
    LoadedLevel* level = gl.Ok() ? Demo1WithMonstersInView(uploader) : nullptr;
    if (!level || level->Monsters.empty()) {
        state.SkipWithError("no headless OpenGL or Demo1 is not built");
        return;
    }
    const Mesh* mesh = nullptr;
    for (const Actor* monster : level->Monsters) {
        if (monster->MeshRef && (!mesh || monster->MeshRef->Triangles.Num() > mesh->Triangles.Num())) {
            mesh = monster->MeshRef;
        }
    }
    Renderer& renderer = *level->Game->Render;
    StartRenderer(renderer, &test::GlTestContext::GetProc);
    Texture* const noSkins[kMultiSkins] = {};
    const int64_t before = renderer.Actors.Timings.MeshTriangles;
    const double layoutBefore = renderer.Actors.Timings.MeshSeconds;
    int32_t frame = 0;
    for (auto _ : state) {
        for (DrawPass pass : {DrawPass::Opaque, DrawPass::SeeThrough, DrawPass::Translucent}) {
            DrawMesh(renderer, *mesh, frame, pass, noSkins);
        }
        ++frame;
    }
    glFinish();
    const double kilo = static_cast<double>(renderer.Actors.Timings.MeshTriangles - before) / 1000.0;
    state.counters["mesh triangles"] = static_cast<double>(mesh->Triangles.Num());
    state.counters["CPU s/1000 triangles"] =
        benchmark::Counter(kilo, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    // Of that, the unpacking and layout of the corners, without the driver's share.
    char label[120];
    std::snprintf(label, sizeof label, "%s, layout %.1f us/1000 triangles", mesh->Name.c_str(),
                  (renderer.Actors.Timings.MeshSeconds - layoutBefore) * 1e6 / kilo);
    state.SetLabel(label);
}
BENCHMARK(BM_DrawMeshPerThousandTriangles)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
