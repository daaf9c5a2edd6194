// Levels that react, in the real program: the court door opens on its trigger, stays open and
// closes with its sounds in order; the lift carries the player up; the three seal marks complete
// the counter, whose chain ends in explosions going off link by link; and a lift of a real editor
// export, compiled by orvane-build, rises under the player.
#include "GameCopy.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace orv {
namespace {

namespace fs = std::filesystem;
using test::GameCopy;
using test::ProgramRun;

constexpr double kStand = 39.0; // the player's resting height above a floor

struct SoundAsked {
    int Step = 0;
    std::string Actor, Sound;
};

// The --sound-log of the last run: the sounds an actor asked for, in order.
std::vector<SoundAsked> SoundsOf(const GameCopy& game, const std::string& actor) {
    std::ifstream in(game.Path() / "work" / "sounds.txt");
    std::vector<SoundAsked> sounds;
    for (std::string line; std::getline(in, line);) {
        SoundAsked s;
        std::istringstream(line) >> s.Step >> s.Actor >> s.Sound;
        if (s.Actor == actor) {
            sounds.push_back(s);
        }
    }
    return sounds;
}

class LevelEvents : public ::testing::Test {
protected:
    void SetUp() override { REQUIRE_PROGRAM(game_); }
    const nlohmann::json& Actor(const std::string& name) {
        actor_ = run_.Dump.Actor(name);
        return actor_;
    }
    void Play(const std::string& level, int steps, const std::string& script = "") {
        run_ = game_.Play(level, steps, script, "--sound-log sounds.txt");
        ASSERT_EQ(run_.ExitCode, 0) << steps << " steps\n" << run_.Output << run_.Errors;
    }

    GameCopy game_;
    ProgramRun run_;
    nlohmann::json actor_;
};

TEST_F(LevelEvents, TheCourtDoorOpensOnItsTriggerStaysOpenAndClosesWithItsSounds) {
    // South of the court door's trigger, facing north: a few steps forward reach it.
    game_.SetPlayerStart("Demo1", 640, 600, 40, 16384);
    Play("Demo1", 450, "11 key W down\n40 key W up\n");
    EXPECT_EQ(Actor("Trigger1")["bTriggered"], 1);
    const std::vector<SoundAsked> sounds = SoundsOf(game_, "Mover0");
    ASSERT_EQ(sounds.size(), 4u);
    const char* expected[] = {"DoorOpen", "DoorOpened", "DoorClose", "DoorClosed"};
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(sounds[i].Sound, std::string("Sound'Orvane.Doors.") + expected[i] + "'");
    }
    // One second up (the class's MoveTime), four open (StayOpenTime), one down; 60 steps a second.
    EXPECT_NEAR(sounds[1].Step - sounds[0].Step, 60, 1);
    EXPECT_NEAR(sounds[2].Step - sounds[1].Step, 240, 2);
    EXPECT_NEAR(sounds[3].Step - sounds[2].Step, 60, 1);
    const nlohmann::json& door = Actor("Mover0");
    EXPECT_EQ(door["MoverState"], 0);
    EXPECT_EQ(door["Location"], door["BasePos"]); // back where it started
}

TEST_F(LevelEvents, TheLiftCarriesThePlayerUpToTheGallery) {
    game_.SetPlayerStart("Demo1", 2368, 384, 200); // dropping onto the lift, flush with the pool room floor
    Play("Demo1", 260);
    const nlohmann::json& lift = Actor("Mover2");
    EXPECT_EQ(lift["MoverState"], 2);
    EXPECT_NEAR(lift["Location"][2].get<double>(), 120.0 + 384.0, 0.5);
    const double top = lift["Location"][2].get<double>() + 8.0;
    EXPECT_NEAR(run_.Dump.Actor("Player")["Location"][2].get<double>(), top + kStand, 1.0);
    const std::vector<SoundAsked> sounds = SoundsOf(game_, "Mover2");
    ASSERT_EQ(sounds.size(), 2u);
    EXPECT_NEAR(sounds[1].Step - sounds[0].Step, 180, 1); // three seconds up
}

TEST_F(LevelEvents, TheSealMarksCompleteTheCounterAndTheChainGoesOffLinkByLink) {
    // In the metal corridor, walking east over the three marks.
    game_.SetPlayerStart("Demo1", 840, 384, 40);
    Play("Demo1", 90, "2 key W down\n");
    EXPECT_EQ(Actor("Counter0")["NumToCount"], 0);
    for (const char* mark : {"Trigger2", "Trigger3", "Trigger4"}) {
        EXPECT_TRUE(run_.Dump.Actor(mark).is_null()) << mark << " triggers once only";
    }
    EXPECT_EQ(run_.Dump.State["HudMessage"], "The seal breaks: the end of the corridor gives way!");
    EXPECT_EQ(Actor("Dispatcher0")["bActive"], 1);
    const std::vector<SoundAsked> rumble = SoundsOf(game_, "SpecialEvent1");
    ASSERT_EQ(rumble.size(), 1u); // the dispatcher's first out-event, half a second on

    // Two and a half seconds after the tremor the wall gives way and sets off the first link,
    // whose fuse is still burning; the second link waits for it.
    Play("Demo1", rumble[0].Step + 150 + 8, "2 key W down\n");
    EXPECT_TRUE(run_.Dump.Actor("ExplodingWall0").is_null());
    EXPECT_FALSE(run_.Dump.Actor("Explosion0").is_null()); // the wall's own blast
    EXPECT_EQ(Actor("ExplosionChain0")["bExploding"], 1);
    EXPECT_EQ(Actor("ExplosionChain1")["bExploding"], 0);
    EXPECT_EQ(Actor("Dispatcher0")["bActive"], 0);

    // Later both links have gone off, each leaving a blast scaled by its size; a blast lasts two
    // thirds of a second, so each is looked at in the step it appeared.
    Play("Demo1", rumble[0].Step + 270, "2 key W down\n");
    EXPECT_TRUE(run_.Dump.Actor("ExplosionChain0").is_null() && run_.Dump.Actor("ExplosionChain1").is_null());
    const std::vector<SoundAsked> first = SoundsOf(game_, "Explosion1"), second = SoundsOf(game_, "Explosion2");
    ASSERT_EQ(first.size() + second.size(), 2u);
    Play("Demo1", first[0].Step, "2 key W down\n");
    const double scale = Actor("Explosion1")["DrawScale"];
    Play("Demo1", second[0].Step, "2 key W down\n");
    EXPECT_GT(Actor("Explosion2")["DrawScale"].get<double>(), scale * 1.1); // the second link is 1.5 times the size
    EXPECT_EQ(Actor("Explosion2")["Rotation"][0], 16384);
}

TEST_F(LevelEvents, ARealExportsLiftRisesUnderThePlayer) {
    ORV_PEER_FILE(export_, "exports/DM-Liandri.t3d");
    std::ifstream in(export_);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    // One player start, moved above the lift (Mover1, its floor 24 below its location).
    const size_t first = text.find("Class=PlayerStart ");
    for (size_t at = text.find("Class=PlayerStart ", first + 1); at != std::string::npos;
         at = text.find("Class=PlayerStart ", at)) {
        text.replace(at, 18, "Class=PathNode ");
    }
    game_.Write("Maps/DM-Liandri.t3d", text);
    game_.SetPlayerStart("DM-Liandri", 768, 1872, 1100);
    const std::string build = "cd '" + game_.Path().string() + "' && '" + (test::GameDir() / "orvane-build").string() +
                              "' Maps/DM-Liandri.t3d --no-lighting --content . >build.txt 2>&1";
    ASSERT_EQ(std::system(build.c_str()), 0);

    Play("DM-Liandri", 120);
    const nlohmann::json& lift = Actor("Mover1");
    EXPECT_EQ(lift["MoverState"], 2); // up, after a second's ride
    EXPECT_NEAR(lift["Location"][2].get<double>(), 1048.0 + 512.0, 0.5);
    EXPECT_NEAR(run_.Dump.Actor("Player")["Location"][2].get<double>(), 1560.0 - 24.0 + kStand, 1.0);
    EXPECT_EQ(SoundsOf(game_, "Mover1").at(0).Sound, "Sound'DoorsMod.General.md2start'");
}

} // namespace
} // namespace orv
