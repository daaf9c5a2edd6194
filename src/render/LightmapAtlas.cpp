// Shelf packing, the cross filter and atlas copies.
#include "render/LightmapAtlas.h"

#include <algorithm>

namespace orv {

ShelfPacker::ShelfPacker(int size) : size_(size), bottomShelfY_(size - 1), bottomExtent_(size - 1) {}

bool ShelfPacker::Place(int w, int h, int& x, int& y) {
    if (count_ > 0 && h < heightSum_ / count_) {
        if (topX_ + w >= size_) {
            topShelfY_ = topExtent_;
            topX_ = 0;
        }
        x = topX_;
        y = topShelfY_;
        topX_ += w;
        topExtent_ = std::max(topExtent_, topShelfY_ + h);
    } else {
        if (bottomX_ + w >= size_) {
            bottomShelfY_ = bottomExtent_;
            bottomX_ = 0;
        }
        x = bottomX_;
        y = bottomShelfY_ - h;
        bottomX_ += w;
        bottomExtent_ = std::min(bottomExtent_, bottomShelfY_ - h);
    }
    heightSum_ += h;
    ++count_;
    // Wider than the atlas never fits, even alone on a shelf.
    return topExtent_ <= bottomExtent_ && w <= size_;
}

namespace {

// The outer rows and columns that keep their light: the outermost have no neighbour beyond the
// lightmap, and the next would mix in texels that lie past the polygon's edge.
constexpr int kFilterBorder = 2;
// Each of the five texels counts 51 / 256: a little under a fifth, so that the sum never carries
// past a byte (5 x 255 x 51 / 256 = 254).
constexpr uint32_t kFilterWeight = 51;
// The five-texel sum is held in 16 bits, saturating (five bytes never reach the limit).
constexpr uint32_t kFilterSumLimit = 0xFFFF;

} // namespace

void CrossFilter(Image& image) {
    const int w = image.Width;
    const int h = image.Height;
    if (w <= 2 * kFilterBorder || h <= 2 * kFilterBorder) {
        return;
    }
    const Image source = image;
    for (int y = kFilterBorder; y < h - kFilterBorder; ++y) {
        for (int x = kFilterBorder; x < w - kFilterBorder; ++x) {
            const uint32_t texels[5] = {source.At(x, y), source.At(x - 1, y), source.At(x + 1, y), source.At(x, y - 1),
                                        source.At(x, y + 1)};
            uint32_t out = 0;
            for (int shift = 0; shift < 32; shift += 8) {
                uint32_t sum = 0;
                for (uint32_t t : texels) {
                    sum += (t >> shift) & 0xFFu;
                }
                sum = std::min<uint32_t>(sum, kFilterSumLimit);
                out |= ((sum * kFilterWeight / 256u) & 0xFFu) << shift;
            }
            image.At(x, y) = out;
        }
    }
}

void CopyIntoImage(Image& dst, const Image& src, int x, int y) {
    for (int row = 0; row < src.Height; ++row) {
        const int dy = y + row;
        if (dy < 0 || dy >= dst.Height) {
            continue;
        }
        for (int col = 0; col < src.Width; ++col) {
            const int dx = x + col;
            if (dx >= 0 && dx < dst.Width) {
                dst.At(dx, dy) = src.At(col, row);
            }
        }
    }
}

} // namespace orv
