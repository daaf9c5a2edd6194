// Events between actors and the movers they drive: tag matching, counters, dispatchers, chains
// within one call, every mover state with its transitions, glide against constant speed, a door
// pushing the player and a mirrored brush. (The real program's runs on Demo 1 and a real export
// check the level pieces: tests/e2e/LevelEventsTest.)
#include "WorldFixture.h"

#include "core/Random.h"

#include "world/ActorBrush.h"
#include "world/Events.h"
#include "world/Mover.h"

#include <gtest/gtest.h>

#include <cmath>

namespace orv {
namespace {

struct EventsFixture : test::WorldFixture {
    EventsFixture() { AddEngineClasses(); }
    // A counter that counts the triggers it gets down from 100: a probe for who was triggered.
    Counter& Probe(const std::string& name, const std::string& tag) {
        return static_cast<Counter&>(AddActor("Counter", name, {{"Tag", tag}, {"NumToCount", "100"}}));
    }
    static int Hits(const Counter& c) { return 100 - std::stoi(c.GetProperty("NumToCount")); }
    // A box brush of half size h about the actor's location, faces outward.
    static void GiveBox(Actor& a, float h) {
        a.Brush = std::make_unique<ActorBrush>();
        const Vector c[8] = {{-h, -h, -h}, {h, -h, -h}, {h, h, -h}, {-h, h, -h},
                             {-h, -h, h},  {h, -h, h},  {h, h, h},  {-h, h, h}};
        const int faces[6][4] = {{0, 3, 2, 1}, {4, 5, 6, 7}, {0, 1, 5, 4}, {2, 3, 7, 6}, {1, 2, 6, 5}, {0, 4, 7, 3}};
        for (const auto& f : faces) {
            T3dPolygon p;
            p.Vertices = {c[f[0]], c[f[1]], c[f[2]], c[f[3]]};
            p.Normal = Normal(Cross(c[f[1]] - c[f[0]], c[f[2]] - c[f[0]]));
            TriangulatePolygon(a.Brush->Triangles, p);
        }
    }
    Mover& AddMover(const std::string& name, const test::Properties& lines) {
        test::Properties all = {{"KeyPos(1)", "(Z=100)"},
                                {"OpeningSound", "Open"},
                                {"OpenedSound", "Opened"},
                                {"ClosingSound", "Close"},
                                {"ClosedSound", "Closed"}};
        all.insert(all.end(), lines.begin(), lines.end());
        auto& m = static_cast<Mover&>(AddActor("Mover", name, all));
        GiveBox(m, 32);
        m.BeginPlay();
        return m;
    }
    void Steps(int n) {
        for (int i = 0; i < n; ++i) {
            UpdateActors(world, kStepDeltaTime);
        }
    }
};

TEST(Events, TagsMatchByteForByteWithOrWithoutQuotesAndNoEventFiresAnything) {
    EventsFixture f;
    Counter& bare = f.Probe("Bare", "Door");
    Counter& quoted = f.Probe("Quoted", "\"Door\"");
    Counter& lower = f.Probe("Lower", "door");
    Counter& untagged = f.Probe("Untagged", "");
    Counter& none = f.Probe("None", "none");
    Counter& ownClass = f.Probe("OwnClass", "\"Counter\"");
    for (const char* event : {"Door", "\"Door\""}) {
        TriggerEvent(f.world, event, nullptr, nullptr);
    }
    for (const char* nothing : {"", "\"\"", "\"NoNe\"", "\"none\""}) {
        TriggerEvent(f.world, nothing, nullptr, nullptr);
        BroadcastTrigger(f.world, nothing, nullptr, nullptr); // however an event is fired
    }
    TriggerEvent(f.world, "none", nullptr, nullptr); // without its quotes "none" is a name
    TriggerEvent(f.world, "\"Counter\"", nullptr, nullptr);
    EXPECT_EQ((std::vector<int>{f.Hits(bare), f.Hits(quoted), f.Hits(lower), f.Hits(untagged), f.Hits(none),
                                f.Hits(ownClass)}),
              (std::vector<int>{2, 2, 0, 0, 1, 0}));
    // Looking a tag up ignores case and quotes (a teleporter's URL="top" meets Tag="Top").
    EXPECT_EQ(FindActorByTag(f.world, "DOOR"), &bare);
    EXPECT_EQ(FindActorByTag(f.world, "\"door\""), &bare);
    EXPECT_EQ(FindActorByTag(f.world, ""), nullptr);

    // A touched trigger without an event reaches no untagged actor.
    CreatePlayerPawn(f.world);
    Actor& trigger = f.AddActor("Trigger", "Trigger0");
    trigger.Bump(nullptr);
    EXPECT_EQ(trigger.bTriggered, 1);
    EXPECT_EQ(f.Hits(untagged), 0);
}

TEST(Events, CountersDispatchersAndChainsWithinOneCall) {
    EventsFixture f;
    Actor& counter = f.AddActor("Counter", "Seal",
                                {{"NumToCount", "3"},
                                 {"bShowMessage", "True"},
                                 {"Event", "Link1"},
                                 {"CountMessage", "\"Only %i more\""},
                                 {"CompleteMessage", "\"Done\""}});
    // A chain inside one call: the counter's event completes a one-count counter, whose event
    // starts the dispatcher.
    f.AddActor("Counter", "Link", {{"Tag", "Link1"}, {"NumToCount", "1"}, {"Event", "Go"}});
    auto& dispatcher = static_cast<Dispatcher&>(f.AddActor("Dispatcher", "Dispatcher0",
                                                           {{"Tag", "Go"},
                                                            {"OutEvents(0)", "A"},
                                                            {"OutDelays(0)", "0.5"},
                                                            {"OutEvents(1)", "B"},
                                                            {"OutDelays(1)", "0.25"}}));
    Counter& a = f.Probe("ProbeA", "A");
    Counter& b = f.Probe("ProbeB", "B");
    std::vector<std::string> messages;
    for (int i = 0; i < 4; ++i) {
        counter.Trigger(nullptr, nullptr);
        messages.push_back(f.world.HudMessage);
    }
    EXPECT_EQ(messages, (std::vector<std::string>{"Only 2 more", "Only 1 more", "Done", "Done"}));
    EXPECT_EQ(counter.GetProperty("NumToCount"), "-1"); // later triggers do nothing
    EXPECT_EQ(dispatcher.bActive, 1);

    // The first out-event waits its delay, then one a step at most, the overshoot not carried;
    // a trigger while it runs is ignored.
    int firstA = 0, firstB = 0;
    for (int step = 1; step <= 60; ++step) {
        if (step < 40) {
            dispatcher.Trigger(nullptr, nullptr);
        }
        f.Steps(1);
        firstA = firstA ? firstA : (f.Hits(a) ? step : 0);
        firstB = firstB ? firstB : (f.Hits(b) ? step : 0);
    }
    EXPECT_EQ(firstA, 30); // half a second: below zero in the 30th step
    EXPECT_EQ(firstB, firstA + 16);
    EXPECT_EQ(f.Hits(a) + f.Hits(b), 2);
    EXPECT_EQ(dispatcher.OutIndex, -1);
}

TEST(Events, LightsQuakesAndAmbientSounds) {
    EventsFixture f;
    PlayerPawn* player = CreatePlayerPawn(f.world);
    player->bLanded = 1;
    auto& lamp = static_cast<TriggerLight&>(
        f.AddActor("TriggerLight", "Lamp", {{"LightBrightness", "200"}, {"InitialState", "TriggerToggle"}}));
    auto& quake = static_cast<Earthquake&>(f.AddActor(
        "Earthquake", "Quake", {{"magnitude", "1000"}, {"duration", "1"}, {"radius", "500"}, {"bThrowPlayer", "1"}}));
    auto& drip = static_cast<DynamicAmbientSound&>(f.AddActor("DynamicAmbientSound", "Drip",
                                                              {{"Sounds(0)", "Drip"},
                                                               {"bDontRepeat", "1"},
                                                               {"bInitiallyOn", "1"},
                                                               {"minReCheckTime", "0.1"},
                                                               {"maxReCheckTime", "0.1"},
                                                               {"playProbability", "1"}}));
    for (Actor* a : {static_cast<Actor*>(&lamp), static_cast<Actor*>(&quake), static_cast<Actor*>(&drip)}) {
        a->BeginPlay();
    }
    std::vector<int> brightness{lamp.LightBrightness}; // dark until triggered, then it toggles
    for (int i = 0; i < 3; ++i) {
        lamp.Trigger(nullptr, nullptr);
        brightness.push_back(lamp.LightBrightness);
    }
    EXPECT_EQ(brightness, (std::vector<int>{0, 200, 0, 200}));
    quake.Trigger(nullptr, nullptr); // a throw of 180 at most, at least 120 upwards
    EXPECT_GE(player->Velocity.Z, 120.0f);
    EXPECT_LE(Length(player->Velocity), 180.0f * 1.5f);
    player->EyeHeight = player->BaseEyeHeight;
    SeedRandom(1); // the shake lowers the eye by a random part, none in half the draws
    f.Steps(31);   // half a second: the quake throws again and shakes the eye down
    EXPECT_LT(player->EyeHeight, player->BaseEyeHeight);
    EXPECT_NE(player->Rotation, Rotator{});
    // One sound, bDontRepeat or not, is played again and again: at start and at each re-check
    // (0.1 s, seven steps as the timer counts) of the half second.
    EXPECT_EQ(std::ranges::count(f.services.Sounds, "Drip"), 1 + 4);
}

TEST(Movers, StatesTransitionsAndSounds) {
    EventsFixture f;
    Mover& toggle = f.AddMover("Toggle", {{"InitialState", "TriggerToggle"}});
    Mover& timed = f.AddMover("Timed", {{"InitialState", "TriggerOpenTimed"}, {"StayOpenTime", "0.5"}});
    Mover& once = f.AddMover("Once", {{"InitialState", "TriggerOpenTimed"}, {"bTriggerOnceOnly", "True"}});
    Mover& control = f.AddMover("Control", {{"InitialState", "TriggerControl"}});
    Mover& bump = f.AddMover("Bump", {{"MoverGlideType", "MV_MoveByTime"}});
    EXPECT_TRUE(timed.bTimedClose && !once.bTimedClose && !toggle.bTimedClose);
    for (Mover* m : {&toggle, &timed, &once, &control}) {
        m->Trigger(nullptr, nullptr);
    }
    bump.Bump(nullptr);
    f.Steps(15); // a quarter of the way: eased by the glide, straight without it
    EXPECT_NEAR(toggle.Location.Z - toggle.BasePos.Z, 100 * (1 - std::cos(3.14159265f * 0.25f)) / 2, 0.01f);
    EXPECT_NEAR(bump.Location.Z - bump.BasePos.Z, 25.0f, 0.01f);
    toggle.Trigger(nullptr, nullptr); // reverses from where it is
    control.UnTrigger(nullptr, nullptr);
    EXPECT_EQ(toggle.MoverState, EMoverState::Closing);
    EXPECT_EQ(control.MoverState, EMoverState::Closing);
    f.Steps(16);
    EXPECT_EQ(toggle.MoverState, EMoverState::Closed);
    EXPECT_EQ(toggle.KeyAlpha, 0.0f);
    f.Steps(46); // 77 steps in all: the others are up (after 61), resting just short of the key
    for (Mover* m : {&timed, &once}) {
        EXPECT_EQ(m->MoverState, EMoverState::Open);
        EXPECT_NEAR(m->KeyAlpha, 0.999f, 1e-5f);
    }
    f.Steps(31); // the timed one waits half a second, then closes; the once-only one stays
    EXPECT_EQ(timed.MoverState, EMoverState::Closing);
    EXPECT_EQ(once.MoverState, EMoverState::Open);
    EXPECT_EQ(f.services.Sounds, (std::vector<std::string>{"Open", "Open", "Open", "Open", "Open", "Close", "Close",
                                                           "Closed", "Closed", "Opened", "Opened", "Opened", "Close"}));
}

TEST(Movers, ADoorPushesThePlayerAndAMirroredBrushStillFacesOut) {
    EventsFixture f;
    f.AddQuad({-4000, -4000, -32}, {4000, -4000, -32}, {4000, 4000, -32}, {-4000, 4000, -32});
    f.FinishLevel();
    PlayerPawn* player = CreatePlayerPawn(f.world);
    MoveActorTo(*player, {60, 0, -32 + player->CollisionHeight + 0.5f}); // on the floor, clear of the door
    Mover& door = f.AddMover("Door", {{"KeyPos(1)", "(X=100)"}, {"InitialState", "TriggerOpenTimed"}});
    door.Trigger(nullptr, nullptr);
    f.Steps(60);
    EXPECT_NEAR(player->Location.X, 32 + 100 + player->CollisionRadius, 0.5f); // just ahead of its face
    EXPECT_NEAR(player->Location.Y, 0.0f, 0.01f);

    Mover& mirrored =
        f.AddMover("Mirrored", {{"MainScale", "(X=-1)"}, {"PostScale", "(Z=3)"}, {"Location", "(Y=500)"}});
    const BrushTransform placed = ActorBrushTransform(mirrored);
    for (const WorldTriangle& t : mirrored.Brush->Triangles) {
        const Vector a = BrushVertexToWorld(placed, t.Vertices[0]), b = BrushVertexToWorld(placed, t.Vertices[1]),
                     c = BrushVertexToWorld(placed, t.Vertices[2]);
        EXPECT_GT(Dot(Cross(b - a, c - a), (a + b + c) * (1.0f / 3) - mirrored.Location), 0.0f); // outward
    }
    // A brush reaching further than the default radius is found by its own.
    Mover& big = f.AddMover("Big", {{"Location", "(Y=-2000)"}});
    f.GiveBox(big, 400);
    big.BeginPlay();
    EXPECT_NEAR(big.BrushRadius, 400 * std::sqrt(3.0f), 0.1f);
}

} // namespace
} // namespace orv
