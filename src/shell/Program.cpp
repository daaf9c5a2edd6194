// Entry sequence of the player.
#include "shell/Program.h"

#include "core/Fatal.h"
#include "core/Log.h"
#include "platform/System.h"
#include "platform/Window.h"
#include "shell/Engine.h"
#include "shell/Version.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

namespace orv {

int RunProgram(int argc, char** argv) {
    CatchQuitSignals(); // from here on an interrupt ends the run through its shutdown
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) {
        args.emplace_back(argv[i]);
    }
    HarnessOptions options;
    std::string error;
    if (!ParseHarnessOptions(args, options, error)) {
        std::fprintf(stderr, "orvane: %s\n%s", error.c_str(), UsageText().c_str());
        return kExitBadCommandLine;
    }
    if (options.Help) {
        std::fputs(UsageText().c_str(), stdout);
        return kExitOk;
    }
    if (options.Version) {
        std::printf("%s\n", VersionText().c_str());
        return kExitOk;
    }
    std::error_code ec;
    AnchorHarnessPaths(options, std::filesystem::current_path(ec).string());
    if (!options.LogFile.empty() && !LogToFile(options.LogFile)) {
        std::fprintf(stderr, "orvane: can't write the log file \"%s\"\n", options.LogFile.c_str());
        return kExitBadCommandLine;
    }

    const bool headless = options.Headless;
    // The engine lives until the process ends through Shutdown or the fatal path.
    static std::unique_ptr<Engine> engine;
    engine = std::make_unique<Engine>(std::move(options), CreateSdlWindow(headless));
    SetFatalHandler([](const std::string& message) { engine->FatalErrorPath(message); });

    // The gamma and message-box services are SDL's, linked in: nothing to resolve by name.
    // The engine drew both flicker sets when it was made, before start-up seeds the generator.
    engine->InitEngine();
    engine->RunMainLoop();
}

} // namespace orv
