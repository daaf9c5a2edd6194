// What the renderer's tests need around it: an uploader that records instead of uploading, the
// headless OpenGL context, and comparison of frames with reference pictures.
#pragma once

#include "content/Resources.h"
#include "core/Image.h"
#include "HeadlessGl.h"

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
