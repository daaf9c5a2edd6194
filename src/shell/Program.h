// The program around the engine: command line, log file, fatal handler, then start-up and the
// main loop.
#pragma once

namespace orv {

// Returns an ExitCode only for --help, --version (kExitOk) and a command line that cannot be
// read (kExitBadCommandLine); a run ends the process through Shutdown or the fatal path.
int RunProgram(int argc, char** argv);

} // namespace orv
