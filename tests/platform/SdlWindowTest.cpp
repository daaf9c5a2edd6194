// The SDL window in a headless run: opening in each screen mode, the GL loader, display modes,
// and input events turned into set-1 keys, buttons, pointer and characters.
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
        const WindowError error = window_->Open({.Width = 320, .Height = 240});
        if (error == kWindowVideoInitFailed || error == kWindowNoGlContext) {
            GTEST_SKIP() << "no headless OpenGL context on this machine: " << PlatformErrorText();
        }
        ASSERT_EQ(error, kWindowOk) << PlatformErrorText();
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    }

    static void Push(SDL_Event e) { SDL_PushEvent(&e); }
    static void PushKey(SDL_Scancode scancode, bool down, Uint16 mods = KMOD_NONE) {
        SDL_Event e{};
        e.key.type = down ? SDL_KEYDOWN : SDL_KEYUP;
        e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
        e.key.keysym.scancode = scancode;
        e.key.keysym.mod = mods;
        Push(e);
    }
    static bool Fullscreen() { return SDL_GetWindowFlags(SDL_GL_GetCurrentWindow()) & SDL_WINDOW_FULLSCREEN; }
    // The characters typed since the last call.
    std::string Typed() {
        std::string text;
        for (uint8_t c = 0; input_.PopChar(c);) {
            text += static_cast<char>(c);
        }
        return text;
    }

    std::unique_ptr<Window> window_;
    InputState input_;
};

TEST_F(HeadlessWindow, OpensInEachScreenModeWithFixedFunctionGl) {
    EXPECT_EQ(window_->Width(), 320);
    EXPECT_EQ(window_->Height(), 240);
    SDL_SetWindowSize(SDL_GL_GetCurrentWindow(), 400, 300); // the desktop's choice, not ours
    window_->PumpEvents(input_, true);
    EXPECT_EQ(window_->Width() * 1000 + window_->Height(), 400300);
    for (const char* name : {"glActiveTextureARB", "glMultiTexCoord2fARB", "glBegin"}) {
        EXPECT_NE(GlProcAddress(name), nullptr) << name;
    }
    // Full screen has no display to switch in a headless run: it draws like a window.
    ASSERT_EQ(window_->Open({.Width = 640, .Height = 480, .RefreshRate = 75, .Fullscreen = true}), kWindowOk);
    EXPECT_EQ(window_->Width(), 640);
    EXPECT_FALSE(Fullscreen());
    SDL_DisplayMode desktop{};
    ASSERT_EQ(SDL_GetDesktopDisplayMode(0, &desktop), 0);
    ASSERT_EQ(window_->Open({.Width = 100, .Height = 100, .Borderless = true}), kWindowOk);
    EXPECT_EQ(window_->Width(), desktop.w);
    EXPECT_EQ(window_->Height(), desktop.h);

    EXPECT_EQ(window_->Open({}), kWindowBadSize); // a settings file without ScreenWidth and ScreenHeight
    EXPECT_EQ(GlProcAddress("glBegin"), nullptr); // no window, no context
    EXPECT_EQ(window_->Open({.Width = 320, .Height = -5}), kWindowBadSize);
    const std::vector<DisplayMode> modes = window_->DisplayModes();
    ASSERT_FALSE(modes.empty());
    for (const DisplayMode& m : modes) {
        EXPECT_EQ(m.BitsPerPixel, 32) << m.Width << "x" << m.Height;
    }
}

TEST_F(HeadlessWindow, EventsBecomeSet1KeysButtonsPointerAndLatin1Text) {
    PushKey(SDL_SCANCODE_W, true);
    PushKey(SDL_SCANCODE_RCTRL, true);
    SDL_Event button{}, motion{};
    button.button.type = SDL_MOUSEBUTTONDOWN;
    button.button.button = SDL_BUTTON_RIGHT;
    button.button.state = SDL_PRESSED;
    motion.motion.type = SDL_MOUSEMOTION;
    motion.motion.x = 17;
    motion.motion.y = 23;
    Push(button);
    Push(motion);
    SDL_Event text{};
    text.text.type = SDL_TEXTINPUT;
    SDL_strlcpy(text.text.text, "a\xC3\xA9\xE2\x82\xAC", sizeof text.text.text); // "a", e acute, euro sign
    Push(text);
    PushKey(SDL_SCANCODE_ESCAPE, true);
    EXPECT_FALSE(window_->PumpEvents(input_, true).QuitRequested);
    EXPECT_TRUE(input_.KeyDown(kKeyW) && input_.KeyDown(kKeyCtrl) && input_.KeyDown(kKeyEscape));
    EXPECT_TRUE(input_.ButtonDown(MouseButton::Right));
    EXPECT_EQ(input_.MouseX(), 17);
    EXPECT_EQ(input_.MouseY(), 23);
    EXPECT_EQ(Typed(), "a\xE9\x1B"); // no Latin-1 byte for the euro sign; Escape's control character

    PushKey(SDL_SCANCODE_W, false);
    PushKey(SDL_SCANCODE_RETURN, true, KMOD_LALT);
    window_->PumpEvents(input_, true);
    EXPECT_FALSE(input_.KeyDown(kKeyW) || input_.KeyDown(kKeyEnter)); // Alt+Enter is the window's alone
    EXPECT_EQ(Typed(), "");
    EXPECT_FALSE(Fullscreen()); // nothing to switch in a headless run
    PushKey(SDL_SCANCODE_RETURN, true);
    window_->PumpEvents(input_, true);
    EXPECT_TRUE(input_.KeyDown(kKeyEnter));
    // Losing the keyboard lets go of everything held.
    SDL_Event focus{};
    focus.window.type = SDL_WINDOWEVENT;
    focus.window.event = SDL_WINDOWEVENT_FOCUS_LOST;
    Push(focus);
    window_->PumpEvents(input_, true);
    EXPECT_FALSE(input_.KeyDown(kKeyCtrl) || input_.KeyDown(kKeyEnter) || input_.ButtonDown(MouseButton::Right));

    // Scripted runs feed the input themselves: the devices are ignored.
    PushKey(SDL_SCANCODE_SPACE, true);
    button.button.button = SDL_BUTTON_LEFT;
    Push(button);
    window_->PumpEvents(input_, false);
    EXPECT_FALSE(input_.KeyDown(kKeySpace) || input_.ButtonDown(MouseButton::Left));

    SDL_Event quit{};
    quit.type = SDL_QUIT;
    Push(quit);
    EXPECT_TRUE(window_->PumpEvents(input_, true).QuitRequested);
}

} // namespace
} // namespace orv
