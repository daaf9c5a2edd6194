// A whole headless run inside the test: start-up, the scripted fixed-step loop and Shutdown.
#include "shell/Engine.h"

#include "core/Fatal.h"
#include "core/Vfs.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

struct ProcessExit {
    int Code;
};

TEST(EngineRun, ScriptedEscapeStopsTheGameClock) {
    test::TempDir dir;
    HarnessOptions options;
    options.Headless = true;
    options.FixedStep = true;
    options.Steps = 120;
    options.Seed = 5;
    options.ConfigFile = dir.Write("Test.ini", "ScreenWidth=160\nScreenHeight=120\nScreenMode=Windowed\nFOV=90\n"
                                               "LightmapAtlasSize=512\nTraceMeshColor=true\n");
    options.InputScript = dir.Write("input.txt", "# open the menu in step 31\n31 key Escape down\n40 key Escape up\n");
    options.DumpFile = dir / "dump.jsonl";

    Engine engine(options, CreateSdlWindow(true));
    engine.ExitProcess = [](int code) { throw ProcessExit{code}; };
    test::LogCapture log;
    test::FatalCatcher fatal;
    int exitCode = -1;
    test::InDirectory(dir.Path(), [&] {
        try {
            engine.InitEngine();
        } catch (const test::FatalErrorRaised& e) {
            ASSERT_EQ(e.Message, "ScreenRes failed. Err=3");
            GTEST_SKIP() << "no headless OpenGL context on this machine";
        }
        try {
            for (;;) {
                engine.RunPass();
            }
        } catch (const ProcessExit& e) {
            exitCode = e.Code;
        }
    });
    if (IsSkipped()) {
        return;
    }
    EXPECT_EQ(exitCode, 0);
    EXPECT_EQ(engine.Steps, 120);
    EXPECT_EQ(engine.Frames, 120); // one frame per pass with --fixed-step
    EXPECT_EQ(engine.MenuState, kMenuMain);
    EXPECT_NEAR(engine.GameTime, 30.0 / 60.0, 1e-12); // steps 1..30 only
    EXPECT_EQ(engine.ScreenWidth, 160);
    EXPECT_EQ(engine.ScreenHeight, 120);
    EXPECT_EQ(engine.FOV, 90.0f);
    EXPECT_EQ(engine.LightmapAtlasSize, 512);
    EXPECT_TRUE(engine.TraceMeshColor);
    EXPECT_NE(engine.ActiveTextureARB, nullptr);
    for (float f : engine.Flicker.Table) {
        ASSERT_GE(f, 0.6f);
        ASSERT_LE(f, 1.0f);
    }

    ASSERT_EQ(log.Lines().size(), 4u);
    EXPECT_EQ(log.Lines()[0].rfind("Orvane ", 0), 0u);
    EXPECT_NE(log.Lines()[0].find(", compiled 20"), std::string::npos);
    EXPECT_EQ(log.Lines()[1], "Don't close this window.");
    EXPECT_EQ(log.Lines()[2], "");
    EXPECT_EQ(log.Lines()[3], "Exiting.");

    std::string dump;
    ASSERT_TRUE(ReadWholeFile(dir / "dump.jsonl", dump));
    EXPECT_EQ(dump.rfind("{\"MenuState\":2,\"GameTime\":0.49999999999999994,\"Steps\":120,", 0), 0u) << dump;
}

} // namespace
} // namespace orv
