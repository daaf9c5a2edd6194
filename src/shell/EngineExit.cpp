// The two ways out: Shutdown and the fatal path.
#include "shell/Engine.h"

#include "core/Log.h"
#include "platform/System.h"
#include "render/Renderer.h"
#include "shell/StateDump.h"

#include <cstdio>
#include <cstdlib>

namespace orv {

void Engine::Shutdown() { FinishExit(); }

void Engine::FatalErrorPath(const std::string& message) {
    Log("Error: " + message);
    // Out of full screen and without GL, so that the box can be seen.
    ScreenWindow->OpenPlainWindow(256, 128);
    ScreenWindow->ShowMessageBox("Error", message);
    FinishExit();
}

void Engine::FinishExit() {
    LogTimedemo();
    WriteDumpIfAsked();
    Log("Exiting.");
    RestoreGamma();
    FreeAudio();
    LogClose();
    ScreenWindow->Close(); // leaves full screen and gives the display back
    ExitProcess(0);
    std::exit(0); // an exit function that returns has not done its job
}

void Engine::LogTimedemo() const {
    if (!Options.Timedemo || Frames == 0) {
        return;
    }
    const double seconds = ClockSeconds() - timedemoStart_;
    char line[160];
    std::snprintf(line, sizeof line, "Timedemo: %lld frames, %.3f ms per frame, %.1f steps per second",
                  static_cast<long long>(Frames), seconds * 1000.0 / static_cast<double>(Frames),
                  seconds > 0.0 ? static_cast<double>(Steps) / seconds : 0.0);
    Log(TimedemoLine(WorldRenderer->Timings)); // the renderer's share, before the summary
    Log(line);
}

void Engine::WriteDumpIfAsked() const {
    if (!Options.DumpFile.empty() && !WriteStateDump(Options.DumpFile, GameWorld, Menu, Steps)) {
        Log("Can't write the state dump \"" + Options.DumpFile + "\".");
    }
}

} // namespace orv
