// A whole simulation step of Demo 1 (from the built game tree) in a fight: every monster awake
// and hunting the player, who stands in the gallery in god mode, and 50 shots in flight across
// the level, half the monsters' and half the player's. Between steps (untimed) the shots are
// topped up to 50 and the monsters healed, so every step sees the same load. Figure: the time
// per iteration is one step of every actor (target under 0.2 ms).
#include "content/Resources.h"
#include "core/ConfigFile.h"
#include "core/FixedStep.h"
#include "core/Log.h"
#include "core/Random.h"
#include "core/Vfs.h"
#include "world/ActorClasses.h"
#include "world/LevelLoader.h"
#include "world/World.h"

#include "BenchWorld.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <vector>

namespace {

using namespace orv;

constexpr int kShotsInFlight = 50;

bench::GameLevel* LoadDemo1() {
    static std::unique_ptr<bench::GameLevel> loaded = [] {
        auto d = bench::LoadBuiltLevel("Demo1", {{"GodMode", "true"}});
        if (d) {
            MoveActorTo(*d->Scene->Player, {2688, 448, 512 + d->Scene->Player->CollisionHeight});
        }
        return d;
    }();
    return loaded.get();
}

// Every monster alive, hunting, and within reach of the player's anger; shots topped up to 50,
// each starting at a monster or the player and flying at a random angle.
void KeepTheFightGoing(World& world, std::vector<ScriptedPawn*>& monsters) {
    int shots = 0;
    for (const auto& actor : world.Actors) {
        shots += !actor->bDeleteMe && dynamic_cast<Projectile*>(actor.get()) ? 1 : 0;
    }
    for (ScriptedPawn* pawn : monsters) {
        pawn->bAlerted = 1;
        pawn->Health = 1000;
        pawn->LoseRadius = 100000.0f;
        pawn->SightRadius = 100000.0f;
    }
    for (int i = shots; i < kShotsInFlight; ++i) {
        const Rotator aim{int32_t(FRand() * 8192) - 4096, int32_t(FRand() * 65536), 0};
        if (i % 2) {
            ScriptedPawn& from = *monsters[size_t(i) % monsters.size()];
            Spawn(world, "SkaarjProjectile", nullptr, "", from.Location, aim);
        } else {
            Spawn(world, "DispersionAmmo", world.Player, "", world.Player->Location, aim);
        }
    }
}

void BM_Demo1FightStep(benchmark::State& state) {
    bench::GameLevel* d = LoadDemo1();
    if (!d) {
        state.SkipWithError("Demo1 is not built (game/Maps/Demo1.bsp)");
        return;
    }
    World& world = *d->Scene;
    std::vector<ScriptedPawn*> monsters;
    for (const auto& actor : world.Actors) {
        if (auto* pawn = dynamic_cast<ScriptedPawn*>(actor.get()); pawn && !dynamic_cast<Bird1*>(pawn)) {
            monsters.push_back(pawn);
        }
    }
    SeedRandom(1);
    for (auto _ : state) {
        state.PauseTiming();
        KeepTheFightGoing(world, monsters);
        state.ResumeTiming();
        world.GameTime += kStepDeltaTime;
        UpdateActors(world, kStepDeltaTime);
    }
    state.counters["monsters"] = static_cast<double>(monsters.size());
    state.counters["actors"] = static_cast<double>(world.Actors.Num());
}
BENCHMARK(BM_Demo1FightStep)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
