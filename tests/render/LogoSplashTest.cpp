// The logo splash drawn into a real frame: the 640 x 480 area of the logo, 4:3, centred on grey.
#include "render/LogoSplash.h"

#include "content/ImageFile.h"
#include "render/GlTestWindow.h"
#include "render/GlTextureUploader.h"
#include "support/TestSupport.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <vector>

namespace orv {
namespace {

using Rgb = std::array<int, 3>;

class LogoSplashTest : public test::GlTest {
protected:
    void SetUp() override { OpenWindow(800, 480); } // wider than 4:3

    // Runs the splash and keeps what each present would show.
    std::vector<std::vector<uint8_t>> RunSplash() {
        std::vector<std::vector<uint8_t>> frames;
        ShowLogoSplash(uploader_, 800, 480, [&] {
            std::vector<uint8_t> pixels(800 * 480 * 4);
            glReadPixels(0, 0, 800, 480, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
            frames.push_back(std::move(pixels));
        });
        return frames;
    }
    static Rgb At(const std::vector<uint8_t>& frame, int x, int yFromTop) {
        const uint8_t* p = frame.data() + (static_cast<size_t>(479 - yFromTop) * 800 + x) * 4;
        return {p[0], p[1], p[2]};
    }

    GlTextureUploader uploader_;
};

TEST_F(LogoSplashTest, ShowsTheLogoAreaCentredOnGrey) {
    // The logo: its 640 x 480 area (top left of the 1024 x 512 image) red on the left half and
    // green on the right; everything outside the area blue, which must never show.
    Image logo(1024, 512, 0xFF0000FFu);
    for (int y = 0; y < 480; ++y) {
        for (int x = 0; x < 640; ++x) {
            logo.At(x, y) = x < 320 ? 0xFFFF0000u : 0xFF00FF00u;
        }
    }
    test::TempDir dir;
    const std::vector<uint8_t> png = EncodePng(logo, true);
    dir.Write("Textures/Zelkor/Textures/Logo.png", std::string(png.begin(), png.end()));

    glEnable(GL_CULL_FACE);
    std::vector<std::vector<uint8_t>> frames;
    test::InDirectory(dir.Path(), [&] { frames = RunSplash(); });
    ASSERT_EQ(frames.size(), 3u); // drawn and presented three times
    for (const auto& frame : frames) {
        // f = 4/3 * 480/800 = 0.8: the quad covers x 80 .. 720.
        EXPECT_EQ(At(frame, 40, 240), (Rgb{100, 100, 100}));
        EXPECT_EQ(At(frame, 760, 10), (Rgb{100, 100, 100}));
        EXPECT_EQ(At(frame, 100, 5), (Rgb{255, 0, 0}));
        EXPECT_EQ(At(frame, 380, 470), (Rgb{255, 0, 0}));
        EXPECT_EQ(At(frame, 420, 5), (Rgb{0, 255, 0}));
        EXPECT_EQ(At(frame, 700, 470), (Rgb{0, 255, 0}));
        for (int y = 0; y < 480; y += 7) {
            for (int x = 0; x < 800; x += 7) {
                const Rgb c = At(frame, x, y);
                ASSERT_LE(c[2], std::max(c[0], c[1])) << "the logo outside its 640 x 480 area shows at " << x << ", " << y;
            }
        }
    }
    // Culling is back, nothing is left bound, no error.
    EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
    GLint bound = -1;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(bound, 0);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(LogoSplashTest, MissingLogoDrawsTextureZero) {
    test::TempDir dir;
    std::vector<std::vector<uint8_t>> frames;
    test::InDirectory(dir.Path(), [&] { frames = RunSplash(); });
    ASSERT_EQ(frames.size(), 3u);
    EXPECT_EQ(At(frames[2], 40, 240), (Rgb{100, 100, 100}));
    EXPECT_EQ(At(frames[2], 400, 240), (Rgb{255, 255, 255})); // the quad, untextured
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));                 // left as it was found
}

} // namespace
} // namespace orv
