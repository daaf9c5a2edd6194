// A window that records what the engine asks of it, for tests that need no drawing.
#pragma once

#include "platform/Window.h"

#include <string>
#include <vector>

namespace orv::test {

class FakeWindow final : public Window {
public:
    WindowError OpenError = kWindowOk;
    GammaRamp DeviceRamp; // what GetGammaRamp reports
    bool GammaReadable = true;
    std::vector<GammaRamp> RampsSet; // every SetGammaRamp, in order
    std::vector<ScreenSettings> Opened;
    std::vector<std::string> Calls; // the other calls that change something, by name, in order
    static constexpr int kDesktopWidth = 1920;
    static constexpr int kDesktopHeight = 1080;

    WindowError Open(const ScreenSettings& settings) override {
        Opened.push_back(settings);
        width_ = settings.Borderless ? kDesktopWidth : settings.Width;
        height_ = settings.Borderless ? kDesktopHeight : settings.Height;
        return OpenError;
    }
    void OpenPlainWindow(int width, int height) override {
        Calls.push_back("OpenPlainWindow " + std::to_string(width) + "x" + std::to_string(height));
    }
    void Close() override { Calls.push_back("Close"); }
    int Width() const override { return width_; }
    int Height() const override { return height_; }
    void SetTitle(std::string_view title) override { Calls.push_back("SetTitle " + std::string(title)); }
    void SetCursorHidden(bool hidden) override { Calls.push_back(hidden ? "HideCursor" : "ShowCursor"); }
    void SetCursorConfined(bool confined) override { Calls.push_back(confined ? "Confine" : "Release"); }
    void WarpMouse(int x, int y) override { Calls.push_back("Warp " + std::to_string(x) + "," + std::to_string(y)); }
    void Present() override {}
    bool GetGammaRamp(GammaRamp& ramp) override {
        ramp = DeviceRamp;
        return GammaReadable;
    }
    bool SetGammaRamp(const GammaRamp& ramp) override {
        RampsSet.push_back(ramp);
        return true;
    }
    void ShowMessageBox(std::string_view caption, std::string_view text) override {
        Calls.push_back("MessageBox " + std::string(caption) + ": " + std::string(text));
    }
    std::vector<DisplayMode> DisplayModes() override { return {}; }
    WindowEvents PumpEvents(InputState&, bool) override { return {}; }

private:
    int width_ = 0;
    int height_ = 0;
};

} // namespace orv::test
