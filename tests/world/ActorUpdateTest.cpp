// The generic update: animation with notifies, timers, light flicker and strobe, rotation.
#include "WorldFixture.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

using test::WorldFixture;

struct Recorder : Actor {
    void AnimNotify(const MeshNotify& n) override { events.push_back("notify:" + n.Function + "@" + std::to_string(AnimFrame)); }
    void AnimEnd() override { events.push_back("end"); }
    void Timer() override { events.push_back("timer"); }
    void Tick(float) override { events.push_back("tick"); }
    std::vector<std::string> events;
    int Count(const std::string& prefix) const {
        int n = 0;
        for (const auto& e : events) {
            n += e.rfind(prefix, 0) == 0;
        }
        return n;
    }
};

struct AnimatedFixture : WorldFixture {
    AnimatedFixture() {
        auto m = std::make_unique<Mesh>();
        m->Name = "Walker";
        m->Sequences.Add({"Walk", 0, 10, 10.0f}); // one pass per second at rate 1
        m->Sequences.Add({"Idle", 10, 5, 5.0f});
        m->Notifies.Add({"walk", 0.0f, "Start"});
        m->Notifies.Add({"Walk", 0.5f, "Half"});
        m->Notifies.Add({"WALK", 1.5f, "Never"});
        m->Notifies.Add({"Idle", 0.0f, "OtherSequence"});
        mesh = m.get();
        res.Meshes.Add(std::move(m));
        actor.XLevel = &world;
        actor.MeshRef = mesh;
    }
    Mesh* mesh;
    Recorder actor;
};

TEST(ActorUpdate, NotifiesFireOncePerPassAndTheSequenceWraps) {
    AnimatedFixture f;
    PlayAnim(f.actor, "walk", 1.0f);
    EXPECT_EQ(f.actor.AnimSequence, "Walk");
    EXPECT_EQ(f.actor.AnimRate, 10.0f);
    for (int step = 0; step < 125; ++step) { // a little over two one-second passes
        UpdateActor(f.actor, kStepDeltaTime);
    }
    EXPECT_EQ(f.actor.Count("notify:Start"), 3); // time 0 fires on the first update of each pass
    EXPECT_EQ(f.actor.Count("notify:Half"), 2);
    EXPECT_EQ(f.actor.Count("notify:Never"), 0); // a time above 1 never fires
    EXPECT_EQ(f.actor.Count("notify:OtherSequence"), 0);
    EXPECT_EQ(f.actor.Count("end"), 2);
    EXPECT_EQ(f.actor.Count("tick"), 125);
    // The order inside one update: notifies, then the wrap, then the tick.
    EXPECT_EQ(f.actor.events[0], "notify:Start@0.016667");
    // After a wrap the frame restarts at exactly 0 and the fired bits are clear.
    EXPECT_LT(f.actor.AnimFrame, 0.06f);
}

TEST(ActorUpdate, NothingAnimatesWithoutASequenceOrRate) {
    AnimatedFixture f;
    UpdateActor(f.actor, kStepDeltaTime); // a mesh but no current sequence
    EXPECT_EQ(f.actor.Count("notify"), 0);
    PlayAnim(f.actor, "Walk", 0.0f);
    for (int step = 0; step < 200; ++step) {
        UpdateActor(f.actor, kStepDeltaTime);
    }
    EXPECT_EQ(f.actor.AnimFrame, 0.0f);
    EXPECT_EQ(f.actor.Count("end"), 0);
    EXPECT_EQ(f.actor.Count("notify:Start"), 1); // time 0 is reached at frame 0
    PlayAnim(f.actor, "NoSuchSequence", 1.0f);
    EXPECT_EQ(f.actor.AnimSequence, "Walk"); // an unknown name changes nothing
    PlayAnim(f.actor, "", 1.0f);
    EXPECT_EQ(f.actor.CurrentSequence, nullptr);
    EXPECT_EQ(f.actor.AnimSequence, "");
}

TEST(ActorUpdate, TimersFireAtMostOncePerStep) {
    WorldFixture f;
    Recorder a;
    a.XLevel = &f.world;
    a.SetTimer(0.001f, true); // shorter than a step: still once per step
    for (int i = 0; i < 5; ++i) {
        UpdateActor(a, kStepDeltaTime);
    }
    EXPECT_EQ(a.Count("timer"), 5);
    EXPECT_TRUE(a.bTimerActive);
    Recorder once;
    once.XLevel = &f.world;
    once.SetTimer(0.05f, false);
    for (int i = 0; i < 10; ++i) {
        UpdateActor(once, kStepDeltaTime);
    }
    EXPECT_EQ(once.Count("timer"), 1); // fires in the third step, then is off
    EXPECT_FALSE(once.bTimerActive);
    EXPECT_EQ(once.events[2], "timer"); // tick, tick, timer, tick ...
}

TEST(ActorUpdate, StrobeFollowsStepsAndFlickerIsRandom) {
    WorldFixture f;
    Actor strobe, flicker;
    strobe.XLevel = flicker.XLevel = &f.world;
    strobe.LightType = lt_strobe;
    flicker.LightType = lt_flicker;
    int flickerOff = 0;
    for (int i = 0; i < 1000; ++i) {
        UpdateActor(strobe, kStepDeltaTime);
        EXPECT_EQ(strobe.bLightOff, i % 2 == 0 ? 1 : 0);
        UpdateActor(flicker, kStepDeltaTime);
        flickerOff += flicker.bLightOff;
    }
    EXPECT_GT(flickerOff, 400);
    EXPECT_LT(flickerOff, 600);
}

TEST(ActorUpdate, RotatingPhysicsTurnsByTheRateWithoutWrapping) {
    WorldFixture f;
    Actor a;
    a.XLevel = &f.world;
    a.Physics = phys_rotating;
    a.RotationRate = {0, 65536 * 3, -90};
    a.Rotation = {0, 65000, 0};
    for (int i = 0; i < 60; ++i) {
        UpdateActor(a, kStepDeltaTime);
    }
    EXPECT_EQ(a.Rotation.Yaw, 65000 + 60 * 3277); // 196608 / 60 = 3276.8, rounded each step
    EXPECT_EQ(a.Rotation.Roll, -60 * 2);         // -1.5000001 per step rounds to -2
}

} // namespace
} // namespace orv
