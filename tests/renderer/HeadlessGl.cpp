// The headless GL context.
#include "HeadlessGl.h"

#include "render/GlState.h"

#include <SDL2/SDL.h>
#include <GL/gl.h>

#include <vector>

namespace orv::test {

GlTestContext& GlTestContext::Get(int width, int height) {
    static GlTestContext context;
    if (!context.ok_ || context.width_ != width || context.height_ != height) {
        context.Open(width, height);
    }
    return context;
}

bool GlTestContext::Open(int width, int height) {
    if (context_) {
        SDL_GL_DeleteContext(static_cast<SDL_GLContext>(context_));
        context_ = nullptr;
    }
    if (window_) {
        SDL_DestroyWindow(static_cast<SDL_Window*>(window_));
        window_ = nullptr;
    }
    ok_ = false;
    SDL_SetHint(SDL_HINT_VIDEODRIVER, "offscreen");
    if (!SDL_WasInit(SDL_INIT_VIDEO) && SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        reason_ = std::string("no offscreen video driver: ") + SDL_GetError();
        return false;
    }
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_Window* window = SDL_CreateWindow("orvane-test", 0, 0, width, height, SDL_WINDOW_OPENGL);
    if (!window) {
        reason_ = std::string("no offscreen GL window: ") + SDL_GetError();
        return false;
    }
    SDL_GLContext context = SDL_GL_CreateContext(window);
    if (!context) {
        reason_ = std::string("no GL context: ") + SDL_GetError();
        SDL_DestroyWindow(window);
        return false;
    }
    window_ = window;
    context_ = context;
    width_ = width;
    height_ = height;
    ok_ = true;
    return true;
}

void GlTestContext::ResetState(float fovDegrees) const { SetStartupGlState(width_, height_, fovDegrees); }

Image GlTestContext::ReadFrame() const {
    std::vector<uint8_t> bytes(static_cast<size_t>(width_) * height_ * 4);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width_, height_, GL_RGBA, GL_UNSIGNED_BYTE, bytes.data());
    Image image(width_, height_);
    for (int y = 0; y < height_; ++y) {
        const uint8_t* row = bytes.data() + static_cast<size_t>(height_ - 1 - y) * width_ * 4;
        for (int x = 0; x < width_; ++x) {
            const uint8_t* p = row + x * 4;
            image.At(x, y) = 0xFF000000u | (uint32_t(p[0]) << 16) | (uint32_t(p[1]) << 8) | p[2];
        }
    }
    return image;
}

void* GlTestContext::GetProc(const char* name) { return SDL_GL_GetProcAddress(name); }

} // namespace orv::test
