// The command line. The first argument that does not start with "--" is the level to play;
// the options around it make the program testable: headless runs, a step limit, a fixed step,
// scripted input, screenshots and a state dump at exit.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace orv {

struct HarnessOptions {
    std::string LevelPath;                // as written; empty: "InitialLevel" decides
    bool Headless = false;                // offscreen video, no audio output
    std::optional<int64_t> Steps;         // end through Shutdown after this many steps
    bool FixedStep = false;               // one step and one frame per pass (virtual clock)
    std::optional<uint64_t> Seed;         // instead of the clock
    std::string InputScript;              // scripted input replaces the real devices
    std::vector<int64_t> ScreenshotSteps; // a screenshot after the frame that follows each
    std::string DumpFile;                 // engine state as JSON lines at exit
    std::string ConfigFile;               // empty: "Orvane.ini" beside the program
    std::string LogFile;
    std::string SoundLog;  // every sound the world asks for, a line each: step, actor, sound, volume
    std::string AudioOut;  // the run's whole mix as a WAV file, mixed offline a step at a time
    bool Timedemo = false; // frames, milliseconds per frame and steps per second at exit
    bool Help = false;
    bool Version = false;
};

// False with a message for an unknown option or a bad or missing value.
bool ParseHarnessOptions(const std::vector<std::string>& args, HarnessOptions& options, std::string& error);

std::string UsageText();

// Makes the file paths the user gave (config, log, dump, input script) absolute against the
// given folder, so they keep meaning what the user typed after the program moves to its own
// folder. The level path stays as written: levels are found from the program's folder.
void AnchorHarnessPaths(HarnessOptions& options, const std::string& folder);

} // namespace orv
