// The one fatal path: every unrecoverable error of the engine ends here.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace orv {

// Called with the message; must not return (the engine's handler exits the process,
// test handlers throw). Installing an empty function restores the plain handler, which
// logs "Error: " + message and "Exiting." and exits with code 0.
using FatalHandler = std::function<void(const std::string& message)>;

FatalHandler SetFatalHandler(FatalHandler handler);

// Ends the program through the installed handler. A fatal error raised while the handler
// runs goes straight to the plain handler, so the path can never loop.
[[noreturn]] void FatalError(std::string_view message);

} // namespace orv
