// The hue sectors of light colours.
#include "core/Color.h"

#include <algorithm>
#include <cmath>

namespace orv {

namespace {

// Hue, saturation and brightness are bytes. Hue goes once round the colour wheel in 256 steps,
// six sectors of 256 / 6: red to yellow, to green, to cyan, to blue, to magenta, back to red.
constexpr float kHueSector = 256.0f / 6.0f;
constexpr float kFullByte = 255.0f;

} // namespace

ColorF HsvToRgb(float brightness, float hue, float saturation) {
    const float scaled = hue / kHueSector;
    const float f = scaled - std::floor(scaled);
    ColorF c;
    if (hue < kHueSector) {
        c = {1, f, 0};
    } else if (hue < 2 * kHueSector) {
        c = {1 - f, 1, 0};
    } else if (hue < 3 * kHueSector) {
        c = {0, 1, f};
    } else if (hue < 4 * kHueSector) {
        c = {0, 1 - f, 1};
    } else if (hue < 5 * kHueSector) {
        c = {f, 0, 1};
    } else {
        c = {1, 0, 1 - f};
    }
    const float s = saturation / kFullByte;
    const float b = brightness / kFullByte;
    auto finish = [&](float v) { return std::clamp((v * (1 - s) + s) * b, 0.0f, 1.0f); };
    return {finish(c.R), finish(c.G), finish(c.B)};
}

uint32_t PackOpaque(const ColorF& c) {
    auto byte = [](float v) { return static_cast<uint32_t>(std::lround(std::clamp(v, 0.0f, 1.0f) * kFullByte)); };
    constexpr uint32_t kOpaque = 0xFF000000u; // alpha 255 in 0xAARRGGBB
    return kOpaque | (byte(c.R) << 16) | (byte(c.G) << 8) | byte(c.B);
}

} // namespace orv
