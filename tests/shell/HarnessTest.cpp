// The test harness of the program: the command line, input scripts (every event form, step
// order, the fatal message for bad lines) and the dump's engine line, read back by an
// independent JSON parser.
#include "shell/HarnessOptions.h"
#include "shell/InputScript.h"
#include "shell/StateDump.h"

#include "core/ConfigFile.h"
#include "support/TestSupport.h"
#include "world/World.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <cmath>

namespace orv {
namespace {

TEST(HarnessOptions, EveryOptionTheLevelAndPathsAnchoredWhereTheUserWas) {
    HarnessOptions o;
    std::string error;
    ASSERT_TRUE(ParseHarnessOptions({"--headless", "--steps", "120", "Maps\\Demo2.t3d", "extra", "--fixed-step", "--seed",
                                     "42", "--input", "in.txt", "--screenshot-at", "30", "--screenshot-at=5", "--dump",
                                     "/abs/d.jsonl", "--config=cfg/My.ini", "--timedemo", "--help", "--version"},
                                    o, error))
        << error;
    EXPECT_EQ(o.LevelPath, "Maps\\Demo2.t3d"); // not the 120 of --steps, nor the extra argument
    EXPECT_TRUE(o.Headless && o.FixedStep && o.Timedemo && o.Help && o.Version);
    EXPECT_EQ(o.Steps, 120);
    EXPECT_EQ(o.Seed, 42u);
    EXPECT_EQ(o.ScreenshotSteps, (std::vector<int64_t>{30, 5}));
    AnchorHarnessPaths(o, "/home/player/run");
    EXPECT_EQ(o.InputScript, "/home/player/run/in.txt");
    EXPECT_EQ(o.DumpFile, "/abs/d.jsonl");
    EXPECT_EQ(o.ConfigFile, "/home/player/run/cfg/My.ini");
    EXPECT_EQ(o.LogFile, "");                  // not given: stays empty
    EXPECT_EQ(o.LevelPath, "Maps\\Demo2.t3d"); // levels are found from the program's folder

    ASSERT_TRUE(ParseHarnessOptions({"--steps=0", "--log", "../run.log"}, o, error)); // a fresh start
    AnchorHarnessPaths(o, "/home/player/run");
    EXPECT_EQ(o.LogFile, "/home/player/run.log");
    EXPECT_EQ(o.Steps, 0);

    const std::pair<std::vector<std::string>, std::string> refused[] = {
        {{"--frobnicate"}, "unknown option --frobnicate"},
        {{"--Headless"}, "unknown option --Headless"}, // spelled exactly
        {{"level.t3d", "--steps"}, "option --steps needs a value"},
        {{"--steps", "ten"}, "option --steps needs a whole number, not \"ten\""},
        {{"--steps", "-4"}, "option --steps needs a whole number, not \"-4\""},
        {{"--screenshot-at", "5x"}, "option --screenshot-at needs a whole number, not \"5x\""},
        {{"--seed", "-1"}, "option --seed needs a whole number, not \"-1\""},
        {{"--headless=yes"}, "option --headless takes no value"},
    };
    for (const auto& [args, message] : refused) {
        EXPECT_FALSE(ParseHarnessOptions(args, o, error)) << message;
        EXPECT_EQ(error, message);
    }
}

// An event as "line N: STEP kind values", to compare whole scripts at once.
std::string Text(const InputEvent& e) {
    const std::string head = "line " + std::to_string(e.Line) + ": " + std::to_string(e.Step);
    const char* upDown = e.Down ? " down" : " up";
    switch (e.Type) {
    case InputEvent::Kind::Key: return head + " key " + std::to_string(e.Scancode) + upDown;
    case InputEvent::Kind::Mouse: return head + " mouse " + std::to_string(e.Dx) + " " + std::to_string(e.Dy);
    case InputEvent::Kind::Button: return head + " button " + std::to_string(static_cast<int>(e.Button)) + upDown;
    }
    return head;
}

TEST(InputScript, EveryEventFormInStepOrder) {
    const std::vector<InputEvent> events = ParseInputScript("# a walk and a look around\r\n"
                                                            "1 key Escape down\r\n"
                                                            "1 key 0x1c up      # Enter by number, in hex\r\n"
                                                            "\r\n"
                                                            "2 key 17 down\n"
                                                            "\t4 BUTTON Middle UP\n"
                                                            "3 mouse -5 +12\n"
                                                            "10 key pagedown down\n"
                                                            "11 key 255 down\n",
                                                            "walk.txt");
    std::vector<std::string> texts;
    std::transform(events.begin(), events.end(), std::back_inserter(texts), Text);
    EXPECT_EQ(texts, (std::vector<std::string>{"line 2: 1 key 1 down", "line 3: 1 key 28 up", "line 5: 2 key 17 down",
                                               "line 7: 3 mouse -5 12", "line 6: 4 button 2 up",
                                               "line 8: 10 key 81 down", "line 9: 11 key 255 down"}));
}

TEST(InputScript, EventsReachTheInputStateStepByStepInFileOrder) {
    test::TempDir dir;
    InputScript script = InputScript::Load(dir.Write("keys.txt", "5 key A down\n2 key S down\n5 key A up\n2 key S up\n"
                                                                 "1 key W down\n1 mouse 10 -4\n1 button right down\n3 key W up\n"));
    InputState input;
    input.SetMousePosition(100, 100);
    script.ApplyDue(1, input);
    EXPECT_TRUE(input.KeyDown(kKeyW));
    EXPECT_TRUE(input.ButtonDown(MouseButton::Right));
    EXPECT_EQ(input.MouseX(), 110);
    EXPECT_EQ(input.MouseY(), 96);
    script.ApplyDue(2, input); // both step-2 events, in file order: down then up
    EXPECT_FALSE(input.KeyDown(kKeyS));
    EXPECT_TRUE(input.KeyDown(kKeyW));
    script.ApplyDue(4, input);
    EXPECT_FALSE(input.KeyDown(kKeyW));
    EXPECT_FALSE(script.Finished());
    script.ApplyDue(7, input);
    EXPECT_FALSE(input.KeyDown(kKeyA));
    EXPECT_TRUE(script.Finished());
}

TEST(InputScript, BadLinesAreFatalWithFileAndLine) {
    EXPECT_EQ(test::CatchFatal([] { ParseInputScript("1 key W down\n\n# fine so far\n7 key Jump down\n", "moves.txt"); }),
              "Bad line in input script \"moves.txt\", line 4: unknown key \"Jump\".");
    const std::pair<const char*, const char*> bad[] = {
        {"0 key W down", "the step must be a whole number from 1 up."},
        {"5 key 256 down", "unknown key \"256\"."},
        {"5 key 0xZZ down", "unknown key \"0xZZ\"."},
        {"5 key W sideways", "expected down or up."},
        {"5 key W down now", "expected: STEP key KEY down|up."},
        {"5 mouse 1", "expected: STEP mouse DX DY."},
        {"5 mouse 1 y", "the mouse motion must be two whole numbers."},
        {"5 button thumb down", "unknown button \"thumb\"."},
        {"5 button left", "expected: STEP button left|right|middle down|up."},
        {"5 wiggle", "unknown event \"wiggle\"."},
        {"5", "expected a step number and an event."},
    };
    for (const auto& [line, message] : bad) {
        EXPECT_EQ(test::CatchFatal([&] { ParseInputScript(line, "s.txt"); }),
                  std::string("Bad line in input script \"s.txt\", line 1: ") + message)
            << line;
    }
    EXPECT_EQ(test::CatchFatal([] { InputScript::Load("/nonexistent/orvane/script.txt"); }),
              "Can't open input script \"/nonexistent/orvane/script.txt\".");
}

TEST(StateDump, EngineLineReadsBackThroughAJsonParser) {
    Resources res;
    ConfigTable config;
    World world(res, config);
    world.GameTime = 0.1 + 1.0 / 60.0; // no short decimal form: every digit must survive
    world.CurrentLevel.Name = "Demo1";
    world.PendingLevel = "Maps\\Demo2.t3d";
    world.HudMessage = "You picked up a \"Health\" +20\t\x01 caf\xE9";
    world.HudMessageTime = 7.9833336f;
    world.TranslatorText = "Line one\r\nLine two";
    world.LevelIntroTime = INFINITY;
    const std::string text = StateDumpText(world, MenuState::Options, 1234);
    ASSERT_EQ(text.find('\n'), text.size() - 1); // one line: no actors yet

    // Parsed and written again by an independent JSON library: the keys in their order, every
    // float to the last digit it needs, the texts unescaped, Latin-1 as UTF-8, null for infinity.
    EXPECT_EQ(nlohmann::ordered_json::parse(text).dump(),
              "{\"MenuState\":4,\"GameTime\":0.11666666666666667,\"Steps\":1234,\"Level\":\"Demo1\","
              "\"PendingLevel\":\"Maps\\\\Demo2.t3d\",\"HudMessage\":\"You picked up a \\\"Health\\\" +20\\t\\u0001 caf\xC3\xA9\","
              "\"HudMessageTime\":7.98333359,\"TranslatorText\":\"Line one\\r\\nLine two\",\"LevelIntroTime\":null}");
}

} // namespace
} // namespace orv
