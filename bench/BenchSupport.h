// Where benchmarks find their inputs: the real editor exports of ../shared/peers (or
// ORV_PEERS_DIR), and the game tree the build generated.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>

namespace orv::bench {

// A file under the peers folder, or an empty path when it is not there.
inline std::filesystem::path PeersFile(const std::filesystem::path& relative) {
    namespace fs = std::filesystem;
    std::error_code ec;
    if (const char* peers = std::getenv("ORV_PEERS_DIR")) {
        const fs::path file = fs::path(peers) / relative;
        return fs::exists(file, ec) ? file : fs::path();
    }
    const fs::path file = (fs::path(ORV_SOURCE_DIR) / ".." / "shared" / "peers" / relative).lexically_normal();
    return fs::exists(file, ec) ? file : fs::path();
}

inline std::string LiandriPath() { return PeersFile(std::filesystem::path("exports") / "DM-Liandri.t3d").string(); }

// The generated game tree of this build, or empty text when it has not been generated.
inline std::string GameDir() {
    std::error_code ec;
    const std::filesystem::path game = ORV_GAME_DIR;
    return std::filesystem::exists(game / "System", ec) ? game.string() : std::string();
}

} // namespace orv::bench
