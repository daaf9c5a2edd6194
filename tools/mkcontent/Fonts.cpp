// The two fonts the player loads at start-up: K_LargeFont (titles, main menu, health) and
// K_MedFont (lists, options, messages).
#include "ContentTree.h"
#include "FontGen.h"
#include "Fonts.h"

namespace orv {

BitmapFontStyle LargeFontStyle() {
    BitmapFontStyle style;
    style.PageTextureName = "Zelkor.Fonts.K_LargeFont_Page0";
    style.PixelHeight = 25.0f;
    style.HorizontalScale = 0.92f;
    style.ShadowOffset = 2;
    return style;
}

BitmapFontStyle MediumFontStyle() {
    // Condensed so that the longest options label fits the 160 pixels before the value column.
    BitmapFontStyle style;
    style.PageTextureName = "Zelkor.Fonts.K_MedFont_Page0";
    style.PixelHeight = 14.0f;
    style.HorizontalScale = 0.7f;
    style.ShadowOffset = 1;
    return style;
}

namespace {

void WriteFont(GeneratorContext& c, const TrueTypeFont& face, const BitmapFontStyle& style, const std::string& file) {
    BitmapFont font;
    std::string error;
    if (!BuildBitmapFont(face, style, font, error)) {
        c.Out.Fail(file + ": " + error);
        return;
    }
    // The page lies where its package-qualified name resolves: Zelkor.Fonts.<name>.
    const std::string pageName = style.PageTextureName.substr(style.PageTextureName.rfind('.') + 1);
    c.Out.WritePng("Textures\\Zelkor\\Textures\\Fonts\\" + pageName + ".png", font.PageImage, true);
    c.Out.WriteBytes("Textures\\Zelkor\\Textures\\" + file, WriteFontFile({font.Page}));
}

} // namespace

void AddFontJobs(std::vector<ContentJob>& jobs) {
    jobs.push_back({"fonts", kPartFonts, [](GeneratorContext& c) {
                        WriteFont(c, c.SansBold, LargeFontStyle(), "K_LargeFont.font");
                        WriteFont(c, c.Sans, MediumFontStyle(), "K_MedFont.font");
                    }});
}

} // namespace orv
