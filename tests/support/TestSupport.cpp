// Test helpers.
#include "support/TestSupport.h"

#include "core/Fatal.h"
#include "core/Log.h"
#include "core/Vfs.h"

#include <atomic>
#include <cstdlib>
#include <fstream>
#include <unistd.h>

namespace orv::test {

namespace fs = std::filesystem;

FatalCatcher::FatalCatcher()
    : previous_(SetFatalHandler([](const std::string& message) { throw FatalErrorRaised{message}; })) {}

FatalCatcher::~FatalCatcher() { SetFatalHandler(std::move(previous_)); }

std::string CatchFatal(const std::function<void()>& fn) {
    FatalCatcher catcher;
    try {
        fn();
    } catch (const FatalErrorRaised& e) {
        return e.Message;
    }
    return "<no fatal error>";
}

LogCapture::LogCapture() {
    SetLogObserver([this](std::string_view line) { lines_.emplace_back(line); });
}

LogCapture::~LogCapture() { SetLogObserver({}); }

bool LogCapture::Contains(const std::string& line) const {
    for (const std::string& l : lines_) {
        if (l == line) {
            return true;
        }
    }
    return false;
}

TempDir::TempDir() {
    static std::atomic<int> counter{0};
    path_ = fs::temp_directory_path() /
            ("orvane-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
    fs::remove_all(path_);
    fs::create_directories(path_);
    InvalidateVfsCache();
}

TempDir::~TempDir() {
    std::error_code ec;
    fs::remove_all(path_, ec);
    InvalidateVfsCache();
}

std::string TempDir::Write(const std::string& relative, const std::string& contents) const {
    const fs::path full = path_ / relative;
    fs::create_directories(full.parent_path());
    std::ofstream out(full, std::ios::binary);
    out << contents;
    InvalidateVfsCache();
    return full.string();
}

void InDirectory(const fs::path& dir, const std::function<void()>& fn) {
    const fs::path old = fs::current_path();
    fs::current_path(dir);
    InvalidateVfsCache();
    struct Restore {
        fs::path Old;
        ~Restore() {
            fs::current_path(Old);
            InvalidateVfsCache();
        }
    } restore{old};
    fn();
}

fs::path SourceDir() {
    const char* source = std::getenv("ORV_SOURCE_DIR");
    return source ? fs::path(source) : fs::path(ORV_TEST_SOURCE_DIR);
}

fs::path GameDir() {
    const char* game = std::getenv("ORV_GAME_DIR");
    return game ? fs::path(game) : fs::path(ORV_TEST_GAME_DIR);
}

fs::path BuildDir() {
    const char* build = std::getenv("ORV_BUILD_DIR");
    return build ? fs::path(build) : fs::path(ORV_TEST_BUILD_DIR);
}

fs::path PeersDir() {
    if (const char* explicitDir = std::getenv("ORV_PEERS_DIR")) {
        std::error_code ec;
        return fs::is_directory(explicitDir, ec) ? fs::path(explicitDir) : fs::path();
    }
    const fs::path peers = SourceDir() / ".." / "shared" / "peers";
    std::error_code ec;
    if (fs::is_directory(peers, ec)) {
        return fs::weakly_canonical(peers);
    }
    return {};
}

} // namespace orv::test
