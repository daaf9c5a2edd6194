#include "FuzzSupport.h"

#include "core/Fatal.h"
#include "core/Log.h"
#include "core/Vfs.h"

#include <cstdlib>
#include <filesystem>
#include <unistd.h>

namespace orv::fuzz {

namespace fs = std::filesystem;

void Setup() {
    static const bool done = [] {
        SetFatalHandler([](const std::string& message) { throw Refused{message}; });
        SetLogToConsole(std::getenv("ORV_FUZZ_LOG") != nullptr);
        return true;
    }();
    (void)done;
}

const std::string& GameDir() {
    static const std::string dir = [] {
        const char* env = std::getenv("ORV_FUZZ_GAME_DIR");
        std::string path = env && *env ? env : ORV_FUZZ_DEFAULT_GAME_DIR;
        if (!fs::is_directory(path)) {
            std::fprintf(stderr, "The game tree %s is not there (build the game first, or set ORV_FUZZ_GAME_DIR)\n",
                         path.c_str());
            std::exit(2);
        }
        return fs::absolute(path).string();
    }();
    return dir;
}

InGameTree::InGameTree() : previous_(fs::current_path().string()) { SetWorkingDirectory(GameDir()); }

InGameTree::~InGameTree() { SetWorkingDirectory(previous_); }

const std::string& ScratchDir() {
    static const std::string dir = [] {
        const fs::path path = fs::temp_directory_path() / ("orvane-fuzz-" + std::to_string(::getpid()));
        fs::create_directories(path);
        std::atexit([] {
            std::error_code ec;
            fs::remove_all(fs::temp_directory_path() / ("orvane-fuzz-" + std::to_string(::getpid())), ec);
        });
        return path.string();
    }();
    return dir;
}

TwoParts SplitInput(const uint8_t* data, size_t size) {
    if (size < 2) {
        return {{data, size}, {}};
    }
    const size_t first = std::min<size_t>(size - 2, static_cast<size_t>(data[0] | (data[1] << 8)));
    return {{data + 2, first}, {data + 2 + first, size - 2 - first}};
}

} // namespace orv::fuzz
