// What the renderer's tests need around it: an uploader that records instead of uploading, a
// headless OpenGL context (SDL's offscreen driver on Mesa), a plain GL uploader for it, frame
// read-back and comparison with reference pictures.
#pragma once

#include "content/Resources.h"
#include "core/Image.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace orv::test {

// Keeps every upload; texture names count up from 1.
class RecordingUploader final : public TextureUploader {
public:
    struct Region {
        const Texture* Tex;
        int X, Y, W, H;
    };
    uint32_t UploadTexture(const Image&, int) override { return ++lastName_; }
    uint32_t UploadGeneratedImage(const Image&, bool) override {
        ++Generated;
        return ++lastName_;
    }
    void UploadTextureRegion(const Texture& texture, int x, int y, int w, int h) override {
        Regions.push_back({&texture, x, y, w, h});
    }
    void DeleteTexture(uint32_t) override {}

    std::vector<Region> Regions;
    int Generated = 0;

private:
    uint32_t lastName_ = 0;
};

// One offscreen window and compatibility-profile context per test program, with the engine's
// start-up GL state. Tests skip with Reason() when no context can be made.
class GlTestContext {
public:
    static GlTestContext& Get(int width, int height);
    bool Ok() const { return ok_; }
    const std::string& Reason() const { return reason_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    // The engine's start-up state: viewport and projection, culling, black clear colour,
    // depth test with less-or-equal, colour material, 2D texturing.
    void ResetState(float fovDegrees) const;
    // The back buffer as drawn, top row first.
    Image ReadFrame() const;
    static void* GetProc(const char* name);

private:
    bool Open(int width, int height);
    bool ok_ = false;
    std::string reason_;
    int width_ = 0;
    int height_ = 0;
    void* window_ = nullptr;
    void* context_ = nullptr;
};

// Real GL textures from images (RGBA, linear filtering), as the engine's uploader makes them.
class TestGlUploader final : public TextureUploader {
public:
    uint32_t UploadTexture(const Image& image, int mode) override;
    uint32_t UploadGeneratedImage(const Image& image, bool nearestFilter) override;
    void UploadTextureRegion(const Texture& texture, int x, int y, int w, int h) override;
    void DeleteTexture(uint32_t glTexture) override;
};

// Compares a frame with tests/renderer/reference/<name>.png: at most 0.5 % of the pixels may
// differ by more than 24 in a channel. On a mismatch the message gives the counts and the
// frame and a difference picture are written beside the test program. With the environment
// variable ORV_UPDATE_REFERENCES=1 the reference is rewritten instead.
::testing::AssertionResult MatchesReference(const Image& frame, const std::string& name);

// Channels of a 0xAARRGGBB pixel.
inline int Red(uint32_t c) { return (c >> 16) & 0xFF; }
inline int Green(uint32_t c) { return (c >> 8) & 0xFF; }
inline int Blue(uint32_t c) { return c & 0xFF; }

} // namespace orv::test
