// The engine's state line read back by an independent JSON parser: key order, exact floats,
// escaped texts and Latin-1 bytes, null for what JSON cannot hold.
#include "shell/StateDump.h"

#include "core/ConfigFile.h"
#include "world/World.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cmath>

namespace orv {
namespace {

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
    ASSERT_EQ(text.back(), '\n');
    ASSERT_EQ(text.find('\n'), text.size() - 1); // one line: no actors yet

    const auto line = nlohmann::ordered_json::parse(text);
    std::vector<std::string> keys;
    for (const auto& [key, value] : line.items()) {
        keys.push_back(key);
    }
    EXPECT_EQ(keys, (std::vector<std::string>{"MenuState", "GameTime", "Steps", "Level", "PendingLevel", "HudMessage",
                                              "HudMessageTime", "TranslatorText", "LevelIntroTime"}));
    EXPECT_EQ(line["MenuState"], 4);
    EXPECT_EQ(line["GameTime"].get<double>(), 0.1 + 1.0 / 60.0);
    EXPECT_EQ(line["Steps"], 1234);
    EXPECT_EQ(line["Level"], "Demo1");
    EXPECT_EQ(line["PendingLevel"], "Maps\\Demo2.t3d");
    EXPECT_EQ(line["HudMessage"], "You picked up a \"Health\" +20\t\x01 caf\xC3\xA9"); // Latin-1 e acute
    EXPECT_EQ(line["HudMessageTime"].get<float>(), 7.9833336f);
    EXPECT_EQ(line["TranslatorText"], "Line one\r\nLine two");
    EXPECT_TRUE(line["LevelIntroTime"].is_null());
}

} // namespace
} // namespace orv
