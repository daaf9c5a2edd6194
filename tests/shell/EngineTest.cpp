// The engine's own services with a recording window: screen mode, gamma, the step, the menu
// hand-over and the fatal path.
#include "shell/Engine.h"

#include "core/Fatal.h"
#include "core/Vfs.h"
#include "shell/FakeWindow.h"
#include "shell/Gamma.h"
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
    EngineTest() {
        auto window = std::make_unique<test::FakeWindow>();
        window_ = window.get();
        engine_ = std::make_unique<Engine>(HarnessOptions(), std::move(window));
        engine_->ExitProcess = [](int code) { throw ProcessExit{code}; };
    }

    test::FakeWindow* window_;
    std::unique_ptr<Engine> engine_;
};

TEST_F(EngineTest, ScreenModeFailureIsFatalWithItsCode) {
    window_->OpenError = kWindowNoGlContext;
    EXPECT_EQ(test::CatchFatal([&] { engine_->SetScreenMode(800, 600, 60, true, false); }), "ScreenRes failed. Err=3");
    ASSERT_EQ(window_->Opened.size(), 1u);
    EXPECT_TRUE(window_->Opened[0].Fullscreen);
    EXPECT_EQ(window_->Opened[0].RefreshRate, 60);
    EXPECT_TRUE(window_->Opened[0].Vsync);
}

TEST_F(EngineTest, BorderlessTakesTheDesktopSize) {
    engine_->SetScreenMode(800, 600, 75, false, true);
    EXPECT_EQ(engine_->ScreenWidth, 1920);
    EXPECT_EQ(engine_->ScreenHeight, 1080);
    EXPECT_EQ(engine_->RefreshRate, 75);
    engine_->SetScreenMode(640, 480, 0, false, false);
    EXPECT_EQ(engine_->ScreenWidth, 640);
    EXPECT_EQ(engine_->ScreenHeight, 480);
}

TEST_F(EngineTest, GammaIsAppliedAndRestored) {
    engine_->ApplyGamma(2.0f);
    ASSERT_EQ(window_->RampsSet.size(), 1u);
    EXPECT_TRUE(SameRamp(window_->RampsSet[0], GammaRampFor(2.0f)));

    // Not asked to put back the custom ramp: the linear one goes back.
    engine_->SavedGammaRamp = GammaRampFor(0.7f);
    engine_->SavedGammaRampRead = true;
    engine_->RestoreGamma();
    EXPECT_TRUE(SameRamp(window_->RampsSet.back(), LinearGammaRamp()));

    ConfigSet(engine_->Config, "RestoreCustomGamma", "true");
    engine_->RestoreGamma();
    EXPECT_TRUE(SameRamp(window_->RampsSet.back(), GammaRampFor(0.7f)));

    // A ramp that was never read (a fatal error early in start-up) is never written back.
    engine_->SavedGammaRampRead = false;
    engine_->RestoreGamma();
    EXPECT_TRUE(SameRamp(window_->RampsSet.back(), LinearGammaRamp()));
}

TEST_F(EngineTest, EscapeOpensTheMenuOnceAndTheMenuDoesNotSeeItAgain) {
    engine_->SetScreenMode(640, 480, 0, false, false);
    engine_->Input.SetMousePosition(100, 200);
    engine_->Input.PushChar('x');
    engine_->StepWorld();
    EXPECT_EQ(engine_->Input.PendingChars(), 0); // typed characters are dropped while playing

    engine_->Input.SetKey(kKeyEscape, true);
    engine_->StepWorld();
    EXPECT_EQ(engine_->Menu, MenuState::Main);
    EXPECT_FALSE(engine_->KeyEdge(kKeyEscape)); // the menu input sees no second press
    EXPECT_NE(std::find(window_->Calls.begin(), window_->Calls.end(), "Release"), window_->Calls.end());

    engine_->Input.PushChar('y');
    engine_->StepWorld(); // in a menu the step runs the menu input only
    EXPECT_EQ(engine_->Menu, MenuState::Main);

    engine_->Input.SetMousePosition(5, 5);
    engine_->Input.SetKey(kKeyEscape, false);
    engine_->StepWorld();
    engine_->Input.SetKey(kKeyEscape, true);
    engine_->StepWorld(); // a second press of Escape in the main menu: back to play
    EXPECT_EQ(engine_->Menu, MenuState::Playing); // the cursor goes back where it was
    EXPECT_EQ(engine_->Input.MouseX(), 100);
    EXPECT_EQ(engine_->Input.MouseY(), 200);
    EXPECT_EQ(window_->Calls.back(), "Confine");
}

TEST_F(EngineTest, EscapeInTheOtherScreensLeadsBackToTheMainMenu) {
    engine_->SetScreenMode(640, 480, 0, false, false);
    for (MenuState screen : {MenuState::LevelSelect, MenuState::Options, MenuState::Credits}) {
        engine_->Menu = screen;
        engine_->Input.SetKey(kKeyEscape, true);
        engine_->StepWorld();
        EXPECT_EQ(engine_->Menu, MenuState::Main) << static_cast<int>(screen);
        engine_->Input.SetKey(kKeyEscape, false);
        engine_->StepWorld();
    }
}

TEST_F(EngineTest, PendingLevelIsTakenAtTheNextStep) {
    engine_->GameWorld.PendingLevel = "Maps\\Demo2.t3d";
    engine_->StepWorld();
    EXPECT_EQ(engine_->GameWorld.PendingLevel, "");
}

TEST_F(EngineTest, LeavingTheOptionsMenuSavesTheSettings) {
    test::TempDir dir;
    engine_->Options.ConfigFile = dir / "Saved.ini";
    ConfigSet(engine_->Config, "Gamma", "1.3");
    engine_->Menu = MenuState::LevelSelect;
    engine_->OpenMenu(MenuState::Main);
    EXPECT_FALSE(FileExists(dir / "Saved.ini"));
    engine_->Menu = MenuState::Options;
    engine_->OpenMenu(MenuState::Main);
    std::string text;
    ASSERT_TRUE(ReadWholeFile(dir / "Saved.ini", text));
    EXPECT_EQ(text, "Gamma=1.3\r\n");
}

TEST_F(EngineTest, FirstLevelComesFromTheArgumentOrTheSettings) {
    ConfigTable config;
    ConfigParse(config, "InitialLevel=Demo1\n");
    EXPECT_EQ(Engine::FirstLevelPath("", config), "Maps\\Demo1.t3d");
    EXPECT_EQ(Engine::FirstLevelPath("elsewhere/My.T3D", config), "elsewhere/My.T3D");
    EXPECT_EQ(Engine::FirstLevelPath("", ConfigTable()), "Maps\\.t3d");
}

TEST_F(EngineTest, FatalPathInOrder) {
    test::TempDir dir;
    engine_->Options.DumpFile = dir / "dump.jsonl";
    engine_->Steps = 7;
    test::LogCapture log;
    int code = -1;
    try {
        engine_->FatalErrorPath("Bad FireTexture header. (x.firet)");
    } catch (const ProcessExit& e) {
        code = e.Code;
    }
    EXPECT_EQ(code, 0);
    EXPECT_EQ(log.Lines(), (std::vector<std::string>{"Error: Bad FireTexture header. (x.firet)", "Exiting."}));
    const std::vector<std::string> expectedCalls = {"OpenPlainWindow 256x128",
                                                    "MessageBox Error: Bad FireTexture header. (x.firet)", "Close"};
    EXPECT_EQ(window_->Calls, expectedCalls);
    ASSERT_EQ(window_->RampsSet.size(), 1u); // the gamma goes back on this path too
    EXPECT_TRUE(SameRamp(window_->RampsSet[0], LinearGammaRamp()));
    std::string dump;
    ASSERT_TRUE(ReadWholeFile(dir / "dump.jsonl", dump));
    EXPECT_NE(dump.find("\"Steps\":7,"), std::string::npos);
}

TEST_F(EngineTest, ShutdownLogsAndRestoresGamma) {
    test::LogCapture log;
    EXPECT_THROW(engine_->Shutdown(), ProcessExit);
    EXPECT_EQ(log.Lines(), (std::vector<std::string>{"Exiting."}));
    EXPECT_EQ(window_->RampsSet.size(), 1u);
    EXPECT_EQ(window_->Calls, (std::vector<std::string>{"Close"}));
}

} // namespace
} // namespace orv
