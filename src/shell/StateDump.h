// The state dump of test runs: JSON Lines written at exit. First one line of engine state, then
// one line per actor of the actor list, in list order. Floats are written so that they read
// back to the same value.
#pragma once

#include <string>
#include <string_view>

namespace orv {

class Engine;

// A JSON string literal: quotes, backslashes and control bytes escaped; bytes 0x80..0xFF are
// taken as Latin-1 and written as \u00XX, so the file is always valid UTF-8.
std::string JsonString(std::string_view text);
// A 64-bit float that reads back exactly ("%.17g"); a 32-bit float likewise ("%.9g").
// Infinities and NaN, which JSON cannot hold, are written as null.
std::string JsonDouble(double value);
std::string JsonFloat(float value);

// {"MenuState":..,"GameTime":..,"Steps":..,"Level":..,"PendingLevel":..,"HudMessage":..,
//  "HudMessageTime":..,"TranslatorText":..,"LevelIntroTime":..}
std::string EngineStateLine(const Engine& engine);

// One line per actor ("Index", "EngineClass", then every typed field of its record). The actor
// list arrives with the world; until then there are no actors and no lines.
void AppendActorLines(const Engine& engine, std::string& out);

// The whole dump, each line ending in "\n".
std::string StateDumpText(const Engine& engine);

bool WriteStateDump(const Engine& engine, const std::string& path);

} // namespace orv
