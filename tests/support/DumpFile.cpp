// Dump files read back.
#include "support/DumpFile.h"

#include <fstream>
#include <string>

namespace orv::test {

nlohmann::json DumpFile::Actor(std::string_view name) const {
    for (const nlohmann::json& actor : Actors) {
        if (actor.value("Name", "") == name) {
            return actor;
        }
    }
    return nullptr;
}

DumpFile ReadDumpFile(const std::filesystem::path& path) {
    DumpFile dump;
    std::ifstream in(path, std::ios::binary);
    for (std::string line; std::getline(in, line);) {
        nlohmann::json value = nlohmann::json::parse(line);
        if (dump.State.is_null()) {
            dump.State = std::move(value);
        } else {
            dump.Actors.push_back(std::move(value));
        }
    }
    return dump;
}

} // namespace orv::test
