// Absurd settings: each one refused with one log line naming the file, line and key, and the value
// the engine goes on with.
#include "core/Settings.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace orv {
namespace {

// The whole file "f", the key, its value after the check, and the one log line about it ("" for none).
const std::string_view kAbsurd[][4] = {
    {"LightmapAtlasSize=1073741824", "LightmapAtlasSize", "2048",
     "f line 1: LightmapAtlasSize=\"1073741824\" is out of range (0 to 8192); 2048 is used."},
    {"; w\nScreenWidth=0", "ScreenWidth", "1280",
     "f line 2: ScreenWidth=\"0\" is out of range (64 to 8192); 1280 is used."},
    {"FOV=1e30", "FOV", "170", "f line 1: FOV=\"1e30\" is out of range (10 to 170); 170 is used."},
    {"FOV=nan", "FOV", "80", "f line 1: FOV=\"nan\" is not a number; 80 is used."},
    {"", "FOV", "80", "f: FOV is missing; 80 is used."},
    {std::string_view("X=1\rFOV=9\0\x01", 11), "FOV", "10",
     "f line 2: FOV=\"9??\" is out of range (10 to 170); 10 is used."},
    {"Gamma=-1e999", "Gamma", "0", "f line 1: Gamma=\"-1e999\" is out of range (0 to 5); 0 is used."},
    {"Gamma=", "Gamma", "", ""}, // empty reads as 0: the display ramp is left alone
    {"GodMode= true", "GodMode", "false", "f line 1: GodMode=\" true\" is neither true nor false; false is used."},
    {"InitialLevel=A\ninitiallevel=B", "InitialLevel", "A", "f line 2: InitialLevel repeats line 1; line 1 is used."},
};

TEST(Settings, AbsurdValuesAreRefusedWithTheFileLineAndKey) {
    for (const auto& [text, key, used, line] : kAbsurd) {
        ConfigTable table;
        ConfigParse(table, text);
        test::LogCapture log;
        CheckSettings(table, "f");
        EXPECT_EQ(ConfigGet(table, key), used) << text;
        const auto aboutKey = std::count_if(log.Lines().begin(), log.Lines().end(), [&](const std::string& l) {
            return l.find(" " + std::string(key)) != l.npos;
        });
        EXPECT_EQ(aboutKey, line.empty() ? 0 : 1) << text;
        EXPECT_TRUE(line.empty() || log.Contains(std::string(line))) << text;
    }
}

} // namespace
} // namespace orv
