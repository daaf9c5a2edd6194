// Pictures and the textures made of them: PNG files, the texture table (one entry per name, the
// fallback at entry 0, upload modes, settings files, level textures), the fire and water textures,
// and the bitmap fonts whose pages are textures. Damaged files are ReaderRobustness's; the bytes
// an upload sends are checked through a real GL context in the render tests.
#include "content/Font.h"
#include "content/ProceduralTexture.h"
#include "content/Resources.h"
#include "core/BinaryReader.h"
#include "core/ConfigFile.h"

#include "content/ContentTestSupport.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

using Textures = test::ContentTree;
using Bytes = std::vector<uint8_t>;

// The upload mode of a plain picture: mipmaps, alpha kept, linear filtering.
constexpr int kLinearMode = kUploadMipmaps | kUploadKeepAlpha;

// Decoded colours, alpha and row order are checked by every texture below, and the refusal of
// non-pictures by the fallback; here the two PNG flavours.
TEST(ImageFile, PngKeepsZeroAlphaOrWritesOpaque) {
    Image image(2, 1);
    image.At(1, 0) = 0x00FF00FFu; // magenta with zero alpha: the colour key
    test::TempDir dir;
    Image back;
    ASSERT_TRUE(WritePngFile(dir / "rgba.png", image, true) && DecodeImageFile(dir / "RGBA.PNG", back));
    EXPECT_EQ(back.Pixels, image.Pixels);
    ASSERT_TRUE(WritePngFile(dir / "rgb.png", image, false) && DecodeImageFile(dir / "rgb.png", back));
    EXPECT_EQ(back.At(1, 0), 0xFFFF00FFu) << "without alpha the pixel is opaque";
    EXPECT_FALSE(DecodeImageMemory(nullptr, 0, back));
}

TEST_F(Textures, FallbackIsEntryZeroOrABuiltInCheckerboard) {
    test::LogCapture log;
    Texture* missing = LoadTexture(Res, "Pkg.Nowhere", true);
    EXPECT_EQ(log.Lines(), std::vector<std::string>{"Warning: Zelkor.Missing not found, using a built-in texture"});
    ASSERT_EQ(Res.Textures.Num(), 1);
    EXPECT_EQ(missing, Res.FallbackTexture());
    EXPECT_EQ(LoadTexture(Res, "zelkor.missing", true), missing) << "the fallback's name is Zelkor.Missing";
    // 64 x 64 texels of magenta and black squares of 8.
    const Image& p = missing->Pixels;
    EXPECT_EQ(std::vector<uint32_t>({uint32_t(p.Width), p.At(0, 0), p.At(8, 0), p.At(8, 8), p.At(63, 48)}),
              std::vector<uint32_t>({64, 0xFFFF00FFu, 0xFF000000u, 0xFFFF00FFu, 0xFF000000u}));

    Resources real;
    test::WritePng(Dir, "Textures/Zelkor/Textures/Missing.png", 0xFF123456u);
    Write("Textures/Zelkor/Textures/Broken.png", "not a picture");
    LoadFallbackTexture(real);
    LoadFallbackTexture(real); // once only
    EXPECT_EQ(real.FallbackTexture()->Pixels.At(0, 0), 0xFF123456u);
    EXPECT_EQ(LoadTexture(real, "Zelkor.Broken", false), real.FallbackTexture()) << "undecodable pictures fall back";
    EXPECT_EQ(real.Textures.Num(), 1);
    EXPECT_EQ(log.Lines().size(), 1u) << "no warning when the file is there";
}

TEST_F(Textures, OneEntryPerNameWithTheUploadModeAndSettingsFlagsItAsks) {
    test::WritePng(Dir, "System/Pkg/Textures/Wall.png", 0xFFAA0000u);
    LoadFallbackTexture(Res);
    Texture* wall = LoadTexture(Res, "Pkg.Wall", true);
    EXPECT_EQ(LoadTexture(Res, "PKG.wall", true), wall);
    EXPECT_EQ(Uploader.Uploads.size(), 2u) << "the fallback and the wall, once";
    EXPECT_EQ(wall->Name, "Pkg.Wall");
    EXPECT_EQ(wall->GLTexture, Uploader.Uploads.size());
    Texture* wrapped = LoadTexture(Res, "Texture'Pkg.Wall'", true);
    EXPECT_NE(wrapped, wall) << "the wrapped name is another key for the same file";
    EXPECT_EQ(wrapped->Pixels.Pixels, wall->Pixels.Pixels);

    // TexInterpolation picks the filtering unless the caller asks for a plain one.
    ConfigTable config;
    Res.Config = &config;
    const std::tuple<const char*, bool, int> modes[] = {
        {"", false, kLinearMode}, {"nearest", false, kLinearMode | kUploadNearestMin}, {"NEAREST", true, kLinearMode},
        {"MagNearest", false, kLinearMode | kUploadNearestMag}, {"linear", false, kLinearMode}};
    for (const auto& [setting, plain, mode] : modes) {
        ConfigSet(config, "TexInterpolation", setting);
        const std::string name = std::string("Tex") + setting + (plain ? "Plain" : "");
        test::WritePng(Dir, "System/Pkg/Textures/" + name + ".png", 0xFF000000u);
        LoadTexture(Res, "Pkg." + name, false, {}, plain);
        EXPECT_EQ(Uploader.Uploads.back().Mode, mode) << setting << " plain " << plain;
    }

    // The settings file beside a picture: keys case-blind, "True" or a number; "bMasked " with
    // its space is another key.
    const std::pair<const char*, uint32_t> settings[] = {
        {"; settings\r\nbmasked=True\r\nBALPHABLEND=1\r\n", kTextureMasked | kTextureAlphaBlend},
        {"bMasked=false\nbAlphaBlend=0\n", 0u}, {"bMasked = True\n", 0u}, {nullptr, 0u}};
    int n = 0;
    for (const auto& [text, flags] : settings) {
        const std::string name = "Set" + std::to_string(n++);
        test::WritePng(Dir, "System/Pkg/Textures/" + name + ".png", 0);
        if (text) {
            Write("System/Pkg/Textures/" + name + ".ini", text);
        }
        EXPECT_EQ(LoadTexture(Res, "Pkg." + name, false)->Flags, flags) << (text ? text : "no settings file");
    }
}

TEST_F(Textures, LevelTexturesGoAtUnloadUnlessAlsoWantedForTheRun) {
    for (const char* name : {"A", "B", "C", "D"}) {
        test::WritePng(Dir, std::string("System/Pkg/Textures/") + name + ".png", 0);
    }
    LoadFallbackTexture(Res);
    Texture* a = LoadTexture(Res, "Pkg.A", true);
    Texture* b = LoadTexture(Res, "Pkg.B", false);
    Texture* c = LoadTexture(Res, "Pkg.C", true);
    Texture* d = LoadTexture(Res, "Pkg.D", true);
    EXPECT_EQ(LoadTexture(Res, "Pkg.D", false), d); // a mesh skin now holds it for the run
    EXPECT_EQ(LoadTexture(Res, "Pkg.B", true), b);
    EXPECT_EQ(b->bLevelTexture, 0) << "a level request never makes a run-wide texture level-bound";
    const std::vector<uint32_t> deleted = {c->GLTexture, a->GLTexture}; // last entry first
    UnloadLevelTextures(Res);
    EXPECT_EQ(Uploader.Deleted, deleted);
    EXPECT_EQ(std::vector<Texture*>({Res.Textures[1].get(), Res.Textures[2].get()}), std::vector<Texture*>({b, d}));
    EXPECT_EQ(Res.Textures.Num(), 3);
    EXPECT_EQ(LoadTexture(Res, "Pkg.A", true)->bLevelTexture, 1);
}

TEST_F(Textures, FireAndWaterFilesRoundTripAndLoadAsProceduralTexturesWithNearestUploads) {
    FireTextureFile fire{.Width = 64, .Height = 32, .bRising = 1, .RenderHeat = 240,
                         .Sparks = {{23, 200, 10, 20, 5, 6, 7, 8}, {1, 0, 0, 31, 0, 0, 0, 255}}};
    for (int i = 0; i < 256; ++i) {
        fire.Palette[i] = 0xFF000000u | (uint32_t(i) << 16) | uint32_t(255 - i);
    }
    auto wet = [](const char* source) {
        return WriteWetTextureFile({.Width = 16, .Height = 16, .SourceTexture = source, .Drops = {{1, 90, 3, 4}}});
    };
    const Bytes fireBytes = WriteFireTextureFile(fire);
    BinaryReader fireReader("fire.firet", fireBytes);
    EXPECT_EQ(WriteFireTextureFile(ReadFireTextureFile(fireReader)), fireBytes);
    // Palette entries are little-endian 0xAARRGGBB after version, width and height: the first
    // colour, 0xFF0000FF, is blue, green, red, alpha in the file.
    EXPECT_EQ(Bytes(fireBytes.begin() + 12, fireBytes.begin() + 16), (Bytes{255, 0, 0, 255}));
    BinaryReader wetReader("water.wett", wet("Pkg.Source"));
    EXPECT_EQ(WriteWetTextureFile(ReadWetTextureFile(wetReader)), wet("Pkg.Source"));

    test::WriteBytes(Dir, "Textures/Fx/Textures/Flames.firet", fireBytes);
    Write("Textures/Fx/Textures/Flames.ini", "bMasked=1");
    fire.SparkLimit = 7;
    test::WriteBytes(Dir, "Textures/Fx/Textures/Embers.firet", WriteFireTextureFile(fire));
    test::WritePng(Dir, "Textures/Fx/Textures/Pool.png", 0xFF0000FFu);
    test::WriteBytes(Dir, "Textures/Fx/Textures/Lake.wett", wet("Fx.Pool"));
    test::WriteBytes(Dir, "Textures/Fx/Textures/Mirror.wett", wet("Fx.Mirror"));
    test::WriteBytes(Dir, "Textures/Fx/Textures/Dry.wett", wet(""));
    LoadFallbackTexture(Res);

    auto* flames = dynamic_cast<FireTexture*>(LoadTexture(Res, "Fx.Flames", true));
    ASSERT_NE(flames, nullptr);
    EXPECT_EQ(flames->Moving.Num(), kDefaultSparkLimit) << "a spark limit of 0 means the default";
    EXPECT_EQ(flames->Palette, fire.Palette);
    EXPECT_EQ(std::tuple(flames->Sparks.Num(), flames->Flags, int(flames->bLevelTexture)),
              std::tuple(2, kTextureMasked, 1));
    EXPECT_TRUE(Uploader.Uploads.back().Mode == -1 && Uploader.Uploads.back().NearestFilter) << "generated, nearest";
    EXPECT_EQ(dynamic_cast<FireTexture*>(LoadTexture(Res, "Fx.Embers", true))->Moving.Num(), 7);

    auto* lake = dynamic_cast<WetTexture*>(LoadTexture(Res, "Fx.Lake", true));
    ASSERT_NE(lake, nullptr);
    // An amplitude of 0 means 128; the source picture is loaded for the run, not the level.
    EXPECT_EQ(std::tuple(int(lake->WaveAmplitude), lake->Drops.Num(), lake->SourceTexture->Name,
                         int(lake->SourceTexture->bLevelTexture)),
              std::tuple(128, 1, "Fx.Pool", 0));
    auto* mirror = dynamic_cast<WetTexture*>(LoadTexture(Res, "Fx.Mirror", true));
    EXPECT_TRUE(mirror->SourceTexture == mirror && mirror->bLevelTexture == 0) << "a file naming itself is its source";
    EXPECT_EQ(dynamic_cast<WetTexture*>(LoadTexture(Res, "Fx.Dry", true))->SourceTexture, nullptr);

    Write("Textures/Fx/Textures/Bad.firet", std::string("\x07\0\0\0", 4));
    EXPECT_EQ(test::CatchFatal([&] { LoadTexture(Res, "Fx.Bad", true); }),
              "Bad FireTexture header. (Textures\\Fx\\Textures\\Bad.firet)") << "a bad file is fatal, not a fallback";
    // Any other fault of the file is a warning naming it, and the fallback.
    fire.Width = 100;
    test::WriteBytes(Dir, "Textures/Fx/Textures/Odd.firet", WriteFireTextureFile(fire));
    test::LogCapture log;
    EXPECT_TRUE(LoadTexture(Res, "Fx.Odd", true) == Res.FallbackTexture() && log.Contains("Warning: Bad FireTexture size 100x32, must be powers of two up to 4096 "
                             "(Textures\\Fx\\Textures\\Odd.firet, offset 4); the texture falls back"));
}

TEST_F(Textures, FontPagesRoundTripWithTheirTexturesAndTheTallestCharacter) {
    ConfigTable config;
    ConfigSet(config, "TexInterpolation", "nearest");
    Res.Config = &config;
    test::WritePng(Dir, "Textures/Zelkor/Textures/LargePage.png", 0xFFFFFFFFu);
    std::vector<FontPageFile> pages(3);
    pages[0].TextureName = "Zelkor.LargePage";
    pages[0].Characters = {{0, 0, 8, 12}, {8, 0, 0, 0}, {16, 0, 9, 14}};
    pages[1].Characters = {{1, 2, 3, 20}};
    pages[2].TextureName = "Zelkor.NoSuchPage";
    test::WriteBytes(Dir, "Textures/Zelkor/Textures/K_Test.font", WriteFontFile(pages));

    std::unique_ptr<Font> font = LoadFont(Res, "Textures\\Zelkor\\Textures\\k_test.FONT");
    ASSERT_EQ(font->Pages.Num(), 3);
    EXPECT_EQ(font->Height, 20);
    const FontPage& first = font->Pages[0];
    auto rectangle = [](const FontCharacter& c) {
        return std::to_string(c.StartU) + " " + std::to_string(c.StartV) + " " + std::to_string(c.USize) + " " +
               std::to_string(c.VSize);
    };
    EXPECT_EQ(test::Lines(first.Characters, rectangle), (std::vector<std::string>{"0 0 8 12", "8 0 0 0", "16 0 9 14"}))
        << "an empty glyph is still a character";
    EXPECT_EQ(first.PageTexture->Name, "Zelkor.LargePage");
    EXPECT_EQ(first.PageTexture->bLevelTexture, 0);
    EXPECT_EQ(Uploader.Uploads.back().Mode, kLinearMode) << "pages ignore the interpolation setting";
    EXPECT_EQ(font->Pages[1].PageTexture, Res.FallbackTexture()) << "a page without a texture name";
    EXPECT_EQ(test::Lines(font->Pages[1].Characters, rectangle), std::vector<std::string>{"1 2 3 20"});
    EXPECT_TRUE(font->Pages[2].PageTexture == Res.FallbackTexture() && font->Pages[2].Characters.Num() == 0);
    EXPECT_EQ(test::CatchFatal([&] { LoadFont(Res, "Textures\\Zelkor\\Textures\\Gone.font"); }),
              "Bad Font header. (Textures\\Zelkor\\Textures\\Gone.font)");
}

} // namespace
} // namespace orv
