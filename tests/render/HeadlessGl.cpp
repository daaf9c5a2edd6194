// The headless GL context.
#include "HeadlessGl.h"

#include "render/Screenshot.h"

#include <GL/gl.h>

#include <vector>

namespace orv::test {

GlTestContext& GlTestContext::Instance() {
    static GlTestContext context;
    return context;
}

GlTestContext& GlTestContext::Get(int width, int height) {
    GlTestContext& context = Instance();
    if (!context.window_) {
        context.window_ = CreateSdlWindow(true);
    }
    if (!context.ok_ || context.window_->Width() != width || context.window_->Height() != height) {
        const ScreenSettings settings{width, height, 0, false, false, false}; // no vsync: draw at once
        context.ok_ = context.window_->Open(settings) == kWindowOk;
        context.reason_ = context.ok_ ? std::string() : "no headless OpenGL context: " + PlatformErrorText();
    }
    return context;
}

Image GlTestContext::ReadFrame() const {
    std::vector<uint8_t> bytes(static_cast<size_t>(window_->Width()) * window_->Height() * 4);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glReadPixels(0, 0, window_->Width(), window_->Height(), GL_RGBA, GL_UNSIGNED_BYTE, bytes.data());
    return FrameToImage(bytes.data(), window_->Width(), window_->Height(), ScreenshotGammaTable(1.0f));
}

void* GlTestContext::GetProc(const char* name) {
    const GlTestContext& context = Instance();
    return context.ok_ ? GlProcAddress(name) : nullptr;
}

} // namespace orv::test
