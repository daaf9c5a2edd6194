// The console log: one line per message on standard output, in program order, and
// optionally the same lines in a file.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace orv {

void Log(std::string_view line);

// Also writes every later line to this file (created or truncated). False if it cannot be opened.
bool LogToFile(const std::string& path);

// Flushes and closes the log file, if any.
void LogClose();

// Turns the standard-output copy of the log off or on (benchmarks and tools that print their own).
void SetLogToConsole(bool enabled);

// Sees every line after it is written; tests use it to read the log. Empty removes it.
using LogObserver = std::function<void(std::string_view line)>;
void SetLogObserver(LogObserver observer);

} // namespace orv
