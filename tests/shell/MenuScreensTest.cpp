// The options menu's own logic: the display-mode list as the system reports it, where the rows
// start from the settings, and every row's steps at its limits with the numbers it writes.
#include "shell/MenuScreens.h"

#include <gtest/gtest.h>

#include <tuple>

namespace orv {
namespace {

TEST(MenuScreens, DisplayModesGroupTheirRatesAndTheOptionsStartNearTheSettings) {
    // 16-bit modes are not offered; a size that comes back after another is a second entry.
    const std::vector<MenuDisplayMode> list = BuildDisplayModes(
        {{1920, 1080, 144, 32}, {1920, 1080, 60, 32}, {1920, 1080, 75, 16}, {1280, 720, 60, 32}, {1920, 1080, 50, 32}});
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[0].RefreshRates, (std::vector<int>{60, 144}));
    EXPECT_EQ(list[1].Width, 1280);
    EXPECT_EQ(list[2].RefreshRates, (std::vector<int>{50}));

    OptionChoices options;
    options.DisplayModeList = list;
    ConfigTable config;
    ConfigParse(config, "ScreenWidth=1300\nScreenHeight=700\nRefreshRate=102\nScreenMode=BORDERLESS\nGamma=1.3");
    PickOptionStarts(options, config);
    // Resolution 1, its first rate, borderless (mode 2).
    EXPECT_EQ(std::tuple(options.ResolutionIndex, options.RefreshIndex, options.ScreenModeIndex), std::tuple(1, 0, 2));
    EXPECT_FLOAT_EQ(options.Gamma, 1.3f);

    // Nothing within about 100 pixels and an unknown mode name: the earlier choices stay. Of two
    // rates equally near, the first.
    options.ResolutionIndex = 2;
    ConfigParse(config, "ScreenWidth=1920\nScreenHeight=1200\nRefreshRate=102\nScreenMode=Tiled\nGamma=2");
    PickOptionStarts(options, config);
    EXPECT_EQ(options.ResolutionIndex, 2);
    EXPECT_EQ(options.ScreenModeIndex, static_cast<int>(ScreenModeChoice::Borderless));
    EXPECT_FLOAT_EQ(options.Gamma, 1.3f); // read once, when the options first open
    options.ResolutionIndex = 0;
    PickOptionStarts(options, config);
    EXPECT_EQ(options.RefreshIndex, 0);
}

TEST(MenuScreens, OptionRowsStepWithinTheirLimitsAndWriteTheirSettings) {
    OptionChoices options;
    options.DisplayModeList = {{800, 600, {60, 75}}, {1024, 768, {60}}};
    options.FloatsRead = true;
    options.SoundVolume = 1.0f;
    ConfigTable config; // FOV and the rest missing: they read as 0
    ConfigParse(config, "MouseSensitivity=118\nGodMode=false");
    auto step = [&](OptionRow row, int by, int times = 1) {
        for (int i = 0; i < times; ++i) {
            StepOption(options, config, row, by);
        }
        return OptionValueText(options, config, row);
    };

    // The refresh row wraps through "Default"; changing the resolution puts it back there.
    EXPECT_EQ(step(OptionRow::RefreshRate, -1), "75");
    EXPECT_EQ(step(OptionRow::RefreshRate, 1), "Default");
    step(OptionRow::RefreshRate, 1);
    EXPECT_EQ(step(OptionRow::Resolution, -1), "1024x768");
    EXPECT_EQ(options.RefreshIndex, kDefaultRefresh);
    step(OptionRow::ScreenMode, -1);
    WriteScreenSettings(options, config);
    EXPECT_EQ(ConfigGet(config, "ScreenWidth") + ConfigGet(config, "RefreshRate") + ConfigGet(config, "ScreenMode"),
              "10240Borderless");

    // Ten steps down from 1 pass a tiny negative sum that is held at 0; eight up from there
    // write the float sum as it is.
    step(OptionRow::SoundVolume, -1, 10);
    EXPECT_EQ(ConfigGet(config, "SoundVolume"), "0");
    EXPECT_EQ(step(OptionRow::SoundVolume, 1, 8), "8");
    EXPECT_EQ(ConfigGet(config, "SoundVolume"), "0.8000001");

    // Missing settings start from their limits: 0 + 0.1 is below the least brightness.
    EXPECT_EQ(step(OptionRow::Brightness, 1), "0.5");
    EXPECT_EQ(ConfigGet(config, "Gamma"), "0.5");
    EXPECT_EQ(step(OptionRow::Brightness, 1, 25), "2.5");
    EXPECT_EQ(step(OptionRow::FieldOfView, 1) + " " + step(OptionRow::MouseSensitivity, 1), "80 120");
    EXPECT_EQ(step(OptionRow::GodMode, -1), "Enabled");
    EXPECT_EQ(ConfigGet(config, "GodMode"), "true");
}

} // namespace
} // namespace orv
