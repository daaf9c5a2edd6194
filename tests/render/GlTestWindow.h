// A real OpenGL context for rendering tests: SDL's offscreen driver on Mesa llvmpipe.
#pragma once

#include "platform/Window.h"

#include <gtest/gtest.h>

#include <memory>

namespace orv::test {

// Opens a headless GL window of the given size before each test; a machine where no GL
// context can be created at all skips the test, saying so.
class GlTest : public ::testing::Test {
protected:
    void OpenWindow(int width, int height) {
        window_ = CreateSdlWindow(true);
        ScreenSettings settings;
        settings.Width = width;
        settings.Height = height;
        const int error = window_->Open(settings);
        if (error == kWindowVideoInitFailed || error == kWindowNoGlContext) {
            GTEST_SKIP() << "no headless OpenGL context on this machine: " << PlatformErrorText();
        }
        ASSERT_EQ(error, kWindowOk) << PlatformErrorText();
    }
    void SetUp() override { OpenWindow(64, 48); }

    std::unique_ptr<Window> window_;
};

} // namespace orv::test
