// The program around the engine: command line, log file, fatal handler, then start-up and the
// main loop.
#pragma once

namespace orv {

// Returns only for --help, --version (0) and command-line errors (2); a run ends the process
// through Shutdown or the fatal path, with code 0.
int RunProgram(int argc, char** argv);

} // namespace orv
