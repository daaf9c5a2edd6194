// Absurd settings: each one refused where it is read, with the line the player sees, and the
// value the engine goes on with.
#include "core/Settings.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <random>

namespace orv {
namespace {

using namespace std::string_view_literals;

struct AbsurdSetting {
    std::string_view Text; // the whole file
    const char* Key;
    const char* Used; // the value in the table after the check
    const char* Line; // the log line about the key, or "" for none
};

const AbsurdSetting kAbsurd[] = {
    {"LightmapAtlasSize=65536", "LightmapAtlasSize", "2048",
     "Orvane.ini line 1: LightmapAtlasSize=\"65536\" is out of range (0 to 8192); 2048 is used."},
    {"LightmapAtlasSize=1073741824", "LightmapAtlasSize", "2048",
     "Orvane.ini line 1: LightmapAtlasSize=\"1073741824\" is out of range (0 to 8192); 2048 is used."},
    {"LightmapAtlasSize=-1", "LightmapAtlasSize", "2048",
     "Orvane.ini line 1: LightmapAtlasSize=\"-1\" is out of range (0 to 8192); 2048 is used."},
    {"; w\nScreenWidth=0", "ScreenWidth", "1280",
     "Orvane.ini line 2: ScreenWidth=\"0\" is out of range (64 to 8192); 1280 is used."},
    {"ScreenHeight=-720", "ScreenHeight", "720",
     "Orvane.ini line 1: ScreenHeight=\"-720\" is out of range (64 to 8192); 720 is used."},
    {"ScreenWidth=99999999999", "ScreenWidth", "1280",
     "Orvane.ini line 1: ScreenWidth=\"99999999999\" is out of range (64 to 8192); 1280 is used."},
    {"ScreenWidth=1280px", "ScreenWidth", "1280px", ""}, // the numeric prefix counts
    {"RefreshRate=100000", "RefreshRate", "0",
     "Orvane.ini line 1: RefreshRate=\"100000\" is out of range (0 to 1000); 0 is used."},
    {"FOV=0", "FOV", "10", "Orvane.ini line 1: FOV=\"0\" is out of range (10 to 170); 10 is used."},
    {"FOV=180", "FOV", "170", "Orvane.ini line 1: FOV=\"180\" is out of range (10 to 170); 170 is used."},
    {"FOV=1e30", "FOV", "170", "Orvane.ini line 1: FOV=\"1e30\" is out of range (10 to 170); 170 is used."},
    {"FOV=-1e999", "FOV", "10", "Orvane.ini line 1: FOV=\"-1e999\" is out of range (10 to 170); 10 is used."},
    {"FOV=nan", "FOV", "80", "Orvane.ini line 1: FOV=\"nan\" is not a number; 80 is used."},
    {"FOV=", "FOV", "80", "Orvane.ini line 1: FOV=\"\" is not a number; 80 is used."},
    {"", "FOV", "80", "Orvane.ini: FOV is missing; 80 is used."},
    {"FOV=95.5", "FOV", "95.5", ""},
    {"Gamma=-2", "Gamma", "0", "Orvane.ini line 1: Gamma=\"-2\" is out of range (0 to 5); 0 is used."},
    {"Gamma=inf", "Gamma", "0", "Orvane.ini line 1: Gamma=\"inf\" is not a number; 0 is used."},
    {"Gamma=", "Gamma", "", ""}, // empty reads as 0: the display is left alone
    {"SoundVolume=2", "SoundVolume", "1",
     "Orvane.ini line 1: SoundVolume=\"2\" is out of range (0 to 1); 1 is used."},
    {"MusicVolume=-0.5", "MusicVolume", "0",
     "Orvane.ini line 1: MusicVolume=\"-0.5\" is out of range (0 to 1); 0 is used."},
    {"MouseSensitivity=1e30", "MouseSensitivity", "1000",
     "Orvane.ini line 1: MouseSensitivity=\"1e30\" is out of range (0 to 1000); 1000 is used."},
    {"GodMode=yes", "GodMode", "false", "Orvane.ini line 1: GodMode=\"yes\" is neither true nor false; false is used."},
    {"GodMode=TRUE", "GodMode", "TRUE", ""},
    {"Gamma=1.5\ngamma=9", "Gamma", "1.5", "Orvane.ini line 2: Gamma repeats line 1; line 1 is used."},
    {"InitialLevel=A\nINITIALLEVEL=B", "InitialLevel", "A",
     "Orvane.ini line 2: InitialLevel repeats line 1; line 1 is used."},
    {"ScreenWidth=800\rFOV=1000\rGamma=1", "FOV", "170", // CR-only line ends
     "Orvane.ini line 2: FOV=\"1000\" is out of range (10 to 170); 170 is used."},
    {"FOV=9\0\x01"sv, "FOV", "10",
     "Orvane.ini line 1: FOV=\"9??\" is out of range (10 to 170); 10 is used."},
    {"FOV=1234567890123456789012345678901234567890", "FOV", "170",
     "Orvane.ini line 1: FOV=\"12345678901234567890123456789012...\" is out of range (10 to 170); 170 is used."},
};

// Every engine setting, as the readers will see it, lies in its range.
void ExpectAllInRange(const ConfigTable& table, const std::string& context) {
    for (const SettingLimits& s : EngineSettings()) {
        if (s.Kind == SettingKind::Boolean) {
            continue;
        }
        const double v = s.Kind == SettingKind::Integer ? ConfigGetInt(table, s.Key) : ConfigGetFloat(table, s.Key);
        EXPECT_TRUE(v >= s.Lowest && v <= s.Highest) << context << ": " << s.Key << " = " << v;
    }
}

TEST(Settings, AbsurdValuesAreRefusedWithTheFileLineAndKey) {
    for (const AbsurdSetting& row : kAbsurd) {
        const std::string text(row.Text);
        ConfigTable table;
        ConfigParse(table, text);
        test::LogCapture log;
        CheckSettings(table, "Orvane.ini");
        EXPECT_EQ(ConfigGet(table, row.Key), row.Used) << row.Text;
        int aboutKey = 0;
        for (const std::string& line : log.Lines()) {
            aboutKey += line.find(std::string(" ") + row.Key) != std::string::npos;
        }
        EXPECT_EQ(aboutKey, *row.Line ? 1 : 0) << row.Text;
        if (*row.Line) {
            EXPECT_TRUE(log.Contains(row.Line)) << row.Text << "\n  got: " << (log.Lines().empty() ? "" : log.Lines()[0]);
        }
        ExpectAllInRange(table, text);
    }
}

TEST(Settings, BinaryJunkLeavesEverySettingInRange) {
    std::mt19937 random(22);
    for (int file = 0; file < 200; ++file) {
        std::string text = "FOV=";
        for (int i = 0; i < 300; ++i) {
            text += static_cast<char>(random() & 0xFF);
        }
        ConfigTable table;
        ConfigParse(table, text);
        test::LogCapture log;
        CheckSettings(table, "junk.ini");
        ExpectAllInRange(table, "junk file " + std::to_string(file));
    }
}

} // namespace
} // namespace orv
