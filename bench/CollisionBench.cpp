// Collision speed on a real level: DM-Liandri compiled by our compiler (from ../shared/peers or
// ORV_PEERS_DIR), and Demo 1 from the built game tree when it is there. Figures: MovePawn calls,
// traces and swept ellipsoid-triangle tests per second.
#include "BenchSupport.h"
#include "LevelBuild.h"

#include "content/LevelModel.h"
#include "content/PropertyValues.h"
#include "core/ConfigFile.h"
#include "core/Random.h"
#include "core/Vfs.h"
#include "render/WorldWalk.h"
#include "world/ActorClasses.h"
#include "world/Collision.h"
#include "world/World.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <memory>

namespace {

namespace fs = std::filesystem;


// A world holding one compiled level's triangles and grid, and a player to move about.
struct CollisionScene {
    orv::Resources Res;
    orv::ConfigTable Config;
    std::unique_ptr<orv::World> World;
    std::vector<orv::Vector> Starts; // points of empty space to start moves from
    bool Ready = false;

    explicit CollisionScene(const orv::LevelModel* source, const std::vector<orv::Vector>& candidates) {
        World = std::make_unique<orv::World>(Res, Config);
        if (!source) {
            return;
        }
        orv::Level& level = World->CurrentLevel;
        level.Model = orv::LevelModel();
        orv::BuildWorldTriangles(*source, level.Triangles);
        level.Hash.Build(level.Triangles);
        orv::CreatePlayerPawn(*World);
        for (const orv::Vector& p : candidates) {
            if (!orv::Trace(*World, p, p + orv::Vector{0, 0, 1}, 17, 39).Hit) {
                Starts.push_back(p);
            }
        }
        Ready = !Starts.empty();
    }
};

CollisionScene& Liandri() {
    static CollisionScene* scene = [] {
        const fs::path path = orv::bench::PeersFile(fs::path("exports") / "DM-Liandri.t3d");
        if (path.empty()) {
            return new CollisionScene(nullptr, {});
        }
        orv::LevelBuildOptions options;
        options.Progress = false;
        orv::CompiledLevel compiled = orv::CompileMap(orv::ReadMapFile(path.string()), options);
        // Start points: the level's own actors stand in open space.
        std::vector<orv::Vector> candidates;
        for (const orv::MapActor& actor : compiled.Map.Actors) {
            const std::string& location = actor.Properties.Get("Location");
            if (!location.empty()) {
                candidates.push_back(orv::ParseVectorValue(location));
            }
        }
        return new CollisionScene(&compiled.Model, candidates);
    }();
    return *scene;
}

void RunMovePawn(benchmark::State& state, CollisionScene& scene) {
    if (!scene.Ready) {
        state.SkipWithError("level not available");
        return;
    }
    orv::RandomGenerator rng;
    rng.Seed(5);
    orv::PlayerPawn& player = *scene.World->Player;
    size_t i = 0;
    for (auto _ : state) {
        if ((i & 63) == 0) {
            orv::MoveActorTo(player, scene.Starts[(i / 64) % scene.Starts.size()]);
        }
        // A walking step in a random direction with a little gravity, as the player takes each step.
        const orv::Vector delta{rng.Float() * 10 - 5, rng.Float() * 10 - 5, -0.4f};
        orv::MovePawn(player, delta, 0);
        ++i;
    }
    state.SetItemsProcessed(state.iterations());
}

void BM_MovePawnLiandri(benchmark::State& state) { RunMovePawn(state, Liandri()); }
BENCHMARK(BM_MovePawnLiandri);

void RunTrace(benchmark::State& state, CollisionScene& scene) {
    if (!scene.Ready) {
        state.SkipWithError("level not available");
        return;
    }
    orv::RandomGenerator rng;
    rng.Seed(9);
    size_t i = 0, hits = 0;
    for (auto _ : state) {
        const orv::Vector start = scene.Starts[i++ % scene.Starts.size()];
        const orv::Vector end = start + orv::Vector{rng.Float() * 800 - 400, rng.Float() * 800 - 400, rng.Float() * 200 - 100};
        hits += orv::Trace(*scene.World, start, end, 17, 39).Hit;
    }
    state.SetItemsProcessed(state.iterations());
    state.counters["hit_fraction"] = double(hits) / double(state.iterations());
}

void BM_TraceLiandri(benchmark::State& state) { RunTrace(state, Liandri()); }
BENCHMARK(BM_TraceLiandri);

CollisionScene& Demo1() {
    static CollisionScene* scene = [] {
        const fs::path path = fs::path(ORV_GAME_DIR) / "Maps" / "Demo1.bsp";
        std::error_code ec;
        if (!fs::exists(path, ec)) {
            return new CollisionScene(nullptr, {});
        }
        orv::LevelModel model;
        orv::LoadLevelModel(model, path.string(), [](std::string_view) { return nullptr; });
        // Start points: the centres of the renderer's subtree boxes, kept where a standing player fits.
        orv::LevelRenderState render;
        orv::PrepareRenderBounds(render, model);
        std::vector<orv::Vector> candidates;
        for (const orv::RenderBound& b : render.Bounds) {
            candidates.push_back((b.Min + b.Max) * 0.5f);
            if (candidates.size() > 4000) {
                break;
            }
        }
        return new CollisionScene(&model, candidates);
    }();
    return *scene;
}

void BM_MovePawnDemo1(benchmark::State& state) { RunMovePawn(state, Demo1()); }
BENCHMARK(BM_MovePawnDemo1);

void BM_TraceDemo1(benchmark::State& state) { RunTrace(state, Demo1()); }
BENCHMARK(BM_TraceDemo1);

void BM_SweepEllipsoidTriangle(benchmark::State& state) {
    orv::RandomGenerator rng;
    rng.Seed(3);
    std::vector<orv::Vector> points(3 * 1024);
    for (orv::Vector& p : points) {
        p = {rng.Float() * 200 - 100, rng.Float() * 200 - 100, rng.Float() * 200 - 100};
    }
    size_t i = 0, hits = 0;
    for (auto _ : state) {
        const size_t t = (i++ % 1024) * 3;
        hits += orv::SweepEllipsoidTriangle({0, 0, 150}, {10, 5, 120}, points[t], points[t + 1], points[t + 2], 17, 39);
    }
    state.SetItemsProcessed(state.iterations());
    benchmark::DoNotOptimize(hits);
}
BENCHMARK(BM_SweepEllipsoidTriangle);

} // namespace

BENCHMARK_MAIN();
