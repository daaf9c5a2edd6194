// A decoded picture: 32-bit pixels 0xAARRGGBB, top row first.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace orv {

struct Image {
    int Width = 0;
    int Height = 0;
    std::vector<uint32_t> Pixels; // Width * Height, row after row from the top

    Image() = default;
    Image(int width, int height, uint32_t fill = 0xFF000000u)
        : Width(width), Height(height), Pixels(static_cast<size_t>(width > 0 ? width : 0) * (height > 0 ? height : 0), fill) {}

    bool IsEmpty() const { return Width <= 0 || Height <= 0 || Pixels.empty(); }
    uint32_t& At(int x, int y) { return Pixels[static_cast<size_t>(y) * Width + x]; }
    uint32_t At(int x, int y) const { return Pixels[static_cast<size_t>(y) * Width + x]; }
};

} // namespace orv
