// Screenshots: the gamma table, the file numbering, the row flip and the PNG of a real frame.
#include "render/Screenshot.h"

#include "content/ImageFile.h"
#include "core/Vfs.h"
#include "render/GlTestWindow.h"
#include "support/TestSupport.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

namespace orv {
namespace {

TEST(Screenshot, GammaTable) {
    const auto identity = ScreenshotGammaTable(1.0f);
    for (int i = 0; i < 256; ++i) {
        EXPECT_EQ(identity[i], i);
    }
    EXPECT_EQ(ScreenshotGammaTable(0.0f), identity); // no gamma set: the ramp was left alone
    EXPECT_EQ(ScreenshotGammaTable(-1.0f), identity);

    const auto bright = ScreenshotGammaTable(2.5f);
    EXPECT_EQ(bright[0], 0);
    EXPECT_EQ(bright[255], 255); // 256 * (255/256)^0.4 rounds to 256: white stays white
    EXPECT_EQ(bright[128], 194);  // 256 * 0.5^0.4 = 194.02
    EXPECT_EQ(bright[1], 28);     // 256 * (1/256)^0.4 = 27.86
    for (int i = 1; i < 256; ++i) {
        EXPECT_GE(bright[i], bright[i - 1]);
    }
    const auto dark = ScreenshotGammaTable(0.5f);
    EXPECT_EQ(dark[128], 64);
    EXPECT_EQ(dark[255], 254); // 256 * (255/256)^2 = 254.0
}

TEST(Screenshot, NumberingTakesTheFirstFreeName) {
    test::TempDir dir;
    test::InDirectory(dir.Path(), [&] {
        EXPECT_EQ(NextScreenshotName(), "Shot0000.png");
        dir.Write("Shot0000.png", "x");
        dir.Write("Shot0002.png", "x");
        EXPECT_EQ(NextScreenshotName(), "Shot0001.png");
        dir.Write("shot0001.PNG", "x"); // names are matched as the engine matches all paths
        EXPECT_EQ(NextScreenshotName(), "Shot0003.png");
    });
}

TEST(Screenshot, FrameRowsAreFlippedAndGammaApplied) {
    // Two rows of two pixels, bottom row first as glReadPixels gives them.
    const uint8_t frame[] = {10, 20, 30, 0, 40, 50, 60, 7, 128, 0, 255, 9, 1, 2, 3, 4};
    auto table = ScreenshotGammaTable(1.0f);
    table[128] = 200;
    const Image image = FrameToImage(frame, 2, 2, table);
    ASSERT_EQ(image.Width, 2);
    ASSERT_EQ(image.Height, 2);
    EXPECT_EQ(image.At(0, 0), 0xFFC800FFu); // top row of the image: the frame's last row
    EXPECT_EQ(image.At(1, 0), 0xFF010203u);
    EXPECT_EQ(image.At(0, 1), 0xFF0A141Eu);
    EXPECT_EQ(image.At(1, 1), 0xFF28323Cu);
}

class ScreenshotFrame : public test::GlTest {};

TEST_F(ScreenshotFrame, WritesTheFrameAsRgbPng) {
    // Clear a known colour and paint the lower half red: the file must show both, upright.
    glViewport(0, 0, 64, 48);
    glClearColor(0.2f, 0.4f, 0.6f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glEnable(GL_SCISSOR_TEST);
    glScissor(0, 0, 64, 24);
    glClearColor(1.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glDisable(GL_SCISSOR_TEST);

    test::TempDir dir;
    test::InDirectory(dir.Path(), [&] {
        EXPECT_EQ(TakeScreenshot(64, 48, 1.0f), "Shot0000.png");
        EXPECT_EQ(TakeScreenshot(64, 48, 2.5f), "Shot0001.png");
    });
    std::string bytes;
    ASSERT_TRUE(ReadWholeFile(dir / "Shot0000.png", bytes));
    EXPECT_EQ(static_cast<uint8_t>(bytes[25]), 2); // PNG colour type 2: RGB, no alpha

    Image shot;
    ASSERT_TRUE(DecodeImageFile(dir / "Shot0000.png", shot));
    ASSERT_EQ(shot.Width, 64);
    ASSERT_EQ(shot.Height, 48);
    EXPECT_EQ(shot.At(0, 0), 0xFF336699u);  // top rows: the clear colour
    EXPECT_EQ(shot.At(63, 23), 0xFF336699u);
    EXPECT_EQ(shot.At(0, 24), 0xFFFF0000u); // bottom rows: red
    EXPECT_EQ(shot.At(63, 47), 0xFFFF0000u);

    Image bright;
    ASSERT_TRUE(DecodeImageFile(dir / "Shot0001.png", bright));
    const auto table = ScreenshotGammaTable(2.5f);
    EXPECT_EQ(bright.At(5, 5), 0xFF000000u | (uint32_t(table[0x33]) << 16) | (uint32_t(table[0x66]) << 8) | table[0x99]);
    EXPECT_EQ(bright.At(5, 40), 0xFFFF0000u);
}

} // namespace
} // namespace orv
