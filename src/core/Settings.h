// The engine's numeric and boolean settings in one table (key, default, allowed range), checked
// once right after "Orvane.ini" is read. Every later reader of the settings table, the per-step
// ones and the options menu included, then sees only values the engine can use.
#pragma once

#include "core/ConfigFile.h"

#include <span>
#include <string_view>

namespace orv {

enum class SettingKind { Integer, Number, Boolean };

// What a value outside [Lowest, Highest] turns into.
enum class OutOfRange { UseDefault, UseNearest };

struct SettingLimits {
    const char* Key;
    SettingKind Kind;
    double Default; // also what a missing key or a text that is no number gets when 0 is not allowed
    double Lowest;  // inclusive
    double Highest; // inclusive
    OutOfRange Fix;
};

// Every numeric and boolean key of "Orvane.ini" the engine reads.
std::span<const SettingLimits> EngineSettings();

// Checks the first entry of every key of EngineSettings() and writes the value used back into the
// table, so that the next save keeps it; each refusal is one log line naming the file, the line
// and the key and saying which value is used instead. A key written twice is logged too (the first
// wins). Returns the number of log lines written.
int CheckSettings(ConfigTable& table, std::string_view fileName);

} // namespace orv
