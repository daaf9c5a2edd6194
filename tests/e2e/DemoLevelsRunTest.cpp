// The demo levels as `make run` plays them: the real orvane program, headless, loads each one the
// build compiled into the game tree, runs a second of fixed steps without a warning or an error,
// and leaves the player standing on the floor of the level.
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>

namespace orv {
namespace {

namespace fs = std::filesystem;

std::string ReadText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// The three numbers after "Location":[ in the player's dump line.
bool PlayerLocation(const std::string& dump, double out[3]) {
    const size_t player = dump.find("\"EngineClass\":\"PlayerPawn\"");
    const size_t at = player == std::string::npos ? player : dump.find("\"Location\":[", player);
    if (at == std::string::npos) {
        return false;
    }
    std::istringstream numbers(dump.substr(at + 12));
    char comma = 0;
    numbers >> out[0] >> comma >> out[1] >> comma >> out[2];
    return static_cast<bool>(numbers);
}

TEST(DemoLevelsRun, EachLevelLoadsAndRunsWithoutAWarning) {
    const fs::path game = test::GameDir();
    if (!fs::exists(game / "orvane")) {
        GTEST_SKIP() << "the orvane program is not built (game/orvane)";
    }
    ASSERT_TRUE(fs::exists(game / "Maps" / "Demo1.bsp")) << "the build compiles the demo levels into " << game;
    for (const char* level : {"Demo1", "Demo2"}) {
        SCOPED_TRACE(level);
        test::TempDir out;
        const std::string command =
            "cd '" + game.string() + "' && ./orvane --headless --fixed-step --steps 60 --dump '" +
            (out / "state.jsonl") + "' 'Maps\\" + level + ".t3d' >'" + (out / "stdout.txt") + "' 2>&1 </dev/null";
        const int status = std::system(command.c_str());
        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << ReadText(out / "stdout.txt");
        std::istringstream lines(ReadText(out / "stdout.txt"));
        bool finished = false;
        for (std::string line; std::getline(lines, line);) {
            finished |= line == "Finished loading level.";
            EXPECT_EQ(line.find("Warning"), std::string::npos) << line;
            EXPECT_NE(line.rfind("Error", 0), 0u) << line;
        }
        EXPECT_TRUE(finished);
        const std::string dump = ReadText(out / "state.jsonl");
        EXPECT_NE(dump.find(std::string("\"Level\":\"") + level + "\""), std::string::npos);
        double location[3] = {0, 0, 0};
        ASSERT_TRUE(PlayerLocation(dump, location)) << dump.substr(0, 400);
        EXPECT_NEAR(location[2], 39.0, 1.0) << "standing on the floor after a second";
    }
}

} // namespace
} // namespace orv
