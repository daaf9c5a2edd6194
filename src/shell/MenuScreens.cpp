// The lines, choices and option steps of the menu screens.
#include "shell/MenuScreens.h"

#include "core/Text.h"
#include "core/Vfs.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace orv {

namespace {

// Only modes with 8 bits for each colour channel (stored in 32 bits) are offered.
constexpr int kOfferedBitsPerPixel = 32;

// A resolution further than this (squared pixels, about 100 pixels off) from the configured one
// is no match: the options then open on the resolution chosen before.
constexpr int kNearestModeLimit = 9999;

// The steps of the options rows and their limits. A stepped value below the lower limit
// becomes it; one at or above the upper limit becomes that.
constexpr float kGammaStep = 0.1f;
constexpr float kGammaMin = 0.5f; // darker than this hides a level's shadows entirely
constexpr float kGammaMax = 2.5f;
constexpr float kFovStep = 5.0f;
constexpr float kFovMin = 80.0f;  // degrees, vertical
constexpr float kFovMax = 120.0f;
constexpr float kSensitivityStep = 5.0f;
constexpr float kSensitivityMin = 20.0f;
constexpr float kSensitivityMax = 120.0f;
constexpr float kVolumeStep = 0.1f;
constexpr float kVolumeMin = 0.0f;
constexpr float kVolumeMax = 1.0f;
// The volume rows show tenths: 0 to 10.
constexpr float kVolumeShownSteps = 10.0f;

const char* const kOptionLabels[kNumOptionRows] = {
    "Resolution (not for borderless)",
    "Screen mode (Alt+Enter)",
    "Refresh rate (fullscreen only)",
    "Brightness",
    "Field of view",
    "Mouse sensitivity",
    "God mode",
    "Procedural textures",
    "Dynamic lights",
    "Sound volume",
    "Music volume",
};

const char* const kScreenModeNames[kNumScreenModes] = {"Windowed", "Fullscreen", "Borderless"};

// The settings each toggle and number row writes.
const char* SettingOf(OptionRow row) {
    switch (row) {
    case OptionRow::Brightness: return "Gamma";
    case OptionRow::FieldOfView: return "FOV";
    case OptionRow::MouseSensitivity: return "MouseSensitivity";
    case OptionRow::GodMode: return "GodMode";
    case OptionRow::ProceduralTextures: return "ProceduralTextures";
    case OptionRow::DynamicLights: return "DynamicLights";
    case OptionRow::SoundVolume: return "SoundVolume";
    case OptionRow::MusicVolume: return "MusicVolume";
    default: return "";
    }
}

float Clamp(float value, float low, float high) {
    if (value < low) {
        return low;
    }
    return value >= high ? high : value;
}

// The index stepped around a list of n entries.
int Wrap(int index, int step, int n) { return n > 0 ? ((index + step) % n + n) % n : 0; }

const MenuDisplayMode* SelectedMode(const OptionChoices& options) {
    const auto& list = options.DisplayModeList;
    const int i = options.ResolutionIndex;
    return i >= 0 && i < static_cast<int>(list.size()) ? &list[i] : nullptr;
}

int NearestRate(const std::vector<int>& rates, int wanted) {
    int best = kDefaultRefresh;
    for (int i = 0; i < static_cast<int>(rates.size()); ++i) {
        if (best == kDefaultRefresh || std::abs(rates[i] - wanted) < std::abs(rates[best] - wanted)) {
            best = i;
        }
    }
    return best;
}

float StepNumber(ConfigTable& config, OptionRow row, float value, float low, float high) {
    value = Clamp(value, low, high);
    ConfigSet(config, SettingOf(row), FormatFloat(value));
    return value;
}

} // namespace

std::vector<MenuDisplayMode> BuildDisplayModes(const std::vector<DisplayMode>& modes) {
    std::vector<MenuDisplayMode> list;
    for (const DisplayMode& m : modes) {
        if (m.BitsPerPixel != kOfferedBitsPerPixel) {
            continue;
        }
        if (!list.empty() && list.back().Width == m.Width && list.back().Height == m.Height) {
            list.back().RefreshRates.push_back(m.RefreshRate);
        } else {
            list.push_back({m.Width, m.Height, {m.RefreshRate}});
        }
    }
    for (MenuDisplayMode& entry : list) {
        std::sort(entry.RefreshRates.begin(), entry.RefreshRates.end());
    }
    return list;
}

void PickOptionStarts(OptionChoices& options, const ConfigTable& config) {
    const int width = ConfigGetInt(config, "ScreenWidth");
    const int height = ConfigGetInt(config, "ScreenHeight");
    int best = kNearestModeLimit;
    for (int i = 0; i < static_cast<int>(options.DisplayModeList.size()); ++i) {
        const MenuDisplayMode& m = options.DisplayModeList[i];
        const int64_t dw = m.Width - width;
        const int64_t dh = m.Height - height;
        if (dw * dw + dh * dh < best) {
            best = static_cast<int>(dw * dw + dh * dh);
            options.ResolutionIndex = i;
        }
    }
    // A list that changed since the last time may be shorter than the kept index.
    if (!SelectedMode(options)) {
        options.ResolutionIndex = 0;
    }
    const int rate = ConfigGetInt(config, "RefreshRate");
    const MenuDisplayMode* mode = SelectedMode(options);
    options.RefreshIndex = rate == 0 || !mode ? kDefaultRefresh : NearestRate(mode->RefreshRates, rate);

    const std::string screenMode = ToLowerAscii(ConfigGet(config, "ScreenMode"));
    for (int i = 0; i < kNumScreenModes; ++i) {
        if (screenMode == ToLowerAscii(kScreenModeNames[i])) {
            options.ScreenModeIndex = i;
        }
    }
    if (!options.FloatsRead) {
        options.Gamma = ConfigGetFloat(config, "Gamma");
        options.SoundVolume = ConfigGetFloat(config, "SoundVolume");
        options.MusicVolume = ConfigGetFloat(config, "MusicVolume");
        options.FloatsRead = true;
    }
}

std::vector<std::string> LevelList() {
    std::vector<std::string> levels;
    for (const std::string& name : ListFiles("Maps\\*.t3d")) {
        if (name.size() > 4 && name.front() != '.') { // no hidden files
            levels.push_back(name.substr(0, name.size() - 4));
        }
    }
    return levels;
}

std::vector<std::string> MenuLines(MenuState state, const std::string& levelAuthor) {
    switch (state) {
    case MenuState::GameOver: return {"GAME OVER", "(press Enter)"};
    case MenuState::Main: return {"NEW GAME", "OPTIONS", "CREDITS", "EXIT"};
    case MenuState::LevelSelect: return LevelList();
    case MenuState::Options: return {std::begin(kOptionLabels), std::end(kOptionLabels)};
    case MenuState::Credits:
        return {"Orvane, written by the Orvane team",
                "",
                "Thanks to:",
                "Epic MegaGames and Digital Extremes,",
                "  who made Unreal in 1998",
                "everyone who still builds levels",
                "SDL, for the window and the keys",
                "OpenAL Soft, for sound all around",
                "libsndfile and libopenmpt",
                "stb, for every picture",
                "Mesa, for drawing with no screen",
                "and you, for playing",
                "",
                "The current map was made by",
                "     " + levelAuthor};
    default: return {};
    }
}

OptionEffect StepOption(OptionChoices& options, ConfigTable& config, OptionRow row, int step) {
    const MenuDisplayMode* mode = SelectedMode(options);
    switch (row) {
    case OptionRow::Resolution:
        options.ResolutionIndex = Wrap(options.ResolutionIndex, step, static_cast<int>(options.DisplayModeList.size()));
        options.RefreshIndex = kDefaultRefresh; // the rates belong to the old resolution
        return OptionEffect::None;
    case OptionRow::ScreenMode:
        options.ScreenModeIndex = Wrap(options.ScreenModeIndex, step, kNumScreenModes);
        return OptionEffect::None;
    case OptionRow::RefreshRate: {
        // "Default" counts as one more entry before the first rate.
        const int rates = mode ? static_cast<int>(mode->RefreshRates.size()) : 0;
        options.RefreshIndex = Wrap(options.RefreshIndex + 1, step, rates + 1) - 1;
        return OptionEffect::None;
    }
    case OptionRow::Brightness:
        options.Gamma = StepNumber(config, row, options.Gamma + kGammaStep * static_cast<float>(step), kGammaMin, kGammaMax);
        return OptionEffect::ApplyGamma;
    case OptionRow::FieldOfView:
        StepNumber(config, row, ConfigGetFloat(config, "FOV") + kFovStep * static_cast<float>(step), kFovMin, kFovMax);
        return OptionEffect::None;
    case OptionRow::MouseSensitivity:
        StepNumber(config, row, ConfigGetFloat(config, "MouseSensitivity") + kSensitivityStep * static_cast<float>(step),
                   kSensitivityMin, kSensitivityMax);
        return OptionEffect::None;
    case OptionRow::GodMode:
    case OptionRow::ProceduralTextures:
    case OptionRow::DynamicLights:
        ConfigSet(config, SettingOf(row), ConfigGetBool(config, SettingOf(row)) ? "false" : "true");
        return OptionEffect::None;
    case OptionRow::SoundVolume:
        options.SoundVolume = StepNumber(config, row, options.SoundVolume + kVolumeStep * static_cast<float>(step),
                                         kVolumeMin, kVolumeMax);
        return OptionEffect::SetSoundVolume;
    case OptionRow::MusicVolume:
        options.MusicVolume = StepNumber(config, row, options.MusicVolume + kVolumeStep * static_cast<float>(step),
                                         kVolumeMin, kVolumeMax);
        return OptionEffect::SetMusicVolume;
    }
    return OptionEffect::None;
}

std::string OptionValueText(const OptionChoices& options, const ConfigTable& config, OptionRow row) {
    const MenuDisplayMode* mode = SelectedMode(options);
    char text[32];
    switch (row) {
    case OptionRow::Resolution:
        return mode ? std::to_string(mode->Width) + "x" + std::to_string(mode->Height) : "Desktop";
    case OptionRow::ScreenMode:
        return kScreenModeNames[Wrap(options.ScreenModeIndex, 0, kNumScreenModes)];
    case OptionRow::RefreshRate: {
        const int i = options.RefreshIndex;
        if (!mode || i < 0 || i >= static_cast<int>(mode->RefreshRates.size())) {
            return "Default";
        }
        return std::to_string(mode->RefreshRates[i]);
    }
    case OptionRow::Brightness:
        std::snprintf(text, sizeof text, "%.1f", static_cast<double>(options.Gamma));
        return text;
    case OptionRow::FieldOfView:
    case OptionRow::MouseSensitivity:
        return ConfigGet(config, SettingOf(row));
    case OptionRow::GodMode:
    case OptionRow::ProceduralTextures:
    case OptionRow::DynamicLights:
        return ConfigGetBool(config, SettingOf(row)) ? "Enabled" : "Disabled";
    case OptionRow::SoundVolume:
        return std::to_string(std::lround(options.SoundVolume * kVolumeShownSteps));
    case OptionRow::MusicVolume:
        return std::to_string(std::lround(options.MusicVolume * kVolumeShownSteps));
    }
    return "";
}

void WriteScreenSettings(const OptionChoices& options, ConfigTable& config) {
    if (const MenuDisplayMode* mode = SelectedMode(options)) {
        ConfigSet(config, "ScreenWidth", std::to_string(mode->Width));
        ConfigSet(config, "ScreenHeight", std::to_string(mode->Height));
        const int i = options.RefreshIndex;
        const bool rate = i >= 0 && i < static_cast<int>(mode->RefreshRates.size());
        ConfigSet(config, "RefreshRate", rate ? std::to_string(mode->RefreshRates[i]) : "0");
    } else {
        ConfigSet(config, "RefreshRate", "0");
    }
    ConfigSet(config, "ScreenMode", kScreenModeNames[Wrap(options.ScreenModeIndex, 0, kNumScreenModes)]);
}

int32_t MoveSelection(int32_t selection, int step, size_t lines) {
    return Wrap(selection, step, static_cast<int>(lines));
}

} // namespace orv
