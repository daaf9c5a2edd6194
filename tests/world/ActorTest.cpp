// Actors: the class factory, the actor list's spawn and destroy rules, filing actors in the BSP,
// and the generic update (animation with notifies, timers, strobe lights, rotation).
#include "WorldFixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>

namespace orv {
namespace {

using test::WorldFixture;
using Counts = std::map<std::string, int>;

// Every engine class comes from its own name and its subclasses' (case-blind), the first row that
// matches winning: Bird1 before ScriptedPawn, DynamicZoneInfo before ZoneInfo ... The player is
// built at start-up, and every projectile but the player's flies as an enemy projectile.
TEST(ActorFactory, EveryEngineClassByNameAndBySubclass) {
    WorldFixture f;
    f.AddEngineClasses();
    for (int i = 0; i <= static_cast<int>(EngineClass::WavySurfaceInfo); ++i) {
        const auto c = static_cast<EngineClass>(i);
        const std::string name = EngineClassName(c);
        const bool plain = c == EngineClass::PlayerPawn || c == EngineClass::EnemyProjectile;
        const EngineClass expected =
            plain ? EngineClass::Actor : (c == EngineClass::Projectile ? EngineClass::EnemyProjectile : c);
        f.AddClass("My" + name, name);
        EXPECT_EQ(CreateActor(f.world, name)->GetEngineClass(), expected) << name;
        EXPECT_EQ(CreateActor(f.world, "MY" + name)->GetEngineClass(), expected) << name;
    }
    const auto unknown = CreateActor(f.world, "NoSuchClass");
    EXPECT_EQ(unknown->GetEngineClass(), EngineClass::Actor);
    EXPECT_EQ(unknown->Class, "NoSuchClass");
}

// Records what the update calls: notifies by function (with the frame), "end", "timer", "tick";
// its step also does whatever the test says.
struct Recorder : Actor {
    void AnimNotify(const MeshNotify& n) override { Note(n.Function, "@" + std::to_string(AnimFrame)); }
    void AnimEnd() override { Note("end"); }
    void Timer() override { Note("timer"); }
    void Tick(float) override {
        Note("tick");
        OnTick();
    }
    void Note(const std::string& what, const std::string& detail = "") {
        events.push_back(what + detail);
        ++counts[what];
    }
    void Steps(int n) {
        for (int i = 0; i < n; ++i) {
            UpdateActor(*this, kStepDeltaTime);
        }
    }
    std::function<void()> OnTick = [] {};
    std::vector<std::string> events;
    Counts counts;
};

// In one step the first actor destroys the second and spawns a spinner; the third looks at both.
TEST(ActorList, SpawnedActorsStartAtOnceDestroyedOnesAreSeenOffAndBothWaitForTheNextStep) {
    WorldFixture f;
    f.AddMesh("", "Top", {{"Still", 0, 1, 30.0f}});
    f.AddClass("Spinner", "", {{"Physics", "PHYS_Rotating"}, {"RotationRate", "(Yaw=6000)"}, {"Mesh", "Top"}});
    Recorder* actors[3];
    for (Recorder*& a : actors) {
        a = static_cast<Recorder*>(f.world.Actors[f.world.Actors.Add(std::make_unique<Recorder>())].get());
        a->XLevel = &f.world;
    }
    Recorder &spawner = *actors[0], &victim = *actors[1], &observer = *actors[2];
    Actor* spawned = nullptr;
    std::string seen;
    spawner.OnTick = [&] {
        victim.Destroy();
        spawned = Spawn(f.world, "Spinner", &spawner, "child", {1, 0, 0}, {});
    };
    observer.OnTick = [&] {
        seen = "collides " + std::to_string(victim.bCollideActors) + ", deleted " + std::to_string(victim.bDeleteMe) +
               ", ticked " + std::to_string(victim.counts.size()) + ", tag '" + victim.GetProperty("Tag") +
               "', spawned " + spawned->AnimSequence;
    };
    victim.bCollideActors = 1;
    victim.SetProperty("Tag", "door");
    victim.Owner = &observer;
    observer.Owner = &victim;
    UpdateActors(f.world, kStepDeltaTime);
    EXPECT_EQ(seen, "collides 0, deleted 1, ticked 0, tag '', spawned Still"); // BeginPlay ran in Spawn
    EXPECT_EQ(f.world.Actors.Num(), 3);  // the victim freed at the end of the step
    EXPECT_EQ(observer.Owner, nullptr);  // and no reference to it survives
    EXPECT_EQ(spawned->Rotation.Yaw, 0); // not updated in the step that spawned it
    UpdateActor(*spawned, kStepDeltaTime);
    EXPECT_EQ(spawned->Rotation.Yaw, 100); // 6000 per second for 1/60 s: a spinner
}

int ListedCount(const Level& level, const Actor& a) {
    int n = 0;
    for (const NodeActorLists& lists : level.NodeActors) {
        n += std::ranges::count(lists.Negative, &a) + std::ranges::count(lists.Positive, &a);
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
    MoveActorTo(a, {5, 50, -5});                        // straddles X = 0 and Z = 0
    EXPECT_EQ(ListedCount(f.world.CurrentLevel, a), 4);
    // Its size changes after it was filed (class defaults read later do this): taking it out
    // must still empty every list it is in (a freed pickup once stayed in a node's list).
    a.CollisionHeight = 1;
    a.Location = {100, 100, 100};
    a.Destroy();
    EXPECT_EQ(ListedCount(f.world.CurrentLevel, a), 0);
}

TEST(ActorUpdate, NotifiesFireOncePerPassAndTheSequenceWraps) {
    WorldFixture f;
    Mesh& mesh = f.AddMesh("", "Walker", {{"Walk", 0, 10, 10.0f}, {"Idle", 10, 5, 5.0f}}); // Walk: one pass a second
    mesh.Notifies = {
        {"walk", 0.0f, "Start"}, {"Walk", 0.5f, "Half"}, {"WALK", 1.5f, "Never"}, {"Idle", 0.0f, "OtherSequence"}};
    Recorder a;
    a.XLevel = &f.world;
    a.MeshRef = &mesh;
    a.Steps(1);                // a mesh but no current sequence: nothing but the tick
    PlayAnim(a, "Walk", 0.0f); // at rate 0 the frame stays at 0, which fires only notifies at time 0
    a.Steps(199);
    EXPECT_EQ(a.AnimFrame, 0.0f);
    EXPECT_EQ(a.counts, (Counts{{"Start", 1}, {"tick", 200}}));
    a.counts.clear();
    a.events.clear();
    PlayAnim(a, "walk", 1.0f);
    EXPECT_EQ(a.AnimSequence, "Walk");
    // A little over two one-second passes: time 0 fires on the first update of each pass, a time
    // above 1 never, and another sequence's notifies not at all.
    a.Steps(125);
    EXPECT_EQ(a.counts, (Counts{{"Half", 2}, {"Start", 3}, {"end", 2}, {"tick", 125}}));
    EXPECT_EQ(a.events[0], "Start@0.016667"); // notifies come after the frame moved, before the tick
    EXPECT_LT(a.AnimFrame, 0.06f);            // after a wrap the frame restarts at exactly 0
    PlayAnim(a, "NoSuchSequence", 1.0f);
    EXPECT_EQ(a.AnimSequence, "Walk"); // an unknown name changes nothing
    PlayAnim(a, "", 1.0f);
    EXPECT_EQ(a.CurrentSequence, nullptr);
    EXPECT_EQ(a.AnimSequence, "");
}

// A timer shorter than a step still fires once a step, before the tick; a strobe light is off
// every other step; a spinner turns by its rate, rounded each step, without wrapping.
TEST(ActorUpdate, TimersStrobesAndRotation) {
    WorldFixture f;
    Recorder looping, once, spinner;
    looping.XLevel = once.XLevel = spinner.XLevel = &f.world;
    looping.SetTimer(0.001f, true);
    looping.LightType = lt_strobe;
    looping.Steps(5);
    EXPECT_EQ(looping.counts, (Counts{{"tick", 5}, {"timer", 5}}));
    EXPECT_EQ(looping.bLightOff, 1);
    once.SetTimer(0.05f, false);
    once.LightType = lt_strobe;
    once.Steps(10);
    EXPECT_EQ(once.counts, (Counts{{"tick", 10}, {"timer", 1}})); // then it is off
    EXPECT_EQ(once.events[2], "timer");                           // in the third step
    EXPECT_EQ(once.bLightOff, 0);
    spinner.Physics = phys_rotating;
    spinner.RotationRate = {0, 65536 * 3, -90};
    spinner.Rotation = {0, 65000, 0};
    spinner.Steps(60);
    EXPECT_EQ(spinner.Rotation.Yaw, 65000 + 60 * 3277); // 196608 / 60 = 3276.8, rounded each step
    EXPECT_EQ(spinner.Rotation.Roll, -60 * 2);          // -1.5000001 per step rounds to -2
}

} // namespace
} // namespace orv
