// Bitmap fonts: the .font file through its writer and reader, page textures and Height.
#include "content/Font.h"
#include "content/Resources.h"
#include "core/BinaryReader.h"
#include "core/ConfigFile.h"

#include "content/ContentTestSupport.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

using Fonts = test::ContentTree;

TEST_F(Fonts, PagesRoundTripWithTheirTextures) {
    ConfigTable config;
    ConfigSet(config, "TexInterpolation", "nearest");
    Res.Config = &config;
    test::WritePng(Dir, "Textures/Zelkor/Textures/LargePage.png", 0xFFFFFFFFu);
    std::vector<FontPageFile> pages(3);
    pages[0].TextureName = "Zelkor.LargePage";
    pages[0].Characters = {{0, 0, 8, 12}, {8, 0, 0, 0}, {16, 0, 9, 14}};
    pages[1].TextureName = "";
    pages[1].Characters = {{1, 2, 3, 20}};
    pages[2].TextureName = "Zelkor.NoSuchPage";
    test::WriteBytes(Dir, "Textures/Zelkor/Textures/K_Test.font", WriteFontFile(pages));

    std::unique_ptr<Font> font = LoadFont(Res, "Textures\\Zelkor\\Textures\\k_test.FONT");
    ASSERT_EQ(font->Pages.Num(), 3);
    EXPECT_EQ(font->Height, 20);
    const FontPage& first = font->Pages[0];
    ASSERT_EQ(first.Characters.Num(), 3);
    EXPECT_EQ(first.Characters[2].StartU, 16);
    EXPECT_EQ(first.Characters[2].USize, 9);
    EXPECT_EQ(first.Characters[2].VSize, 14);
    EXPECT_EQ(first.Characters[1].USize, 0) << "an empty glyph is still a character";
    ASSERT_NE(first.PageTexture, nullptr);
    EXPECT_EQ(first.PageTexture->Name, "Zelkor.LargePage");
    EXPECT_EQ(first.PageTexture->bLevelTexture, 0);
    EXPECT_EQ(Uploader.Uploads.back().Mode, 10) << "font pages ignore the interpolation setting";
    EXPECT_EQ(font->Pages[1].PageTexture, Res.FallbackTexture());
    EXPECT_EQ(font->Pages[1].Characters[0].StartV, 2);
    EXPECT_EQ(font->Pages[2].PageTexture, Res.FallbackTexture());
    EXPECT_EQ(font->Pages[2].Characters.Num(), 0);

    std::vector<FontPageFile> blank(2);
    BinaryReader reader("blank.font", WriteFontFile(blank));
    std::unique_ptr<Font> empty = ReadFont(Res, reader);
    EXPECT_EQ(empty->Pages.Num(), 2);
    EXPECT_EQ(empty->Height, 0);
    EXPECT_TRUE(reader.AtEnd());

    // A non-positive page count means no pages; bytes after the last page are not read.
    std::vector<uint8_t> negative = {16, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 1, 2, 3};
    BinaryReader negativeReader("neg.font", negative);
    EXPECT_EQ(ReadFont(Res, negativeReader)->Pages.Num(), 0);
}

TEST_F(Fonts, BadHeadersAndShortFilesAreFatal) {
    EXPECT_EQ(test::CatchFatal([&] { LoadFont(Res, "Textures\\Zelkor\\Textures\\Gone.font"); }),
              "Bad Font header. (Textures\\Zelkor\\Textures\\Gone.font)");
    std::vector<uint8_t> bytes = WriteFontFile({});
    bytes[0] = 15;
    test::WriteBytes(Dir, "Old.font", bytes);
    EXPECT_EQ(test::CatchFatal([&] { LoadFont(Res, "Old.font"); }), "Bad Font header. (Old.font)");

    auto read = [&](std::vector<uint8_t> data) {
        return test::CatchFatal([&] {
            BinaryReader r("f.font", std::move(data));
            ReadFont(Res, r);
        });
    };
    std::vector<FontPageFile> pages(1);
    pages[0].Characters = {{1, 1, 1, 1}, {2, 2, 2, 2}};
    bytes = WriteFontFile(pages);
    bytes.pop_back();
    EXPECT_EQ(read(bytes), "Unexpected end of file (f.font, offset 9)") << "the character count at offset 9 promises too much";
    bytes = WriteFontFile(pages);
    bytes[12] = 0x80; // character count negative
    EXPECT_EQ(read(bytes), "Unexpected end of file (f.font, offset 9)");
    EXPECT_EQ(read({16, 0, 0, 0, 0, 0, 0, 0x10}), "Unexpected end of file (f.font, offset 4)") << "a huge page count";
    EXPECT_EQ(read({16, 0, 0, 0, 1, 0, 0, 0, 'a', 'b'}), "Unexpected end of file (f.font, offset 4)");
    EXPECT_EQ(read({16, 0}), "Unexpected end of file (f.font, offset 0)");
}

} // namespace
} // namespace orv
