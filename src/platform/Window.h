// The game window with its OpenGL context and everything the engine asks of the desktop: the
// screen mode, the cursor, the gamma ramp, the message box, the display-mode list and the input
// devices; and the loader of GL entry points. SdlWindow is the real one (SDL2; in headless runs SDL's offscreen
// driver on EGL); tests put in their own.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace orv {

class InputState;

// One 16-bit entry per 8-bit channel value, as the display takes it.
constexpr int kGammaRampSize = 256;

struct GammaRamp {
    uint16_t Red[kGammaRampSize] = {};
    uint16_t Green[kGammaRampSize] = {};
    uint16_t Blue[kGammaRampSize] = {};

    bool operator==(const GammaRamp&) const = default;
};

struct DisplayMode {
    int Width = 0;
    int Height = 0;
    int RefreshRate = 0;  // 0 when the system does not say
    int BitsPerPixel = 0; // storage bits: 32 for the usual 8-bit-per-channel modes
};

struct ScreenSettings {
    int Width = 0;
    int Height = 0;
    int RefreshRate = 0; // full screen only; 0 lets the system choose
    bool Fullscreen = false;
    bool Borderless = false; // desktop size, frameless; Alt+Enter does nothing
    bool Vsync = true;       // presenting waits for the display (timedemo runs turn it off)
};

// Why a window could not be opened; the number is the one "ScreenRes failed. Err=N" reports.
enum WindowError : int {
    kWindowOk = 0,
    kWindowVideoInitFailed = 1,
    kWindowCreateFailed = 2,
    kWindowNoGlContext = 3,
    kWindowNoFullscreenMode = 4,
    kWindowBadSize = 5,
};

// What the window saw while pumping events, besides input.
struct WindowEvents {
    bool QuitRequested = false; // the close button or the desktop asked the program to end
};

class Window {
public:
    virtual ~Window() = default;

    // Opens the OpenGL window (closing any open one) and makes its context current. In
    // borderless mode the size becomes the desktop size.
    virtual WindowError Open(const ScreenSettings& settings) = 0;
    // Replaces the game window by a plain window without OpenGL (the fatal path shows its
    // message box over it, out of full screen).
    virtual void OpenPlainWindow(int width, int height) = 0;
    virtual void Close() = 0;

    virtual int Width() const = 0;
    virtual int Height() const = 0;
    virtual void SetTitle(std::string_view title) = 0;

    virtual void SetCursorHidden(bool hidden) = 0;
    virtual void SetCursorConfined(bool confined) = 0;
    virtual void WarpMouse(int x, int y) = 0;

    virtual void Present() = 0;

    virtual bool GetGammaRamp(GammaRamp& ramp) = 0;
    virtual bool SetGammaRamp(const GammaRamp& ramp) = 0;

    // Waits until the user closes it (headless runs only log).
    virtual void ShowMessageBox(std::string_view caption, std::string_view text) = 0;

    // The full-screen modes of the primary display in the system's order; the desktop mode
    // alone when the system lists none.
    virtual std::vector<DisplayMode> DisplayModes() = 0;

    // Handles pending window events (Alt+Enter among them). With deliverInput the keyboard
    // and mouse go into the input state; scripted runs pass false and feed it themselves.
    virtual WindowEvents PumpEvents(InputState& input, bool deliverInput) = 0;
};

// The SDL window. Headless: the offscreen video driver, no audio, no message boxes, nothing
// reaches a display; drawing works as in a real window.
std::unique_ptr<Window> CreateSdlWindow(bool headless);

// The GL entry point of that name for the current context, null when no context is current or
// the driver lacks it. Its signature is the renderer's GlProcLoader: the renderer fetches and
// keeps its extension entry points itself.
void* GlProcAddress(const char* name);

// The last SDL error text, for log lines.
std::string PlatformErrorText();

} // namespace orv
