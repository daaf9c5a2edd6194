// The one square atlas texture all lightmaps share: the shelf packer that places them, the
// smoothing filter and the copy of a lightmap into the atlas image.
#pragma once

#include "core/Image.h"

#include <cstdint>

namespace orv {

// Places rectangles in a square of size S: lightmaps shorter than the average packed so far go
// on shelves growing down from the top, the others on shelves growing up from the bottom (the
// last row stays empty). Once the two meet, this and every later placement fails.
class ShelfPacker {
public:
    explicit ShelfPacker(int size);

    // True with the top-left corner when w x h still fits.
    bool Place(int w, int h, int& x, int& y);

private:
    int size_;
    int64_t heightSum_ = 0;
    int32_t count_ = 0;
    int topShelfY_ = 0;
    int topX_ = 0;
    int topExtent_ = 0;
    int bottomShelfY_;
    int bottomX_ = 0;
    int bottomExtent_;
};

// Smooths every texel at least two texels in from the edges: per channel, alpha included, the
// sum of it and its four neighbours times 51 / 256.
void CrossFilter(Image& image);

// Copies src into dst with its top-left corner at (x, y), clipped to dst.
void CopyIntoImage(Image& dst, const Image& src, int x, int y);

} // namespace orv
