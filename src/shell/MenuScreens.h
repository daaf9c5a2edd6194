// What each menu screen holds, without drawing or input: the lines of a screen, the display
// modes and the choices of the options menu, the steps of its rows with their limits, and the
// values it shows. The engine's OpenMenu, MenuInput and DrawMenu work through these.
#pragma once

#include "core/ConfigFile.h"
#include "platform/Window.h"
#include "shell/MenuState.h"

#include <cstdint>
#include <string>
#include <vector>

namespace orv {

// The lines of the main menu.
enum class MainMenuLine : int { NewGame = 0, Options, Credits, Exit };

// The rows of the options menu, in screen order.
enum class OptionRow : int {
    Resolution = 0,
    ScreenMode,
    RefreshRate,
    Brightness,
    FieldOfView,
    MouseSensitivity,
    GodMode,
    ProceduralTextures,
    DynamicLights,
    SoundVolume,
    MusicVolume,
};
constexpr int kNumOptionRows = static_cast<int>(OptionRow::MusicVolume) + 1;

// The screen mode row's choices, as "ScreenMode" names them.
enum class ScreenModeChoice : int { Windowed = 0, Fullscreen = 1, Borderless = 2 };
constexpr int kNumScreenModes = 3;

// The refresh row's "Default": the system chooses.
constexpr int kDefaultRefresh = -1;

// One resolution with its refresh rates, ascending.
struct MenuDisplayMode {
    int Width = 0;
    int Height = 0;
    std::vector<int> RefreshRates;
};

// The options menu's own choices. The screen rows are written to the settings on Enter only;
// the three floats are stepped in 32-bit floats and read from the settings once, the first
// time the options open (nothing else writes them).
struct OptionChoices {
    std::vector<MenuDisplayMode> DisplayModeList;
    int ResolutionIndex = 0;
    int ScreenModeIndex = static_cast<int>(ScreenModeChoice::Windowed);
    int RefreshIndex = kDefaultRefresh;
    bool FloatsRead = false;
    float Gamma = 0.0f;
    float SoundVolume = 0.0f;
    float MusicVolume = 0.0f;
};

// The menus' state besides the screen showing: its lines and the highlighted one.
struct MenuScreen {
    std::vector<std::string> Items; // rebuilt by every OpenMenu
    int32_t Selection = 0;          // reset to 0 by every OpenMenu
    OptionChoices Options;
};

// The 32-bit modes in the system's order: a mode of the same size as the entry before it adds
// its rate there, any other starts a new entry (so a size that comes back after another gets a
// second entry); then every entry's rates ascending.
std::vector<MenuDisplayMode> BuildDisplayModes(const std::vector<DisplayMode>& modes);

// The options menu's starting choices from the settings: the resolution nearest to
// "ScreenWidth" x "ScreenHeight" (kept when none is within a squared distance of 9999), the rate
// nearest to "RefreshRate" ("Default" for 0), the screen mode named by "ScreenMode" (kept for
// an unknown name).
void PickOptionStarts(OptionChoices& options, const ConfigTable& config);

// The lines of a screen. Level select: every "Maps\*.t3d" file without its extension; credits:
// the level's "Author" as stored, quotes and all.
std::vector<std::string> MenuLines(MenuState state, const std::string& levelAuthor);
std::vector<std::string> LevelList();

// What a step of an options row asks the engine to do besides changing the settings.
enum class OptionEffect : int { None, ApplyGamma, SetSoundVolume, SetMusicVolume };

// One step (+1 Right, -1 Left) of a row: the screen rows change the choices, the others their
// setting in the table ("%.7g", "true"/"false") within their limits.
OptionEffect StepOption(OptionChoices& options, ConfigTable& config, OptionRow row, int step);

// The value column of a row.
std::string OptionValueText(const OptionChoices& options, const ConfigTable& config, OptionRow row);

// Enter in the options: "ScreenWidth", "ScreenHeight", "RefreshRate" and "ScreenMode" from the
// screen rows (the size is kept when there is no display mode at all).
void WriteScreenSettings(const OptionChoices& options, ConfigTable& config);

// The selection moved by one line, wrapping around; an empty screen keeps 0.
int32_t MoveSelection(int32_t selection, int step, size_t lines);

} // namespace orv
