// The command line: the level argument, every option, and what is refused.
#include "shell/HarnessOptions.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

TEST(HarnessOptions, LevelIsTheFirstArgumentWithoutDashes) {
    HarnessOptions o;
    std::string error;
    ASSERT_TRUE(ParseHarnessOptions({"--headless", "--steps", "120", "Maps\\Demo2.t3d", "extra", "--fixed-step"}, o, error))
        << error;
    EXPECT_EQ(o.LevelPath, "Maps\\Demo2.t3d"); // the 120 is the value of --steps, not the level
    EXPECT_TRUE(o.Headless);
    EXPECT_TRUE(o.FixedStep);
    ASSERT_TRUE(o.Steps.has_value());
    EXPECT_EQ(*o.Steps, 120);

    ASSERT_TRUE(ParseHarnessOptions({}, o, error));
    EXPECT_EQ(o.LevelPath, "");
    EXPECT_FALSE(o.Steps.has_value());
    EXPECT_FALSE(o.Seed.has_value());
    EXPECT_FALSE(o.Headless);
    EXPECT_EQ(o.ConfigFile, "");
}

TEST(HarnessOptions, EveryOption) {
    HarnessOptions o;
    std::string error;
    ASSERT_TRUE(ParseHarnessOptions({"--seed", "42", "--input", "in.txt", "--screenshot-at", "30", "--screenshot-at=5",
                                     "--dump", "d.jsonl", "--config=my.ini", "--log", "run.log", "--timedemo", "--help",
                                     "--version", "--steps=0"},
                                    o, error))
        << error;
    EXPECT_EQ(*o.Seed, 42u);
    EXPECT_EQ(o.InputScript, "in.txt");
    EXPECT_EQ(o.ScreenshotSteps, (std::vector<int64_t>{30, 5}));
    EXPECT_EQ(o.DumpFile, "d.jsonl");
    EXPECT_EQ(o.ConfigFile, "my.ini");
    EXPECT_EQ(o.LogFile, "run.log");
    EXPECT_TRUE(o.Timedemo);
    EXPECT_TRUE(o.Help);
    EXPECT_TRUE(o.Version);
    EXPECT_EQ(*o.Steps, 0);
}

TEST(HarnessOptions, RefusesWhatItDoesNotKnow) {
    HarnessOptions o;
    std::string error;
    EXPECT_FALSE(ParseHarnessOptions({"--frobnicate"}, o, error));
    EXPECT_EQ(error, "unknown option --frobnicate");
    EXPECT_FALSE(ParseHarnessOptions({"level.t3d", "--steps"}, o, error));
    EXPECT_EQ(error, "option --steps needs a value");
    EXPECT_FALSE(ParseHarnessOptions({"--steps", "ten"}, o, error));
    EXPECT_EQ(error, "option --steps needs a whole number, not \"ten\"");
    EXPECT_FALSE(ParseHarnessOptions({"--steps", "-4"}, o, error));
    EXPECT_FALSE(ParseHarnessOptions({"--screenshot-at", "5x"}, o, error));
    EXPECT_FALSE(ParseHarnessOptions({"--seed", "-1"}, o, error));
    EXPECT_FALSE(ParseHarnessOptions({"--headless=yes"}, o, error));
    EXPECT_EQ(error, "option --headless takes no value");
    EXPECT_FALSE(ParseHarnessOptions({"--Headless"}, o, error)); // options are spelled exactly
    EXPECT_FALSE(UsageText().empty());
}

TEST(HarnessOptions, UserPathsAreAnchoredToWhereTheUserWas) {
    HarnessOptions o;
    std::string error;
    ASSERT_TRUE(ParseHarnessOptions({"--config", "cfg/My.ini", "--dump", "/abs/d.jsonl", "--input", "../in.txt",
                                     "Maps\\Demo1.t3d"},
                                    o, error));
    AnchorHarnessPaths(o, "/home/player/run");
    EXPECT_EQ(o.ConfigFile, "/home/player/run/cfg/My.ini");
    EXPECT_EQ(o.DumpFile, "/abs/d.jsonl");
    EXPECT_EQ(o.InputScript, "/home/player/in.txt");
    EXPECT_EQ(o.LogFile, ""); // not given: stays empty
    EXPECT_EQ(o.LevelPath, "Maps\\Demo1.t3d"); // levels are found from the program's folder
}

} // namespace
} // namespace orv
