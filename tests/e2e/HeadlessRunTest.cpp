// The real orvane program, run headless as CI runs it, on a small level of its own: start-up,
// the fixed-step loop, the harness options and both ways out.
#include "GameCopy.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace orv {
namespace {

namespace fs = std::filesystem;
using test::GameCopy;
using test::ProgramRun;

constexpr const char* kMinimalIni =
    "ScreenWidth=320\r\nScreenHeight=240\r\nScreenMode=Windowed\r\nFOV=90\r\nInitialLevel=Tiny\r\n";

// A small level: a floor, its LevelInfo, a player start, a light, a trigger and a door.
void WriteTinyLevel(const GameCopy& game) {
    test::WriteFloorModel(game, "Tiny");
    game.Write("Maps/Tiny.t3d", R"(Begin Map
Begin Actor Class=LevelInfo Name=LevelInfo0
    Title="A Tiny Level"
End Actor
Begin Actor Class=PlayerStart Name=PlayerStart0
    Location=(X=100.000000,Y=-200.000000,Z=48.000000)
    Rotation=(Yaw=16384)
End Actor
Begin Actor Class=Light Name=Light0
    Location=(X=0.000000,Y=0.000000,Z=200.000000)
    LightBrightness=300
    LightRadius=32
    LightType=LT_Pulse
    Tag=lamp
End Actor
Begin Actor Class=Trigger Name=Trigger0
    Location=(X=500.000000,Y=0.000000,Z=40.000000)
    Event=door
    CollisionRadius=64
End Actor
Begin Actor Class=Mover Name=Mover0
    Location=(X=0.000000,Y=512.000000,Z=0.000000)
    KeyPos(1)=(Z=128.000000)
    InitialState=TriggerOpenTimed
    Tag=door
    Begin Brush Name=Model1
        Begin PolyList
            Begin Polygon Texture=Orvane.Metal.Plate
                Origin   +00000.000000,+00000.000000,+00000.000000
                TextureU +00001.000000,+00000.000000,+00000.000000
                TextureV +00000.000000,+00000.000000,+00001.000000
                Vertex   -00064.000000,+00000.000000,+00000.000000
                Vertex   +00064.000000,+00000.000000,+00000.000000
                Vertex   +00064.000000,+00000.000000,+00128.000000
                Vertex   -00064.000000,+00000.000000,+00128.000000
            End Polygon
        End PolyList
    End Brush
End Actor
End Map
)");
}

// A copy of the program with the small level and settings that play it.
class HeadlessRun : public ::testing::Test {
protected:
    void SetUp() override {
        REQUIRE_PROGRAM(game_);
        WriteTinyLevel(game_);
        game_.Write("Orvane.ini", kMinimalIni);
    }

    // A fatal error: exit code 0, the error line, then "Exiting." last.
    static void ExpectFatal(const ProgramRun& run, const std::string& error) {
        EXPECT_EQ(run.ExitCode, 0);
        ASSERT_GE(run.Lines.size(), 2u) << run.Output << run.Errors;
        EXPECT_EQ(run.Lines[run.Lines.size() - 2], "Error: " + error);
        EXPECT_EQ(run.Lines.back(), "Exiting.");
    }

    GameCopy game_{false};
};

TEST_F(HeadlessRun, FatalErrorsEndThroughTheFatalPath) {
    fs::remove(game_.Path() / "Orvane.ini");
    ProgramRun run = game_.Run("--headless");
    ExpectFatal(run, "Can't open \"Orvane.ini\": file not found.");
    ASSERT_EQ(run.Lines.size(), 5u); // nothing before the settings but the banner
    EXPECT_EQ(run.Lines[0].rfind("Orvane ", 0), 0u) << run.Lines[0];
    EXPECT_NE(run.Lines[0].find(", compiled 20"), std::string::npos) << run.Lines[0];
    EXPECT_EQ(run.Lines[1], "Don't close this window.");
    EXPECT_EQ(run.Lines[2], "");

    game_.Write("Orvane.ini", "ScreenMode=Windowed\r\n"); // no size: the default window, then no level
    run = game_.Run("--headless --steps 1");
    ExpectFatal(run, "Can't load level \"Maps\\.t3d\": file not found.");
    EXPECT_TRUE(run.Logged("Orvane.ini: ScreenWidth is missing; 1280 is used.")) << run.Output;

    game_.Write("Orvane.ini", kMinimalIni);
    game_.Write("work/keys.txt", "1 key W down\n2 key W sideways\n");
    ExpectFatal(game_.Run("--headless --steps 10 --input keys.txt"),
                "Bad line in input script \"" + (game_.Path() / "work" / "keys.txt").string() + "\", line 2: expected down or up.");
}

TEST_F(HeadlessRun, FixedStepsEndThroughShutdownWithTheStateDumped) {
    const ProgramRun run = game_.Run("--headless --fixed-step --steps 120 --dump dump.jsonl --log run.log");
    EXPECT_EQ(run.ExitCode, 0) << run.Output << run.Errors;
    EXPECT_TRUE(run.Logged("Loading level \"Maps\\Tiny.t3d\"..."));
    EXPECT_TRUE(run.Logged("Finished loading level."));
    EXPECT_EQ(run.Lines.back(), "Exiting.");
    for (const std::string& line : run.Lines) {
        EXPECT_NE(line.rfind("Error", 0), 0u) << line;
        EXPECT_NE(line.rfind("Warning", 0), 0u) << line;
    }
    std::string log;
    EXPECT_TRUE(ReadWholeFile((game_.Path() / "work" / "run.log").string(), log)); // relative to where it ran
    EXPECT_EQ(log, run.Output);

    EXPECT_EQ(run.Dump.State["Level"], "Tiny");
    EXPECT_EQ(run.Dump.State["Steps"], 120);
    EXPECT_EQ(run.Dump.State["MenuState"], 0);
    EXPECT_NEAR(run.Dump.State["GameTime"].get<double>(), 2.0, 1e-9);
    // The player first, at the start, 32 units up, facing its way; then the level's five actors
    // with their properties applied.
    const std::vector<nlohmann::json>& actors = run.Dump.Actors;
    ASSERT_EQ(actors.size(), 6u);
    EXPECT_EQ(actors[0]["Index"], 0);
    EXPECT_EQ(actors[0]["EngineClass"], "PlayerPawn");
    EXPECT_EQ(actors[0]["Rotation"], nlohmann::json::parse("[0,16384,0]"));
    EXPECT_EQ(actors[0]["Location"][0], 100);
    EXPECT_EQ(actors[0]["Location"][1], -200);
    EXPECT_EQ(actors[1]["EngineClass"], "LevelInfo");
    EXPECT_EQ(actors[2]["Class"], "PlayerStart");
    EXPECT_EQ(actors[3]["LightBrightness"], 44); // 300 in 8 bits
    EXPECT_EQ(actors[3]["LightType"], 2);
    EXPECT_EQ(actors[3]["Tag"], "lamp");
    EXPECT_EQ(actors[4]["Event"], "door");
    EXPECT_EQ(actors[4]["CollisionRadius"], 64);
    EXPECT_EQ(actors[5]["EngineClass"], "Mover");
    EXPECT_EQ(actors[5]["Brush"], true);
    EXPECT_EQ(actors[5]["KeyPos"][1], nlohmann::json::parse("[0,0,128]"));
}

TEST_F(HeadlessRun, InterruptedRunEndsThroughShutdownWithTheStateDumped) {
    // SIGTERM after four seconds of a run meant to last for hours: the program ends as a closed
    // window ends it, with its log and state dump written.
    const ProgramRun run = test::RunProgram("/usr/bin/timeout", game_.Path() / "work",
                                      "--preserve-status -s TERM 4 '" + (game_.Path() / "orvane").string() +
                                          "' --headless --fixed-step --steps 100000000 --dump dump.jsonl");
    EXPECT_EQ(run.ExitCode, 0) << run.Output << run.Errors;
    EXPECT_EQ(run.Lines.back(), "Exiting.");
    ASSERT_TRUE(run.Dump.State.contains("Steps")) << run.Output;
    EXPECT_LT(run.Dump.State["Steps"].get<int64_t>(), 100000000);
}

TEST_F(HeadlessRun, ScriptedEscapeOpensTheMenuAndStopsTheClock) {
    game_.Write("work/keys.txt", "# Escape before step 61\n61 key Escape down\n62 key 1 up\n");
    const ProgramRun run = game_.Run("--headless --fixed-step --seed 3 --steps 90 --input keys.txt --dump dump.jsonl");
    EXPECT_EQ(run.ExitCode, 0) << run.Output << run.Errors;
    EXPECT_EQ(run.Dump.State["MenuState"], 2); // the main menu
    EXPECT_EQ(run.Dump.State["Steps"], 90);
    EXPECT_NEAR(run.Dump.State["GameTime"].get<double>(), 1.0, 1e-9);
}

TEST_F(HeadlessRun, ScreenshotsAreTheFramesOfTheWindowSize) {
    game_.Write("Orvane.ini", std::string(kMinimalIni) + "Gamma=1.8\r\n");
    game_.Write("Shot0001.png", "taken"); // numbering skips names already there
    const ProgramRun run = game_.Run("--headless --fixed-step --steps 12 --screenshot-at 10 --screenshot-at 3");
    EXPECT_EQ(run.ExitCode, 0) << run.Output << run.Errors;
    for (const char* name : {"Shot0000.png", "Shot0002.png"}) {
        const fs::path shot = game_.Path() / name; // beside the program
        const Image picture = test::LoadPicture(shot);
        ASSERT_FALSE(picture.IsEmpty()) << name;
        EXPECT_EQ(picture.Width, 320);
        EXPECT_EQ(picture.Height, 240);
        std::string png;
        ASSERT_TRUE(ReadWholeFile(shot.string(), png));
        EXPECT_EQ(png[25], 2) << "PNG colour type: RGB, alpha dropped";
        // The floor fills the lower half of the frame; above it nothing is drawn but the clear
        // to black, which gamma keeps black (the level introduction's first line starts 51
        // pixels of 480 down, so the top twelfth is bare).
        const auto quarter = static_cast<std::ptrdiff_t>(picture.Pixels.size() / 4);
        auto lit = [](uint32_t c) { return (c & 0xFFFFFF) != 0; };
        EXPECT_EQ(std::count_if(picture.Pixels.begin(), picture.Pixels.begin() + quarter / 3, lit), 0) << name;
        EXPECT_GT(std::count_if(picture.Pixels.end() - quarter, picture.Pixels.end(), lit), quarter / 2) << name;
    }
    EXPECT_FALSE(fs::exists(game_.Path() / "Shot0003.png"));
}

TEST_F(HeadlessRun, SettingsFileFromTheCommandLineAndTimedemo) {
    game_.Write("work/other.ini", kMinimalIni);
    fs::remove(game_.Path() / "Orvane.ini"); // none beside the program
    const ProgramRun run = game_.Run("--config other.ini --headless --steps 30 --timedemo Maps\\\\Tiny.t3d");
    EXPECT_EQ(run.ExitCode, 0) << run.Output << run.Errors;
    ASSERT_GE(run.Lines.size(), 5u) << run.Output;
    const std::string& timedemo = run.Lines[run.Lines.size() - 2];
    EXPECT_EQ(timedemo.rfind("Timedemo: ", 0), 0u) << timedemo;
    EXPECT_NE(timedemo.find(" ms per frame, "), std::string::npos);
    EXPECT_NE(timedemo.find(" steps per second"), std::string::npos);
    EXPECT_EQ(run.Lines.back(), "Exiting.");
}

TEST_F(HeadlessRun, CommandLineHelpVersionAndMistakes) {
    ProgramRun run = game_.Run("--help");
    EXPECT_EQ(run.ExitCode, 0);
    EXPECT_EQ(run.Output.rfind("Usage: orvane", 0), 0u);
    EXPECT_NE(run.Output.find("--screenshot-at N"), std::string::npos);

    run = game_.Run("--version");
    EXPECT_EQ(run.ExitCode, 0);
    EXPECT_EQ(run.Output.rfind("orvane ", 0), 0u);

    run = game_.Run("--headless --warp-speed");
    EXPECT_EQ(run.ExitCode, 2);
    EXPECT_EQ(run.Output, ""); // nothing started
    EXPECT_NE(run.Errors.find("unknown option --warp-speed"), std::string::npos);
    EXPECT_NE(run.Errors.find("Usage: orvane"), std::string::npos);

    EXPECT_EQ(game_.Run("--steps").ExitCode, 2);
}

} // namespace
} // namespace orv
