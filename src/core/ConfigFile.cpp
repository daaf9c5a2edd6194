// Reading, looking up and writing back the settings table.
#include "core/ConfigFile.h"

#include "core/Fatal.h"
#include "core/Text.h"
#include "core/Vfs.h"

namespace orv {

bool ConfigKeysMatch(std::string_view a, std::string_view b) { return SameText(a, b); }

void ConfigParse(ConfigTable& table, std::string_view text) {
    table.Entries.Clear();
    for (const std::string& rawLine : SplitLines(text)) {
        const std::string_view line = TrimSpaces(rawLine);
        ConfigEntry entry;
        const size_t equals = line.find('=');
        if (!line.empty() && line.front() == ';') {
            entry.Value = std::string(line);
        } else if (equals != std::string_view::npos) {
            entry.Key = std::string(line.substr(0, equals));
            entry.Value = std::string(line.substr(equals + 1));
        } else {
            entry.Value = std::string(line);
        }
        table.Entries.Add(std::move(entry));
    }
}

bool ConfigRead(ConfigTable& table, std::string_view fileName) {
    std::string text;
    if (!ReadWholeFile(fileName, text)) {
        table.Entries.Clear();
        return false;
    }
    ConfigParse(table, text);
    return true;
}

void ConfigLoad(ConfigTable& table, std::string_view fileName) {
    if (!ConfigRead(table, fileName)) {
        FatalError("Can't open \"" + std::string(fileName) + "\": file not found.");
    }
}

const std::string* ConfigFind(const ConfigTable& table, std::string_view key) {
    for (const ConfigEntry& e : table.Entries) {
        if (!e.Key.empty() && ConfigKeysMatch(e.Key, key)) {
            return &e.Value;
        }
    }
    return nullptr;
}

std::string ConfigGet(const ConfigTable& table, std::string_view key) {
    const std::string* value = ConfigFind(table, key);
    return value ? *value : std::string();
}

void ConfigSet(ConfigTable& table, std::string_view key, std::string_view value) {
    for (ConfigEntry& e : table.Entries) {
        if (!e.Key.empty() && ConfigKeysMatch(e.Key, key)) {
            e.Value = std::string(value);
            return;
        }
    }
    table.Entries.Add(ConfigEntry{std::string(key), std::string(value)});
}

bool ConfigSave(const ConfigTable& table, std::string_view fileName) {
    std::string text;
    for (const ConfigEntry& e : table.Entries) {
        if (!e.Key.empty()) {
            text += e.Key;
            text += '=';
        }
        text += e.Value;
        text += "\r\n";
    }
    // The whole text goes to a file beside it first, and the rename replaces the old file in one
    // step: a crash leaves the old settings or the new ones, never half a file and never none.
    const std::string tempName = std::string(fileName) + ".tmp";
    if (!WriteWholeFile(tempName, text)) {
        return false;
    }
    return RenameFile(tempName, fileName);
}

float ConfigGetFloat(const ConfigTable& table, std::string_view key) { return ParseFloat(ConfigGet(table, key)); }

int ConfigGetInt(const ConfigTable& table, std::string_view key) { return ParseInt(ConfigGet(table, key)); }

bool ConfigGetBool(const ConfigTable& table, std::string_view key) { return ParseBool(ConfigGet(table, key)); }

} // namespace orv
