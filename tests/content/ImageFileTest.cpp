// PNG round trips through the encoder and decoder, and refusal of non-pictures.
#include "content/ImageFile.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

TEST(ImageFile, PngRoundTripKeepsPixelsAndRowOrder) {
    Image image(3, 2);
    image.At(0, 0) = 0xFFFF0000u; // top-left red
    image.At(2, 1) = 0x800000FFu; // bottom-right half-transparent blue
    image.At(1, 0) = 0x00FF00FFu; // magenta with zero alpha
    test::TempDir dir;
    ASSERT_TRUE(WritePngFile(dir / "t.png", image, true));
    Image back;
    ASSERT_TRUE(DecodeImageFile(dir / "T.PNG", back));
    EXPECT_EQ(back.Width, 3);
    EXPECT_EQ(back.Height, 2);
    EXPECT_EQ(back.Pixels, image.Pixels);

    ASSERT_TRUE(WritePngFile(dir / "rgb.png", image, false));
    ASSERT_TRUE(DecodeImageFile(dir / "rgb.png", back));
    EXPECT_EQ(back.At(2, 1), 0xFF0000FFu); // without alpha the pixel is opaque
}

TEST(ImageFile, NonPicturesAreRefused) {
    test::TempDir dir;
    dir.Write("bad.png", "not a png at all");
    Image out;
    EXPECT_FALSE(DecodeImageFile(dir / "bad.png", out));
    EXPECT_TRUE(out.IsEmpty());
    EXPECT_FALSE(DecodeImageFile(dir / "missing.png", out));
    EXPECT_FALSE(DecodeImageMemory(nullptr, 0, out));
}

} // namespace
} // namespace orv
