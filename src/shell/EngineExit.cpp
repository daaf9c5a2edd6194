// The two ways out: Shutdown and the fatal path.
#include "shell/Engine.h"

#include "core/Log.h"
#include "platform/System.h"
#include "render/Renderer.h"
#include "shell/StateDump.h"

#include <cstdio>
#include <cstdlib>

namespace orv {

namespace {

// The plain window the fatal path's message box stands over: small, and never full screen.
constexpr int kErrorWindowWidth = 256;
constexpr int kErrorWindowHeight = 128;

} // namespace

void Engine::Shutdown() { FinishExit(); }

void Engine::FatalErrorPath(const std::string& message) {
    Log("Error: " + message);
    // Out of full screen and without GL, so that the box can be seen.
    window_->OpenPlainWindow(kErrorWindowWidth, kErrorWindowHeight);
    window_->ShowMessageBox("Error", message);
    FinishExit();
}

void Engine::FinishExit() {
    LogTimedemo();
    WriteDumpIfAsked();
    Log("Exiting.");
    RestoreGamma();
    FreeAudio();
    LogClose();
    window_->Close(); // leaves full screen and gives the display back
    exitProcess_(kExitOk);
    std::exit(kExitOk); // an exit function that returns has not done its job
}

void Engine::LogTimedemo() const {
    if (!options_.Timedemo || frames_ == 0) {
        return;
    }
    const double seconds = ClockSeconds() - timedemoStart_;
    char line[160];
    std::snprintf(line, sizeof line, "Timedemo: %lld frames, %.3f ms per frame, %.1f steps per second",
                  static_cast<long long>(frames_), seconds * 1000.0 / static_cast<double>(frames_),
                  seconds > 0.0 ? static_cast<double>(steps_) / seconds : 0.0);
    Log(TimedemoLine(renderer_->Timings)); // the renderer's share, before the summary
    Log(line);
}

void Engine::WriteDumpIfAsked() const {
    const ScreenDump screen{menus_.Selection, menus_.Items, screenText_};
    if (!options_.DumpFile.empty() && !WriteStateDump(options_.DumpFile, world_, menu_, steps_, &screen)) {
        Log("Can't write the state dump \"" + options_.DumpFile + "\".");
    }
}

} // namespace orv
