// Monsters, shots and effects on a flat floor with one wall, where the runs of the real program
// on Demo 1 (tests/e2e/MonstersTest.cpp) cannot look closely: which mesh rows match, random picks,
// the frame a blow lands on, the lose radius, one death, what each kind of shot passes through,
// and the draw order of a spark burst. Birds are watched there.
#include "WorldFixture.h"
#include "core/Random.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <tuple>

namespace orv {
namespace {

struct Monsters : test::WorldFixture {
    Monsters() {
        AddEngineClasses();
        AddClass("Manta", "ScriptedPawn");
        AddClass("Brute", "ScriptedPawn", {{"Acquire", "Grr"}, {"HitSound1", "Ow"}, {"Die", "Argh"}});
        AddClass("Shot", "Projectile", {{"Damage", "30"}, {"speed", "700"}});
        AddQuad({-4000, -4000, 0}, {4000, -4000, 0}, {4000, 4000, 0}, {-4000, 4000, 0});
        AddQuad({1000, -4000, 0}, {1000, -4000, 900}, {1000, 4000, 900}, {1000, 4000, 0}); // faces -X
        FinishLevel();
        player = CreatePlayerPawn(world);
        MoveActorTo(*player, {0, 0, 39});
        for (const char* name : {"SkaarjW2", "sktrooperB", "Tentacle1", "Rock"}) { // ten frames a second each
            Mesh& mesh = AddMesh("P", name, {});
            for (const char* seq :
                 {"Still", "Breath", "Breath2", "Waver", "claw", "spin", "lunge", "Death", "Death2", "Death3"}) {
                mesh.Sequences.Add({seq, 0, 10, 10});
            }
            mesh.Notifies.Add({"claw", 0.5f, "StrikeDamageTarget"});
        }
    }
    ScriptedPawn& Pawn(const std::string& cls, const std::string& mesh, Vector at) {
        auto& pawn =
            static_cast<ScriptedPawn&>(AddActor(cls, "M" + std::to_string(world.Actors.Num()), {{"Mesh", mesh}}));
        MoveActorTo(pawn, at);
        pawn.BeginPlay();
        return pawn;
    }
    void Step(int steps) {
        while (steps--)
            UpdateActors(world, kStepDeltaTime);
    }
    long Heard(const std::string& sound) const { return std::ranges::count(services.Sounds, sound); }
    PlayerPawn* player = nullptr;
};

TEST(Monsters, TheMeshPrefixPicksTheAnimationsAndRandomPicksNeverTakeTheLast) {
    Monsters f;
    // mesh, melee sequences, the idle played, walks
    for (auto [mesh, melee, idle, walks] : {std::tuple{"SkaarjW2", 3, "Breath", 1},
                                            {"sktrooperB", 1, "Breath", 1},
                                            {"Tentacle1", 1, "Waver", 0},
                                            {"Rock", 0, "Still", 1}}) {
        for (int i = 0; i < 20; ++i) {
            ScriptedPawn& pawn = f.Pawn("Brute", mesh, {500, 0, 39});
            EXPECT_EQ(std::tuple(pawn.MeleeAnims.Num(), pawn.AnimSequence, pawn.bCanMove),
                      std::tuple(melee, idle, walks));
        }
    }
    EXPECT_EQ(f.Pawn("Manta", "Rock", {}).bFlyer - f.Pawn("Brute", "Rock", {}).bFlyer, 1);
    ScriptedPawn& skaarj = f.Pawn("Brute", "SkaarjW2", {});
    PlayAnim(skaarj, "lunge", 1.0f);
    for (int i = 0; i < 50; ++i) { // a melee animation's end starts another, never "lunge"
        skaarj.AnimEnd();
        EXPECT_TRUE(skaarj.AnimSequence == "claw" || skaarj.AnimSequence == "spin") << skaarj.AnimSequence;
    }
    auto& bare = static_cast<ScriptedPawn&>(f.AddActor("Brute", "Bare"));
    bare.MeshRef = nullptr;
    test::LogCapture log;
    bare.BeginPlay();
    EXPECT_TRUE(log.Contains("Warning: ScriptedPawn Bare without a mesh."));
}

TEST(Monsters, AClawLandsAtItsNotifyFrameOnlyWithinMeleeRangeAndDeathComesOnceWithinTheLoseRadius) {
    Monsters f;
    ScriptedPawn& pawn = f.Pawn("Brute", "SkaarjW2", {0, 50, 22});
    f.Step(1);
    PlayAnim(pawn, "claw", 1.0f);
    f.Step(29);
    EXPECT_EQ(f.player->Health, 100);
    f.Step(2); // half of ten frames at ten a second: the 30th step
    EXPECT_EQ(f.player->Health, 80);
    MoveActorTo(pawn, f.player->Location + Vector{pawn.MeleeRange, 0, 0});
    pawn.AnimNotify({"claw", 0.5f, "StrikeDamageTarget"}); // exactly at MeleeRange: a miss
    EXPECT_EQ(f.player->Health, 80);
    f.services.Sounds.clear();
    MoveActorTo(pawn, {2000, 0, 39});
    pawn.TakeDamage(50, nullptr, {}, {}, ""); // beyond LoseRadius
    MoveActorTo(pawn, {900, 0, 39});
    pawn.TakeDamage(100, nullptr, {}, {}, ""); // to exactly 0
    pawn.TakeDamage(10, nullptr, {}, {}, "");
    EXPECT_EQ(f.services.Sounds, (std::vector<std::string>{"Ow", "Argh", "Ow"}));
    EXPECT_TRUE(pawn.AnimSequence.starts_with("Death")) << pawn.AnimSequence;
    EXPECT_EQ(pawn.bCollideActors + pawn.bProjTarget + pawn.bBlockPlayers, 0);
    f.Step(70);
    EXPECT_EQ(std::tuple(pawn.AIState, pawn.AnimRate, pawn.AnimFrame, pawn.bFalling),
              std::tuple("dead", 0.0f, 0.999f, 0));
    EXPECT_NEAR(pawn.Location.Z, 22.0f, 5.0f); // fell to the floor (within a step's fall) and rests
}

TEST(Monsters, ShotsHurtOnlyTheirTargetsBurstOnWallsAndRunOut) {
    Monsters f;
    ScriptedPawn& pawn = f.Pawn("Brute", "Rock", {300, 0, 39});
    EXPECT_NEAR(Spawn(f.world, "Shot", nullptr, "", {360, 0, 39}, {0, 32768, 0})->Velocity.X, -700.0f, 0.01f);
    Spawn(f.world, "DispersionAmmo", nullptr, "", {100, 0, 39}, {});
    f.AddActor("Trigger", "T", {{"Location", "(X=150,Y=0,Z=39)"}});
    f.Step(40);
    EXPECT_EQ(pawn.Health, 85);      // the player's shot passed the trigger and hit the monster
    EXPECT_EQ(f.player->Health, 70); // the monster's passed the monster and hit the player
    EXPECT_EQ(f.Heard("UnrealShare.General.DispEX1") + f.Heard("UnrealShare.General.Explo1"), 2);
    Spawn(f.world, "Shot", nullptr, "", {800, 500, 200}, {});
    auto& spent = static_cast<Projectile&>(*Spawn(f.world, "Shot", nullptr, "", {0, 900, 200}, {}));
    spent.LifeSpan = 0;
    UpdateActor(spent, kStepDeltaTime);
    EXPECT_EQ(std::tuple(spent.bDeleteMe, spent.Location), std::tuple(1, Vector{0, 900, 200})); // gone before it moved
    f.Step(20);
    EXPECT_EQ(f.Heard("UnrealShare.General.Explo1"), 2); // the other burst on the wall
}

TEST(Monsters, BurstsDrawInOrderAndGoWhenEmpty) {
    Monsters f;
    SeedRandom(5);
    auto& burst = static_cast<Emitter&>(*Spawn(f.world, "Emitter", nullptr, "", {0, 0, 300}, {}));
    f.Step(1);
    SeedRandom(5);
    float draws[11];
    for (float& r : draws)
        r = FRand();
    const Particle& first = burst.Particles[0];
    EXPECT_FLOAT_EQ(first.Lifetime, 0.3f + 0.1f * draws[3]);
    EXPECT_FLOAT_EQ(first.Velocity.X, -200.0f + 400.0f * draws[4]);
    EXPECT_FLOAT_EQ(first.Size, 0.1f + 0.2f * draws[10]);
    f.Step(24);
    EXPECT_TRUE(
        std::ranges::none_of(f.world.Actors, [](auto& a) { return a->GetEngineClass() == EngineClass::Emitter; }));
}

TEST(Monsters, ShotsLeadTheWalkingPlayerAndNeedAProjectileClass) {
    Monsters f;
    ScriptedPawn& pawn = f.Pawn("Brute", "Rock", {0, 700, 39});
    pawn.bAlerted = 1;
    pawn.AnimNotify({"x", 0, "SpawnShot"});
    pawn.AnimNotify({"x", 0, "SpawnTwoShots"}); // two plain actors of no class
    EXPECT_EQ(f.world.Actors.Num(), 4);
    pawn.RangedProjectile = "Shot";
    f.player->WalkVelocity = {300, 0, 0};
    pawn.AnimNotify({"x", 0, "spawnshot"});
    const Actor& shot = *f.world.Actors.Last();
    EXPECT_NEAR(Length(shot.Velocity), 700.0f, 0.01f);
    EXPECT_NEAR(shot.Velocity.X / -shot.Velocity.Y, 300.0f / 700.0f, 0.01f); // one second ahead
}

} // namespace
} // namespace orv
