// Mover work in a step of Demo 1 (from the built game tree) with every mover moving: each one's
// state change, move between keys, re-filing in the BSP and the carry sweep against the player,
// who rides the lift. Figure: the time per iteration is the mover work of one step (target under
// 50 microseconds).
#include "content/Resources.h"
#include "core/ConfigFile.h"
#include "core/Log.h"
#include "core/Vfs.h"
#include "world/ActorClasses.h"
#include "world/LevelLoader.h"
#include "world/Mover.h"
#include "world/World.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>

namespace {

using namespace orv;

struct Demo1World {
    Resources Res;
    ConfigTable Config;
    std::unique_ptr<World> Scene;
    std::vector<Mover*> Movers;
};

Demo1World* LoadDemo1() {
    static std::unique_ptr<Demo1World> loaded = [] {
        std::error_code ec;
        if (!std::filesystem::exists(std::filesystem::path(ORV_GAME_DIR) / "Maps" / "Demo1.bsp", ec)) {
            return std::unique_ptr<Demo1World>();
        }
        SetWorkingDirectory(ORV_GAME_DIR);
        auto d = std::make_unique<Demo1World>();
        d->Scene = std::make_unique<World>(d->Res, d->Config);
        SetLogToConsole(false);
        LoadFallbackTexture(d->Res);
        AddFallbackMesh(d->Res);
        LoadClassDefaults(d->Res);
        CreatePlayerPawn(*d->Scene);
        LoadLevel(*d->Scene, "Maps\\Demo1.t3d", false);
        SetLogToConsole(true);
        for (const auto& actor : d->Scene->Actors) {
            if (auto* mover = dynamic_cast<Mover*>(actor.get())) {
                d->Movers.push_back(mover);
            }
        }
        // The player rides the lift (Mover2), so that every step carries him.
        MoveActorTo(*d->Scene->Player, {2368, 384, 128 + d->Scene->Player->CollisionHeight});
        return d;
    }();
    return loaded.get();
}

void BM_Demo1MoverStep(benchmark::State& state) {
    Demo1World* d = LoadDemo1();
    if (!d || d->Movers.empty()) {
        state.SkipWithError("Demo1 is not built (game/Maps/Demo1.bsp)");
        return;
    }
    for (auto _ : state) {
        for (Mover* mover : d->Movers) {
            // Keep every mover on the move: a closed one opens, an open one closes at once.
            if (mover->MoverState == EMoverState::Closed) {
                SetMoverState(*mover, EMoverState::Opening);
            } else if (mover->MoverState == EMoverState::Open) {
                mover->StayOpenCounter = 0.0f;
                mover->bTimedClose = 1;
            }
            mover->Tick(kStepDeltaTime);
        }
    }
    state.counters["movers"] = static_cast<double>(d->Movers.size());
}
BENCHMARK(BM_Demo1MoverStep)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
