// Lightmap grids and texel positions.
#include "Lightmaps.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace orv {

namespace {

// Texel centres reach this far past the polygon on each side of an axis, so that the polygon's
// edges lie inside the grid whatever the rounding of the 32-bit record.
constexpr double kGridMargin = 0.125;

// Below this squared sine of the angle between them, the texture axes count as parallel: no grid
// of kMaxLightmapTexels texels could tell their directions apart.
constexpr double kMinAxisSine2 = 1e-9;

struct AxisLayout {
    float Pan = 0;
    float Scale = 0;
    int32_t Size = 2;
};

AxisLayout LayoutAxis(double min, double max, double spacing) {
    const double extent = max - min;
    double texels = std::ceil((extent - 2 * kGridMargin) / spacing);
    while (texels > kMaxLightmapTexels) {
        spacing *= 2.0;
        texels = std::ceil((extent - 2 * kGridMargin) / spacing);
    }
    const int32_t size = std::max(2, static_cast<int32_t>(texels));
    AxisLayout axis;
    axis.Size = size;
    axis.Scale = static_cast<float>((extent + 2 * kGridMargin) / (size - 1));
    axis.Pan = static_cast<float>(min - kGridMargin);
    return axis;
}

} // namespace

double LightmapSpacing(uint32_t flags) {
    const bool high = (flags & PF_HighShadowDetail) != 0;
    const bool low = (flags & PF_LowShadowDetail) != 0;
    if (high && low) {
        return 128.0;
    }
    return high ? 16.0 : (low ? 64.0 : 32.0);
}

LightmapRecord LayoutLightmap(const Surface& surface, const std::vector<DVector>& points) {
    const DVector base(surface.Base), u(surface.UAxis), v(surface.VAxis);
    double uMin = std::numeric_limits<double>::max(), uMax = -uMin, vMin = uMin, vMax = -uMin;
    for (const DVector& p : points) {
        const double pu = Dot(p, u) - Dot(base, u);
        const double pv = Dot(p, v) - Dot(base, v);
        uMin = std::min(uMin, pu);
        uMax = std::max(uMax, pu);
        vMin = std::min(vMin, pv);
        vMax = std::max(vMax, pv);
    }
    if (points.empty()) {
        uMin = uMax = vMin = vMax = 0.0;
    }
    const double spacing = LightmapSpacing(surface.Flags);
    const AxisLayout across = LayoutAxis(uMin, uMax, spacing);
    const AxisLayout down = LayoutAxis(vMin, vMax, spacing);
    LightmapRecord record;
    record.PanX = across.Pan;
    record.PanY = down.Pan;
    record.UScale = across.Scale;
    record.VScale = down.Scale;
    record.Width = across.Size;
    record.Height = down.Size;
    return record;
}

TexelMapper::TexelMapper(const Surface& surface, const LightmapRecord& lightmap) {
    const DVector base(surface.Base), u(surface.UAxis), v(surface.VAxis);
    const double uu = Dot(u, u), vv = Dot(v, v), uv = Dot(u, v);
    const double det = uu * vv - uv * uv;
    if (!(uu > 0.0 && vv > 0.0 && det > kMinAxisSine2 * uu * vv)) {
        return;
    }
    // The point base + a U + b V has texture-space offsets (p - base).U = a UU + b UV and
    // (p - base).V = a UV + b VV; texel (i, j) wants PanX + i UScale and PanY + j VScale.
    const DVector alongU = (u * vv - v * uv) * (1.0 / det); // moves .U by 1 and .V by 0
    const DVector alongV = (v * uu - u * uv) * (1.0 / det); // moves .V by 1 and .U by 0
    origin_ = base + alongU * lightmap.PanX + alongV * lightmap.PanY;
    stepI_ = alongU * lightmap.UScale;
    stepJ_ = alongV * lightmap.VScale;
    valid_ = true;
}

} // namespace orv
