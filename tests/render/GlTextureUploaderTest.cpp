// Texture uploads read back from a real GL context: colour key, alpha, row order, filters,
// mipmaps, the generated-image variants and region updates.
#include "render/GlTextureUploader.h"

#include "render/GlState.h"
#include "render/GlTestWindow.h"
#include "support/TestSupport.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace orv {
namespace {

using Rgba = std::array<uint8_t, 4>;

// Level 0 of a texture as GL holds it: RGBA, GL's first row first.
std::vector<Rgba> ReadBack(uint32_t texture, int width, int height) {
    std::vector<Rgba> texels(static_cast<size_t>(width) * height);
    glBindTexture(GL_TEXTURE_2D, texture);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    glBindTexture(GL_TEXTURE_2D, 0);
    return texels;
}

GLint TexParameter(uint32_t texture, GLenum name) {
    GLint value = 0;
    glBindTexture(GL_TEXTURE_2D, texture);
    glGetTexParameteriv(GL_TEXTURE_2D, name, &value);
    glBindTexture(GL_TEXTURE_2D, 0);
    return value;
}

GLint LevelParameter(uint32_t texture, int level, GLenum name) {
    GLint value = 0;
    glBindTexture(GL_TEXTURE_2D, texture);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, level, name, &value);
    glBindTexture(GL_TEXTURE_2D, 0);
    return value;
}

TEST(TextureUploadBytes, BottomRowFirstWithRedAndBlueSwapped) {
    Image image(2, 2);
    image.At(0, 0) = 0x80112233u; // top row
    image.At(1, 0) = 0x00FF00FFu;
    image.At(0, 1) = 0xFF445566u; // bottom row
    image.At(1, 1) = 0x01FF00FFu; // magenta, but not with zero alpha
    const std::vector<uint8_t> plain = TextureUploadBytes(image, 0);
    const std::vector<uint8_t> expectedPlain = {0x44, 0x55, 0x66, 255, 0xFF, 0x00, 0xFF, 255,
                                                0x11, 0x22, 0x33, 255, 0xFF, 0x00, 0xFF, 255};
    EXPECT_EQ(plain, expectedPlain);
    const std::vector<uint8_t> keyed = TextureUploadBytes(image, kUploadColourKey | kUploadKeepAlpha);
    const std::vector<uint8_t> expectedKeyed = {0x44, 0x55, 0x66, 0xFF, 0xFF, 0x00, 0xFF, 0x01,
                                                0x11, 0x22, 0x33, 0x80, 0, 0, 0, 0};
    EXPECT_EQ(keyed, expectedKeyed);
    EXPECT_TRUE(TextureUploadBytes(Image(), 10).empty());
}

class GlTextureUploaderTest : public test::GlTest {
protected:
    GlTextureUploader uploader_;
};

TEST_F(GlTextureUploaderTest, ColourKeyMakesMagentaTransparent) {
    Image image(2, 2);
    image.At(0, 0) = 0x00FF00FFu; // the key
    image.At(1, 0) = 0xFFFF00FFu; // opaque magenta stays
    image.At(0, 1) = 0x80102030u;
    image.At(1, 1) = 0x00FF00FEu; // near the key: not keyed
    const uint32_t keyed = uploader_.UploadTexture(image, kUploadColourKey);
    ASSERT_NE(keyed, 0u);
    EXPECT_GT(LevelParameter(keyed, 0, GL_TEXTURE_ALPHA_SIZE), 0); // RGBA with bit 1
    std::vector<Rgba> t = ReadBack(keyed, 2, 2);
    // GL row 0 is the image's bottom row.
    EXPECT_EQ(t[0], (Rgba{0x10, 0x20, 0x30, 255})); // alpha forced without bit 8
    EXPECT_EQ(t[1], (Rgba{0xFF, 0x00, 0xFE, 255}));
    EXPECT_EQ(t[2], (Rgba{0, 0, 0, 0}));
    EXPECT_EQ(t[3], (Rgba{0xFF, 0x00, 0xFF, 255}));

    const uint32_t kept = uploader_.UploadTexture(image, kUploadColourKey | kUploadKeepAlpha);
    t = ReadBack(kept, 2, 2);
    EXPECT_EQ(t[0], (Rgba{0x10, 0x20, 0x30, 0x80}));
    EXPECT_EQ(t[1], (Rgba{0xFF, 0x00, 0xFE, 0x00}));
    EXPECT_EQ(t[2], (Rgba{0, 0, 0, 0}));

    // Without bits 1 and 8 the texture has no alpha at all, and no key.
    const uint32_t rgb = uploader_.UploadTexture(image, 0);
    EXPECT_EQ(LevelParameter(rgb, 0, GL_TEXTURE_ALPHA_SIZE), 0);
    t = ReadBack(rgb, 2, 2);
    EXPECT_EQ(t[2], (Rgba{0xFF, 0x00, 0xFF, 255}));
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(GlTextureUploaderTest, RowsGoUpBottomFirst) {
    Image image(1, 3);
    image.At(0, 0) = 0xFFFF0000u; // top: red
    image.At(0, 1) = 0xFF00FF00u;
    image.At(0, 2) = 0xFF0000FFu; // bottom: blue
    const uint32_t texture = uploader_.UploadTexture(image, kUploadKeepAlpha);
    const std::vector<Rgba> t = ReadBack(texture, 1, 3);
    EXPECT_EQ(t[0], (Rgba{0, 0, 255, 255}));
    EXPECT_EQ(t[1], (Rgba{0, 255, 0, 255}));
    EXPECT_EQ(t[2], (Rgba{255, 0, 0, 255}));
}

TEST_F(GlTextureUploaderTest, FiltersOfTheModesInUse) {
    Image image(8, 4, 0xFF808080u);
    struct Case {
        int Mode;
        GLint Min;
        GLint Mag;
        bool Mipmaps;
    };
    const Case cases[] = {
        {10, GL_LINEAR_MIPMAP_LINEAR, GL_LINEAR, true},
        {14, GL_NEAREST_MIPMAP_LINEAR, GL_NEAREST, true},
        {26, GL_LINEAR_MIPMAP_LINEAR, GL_NEAREST, true},
        {0, GL_LINEAR, GL_LINEAR, false},
        {kUploadNearestMag, GL_NEAREST, GL_NEAREST, false}, // bit 16 without mipmaps: both nearest
        {kUploadNearestMin, GL_NEAREST, GL_NEAREST, false},
    };
    for (const Case& c : cases) {
        const uint32_t texture = uploader_.UploadTexture(image, c.Mode);
        EXPECT_EQ(TexParameter(texture, GL_TEXTURE_MIN_FILTER), c.Min) << "mode " << c.Mode;
        EXPECT_EQ(TexParameter(texture, GL_TEXTURE_MAG_FILTER), c.Mag) << "mode " << c.Mode;
        EXPECT_EQ(LevelParameter(texture, 1, GL_TEXTURE_WIDTH), c.Mipmaps ? 4 : 0) << "mode " << c.Mode;
        EXPECT_EQ(LevelParameter(texture, 3, GL_TEXTURE_WIDTH), c.Mipmaps ? 1 : 0) << "mode " << c.Mode;
    }
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(GlTextureUploaderTest, GeneratedImagesAreOpaqueRgbWithoutMipmaps) {
    Image image(2, 1);
    image.At(0, 0) = 0x00123456u; // alpha 0 is ignored
    image.At(1, 0) = 0x00FF00FFu; // and the colour key does not apply
    for (const bool nearest : {true, false}) {
        const uint32_t texture = uploader_.UploadGeneratedImage(image, nearest);
        const GLint filter = nearest ? GL_NEAREST : GL_LINEAR;
        EXPECT_EQ(TexParameter(texture, GL_TEXTURE_MIN_FILTER), filter);
        EXPECT_EQ(TexParameter(texture, GL_TEXTURE_MAG_FILTER), filter);
        EXPECT_EQ(LevelParameter(texture, 0, GL_TEXTURE_ALPHA_SIZE), 0);
        EXPECT_EQ(LevelParameter(texture, 1, GL_TEXTURE_WIDTH), 0);
        const std::vector<Rgba> t = ReadBack(texture, 2, 1);
        EXPECT_EQ(t[0], (Rgba{0x12, 0x34, 0x56, 255}));
        EXPECT_EQ(t[1], (Rgba{0xFF, 0x00, 0xFF, 255}));
    }
    EXPECT_EQ(uploader_.UploadGeneratedImage(Image(), true), 0u);
    EXPECT_EQ(uploader_.UploadTexture(Image(), 10), 0u);
}

TEST_F(GlTextureUploaderTest, UploadsKeepTheBoundTexture) {
    const uint32_t other = uploader_.UploadTexture(Image(2, 2), 0);
    glBindTexture(GL_TEXTURE_2D, other);
    Texture texture;
    texture.Pixels = Image(4, 4, 0xFF000000u);
    texture.GLTexture = uploader_.UploadTexture(texture.Pixels, kUploadKeepAlpha);
    uploader_.UploadTextureRegion(texture, 0, 0, -1, -1);
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(static_cast<uint32_t>(bound), other);

    uploader_.DeleteTexture(texture.GLTexture);
    EXPECT_FALSE(glIsTexture(texture.GLTexture));
    uploader_.DeleteTexture(0); // nothing to delete, no error
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(GlTextureUploaderTest, RegionUploadChangesOnlyItsRectangle) {
    test::LogCapture log;
    Texture texture;
    texture.Pixels = Image(4, 4, 0xFF000000u);
    texture.GLTexture = uploader_.UploadTexture(texture.Pixels, kUploadKeepAlpha);
    for (uint32_t& p : texture.Pixels.Pixels) {
        p = 0x80FF2010u; // the whole image changes, only the rectangle is sent
    }
    uploader_.UploadTextureRegion(texture, 1, 0, 2, 1); // image row 0 is GL row 3
    std::vector<Rgba> t = ReadBack(texture.GLTexture, 4, 4);
    for (int glRow = 0; glRow < 4; ++glRow) {
        for (int x = 0; x < 4; ++x) {
            const bool inside = glRow == 3 && (x == 1 || x == 2);
            const Rgba expected = inside ? Rgba{0xFF, 0x20, 0x10, 0x80} : Rgba{0, 0, 0, 255};
            EXPECT_EQ(t[glRow * 4 + x], expected) << "x " << x << " GL row " << glRow;
        }
    }

    // A second, larger region through the same scratch buffer; a rectangle reaching past the
    // image is clipped to it.
    texture.Pixels.At(3, 3) = 0xFF0000FFu;
    uploader_.UploadTextureRegion(texture, 2, 2, 5, 5);
    t = ReadBack(texture.GLTexture, 4, 4);
    EXPECT_EQ(t[0 * 4 + 3], (Rgba{0, 0, 0xFF, 0xFF})); // image (3, 3) is GL row 0
    EXPECT_EQ(t[0 * 4 + 2], (Rgba{0xFF, 0x20, 0x10, 0x80}));
    EXPECT_EQ(t[1 * 4 + 2], (Rgba{0xFF, 0x20, 0x10, 0x80}));
    EXPECT_EQ(t[0 * 4 + 1], (Rgba{0, 0, 0, 255}));
    EXPECT_EQ(t[2 * 4 + 2], (Rgba{0, 0, 0, 255}));

    uploader_.UploadTextureRegion(texture, 9, 9, 2, 2); // wholly outside: nothing
    Texture empty;
    uploader_.UploadTextureRegion(empty, 0, 0, -1, -1); // no image: nothing
    for (const std::string& line : log.Lines()) {
        EXPECT_EQ(line.rfind("Error: OpenGL", 0), std::string::npos) << line;
    }
}

TEST_F(GlTextureUploaderTest, GlErrorLineNamesCodeAndPlace) {
    test::LogCapture log;
    EXPECT_FALSE(CheckGlError(12));
    glEnable(0x7FFF);                 // GL_INVALID_ENUM
    glBindTexture(GL_TEXTURE_2D, 0);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, 12345); // another error, drained too
    EXPECT_TRUE(CheckGlError(10664));
    EXPECT_FALSE(CheckGlError(10664));
    ASSERT_EQ(log.Lines().size(), 1u);
    EXPECT_EQ(log.Lines()[0], "Error: OpenGL 0x500, line: 10664");
}

} // namespace
} // namespace orv
