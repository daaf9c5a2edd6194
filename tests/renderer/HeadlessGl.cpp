// The headless GL context and the test uploader.
#include "HeadlessGl.h"

#include "render/Camera.h"

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

void GlTestContext::ResetState(float fovDegrees) const {
    SetProjection(width_, height_, fovDegrees, kStartupFarPlane);
    glLoadIdentity();
    glEnable(GL_CULL_FACE);
    glClearColor(0, 0, 0, 1);
    glClearDepth(1.0);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glEnable(GL_COLOR_MATERIAL);
    glEnable(GL_TEXTURE_2D);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
}

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

namespace {

uint32_t MakeTexture(const Image& image, int mode, bool nearest) {
    if (image.IsEmpty()) {
        return 0;
    }
    const std::vector<uint8_t> bytes = TextureUploadBytes(image, mode);
    GLint previous = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &previous);
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, UploadKeepsAlpha(mode) ? GL_RGBA : GL_RGB, image.Width, image.Height, 0, GL_RGBA,
                 GL_UNSIGNED_BYTE, bytes.data());
    const GLint filter = nearest ? GL_NEAREST : GL_LINEAR;
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
    glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(previous));
    return name;
}

} // namespace

uint32_t TestGlUploader::UploadTexture(const Image& image, int mode) { return MakeTexture(image, mode, false); }

uint32_t TestGlUploader::UploadGeneratedImage(const Image& image, bool nearestFilter) {
    return MakeTexture(image, 0, nearestFilter);
}

void TestGlUploader::UploadTextureRegion(const Texture& texture, int x, int y, int w, int h) {
    const Image& image = texture.Pixels;
    if (image.IsEmpty()) {
        return;
    }
    w = w < 0 ? image.Width : w;
    h = h < 0 ? image.Height : h;
    std::vector<uint8_t> bytes;
    bytes.reserve(static_cast<size_t>(w) * h * 4);
    for (int row = y + h - 1; row >= y; --row) {
        for (int col = x; col < x + w; ++col) {
            const uint32_t p = image.At(col, row);
            bytes.insert(bytes.end(), {uint8_t(p >> 16), uint8_t(p >> 8), uint8_t(p), uint8_t(p >> 24)});
        }
    }
    GLint previous = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &previous);
    glBindTexture(GL_TEXTURE_2D, texture.GLTexture);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexSubImage2D(GL_TEXTURE_2D, 0, x, image.Height - y - h, w, h, GL_RGBA, GL_UNSIGNED_BYTE, bytes.data());
    glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(previous));
}

void TestGlUploader::DeleteTexture(uint32_t glTexture) {
    const GLuint name = glTexture;
    glDeleteTextures(1, &name);
}

} // namespace orv::test
