// Helpers shared by the test suites: fatal errors caught as exceptions, captured log lines,
// and temporary folders.
#pragma once

#include "core/Fatal.h"

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace orv::test {

// Thrown by the test fatal handler instead of ending the process.
struct FatalErrorRaised {
    std::string Message;
};

// Installs the throwing fatal handler for its lifetime, then puts back the one before. Without
// it a fatal error ends the test program with code 0, which reads as a pass.
class FatalCatcher {
public:
    FatalCatcher();
    ~FatalCatcher();
    FatalCatcher(const FatalCatcher&) = delete;
    FatalCatcher& operator=(const FatalCatcher&) = delete;

private:
    FatalHandler previous_;
};

// Runs fn and returns the fatal message it raised, or "<no fatal error>".
std::string CatchFatal(const std::function<void()>& fn);

// Keeps every log line written during its lifetime.
class LogCapture {
public:
    LogCapture();
    ~LogCapture();
    const std::vector<std::string>& Lines() const { return lines_; }
    bool Contains(const std::string& line) const;

private:
    std::vector<std::string> lines_;
};

// A fresh folder under the system's temporary directory, removed with everything in it.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete; // one owner removes the folder
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& Path() const { return path_; }
    std::string operator/(const std::string& relative) const { return (path_ / relative).string(); }
    // Writes a file (making its folders) and returns its full path.
    std::string Write(const std::string& relative, const std::string& contents) const;

private:
    std::filesystem::path path_;
};

// Runs fn with the working directory set to dir, and puts the old one back.
void InDirectory(const std::filesystem::path& dir, const std::function<void()>& fn);

// The source tree, the build's game folder (the program beside its content) and the build folder.
std::filesystem::path SourceDir();
std::filesystem::path GameDir();
std::filesystem::path BuildDir();

// ../shared/peers (or $ORV_PEERS_DIR), or an empty path when that folder is not there.
std::filesystem::path PeersDir();

// A real game file under the peers folder, by its path there ("exports/DM-Liandri.t3d"). Skips the
// calling test, with the reason, only when the folder itself is absent; when the folder is there
// and the file is not, the test fails, so a moved file is never silently untested.
#define ORV_PEER_FILE(var, relative)                                                                      \
    const std::filesystem::path var = ::orv::test::PeersDir() / (relative);                               \
    if (::orv::test::PeersDir().empty()) {                                                                \
        GTEST_SKIP() << "the peers folder (../shared/peers) is not here; " << (relative) << " is not read"; \
    }                                                                                                     \
    ASSERT_TRUE(std::filesystem::exists(var)) << var << " is missing from the peers folder"

} // namespace orv::test
