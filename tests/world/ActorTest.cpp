// The class factory, property application and the actor list's spawn and destroy rules.
#include "world/ActorDump.h"
#include "world/Events.h"
#include "WorldFixture.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace orv {
namespace {

using test::WorldFixture;

TEST(ActorFactory, EveryRowByNameAndBySubclass) {
    WorldFixture f;
    f.AddEngineClasses();
    const std::pair<const char*, EngineClass> rows[] = {
        {"Bird1", EngineClass::Bird1},
        {"ScriptedPawn", EngineClass::ScriptedPawn},
        {"Weapon", EngineClass::Weapon},
        {"Inventory", EngineClass::Inventory},
        {"Mover", EngineClass::Mover},
        {"Counter", EngineClass::Counter},
        {"Dispatcher", EngineClass::Dispatcher},
        {"Earthquake", EngineClass::Earthquake},
        {"ExplosionChain", EngineClass::ExplosionChain},
        {"DynamicAmbientSound", EngineClass::DynamicAmbientSound},
        {"DynamicZoneInfo", EngineClass::DynamicZoneInfo},
        {"LevelInfo", EngineClass::LevelInfo},
        {"ZoneInfo", EngineClass::ZoneInfo},
        {"TriggerLight", EngineClass::TriggerLight},
        {"DispersionAmmo", EngineClass::DispersionAmmo},
        {"Projectile", EngineClass::EnemyProjectile},
        {"Emitter", EngineClass::Emitter},
        {"DispersionAmmoHit", EngineClass::DispersionAmmoHit},
        {"Explosion", EngineClass::Explosion},
        {"AnimSpriteEffect", EngineClass::AnimSpriteEffect},
        {"WavySurfaceInfo", EngineClass::WavySurfaceInfo},
    };
    for (const auto& [base, engineClass] : rows) {
        EXPECT_EQ(CreateActor(f.world, base)->GetEngineClass(), engineClass) << base;
        const std::string derived = std::string("My") + base;
        f.AddClass(derived, base);
        EXPECT_EQ(CreateActor(f.world, derived)->GetEngineClass(), engineClass) << derived;
    }
    // A level class two steps below Projectile flies as an enemy projectile.
    f.AddClass("SkaarjBolt", "MyProjectile");
    EXPECT_EQ(CreateActor(f.world, "SkaarjBolt")->GetEngineClass(), EngineClass::EnemyProjectile);
    EXPECT_EQ(CreateActor(f.world, "SKAARJBOLT")->GetEngineClass(), EngineClass::EnemyProjectile);
    // Classes without a row, known or not, are plain actors; the name is kept as written.
    EXPECT_EQ(CreateActor(f.world, "PlayerStart")->GetEngineClass(), EngineClass::Actor);
    const auto unknown = CreateActor(f.world, "NoSuchClass");
    EXPECT_EQ(unknown->GetEngineClass(), EngineClass::Actor);
    EXPECT_EQ(unknown->Class, "NoSuchClass");
    // Engine defaults of projectiles.
    const auto bolt = CreateActor(f.world, "SkaarjBolt");
    EXPECT_EQ(bolt->Style, STY_Translucent);
    EXPECT_EQ(bolt->CollisionRadius, 8.0f);
    EXPECT_TRUE(bolt->bCollideWorld);
}

TEST(ActorProperties, ValueSyntaxesAndFallbacks) {
    WorldFixture f;
    f.AddEngineClasses();
    f.AddClass("Lamp", "Light", {{"LightBrightness", "300"}, {"DrawScale", "2"}, {"Physics", "PHYS_Rotating"}});
    Actor& lamp = f.AddActor("Lamp", "Lamp0",
                             {{"DrawScale", ""},
                              {"Physics", "phys_FALLING"},
                              {"Location", "(X=10,Y=-20,Z=30.5)"},
                              {"Rotation", "(Yaw=16384)"},
                              {"bCollideActors", "0"},
                              {"LightType", "LT_Strobe"},
                              {"LightEffect", "13"},
                              {"InitialState", "\"TriggerToggle\""}});
    EXPECT_EQ(lamp.LightBrightness, 44);      // a byte keeps 8 bits of 300
    EXPECT_EQ(lamp.DrawScale, 0.0f);          // present but empty is 0, not the fallback 1
    EXPECT_EQ(lamp.Physics, PHYS_Falling);    // the level's line replaced the class default
    EXPECT_EQ(lamp.Location, (Vector{10, -20, 30.5f}));
    EXPECT_EQ(lamp.Rotation, (Rotator{0, 16384, 0}));
    EXPECT_FALSE(lamp.bCollideActors);
    EXPECT_EQ(lamp.LightType, LT_Strobe);
    EXPECT_EQ(lamp.LightEffect, 13);
    EXPECT_EQ(lamp.InitialState, "TriggerToggle");
    EXPECT_EQ(lamp.CollisionRadius, 22.0f);   // absent: 22
    lamp.SetProperty("Physics", "phys_unknown");
    lamp.SetProperty("Physics(0)", "3");      // the same key as "Physics"
    lamp.ApplyProperties();
    EXPECT_EQ(lamp.Physics, PHYS_Swimming);
    lamp.SetProperty("Physics", "phys_unknown");
    lamp.ApplyProperties();
    EXPECT_EQ(lamp.Physics, PHYS_Swimming);   // an unknown name leaves the field alone

    Actor& plain = f.AddActor("Light", "Light0");
    EXPECT_TRUE(plain.bCollideActors);        // absent: true
    EXPECT_EQ(plain.DrawScale, 1.0f);
    EXPECT_EQ(plain.ClassRec->Name, "Light");
}

TEST(ActorProperties, IndexedPropertiesOfMoversAndDispatchers) {
    WorldFixture f;
    f.AddEngineClasses();
    Actor& door = f.AddActor("Mover", "Door", {{"KeyPos(1)", "(Z=128)"}, {"KeyRot(2)", "(Yaw=100)"},
                                               {"MainScale", "(Scale=(X=2,Y=3,Z=4),SheerAxis=SHEER_ZX)"},
                                               {"NumKeys", "3"}});
    auto& mover = dynamic_cast<Mover&>(door);
    mover.KeyPos[0] = {5, 5, 5};
    door.ApplyProperties();
    EXPECT_EQ(mover.KeyPos[0], (Vector{5, 5, 5})); // no KeyPos(0) line: unchanged
    EXPECT_EQ(mover.KeyPos[1], (Vector{0, 0, 128}));
    EXPECT_EQ(mover.KeyRot[2], (Rotator{0, 100, 0}));
    EXPECT_EQ(mover.MainScale, (Vector{2, 3, 4}));
    EXPECT_EQ(mover.PostScale, (Vector{1, 1, 1}));
    EXPECT_EQ(mover.NumKeys, 3);
    EXPECT_EQ(mover.MoveTime, 1.0f);
    EXPECT_EQ(mover.StayOpenTime, 4.0f);

    Actor& d = f.AddActor("Dispatcher", "D", {{"OutEvents(0)", "a"}, {"OutEvents(4)", "e"}, {"OutDelays(1)", "0.5"}});
    auto& dispatcher = dynamic_cast<Dispatcher&>(d);
    EXPECT_EQ(dispatcher.NumOutEvents, 5); // empty entries below the highest still count
    EXPECT_EQ(dispatcher.OutEvents[0], "a");
    EXPECT_EQ(dispatcher.OutDelays[1], 0.5f);

    Actor& zone = f.AddActor("ZoneInfo", "Z", {{"AmbientBrightness", "255"}, {"AmbientSaturation", "255"}});
    EXPECT_EQ(dynamic_cast<ZoneInfo&>(zone).AmbientColor, 0xFFFFFFFFu); // full brightness, no hue: white
    Actor& fx = f.AddActor("Explosion", "X", {{"NumFrames", "99"}, {"Pause", "0.05"}});
    EXPECT_EQ(dynamic_cast<AnimSpriteEffect&>(fx).NumFrames, kMaxSpriteFrames);
}

TEST(ActorProperties, MeshAndTextureAreReadOnlyOnce) {
    WorldFixture f;
    f.AddEngineClasses();
    auto mesh = std::make_unique<Mesh>();
    mesh->Package = "Test";
    mesh->Name = "Cube";
    mesh->Sequences.Add({"Still", 0, 1, 30.0f});
    mesh->Sequences.Add({"Spin", 0, 4, 10.0f});
    f.res.Meshes.Add(std::move(mesh));
    Actor& a = f.AddActor("Decoration", "Deco", {{"Mesh", "LodMesh'Test.Cube'"}, {"AnimSequence", "\"Spin\""},
                                                 {"AnimRate", "2"}, {"AnimFrame", "0.25"}});
    ASSERT_NE(a.MeshRef, nullptr);
    EXPECT_EQ(a.MeshRef->Name, "Cube");
    a.SetProperty("Mesh", "");
    a.ApplyProperties();
    EXPECT_EQ(a.MeshRef->Name, "Cube"); // already has a mesh: not read again
    a.BeginPlay();
    EXPECT_EQ(a.AnimSequence, "Spin");
    EXPECT_EQ(a.AnimRate, 20.0f); // the property's rate times the sequence's own
    EXPECT_EQ(a.AnimFrame, 0.25f);

    Actor& bare = f.AddActor("Decoration", "Bare", {{"AnimSequence", "Spin"}});
    bare.BeginPlay();
    EXPECT_EQ(bare.AnimSequence, ""); // the fallback mesh has no such sequence
}

struct SpawningActor : Actor {
    void Tick(float) override {
        if (!spawned) {
            spawned = Spawn(GetWorld(), "Spinner", this, "child", Location + Vector{1, 0, 0}, {});
            sequenceAtSpawn = spawned->AnimSequence;
        }
    }
    Actor* spawned = nullptr;
    std::string sequenceAtSpawn;
};

TEST(ActorList, SpawnedActorsStartAtOnceAndUpdateNextStep) {
    WorldFixture f;
    f.AddEngineClasses();
    auto mesh = std::make_unique<Mesh>();
    mesh->Name = "Top";
    mesh->Sequences.Add({"Still", 0, 1, 30.0f});
    f.res.Meshes.Add(std::move(mesh));
    f.AddClass("Spinner", "Actor", {{"Physics", "PHYS_Rotating"}, {"RotationRate", "(Yaw=6000)"}, {"Mesh", "Top"}});
    auto spawner = std::make_unique<SpawningActor>();
    spawner->XLevel = &f.world;
    SpawningActor* s = spawner.get();
    f.world.Actors.Add(std::move(spawner));
    UpdateActors(f.world, kStepDeltaTime);
    ASSERT_NE(s->spawned, nullptr);
    EXPECT_EQ(s->sequenceAtSpawn, "Still"); // BeginPlay ran inside the spawner's Tick
    EXPECT_EQ(f.world.Actors.Num(), 2);
    EXPECT_EQ(s->spawned->Owner, s);
    EXPECT_EQ(s->spawned->GetProperty("Tag"), "child");
    EXPECT_EQ(s->spawned->Location, (Vector{1, 0, 0}));
    EXPECT_EQ(s->spawned->Rotation.Yaw, 0); // not updated in the step that spawned it
    UpdateActors(f.world, kStepDeltaTime);
    EXPECT_EQ(s->spawned->Rotation.Yaw, 100); // 6000 per second for 1/60 s
}

struct DestroyingActor : Actor {
    void Tick(float) override {
        if (target) {
            target->Destroy();
            target = nullptr;
        }
    }
    Actor* target = nullptr;
};

struct Observer : Actor {
    void Tick(float) override {
        seenCollide = victim->bCollideActors;
        seenTag = victim->GetProperty("Tag");
        seenDeleted = victim->bDeleteMe;
    }
    Actor* victim = nullptr;
    bool seenCollide = true, seenDeleted = false;
    std::string seenTag = "unset";
};

TEST(ActorList, DestroyedActorsAreSeenOffAndFreedBeforeTheNextStep) {
    WorldFixture f;
    auto killer = std::make_unique<DestroyingActor>();
    auto victim = std::make_unique<Actor>();
    auto observer = std::make_unique<Observer>();
    for (Actor* a : std::initializer_list<Actor*>{killer.get(), victim.get(), observer.get()}) {
        a->XLevel = &f.world;
    }
    victim->bCollideActors = 1;
    victim->bBlockPlayers = 1;
    victim->SetProperty("Tag", "door");
    killer->target = victim.get();
    observer->victim = victim.get();
    victim->Owner = observer.get();
    observer->Owner = victim.get();
    Observer* obs = observer.get();
    f.world.Actors.Add(std::move(killer));
    f.world.Actors.Add(std::move(victim));
    f.world.Actors.Add(std::move(observer));
    UpdateActors(f.world, kStepDeltaTime);
    EXPECT_FALSE(obs->seenCollide);
    EXPECT_EQ(obs->seenTag, "");
    EXPECT_TRUE(obs->seenDeleted);
    EXPECT_EQ(f.world.Actors.Num(), 2);  // freed at the end of the step
    EXPECT_EQ(obs->Owner, nullptr);      // no reference to a freed actor survives
}

TEST(ActorDump, OneLineWithTheRecordsFields) {
    WorldFixture f;
    f.AddEngineClasses();
    Actor& door = f.AddActor("Mover", "Door1", {{"Tag", "door"}, {"Location", "(X=1.5)"}});
    const std::string line = DumpActorJson(door, 3);
    EXPECT_EQ(line.rfind("{\"Index\":3,\"EngineClass\":\"Mover\",\"Class\":\"Mover\",\"Name\":\"Door1\"", 0), 0u) << line;
    EXPECT_NE(line.find("\"Location\":[1.5,0,0]"), std::string::npos);
    EXPECT_NE(line.find("\"MoverState\":0"), std::string::npos);
    EXPECT_NE(line.find("\"Tag\":\"door\""), std::string::npos);
    EXPECT_EQ(line.back(), '}');
}

} // namespace
} // namespace orv

namespace orv {
namespace {

// Three planes X = 0, Y = 0 and Z = 0 under one another: eight leaf spaces around the origin.
void OctantTree(LevelModel& model) {
    const Vector normals[3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    // Node 0 splits on X; nodes 1-2 on Y; nodes 3-6 on Z, whose sides are the leaves.
    for (int i = 0; i < 7; ++i) {
        BspNode n;
        n.NodePlane = {normals[i == 0 ? 0 : (i < 3 ? 1 : 2)], 0};
        n.Back = i < 3 ? 2 * i + 1 : -1;
        n.Front = i < 3 ? 2 * i + 2 : -1;
        model.Nodes.Add(n);
    }
}

int ListedCount(const Level& level, const Actor& a) {
    int n = 0;
    for (const NodeActorLists& lists : level.NodeActors) {
        n += std::count(lists.Negative.begin(), lists.Negative.end(), &a);
        n += std::count(lists.Positive.begin(), lists.Positive.end(), &a);
    }
    return n;
}

TEST(ActorRegistration, FiledInEveryLeafItsHeightReachesAndTakenOutOfExactlyThose) {
    test::WorldFixture f;
    OctantTree(f.world.CurrentLevel.Model);
    Actor a;
    a.XLevel = &f.world;
    a.CollisionHeight = 10;
    a.Location = {50, 50, 50};
    RegisterActor(a);
    EXPECT_EQ(ListedCount(f.world.CurrentLevel, a), 1); // well inside one octant
    MoveActorTo(a, {5, 50, -5});                               // straddles X = 0 and Z = 0
    EXPECT_EQ(ListedCount(f.world.CurrentLevel, a), 4);
    // Its size changes after it was filed (class defaults read later do this): taking it out
    // must still empty every list it is in.
    a.CollisionHeight = 1;
    a.Location = {100, 100, 100};
    a.Destroy();
    EXPECT_EQ(ListedCount(f.world.CurrentLevel, a), 0);
    EXPECT_TRUE(a.RegisteredIn.empty());
}

} // namespace
} // namespace orv
