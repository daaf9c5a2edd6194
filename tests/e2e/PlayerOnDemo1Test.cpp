// The player on Demo 1, as the real program plays it headless with scripted keys: walking speed,
// sliding along walls, stairs, jumps, a hard fall, swimming, lava, translator text, pickups, the
// teleporter and the level exit to Demo 2.
#include "DemoGame.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace orv {
namespace {

using test::DemoGame;
using test::DemoRun;

#define REQUIRE_DEMO(game)                                                                \
    if (!(game).Ready()) {                                                                \
        GTEST_SKIP() << "the orvane program or the demo levels are not built (game/)";   \
    }

// The player's resting height above a floor: its collision half height.
constexpr double kStand = 39.0;

TEST(PlayerOnDemo1, WalkingTwoSecondsCoversAboutSixHundredUnitsOnTheLevel) {
    DemoGame game;
    REQUIRE_DEMO(game);
    // The start faces east along the hall; W from step 11 to step 130: two seconds of walking.
    const DemoRun run = game.Run("Demo1", 130, "11 key W down\n");
    ASSERT_EQ(run.ExitCode, 0);
    const std::string player = run.ActorLine("Player");
    const auto at = run.Vector3(player, "Location");
    ASSERT_EQ(at.size(), 3u) << player;
    EXPECT_NEAR(at[0] - 96.0, 600.0, 25.0); // 300 units per second once up to speed
    EXPECT_NEAR(at[1], 384.0, 0.5);
    EXPECT_NEAR(at[2], kStand, 1.0); // Z steady on the flat floor
}

TEST(PlayerOnDemo1, WalkingIntoAWallStopsAndSlidesAlongIt) {
    DemoGame game;
    REQUIRE_DEMO(game);
    // Back and left: south-west, into the hall's west wall (X = 0) after about a third of a second.
    const DemoRun run = game.Run("Demo1", 82, "11 key S down\n11 key A down\n");
    const auto at = run.Vector3(run.ActorLine("Player"), "Location");
    ASSERT_EQ(at.size(), 3u);
    EXPECT_NEAR(at[0], 18.0, 2.0);   // held at the wall by the player's radius
    EXPECT_LT(at[1], 384.0 - 150.0); // but still sliding south
    EXPECT_GT(at[1], 60.0);
}

TEST(PlayerOnDemo1, StairsAreClimbedAndJumpsRiseAndLand) {
    DemoGame game;
    REQUIRE_DEMO(game);
    // At the foot of the stairs at the corridor's east end, facing them (east).
    game.SetPlayerStart("Demo1", 1230, 384, 40);
    DemoRun run = game.Run("Demo1", 120, "21 key W down\n"); // stopping short of the pool
    auto at = run.Vector3(run.ActorLine("Player"), "Location");
    ASSERT_EQ(at.size(), 3u);
    EXPECT_GT(at[0], 1536.0);                // into the pool room
    EXPECT_NEAR(at[2], 128.0 + kStand, 2.0); // standing on its floor, 128 up

    DemoGame hall;
    REQUIRE_DEMO(hall);
    run = hall.Run("Demo1", 35, "21 key Space down\n22 key Space up\n");
    at = run.Vector3(run.ActorLine("Player"), "Location");
    EXPECT_GT(at[2], kStand + 40.0); // in the air a quarter second after the jump
    run = hall.Run("Demo1", 120, "21 key Space down\n22 key Space up\n");
    at = run.Vector3(run.ActorLine("Player"), "Location");
    EXPECT_NEAR(at[2], kStand, 1.0); // and down again
    EXPECT_EQ(run.Number(run.ActorLine("Player"), "Health"), 100);
}

TEST(PlayerOnDemo1, AFallFromTheWatchtowerHurtsAndAHealthPackHeals) {
    DemoGame game;
    REQUIRE_DEMO(game);
    // On the court's watchtower, 1000 up: stepping back off its west edge lands above 1500 per second.
    game.SetPlayerStart("Demo1", 704, 1536, 1040);
    DemoRun run = game.Run("Demo1", 150, "11 key S down\n45 key S up\n");
    const std::string player = run.ActorLine("Player");
    EXPECT_NEAR(run.Vector3(player, "Location")[2], kStand, 2.0) << player; // down in the court
    const double hurt = run.Number(player, "Health");
    EXPECT_LT(hurt, 100);
    EXPECT_GT(hurt, 40);
    // A drop from the same height: first onto bare floor, then onto a health pack, which heals
    // its 20 at once and is gone.
    game.SetPlayerStart("Demo1", 400, 1536, 1040);
    run = game.Run("Demo1", 120);
    const double dropped = run.Number(run.ActorLine("Player"), "Health");
    EXPECT_LT(dropped, 100);
    game.AddActor("Demo1", "Begin Actor Class=Health Name=FloorPack\n    Location=(X=400,Y=1536,Z=8)\nEnd Actor");
    run = game.Run("Demo1", 120);
    EXPECT_EQ(run.Number(run.ActorLine("Player"), "Health"), std::min(100.0, dropped + 20));
    EXPECT_EQ(run.ActorLine("FloorPack"), "");
    EXPECT_EQ(run.Text(run.Dump[0], "HudMessage"), "You picked up a Health Pack +20");
}

TEST(PlayerOnDemo1, SwimmingInThePoolAndLavaInWholeSeconds) {
    DemoGame pool;
    REQUIRE_DEMO(pool);
    pool.SetPlayerStart("Demo1", 1984, 448, -10); // in the water, under the surface
    DemoRun run = pool.Run("Demo1", 40, "11 key Space down\n");
    std::string player = run.ActorLine("Player");
    EXPECT_GT(run.Vector3(player, "Location")[2], -10.0 + 32.0 + 40.0); // swimming up
    run = pool.Run("Demo1", 90);
    player = run.ActorLine("Player");
    EXPECT_EQ(run.Text(player, "CurrentZone"), "WaterZone0");
    EXPECT_EQ(run.Number(player, "bViewUnderwater"), 1);
    const double z = run.Vector3(player, "Location")[2];
    EXPECT_LT(z, 22.0);        // sinking ...
    EXPECT_GT(z, 22.0 - 60.0); // ... slowly

    DemoGame lava;
    REQUIRE_DEMO(lava);
    lava.SetPlayerStart("Demo1", 544, 1376, 0); // in the lava pit of the court
    run = lava.Run("Demo1", 55);
    EXPECT_EQ(run.Number(run.ActorLine("Player"), "Health"), 100); // not a whole second yet
    run = lava.Run("Demo1", 150);
    EXPECT_EQ(run.Number(run.ActorLine("Player"), "Health"), 60); // two whole seconds, 20 each
    EXPECT_EQ(run.Text(run.ActorLine("Player"), "CurrentZone"), "LavaZone0");
}

TEST(PlayerOnDemo1, TranslatorTextShowsOnlyWhileInside) {
    DemoGame game;
    REQUIRE_DEMO(game);
    DemoRun run = game.Run("Demo1", 30, "11 key W down\n"); // up to the translator, 104 units east
    EXPECT_EQ(run.Text(run.Dump[0], "TranslatorText").rfind("Orvane Halls. Doors, lifts", 0), 0u) << run.Dump[0];
    run = game.Run("Demo1", 70, "11 key W down\n"); // and past it
    EXPECT_EQ(run.Text(run.Dump[0], "TranslatorText"), "");
}

TEST(PlayerOnDemo1, TeleporterMovesThePlayerAndTheExitLoadsDemo2) {
    DemoGame game;
    REQUIRE_DEMO(game);
    game.SetPlayerStart("Demo1", 96, 1520, 40); // on the court's teleporter
    DemoRun run = game.Run("Demo1", 30);
    auto at = run.Vector3(run.ActorLine("Player"), "Location");
    ASSERT_EQ(at.size(), 3u);
    EXPECT_NEAR(at[0], 1600.0, 1.0); // at its destination in the pool room
    EXPECT_NEAR(at[1], 200.0, 1.0);
    EXPECT_NEAR(at[2], 128.0 + kStand, 2.0);

    game.SetPlayerStart("Demo1", 3400, 448, 552); // on the exit
    run = game.Run("Demo1", 30);
    EXPECT_TRUE(run.Logged("Loading level \"Maps\\Demo2.t3d\"..."));
    EXPECT_EQ(run.Text(run.Dump[0], "Level"), "Demo2");
    EXPECT_NE(run.ActorLine("Player"), "");
    EXPECT_EQ(run.ActorLine("Teleporter2"), ""); // Demo 1's actors are gone
}

} // namespace
} // namespace orv
