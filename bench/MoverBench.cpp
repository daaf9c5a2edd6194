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

#include "BenchWorld.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>

namespace {

using namespace orv;

struct Demo1World {
    std::unique_ptr<bench::GameLevel> Level;
    std::vector<Mover*> Movers;
};

Demo1World* LoadDemo1() {
    static std::unique_ptr<Demo1World> loaded = []() -> std::unique_ptr<Demo1World> {
        auto d = std::make_unique<Demo1World>();
        d->Level = bench::LoadBuiltLevel("Demo1");
        if (!d->Level) {
            return nullptr;
        }
        World& world = *d->Level->Scene;
        for (const auto& actor : world.Actors) {
            if (auto* mover = dynamic_cast<Mover*>(actor.get())) {
                d->Movers.push_back(mover);
            }
        }
        // The player rides the lift (Mover2), so that every step carries him.
        MoveActorTo(*world.Player, {2368, 384, 128 + world.Player->CollisionHeight});
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
