// stb_truetype glue.
#include "TrueType.h"

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>

#define STB_TRUETYPE_IMPLEMENTATION
#define STBTT_STATIC
#include <stb_truetype.h>

namespace orv {

struct TrueTypeFont::State {
    std::vector<unsigned char> Bytes;
    stbtt_fontinfo Info{};
    int Ascent = 0;
    int Descent = 0;
    int LineGap = 0;
};

TrueTypeFont::TrueTypeFont() = default;
TrueTypeFont::~TrueTypeFont() = default;

bool TrueTypeFont::Load(const std::string& path, std::string& error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot open font " + path;
        return false;
    }
    auto state = std::make_unique<State>();
    state->Bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    const int offset = stbtt_GetFontOffsetForIndex(state->Bytes.data(), 0);
    if (state->Bytes.size() < 12 || offset < 0 || !stbtt_InitFont(&state->Info, state->Bytes.data(), offset)) {
        error = "not a TrueType font: " + path;
        return false;
    }
    stbtt_GetFontVMetrics(&state->Info, &state->Ascent, &state->Descent, &state->LineGap);
    state_ = std::move(state);
    return true;
}

float TrueTypeFont::ScaleForPixelHeight(float pixelHeight) const {
    return stbtt_ScaleForPixelHeight(&state_->Info, pixelHeight);
}

float TrueTypeFont::Ascent(float scale) const { return state_->Ascent * scale; }
float TrueTypeFont::Descent(float scale) const { return state_->Descent * scale; }

bool TrueTypeFont::HasGlyph(uint32_t codepoint) const {
    return stbtt_FindGlyphIndex(&state_->Info, static_cast<int>(codepoint)) != 0;
}

GlyphBitmap TrueTypeFont::Render(uint32_t codepoint, float scaleX, float scaleY) const {
    GlyphBitmap glyph;
    const int index = stbtt_FindGlyphIndex(&state_->Info, static_cast<int>(codepoint));
    int advance = 0, leftBearing = 0;
    stbtt_GetGlyphHMetrics(&state_->Info, index, &advance, &leftBearing);
    glyph.Advance = advance * scaleX;
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    stbtt_GetGlyphBitmapBox(&state_->Info, index, scaleX, scaleY, &x0, &y0, &x1, &y1);
    glyph.Width = x1 - x0;
    glyph.Height = y1 - y0;
    glyph.OffsetX = x0;
    glyph.OffsetY = y0;
    if (glyph.Width > 0 && glyph.Height > 0) {
        glyph.Coverage.assign(static_cast<size_t>(glyph.Width) * glyph.Height, 0);
        stbtt_MakeGlyphBitmap(&state_->Info, glyph.Coverage.data(), glyph.Width, glyph.Height, glyph.Width, scaleX,
                              scaleY, index);
    } else {
        glyph.Width = glyph.Height = 0;
    }
    return glyph;
}

float TrueTypeFont::Kerning(uint32_t left, uint32_t right, float scaleX) const {
    return stbtt_GetCodepointKernAdvance(&state_->Info, static_cast<int>(left), static_cast<int>(right)) * scaleX;
}

std::string FindDejaVuFont(bool bold) {
    const char* name = bold ? "DejaVuSans-Bold.ttf" : "DejaVuSans.ttf";
    for (const char* folder : {"/usr/share/fonts/truetype/dejavu/", "/usr/share/fonts/dejavu/", "/usr/share/fonts/TTF/"}) {
        const std::string path = std::string(folder) + name;
        if (std::filesystem::exists(path)) {
            return path;
        }
    }
    return std::string("/usr/share/fonts/truetype/dejavu/") + name;
}

} // namespace orv
