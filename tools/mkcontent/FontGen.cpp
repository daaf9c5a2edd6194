// Rasterising and packing the bitmap fonts.
#include "FontGen.h"

#include "GenCommon.h"

#include <algorithm>
#include <cmath>

namespace orv {
namespace {

constexpr int kCellGap = 2; // transparent texels between cells, so mipmaps do not bleed

struct Cell {
    int Width = 0;
    GlyphBitmap Glyph;
    int X = 0;
    int Y = 0;
};

float CoverageAt(const GlyphBitmap& glyph, int x, int y) {
    if (x < 0 || y < 0 || x >= glyph.Width || y >= glyph.Height) {
        return 0.0f;
    }
    return glyph.Coverage[static_cast<size_t>(y) * glyph.Width + x] / 255.0f;
}

// Places the cells in rows on a page of the given width; returns the height used.
int PackRows(std::vector<Cell>& cells, int pageWidth, int lineHeight) {
    int x = kCellGap;
    int y = kCellGap;
    for (Cell& cell : cells) {
        if (cell.Width == 0) {
            continue;
        }
        if (x + cell.Width + kCellGap > pageWidth) {
            x = kCellGap;
            y += lineHeight + kCellGap;
        }
        cell.X = x;
        cell.Y = y;
        x += cell.Width + kCellGap;
    }
    return y + lineHeight + kCellGap;
}

void PaintCell(Image& page, const Cell& cell, int baseline, int lineHeight, const BitmapFontStyle& style) {
    const GlyphBitmap& g = cell.Glyph;
    const int s = style.ShadowOffset;
    for (int y = 0; y < lineHeight; ++y) {
        for (int x = 0; x < cell.Width; ++x) {
            // Glyph texel (x, y) of the cell maps to bitmap texel (x - OffsetX', y - top).
            const int gx = x - std::max(0, g.OffsetX);
            const int gy = y - (baseline + g.OffsetY);
            const float glyphAlpha = CoverageAt(g, gx, gy);
            const float shadowAlpha = s > 0 ? CoverageAt(g, gx - s, gy - s) * style.ShadowAlpha : 0.0f;
            const float alpha = glyphAlpha + shadowAlpha * (1.0f - glyphAlpha);
            if (alpha <= 0.0f) {
                continue;
            }
            const float white = glyphAlpha / alpha;
            page.At(cell.X + x, cell.Y + y) = PackRgba({white, white, white, alpha});
        }
    }
}

} // namespace

uint32_t Windows1252ToUnicode(uint8_t code) {
    static constexpr uint16_t kRow80[32] = {
        0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};
    if (code < 32 || code == 127) {
        return 0;
    }
    if (code >= 0x80 && code < 0xA0) {
        return kRow80[code - 0x80];
    }
    return code;
}

bool BuildBitmapFont(const TrueTypeFont& face, const BitmapFontStyle& style, BitmapFont& out, std::string& error) {
    const float scaleY = face.ScaleForPixelHeight(style.PixelHeight);
    const float scaleX = scaleY * style.HorizontalScale;
    const int ascent = static_cast<int>(std::ceil(face.Ascent(scaleY)));
    const int lineHeight = static_cast<int>(std::ceil(face.Ascent(scaleY) - face.Descent(scaleY))) + style.ShadowOffset;

    std::vector<Cell> cells(256);
    for (int code = 0; code < 256; ++code) {
        const uint32_t unicode = Windows1252ToUnicode(static_cast<uint8_t>(code));
        if (unicode == 0 || !face.HasGlyph(unicode)) {
            continue;
        }
        Cell& cell = cells[code];
        cell.Glyph = face.Render(unicode, scaleX, scaleY);
        // The pen advance, widened only where the glyph and its shadow would not fit; a glyph
        // reaching left of its pen position is shifted into the cell rather than cut.
        cell.Width = std::max(1, static_cast<int>(std::lround(cell.Glyph.Advance)));
        cell.Width = std::max(cell.Width, cell.Glyph.Width + std::max(0, cell.Glyph.OffsetX) + style.ShadowOffset);
    }

    int pageWidth = 128;
    int pageHeight = 0;
    for (;; pageWidth *= 2) {
        if (pageWidth > 2048) {
            error = "font of height " + std::to_string(style.PixelHeight) + " does not fit a 2048-wide page";
            return false;
        }
        const int used = PackRows(cells, pageWidth, lineHeight);
        pageHeight = 1;
        while (pageHeight < used) {
            pageHeight *= 2;
        }
        if (pageHeight <= pageWidth) {
            break;
        }
    }

    out = BitmapFont();
    out.LineHeight = lineHeight;
    out.PageImage = Image(pageWidth, pageHeight, 0x00000000u);
    out.Page.TextureName = style.PageTextureName;
    out.Page.Characters.resize(256);
    for (int code = 0; code < 256; ++code) {
        const Cell& cell = cells[code];
        if (cell.Width == 0) {
            continue;
        }
        PaintCell(out.PageImage, cell, ascent, lineHeight, style);
        out.Page.Characters[code] = {cell.X, cell.Y, cell.Width, lineHeight};
    }
    return true;
}

int MeasureBitmapText(const BitmapFont& font, std::string_view text) {
    int width = 0;
    for (const char c : text) {
        width += font.Page.Characters[static_cast<unsigned char>(c)].USize;
    }
    return width;
}

} // namespace orv
