// Drawing and measuring bitmap text.
#include "render/Text.h"

#include "content/Texture.h"
#include "render/Overlay.h"
#include "render/Renderer.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <limits>

namespace orv {

namespace {

// The 4:3 area text is centred in: 640 pixels wide, from x = -1/6 to x = 7/6.
constexpr float kGridLeft = -1.0f / 6.0f;
constexpr float kGridWidth = 4.0f / 3.0f;
constexpr float kGridPixels = 640.0f;

// The glyphs of one text as few GL_QUADS batches as its pages allow: a batch stays open while
// the glyphs come from the same page, since a texture can only be bound outside one.
class GlyphBatch {
public:
    explicit GlyphBatch(Renderer& renderer) : renderer_(renderer), scale_(HudScale(renderer)) {}
    ~GlyphBatch() { Close(); }

    void Add(const FontPage& page, const FontCharacter& glyph, float x, float y) {
        Texture* texture = page.PageTexture;
        if (!texture || texture->Width() <= 0 || texture->Height() <= 0) {
            return;
        }
        if (texture != open_) {
            Close();
            BindTexture(renderer_.Cache, texture);
            glBegin(GL_QUADS);
            open_ = texture;
        }
        const float pageWidth = static_cast<float>(texture->Width());
        const float pageHeight = static_cast<float>(texture->Height());
        // The page went up bottom row first: t = 1 is its top row.
        const float s0 = static_cast<float>(glyph.StartU) / pageWidth;
        const float s1 = static_cast<float>(glyph.StartU + glyph.USize) / pageWidth;
        const float t0 = 1.0f - static_cast<float>(glyph.StartV) / pageHeight;
        const float t1 = 1.0f - static_cast<float>(glyph.StartV + glyph.VSize) / pageHeight;
        const float w = static_cast<float>(glyph.USize) / kHudUnitPixels;
        const float h = static_cast<float>(glyph.VSize) / kHudUnitPixels;
        // Counter-clockwise on screen, as every overlay quad: front-facing, so culling keeps it.
        Corner(s0, t0, x, y);
        Corner(s0, t1, x, y + h);
        Corner(s1, t1, x + w, y + h);
        Corner(s1, t0, x + w, y);
    }

private:
    void Corner(float s, float t, float x, float y) const {
        const Vector p = HudToWorld(scale_, x, y);
        glTexCoord2f(s, t);
        glVertex3f(p.X, p.Y, p.Z);
    }
    void Close() {
        if (open_) {
            glEnd();
            open_ = nullptr;
        }
    }

    Renderer& renderer_;
    float scale_;
    const Texture* open_ = nullptr;
};

} // namespace

const FontCharacter* FindGlyph(const Font& font, unsigned char code, const FontPage** page) {
    int first = 0;
    for (const FontPage& p : font.Pages) {
        const int count = p.Characters.Num();
        if (code < first + count) {
            *page = &p;
            return &p.Characters[code - first];
        }
        first += count;
    }
    *page = nullptr;
    return nullptr;
}

void DrawText(Renderer& renderer, const Font& font, std::string_view text, float x, float y, float rightEdge) {
    glDisable(GL_DEPTH_TEST);
    SetRenderMode(RenderMode::AlphaBlend);
    {
        GlyphBatch batch(renderer);
        LayoutText(font, text, x, y, rightEdge, [&batch](const FontPage& page, const FontCharacter& glyph, float penX, float penY) {
            batch.Add(page, glyph, penX, penY);
        });
    }
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);
}

TextSize MeasureText(const Font& font, std::string_view text) {
    TextSize size;
    LayoutText(font, text, 0.0f, 0.0f, std::numeric_limits<float>::infinity(),
               [&size](const FontPage&, const FontCharacter& glyph, float penX, float penY) {
                   size.Width = std::max(size.Width, penX + static_cast<float>(glyph.USize) / kHudUnitPixels);
                   size.Height = std::max(size.Height, penY + static_cast<float>(glyph.VSize) / kHudUnitPixels);
               });
    return size;
}

float CentreX(const Font& font, std::string_view text) {
    const float x = 0.5f - MeasureText(font, text).Width * 0.5f;
    const float pixel = std::floor((x - kGridLeft) / kGridWidth * kGridPixels);
    return pixel / kGridPixels * kGridWidth + kGridLeft;
}

float SnapToPixelRow(float y) { return std::floor(y * kHudUnitPixels) / kHudUnitPixels; }

} // namespace orv
