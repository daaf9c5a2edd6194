// The generic update: animation with notifies, timers, light flicker and strobe, rotation.
#include "WorldFixture.h"

#include <gtest/gtest.h>

#include <map>

namespace orv {
namespace {

using test::WorldFixture;
using Counts = std::map<std::string, int>;

// Records what the update calls: notifies by function (with the frame), "end", "timer", "tick".
struct Recorder : Actor {
    void AnimNotify(const MeshNotify& n) override { Note(n.Function, "@" + std::to_string(AnimFrame)); }
    void AnimEnd() override { Note("end"); }
    void Timer() override { Note("timer"); }
    void Tick(float) override { Note("tick"); }
    void Note(const std::string& what, const std::string& detail = "") {
        events.push_back(what + detail);
        ++counts[what];
    }
    void Steps(int n) {
        for (int i = 0; i < n; ++i) {
            UpdateActor(*this, kStepDeltaTime);
        }
    }
    std::vector<std::string> events;
    Counts counts;
};

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

TEST(ActorUpdate, TimersStrobeFlickerAndRotation) {
    WorldFixture f;
    Recorder looping, once;
    Actor strobe, flicker, spinner;
    for (Actor* a : std::initializer_list<Actor*>{&looping, &once, &strobe, &flicker, &spinner}) {
        a->XLevel = &f.world;
    }
    looping.SetTimer(0.001f, true); // shorter than a step: still once per step
    looping.Steps(5);
    EXPECT_EQ(looping.counts, (Counts{{"tick", 5}, {"timer", 5}}));
    once.SetTimer(0.05f, false);
    once.Steps(10);
    EXPECT_EQ(once.counts, (Counts{{"tick", 10}, {"timer", 1}})); // then it is off
    EXPECT_EQ(once.events[2], "timer");                           // in the third step, before its tick

    strobe.LightType = lt_strobe; // off every other step
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

    spinner.Physics = phys_rotating; // turns by its rate, without wrapping
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
