// Light and zone colours from Unreal's brightness, hue and saturation bytes.
#pragma once

#include <cstdint>

namespace orv {

struct ColorF {
    float R = 0, G = 0, B = 0;
};

// brightness, hue and saturation in 0..255; each result component in [0, 1]. Saturation 255
// gives white; the hue picks one of six sectors of 42.666668 each.
ColorF HsvToRgb(float brightness, float hue, float saturation);

// 0xFFRRGGBB from a colour in [0, 1], each component times 255 and rounded.
uint32_t PackOpaque(const ColorF& c);

} // namespace orv
