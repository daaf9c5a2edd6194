// Process-level services of the platform: the high-resolution clock and where the program lives.
#pragma once

#include <string>

namespace orv {

// Seconds since an arbitrary fixed point, from the system's monotonic high-resolution counter.
double ClockSeconds();

// The folder of the running program, without a trailing separator; empty if it cannot be found.
std::string ExecutableFolder();

// Turns SIGINT, SIGTERM and SIGHUP into a request to quit that the main loop reads, so an
// interrupted run ends as a closed window does: the log closed, the dump written. A second
// signal of the same kind ends the program at once.
void CatchQuitSignals();
bool QuitSignalled();

} // namespace orv
