// The fatal path with its recursion guard.
#include "core/Fatal.h"

#include "core/Log.h"

#include <cstdlib>

namespace orv {

namespace {

FatalHandler& InstalledHandler() {
    static FatalHandler handler;
    return handler;
}

bool gInFatal = false;

// The player, which installs no handler, ends with status 0 after a fatal error: its "Error:" log
// line, not the status, says what went wrong (the harness and its tests read that line). The
// tools install handlers that exit non-zero.
constexpr int kFatalExitStatus = 0;

[[noreturn]] void PlainFatal(const std::string& message) {
    Log("Error: " + message);
    Log("Exiting.");
    LogClose();
    std::exit(kFatalExitStatus);
}

// Clears the guard when a test handler leaves by throwing.
struct FatalGuard {
    FatalGuard() { gInFatal = true; }
    ~FatalGuard() { gInFatal = false; }
};

} // namespace

FatalHandler SetFatalHandler(FatalHandler handler) {
    FatalHandler old = std::move(InstalledHandler());
    InstalledHandler() = std::move(handler);
    return old;
}

void FatalError(std::string_view message) {
    const std::string text(message);
    if (gInFatal || !InstalledHandler()) {
        PlainFatal(text);
    }
    {
        FatalGuard guard;
        InstalledHandler()(text);
    }
    // A handler that returns has broken its contract; end the program anyway.
    PlainFatal(text);
}

} // namespace orv
