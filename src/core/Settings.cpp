// The table of the engine's settings and the check that runs once after the file is read.
#include "core/Settings.h"

#include "core/Log.h"
#include "core/Text.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace orv {

namespace {

using enum SettingKind;
using enum OutOfRange;

// Sizes stop where a frame buffer (8192 x 8192 x 4 bytes = 256 MiB) or the lightmap atlas of the
// same size still fits memory and every common GL_MAX_TEXTURE_SIZE; a size out of range is far
// more likely a typing slip than a wish for the smallest or largest window, so it gets the
// default. The field of view keeps its tangent finite and the image the right way round; gamma
// stays where the ramp is still a picture; one step of mouse look stays far from the 32-bit rotation
// limits. Keys whose missing value 0 is allowed keep reading 0 when absent.
constexpr SettingLimits kEngineSettings[] = {
    {"ScreenWidth", Integer, 1280, 64, 8192, UseDefault},
    {"ScreenHeight", Integer, 720, 64, 8192, UseDefault},
    {"RefreshRate", Integer, 0, 0, 1000, UseDefault}, // 0: the system chooses
    {"FOV", Number, 80, 10, 170, UseNearest},
    {"Gamma", Number, 0, 0, 5, UseNearest}, // 0: the display ramp is left alone
    {"MouseSensitivity", Number, 40, 0, 1000, UseNearest},
    {"SoundVolume", Number, 0.8, 0, 1, UseNearest},
    {"MusicVolume", Number, 0.6, 0, 1, UseNearest},
    {"LightmapAtlasSize", Integer, 2048, 0, 8192, UseDefault}, // 0: no atlas, lightmaps unplaced
    {"RestoreCustomGamma", Boolean, 0, 0, 1, UseDefault},
    {"GodMode", Boolean, 0, 0, 1, UseDefault},
    {"ProceduralTextures", Boolean, 0, 0, 1, UseDefault},
    {"DynamicLights", Boolean, 0, 0, 1, UseDefault},
    {"TraceMeshColor", Boolean, 0, 0, 1, UseDefault},
};

// The text keys are only checked for repeats.
constexpr const char* kTextSettings[] = {"ScreenMode", "InitialLevel", "TexInterpolation"};

// A value as the log shows it: at most 32 bytes, control and non-ASCII bytes as '?'.
constexpr size_t kShownBytes = 32;

std::string Shown(std::string_view value) {
    std::string out;
    for (size_t i = 0; i < value.size() && i < kShownBytes; ++i) {
        const auto c = static_cast<unsigned char>(value[i]);
        out += c < 0x20 || c >= 0x7F ? '?' : static_cast<char>(c);
    }
    return "\"" + out + (value.size() > kShownBytes ? "...\"" : "\"");
}

// True when the readers find a number at the start (after blanks and a sign).
bool StartsWithNumber(std::string_view text, bool allowFraction) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\r' || text[i] == '\n')) {
        ++i;
    }
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        ++i;
    }
    if (allowFraction && i < text.size() && text[i] == '.') {
        ++i;
    }
    return i < text.size() && text[i] >= '0' && text[i] <= '9';
}

std::string Written(const SettingLimits& s, double value) {
    if (s.Kind == Integer) {
        return std::to_string(static_cast<long long>(value));
    }
    return FormatFloat(value);
}

std::string Range(const SettingLimits& s) { return Written(s, s.Lowest) + " to " + Written(s, s.Highest); }

// Index of the first entry with this key, or -1.
int FirstEntry(const ConfigTable& table, std::string_view key) {
    for (int i = 0; i < table.Entries.Num(); ++i) {
        if (!table.Entries[i].Key.empty() && ConfigKeysMatch(table.Entries[i].Key, key)) {
            return i;
        }
    }
    return -1;
}

int LogRepeats(const ConfigTable& table, std::string_view key, int first, const std::string& where) {
    int logged = 0;
    for (int i = first + 1; i < table.Entries.Num(); ++i) {
        if (!table.Entries[i].Key.empty() && ConfigKeysMatch(table.Entries[i].Key, key)) {
            Log(where + " line " + std::to_string(i + 1) + ": " + std::string(key) + " repeats line " +
                std::to_string(first + 1) + "; line " + std::to_string(first + 1) + " is used.");
            ++logged;
        }
    }
    return logged;
}

// The value a setting that is missing, empty or not a number gets: 0 as the readers give it when
// 0 is allowed, else the default.
double ZeroOrDefault(const SettingLimits& s) { return s.Lowest <= 0 && 0 <= s.Highest ? 0.0 : s.Default; }

int CheckOne(ConfigTable& table, const SettingLimits& s, const std::string& where) {
    const int i = FirstEntry(table, s.Key);
    if (i < 0) {
        if (s.Kind == Boolean || ZeroOrDefault(s) == 0.0) {
            return 0; // reads as 0 or false, which is allowed
        }
        ConfigSet(table, s.Key, Written(s, s.Default));
        Log(where + ": " + s.Key + " is missing; " + Written(s, s.Default) + " is used.");
        return 1;
    }
    const int logged = LogRepeats(table, s.Key, i, where);
    std::string& value = table.Entries[i].Value;
    const std::string place = where + " line " + std::to_string(i + 1) + ": " + s.Key + "=" + Shown(value);
    if (s.Kind == Boolean) {
        if (value.empty() || SameText(value, "true") || SameText(value, "false") || StartsWithNumber(value, true)) {
            return logged;
        }
        Log(place + " is neither true nor false; false is used.");
        value = "false";
        return logged + 1;
    }
    if (!StartsWithNumber(value, s.Kind == Number)) {
        const double used = ZeroOrDefault(s);
        if (value.empty() && used == 0.0) {
            return logged; // an empty value reads as 0, which is allowed
        }
        Log(place + " is not a number; " + Written(s, used) + " is used.");
        value = Written(s, used);
        return logged + 1;
    }
    const double read = s.Kind == Integer ? static_cast<double>(ParseInt(value)) : ParseDouble(value);
    if (std::isfinite(read) && read >= s.Lowest && read <= s.Highest) {
        return logged;
    }
    const double used = s.Fix == UseDefault || !std::isfinite(read) ? s.Default : std::clamp(read, s.Lowest, s.Highest);
    Log(place + " is out of range (" + Range(s) + "); " + Written(s, used) + " is used.");
    value = Written(s, used);
    return logged + 1;
}

} // namespace

std::span<const SettingLimits> EngineSettings() { return kEngineSettings; }

int CheckSettings(ConfigTable& table, std::string_view fileName) {
    const std::string where(fileName);
    int logged = 0;
    for (const SettingLimits& s : kEngineSettings) {
        logged += CheckOne(table, s, where);
    }
    for (const char* key : kTextSettings) {
        if (const int i = FirstEntry(table, key); i >= 0) {
            logged += LogRepeats(table, key, i, where);
        }
    }
    return logged;
}

} // namespace orv
