// Console and file log.
#include "core/Log.h"

#include <cstdio>

namespace orv {

namespace {

struct LogState {
    std::FILE* file = nullptr;
    bool console = true;
    LogObserver observer;
};

LogState& State() {
    static LogState state;
    return state;
}

} // namespace

void Log(std::string_view line) {
    LogState& s = State();
    if (line.empty()) {
        line = ""; // an empty view may hold no buffer, which fwrite must not get
    }
    if (s.console) {
        std::fwrite(line.data(), 1, line.size(), stdout);
        std::fputc('\n', stdout);
        std::fflush(stdout);
    }
    if (s.file) {
        std::fwrite(line.data(), 1, line.size(), s.file);
        std::fputc('\n', s.file);
        std::fflush(s.file);
    }
    if (s.observer) {
        s.observer(line);
    }
}

bool LogToFile(const std::string& path) {
    LogClose();
    State().file = std::fopen(path.c_str(), "wb");
    return State().file != nullptr;
}

void LogClose() {
    LogState& s = State();
    if (s.file) {
        std::fclose(s.file);
        s.file = nullptr;
    }
}

void SetLogToConsole(bool enabled) { State().console = enabled; }

void SetLogObserver(LogObserver observer) { State().observer = std::move(observer); }

} // namespace orv
