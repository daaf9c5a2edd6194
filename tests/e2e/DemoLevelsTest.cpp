// The demo levels in the real program, headless: each one as `make run` plays it, and the player
// on Demo 1 with scripted keys: walking speed, sliding along walls, stairs, jumps, a hard fall,
// swimming, lava, translator text, pickups, the teleporter and the level exit to Demo 2.
#include "GameCopy.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace orv {
namespace {

namespace fs = std::filesystem;
using test::GameCopy;
using test::ProgramRun;

// The player's resting height above a floor: its collision half height.
constexpr double kStand = 39.0;

// In the build's own game tree and settings, each level the build compiled loads and runs a
// second of fixed steps without a warning or an error, and the player stands on the floor.
TEST(DemoLevelsRun, EachLevelLoadsAndRunsWithoutAWarning) {
    const fs::path game = test::GameDir();
    if (!fs::exists(game / "orvane")) {
        GTEST_SKIP() << "the orvane program is not built (game/orvane)";
    }
    ASSERT_TRUE(fs::exists(game / "Maps" / "Demo1.bsp")) << "the build compiles the demo levels into " << game;
    for (const std::string level : {"Demo1", "Demo2"}) {
        SCOPED_TRACE(level);
        test::TempDir work;
        const ProgramRun run = test::RunProgram(game / "orvane", work.Path(),
                                                "--headless --fixed-step --steps 60 --dump dump.jsonl 'Maps\\" + level + ".t3d'");
        ASSERT_EQ(run.ExitCode, 0) << run.Output << run.Errors;
        EXPECT_TRUE(run.Logged("Finished loading level."));
        for (const std::string& line : SplitLines(run.Output + run.Errors)) {
            EXPECT_EQ(line.find("Warning"), std::string::npos) << line;
            EXPECT_NE(line.rfind("Error", 0), 0u) << line;
        }
        EXPECT_EQ(run.Dump.State["Level"], level);
        EXPECT_NEAR(run.Dump.Actor("Player")["Location"][2].get<double>(), kStand, 1.0) << "on the floor after a second";
    }
}

// The player's place, health and zone at the end of a run.
struct PlayerAtEnd {
    double X = 0, Y = 0, Z = 0;
    int Health = 0;
    std::string Zone;
};

class PlayerOnDemo1 : public ::testing::Test {
protected:
    void SetUp() override { REQUIRE_PROGRAM(game_); }

    // Plays Demo 1 in a copy (the test's own, or another) and keeps the run in run_.
    PlayerAtEnd Play(int steps, const std::string& script = "", const GameCopy* copy = nullptr) {
        run_ = (copy ? *copy : game_).Play("Demo1", steps, script);
        const nlohmann::json p = run_.Dump.Actor("Player");
        if (p.is_null()) {
            ADD_FAILURE() << "no player in the dump\n" << run_.Output << run_.Errors;
            return {};
        }
        return {p["Location"][0], p["Location"][1], p["Location"][2], p["Health"], p["CurrentZone"]};
    }

    GameCopy game_;
    ProgramRun run_;
};

TEST_F(PlayerOnDemo1, WalkingCoversAboutSixHundredUnitsInTwoSecondsAndSlidesAlongWalls) {
    // The start faces east along the hall; W from step 11 to step 130: two seconds of walking.
    PlayerAtEnd p = Play(130, "11 key W down\n");
    EXPECT_EQ(run_.ExitCode, 0);
    EXPECT_NEAR(p.X - 96.0, 600.0, 25.0); // 300 units per second once up to speed
    EXPECT_NEAR(p.Y, 384.0, 0.5);
    EXPECT_NEAR(p.Z, kStand, 1.0); // Z steady on the flat floor
    // Back and left: south-west, into the hall's west wall (X = 0) after about a third of a second.
    p = Play(82, "11 key S down\n11 key A down\n");
    EXPECT_NEAR(p.X, 18.0, 2.0);   // held at the wall by the player's radius
    EXPECT_LT(p.Y, 384.0 - 150.0); // but still sliding south
    EXPECT_GT(p.Y, 60.0);
}

TEST_F(PlayerOnDemo1, StairsAreClimbedAndJumpsRiseAndLand) {
    PlayerAtEnd p = Play(35, "21 key Space down\n22 key Space up\n");
    EXPECT_GT(p.Z, kStand + 40.0); // in the air a quarter second after the jump
    p = Play(120, "21 key Space down\n22 key Space up\n");
    EXPECT_NEAR(p.Z, kStand, 1.0); // and down again
    EXPECT_EQ(p.Health, 100);
    // At the foot of the stairs at the corridor's east end, facing them (east).
    game_.SetPlayerStart("Demo1", 1230, 384, 40);
    p = Play(120, "21 key W down\n"); // stopping short of the pool
    EXPECT_GT(p.X, 1536.0);                // into the pool room
    EXPECT_NEAR(p.Z, 128.0 + kStand, 2.0); // standing on its floor, 128 up
}

TEST_F(PlayerOnDemo1, AFallFromTheWatchtowerHurtsAndAHealthPackHeals) {
    // On the court's watchtower, 1000 up: stepping back off its west edge lands above 1500 per second.
    game_.SetPlayerStart("Demo1", 704, 1536, 1040);
    const PlayerAtEnd hurt = Play(150, "11 key S down\n45 key S up\n");
    EXPECT_NEAR(hurt.Z, kStand, 2.0); // down in the court
    EXPECT_LT(hurt.Health, 100);
    EXPECT_GT(hurt.Health, 40);
    // A drop from the same height: first onto bare floor, then onto a health pack, which heals
    // its 20 at once and is gone.
    game_.SetPlayerStart("Demo1", 400, 1536, 1040);
    const int dropped = Play(120).Health;
    EXPECT_LT(dropped, 100);
    game_.AddActor("Demo1", "Begin Actor Class=Health Name=FloorPack\n    Location=(X=400,Y=1536,Z=8)\nEnd Actor");
    EXPECT_EQ(Play(120).Health, std::min(100, dropped + 20));
    EXPECT_TRUE(run_.Dump.Actor("FloorPack").is_null());
    EXPECT_EQ(run_.Dump.State["HudMessage"], "You picked up a Health Pack +20");
}

TEST_F(PlayerOnDemo1, SwimmingInThePoolAndLavaInWholeSeconds) {
    game_.SetPlayerStart("Demo1", 1984, 448, -10); // in the water, under the surface
    EXPECT_GT(Play(40, "11 key Space down\n").Z, -10.0 + 32.0 + 40.0); // swimming up
    const PlayerAtEnd p = Play(90);
    EXPECT_EQ(p.Zone, "WaterZone0");
    EXPECT_EQ(run_.Dump.Actor("Player")["bViewUnderwater"], 1);
    EXPECT_LT(p.Z, 22.0);        // sinking ...
    EXPECT_GT(p.Z, 22.0 - 60.0); // ... slowly

    GameCopy lava;
    lava.SetPlayerStart("Demo1", 544, 1376, 0); // in the lava pit of the court
    EXPECT_EQ(Play(55, "", &lava).Health, 100); // not a whole second yet
    const PlayerAtEnd burnt = Play(150, "", &lava);
    EXPECT_EQ(burnt.Health, 60); // two whole seconds, 20 each
    EXPECT_EQ(burnt.Zone, "LavaZone0");
}

TEST_F(PlayerOnDemo1, TranslatorTextShowsOnlyWhileInside) {
    Play(30, "11 key W down\n"); // up to the translator, 104 units east
    EXPECT_EQ(run_.Dump.State["TranslatorText"].get<std::string>().rfind("Orvane Halls. Doors, lifts", 0), 0u)
        << run_.Dump.State;
    Play(70, "11 key W down\n"); // and past it
    EXPECT_EQ(run_.Dump.State["TranslatorText"], "");
}

TEST_F(PlayerOnDemo1, TeleporterMovesThePlayerAndTheExitLoadsDemo2) {
    game_.SetPlayerStart("Demo1", 96, 1520, 40); // on the court's teleporter
    const PlayerAtEnd p = Play(30);
    EXPECT_NEAR(p.X, 1600.0, 1.0); // at its destination in the pool room
    EXPECT_NEAR(p.Y, 200.0, 1.0);
    EXPECT_NEAR(p.Z, 128.0 + kStand, 2.0);

    game_.SetPlayerStart("Demo1", 3400, 448, 552); // on the exit
    Play(30);
    EXPECT_TRUE(run_.Logged("Loading level \"Maps\\Demo2.t3d\"..."));
    EXPECT_EQ(run_.Dump.State["Level"], "Demo2");
    EXPECT_TRUE(run_.Dump.Actor("Teleporter2").is_null()); // Demo 1's actors are gone
}

} // namespace
} // namespace orv
