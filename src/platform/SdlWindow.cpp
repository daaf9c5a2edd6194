// The SDL2 window: OpenGL compatibility context (fixed-function GL must work), the three screen
// modes with Alt+Enter, cursor, gamma, message box, display modes and input events.
#include "platform/Window.h"

#include "core/InputState.h"
#include "platform/Scancodes.h"

#include <SDL.h>

#include <climits>
#include <string>

namespace orv {

namespace {

constexpr const char* kWindowTitle = "Orvane";

// Every display query and full-screen mode is of the primary display.
constexpr int kPrimaryDisplay = 0;

// 8 bits per colour channel and alpha (32 bits per pixel) and a 24-bit depth buffer.
constexpr int kChannelBits = 8;
constexpr int kDepthBits = 24;
// OpenGL 2.1 in a compatibility profile: the fixed-function pipeline with multitexture, which is
// all the renderer draws with, on Mesa and on desktop drivers alike.
constexpr int kGlMajorVersion = 2;
constexpr int kGlMinorVersion = 1;

// The highest character the engine's fonts know: text input is kept to Latin-1.
constexpr uint32_t kLastLatin1 = 0xFF;

// The control characters a PC keyboard buffer holds for keys that type no text.
constexpr uint8_t kCharBackspace = 8;
constexpr uint8_t kCharTab = 9;
constexpr uint8_t kCharReturn = 13;
constexpr uint8_t kCharEscape = 27;

// Decodes UTF-8 text input into the Latin-1 bytes the engine's fonts know; other characters
// are dropped. A lead byte 0xxxxxxx, 110xxxxx, 1110xxxx or 11110xxx says how many continuation
// bytes 10xxxxxx follow, each adding 6 bits to the character.
void PushTextInput(const char* text, InputState& input) {
    const auto* p = reinterpret_cast<const unsigned char*>(text);
    while (*p) {
        uint32_t code = 0;
        int extra = 0;
        if (*p < 0x80) {
            code = *p;
        } else if ((*p & 0xE0) == 0xC0) {
            code = *p & 0x1F;
            extra = 1;
        } else if ((*p & 0xF0) == 0xE0) {
            code = *p & 0x0F;
            extra = 2;
        } else if ((*p & 0xF8) == 0xF0) {
            code = *p & 0x07;
            extra = 3;
        } else {
            ++p; // a stray continuation byte
            continue;
        }
        ++p;
        bool complete = true;
        for (int i = 0; i < extra; ++i) {
            if ((*p & 0xC0) != 0x80) {
                complete = false;
                break;
            }
            code = (code << 6) | (*p & 0x3F);
            ++p;
        }
        if (complete && code <= kLastLatin1) {
            input.PushChar(static_cast<uint8_t>(code));
        }
    }
}

// The control character of a key that types no text, or 0.
uint8_t ControlCharFor(SDL_Scancode scancode) {
    switch (scancode) {
    case SDL_SCANCODE_RETURN:
    case SDL_SCANCODE_KP_ENTER:
        return kCharReturn;
    case SDL_SCANCODE_BACKSPACE:
        return kCharBackspace;
    case SDL_SCANCODE_TAB:
        return kCharTab;
    case SDL_SCANCODE_ESCAPE:
        return kCharEscape;
    default:
        return 0;
    }
}

class SdlWindow final : public Window {
public:
    explicit SdlWindow(bool headless) : headless_(headless) {}
    ~SdlWindow() override { Close(); }

    WindowError Open(const ScreenSettings& settings) override;
    void OpenPlainWindow(int width, int height) override;
    void Close() override;

    int Width() const override { return width_; }
    int Height() const override { return height_; }
    void SetTitle(std::string_view title) override;

    void SetCursorHidden(bool hidden) override;
    void SetCursorConfined(bool confined) override;
    void WarpMouse(int x, int y) override;

    void Present() override {
        if (window_ && context_) {
            SDL_GL_SwapWindow(window_);
        }
    }

    bool GetGammaRamp(GammaRamp& ramp) override {
        return window_ && SDL_GetWindowGammaRamp(window_, ramp.Red, ramp.Green, ramp.Blue) == 0;
    }
    bool SetGammaRamp(const GammaRamp& ramp) override {
        return window_ && SDL_SetWindowGammaRamp(window_, ramp.Red, ramp.Green, ramp.Blue) == 0;
    }

    void ShowMessageBox(std::string_view caption, std::string_view text) override;
    std::vector<DisplayMode> DisplayModes() override;
    WindowEvents PumpEvents(InputState& input, bool deliverInput) override;

private:
    bool EnsureVideo();
    void DesktopSize(int& width, int& height);
    bool EnterFullscreen();
    void ToggleFullscreen();
    // Relative mouse motion while the cursor is hidden and confined: the pointer can then never
    // stop at a screen edge, and no warp races the motion events.
    void UpdateMouseMode();
    // The size the GL drawable really has (a full-screen mode or the desktop may differ from the
    // one asked for); kept when SDL cannot say.
    void TakeDrawableSize();

    bool headless_;
    bool videoReady_ = false;
    SDL_Window* window_ = nullptr;
    SDL_GLContext context_ = nullptr;
    ScreenSettings settings_;
    int width_ = 0;
    int height_ = 0;
    bool fullscreen_ = false;
    bool cursorHidden_ = false;
    bool cursorConfined_ = false;
    bool relativeMouse_ = false;
};

bool SdlWindow::EnsureVideo() {
    if (videoReady_) {
        return true;
    }
    if (headless_) {
        // No X server: SDL's offscreen driver renders through EGL (Mesa llvmpipe).
        SDL_SetHint(SDL_HINT_VIDEODRIVER, "offscreen");
    }
    videoReady_ = SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
    if (videoReady_) {
        // Keeps the GL driver loaded until the process ends, also while the game window is
        // replaced: SDL would otherwise unload it with every GL window, stranding what it
        // allocated.
        SDL_GL_LoadLibrary(nullptr);
    }
    return videoReady_;
}

WindowError SdlWindow::Open(const ScreenSettings& settings) {
    Close();
    if (!EnsureVideo()) {
        return kWindowVideoInitFailed;
    }
    settings_ = settings;
    int width = settings.Width;
    int height = settings.Height;
    if (settings.Borderless) {
        DesktopSize(width, height);
    }
    if (width <= 0 || height <= 0) {
        return kWindowBadSize;
    }

    SDL_GL_ResetAttributes();
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, kChannelBits);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, kChannelBits);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, kChannelBits);
    SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, kChannelBits);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, kDepthBits);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, kGlMajorVersion);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, kGlMinorVersion);

    Uint32 flags = SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN;
    if (settings.Borderless && !headless_) {
        flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
    }
    window_ = SDL_CreateWindow(kWindowTitle, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width, height, flags);
    if (!window_) {
        return kWindowCreateFailed;
    }
    width_ = width;
    height_ = height;
    fullscreen_ = false;
    // A headless run has no display to switch: full screen is drawn like a window there.
    if (settings.Fullscreen && !settings.Borderless && !headless_ && !EnterFullscreen()) {
        Close();
        return kWindowNoFullscreenMode;
    }
    context_ = SDL_GL_CreateContext(window_);
    if (!context_ || SDL_GL_MakeCurrent(window_, context_) != 0) {
        Close();
        return kWindowNoGlContext;
    }
    SDL_GL_SetSwapInterval(settings.Vsync ? 1 : 0); // 1: one display refresh per presented frame
    SDL_ShowWindow(window_);
    TakeDrawableSize();
    UpdateMouseMode();
    return kWindowOk;
}

bool SdlWindow::EnterFullscreen() {
    SDL_DisplayMode wanted{};
    wanted.w = width_;
    wanted.h = height_;
    wanted.refresh_rate = settings_.RefreshRate;
    SDL_DisplayMode closest{};
    if (!SDL_GetClosestDisplayMode(kPrimaryDisplay, &wanted, &closest)) {
        return false;
    }
    if (SDL_SetWindowDisplayMode(window_, &closest) != 0 || SDL_SetWindowFullscreen(window_, SDL_WINDOW_FULLSCREEN) != 0) {
        return false;
    }
    fullscreen_ = true;
    return true;
}

void SdlWindow::TakeDrawableSize() {
    int width = 0;
    int height = 0;
    if (window_ && context_) {
        SDL_GL_GetDrawableSize(window_, &width, &height);
    }
    if (width > 0 && height > 0) {
        width_ = width;
        height_ = height;
    }
}

void SdlWindow::ToggleFullscreen() {
    if (!window_ || settings_.Borderless || headless_) {
        return;
    }
    if (fullscreen_) {
        if (SDL_SetWindowFullscreen(window_, 0) == 0) {
            fullscreen_ = false;
        }
    } else {
        EnterFullscreen();
    }
    TakeDrawableSize();
}

void SdlWindow::OpenPlainWindow(int width, int height) {
    Close();
    if (headless_ || !EnsureVideo()) {
        return;
    }
    window_ = SDL_CreateWindow(kWindowTitle, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width, height, SDL_WINDOW_SHOWN);
    if (window_) {
        width_ = width;
        height_ = height;
    }
}

void SdlWindow::Close() {
    if (relativeMouse_) {
        SDL_SetRelativeMouseMode(SDL_FALSE);
        relativeMouse_ = false;
    }
    if (context_) {
        SDL_GL_MakeCurrent(window_, nullptr);
        SDL_GL_DeleteContext(context_);
        context_ = nullptr;
    }
    if (window_) {
        SDL_DestroyWindow(window_);
        window_ = nullptr;
    }
    fullscreen_ = false;
}

void SdlWindow::DesktopSize(int& width, int& height) {
    width = 0;
    height = 0;
    SDL_DisplayMode mode{};
    if (EnsureVideo() && SDL_GetDesktopDisplayMode(kPrimaryDisplay, &mode) == 0) {
        width = mode.w;
        height = mode.h;
    }
}

void SdlWindow::SetTitle(std::string_view title) {
    if (window_) {
        SDL_SetWindowTitle(window_, std::string(title).c_str());
    }
}

void SdlWindow::SetCursorHidden(bool hidden) {
    cursorHidden_ = hidden;
    if (videoReady_) {
        SDL_ShowCursor(hidden ? SDL_DISABLE : SDL_ENABLE);
    }
    UpdateMouseMode();
}

void SdlWindow::SetCursorConfined(bool confined) {
    cursorConfined_ = confined;
    if (window_) {
        SDL_SetWindowGrab(window_, confined ? SDL_TRUE : SDL_FALSE);
    }
    UpdateMouseMode();
}

void SdlWindow::UpdateMouseMode() {
    const bool relative = window_ && !headless_ && cursorHidden_ && cursorConfined_;
    if (relative != relativeMouse_) {
        relativeMouse_ = SDL_SetRelativeMouseMode(relative ? SDL_TRUE : SDL_FALSE) == 0 && relative;
    }
}

void SdlWindow::WarpMouse(int x, int y) {
    // In relative mode the engine's pointer is its own; the real one stays where SDL keeps it.
    if (window_ && !relativeMouse_) {
        SDL_WarpMouseInWindow(window_, x, y);
    }
}

void SdlWindow::ShowMessageBox(std::string_view caption, std::string_view text) {
    if (headless_) {
        return; // the message is in the log already
    }
    if (!videoReady_) {
        EnsureVideo();
    }
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, std::string(caption).c_str(), std::string(text).c_str(), window_);
}

std::vector<DisplayMode> SdlWindow::DisplayModes() {
    std::vector<DisplayMode> modes;
    if (!EnsureVideo()) {
        return modes;
    }
    auto add = [&](const SDL_DisplayMode& m) {
        if (m.w > 0 && m.h > 0) {
            modes.push_back({m.w, m.h, m.refresh_rate, static_cast<int>(SDL_BYTESPERPIXEL(m.format)) * CHAR_BIT});
        }
    };
    const int count = SDL_GetNumDisplayModes(kPrimaryDisplay);
    for (int i = 0; i < count; ++i) {
        SDL_DisplayMode m{};
        if (SDL_GetDisplayMode(kPrimaryDisplay, i, &m) == 0) {
            add(m);
        }
    }
    // Drivers without a mode list (the offscreen one lists a blank entry) still have the desktop.
    if (modes.empty()) {
        SDL_DisplayMode desktop{};
        if (SDL_GetDesktopDisplayMode(kPrimaryDisplay, &desktop) == 0) {
            add(desktop);
        }
    }
    return modes;
}

WindowEvents SdlWindow::PumpEvents(InputState& input, bool deliverInput) {
    WindowEvents result;
    if (!videoReady_) {
        return result;
    }
    SDL_Event e;
    while (SDL_PollEvent(&e)) {
        switch (e.type) {
        case SDL_QUIT:
            result.QuitRequested = true;
            break;
        case SDL_WINDOWEVENT:
            if (e.window.event == SDL_WINDOWEVENT_FOCUS_LOST && deliverInput) {
                input.ReleaseAll();
            } else if (e.window.event == SDL_WINDOWEVENT_SIZE_CHANGED) {
                TakeDrawableSize(); // the engine's view follows from its next frame
            }
            break;
        case SDL_KEYDOWN:
        case SDL_KEYUP: {
            const bool down = e.type == SDL_KEYDOWN;
            const SDL_Scancode sc = e.key.keysym.scancode;
            const bool enter = sc == SDL_SCANCODE_RETURN || sc == SDL_SCANCODE_KP_ENTER;
            if (down && enter && (e.key.keysym.mod & KMOD_ALT)) {
                // Alt+Enter belongs to the window; the engine never sees this Enter.
                if (!e.key.repeat) {
                    ToggleFullscreen();
                }
                break;
            }
            if (!deliverInput) {
                break;
            }
            if (const int code = Set1FromSdlScancode(sc)) {
                input.SetKey(code, down);
            }
            if (down) {
                if (const uint8_t c = ControlCharFor(sc)) {
                    input.PushChar(c);
                }
            }
            break;
        }
        case SDL_TEXTINPUT:
            if (deliverInput) {
                PushTextInput(e.text.text, input);
            }
            break;
        case SDL_MOUSEMOTION:
            if (deliverInput) {
                if (relativeMouse_) {
                    input.MoveMouse(e.motion.xrel, e.motion.yrel);
                } else {
                    input.SetMousePosition(e.motion.x, e.motion.y);
                }
            }
            break;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP:
            if (deliverInput) {
                const bool down = e.type == SDL_MOUSEBUTTONDOWN;
                if (e.button.button == SDL_BUTTON_LEFT) {
                    input.SetButton(MouseButton::Left, down);
                } else if (e.button.button == SDL_BUTTON_RIGHT) {
                    input.SetButton(MouseButton::Right, down);
                } else if (e.button.button == SDL_BUTTON_MIDDLE) {
                    input.SetButton(MouseButton::Middle, down);
                }
            }
            break;
        default:
            break;
        }
    }
    if (deliverInput) {
        input.SetMouseArea(width_, height_);
        const SDL_Window* focus = relativeMouse_ ? SDL_GetKeyboardFocus() : SDL_GetMouseFocus();
        input.SetMouseAvailable(window_ && focus == window_);
    }
    return result;
}

} // namespace

// Read by the leak checker of sanitizer builds (and ignored otherwise): on the desktop SDL talks
// to the session bus, and libdbus keeps buffers for the life of the process.
extern "C" const char* __lsan_default_suppressions() { return "leak:libdbus-1.so\n"; }

std::unique_ptr<Window> CreateSdlWindow(bool headless) { return std::make_unique<SdlWindow>(headless); }

void* GlProcAddress(const char* name) { return SDL_GL_GetCurrentContext() ? SDL_GL_GetProcAddress(name) : nullptr; }

std::string PlatformErrorText() { return SDL_GetError(); }

} // namespace orv
