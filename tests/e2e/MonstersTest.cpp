// Demo 1 fights back, in the real program: a manta notices the player, turns, closes in and
// stings (each hit costs the player 20); god mode keeps him standing; a tentacle's spit bursts on
// the wall the player hides behind; the player's dispersion shots kill the pool room's tentacle,
// whose body keeps the last frame of its death; the court's birds circle their nests.
#include "GameCopy.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <regex>

namespace orv {
namespace {

using Json = nlohmann::json;

struct MonstersOnDemo1 : ::testing::Test {
    void SetUp() override { REQUIRE_PROGRAM(game_); }
    // The run's sound log lines ("step actor sound volume") holding the text.
    size_t Play(int steps, const std::string& script, const std::string& text) {
        run_ = game_.Play("Demo1", steps, script, "--sound-log sounds.txt");
        EXPECT_EQ(run_.ExitCode, 0) << run_.Output << run_.Errors;
        std::ifstream in(game_.Path() / "work" / "sounds.txt");
        size_t count = 0;
        for (std::string line; std::getline(in, line);)
            count += line.find(text) != std::string::npos;
        return count;
    }
    static double Distance(const Json& a, const Json& b) {
        return std::hypot(a[0].get<double>() - b[0].get<double>(), a[1].get<double>() - b[1].get<double>(),
                          a[2].get<double>() - b[2].get<double>());
    }
    test::GameCopy game_;
    test::ProgramRun run_;
};

TEST_F(MonstersOnDemo1, AMantaClosesInAndStingsForTwentyAHitWhileTheBirdsCircle) {
    game_.SetPlayerStart("Demo1", 200, 1300, 40); // 160 units from the court's manta
    const size_t hits = Play(240, "", "injur");
    const Json manta = run_.Dump.Actor("Manta0"), player = run_.Dump.Actor("Player");
    EXPECT_EQ(std::tuple(manta["AIState"], manta["Target"]), std::tuple("attacking", "Player"));
    EXPECT_LT(Distance(manta["Location"], player["Location"]), manta["MeleeRange"].get<double>());
    EXPECT_GE(hits, 2u);
    EXPECT_EQ(player["Health"], 100 - 20 * int(hits));
    for (const Json& bird : {run_.Dump.Actor("Bird10"), run_.Dump.Actor("Bird11")}) {
        EXPECT_NEAR(Distance(bird["Location"], bird["HomeLocation"]), bird["CircleRadius"].get<double>(), 0.1);
        EXPECT_NEAR(bird["FlightTime"].get<double>(), 4.0, 0.01);
    }
    std::ifstream in(game_.Path() / "Orvane.ini");
    const std::string ini((std::istreambuf_iterator<char>(in)), {});
    game_.Write("Orvane.ini", std::regex_replace(ini, std::regex("GodMode=false"), "GodMode=true"));
    EXPECT_GE(Play(900, "", "injur"), 10u);
    EXPECT_EQ(run_.Dump.Actor("Player")["Health"], 100);
}

TEST_F(MonstersOnDemo1, ATentaclesSpitBurstsOnTheWallThePlayerHidesBehindAndShotsKillTheOther) {
    game_.AddActor("Demo1", "Begin Actor Class=Tentacle Name=Tentacle9\n    Location=(X=900,Y=384,Z=110)\nEnd Actor");
    game_.SetPlayerStart("Demo1", 720, 250, 40); // in the hall, the corridor's wall between
    EXPECT_GE(Play(200, "", "General.Explo1"), 1u);
    EXPECT_EQ(run_.Dump.Actor("Tentacle9")["AIState"], "attacking");
    EXPECT_EQ(run_.Dump.Actor("Player")["Health"], 100);
    // Across the pool room, out of the tentacle's sight, looking up at it.
    game_.SetPlayerStart("Demo1", 2000, 700, 170, 36118);
    EXPECT_EQ(Play(400, "1 key Delete down\n27 key Delete up\n30 key Ctrl down\n150 key Ctrl up\n", "TentacleDie"), 1u);
    const Json tentacle = run_.Dump.Actor("Tentacle0");
    EXPECT_LE(tentacle["Health"].get<int>(), 0);
    EXPECT_EQ(std::tuple(tentacle["AIState"], tentacle["AnimSequence"]), std::tuple("dead", "Dead2"));
    EXPECT_FLOAT_EQ(tentacle["AnimFrame"].get<float>(), 0.999f);
}

} // namespace
} // namespace orv
