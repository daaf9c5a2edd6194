// The engine with a recording window: the screen mode, gamma, the step, Escape through every
// screen, and both ways out.
#include "shell/Engine.h"

#include "core/Vfs.h"
#include "shell/FakeWindow.h"
#include "shell/Gamma.h"
#include "support/DumpFile.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace orv {
namespace {

struct ProcessExit {
    int Code;
};

bool SameRamp(const GammaRamp& a, const GammaRamp& b) {
    return std::equal(a.Red, a.Red + 256, b.Red) && std::equal(a.Green, a.Green + 256, b.Green) &&
           std::equal(a.Blue, a.Blue + 256, b.Blue);
}

class EngineTest : public ::testing::Test {
protected:
    EngineTest() { Start({}); }

    void Start(HarnessOptions options) {
        auto window = std::make_unique<test::FakeWindow>();
        window_ = window.get();
        engine_ = std::make_unique<Engine>(std::move(options), std::move(window));
        engine_->SetExitProcess([](int code) { throw ProcessExit{code}; });
    }

    // A step with Escape newly down, then one with it up again.
    void PressEscape() {
        engine_->Input().SetKey(kKeyEscape, true);
        engine_->StepWorld();
        engine_->Input().SetKey(kKeyEscape, false);
        engine_->StepWorld();
    }

    test::FakeWindow* window_ = nullptr;
    std::unique_ptr<Engine> engine_;
};

TEST_F(EngineTest, ScreenModeOpensTheWindowOrIsFatalWithItsCode) {
    engine_->SetScreenMode(800, 600, 75, false, true);
    EXPECT_EQ(engine_->ScreenWidth(), test::FakeWindow::kDesktopWidth); // borderless: the desktop size
    EXPECT_EQ(engine_->ScreenHeight(), test::FakeWindow::kDesktopHeight);
    engine_->SetScreenMode(640, 480, 0, false, false);
    EXPECT_EQ(engine_->ScreenWidth(), 640);
    EXPECT_EQ(engine_->ScreenHeight(), 480);

    window_->OpenError = kWindowNoGlContext;
    EXPECT_EQ(test::CatchFatal([&] { engine_->SetScreenMode(800, 600, 60, true, false); }), "ScreenRes failed. Err=3");
    ASSERT_EQ(window_->Opened.size(), 3u);
    EXPECT_TRUE(window_->Opened[2].Fullscreen);
    EXPECT_EQ(window_->Opened[2].RefreshRate, 60);
    EXPECT_TRUE(window_->Opened[2].Vsync); // only timedemo runs turn it off
}

TEST_F(EngineTest, GammaIsAppliedAndTheRightRampGoesBack) {
    // A ramp never read (a fatal error early in start-up) is never written back.
    ConfigSet(engine_->Config(), "RestoreCustomGamma", "true");
    engine_->RestoreGamma();
    engine_->ApplyGamma(2.0f);
    window_->DeviceRamp = GammaRampFor(0.7f);
    engine_->SaveGammaRamp();
    engine_->RestoreGamma();
    ConfigSet(engine_->Config(), "RestoreCustomGamma", "false");
    engine_->RestoreGamma();
    ASSERT_EQ(window_->RampsSet.size(), 4u);
    EXPECT_TRUE(SameRamp(window_->RampsSet[0], LinearGammaRamp()));
    EXPECT_TRUE(SameRamp(window_->RampsSet[1], GammaRampFor(2.0f)));
    EXPECT_TRUE(SameRamp(window_->RampsSet[2], GammaRampFor(0.7f)));
    EXPECT_TRUE(SameRamp(window_->RampsSet[3], LinearGammaRamp()));
}

// Until the menus are drawn, Escape is the only way out of each screen: none may strand the player.
TEST_F(EngineTest, EscapeLeadsOutOfEveryScreenAndLeavingTheOptionsSavesThem) {
    test::TempDir dir;
    HarnessOptions options;
    options.ConfigFile = dir / "Saved.ini";
    Start(std::move(options));
    ConfigSet(engine_->Config(), "Gamma", "1.3");
    engine_->SetScreenMode(640, 480, 0, false, false);
    InputState& input = engine_->Input();
    input.SetMousePosition(100, 200);
    input.PushChar('x');
    engine_->GameWorld().PendingLevel = "Maps\\Demo2.t3d";
    engine_->StepWorld();
    EXPECT_EQ(engine_->GameWorld().PendingLevel, ""); // taken at the step
    EXPECT_EQ(input.PendingChars(), 0);                // typed characters are dropped while playing

    input.SetKey(kKeyEscape, true);
    engine_->StepWorld();
    EXPECT_EQ(engine_->Menu(), MenuState::Main);
    EXPECT_FALSE(input.KeyEdge(kKeyEscape)); // the menu input saw no second press
    EXPECT_EQ(window_->Calls.back(), "Release");
    input.PushChar('y');
    engine_->StepWorld(); // in a menu the step runs the menu input only
    EXPECT_EQ(engine_->Menu(), MenuState::Main);
    EXPECT_EQ(input.PendingChars(), 1);

    input.SetMousePosition(5, 5);
    input.SetKey(kKeyEscape, false);
    PressEscape(); // back to play, the cursor where it was
    EXPECT_EQ(engine_->Menu(), MenuState::Playing);
    EXPECT_EQ(input.MouseX(), 100);
    EXPECT_EQ(input.MouseY(), 200);
    EXPECT_EQ(window_->Calls.back(), "Confine");

    for (MenuState screen : {MenuState::LevelSelect, MenuState::Credits, MenuState::Options}) {
        EXPECT_FALSE(FileExists(dir / "Saved.ini")); // only leaving the options saves
        engine_->OpenMenu(screen);
        PressEscape();
        EXPECT_EQ(engine_->Menu(), MenuState::Main) << static_cast<int>(screen);
    }
    std::string text;
    ASSERT_TRUE(ReadWholeFile(dir / "Saved.ini", text));
    EXPECT_EQ(text, "Gamma=1.3\r\n");

    engine_->GameWorld().Services->GameOver(); // what the world says when the player dies
    EXPECT_EQ(engine_->Menu(), MenuState::GameOver);
    engine_->Input().SetKey(kKeyEscape, true);
    EXPECT_THROW(engine_->StepWorld(), ProcessExit); // the program ends
}

TEST_F(EngineTest, BothWaysOutRestoreGammaWriteTheDumpAndCloseInOrder) {
    test::TempDir dir;
    HarnessOptions options;
    options.DumpFile = dir / "dump.jsonl";
    Start(std::move(options));
    auto exitCode = [](const std::function<void()>& exit) {
        try {
            exit();
        } catch (const ProcessExit& e) {
            return e.Code;
        }
        return -1;
    };
    test::LogCapture log;
    EXPECT_EQ(exitCode([&] { engine_->Shutdown(); }), 0);
    EXPECT_EQ(log.Lines(), (std::vector<std::string>{"Exiting."}));
    EXPECT_EQ(window_->Calls, (std::vector<std::string>{"Close"}));
    EXPECT_EQ(test::ReadDumpFile(dir / "dump.jsonl").State["Steps"], 0);

    std::filesystem::remove(dir / "dump.jsonl");
    EXPECT_EQ(exitCode([&] { engine_->FatalErrorPath("Bad FireTexture header. (x.firet)"); }), 0);
    EXPECT_EQ(log.Lines(), (std::vector<std::string>{"Exiting.", "Error: Bad FireTexture header. (x.firet)", "Exiting."}));
    EXPECT_EQ(window_->Calls, (std::vector<std::string>{"Close", "OpenPlainWindow 256x128",
                                                        "MessageBox Error: Bad FireTexture header. (x.firet)", "Close"}));
    ASSERT_EQ(window_->RampsSet.size(), 2u); // the gamma goes back on both paths
    EXPECT_TRUE(SameRamp(window_->RampsSet[1], LinearGammaRamp()));
    EXPECT_EQ(test::ReadDumpFile(dir / "dump.jsonl").State["MenuState"], 0);
}

} // namespace
} // namespace orv
