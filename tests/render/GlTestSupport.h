// What the renderer's tests need around it: a fixture with the headless OpenGL context, an
// uploader that records instead of uploading, and frames compared with reference pictures.
#pragma once

#include "HeadlessGl.h"
#include "content/Texture.h"
#include "core/Image.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

namespace orv::test {

// A test that draws: the headless context at the size it asks for. Machines where no GL context
// can be made skip it, saying why.
class GlTest : public ::testing::Test {
protected:
    void OpenContext(int width, int height) {
        gl = &GlTestContext::Get(width, height);
        if (!gl->Ok()) {
            GTEST_SKIP() << gl->Reason();
        }
    }
    void SetUp() override { OpenContext(64, 48); }

    GlTestContext* gl = nullptr;
};

// Counts the generated images (the atlas) and keeps each region upload (x, y, w, h).
struct RecordingUploader final : TextureUploader {
    uint32_t UploadTexture(const Image&, int) override { return 0; }
    uint32_t UploadGeneratedImage(const Image&, bool) override { return ++Generated; }
    void UploadTextureRegion(const Texture&, int x, int y, int w, int h) override { Regions.push_back({x, y, w, h}); }
    void DeleteTexture(uint32_t) override {}

    std::vector<std::array<int, 4>> Regions;
    uint32_t Generated = 0;
};

// Compares a frame with tests/render/reference/<name>.png: at most 0.5 % of the pixels may differ
// by more than 24 in a channel (llvmpipe versions round blending and filtering a little
// differently). On a mismatch the message gives the counts and the frame is written to
// render-pictures/<name>.png beside the test program. With the environment variable
// ORV_UPDATE_REFERENCES=1 the reference is rewritten instead.
::testing::AssertionResult MatchesReference(const Image& frame, const std::string& name);

// Channels of a 0xAARRGGBB pixel.
inline int Red(uint32_t c) { return (c >> 16) & 0xFF; }
inline int Green(uint32_t c) { return (c >> 8) & 0xFF; }
inline int Blue(uint32_t c) { return c & 0xFF; }

} // namespace orv::test
