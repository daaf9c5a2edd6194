// Small painting helpers for generated pictures: per-pixel fills, soft discs, lines, blending
// and lettering from a TrueType face.
#pragma once

#include "GenCommon.h"
#include "TrueType.h"

#include <functional>
#include <string_view>

namespace orv {

// An image whose every pixel is shade(u, v), u and v the pixel centre in 0..1.
Image ShadeImage(int width, int height, const std::function<Rgba(float u, float v)>& shade);

// Blends colour over the pixel (x, y) with the given coverage (times the colour's alpha);
// pixels outside the image are ignored. wrap makes coordinates repeat (tileable textures).
void BlendPixel(Image& image, int x, int y, const Rgba& colour, float coverage, bool wrap = false);

// A disc with a soft edge of `softness` pixels, blended over the image.
void FillDisc(Image& image, float cx, float cy, float radius, const Rgba& colour, float softness = 1.0f,
              bool wrap = false);

// An axis-aligned rectangle, pixel bounds [x0, x1) x [y0, y1).
void FillRect(Image& image, int x0, int y0, int x1, int y1, const Rgba& colour);

// An anti-aliased line of the given width.
void DrawLine(Image& image, float x0, float y0, float x1, float y1, float width, const Rgba& colour);

// Adds colour * weight to every channel of a pixel (additive light for sprites).
void AddPixel(Image& image, int x, int y, const Rgba& colour, float weight);

// Lettering: the text set in the face at a pixel height, its left baseline point at (x, y),
// each pixel's colour from paint(px, py) where the glyph covers it. Returns the width drawn.
float DrawLettering(Image& image, const TrueTypeFont& face, std::string_view text, float pixelHeight, float x,
                    float y, const std::function<Rgba(int px, int py)>& paint, float tracking = 0.0f);
float MeasureLettering(const TrueTypeFont& face, std::string_view text, float pixelHeight, float tracking = 0.0f);

// Multiplies every pixel's colour by a factor (alpha untouched).
void DarkenImage(Image& image, float factor);

} // namespace orv
