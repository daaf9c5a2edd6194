// The texture table: one entry per name, the fallback at entry 0, upload modes, settings files,
// level textures, and the fire and water texture files.
#include "content/ProceduralTexture.h"
#include "content/Resources.h"
#include "core/BinaryReader.h"
#include "core/ConfigFile.h"

#include "content/ContentTestSupport.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

using Textures = test::ContentTree;

FireTextureFile SampleFire() {
    FireTextureFile fire;
    fire.Width = 64;
    fire.Height = 32;
    for (int i = 0; i < 256; ++i) {
        fire.Palette[i] = 0xFF000000u | (uint32_t(i) << 16) | uint32_t(255 - i);
    }
    fire.bRising = 1;
    fire.RenderHeat = 240;
    fire.SparkLimit = 0;
    fire.Sparks = {{23, 200, 10, 20, 5, 6, 7, 8}, {1, 0, 0, 31, 0, 0, 0, 255}};
    return fire;
}

WetTextureFile SampleWet(const std::string& source) {
    WetTextureFile wet;
    wet.Width = 16;
    wet.Height = 16;
    wet.SourceTexture = source;
    wet.WaveAmplitude = 0;
    wet.Drops = {{1, 90, 3, 4, 0, 0, 64, 9}};
    return wet;
}

TEST_F(Textures, FallbackIsEntryZeroOrABuiltInCheckerboard) {
    {
        test::LogCapture log;
        Texture* missing = LoadTexture(Res, "Pkg.Nowhere", true);
        EXPECT_TRUE(log.Contains("Warning: Zelkor.Missing not found, using a built-in texture"));
        ASSERT_EQ(Res.Textures.Num(), 1);
        EXPECT_EQ(missing, Res.FallbackTexture());
        EXPECT_EQ(missing->Name, "Zelkor.Missing");
        EXPECT_EQ(missing->Width(), 64);
        EXPECT_EQ(missing->Height(), 64);
        EXPECT_EQ(missing->Pixels.At(0, 0), 0xFFFF00FFu);
        EXPECT_EQ(missing->Pixels.At(8, 0), 0xFF000000u);
        EXPECT_EQ(missing->Pixels.At(8, 8), 0xFFFF00FFu);
        EXPECT_EQ(missing->bLevelTexture, 0);
        EXPECT_EQ(LoadTexture(Res, "zelkor.missing", true), missing);
    }

    Resources real;
    real.Uploader = &Uploader;
    test::WritePng(Dir, "Textures/Zelkor/Textures/Missing.png", 0xFF123456u);
    Write("Textures/Zelkor/Textures/Broken.png", "not a picture");
    test::LogCapture log;
    LoadFallbackTexture(real);
    LoadFallbackTexture(real); // once only
    ASSERT_EQ(real.Textures.Num(), 1);
    EXPECT_EQ(real.Textures[0]->Pixels.At(0, 0), 0xFF123456u);
    EXPECT_TRUE(log.Lines().empty());
    EXPECT_EQ(LoadTexture(real, "Zelkor.Broken", false), real.Textures[0].get()) << "undecodable pictures fall back";
    EXPECT_EQ(real.Textures.Num(), 1);
}

TEST_F(Textures, OneEntryPerNameWhateverTheCase) {
    test::WritePng(Dir, "System/Pkg/Textures/Wall.png", 0xFFAA0000u);
    LoadFallbackTexture(Res);
    const size_t uploadsBefore = Uploader.Uploads.size();
    Texture* wall = LoadTexture(Res, "Pkg.Wall", true);
    EXPECT_EQ(LoadTexture(Res, "PKG.wall", true), wall);
    EXPECT_EQ(Uploader.Uploads.size(), uploadsBefore + 1);
    EXPECT_EQ(wall->Name, "Pkg.Wall");
    EXPECT_EQ(wall->GLTexture, Uploader.Uploads.back().Name);
    EXPECT_EQ(wall->Pixels.At(0, 0), 0xFFAA0000u);
    EXPECT_EQ(wall->Used, 1);

    // The wrapped name is a different key but the same file.
    Texture* wrapped = LoadTexture(Res, "Texture'Pkg.Wall'", true);
    EXPECT_NE(wrapped, wall);
    EXPECT_EQ(wrapped->Pixels.Pixels, wall->Pixels.Pixels);
    EXPECT_EQ(Res.Textures.Num(), 3);
}

TEST_F(Textures, UploadModeFollowsInterpolationSettingUnlessPlain) {
    ConfigTable config;
    Res.Config = &config;
    LoadFallbackTexture(Res);
    const struct {
        const char* Setting;
        bool Plain;
        int Mode;
    } cases[] = {{"", false, 10}, {"nearest", false, 14}, {"MagNearest", false, 26}, {"NEAREST", true, 10},
                 {"linear", false, 10}};
    int n = 0;
    for (const auto& c : cases) {
        ConfigSet(config, "TexInterpolation", c.Setting);
        const std::string name = "Tex" + std::to_string(n++);
        test::WritePng(Dir, "System/Pkg/Textures/" + name + ".png", 0xFF000000u);
        LoadTexture(Res, "Pkg." + name, false, {}, c.Plain);
        ASSERT_FALSE(Uploader.Uploads.back().Generated);
        EXPECT_EQ(Uploader.Uploads.back().Mode, c.Mode) << c.Setting << " plain " << c.Plain;
    }
    Res.Config = nullptr;
    test::WritePng(Dir, "System/Pkg/Textures/NoConfig.png", 0xFF000000u);
    LoadTexture(Res, "Pkg.NoConfig", false);
    EXPECT_EQ(Uploader.Uploads.back().Mode, 10);
}

TEST_F(Textures, SettingsFileGivesMaskedAndAlphaBlendFlags) {
    test::WritePng(Dir, "System/Pkg/Textures/Both.png", 0);
    Write("System/Pkg/Textures/Both.ini", "; settings\r\nbmasked=True\r\nBALPHABLEND=1\r\n");
    test::WritePng(Dir, "System/Pkg/Textures/Off.png", 0);
    Write("System/Pkg/Textures/Off.ini", "bMasked=false\nbAlphaBlend=0\n");
    test::WritePng(Dir, "System/Pkg/Textures/Spaced.png", 0);
    Write("System/Pkg/Textures/Spaced.ini", "bMasked = True\n"); // the key is "bMasked "
    test::WritePng(Dir, "System/Pkg/Textures/Plain.png", 0);

    EXPECT_EQ(LoadTexture(Res, "Pkg.Both", false)->Flags, kTextureMasked | kTextureAlphaBlend);
    EXPECT_EQ(LoadTexture(Res, "Pkg.Off", false)->Flags, 0u);
    EXPECT_EQ(LoadTexture(Res, "Pkg.Spaced", false)->Flags, 0u);
    EXPECT_EQ(LoadTexture(Res, "Pkg.Plain", false)->Flags, 0u);
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
    const uint32_t glA = a->GLTexture;
    const uint32_t glC = c->GLTexture;

    UnloadLevelTextures(Res);
    ASSERT_EQ(Res.Textures.Num(), 3);
    EXPECT_EQ(Res.Textures[1].get(), b);
    EXPECT_EQ(Res.Textures[2].get(), d);
    EXPECT_EQ(Uploader.Deleted, (std::vector<uint32_t>{glC, glA})) << "last entry first";

    Texture* again = LoadTexture(Res, "Pkg.A", true);
    EXPECT_EQ(again->bLevelTexture, 1);
    EXPECT_EQ(Res.Textures.Num(), 4);
}

TEST(TextureUpload, BytesAreRgbaBottomRowFirstWithKeyAndAlphaRules) {
    Image image(2, 2);
    image.At(0, 0) = 0x00FF00FFu; // magenta with zero alpha: the colour key
    image.At(1, 0) = 0x80FF00FFu; // magenta, half alpha: not the key
    image.At(0, 1) = 0x40112233u;
    image.At(1, 1) = 0xFFAABBCCu;
    using Bytes = std::vector<uint8_t>;
    EXPECT_EQ(TextureUploadBytes(image, 0),
              (Bytes{0x11, 0x22, 0x33, 255, 0xAA, 0xBB, 0xCC, 255, 0xFF, 0, 0xFF, 255, 0xFF, 0, 0xFF, 255}));
    EXPECT_EQ(TextureUploadBytes(image, 10),
              (Bytes{0x11, 0x22, 0x33, 0x40, 0xAA, 0xBB, 0xCC, 0xFF, 0xFF, 0, 0xFF, 0, 0xFF, 0, 0xFF, 0x80}));
    const Bytes keyed = TextureUploadBytes(image, kUploadColourKey | kUploadMipmaps);
    EXPECT_EQ(Bytes(keyed.begin() + 8, keyed.end()), (Bytes{0, 0, 0, 0, 0xFF, 0, 0xFF, 255}));
    EXPECT_EQ(TextureUploadBytes(image, 11)[8], 0) << "a keyed pixel is black as well as transparent";
    EXPECT_TRUE(UploadKeepsAlpha(1));
    EXPECT_TRUE(UploadKeepsAlpha(26));
    EXPECT_FALSE(UploadKeepsAlpha(2 | 4 | 16));
    EXPECT_TRUE(TextureUploadBytes(Image(), 10).empty());
}

TEST(ProceduralTextureFiles, WritersRoundTripThroughReaders) {
    const FireTextureFile fire = SampleFire();
    const std::vector<uint8_t> fireBytes = WriteFireTextureFile(fire);
    EXPECT_EQ(fireBytes.size(), 1046u + 8 * fire.Sparks.size());
    BinaryReader fireReader("fire.firet", fireBytes);
    const FireTextureFile fireBack = ReadFireTextureFile(fireReader);
    EXPECT_TRUE(fireReader.AtEnd());
    EXPECT_EQ(WriteFireTextureFile(fireBack), fireBytes);
    EXPECT_EQ(fireBack.Palette, fire.Palette);
    EXPECT_EQ(fireBack.Sparks[1].ByteD, 255);
    // Palette entries are little-endian 0xAARRGGBB: blue, green, red, alpha in the file.
    EXPECT_EQ(std::vector<uint8_t>(fireBytes.begin() + 24, fireBytes.begin() + 28), (std::vector<uint8_t>{252, 0, 3, 255}));

    const std::vector<uint8_t> wetBytes = WriteWetTextureFile(SampleWet("Pkg.Source"));
    BinaryReader wetReader("water.wett", wetBytes);
    const WetTextureFile wetBack = ReadWetTextureFile(wetReader);
    EXPECT_TRUE(wetReader.AtEnd());
    EXPECT_EQ(WriteWetTextureFile(wetBack), wetBytes);
    EXPECT_EQ(wetBack.SourceTexture, "Pkg.Source");
    EXPECT_EQ(wetBack.Drops.at(0).Phase, 64);
}

TEST(ProceduralTextureFiles, BadFilesAreFatalWithFileAndPlace) {
    FireTextureFile fire = SampleFire();
    std::vector<uint8_t> bytes = WriteFireTextureFile(fire);
    bytes[0] = 2;
    EXPECT_EQ(test::CatchFatal([&] {
                  BinaryReader r("Textures\\Pkg\\Textures\\Hot.firet", bytes);
                  ReadFireTextureFile(r);
              }),
              "Bad FireTexture header. (Textures\\Pkg\\Textures\\Hot.firet)");
    std::vector<uint8_t> wet = WriteWetTextureFile(SampleWet(""));
    wet[0] = 1;
    EXPECT_EQ(test::CatchFatal([&] {
                  BinaryReader r("w.wett", wet);
                  ReadWetTextureFile(r);
              }),
              "Bad WetTexture header. (w.wett)");

    auto readFire = [](std::vector<uint8_t> data) {
        return test::CatchFatal([&] {
            BinaryReader r("f.firet", std::move(data));
            ReadFireTextureFile(r);
        });
    };
    bytes = WriteFireTextureFile(fire);
    bytes.pop_back(); // the last spark record is one byte short
    EXPECT_EQ(readFire(bytes), "Unexpected end of file (f.firet, offset 1042)");
    bytes = WriteFireTextureFile(fire);
    bytes[1045] = 0xFF; // spark count -254
    EXPECT_EQ(readFire(bytes), "Unexpected end of file (f.firet, offset 1042)");
    bytes = WriteFireTextureFile(fire);
    bytes[1041] = 0x80; // spark limit negative
    EXPECT_EQ(readFire(bytes), "Unexpected end of file (f.firet, offset 1038)");
    fire.Width = 48;
    EXPECT_NE(readFire(WriteFireTextureFile(fire)).find("Bad FireTexture size 48x32"), std::string::npos);
    fire.Width = 0;
    EXPECT_NE(readFire(WriteFireTextureFile(fire)).find("(f.firet, offset 4)"), std::string::npos);
    EXPECT_EQ(readFire({1, 0, 0}), "Unexpected end of file (f.firet, offset 0)");

    std::vector<uint8_t> unended = WriteWetTextureFile(SampleWet("Name"));
    unended.resize(14); // the name never ends
    EXPECT_EQ(test::CatchFatal([&] {
                  BinaryReader r("w.wett", unended);
                  ReadWetTextureFile(r);
              }),
              "Unexpected end of file (w.wett, offset 14)");
}

TEST_F(Textures, FireAndWaterLoadAsProceduralTexturesWithNearestUploads) {
    FireTextureFile fire = SampleFire();
    test::WriteBytes(Dir, "Textures/Fx/Textures/Flames.firet", WriteFireTextureFile(fire));
    fire.SparkLimit = 7;
    test::WriteBytes(Dir, "Textures/Fx/Textures/Embers.firet", WriteFireTextureFile(fire));
    Write("Textures/Fx/Textures/Flames.ini", "bMasked=1");
    test::WritePng(Dir, "Textures/Fx/Textures/Pool.png", 0xFF0000FFu);
    test::WriteBytes(Dir, "Textures/Fx/Textures/Lake.wett", WriteWetTextureFile(SampleWet("Fx.Pool")));
    test::WriteBytes(Dir, "Textures/Fx/Textures/Mirror.wett", WriteWetTextureFile(SampleWet("Fx.Mirror")));
    test::WriteBytes(Dir, "Textures/Fx/Textures/Dry.wett", WriteWetTextureFile(SampleWet("")));
    LoadFallbackTexture(Res);

    auto* flames = dynamic_cast<FireTexture*>(LoadTexture(Res, "Fx.Flames", true));
    ASSERT_NE(flames, nullptr);
    EXPECT_TRUE(flames->IsProcedural());
    EXPECT_TRUE(Uploader.Uploads.back().Generated);
    EXPECT_TRUE(Uploader.Uploads.back().NearestFilter);
    EXPECT_EQ(Uploader.Uploads.back().Pixels.Width, 64);
    EXPECT_EQ(flames->GLTexture, Uploader.Uploads.back().Name);
    EXPECT_EQ(flames->Flags, kTextureMasked);
    EXPECT_EQ(flames->bLevelTexture, 1);
    EXPECT_EQ(flames->Moving.Num(), 1024) << "a spark limit of 0 means 1024 slots";
    EXPECT_EQ(flames->Field.size(), 64u * 32u);
    EXPECT_EQ(flames->UMask, 63u);
    EXPECT_EQ(flames->VMask, 31u);
    EXPECT_EQ(flames->Sparks.Num(), 2);
    EXPECT_EQ(flames->Palette[255], fire.Palette[255]);
    EXPECT_EQ(dynamic_cast<FireTexture*>(LoadTexture(Res, "Fx.Embers", true))->Moving.Num(), 7);

    auto* lake = dynamic_cast<WetTexture*>(LoadTexture(Res, "Fx.Lake", true));
    ASSERT_NE(lake, nullptr);
    EXPECT_EQ(lake->WaveAmplitude, 128) << "an amplitude of 0 means 128";
    EXPECT_EQ(lake->WaveHeight.size(), 256u);
    EXPECT_EQ(lake->WaveSpeed.size(), 256u);
    ASSERT_NE(lake->SourceTexture, nullptr);
    EXPECT_EQ(lake->SourceTexture->Name, "Fx.Pool");
    EXPECT_EQ(lake->SourceTexture->bLevelTexture, 0);
    EXPECT_FALSE(lake->SourceTexture->IsProcedural());

    auto* mirror = dynamic_cast<WetTexture*>(LoadTexture(Res, "Fx.Mirror", true));
    ASSERT_NE(mirror, nullptr);
    EXPECT_EQ(mirror->SourceTexture, mirror) << "a file naming itself finds its own entry";
    EXPECT_EQ(mirror->bLevelTexture, 0);
    auto* dry = dynamic_cast<WetTexture*>(LoadTexture(Res, "Fx.Dry", true));
    ASSERT_NE(dry, nullptr);
    EXPECT_EQ(dry->SourceTexture, nullptr);

    Write("Textures/Fx/Textures/Bad.firet", std::string("\x07\0\0\0", 4));
    EXPECT_EQ(test::CatchFatal([&] { LoadTexture(Res, "Fx.Bad", true); }),
              "Bad FireTexture header. (Textures\\Fx\\Textures\\Bad.firet)");
}

} // namespace
} // namespace orv
