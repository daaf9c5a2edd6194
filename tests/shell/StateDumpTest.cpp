// The JSON Lines state dump: escaping, exact floats, the engine line.
#include "shell/StateDump.h"

#include "shell/Engine.h"
#include "shell/FakeWindow.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

namespace orv {
namespace {

TEST(StateDump, StringsAreValidJson) {
    EXPECT_EQ(JsonString(""), "\"\"");
    EXPECT_EQ(JsonString("Maps\\Demo1.t3d"), "\"Maps\\\\Demo1.t3d\"");
    EXPECT_EQ(JsonString("say \"hi\"\n\tnow\r"), "\"say \\\"hi\\\"\\n\\tnow\\r\"");
    EXPECT_EQ(JsonString(std::string("a\0b", 3)), "\"a\\u0000b\"");
    EXPECT_EQ(JsonString("\x7F"), "\"\\u007F\"");
    EXPECT_EQ(JsonString("caf\xE9"), "\"caf\\u00E9\""); // Latin-1 byte, not broken UTF-8
}

TEST(StateDump, FloatsReadBackExactly) {
    for (const double d : {0.0, 2.0, 0.1, 1.0 / 60.0, 120.0 / 60.0 + 1e-15, -3.25e-7, 1e300}) {
        EXPECT_EQ(std::strtod(JsonDouble(d).c_str(), nullptr), d) << JsonDouble(d);
    }
    for (const float f : {0.0f, 8.0f, 0.1f, 0.016666668f, 7.9833336f, -1e-30f, 3.4e38f}) {
        EXPECT_EQ(std::strtof(JsonFloat(f).c_str(), nullptr), f) << JsonFloat(f);
    }
    EXPECT_EQ(JsonDouble(2.0), "2");
    EXPECT_EQ(JsonDouble(std::nan("")), "null");
    EXPECT_EQ(JsonFloat(-INFINITY), "null");
}

TEST(StateDump, EngineLineInKeyOrder) {
    Engine engine(HarnessOptions(), std::make_unique<test::FakeWindow>());
    EXPECT_EQ(StateDumpText(engine), "{\"MenuState\":0,\"GameTime\":0,\"Steps\":0,\"Level\":\"\",\"PendingLevel\":\"\","
                                     "\"HudMessage\":\"\",\"HudMessageTime\":0,\"TranslatorText\":\"\",\"LevelIntroTime\":0}\n");
    engine.Menu = MenuState::Options;
    engine.GameWorld.GameTime = 0.1;
    engine.Steps = 1234;
    engine.GameWorld.CurrentLevel.Name = "Demo1";
    engine.GameWorld.PendingLevel = "Maps\\Demo2.t3d";
    engine.GameWorld.HudMessage = "You picked up a \"Health\" +20";
    engine.GameWorld.HudMessageTime = 7.9833336f;
    engine.GameWorld.TranslatorText = "Line one\nLine two";
    engine.GameWorld.LevelIntroTime = 0.5f;
    EXPECT_EQ(EngineStateLine(engine),
              "{\"MenuState\":4,\"GameTime\":0.10000000000000001,\"Steps\":1234,\"Level\":\"Demo1\","
              "\"PendingLevel\":\"Maps\\\\Demo2.t3d\",\"HudMessage\":\"You picked up a \\\"Health\\\" +20\","
              "\"HudMessageTime\":7.98333359,\"TranslatorText\":\"Line one\\nLine two\",\"LevelIntroTime\":0.5}");
}

} // namespace
} // namespace orv
