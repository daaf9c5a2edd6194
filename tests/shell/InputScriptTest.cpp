// Input scripts: every event form, ordering by step, and the fatal message for bad lines.
#include "shell/InputScript.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

TEST(InputScript, EveryEventForm) {
    const std::vector<InputEvent> events = ParseInputScript(R"(# a walk and a look around
1 key Escape down
1 key 0x1c up      # Enter by number, in hex
2 key 17 down
3 mouse -5 12

4 button right down
4 BUTTON Middle UP
	10 key pagedown down
10 key f9 up
11 key 255 down
12 mouse +3 0
)",
                                                            "walk.txt");
    ASSERT_EQ(events.size(), 10u);
    EXPECT_EQ(events[0].Step, 1);
    EXPECT_EQ(events[0].Type, InputEvent::Kind::Key);
    EXPECT_EQ(events[0].Scancode, kKeyEscape);
    EXPECT_TRUE(events[0].Down);
    EXPECT_EQ(events[0].Line, 2);
    EXPECT_EQ(events[1].Scancode, kKeyEnter);
    EXPECT_FALSE(events[1].Down);
    EXPECT_EQ(events[2].Scancode, kKeyW);
    EXPECT_EQ(events[3].Type, InputEvent::Kind::Mouse);
    EXPECT_EQ(events[3].Dx, -5);
    EXPECT_EQ(events[3].Dy, 12);
    EXPECT_EQ(events[4].Type, InputEvent::Kind::Button);
    EXPECT_EQ(events[4].Button, MouseButton::Right);
    EXPECT_TRUE(events[4].Down);
    EXPECT_EQ(events[5].Button, MouseButton::Middle);
    EXPECT_FALSE(events[5].Down);
    EXPECT_EQ(events[6].Scancode, kKeyPageDown);
    EXPECT_EQ(events[6].Line, 9);
    EXPECT_EQ(events[7].Scancode, kKeyF9);
    EXPECT_EQ(events[8].Scancode, 255);
    EXPECT_EQ(events[9].Dx, 3);
}

TEST(InputScript, EveryKeyNameIsKnown) {
    const std::pair<const char*, int> names[] = {
        {"Escape", 1},   {"Enter", 28},     {"Up", 72},      {"Down", 80},     {"Left", 0x4B},   {"Right", 0x4D},
        {"W", 0x11},     {"A", 0x1E},       {"S", 0x1F},     {"D", 0x20},      {"Space", 0x39},  {"Ctrl", 0x1D},
        {"F", 0x21},     {"G", 0x22},       {"N", 0x31},     {"M", 0x32},      {"End", 0x4F},    {"PageDown", 0x51},
        {"Delete", 0x53}, {"F1", 0x3B},     {"F9", 0x43},
    };
    for (const auto& [name, code] : names) {
        EXPECT_EQ(ScriptKeyByName(name), code) << name;
    }
    EXPECT_EQ(ScriptKeyByName("escape"), 1);
    EXPECT_EQ(ScriptKeyByName("Esc"), -1);
    EXPECT_EQ(ScriptKeyByName("F10"), -1);
    EXPECT_EQ(ScriptKeyByName(""), -1);
}

TEST(InputScript, EventsAreOrderedByStepKeepingFileOrder) {
    const std::vector<InputEvent> events = ParseInputScript("5 key A down\n2 key S down\n5 key A up\n2 key S up\n", "x");
    ASSERT_EQ(events.size(), 4u);
    EXPECT_EQ(events[0].Step, 2);
    EXPECT_TRUE(events[0].Down);
    EXPECT_EQ(events[1].Step, 2);
    EXPECT_FALSE(events[1].Down);
    EXPECT_EQ(events[2].Step, 5);
    EXPECT_TRUE(events[2].Down);
    EXPECT_FALSE(events[3].Down);

    InputScript script(events);
    InputState input;
    script.ApplyDue(1, input);
    EXPECT_FALSE(input.KeyDown(kKeyS));
    script.ApplyDue(2, input); // both step-2 events, in order: down then up
    EXPECT_FALSE(input.KeyDown(kKeyS));
    EXPECT_FALSE(script.Finished());
    script.ApplyDue(4, input);
    EXPECT_FALSE(input.KeyDown(kKeyA));
    script.ApplyDue(7, input);
    EXPECT_FALSE(input.KeyDown(kKeyA));
    EXPECT_TRUE(script.Finished());
}

TEST(InputScript, EventsReachTheInputState) {
    InputScript script(ParseInputScript("1 key W down\n1 mouse 10 -4\n1 button left down\n3 key W up\n", "x"));
    InputState input;
    input.SetMousePosition(100, 100);
    script.ApplyDue(1, input);
    EXPECT_TRUE(input.KeyDown(kKeyW));
    EXPECT_TRUE(input.ButtonDown(MouseButton::Left));
    EXPECT_EQ(input.MouseX(), 110);
    EXPECT_EQ(input.MouseY(), 96);
    script.ApplyDue(2, input);
    EXPECT_TRUE(input.KeyDown(kKeyW));
    script.ApplyDue(3, input);
    EXPECT_FALSE(input.KeyDown(kKeyW));
}

TEST(InputScript, BadLinesAreFatalWithFileAndLine) {
    EXPECT_EQ(test::CatchFatal([] { ParseInputScript("1 key W down\n\n# fine so far\n7 key Jump down\n", "moves.txt"); }),
              "Bad line in input script \"moves.txt\", line 4: unknown key \"Jump\".");
    const std::pair<const char*, const char*> bad[] = {
        {"0 key W down", "line 1: the step must be a whole number from 1 up."},
        {"-3 key W down", "line 1: the step must be a whole number from 1 up."},
        {"x key W down", "line 1: the step must be a whole number from 1 up."},
        {"1.5 key W down", "line 1: the step must be a whole number from 1 up."},
        {"5 key 256 down", "line 1: unknown key \"256\"."},
        {"5 key 0x100 down", "line 1: unknown key \"0x100\"."},
        {"5 key 0xZZ down", "line 1: unknown key \"0xZZ\"."},
        {"5 key W sideways", "line 1: expected down or up."},
        {"5 key W", "line 1: expected: STEP key KEY down|up."},
        {"5 key W down now", "line 1: expected: STEP key KEY down|up."},
        {"5 mouse 1", "line 1: expected: STEP mouse DX DY."},
        {"5 mouse 1 y", "line 1: the mouse motion must be two whole numbers."},
        {"5 button thumb down", "line 1: unknown button \"thumb\"."},
        {"5 button left", "line 1: expected: STEP button left|right|middle down|up."},
        {"5 wiggle", "line 1: unknown event \"wiggle\"."},
        {"5", "line 1: expected a step number and an event."},
    };
    for (const auto& [line, message] : bad) {
        EXPECT_EQ(test::CatchFatal([&] { ParseInputScript(line, "s.txt"); }),
                  std::string("Bad line in input script \"s.txt\", ") + message)
            << line;
    }
    EXPECT_EQ(test::CatchFatal([] { InputScript::Load("/nonexistent/orvane/script.txt"); }),
              "Can't open input script \"/nonexistent/orvane/script.txt\".");
}

TEST(InputScript, LoadsFromAFile) {
    test::TempDir dir;
    const std::string path = dir.Write("script.txt", "2 key Space down\r\n3 key Space up\r\n");
    InputScript script = InputScript::Load(path);
    InputState input;
    script.ApplyDue(2, input);
    EXPECT_TRUE(input.KeyDown(kKeySpace));
}

} // namespace
} // namespace orv
