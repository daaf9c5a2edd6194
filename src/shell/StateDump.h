// The state dump of test runs: JSON Lines written at exit. First one line of engine state, then
// one line per actor of the actor list, in list order. Floats are written so that they read
// back to the same value; infinities and NaN, which JSON cannot hold, as null.
#pragma once

#include "shell/MenuState.h"

#include <cstdint>
#include <string>

namespace orv {

struct World;

// {"MenuState":..,"GameTime":..,"Steps":..,"Level":..,"PendingLevel":..,"HudMessage":..,
//  "HudMessageTime":..,"TranslatorText":..,"LevelIntroTime":..}: the menu state and the steps
// run, which the engine holds, and the world's clock, level and on-screen texts.
std::string EngineStateLine(const World& world, MenuState menu, int64_t steps);

// The whole dump: the engine line, then one line per actor ("Index", "EngineClass", then every
// typed field of its record), each ending in "\n".
std::string StateDumpText(const World& world, MenuState menu, int64_t steps);

bool WriteStateDump(const std::string& path, const World& world, MenuState menu, int64_t steps);

} // namespace orv
