// The engine with a recording window: the screen mode, gamma ramps, the step, Escape through
// every screen and both ways out; the catch-up pass of its main loop against a fake clock; the
// light flicker it keeps.
#include "shell/Engine.h"

#include "core/Random.h"
#include "core/Vfs.h"
#include "shell/Flicker.h"
#include "shell/Gamma.h"
#include "shell/MainLoop.h"
#include "world/ActorClasses.h"
#include "support/DumpFile.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace orv {
namespace {

// A window that records what the engine asks of it, for tests that need no drawing.
class FakeWindow final : public Window {
public:
    static constexpr int kDesktopWidth = 1920;
    static constexpr int kDesktopHeight = 1080;
    WindowError OpenError = kWindowOk;
    GammaRamp DeviceRamp;            // what GetGammaRamp reports
    std::vector<GammaRamp> RampsSet; // every SetGammaRamp, in order
    std::vector<ScreenSettings> Opened;
    std::vector<std::string> Calls; // closing, the cursor's confinement and the message box, in order

    WindowError Open(const ScreenSettings& settings) override {
        Opened.push_back(settings);
        width_ = settings.Borderless ? kDesktopWidth : settings.Width;
        height_ = settings.Borderless ? kDesktopHeight : settings.Height;
        return OpenError;
    }
    void OpenPlainWindow(int width, int height) override {
        Calls.push_back("OpenPlainWindow " + std::to_string(width) + "x" + std::to_string(height));
    }
    void Close() override { Calls.push_back("Close"); }
    int Width() const override { return width_; }
    int Height() const override { return height_; }
    void SetTitle(std::string_view) override {}
    void SetCursorHidden(bool) override {}
    void SetCursorConfined(bool confined) override { Calls.push_back(confined ? "Confine" : "Release"); }
    void WarpMouse(int, int) override {}
    void Present() override {}
    bool GetGammaRamp(GammaRamp& ramp) override {
        ramp = DeviceRamp;
        return true;
    }
    bool SetGammaRamp(const GammaRamp& ramp) override {
        RampsSet.push_back(ramp);
        return true;
    }
    void ShowMessageBox(std::string_view caption, std::string_view text) override {
        Calls.push_back("MessageBox " + std::string(caption) + ": " + std::string(text));
    }
    std::vector<DisplayMode> DisplayModes() override { return {{640, 480, 60, 32}, {800, 600, 60, 32}}; }
    WindowEvents PumpEvents(InputState&, bool) override { return {}; }

private:
    int width_ = 0;
    int height_ = 0;
};

struct ProcessExit {};

class EngineTest : public ::testing::Test {
protected:
    EngineTest() {
        HarnessOptions options;
        options.ConfigFile = dir_ / "Saved.ini";
        options.DumpFile = dir_ / "dump.jsonl";
        options.SoundLog = dir_ / "sounds.txt";
        auto window = std::make_unique<FakeWindow>();
        window_ = window.get();
        engine_ = std::make_unique<Engine>(std::move(options), std::move(window));
        engine_->SetExitProcess([this](int code) {
            exitCode_ = code;
            throw ProcessExit{};
        });
    }

    // A step with the key newly down, then one with it up again.
    void Press(int key) {
        engine_->Input().SetKey(key, true);
        engine_->StepWorld();
        engine_->Input().EndStep();
        engine_->Input().SetKey(key, false);
        engine_->StepWorld();
        engine_->Input().EndStep();
    }
    void PressEscape() { Press(kKeyEscape); }

    test::FatalCatcher fatal_; // a fatal error fails the test instead of ending it quietly
    test::TempDir dir_;
    FakeWindow* window_ = nullptr;
    std::unique_ptr<Engine> engine_;
    int exitCode_ = -1;
};

TEST_F(EngineTest, ScreenModeOpensTheWindowOrIsFatalWithItsCode) {
    engine_->SetScreenMode(800, 600, 75, false, true);
    EXPECT_EQ(engine_->ScreenWidth(), FakeWindow::kDesktopWidth); // borderless: the desktop size
    EXPECT_EQ(engine_->ScreenHeight(), FakeWindow::kDesktopHeight);

    window_->OpenError = kWindowNoGlContext;
    EXPECT_EQ(test::CatchFatal([&] { engine_->SetScreenMode(800, 600, 60, true, false); }), "ScreenRes failed. Err=3");
    ASSERT_EQ(window_->Opened.size(), 2u);
    EXPECT_TRUE(window_->Opened[1].Fullscreen);
    EXPECT_EQ(window_->Opened[1].RefreshRate, 60);
    EXPECT_TRUE(window_->Opened[1].Vsync); // only timedemo runs turn it off
}

TEST_F(EngineTest, GammaRampsAreAppliedAndTheRightOneGoesBack) {
    // A ramp never read (a fatal error early in start-up) is never written back.
    ConfigSet(engine_->Config(), "RestoreCustomGamma", "true");
    engine_->RestoreGamma();
    engine_->ApplyGamma(2.0f);
    window_->DeviceRamp = GammaRampFor(0.7f);
    engine_->SaveGammaRamp();
    engine_->RestoreGamma();
    ConfigSet(engine_->Config(), "RestoreCustomGamma", "false");
    engine_->RestoreGamma();
    const GammaRamp linear = LinearGammaRamp();
    EXPECT_EQ(window_->RampsSet, (std::vector{linear, GammaRampFor(2.0f), GammaRampFor(0.7f), linear}));

    // The curves by hand: (i / 256)^(1 / gamma) of full scale, never quite reaching it.
    const GammaRamp& bright = window_->RampsSet[1];
    EXPECT_EQ(bright.Red[1], 4096);
    EXPECT_EQ(bright.Green[64], 32768);
    EXPECT_EQ(bright.Red[255], 65407);
    EXPECT_EQ(GammaRampFor(0.5f).Green[128], 16384);
    EXPECT_EQ(linear.Blue[255], 65279);
    EXPECT_EQ(GammaRampFor(1.0f), linear);
}

// Every screen by the keys: the arrows wrap, Enter and Escape act by screen, an empty level list
// (the working folder has no Maps) loads nothing, Left wins over Right, a right click steps like
// Left, brightness applies at once, Enter in the options writes the screen rows and saves, the game over
// screen opens silently. Leaving the options by Escape is the real program's test.
TEST_F(EngineTest, TheKeysLeadThroughEveryScreenAndEnterInTheOptionsWritesTheScreenRows) {
    ConfigParse(engine_->Config(), "ScreenWidth=640\nScreenHeight=480\nGamma=1.3");
    engine_->SetScreenMode(640, 480, 0, false, false);
    CreatePlayerPawn(engine_->GameWorld()); // whose own sounds the menus' are
    InputState& input = engine_->Input();
    input.SetMousePosition(100, 200);
    input.SetMouseAvailable(true);
    input.PushChar('x');
    engine_->StepWorld();
    EXPECT_EQ(input.PendingChars(), 0); // typed characters are dropped while playing

    PressEscape();
    EXPECT_EQ(window_->Calls.back(), "Release");
    Press(kKeyUp); // wraps to EXIT
    EXPECT_EQ(engine_->Menus().Selection, 3);
    for (int key : {kKeyDown, kKeyEnter, kKeyDown, kKeyEnter}) { // NEW GAME, then an empty list
        Press(key);
    }
    EXPECT_EQ(engine_->Menu(), MenuState::LevelSelect);
    EXPECT_EQ(engine_->Menus().Selection, 0);
    EXPECT_TRUE(engine_->GameWorld().PendingLevel.empty());

    for (int key : {kKeyEscape, kKeyDown, kKeyEnter, kKeyRight, kKeyDown, kKeyDown, kKeyDown}) {
        Press(key); // the options; 800x600; down to brightness
    }
    input.SetKey(kKeyRight, true); // both arrows at once: Left wins
    Press(kKeyLeft);
    input.SetKey(kKeyRight, false);
    input.SetButton(MouseButton::Right, true); // a right click on the brightness row: Left again
    input.SetMousePosition(300, 100);
    engine_->StepWorld();
    EXPECT_EQ(window_->RampsSet.back(), GammaRampFor(1.3f - 0.1f - 0.1f)); // at once
    Press(kKeyEnter);
    EXPECT_EQ(ConfigGet(engine_->Config(), "ScreenWidth"), "800");
    EXPECT_TRUE(FileExists(dir_ / "Saved.ini")); // leaving the options saves

    for (int key : {kKeyUp, kKeyUp, kKeyEnter}) {
        Press(key);
    }
    ASSERT_EQ(engine_->Menu(), MenuState::Credits);
    EXPECT_EQ(engine_->Menus().Items.back(), "     "); // no level: no author
    Press(kKeyEnter);
    input.SetMousePosition(5, 5);
    PressEscape(); // back to play, the pointer where play left it
    EXPECT_EQ(engine_->Menu(), MenuState::Playing);
    EXPECT_EQ(input.MouseX(), 100);
    EXPECT_EQ(window_->Calls.back(), "Confine");

    engine_->GameWorld().Services->GameOver(); // what the world says when the player dies
    EXPECT_EQ(engine_->Menu(), MenuState::GameOver);
    Press(kKeyDown);
    EXPECT_EQ(engine_->Menus().Selection, 1);
    std::vector<std::string> sounds;
    ASSERT_TRUE(ReadLines(dir_ / "sounds.txt", sounds));
    ASSERT_GE(sounds.size(), 2u);
    EXPECT_EQ(sounds[sounds.size() - 2], "1 Player UnrealShare.Menu.Select4 1"); // back to play
    EXPECT_EQ(sounds.back(), "1 Player UnrealShare.Menu.Updown3 0.5");
    EXPECT_THROW(Press(kKeyEnter), ProcessExit); // the program ends
    EXPECT_EQ(exitCode_, kExitOk);
}

// A level change waits for the next step, which loads the level before anything else.
TEST_F(EngineTest, TheStepLoadsThePendingLevelFirst) {
    engine_->GameWorld().PendingLevel = "Maps\\Missing.t3d";
    EXPECT_EQ(test::CatchFatal([&] { engine_->StepWorld(); }), "Can't load level \"Maps\\Missing.t3d\": file not found.");
}

TEST_F(EngineTest, BothWaysOutRestoreGammaWriteTheDumpAndCloseInOrder) {
    test::LogCapture log;
    EXPECT_THROW(engine_->Shutdown(), ProcessExit);
    EXPECT_EQ(exitCode_, kExitOk);
    EXPECT_EQ(log.Lines(), (std::vector<std::string>{"Exiting."}));
    EXPECT_EQ(window_->Calls, (std::vector<std::string>{"Close"}));
    EXPECT_EQ(test::ReadDumpFile(dir_ / "dump.jsonl").State["Steps"], 0);

    std::filesystem::remove(dir_ / "dump.jsonl");
    exitCode_ = -1;
    EXPECT_THROW(engine_->FatalErrorPath("Bad FireTexture header. (x.firet)"), ProcessExit);
    EXPECT_EQ(exitCode_, kExitOk); // a fatal error too: the message is in the log and the box
    EXPECT_EQ(log.Lines(), (std::vector<std::string>{"Exiting.", "Error: Bad FireTexture header. (x.firet)", "Exiting."}));
    EXPECT_EQ(window_->Calls, (std::vector<std::string>{"Close", "OpenPlainWindow 256x128",
                                                        "MessageBox Error: Bad FireTexture header. (x.firet)", "Close"}));
    EXPECT_EQ(window_->RampsSet, (std::vector{LinearGammaRamp(), LinearGammaRamp()})); // on both paths
    EXPECT_EQ(test::ReadDumpFile(dir_ / "dump.jsonl").State["MenuState"], 0);
}

// A step that stalls (a level load) is caught up back to back before the next frame, and the
// simulation keeps to 60 steps per second of wall-clock time.
TEST(MainLoop, AStalledStepIsCaughtUpBeforeTheNextFrame) {
    double now = 0.0;
    LoopClock clock;
    int steps = 0;
    std::vector<int> batches; // the steps of each pass, each followed by a frame
    while (steps < 400) {
        now += 0.002; // a fast frame
        batches.push_back(RunCatchUpPass(clock, now, [&] { return now += ++steps == 10 ? 3.0 : 0.0, true; }, [] {}));
    }
    // The pass that ran step 10 ends at its own deadline; the next one runs the 3 seconds of
    // missing steps, and only then is a frame drawn.
    EXPECT_EQ(std::count_if(batches.begin(), batches.end(), [](int n) { return n > 2; }), 1);
    EXPECT_NEAR(*std::max_element(batches.begin(), batches.end()), 180, 1);
    EXPECT_NEAR(clock.Simulated, now, 1.0 / 60.0 + 1e-9);
}

TEST(MainLoop, EveryPassDrawsOneFrameAndADecliningStepEndsTheCatchUp) {
    LoopClock clock;
    clock.Start = 100.0;
    int steps = 0, frames = 0;
    auto step = [&] { return steps < 35 && ++steps; }; // then a step limit is reached
    auto frame = [&] { ++frames; };
    EXPECT_EQ(RunCatchUpPass(clock, 100.0, step, frame), 0);   // no time has passed
    EXPECT_EQ(RunCatchUpPass(clock, 100.001, step, frame), 1); // the first step is due at once
    EXPECT_EQ(RunCatchUpPass(clock, 100.01, step, frame), 0);
    EXPECT_EQ(RunCatchUpPass(clock, 100.49, step, frame), 29); // steps 2 .. 30
    EXPECT_EQ(RunCatchUpPass(clock, 101.0, step, frame), 5);   // 31 .. 35 of the 30 due
    EXPECT_EQ(frames, 5);
    EXPECT_DOUBLE_EQ(clock.Simulated, 35 * kStepSeconds);
}

TEST(Flicker, FactorsStayBelowOne) {
    EXPECT_EQ(FlickerFactor(0.0f), 0.6f);
    // The largest random number makes 0.4 r + 0.6 round up to 1.0 in floats; it must not.
    EXPECT_LT(FlickerFactor(0.99999994f), 1.0f);
    EXPECT_GT(FlickerFactor(0.99999994f), 0.9999f);
    SeedRandom(7);
    FlickerSets flicker;
    for (int round = 0; round < 200; ++round) {
        FillFlickerSets(flicker);
        for (const auto& set : {flicker.Previous, flicker.Next}) {
            const auto [low, high] = std::minmax_element(set.begin(), set.end());
            ASSERT_GE(*low, 0.6f);
            ASSERT_LT(*high, 1.0f);
        }
    }
    EXPECT_NE(flicker.Previous, flicker.Next);
}

TEST(Flicker, BlendsOverASecondThenRenews) {
    FlickerSets flicker;
    flicker.Previous.fill(0.6f);
    flicker.Next.fill(1.0f);
    UpdateFlicker(flicker, 0.25);
    EXPECT_FLOAT_EQ(flicker.Table[255], 0.7f);
    UpdateFlicker(flicker, 1.0); // exactly one second: not yet renewed
    EXPECT_EQ(flicker.LastTime, 0.0f);

    SeedRandom(3);
    UpdateFlicker(flicker, 1.5); // renewed: the old next set is now the previous one
    EXPECT_EQ(flicker.LastTime, 1.5f);
    EXPECT_EQ(flicker.Previous[9], 1.0f);
    EXPECT_FLOAT_EQ(flicker.Table[9], 1.0f); // no time into the new second yet
    UpdateFlicker(flicker, 2.0);
    EXPECT_FLOAT_EQ(flicker.Table[9], 0.5f * 1.0f + 0.5f * flicker.Next[9]);
}

} // namespace
} // namespace orv
