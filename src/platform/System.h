// Process-level services of the platform: the high-resolution clock and where the program lives.
#pragma once

#include <string>

namespace orv {

// Seconds since an arbitrary fixed point, from the system's monotonic high-resolution counter.
double ClockSeconds();

// The folder of the running program, without a trailing separator; empty if it cannot be found.
std::string ExecutableFolder();

} // namespace orv
