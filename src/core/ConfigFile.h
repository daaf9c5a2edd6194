// The INI-style settings table: one entry per line of the file, comments and blank lines kept,
// so that reading and writing back reproduces the file apart from changed values. There are no
// sections; keys are matched byte-wise under the mask 0xDF. "Orvane.ini" and the small ".ini"
// side files of textures are both read into tables of this kind.
#pragma once

#include "core/Array.h"

#include <string>
#include <string_view>

namespace orv {

struct ConfigEntry {
    std::string Key;   // text before the first "=", empty for comments, blank and other lines
    std::string Value; // text after the first "=", or the whole line when Key is empty
};

struct ConfigTable {
    Array<ConfigEntry> Entries;
};

// A settings file is read up to this size; the rest is ignored with a log line (a real one is a few
// kilobytes, and every lookup walks the table).
constexpr size_t kMaxConfigBytes = 256 * 1024;

// Replaces the table with the file's lines (ended by LF, CR LF or a lone CR); a missing file is fatal:
// Can't open "NAME": file not found.
void ConfigLoad(ConfigTable& table, std::string_view fileName);

// As ConfigLoad, but a missing file only returns false (for optional side files).
bool ConfigRead(ConfigTable& table, std::string_view fileName);

// Fills the table from text already in memory, by the same line rules.
void ConfigParse(ConfigTable& table, std::string_view text);

// Value of the first entry whose key matches; empty when there is none.
std::string ConfigGet(const ConfigTable& table, std::string_view key);
// The same, but tells a missing key apart from an empty value.
const std::string* ConfigFind(const ConfigTable& table, std::string_view key);

// Replaces the first match's value, or appends (key, value) at the end.
void ConfigSet(ConfigTable& table, std::string_view key, std::string_view value);

// Writes every entry as one CR LF line to fileName + ".tmp", flushes it to the disk and renames it
// over fileName: a save killed at any moment leaves the old file or the new one whole. A leftover
// ".tmp" of a killed save is replaced. False when any step fails (the old file then stays).
bool ConfigSave(const ConfigTable& table, std::string_view fileName);

// Typed readers over ConfigGet, using the plain decimal conversions.
float ConfigGetFloat(const ConfigTable& table, std::string_view key);
int ConfigGetInt(const ConfigTable& table, std::string_view key);
bool ConfigGetBool(const ConfigTable& table, std::string_view key);

// Key comparison: same length and every byte pair equal under the mask 0xDF.
bool ConfigKeysMatch(std::string_view a, std::string_view b);

} // namespace orv
