// Polygon fans into world triangles.
#include "content/WorldTriangle.h"

#include "content/Resources.h"

#include <algorithm>

namespace orv {

void TriangulatePolygon(Array<WorldTriangle>& out, const T3dPolygon& polygon) {
    const int n = polygon.Vertices.Num();
    if (n < 3) {
        return;
    }
    // A texture without an image maps as the renderer does for untextured surfaces.
    float width = kUntexturedSize, height = kUntexturedSize;
    if (polygon.Tex && polygon.Tex->Width() > 0 && polygon.Tex->Height() > 0) {
        width = static_cast<float>(polygon.Tex->Width());
        height = static_cast<float>(polygon.Tex->Height());
    }
    const float originU = Dot(polygon.Origin, polygon.TextureU);
    const float originV = Dot(polygon.Origin, polygon.TextureV);
    auto texCoords = [&](const Vector& p, float* st) {
        st[0] = (Dot(p, polygon.TextureU) - originU + static_cast<float>(polygon.PanU)) / width;
        st[1] = 1.0f - (Dot(p, polygon.TextureV) - originV + static_cast<float>(polygon.PanV)) / height;
    };
    for (int i = 0; i + 2 < n; ++i) {
        WorldTriangle& t = out.Emplace();
        const int corners[3] = {0, i + 1, i + 2};
        for (int c = 0; c < 3; ++c) {
            t.Vertices[c] = polygon.Vertices[corners[c]];
            texCoords(t.Vertices[c], t.TexCoords[c]);
        }
        t.Index = polygon.Index;
        t.Tex = polygon.Tex;
        t.Flags = polygon.Flags;
        t.Normal = polygon.Normal;
        t.Centre = (t.Vertices[0] + t.Vertices[1] + t.Vertices[2]) * (1.0f / 3.0f);
        t.Radius = std::max({Length(t.Vertices[0] - t.Centre), Length(t.Vertices[1] - t.Centre),
                             Length(t.Vertices[2] - t.Centre)});
    }
}

} // namespace orv
