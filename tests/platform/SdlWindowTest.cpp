// The SDL window in a headless run: opening in each screen mode, GL entry points, display
// modes, and input events turned into set-1 keys, buttons, pointer and characters.
#include "platform/Window.h"

#include "core/InputState.h"

#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include <memory>

namespace orv {
namespace {

class HeadlessWindow : public ::testing::Test {
protected:
    void SetUp() override {
        window_ = CreateSdlWindow(true);
        ScreenSettings settings;
        settings.Width = 320;
        settings.Height = 240;
        const WindowError error = window_->Open(settings);
        if (error == kWindowVideoInitFailed || error == kWindowNoGlContext) {
            GTEST_SKIP() << "no headless OpenGL context on this machine: " << PlatformErrorText();
        }
        ASSERT_EQ(error, kWindowOk) << PlatformErrorText();
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    }

    static void PushKey(SDL_Scancode scancode, bool down, Uint16 mods = KMOD_NONE) {
        SDL_Event e{};
        e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
        e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
        e.key.keysym.scancode = scancode;
        e.key.keysym.mod = mods;
        SDL_PushEvent(&e);
    }

    std::unique_ptr<Window> window_;
};

TEST_F(HeadlessWindow, OpensWithFixedFunctionGl) {
    EXPECT_EQ(window_->Width(), 320);
    EXPECT_EQ(window_->Height(), 240);
    EXPECT_FALSE(window_->IsFullscreen());
    EXPECT_NE(GlProcAddress("glActiveTextureARB"), nullptr);
    EXPECT_NE(GlProcAddress("glMultiTexCoord2fARB"), nullptr);
    EXPECT_NE(GlProcAddress("glBegin"), nullptr);
    window_->SetTitle("Orvane");
    window_->SetCursorHidden(true);
    window_->SetCursorConfined(true);
    window_->Present();

    // Full screen has no display to switch in a headless run: it draws like a window.
    ScreenSettings full;
    full.Width = 640;
    full.Height = 480;
    full.Fullscreen = true;
    full.RefreshRate = 75;
    ASSERT_EQ(window_->Open(full), kWindowOk);
    EXPECT_EQ(window_->Width(), 640);
    EXPECT_NE(GlProcAddress("glBegin"), nullptr);
}

TEST_F(HeadlessWindow, BorderlessTakesTheDesktopSize) {
    int desktopWidth = 0, desktopHeight = 0;
    window_->DesktopSize(desktopWidth, desktopHeight);
    ASSERT_GT(desktopWidth, 0);
    ASSERT_GT(desktopHeight, 0);
    ScreenSettings settings;
    settings.Width = 100;
    settings.Height = 100;
    settings.Borderless = true;
    ASSERT_EQ(window_->Open(settings), kWindowOk);
    EXPECT_EQ(window_->Width(), desktopWidth);
    EXPECT_EQ(window_->Height(), desktopHeight);
}

TEST_F(HeadlessWindow, ZeroSizeIsRefusedWithItsCode) {
    ScreenSettings settings; // a settings file without ScreenWidth and ScreenHeight
    EXPECT_EQ(window_->Open(settings), kWindowBadSize);
    EXPECT_EQ(GlProcAddress("glBegin"), nullptr); // no window, no context
    settings.Width = 320;
    settings.Height = -5;
    EXPECT_EQ(window_->Open(settings), kWindowBadSize);
}

TEST_F(HeadlessWindow, DisplayModesCountThirtyTwoBits) {
    const std::vector<DisplayMode> modes = window_->DisplayModes();
    ASSERT_FALSE(modes.empty());
    for (const DisplayMode& m : modes) {
        EXPECT_GT(m.Width, 0);
        EXPECT_GT(m.Height, 0);
        EXPECT_EQ(m.BitsPerPixel, 32);
    }
}

TEST_F(HeadlessWindow, KeyEventsBecomeSet1States) {
    InputState input;
    PushKey(SDL_SCANCODE_W, true);
    PushKey(SDL_SCANCODE_UP, true);
    PushKey(SDL_SCANCODE_RCTRL, true);
    window_->PumpEvents(input, true);
    EXPECT_TRUE(input.KeyDown(kKeyW));
    EXPECT_TRUE(input.KeyDown(kKeyUp));
    EXPECT_TRUE(input.KeyDown(kKeyCtrl));
    EXPECT_TRUE(input.KeyEdge(kKeyW));

    PushKey(SDL_SCANCODE_W, false);
    PushKey(SDL_SCANCODE_ESCAPE, true);
    window_->PumpEvents(input, true);
    EXPECT_FALSE(input.KeyDown(kKeyW));
    EXPECT_TRUE(input.KeyDown(kKeyEscape));
    uint8_t c = 0;
    ASSERT_TRUE(input.PopChar(c));
    EXPECT_EQ(c, 27); // Escape also lands in the character buffer

    // Losing the keyboard lets go of everything held.
    SDL_Event focus{};
    focus.type = SDL_WINDOWEVENT;
    focus.window.event = SDL_WINDOWEVENT_FOCUS_LOST;
    SDL_PushEvent(&focus);
    window_->PumpEvents(input, true);
    EXPECT_FALSE(input.KeyDown(kKeyUp));
    EXPECT_FALSE(input.KeyDown(kKeyEscape));
}

TEST_F(HeadlessWindow, AltEnterIsTheWindowsNotTheEngines) {
    InputState input;
    PushKey(SDL_SCANCODE_RETURN, true, KMOD_LALT);
    window_->PumpEvents(input, true);
    EXPECT_FALSE(input.KeyDown(kKeyEnter));
    EXPECT_EQ(input.PendingChars(), 0);
    EXPECT_FALSE(window_->IsFullscreen()); // nothing to switch in a headless run
    PushKey(SDL_SCANCODE_RETURN, true);
    window_->PumpEvents(input, true);
    EXPECT_TRUE(input.KeyDown(kKeyEnter));
}

TEST_F(HeadlessWindow, MouseTextAndQuit) {
    InputState input;
    SDL_Event e{};
    e.type = SDL_MOUSEBUTTONDOWN;
    e.button.button = SDL_BUTTON_RIGHT;
    e.button.state = SDL_PRESSED;
    SDL_PushEvent(&e);
    e = {};
    e.type = SDL_MOUSEMOTION;
    e.motion.x = 17;
    e.motion.y = 23;
    SDL_PushEvent(&e);
    e = {};
    e.type = SDL_TEXTINPUT;
    SDL_strlcpy(e.text.text, "a\xC3\xA9\xE2\x82\xAC", sizeof e.text.text); // "a", e acute, euro sign
    SDL_PushEvent(&e);
    EXPECT_FALSE(window_->PumpEvents(input, true).QuitRequested);
    EXPECT_TRUE(input.ButtonDown(MouseButton::Right));
    EXPECT_EQ(input.MouseX(), 17);
    EXPECT_EQ(input.MouseY(), 23);
    uint8_t c = 0;
    ASSERT_TRUE(input.PopChar(c));
    EXPECT_EQ(c, 'a');
    ASSERT_TRUE(input.PopChar(c));
    EXPECT_EQ(c, 0xE9);
    EXPECT_FALSE(input.PopChar(c)); // the euro sign has no Latin-1 byte

    e = {};
    e.type = SDL_QUIT;
    SDL_PushEvent(&e);
    EXPECT_TRUE(window_->PumpEvents(input, true).QuitRequested);
}

TEST_F(HeadlessWindow, ScriptedRunsIgnoreTheDevices) {
    InputState input;
    PushKey(SDL_SCANCODE_SPACE, true);
    SDL_Event e{};
    e.type = SDL_MOUSEBUTTONDOWN;
    e.button.button = SDL_BUTTON_LEFT;
    SDL_PushEvent(&e);
    window_->PumpEvents(input, false);
    EXPECT_FALSE(input.KeyDown(kKeySpace));
    EXPECT_FALSE(input.ButtonDown(MouseButton::Left));
    EXPECT_EQ(input.PendingChars(), 0);
}

} // namespace
} // namespace orv
