// The generic update: animation with notifies, timers, light flicker and strobe, rotation.
#include "WorldFixture.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace orv {
namespace {

using test::WorldFixture;

struct Recorder : Actor {
    void AnimNotify(const MeshNotify& n) override {
        events.push_back("notify:" + n.Function + "@" + std::to_string(AnimFrame));
    }
    void AnimEnd() override { events.push_back("end"); }
    void Timer() override { events.push_back("timer"); }
    void Tick(float) override { events.push_back("tick"); }
    std::vector<std::string> events;
    int Count(const std::string& prefix) const {
        return static_cast<int>(
            std::count_if(events.begin(), events.end(), [&](const std::string& e) { return e.rfind(prefix, 0) == 0; }));
    }
    void Steps(int n) {
        for (int i = 0; i < n; ++i) {
            UpdateActor(*this, kStepDeltaTime);
        }
    }
};

TEST(ActorUpdate, NotifiesFireOncePerPassAndTheSequenceWraps) {
    WorldFixture f;
    Mesh& mesh = f.AddMesh("", "Walker", {{"Walk", 0, 10, 10.0f}, {"Idle", 10, 5, 5.0f}}); // Walk: one pass a second
    mesh.Notifies = {
        {"walk", 0.0f, "Start"}, {"Walk", 0.5f, "Half"}, {"WALK", 1.5f, "Never"}, {"Idle", 0.0f, "OtherSequence"}};
    Recorder a;
    a.XLevel = &f.world;
    a.MeshRef = &mesh;
    a.Steps(1); // a mesh but no current sequence: nothing
    EXPECT_EQ(a.Count("notify"), 0);
    PlayAnim(a, "Walk", 0.0f); // at rate 0 the frame stays at 0, which fires only notifies at time 0
    a.Steps(200);
    EXPECT_EQ(a.AnimFrame, 0.0f);
    EXPECT_EQ(a.Count("end"), 0);
    EXPECT_EQ(a.Count("notify:Start"), 1);
    a.events.clear();
    PlayAnim(a, "walk", 1.0f);
    EXPECT_EQ(a.AnimSequence, "Walk");
    a.Steps(125);                          // a little over two one-second passes
    EXPECT_EQ(a.Count("notify:Start"), 3); // time 0 fires on the first update of each pass
    EXPECT_EQ(a.Count("notify:Half"), 2);
    EXPECT_EQ(a.Count("notify:Never"), 0); // a time above 1 never fires
    EXPECT_EQ(a.Count("notify:OtherSequence"), 0);
    EXPECT_EQ(a.Count("end"), 2);
    EXPECT_EQ(a.Count("tick"), 125);
    // The order inside one update: notifies, then the wrap, then the tick.
    EXPECT_EQ(a.events[0], "notify:Start@0.016667");
    // After a wrap the frame restarts at exactly 0 and the fired bits are clear.
    EXPECT_LT(a.AnimFrame, 0.06f);
    PlayAnim(a, "NoSuchSequence", 1.0f);
    EXPECT_EQ(a.AnimSequence, "Walk"); // an unknown name changes nothing
    PlayAnim(a, "", 1.0f);
    EXPECT_EQ(a.CurrentSequence, nullptr);
    EXPECT_EQ(a.AnimSequence, "");
}

TEST(ActorUpdate, TimersStrobeFlickerAndRotation) {
    WorldFixture f;
    Recorder looping, once;
    looping.XLevel = once.XLevel = &f.world;
    looping.SetTimer(0.001f, true); // shorter than a step: still once per step
    looping.Steps(5);
    EXPECT_EQ(looping.Count("timer"), 5);
    once.SetTimer(0.05f, false);
    once.Steps(10);
    EXPECT_EQ(once.Count("timer"), 1); // fires in the third step, then is off
    EXPECT_FALSE(once.bTimerActive);
    EXPECT_EQ(once.events[2], "timer"); // tick, tick, timer, tick ...

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

    Actor spinner; // turns by its rate, without wrapping
    spinner.XLevel = &f.world;
    spinner.Physics = phys_rotating;
    spinner.RotationRate = {0, 65536 * 3, -90};
    spinner.Rotation = {0, 65000, 0};
    for (int i = 0; i < 60; ++i) {
        UpdateActor(spinner, kStepDeltaTime);
    }
    EXPECT_EQ(spinner.Rotation.Yaw, 65000 + 60 * 3277); // 196608 / 60 = 3276.8, rounded each step
    EXPECT_EQ(spinner.Rotation.Roll, -60 * 2);          // -1.5000001 per step rounds to -2
}

} // namespace
} // namespace orv
