// The class factory, the actor list's spawn and destroy rules, and filing actors in the BSP.
#include "WorldFixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

namespace orv {
namespace {

using test::WorldFixture;

// Every engine class comes from its own name and its subclasses' (case-blind), the first row that
// matches winning: Bird1 before ScriptedPawn, DynamicZoneInfo before ZoneInfo ... The player is
// built at start-up, and every projectile but the player's flies as an enemy projectile.
TEST(ActorFactory, EveryEngineClassByNameAndBySubclass) {
    WorldFixture f;
    f.AddEngineClasses();
    for (int i = 0; i <= static_cast<int>(EngineClass::WavySurfaceInfo); ++i) {
        const auto c = static_cast<EngineClass>(i);
        const std::string name = EngineClassName(c);
        const EngineClass expected = c == EngineClass::Projectile ? EngineClass::EnemyProjectile
                                     : c == EngineClass::PlayerPawn || c == EngineClass::EnemyProjectile
                                         ? EngineClass::Actor
                                         : c;
        f.AddClass("My" + name, name);
        EXPECT_EQ(CreateActor(f.world, name)->GetEngineClass(), expected) << name;
        EXPECT_EQ(CreateActor(f.world, "MY" + name)->GetEngineClass(), expected) << name;
    }
    const auto unknown = CreateActor(f.world, "NoSuchClass");
    EXPECT_EQ(unknown->GetEngineClass(), EngineClass::Actor);
    EXPECT_EQ(unknown->Class, "NoSuchClass");
}

// An actor whose step is whatever the test says.
struct Ticking : Actor {
    void Tick(float) override { OnTick(); }
    std::function<void()> OnTick;
};

// In one step the first actor destroys the second and spawns a spinner; the third looks at both.
TEST(ActorList, SpawnedActorsStartAtOnceDestroyedOnesAreSeenOffAndBothWaitForTheNextStep) {
    WorldFixture f;
    f.AddEngineClasses();
    f.AddMesh("", "Top", {{"Still", 0, 1, 30.0f}});
    f.AddClass("Spinner", "Actor", {{"Physics", "PHYS_Rotating"}, {"RotationRate", "(Yaw=6000)"}, {"Mesh", "Top"}});
    Ticking* actors[3];
    for (Ticking*& a : actors) {
        a = static_cast<Ticking*>(f.world.Actors[f.world.Actors.Add(std::make_unique<Ticking>())].get());
        a->XLevel = &f.world;
    }
    Ticking &spawner = *actors[0], &victim = *actors[1], &observer = *actors[2];
    Actor* spawned = nullptr;
    std::string seen;
    spawner.OnTick = [&] {
        victim.Destroy();
        spawned = Spawn(f.world, "Spinner", &spawner, "child", {1, 0, 0}, {});
    };
    victim.OnTick = [&] { seen += "victim ticked "; };
    observer.OnTick = [&] {
        seen += std::to_string(victim.bCollideActors) + " '" + victim.GetProperty("Tag") + "' " +
                std::to_string(victim.bDeleteMe) + " " + spawned->AnimSequence; // BeginPlay ran in Spawn
    };
    victim.bCollideActors = victim.bBlockPlayers = 1;
    victim.SetProperty("Tag", "door");
    victim.Owner = &observer;
    observer.Owner = &victim;
    UpdateActors(f.world, kStepDeltaTime);
    EXPECT_EQ(seen, "0 '' 1 Still");
    EXPECT_EQ(f.world.Actors.Num(), 3);  // the victim freed at the end of the step
    EXPECT_EQ(observer.Owner, nullptr); // and no reference to it survives
    EXPECT_EQ(spawned->Owner, &spawner);
    EXPECT_EQ(spawned->Location, (Vector{1, 0, 0}));
    EXPECT_EQ(spawned->Rotation.Yaw, 0); // not updated in the step that spawned it
    UpdateActor(*spawned, kStepDeltaTime);
    EXPECT_EQ(spawned->Rotation.Yaw, 100); // 6000 per second for 1/60 s: a spinner
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
    WorldFixture f;
    // Three planes X = 0, Y = 0 and Z = 0 under one another: eight leaf spaces around the origin.
    // Node 0 splits on X; nodes 1-2 on Y; nodes 3-6 on Z, whose sides are the leaves.
    LevelModel& model = f.world.CurrentLevel.Model;
    const Vector normals[3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    for (int i = 0; i < 7; ++i) {
        BspNode& n = model.Nodes.Emplace();
        n.NodePlane = {normals[i == 0 ? 0 : (i < 3 ? 1 : 2)], 0};
        n.Back = i < 3 ? 2 * i + 1 : -1;
        n.Front = i < 3 ? 2 * i + 2 : -1;
    }
    Actor a;
    a.XLevel = &f.world;
    a.CollisionHeight = 10;
    MoveActorTo(a, {50, 50, 50});
    EXPECT_EQ(ListedCount(f.world.CurrentLevel, a), 1); // well inside one octant
    MoveActorTo(a, {5, 50, -5});                         // straddles X = 0 and Z = 0
    EXPECT_EQ(ListedCount(f.world.CurrentLevel, a), 4);
    // Its size changes after it was filed (class defaults read later do this): taking it out
    // must still empty every list it is in (a freed pickup once stayed in a node's list).
    a.CollisionHeight = 1;
    a.Location = {100, 100, 100};
    a.Destroy();
    EXPECT_EQ(ListedCount(f.world.CurrentLevel, a), 0);
}

} // namespace
} // namespace orv
