// Demo 1 fights back, in the real program: a manta notices the player, turns, closes in and
// stings (each hit costs the player 20); god mode keeps him standing; a tentacle's spit bursts on
// the wall the player hides behind; the player's dispersion shots kill the pool room's tentacle,
// whose body keeps the last frame of its death; the court's birds circle their nests.
#include "GameCopy.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <regex>
#include <sstream>

namespace orv {
namespace {

using test::GameCopy;
using test::ProgramRun;

class MonstersOnDemo1 : public ::testing::Test {
protected:
    void SetUp() override { REQUIRE_PROGRAM(game_); }
    void Play(int steps, const std::string& script = "") {
        run_ = game_.Play("Demo1", steps, script, "--sound-log sounds.txt");
        ASSERT_EQ(run_.ExitCode, 0) << run_.Output << run_.Errors;
    }
    // The steps at which an actor asked for sounds containing the text.
    std::vector<int> Sounds(const std::string& actor, const std::string& text) const {
        std::ifstream in(game_.Path() / "work" / "sounds.txt");
        std::vector<int> steps;
        for (std::string line, who, sound; std::getline(in, line);) {
            int step = 0;
            std::istringstream(line) >> step >> who >> sound;
            if (who == actor && sound.find(text) != std::string::npos) {
                steps.push_back(step);
            }
        }
        return steps;
    }
    double Distance(const nlohmann::json& a, const nlohmann::json& b) const {
        return std::hypot(a[0].get<double>() - b[0].get<double>(), a[1].get<double>() - b[1].get<double>(),
                          a[2].get<double>() - b[2].get<double>());
    }
    GameCopy game_;
    ProgramRun run_;
};

TEST_F(MonstersOnDemo1, AMantaClosesInAndStingsForTwentyAHitWhileTheBirdsCircle) {
    game_.SetPlayerStart("Demo1", 200, 1300, 40); // 160 units from the court's manta
    Play(240);
    const nlohmann::json manta = run_.Dump.Actor("Manta0"), player = run_.Dump.Actor("Player");
    EXPECT_EQ(Sounds("Manta0", "MantaAcquire").size(), 1u);
    EXPECT_EQ(manta["AIState"], "attacking");
    EXPECT_EQ(manta["Target"], "Player");
    EXPECT_LT(Distance(manta["Location"], player["Location"]), manta["MeleeRange"].get<double>());
    const size_t hits = Sounds("Player", "injur").size();
    EXPECT_GE(hits, 2u);
    EXPECT_EQ(player["Health"], 100 - 20 * int(hits));
    for (const char* name : {"Bird10", "Bird11"}) {
        const nlohmann::json bird = run_.Dump.Actor(name);
        EXPECT_NEAR(Distance(bird["Location"], bird["HomeLocation"]), bird["CircleRadius"].get<double>(), 0.1);
        EXPECT_NEAR(bird["FlightTime"].get<double>(), 4.0, 0.01);
    }
    std::ifstream in(game_.Path() / "Orvane.ini");
    const std::string ini((std::istreambuf_iterator<char>(in)), {});
    game_.Write("Orvane.ini", std::regex_replace(ini, std::regex("GodMode=false"), "GodMode=true"));
    Play(900);
    EXPECT_EQ(run_.Dump.Actor("Player")["Health"], 100);
    EXPECT_GE(Sounds("Player", "injur").size(), 10u);
}

TEST_F(MonstersOnDemo1, ATentaclesSpitBurstsOnTheWallThePlayerHidesBehind) {
    game_.AddActor("Demo1", "Begin Actor Class=Tentacle Name=Tentacle9\n    Location=(X=900,Y=384,Z=110)\nEnd Actor");
    game_.SetPlayerStart("Demo1", 720, 250, 40); // in the hall, the corridor's wall between
    Play(200);
    EXPECT_EQ(Sounds("Tentacle9", "TentacleAcquire").size(), 1u);
    std::ifstream in(game_.Path() / "work" / "sounds.txt");
    const std::string log((std::istreambuf_iterator<char>(in)), {});
    EXPECT_NE(log.find("General.Explo1"), std::string::npos) << log;
    EXPECT_EQ(run_.Dump.Actor("Player")["Health"], 100);
}

TEST_F(MonstersOnDemo1, DispersionShotsKillTheTentacleWhoseBodyKeepsItsLastFrame) {
    // Across the pool room, out of the tentacle's sight, looking up at it.
    game_.SetPlayerStart("Demo1", 2000, 700, 170, 36118);
    Play(400, "1 key Delete down\n27 key Delete up\n30 key Ctrl down\n150 key Ctrl up\n");
    const nlohmann::json tentacle = run_.Dump.Actor("Tentacle0");
    EXPECT_LE(tentacle["Health"].get<int>(), 0);
    EXPECT_EQ(tentacle["AIState"], "dead");
    EXPECT_EQ(tentacle["AnimSequence"], "Dead2");
    EXPECT_FLOAT_EQ(tentacle["AnimFrame"].get<float>(), 0.999f);
    EXPECT_EQ(Sounds("Tentacle0", "TentacleDie").size(), 1u);
    EXPECT_GE(Sounds("Player", "DispShot").size(), 4u);
}

} // namespace
} // namespace orv
