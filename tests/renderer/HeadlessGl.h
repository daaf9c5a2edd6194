// A headless OpenGL context (SDL's offscreen driver on Mesa) with the engine's start-up state
// and frame read-back: what the renderer's picture tests and its timedemo benchmark draw with.
#pragma once

#include "core/Image.h"

#include <string>

namespace orv::test {

// One offscreen window and compatibility-profile context per test program, with the engine's
// start-up GL state. Tests skip with Reason() when no context can be made.
class GlTestContext {
public:
    static GlTestContext& Get(int width, int height);
    bool Ok() const { return ok_; }
    const std::string& Reason() const { return reason_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    // The engine's start-up state: viewport and projection, culling, black clear colour,
    // depth test with less-or-equal, colour material, 2D texturing.
    void ResetState(float fovDegrees) const;
    // The back buffer as drawn, top row first.
    Image ReadFrame() const;
    static void* GetProc(const char* name);

private:
    bool Open(int width, int height);
    bool ok_ = false;
    std::string reason_;
    int width_ = 0;
    int height_ = 0;
    void* window_ = nullptr;
    void* context_ = nullptr;
};

} // namespace orv::test
