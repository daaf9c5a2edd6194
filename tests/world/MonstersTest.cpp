// Monsters, shots and effects on a flat floor with one wall, where the runs of the real program
// on Demo 1 (tests/e2e/MonstersTest.cpp) cannot look closely: which mesh rows match, random picks,
// the frame a blow lands on, the lose radius, one death, what each kind of shot passes through,
// the lead of a shot and the draw order of a spark burst.
#include "WorldFixture.h"
#include "core/Random.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

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
        for (const char* name : {"SkaarjW2", "sktrooperB", "Tentacle1", "Rock"}) {
            AddMesh("P", name, {{"Still", 0, 1, 1}, {"Breath", 1, 4, 4}, {"Breath2", 5, 4, 4}, {"Waver", 9, 4, 4},
                                {"claw", 13, 10, 10}, {"spin", 23, 10, 10}, {"lunge", 33, 10, 10}, {"Death", 43, 4, 4}, {"Death2", 47, 4, 4}, {"Death3", 51, 4, 4}})
                .Notifies.Add({"claw", 0.5f, "StrikeDamageTarget"});
        }
        for (int v = 1; v <= 5; ++v) {
            for (int i = 0; i < 8; ++i) {
                AddTexture("UnrealShare.MainEffect.e" + std::to_string(v) + "_a0" + std::to_string(i));
            }
        }
    }
    ScriptedPawn& Pawn(const std::string& cls, const std::string& mesh, Vector at) {
        auto& pawn = static_cast<ScriptedPawn&>(AddActor(cls, cls + std::to_string(world.Actors.Num()), {{"Mesh", mesh}}));
        MoveActorTo(pawn, at);
        pawn.BeginPlay();
        return pawn;
    }
    void Step(int steps) {
        for (int i = 0; i < steps; ++i) {
            UpdateActors(world, kStepDeltaTime);
        }
    }
    int Count(EngineClass c) const {
        return int(std::ranges::count_if(world.Actors, [&](auto& a) { return !a->bDeleteMe && a->GetEngineClass() == c; }));
    }
    PlayerPawn* player = nullptr;
};

TEST(Monsters, TheMeshPrefixPicksTheAnimationsAndTheFirstIdleIsNeverTheLast) {
    struct Case { const char* Mesh; int Melee; const char* Idle; uint8_t CanMove; };
    for (const Case& c : {Case{"SkaarjW2", 3, "Breath", 1}, Case{"sktrooperB", 1, "Breath", 1},
                          Case{"Tentacle1", 1, "Waver", 0}, Case{"Rock", 0, "Still", 1}}) {
        Monsters f;
        for (int i = 0; i < 20; ++i) {
            ScriptedPawn& pawn = f.Pawn("Brute", c.Mesh, {500, 0, 39});
            EXPECT_EQ(pawn.MeleeAnims.Num(), c.Melee) << c.Mesh;
            EXPECT_EQ(pawn.AnimSequence, c.Idle) << c.Mesh;
            EXPECT_EQ(pawn.bCanMove, c.CanMove) << c.Mesh;
            EXPECT_FLOAT_EQ(pawn.MeleeRange, 17 + 22 + 18);
        }
    }
    Monsters f;
    EXPECT_EQ(f.Pawn("Manta", "Rock", {}).bFlyer, 1);
    EXPECT_EQ(f.Pawn("Brute", "Rock", {}).bFlyer, 0);
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

TEST(Monsters, AClawLandsAtItsNotifyOnlyWithinMeleeRangeAndTheMonsterTurnsAndCloses) {
    Monsters f;
    ScriptedPawn& pawn = f.Pawn("Brute", "SkaarjW2", {0, 120, 39});
    f.Step(1);
    EXPECT_EQ(f.services.Sounds, std::vector<std::string>{"Grr"}); // seen: the alert cry
    EXPECT_EQ(pawn.Rotation.Yaw, -16384);                            // facing the player
    f.Step(180);
    EXPECT_NEAR(pawn.Location.Y, 52.0f, 2.0f); // closed in, stopping short of him
    EXPECT_EQ(pawn.AIState, "attacking");
    PlayAnim(pawn, "claw", 1.0f);
    const int before = f.player->Health;
    f.Step(29);
    EXPECT_EQ(f.player->Health, before);
    f.Step(2); // half of ten frames at ten a second: the 30th step
    EXPECT_EQ(f.player->Health, before - 20);
    MoveActorTo(pawn, f.player->Location + Vector{pawn.MeleeRange, 0, 0});
    pawn.AnimNotify({"claw", 0.5f, "StrikeDamageTarget"}); // exactly at MeleeRange: a miss
    EXPECT_EQ(f.player->Health, before - 20);
}

TEST(Monsters, DamageCountsOnlyWithinTheLoseRadiusAndDeathComesOnce) {
    Monsters f;
    ScriptedPawn& pawn = f.Pawn("Brute", "SkaarjW2", {2000, 0, 39});
    pawn.TakeDamage(50, nullptr, {}, {}, "");
    EXPECT_EQ(pawn.Health, 100);
    EXPECT_TRUE(f.services.Sounds.empty());
    MoveActorTo(pawn, {900, 0, 39});
    pawn.TakeDamage(100, nullptr, {}, {}, ""); // to exactly 0
    pawn.TakeDamage(10, nullptr, {}, {}, "");
    EXPECT_EQ(f.services.Sounds, (std::vector<std::string>{"Grr", "Ow", "Argh", "Ow"}));
    EXPECT_TRUE(pawn.AnimSequence.starts_with("Death")) << pawn.AnimSequence;
    EXPECT_EQ(pawn.bCollideActors + pawn.bProjTarget + pawn.bBlockPlayers, 0);
    f.Step(70);
    EXPECT_EQ(pawn.AIState, "dead");
    EXPECT_EQ(pawn.AnimRate, 0.0f);
    EXPECT_FLOAT_EQ(pawn.AnimFrame, 0.999f);
    EXPECT_NEAR(pawn.Location.Z, 22.0f, 3.0f); // fell to the floor (within a step's fall) and rests
    EXPECT_EQ(pawn.bFalling, 0);
}

TEST(Monsters, ShotsHurtOnlyTheirTargetsAndBurstOnWalls) {
    Monsters f;
    ScriptedPawn& pawn = f.Pawn("Brute", "Rock", {300, 0, 39});
    Actor* enemy = Spawn(f.world, "Shot", nullptr, "", {360, 0, 39}, {0, 32768, 0});
    EXPECT_NEAR(enemy->Velocity.X, -700.0f, 0.01f);
    Spawn(f.world, "DispersionAmmo", nullptr, "", {100, 0, 39}, {});
    Actor& trigger = f.AddActor("Trigger", "T", {{"Location", "(X=150,Y=0,Z=39)"}});
    f.Step(40);
    EXPECT_EQ(pawn.Health, 85);      // the player's shot passed the trigger and hit the monster
    EXPECT_EQ(f.player->Health, 70); // the monster's passed the monster and hit the player
    EXPECT_TRUE(f.services.PlayedSound("UnrealShare.General.DispEX1"));
    EXPECT_FALSE(trigger.bDeleteMe);
    Spawn(f.world, "Shot", nullptr, "", {800, 500, 200}, {});
    auto& spent = static_cast<Projectile&>(*Spawn(f.world, "Shot", nullptr, "", {0, 900, 200}, {}));
    spent.LifeSpan = 0;
    UpdateActor(spent, kStepDeltaTime);
    EXPECT_TRUE(spent.bDeleteMe);
    EXPECT_EQ(spent.Location, (Vector{0, 900, 200})); // gone before it moved
    f.Step(20);
    EXPECT_EQ(f.Count(EngineClass::EnemyProjectile), 0); // the other burst on the wall
    EXPECT_EQ(std::ranges::count(f.services.Sounds, "UnrealShare.General.Explo1"), 2);
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

TEST(Monsters, BurstsDrawInOrderAndGoWhenEmptyExplosionsKeepOneLookBirdsCircle) {
    Monsters f;
    SeedRandom(5);
    Actor* burst = Spawn(f.world, "Emitter", nullptr, "", {0, 0, 300}, {});
    f.Step(1);
    SeedRandom(5);
    const float draws[11] = {FRand(), FRand(), FRand(), FRand(), FRand(), FRand(), FRand(), FRand(), FRand(), FRand(), FRand()};
    const Particle& first = static_cast<Emitter*>(burst)->Particles[0];
    EXPECT_FLOAT_EQ(first.Lifetime, 0.3f + 0.1f * draws[3]);
    EXPECT_FLOAT_EQ(first.Velocity.X, -200.0f + 400.0f * draws[4]);
    EXPECT_FLOAT_EQ(first.Size, 0.1f + 0.2f * draws[10]);
    f.Step(24);
    EXPECT_EQ(f.Count(EngineClass::Emitter), 0);
    auto* blast = static_cast<Explosion*>(Spawn(f.world, "Explosion", nullptr, "", {}, {}));
    const std::string look = blast->SpriteAnim[0]->Name.substr(0, 25);
    EXPECT_TRUE(look.starts_with("UnrealShare.MainEffect.e")) << look;
    for (Texture* frame : blast->SpriteAnim) {
        EXPECT_TRUE(!frame || frame->Name.starts_with(look)) << frame->Name;
    }
    auto& bird = static_cast<Bird1&>(f.AddActor("Bird1", "Bird", {{"CircleRadius", "100"}, {"Location", "(Z=300)"}}));
    bird.BeginPlay();
    f.Step(30);
    EXPECT_NEAR(Length(bird.Location - Vector{0, 0, 300}), 100.0f, 0.01f);
    EXPECT_EQ(bird.Rotation.Yaw, 16384 + int(std::nearbyint(0.5f / 100 * 2293760)));
}

} // namespace
} // namespace orv
