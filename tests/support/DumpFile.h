// The --dump output of a run (JSON Lines) read back with a JSON parser of its own: the engine's
// state line first, then one object per actor.
#pragma once

#include <nlohmann/json.hpp>

#include <filesystem>
#include <string_view>
#include <vector>

namespace orv::test {

struct DumpFile {
    nlohmann::json State; // null when the file is missing or empty
    std::vector<nlohmann::json> Actors;

    // The first actor with this "Name" ("Player" for the player), or null.
    nlohmann::json Actor(std::string_view name) const;
};

// A line that is not JSON fails the calling test (the parser's exception names the place).
DumpFile ReadDumpFile(const std::filesystem::path& path);

} // namespace orv::test
