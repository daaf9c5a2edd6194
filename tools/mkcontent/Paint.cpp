// Painting helpers.
#include "Paint.h"

#include <algorithm>
#include <cmath>

namespace orv {

Image ShadeImage(int width, int height, const std::function<Rgba(float u, float v)>& shade) {
    Image image(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            image.At(x, y) = PackRgba(shade((x + 0.5f) / width, (y + 0.5f) / height));
        }
    }
    return image;
}

void BlendPixel(Image& image, int x, int y, const Rgba& colour, float coverage, bool wrap) {
    if (wrap) {
        x = ((x % image.Width) + image.Width) % image.Width;
        y = ((y % image.Height) + image.Height) % image.Height;
    } else if (x < 0 || y < 0 || x >= image.Width || y >= image.Height) {
        return;
    }
    const float a = Clamp01(coverage * colour.A);
    if (a <= 0.0f) {
        return;
    }
    const Rgba under = UnpackRgba(image.At(x, y));
    Rgba out = MixRgba(under, colour, a);
    out.A = under.A + a * (1.0f - under.A);
    image.At(x, y) = PackRgba(out);
}

void FillDisc(Image& image, float cx, float cy, float radius, const Rgba& colour, float softness, bool wrap) {
    const int x0 = static_cast<int>(std::floor(cx - radius - softness));
    const int x1 = static_cast<int>(std::ceil(cx + radius + softness));
    const int y0 = static_cast<int>(std::floor(cy - radius - softness));
    const int y1 = static_cast<int>(std::ceil(cy + radius + softness));
    for (int y = y0; y <= y1; ++y) {
        for (int x = x0; x <= x1; ++x) {
            const float d = std::hypot(x + 0.5f - cx, y + 0.5f - cy);
            const float coverage = Clamp01((radius - d) / std::max(softness, 0.001f) + 0.5f);
            BlendPixel(image, x, y, colour, coverage, wrap);
        }
    }
}

void FillRect(Image& image, int x0, int y0, int x1, int y1, const Rgba& colour) {
    for (int y = std::max(0, y0); y < std::min(image.Height, y1); ++y) {
        for (int x = std::max(0, x0); x < std::min(image.Width, x1); ++x) {
            BlendPixel(image, x, y, colour, 1.0f);
        }
    }
}

void DrawLine(Image& image, float x0, float y0, float x1, float y1, float width, const Rgba& colour) {
    const float length = std::hypot(x1 - x0, y1 - y0);
    const int minX = static_cast<int>(std::floor(std::min(x0, x1) - width - 1));
    const int maxX = static_cast<int>(std::ceil(std::max(x0, x1) + width + 1));
    const int minY = static_cast<int>(std::floor(std::min(y0, y1) - width - 1));
    const int maxY = static_cast<int>(std::ceil(std::max(y0, y1) + width + 1));
    for (int y = minY; y <= maxY; ++y) {
        for (int x = minX; x <= maxX; ++x) {
            const float px = x + 0.5f - x0;
            const float py = y + 0.5f - y0;
            float t = length > 0.0f ? (px * (x1 - x0) + py * (y1 - y0)) / (length * length) : 0.0f;
            t = Clamp01(t);
            const float d = std::hypot(px - t * (x1 - x0), py - t * (y1 - y0));
            BlendPixel(image, x, y, colour, Clamp01(width * 0.5f - d + 0.5f));
        }
    }
}

void AddPixel(Image& image, int x, int y, const Rgba& colour, float weight) {
    if (x < 0 || y < 0 || x >= image.Width || y >= image.Height) {
        return;
    }
    Rgba c = UnpackRgba(image.At(x, y));
    c.R += colour.R * weight;
    c.G += colour.G * weight;
    c.B += colour.B * weight;
    image.At(x, y) = PackRgba(c);
}

float MeasureLettering(const TrueTypeFont& face, std::string_view text, float pixelHeight, float tracking) {
    const float scale = face.ScaleForPixelHeight(pixelHeight);
    float width = 0.0f;
    for (size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        width += face.Render(c, scale, scale).Advance + tracking;
        if (i + 1 < text.size()) {
            width += face.Kerning(c, static_cast<unsigned char>(text[i + 1]), scale);
        }
    }
    return width - (text.empty() ? 0.0f : tracking);
}

float DrawLettering(Image& image, const TrueTypeFont& face, std::string_view text, float pixelHeight, float x, float y,
                    const std::function<Rgba(int px, int py)>& paint, float tracking) {
    const float scale = face.ScaleForPixelHeight(pixelHeight);
    const float startX = x;
    for (size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        const GlyphBitmap glyph = face.Render(c, scale, scale);
        const int left = static_cast<int>(std::lround(x)) + glyph.OffsetX;
        const int top = static_cast<int>(std::lround(y)) + glyph.OffsetY;
        for (int gy = 0; gy < glyph.Height; ++gy) {
            for (int gx = 0; gx < glyph.Width; ++gx) {
                const float coverage = glyph.Coverage[static_cast<size_t>(gy) * glyph.Width + gx] / 255.0f;
                if (coverage > 0.0f) {
                    BlendPixel(image, left + gx, top + gy, paint(left + gx, top + gy), coverage);
                }
            }
        }
        x += glyph.Advance + tracking;
        if (i + 1 < text.size()) {
            x += face.Kerning(c, static_cast<unsigned char>(text[i + 1]), scale);
        }
    }
    return x - startX;
}

void DarkenImage(Image& image, float factor) {
    for (uint32_t& p : image.Pixels) {
        Rgba c = UnpackRgba(p);
        p = PackRgba(ScaleRgb(c, factor));
    }
}

} // namespace orv
