// Generated pictures and fonts load through the engine's texture and font loaders, the logo fills
// the splash, the caustics loop, fire and water keep moving, and the fonts fit the menus.
#include "EngineTextures.h"
#include "FontGen.h"
#include "Fonts.h"
#include "GeneratedTree.h"
#include "ProceduralTextures.h"
#include "WorldTextures.h"
#include "content/Font.h"
#include "content/ImageFile.h"
#include "content/Resources.h"

#include <cstdlib>
#include <set>

namespace orv {
namespace {

using MkContentTextures = test::GameTree;

bool IsPowerOfTwo(int v) { return v > 0 && (v & (v - 1)) == 0; }

TEST_F(MkContentTextures, EveryNamedTextureLoadsWithoutFallbackOrWarning) {
    test::LogCapture log;
    Resources res;
    LoadFallbackTexture(res);
    ASSERT_EQ(res.Textures.Num(), 1);
    EXPECT_EQ(res.FallbackTexture()->Width(), 64);
    std::vector<std::string> names = {"Zelkor.Logo", "Zelkor.Projectile", "UnrealShare.Effect1.FireEffect1u",
                                      "UnrealShare.Skins.JMedBox2"};
    for (int explosion = 1; explosion <= 5; ++explosion) { // five explosions of 8 frames, the shot's 10
        for (int f = 0; f < 8; ++f) {
            names.push_back("UnrealShare.MainEffect.e" + std::to_string(explosion) + "_a0" + std::to_string(f));
        }
    }
    for (int f = 0; f < 10; ++f) {
        names.push_back("UnrealShare.DispExpl.dseb_A0" + std::to_string(f));
    }
    for (const WorldTextureInfo& info : WorldTextureList()) {
        names.push_back("Orvane." + info.Group + "." + info.Name);
    }
    for (const NamedFireTexture& fire : FireTextures()) {
        names.push_back("Orvane." + fire.Group + "." + fire.Name);
    }
    for (const NamedWetTexture& wet : WetTextures()) {
        names.push_back("Orvane." + wet.Group + "." + wet.Name);
    }
    for (const std::string& name : names) {
        Texture* texture = LoadTexture(res, name, false);
        ASSERT_NE(texture, res.FallbackTexture()) << name;
        EXPECT_TRUE(IsPowerOfTwo(texture->Width()) && IsPowerOfTwo(texture->Height())) << name;
    }
    EXPECT_TRUE(LoadTexture(res, "Orvane.Liquid.WaterWet", false)->IsProcedural());
    EXPECT_EQ(LoadTexture(res, "Orvane.Metal.Grate", false)->Flags, kTextureMasked);
    EXPECT_EQ(LoadTexture(res, "Orvane.Glass.Window", false)->Flags, kTextureAlphaBlend);
    EXPECT_EQ(LoadTexture(res, "Orvane.Stone.Wall", false)->Flags, 0u);
    for (const std::string& line : log.Lines()) {
        EXPECT_EQ(line.find("Warning"), std::string::npos) << line;
    }
}

TEST_F(MkContentTextures, LogoFillsTheSplashAreaAndCausticsCycle) {
    Image logo;
    ASSERT_TRUE(DecodeImageFile("Textures\\Zelkor\\Textures\\Logo.png", logo));
    ASSERT_EQ(std::pair(logo.Width, logo.Height), std::pair(1024, 512));
    // The splash shows the top-left 640 x 480: lit inside, black outside.
    auto brightness = [&](int x, int y) {
        const uint32_t p = logo.At(x, y);
        return ((p >> 16) & 255) + ((p >> 8) & 255) + (p & 255);
    };
    int lit = 0;
    for (int y = 0; y < 480; y += 8) {
        for (int x = 0; x < 640; x += 8) {
            lit += brightness(x, y) > 60;
        }
    }
    EXPECT_GT(lit, 400) << "of the 80 x 60 samples";
    EXPECT_EQ(brightness(700, 100) + brightness(100, 500) + brightness(1023, 511), 0u);
    // 32 distinct frames; the last leads back into the first.
    std::set<std::vector<uint32_t>> frames;
    for (int i = 0; i < kCausticsFrames; ++i) {
        Image frame;
        const std::string path = "Textures\\Zelkor\\Textures\\caustics\\caust_a" + std::to_string(i) + ".png";
        ASSERT_TRUE(DecodeImageFile(path, frame)) << path;
        frames.insert(frame.Pixels);
    }
    EXPECT_EQ(frames.size(), size_t(kCausticsFrames));
    const Image wrapped = MakeCausticsFrame(kCausticsFrames, kCausticsFrames, 32);
    const Image first = MakeCausticsFrame(0, kCausticsFrames, 32);
    for (size_t i = 0; i < first.Pixels.size(); ++i) {
        for (const int shift : {0, 8, 16}) {
            const int a = (wrapped.Pixels[i] >> shift) & 255, b = (first.Pixels[i] >> shift) & 255;
            ASSERT_LE(std::abs(a - b), 2) << "the loop jumps at texel " << i;
        }
    }
}

TEST(MkContentPreviews, FireAndWaterKeepChanging) {
    for (const NamedFireTexture& fire : FireTextures()) {
        FirePreview preview(fire.File);
        for (int i = 0; i < 240; ++i) { // four seconds at 60 steps a second
            preview.Step();
        }
        const Image before = preview.Picture();
        preview.Step();
        int lit = 0, changed = 0;
        for (size_t i = 0; i < before.Pixels.size(); ++i) {
            lit += (before.Pixels[i] & 0xFFFFFF) != fire.File.Palette[0] && (before.Pixels[i] & 0xE0E0E0) != 0;
            changed += before.Pixels[i] != preview.Picture().Pixels[i];
        }
        const double total = static_cast<double>(before.Pixels.size());
        EXPECT_GT(lit / total, 0.08) << fire.Name << " is almost dark";
        EXPECT_GT(changed / total, 0.02) << fire.Name << " stands still";
    }
    for (const NamedWetTexture& wet : WetTextures()) {
        const std::string name = wet.File.SourceTexture.substr(wet.File.SourceTexture.rfind('.') + 1);
        const Image source = MakeWorldTexture({"Liquid", name, ""});
        ASSERT_EQ(source.Width, wet.File.Width);
        WetPreview preview(wet.File, source);
        for (int i = 0; i < 120; ++i) {
            preview.Step(1.0f / 60.0f);
        }
        const Image before = preview.Picture();
        preview.Step(1.0f / 60.0f);
        EXPECT_NE(before.Pixels, source.Pixels) << wet.Name << " does not refract";
        EXPECT_NE(before.Pixels, preview.Picture().Pixels) << wet.Name << " stands still";
    }
}

TEST_F(MkContentTextures, BothFontsLoadWithEveryPrintableGlyphAndFitTheMenus) {
    Resources res;
    LoadFallbackTexture(res);
    for (const char* name : {"K_LargeFont", "K_MedFont"}) {
        const std::string path = std::string("Textures\\Zelkor\\Textures\\") + name + ".font";
        std::unique_ptr<Font> font = LoadFont(res, path);
        EXPECT_GT(font->Height, 0) << path;
        ASSERT_EQ(font->Pages.Num(), 1);
        const FontPage& page = font->Pages[0];
        ASSERT_NE(page.PageTexture, res.FallbackTexture()) << path;
        ASSERT_EQ(page.Characters.Num(), 256);
        for (int code = ' '; code <= '~'; ++code) {
            const FontCharacter& c = page.Characters[code];
            EXPECT_GT(c.USize, 0) << path << " code " << code;
            EXPECT_EQ(c.VSize, font->Height) << path << " code " << code;
            EXPECT_LE(c.StartU + c.USize, page.PageTexture->Width());
            EXPECT_LE(c.StartV + c.VSize, page.PageTexture->Height());
        }
        EXPECT_EQ(page.Characters['\n'].USize, 0) << "control codes draw nothing";
    }
    // The menus place text at fixed pixel columns of a 480-line screen.
    TrueTypeFont sans, bold;
    std::string error;
    ASSERT_TRUE(sans.Load(FindDejaVuFont(false), error) && bold.Load(FindDejaVuFont(true), error)) << error;
    BitmapFont large, medium;
    ASSERT_TRUE(BuildBitmapFont(bold, LargeFontStyle(), large, error));
    ASSERT_TRUE(BuildBitmapFont(sans, MediumFontStyle(), medium, error));
    EXPECT_LE(MeasureBitmapText(medium, "Resolution (not for borderless)"), 160); // label column 120..280
    EXPECT_LE(MeasureBitmapText(large, "OPTIONS MENU"), 368 - 150);              // inside the menu panel
    EXPECT_LE(MeasureBitmapText(large, "SELECT LEVEL"), 368 - 164);
    EXPECT_LE(medium.LineHeight, 19); // the options rows are 19 pixels apart
}

} // namespace
} // namespace orv
