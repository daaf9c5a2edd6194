// glTexImage2D / gluBuild2DMipmaps / glTexSubImage2D with the engine's upload modes.
#include "render/GlTextureUploader.h"

#include "render/GlState.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>

namespace orv {

namespace {

void PutRgba(uint8_t* out, uint32_t pixel, bool keepAlpha) {
    out[0] = static_cast<uint8_t>(pixel >> 16);
    out[1] = static_cast<uint8_t>(pixel >> 8);
    out[2] = static_cast<uint8_t>(pixel);
    out[3] = keepAlpha ? static_cast<uint8_t>(pixel >> 24) : 255;
}

// Creates a texture name from RGBA bytes, restoring the binding that was there before so the
// renderer's idea of the bound texture stays true.
uint32_t CreateTexture(const std::vector<uint8_t>& bytes, int width, int height, GLint internalFormat, bool mipmaps,
                       GLint minFilter, GLint magFilter) {
    GLint previous = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &previous);
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    if (mipmaps) {
        gluBuild2DMipmaps(GL_TEXTURE_2D, internalFormat, width, height, GL_RGBA, GL_UNSIGNED_BYTE, bytes.data());
    } else {
        glTexImage2D(GL_TEXTURE_2D, 0, internalFormat, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, bytes.data());
    }
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, minFilter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, magFilter);
    glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(previous));
    return name;
}

} // namespace

uint32_t GlTextureUploader::UploadTexture(const Image& image, int mode) {
    if (image.IsEmpty()) {
        return 0;
    }
    const std::vector<uint8_t> bytes = TextureUploadBytes(image, mode);
    const GLint internalFormat = (mode & (kUploadColourKey | kUploadKeepAlpha)) ? GL_RGBA : GL_RGB;
    const bool nearestMin = (mode & kUploadNearestMin) != 0;
    const bool nearestMag = (mode & (kUploadNearestMin | kUploadNearestMag)) != 0;
    const bool mipmaps = (mode & kUploadMipmaps) != 0;
    GLint minFilter;
    if (mipmaps) {
        minFilter = nearestMin ? GL_NEAREST_MIPMAP_LINEAR : GL_LINEAR_MIPMAP_LINEAR;
    } else {
        minFilter = nearestMag ? GL_NEAREST : GL_LINEAR; // bit 4 or bit 16
    }
    return CreateTexture(bytes, image.Width, image.Height, internalFormat, mipmaps, minFilter,
                         nearestMag ? GL_NEAREST : GL_LINEAR);
}

uint32_t GlTextureUploader::UploadGeneratedImage(const Image& image, bool nearestFilter) {
    if (image.IsEmpty()) {
        return 0;
    }
    const GLint filter = nearestFilter ? GL_NEAREST : GL_LINEAR;
    return CreateTexture(TextureUploadBytes(image, 0), image.Width, image.Height, GL_RGB, false, filter, filter);
}

void GlTextureUploader::UploadTextureRegion(const Texture& texture, int x, int y, int w, int h) {
    const Image& image = texture.Pixels;
    if (image.IsEmpty() || texture.GLTexture == 0) {
        return;
    }
    if (w == -1) {
        w = image.Width;
    }
    if (h == -1) {
        h = image.Height;
    }
    // Clip to the image: a rectangle reaching outside it must not read past the pixels.
    const int x0 = std::max(x, 0);
    const int y0 = std::max(y, 0);
    const int x1 = std::min(x + w, image.Width);
    const int y1 = std::min(y + h, image.Height);
    if (x1 <= x0 || y1 <= y0) {
        return;
    }
    x = x0;
    y = y0;
    w = x1 - x0;
    h = y1 - y0;

    const size_t needed = static_cast<size_t>(w) * static_cast<size_t>(h) * 4;
    if (scratch_.size() < needed) {
        scratch_.resize(needed);
    }
    uint8_t* out = scratch_.data();
    for (int row = y + h - 1; row >= y; --row) {
        for (int col = x; col < x + w; ++col, out += 4) {
            PutRgba(out, image.At(col, row), true);
        }
    }
    CheckGlError(kGlErrorBeforeRegionUpload);
    GLint previous = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &previous);
    glBindTexture(GL_TEXTURE_2D, texture.GLTexture);
    glTexSubImage2D(GL_TEXTURE_2D, 0, x, image.Height - y - h, w, h, GL_RGBA, GL_UNSIGNED_BYTE, scratch_.data());
    glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(previous));
    CheckGlError(kGlErrorAfterRegionUpload);
}

void GlTextureUploader::DeleteTexture(uint32_t glTexture) {
    if (glTexture != 0) {
        const GLuint name = glTexture;
        glDeleteTextures(1, &name);
    }
}

} // namespace orv
