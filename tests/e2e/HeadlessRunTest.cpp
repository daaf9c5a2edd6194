// The real orvane program, run headless as CI runs it: start-up, the fixed-step loop, the
// harness options and both ways out. Each test runs its own copy of the program in a fresh
// folder, because the program works from the folder it lives in.
#include "support/TestSupport.h"

#include "content/LevelModel.h"

#define STB_IMAGE_IMPLEMENTATION
#define STB_IMAGE_STATIC
#include <stb/stb_image.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <vector>

namespace orv {
namespace {

namespace fs = std::filesystem;

constexpr const char* kMinimalIni =
    "ScreenWidth=320\r\nScreenHeight=240\r\nScreenMode=Windowed\r\nFOV=90\r\nInitialLevel=Tiny\r\n";

struct RunResult {
    int ExitCode = -1;
    std::string Output; // stdout
    std::string Errors; // stderr
    std::vector<std::string> Lines;
};

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::stringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        lines.push_back(line);
    }
    return lines;
}

// Where the build put the program.
fs::path GameDirectory() { return test::GameDir(); }

// A small level: a floor, its LevelInfo, two player starts, a light, a trigger and a door.
void WriteTinyLevel(const test::TempDir& dir) {
    LevelModel m;
    for (const Vector& p : {Vector{-1024, -1024, 0}, Vector{1024, -1024, 0}, Vector{1024, 1024, 0}, Vector{-1024, 1024, 0}}) {
        m.Points.Add(p);
    }
    for (int v : {0, 1, 2, 3}) {
        m.VertexPool.Add(v);
    }
    Surface floor;
    floor.TextureName = "Orvane.Floor.Tiles";
    floor.Normal = {0, 0, -1};
    floor.UAxis = {1, 0, 0};
    floor.VAxis = {0, 1, 0};
    m.Surfaces.Add(floor);
    BspNode node;
    node.NodePlane = {{0, 0, 1}, 0};
    node.Surface = 0;
    node.NumVertices = 4;
    m.Nodes.Add(node);
    const std::vector<uint8_t> bytes = WriteLevelModel(m);
    dir.Write("Maps/Tiny.bsp", std::string(bytes.begin(), bytes.end()));
    dir.Write("Maps/Tiny.t3d", R"(Begin Map
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

// A folder holding a copy of the program, like a game folder of its own.
class GameFolder {
public:
    GameFolder() {
        source_ = GameDirectory() / "orvane";
        std::error_code ec;
        if (source_.empty() || !fs::exists(source_, ec)) {
            return;
        }
        fs::create_hard_link(source_, dir_.Path() / "orvane", ec);
        if (ec) {
            fs::copy_file(source_, dir_.Path() / "orvane", ec);
        }
        ready_ = !ec;
        // The generated content beside the program, shared read-only with the build's tree.
        for (const char* folder : {"System", "Textures", "Sounds", "Music"}) {
            std::error_code linkError;
            fs::create_directory_symlink(GameDirectory() / folder, dir_.Path() / folder, linkError);
        }
        WriteTinyLevel(dir_);
    }
    bool Ready() const { return ready_; }
    const fs::path& Path() const { return dir_.Path(); }
    void Write(const std::string& name, const std::string& text) const { dir_.Write(name, text); }

    // Runs the program from a working folder of its own (not the game folder), so that the
    // program's move to its folder is exercised too.
    RunResult Run(const std::string& args) const {
        const fs::path work = dir_.Path() / "work";
        fs::create_directories(work);
        const std::string command = "cd '" + work.string() + "' && '" +
                                    (dir_.Path() / "orvane").string() + "' " + args + " >'" +
                                    (dir_.Path() / "stdout.txt").string() + "' 2>'" +
                                    (dir_.Path() / "stderr.txt").string() + "' </dev/null";
        const int status = std::system(command.c_str());
        RunResult result;
        result.ExitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        result.Output = ReadFile(dir_.Path() / "stdout.txt");
        result.Errors = ReadFile(dir_.Path() / "stderr.txt");
        result.Lines = SplitLines(result.Output);
        return result;
    }

private:
    test::TempDir dir_;
    fs::path source_;
    bool ready_ = false;
};

#define REQUIRE_PROGRAM(folder)                                                   \
    if (!(folder).Ready()) {                                                      \
        GTEST_SKIP() << "the orvane program is not built (game/orvane)";       \
    }

// The number after "Key": in a JSON line, as text.
std::string JsonNumber(const std::string& line, const std::string& key) {
    const std::string pattern = "\"" + key + "\":";
    const size_t at = line.find(pattern);
    if (at == std::string::npos) {
        return "<missing>";
    }
    const size_t start = at + pattern.size();
    return line.substr(start, line.find_first_of(",}", start) - start);
}

bool IsBanner(const std::string& line) {
    return line.rfind("Orvane ", 0) == 0 && line.find(", compiled 20") != std::string::npos;
}

TEST(HeadlessRun, MissingSettingsFileEndsThroughTheFatalPath) {
    GameFolder game;
    REQUIRE_PROGRAM(game);
    const RunResult run = game.Run("--headless");
    EXPECT_EQ(run.ExitCode, 0);
    ASSERT_EQ(run.Lines.size(), 5u) << run.Output << run.Errors;
    EXPECT_TRUE(IsBanner(run.Lines[0])) << run.Lines[0];
    EXPECT_EQ(run.Lines[1], "Don't close this window.");
    EXPECT_EQ(run.Lines[2], "");
    EXPECT_EQ(run.Lines[3], "Error: Can't open \"Orvane.ini\": file not found.");
    EXPECT_EQ(run.Lines[4], "Exiting.");
}

TEST(HeadlessRun, FixedStepsEndThroughShutdownWithTheStateDumped) {
    GameFolder game;
    REQUIRE_PROGRAM(game);
    game.Write("Orvane.ini", kMinimalIni);
    const RunResult run = game.Run("--headless --fixed-step --steps 120 --dump state.jsonl --log run.log");
    EXPECT_EQ(run.ExitCode, 0) << run.Output << run.Errors;
    ASSERT_GE(run.Lines.size(), 4u) << run.Output;
    EXPECT_TRUE(IsBanner(run.Lines[0]));
    EXPECT_EQ(run.Lines[1], "Don't close this window.");
    EXPECT_EQ(run.Lines.back(), "Exiting.");
    EXPECT_NE(std::find(run.Lines.begin(), run.Lines.end(), "Loading level \"Maps\\Tiny.t3d\"..."), run.Lines.end());
    EXPECT_NE(std::find(run.Lines.begin(), run.Lines.end(), "Finished loading level."), run.Lines.end());
    for (const std::string& line : run.Lines) {
        EXPECT_NE(line.rfind("Error", 0), 0u) << line;
        EXPECT_NE(line.rfind("Warning", 0), 0u) << line;
    }
    EXPECT_EQ(ReadFile(game.Path() / "work" / "run.log"), run.Output); // --log is relative to where we ran

    const std::vector<std::string> dump = SplitLines(ReadFile(game.Path() / "work" / "state.jsonl"));
    ASSERT_EQ(dump.size(), 7u); // the engine state, the player and the level's five actors
    EXPECT_NE(dump[0].find("\"Level\":\"Tiny\""), std::string::npos);
    // The player stands at the start, 32 units up, facing its way.
    EXPECT_EQ(dump[1].rfind("{\"Index\":0,\"EngineClass\":\"PlayerPawn\"", 0), 0u) << dump[1];
    EXPECT_NE(dump[1].find("\"Rotation\":[0,16384,0]"), std::string::npos) << dump[1];
    EXPECT_NE(dump[1].find("\"Location\":[100,-200,"), std::string::npos) << dump[1];
    // Every actor's properties are applied to its fields.
    EXPECT_NE(dump[2].find("\"EngineClass\":\"LevelInfo\""), std::string::npos);
    EXPECT_NE(dump[3].find("\"Class\":\"PlayerStart\""), std::string::npos);
    EXPECT_NE(dump[4].find("\"LightBrightness\":44"), std::string::npos) << dump[4]; // 300 in 8 bits
    EXPECT_NE(dump[4].find("\"LightType\":2"), std::string::npos);
    EXPECT_NE(dump[4].find("\"Tag\":\"lamp\""), std::string::npos);
    EXPECT_NE(dump[5].find("\"Event\":\"door\""), std::string::npos);
    EXPECT_NE(dump[5].find("\"CollisionRadius\":64"), std::string::npos);
    EXPECT_NE(dump[6].find("\"EngineClass\":\"Mover\""), std::string::npos);
    EXPECT_NE(dump[6].find("\"Brush\":true"), std::string::npos);
    EXPECT_NE(dump[6].find("[0,0,128]"), std::string::npos) << dump[6]; // KeyPos(1)
    EXPECT_EQ(dump[0].front(), '{');
    EXPECT_EQ(dump[0].back(), '}');
    EXPECT_EQ(JsonNumber(dump[0], "Steps"), "120");
    EXPECT_EQ(JsonNumber(dump[0], "MenuState"), "0");
    EXPECT_NEAR(std::strtod(JsonNumber(dump[0], "GameTime").c_str(), nullptr), 2.0, 1e-9);
    for (const char* key : {"Level", "PendingLevel", "HudMessage", "HudMessageTime", "TranslatorText", "LevelIntroTime"}) {
        EXPECT_NE(JsonNumber(dump[0], key), "<missing>") << key;
    }
}

TEST(HeadlessRun, ScriptedEscapeOpensTheMenuAndStopsTheClock) {
    GameFolder game;
    REQUIRE_PROGRAM(game);
    game.Write("Orvane.ini", kMinimalIni);
    game.Write("work/keys.txt", "# Escape before step 61\n61 key Escape down\n62 key 1 up\n");
    const RunResult run = game.Run("--headless --fixed-step --seed 3 --steps 90 --input keys.txt --dump d.jsonl");
    EXPECT_EQ(run.ExitCode, 0) << run.Output << run.Errors;
    const std::string dump = ReadFile(game.Path() / "work" / "d.jsonl");
    EXPECT_EQ(JsonNumber(dump, "MenuState"), "2");
    EXPECT_EQ(JsonNumber(dump, "Steps"), "90");
    EXPECT_NEAR(std::strtod(JsonNumber(dump, "GameTime").c_str(), nullptr), 1.0, 1e-9);
}

TEST(HeadlessRun, BadInputScriptNamesFileAndLine) {
    GameFolder game;
    REQUIRE_PROGRAM(game);
    game.Write("Orvane.ini", kMinimalIni);
    game.Write("work/keys.txt", "1 key W down\n2 key W sideways\n");
    const RunResult run = game.Run("--headless --steps 10 --input keys.txt");
    EXPECT_EQ(run.ExitCode, 0);
    ASSERT_GE(run.Lines.size(), 2u);
    const std::string path = (game.Path() / "work" / "keys.txt").string();
    EXPECT_EQ(run.Lines[run.Lines.size() - 2], "Error: Bad line in input script \"" + path + "\", line 2: expected down or up.");
    EXPECT_EQ(run.Lines.back(), "Exiting.");
}

TEST(HeadlessRun, ScreenshotsAreTheFramesOfTheWindowSize) {
    GameFolder game;
    REQUIRE_PROGRAM(game);
    game.Write("Orvane.ini", std::string(kMinimalIni) + "Gamma=1.8\r\n");
    game.Write("Shot0001.png", "taken"); // numbering skips names already there
    const RunResult run = game.Run("--headless --fixed-step --steps 12 --screenshot-at 10 --screenshot-at 3");
    EXPECT_EQ(run.ExitCode, 0) << run.Output << run.Errors;
    for (const char* name : {"Shot0000.png", "Shot0002.png"}) {
        const fs::path shot = game.Path() / name; // beside the program
        int width = 0, height = 0, channels = 0;
        stbi_uc* pixels = stbi_load(shot.string().c_str(), &width, &height, &channels, 0);
        ASSERT_NE(pixels, nullptr) << name;
        EXPECT_EQ(width, 320);
        EXPECT_EQ(height, 240);
        EXPECT_EQ(channels, 3); // RGB, alpha dropped
        // The floor fills the lower half of the frame; above it nothing is drawn but the clear
        // to black, which gamma keeps black.
        const int quarter = width * (height / 4) * channels;
        int nonBlackTop = 0;
        int nonBlackBottom = 0;
        for (int i = 0; i < quarter; ++i) {
            nonBlackTop += pixels[i] != 0 ? 1 : 0;
            nonBlackBottom += pixels[width * height * channels - 1 - i] != 0 ? 1 : 0;
        }
        EXPECT_EQ(nonBlackTop, 0) << name;
        EXPECT_GT(nonBlackBottom, quarter / 2) << name;
        stbi_image_free(pixels);
    }
    EXPECT_FALSE(fs::exists(game.Path() / "Shot0003.png"));
}

TEST(HeadlessRun, WindowThatCannotOpenIsFatal) {
    GameFolder game;
    REQUIRE_PROGRAM(game);
    game.Write("Orvane.ini", "ScreenMode=Windowed\r\n"); // no size
    const RunResult run = game.Run("--headless --steps 1");
    EXPECT_EQ(run.ExitCode, 0);
    ASSERT_GE(run.Lines.size(), 2u);
    EXPECT_EQ(run.Lines[run.Lines.size() - 2], "Error: ScreenRes failed. Err=5");
    EXPECT_EQ(run.Lines.back(), "Exiting.");
}

TEST(HeadlessRun, SettingsFileFromTheCommandLineAndTimedemo) {
    GameFolder game;
    REQUIRE_PROGRAM(game);
    game.Write("work/other.ini", kMinimalIni); // no Orvane.ini beside the program
    const RunResult run = game.Run("--config other.ini --headless --steps 30 --timedemo Maps\\\\Tiny.t3d");
    EXPECT_EQ(run.ExitCode, 0) << run.Output << run.Errors;
    ASSERT_GE(run.Lines.size(), 5u) << run.Output;
    const std::string& timedemo = run.Lines[run.Lines.size() - 2];
    EXPECT_EQ(timedemo.rfind("Timedemo: ", 0), 0u) << timedemo;
    EXPECT_NE(timedemo.find(" ms per frame, "), std::string::npos);
    EXPECT_NE(timedemo.find(" steps per second"), std::string::npos);
    EXPECT_EQ(run.Lines.back(), "Exiting.");
}

TEST(HeadlessRun, CommandLineHelpVersionAndMistakes) {
    GameFolder game;
    REQUIRE_PROGRAM(game);
    RunResult run = game.Run("--help");
    EXPECT_EQ(run.ExitCode, 0);
    EXPECT_EQ(run.Output.rfind("Usage: orvane", 0), 0u);
    EXPECT_NE(run.Output.find("--screenshot-at N"), std::string::npos);

    run = game.Run("--version");
    EXPECT_EQ(run.ExitCode, 0);
    EXPECT_EQ(run.Output.rfind("orvane ", 0), 0u);

    run = game.Run("--headless --warp-speed");
    EXPECT_EQ(run.ExitCode, 2);
    EXPECT_EQ(run.Output, ""); // nothing started
    EXPECT_NE(run.Errors.find("unknown option --warp-speed"), std::string::npos);
    EXPECT_NE(run.Errors.find("Usage: orvane"), std::string::npos);

    run = game.Run("--steps");
    EXPECT_EQ(run.ExitCode, 2);
}

} // namespace
} // namespace orv
