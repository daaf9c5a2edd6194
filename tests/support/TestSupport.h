// Helpers shared by the test suites: fatal errors caught as exceptions, captured log lines,
// and temporary folders.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace orv::test {

// Thrown by the test fatal handler instead of ending the process.
struct FatalErrorRaised {
    std::string Message;
};

// Installs the throwing fatal handler for its lifetime.
class FatalCatcher {
public:
    FatalCatcher();
    ~FatalCatcher();
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

// ../shared/peers, or an empty path when it is not there (tests then skip with a reason).
std::filesystem::path PeersDir();

} // namespace orv::test
