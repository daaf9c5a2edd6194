// A headless OpenGL context for the renderer's tests and its timedemo benchmark: the engine's own
// window in its headless mode (SDL's offscreen driver on Mesa), the engine's start-up GL state
// and frame read-back.
#pragma once

#include "core/Image.h"
#include "platform/Window.h"

#include <memory>
#include <string>

namespace orv::test {

// One window and context per program, opened again when another size is asked for. Callers skip
// with Reason() when no context can be made.
class GlTestContext {
public:
    static GlTestContext& Get(int width, int height);
    bool Ok() const { return ok_; }
    const std::string& Reason() const { return reason_; }
    // The back buffer as drawn, top row first.
    Image ReadFrame() const;
    // GL entry points of the current context, as the renderer's start-up wants them.
    static void* GetProc(const char* name);

private:
    static GlTestContext& Instance();
    std::unique_ptr<Window> window_;
    bool ok_ = false;
    std::string reason_;
};

} // namespace orv::test
