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

void CrossFilter(Image& image) {
    const int w = image.Width;
    const int h = image.Height;
    if (w < 5 || h < 5) {
        return;
    }
    const Image source = image;
    for (int y = 2; y <= h - 3; ++y) {
        for (int x = 2; x <= w - 3; ++x) {
            const uint32_t texels[5] = {source.At(x, y), source.At(x - 1, y), source.At(x + 1, y), source.At(x, y - 1),
                                        source.At(x, y + 1)};
            uint32_t out = 0;
            for (int shift = 0; shift < 32; shift += 8) {
                uint32_t sum = 0;
                for (uint32_t t : texels) {
                    sum += (t >> shift) & 0xFFu;
                }
                sum = std::min<uint32_t>(sum, 0xFFFFu);
                out |= ((sum * 51u / 256u) & 0xFFu) << shift;
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
