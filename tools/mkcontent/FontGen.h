// Bitmap fonts in the engine's .font layout, rasterised from a TrueType face: one page texture
// of white glyphs with a soft drop shadow on transparent black, and one character rectangle per
// code 0..255 (Windows-1252, as the game's texts are written).
#pragma once

#include "TrueType.h"
#include "content/Font.h"
#include "core/Image.h"

#include <string>

namespace orv {

struct BitmapFontStyle {
    std::string PageTextureName; // package-qualified name the .font file refers to
    float PixelHeight = 16.0f;   // ascent to descent
    float HorizontalScale = 1.0f;
    int ShadowOffset = 1;        // 0 for none
    float ShadowAlpha = 0.75f;
};

struct BitmapFont {
    FontPageFile Page;
    Image PageImage;
    int LineHeight = 0;
};

// The Unicode character of a Windows-1252 code, or 0 when the code has none (controls, and the
// five unassigned codes of the 0x80 row).
uint32_t Windows1252ToUnicode(uint8_t code);

bool BuildBitmapFont(const TrueTypeFont& face, const BitmapFontStyle& style, BitmapFont& out, std::string& error);

// Width in pixels of a text set in the font, as the engine lays it out (the sum of the widths of
// its characters); used to check that menu texts fit their columns.
int MeasureBitmapText(const BitmapFont& font, std::string_view text);

} // namespace orv
