// The lightmap grid of a surface: how many texels it gets and where each of them lies. The record
// fields (PanX, PanY, UScale, VScale, Width, Height) are chosen so that the engine's texel (i, j)
// falls exactly on the point the compiler's shadow rays start from; TexelMapper is that mapping,
// written once.
#pragma once

#include "BuildMath.h"

#include "content/LevelModel.h"

#include <cstdint>
#include <vector>

namespace orv {

// Surfaces with any of these flags (unlit, invisible, sky portal) get no lightmap.
constexpr uint32_t kNoLightmapFlags = PF_Unlit | PF_Invisible | PF_FakeBackdrop;

// A lightmap axis never gets more texels than this; the spacing doubles until it fits.
constexpr int kMaxLightmapTexels = 256;

constexpr bool SurfaceGetsLightmap(uint32_t flags) { return (flags & kNoLightmapFlags) == 0; }

// World units between texels: 32, 16 with high shadow detail, 64 with low, 128 with both.
double LightmapSpacing(uint32_t flags);

// Width rounded up to a multiple of 8: the row length of the shadow bits and of the atlas block.
constexpr int32_t LightmapAtlasWidth(int32_t width) { return ((width - 1) & ~7) + 8; }

// Lays a lightmap over the points of a surface: per texture axis, the extent of p.axis - base.axis
// gives size = ceil((extent - 0.25) / spacing), at least 2 and at most kMaxLightmapTexels (the
// spacing doubles until it fits), scale = (extent + 0.25) / (size - 1), pan = min - 0.125. The
// record's shadow offset and light list are left for the lighting stage.
LightmapRecord LayoutLightmap(const Surface& surface, const std::vector<DVector>& points);

// The engine's texel positions: texture-space coordinates s = (p.U - uStart) / UScale and
// t = (p.V - vStart) / VScale with uStart = base.U + PanX - UScale / 2 (the same for V), solved
// for the point base + a U + b V whose (s, t) is (i + 0.5, j + 0.5). Works from the 32-bit values
// the file holds, so the compiler sees what the engine sees.
class TexelMapper {
public:
    TexelMapper(const Surface& surface, const LightmapRecord& lightmap);

    // False when the texture axes are parallel or zero: no point has given coordinates.
    bool Valid() const { return valid_; }
    DVector Position(int i, int j) const { return origin_ + stepI_ * i + stepJ_ * j; }

private:
    bool valid_ = false;
    DVector origin_, stepI_, stepJ_;
};

} // namespace orv
