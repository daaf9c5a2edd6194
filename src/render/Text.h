// Bitmap text in HUD coordinates: the glyph of a character code, the layout that drawing and
// measuring share (a line feed starts a new line; a glyph that would pass the right edge first
// moves to the next line, mid-word if need be), the drawing itself and the centring on whole
// pixels of a 640 x 480 screen.
#pragma once

#include "content/Font.h"
#include "render/Overlay.h"

#include <string_view>

namespace orv {

struct Renderer;

// The glyph of a character code: the pages are searched in order, page k holding the codes from
// the sum of the earlier pages' character counts on. Null (the page too) for a code beyond the
// last page.
const FontCharacter* FindGlyph(const Font& font, unsigned char code, const FontPage** page);

// Lays the text out from the pen position (x, y) as DrawText draws it and calls
// place(page, glyph, penX, penY) for each glyph, its top-left corner at the pen. Unknown codes
// place nothing and move nothing.
template <class PlaceGlyph>
void LayoutText(const Font& font, std::string_view text, float x, float y, float rightEdge, PlaceGlyph&& place) {
    const float lineHeight = static_cast<float>(font.Height) / kHudUnitPixels;
    float penX = x;
    float penY = y;
    for (const char ch : text) {
        if (ch == '\n') {
            penX = x;
            penY += lineHeight;
            continue;
        }
        const FontPage* page = nullptr;
        const FontCharacter* glyph = FindGlyph(font, static_cast<unsigned char>(ch), &page);
        if (!glyph) {
            continue;
        }
        const float width = static_cast<float>(glyph->USize) / kHudUnitPixels;
        if (penX + width > rightEdge) {
            penX = x;
            penY += lineHeight;
        }
        place(*page, *glyph, penX, penY);
        penX += width;
    }
}

// The text drawn in the current overlay colour: depth test off and AlphaBlend while drawing,
// depth test and culling on afterwards.
void DrawText(Renderer& renderer, const Font& font, std::string_view text, float x, float y, float rightEdge);

struct TextSize {
    float Width = 0.0f;  // the largest x any glyph corner reaches, from 0
    float Height = 0.0f; // the largest y
};

// The text laid out from (0, 0) without wrapping (line feeds still start new lines).
TextSize MeasureText(const Font& font, std::string_view text);

// The x at which the text starts so that it is centred on the screen, on a whole pixel of a
// 640-pixel-wide 4:3 area (the area spans x from -1/6 to 7/6 whatever the screen's width).
float CentreX(const Font& font, std::string_view text);

// A y on a whole pixel of a 480-pixel-high screen at or above the given one.
float SnapToPixelRow(float y);

} // namespace orv
