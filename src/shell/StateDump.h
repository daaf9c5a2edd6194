// The state dump of test runs: JSON Lines written at exit. First one line of engine state, then
// one line per actor of the actor list, in list order. Floats are written so that they read
// back to the same value; infinities and NaN, which JSON cannot hold, as null.
#pragma once

#include "shell/MenuState.h"

#include <cstdint>
#include <string>
#include <vector>

namespace orv {

struct World;

// What the screen shows over the world: the menu's lines and highlighted line, and every string
// the last frame drew (the HUD's, a menu's titles, lines and values, "LOADING").
struct ScreenDump {
    int32_t MenuSelection = 0;
    std::vector<std::string> MenuItems;
    std::vector<std::string> ScreenText;
};

// {"MenuState":..,"GameTime":..,"Steps":..,"Level":..,"PendingLevel":..,"HudMessage":..,
//  "HudMessageTime":..,"TranslatorText":..,"LevelIntroTime":..}: the menu state and the steps
// run, which the engine holds, and the world's clock, level and on-screen texts; with a screen,
// then "MenuSelection", "MenuItems" and "ScreenText".
std::string EngineStateLine(const World& world, MenuState menu, int64_t steps, const ScreenDump* screen = nullptr);

// The whole dump: the engine line, then one line per actor ("Index", "EngineClass", then every
// typed field of its record), each ending in "\n".
std::string StateDumpText(const World& world, MenuState menu, int64_t steps, const ScreenDump* screen = nullptr);

bool WriteStateDump(const std::string& path, const World& world, MenuState menu, int64_t steps,
                    const ScreenDump* screen = nullptr);

} // namespace orv
