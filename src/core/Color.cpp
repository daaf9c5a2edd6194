// The hue sectors of light colours.
#include "core/Color.h"

#include <algorithm>
#include <cmath>

namespace orv {

ColorF HsvToRgb(float brightness, float hue, float saturation) {
    const float sector = 42.666668f;
    const float scaled = hue / sector;
    const float f = scaled - std::floor(scaled);
    ColorF c;
    if (hue < 42.666668f) {
        c = {1, f, 0};
    } else if (hue < 85.333336f) {
        c = {1 - f, 1, 0};
    } else if (hue < 128.0f) {
        c = {0, 1, f};
    } else if (hue < 170.66667f) {
        c = {0, 1 - f, 1};
    } else if (hue < 213.33334f) {
        c = {f, 0, 1};
    } else {
        c = {1, 0, 1 - f};
    }
    const float s = saturation / 255.0f;
    const float b = brightness / 255.0f;
    auto finish = [&](float v) { return std::clamp((v * (1 - s) + s) * b, 0.0f, 1.0f); };
    return {finish(c.R), finish(c.G), finish(c.B)};
}

uint32_t PackOpaque(const ColorF& c) {
    auto byte = [](float v) { return static_cast<uint32_t>(std::lround(std::clamp(v, 0.0f, 1.0f) * 255.0f)); };
    return 0xFF000000u | (byte(c.R) << 16) | (byte(c.G) << 8) | byte(c.B);
}

} // namespace orv
