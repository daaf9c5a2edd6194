// A TrueType font read at generation time (DejaVu Sans from fonts-dejavu-core) and rasterised
// through stb_truetype, for the bitmap fonts and the lettering of the logo.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace orv {

struct GlyphBitmap {
    int Width = 0;
    int Height = 0;
    int OffsetX = 0;   // from the pen position to the bitmap's left column
    int OffsetY = 0;   // from the baseline to the bitmap's top row (negative above it)
    float Advance = 0; // pen advance in pixels
    std::vector<uint8_t> Coverage; // Width * Height, 0..255, top row first
};

class TrueTypeFont {
public:
    TrueTypeFont();
    ~TrueTypeFont();
    TrueTypeFont(const TrueTypeFont&) = delete;
    TrueTypeFont& operator=(const TrueTypeFont&) = delete;

    // False (with the reason in error) when the file is missing or not a font.
    bool Load(const std::string& path, std::string& error);

    // Vertical scale for a font whose ascent-to-descent height is pixelHeight.
    float ScaleForPixelHeight(float pixelHeight) const;
    // Ascent (positive) and descent (negative) in pixels at a scale.
    float Ascent(float scale) const;
    float Descent(float scale) const;
    bool HasGlyph(uint32_t codepoint) const;
    // The glyph at separate horizontal and vertical scales (a horizontal scale below the vertical
    // one condenses the letters).
    GlyphBitmap Render(uint32_t codepoint, float scaleX, float scaleY) const;
    float Kerning(uint32_t left, uint32_t right, float scaleX) const;

private:
    struct State;
    std::unique_ptr<State> state_;
};

// Where the fonts-dejavu-core package puts its files; the first that exists.
std::string FindDejaVuFont(bool bold);

} // namespace orv
