// The triangle record of the level's world geometry and of mover brushes, shared by loading,
// rendering and collision, and the polygon record both are made from.
#pragma once

#include "core/Array.h"
#include "core/Vector.h"

#include <cstdint>
#include <optional>
#include <string>

namespace orv {

struct Texture;

// The texture space, in texels, of a polygon whose texture has no image.
constexpr float kUntexturedSize = 128.0f;

struct WorldTriangle {
    int32_t Index = 0; // the node index (world) or the polygon's index (brush)
    Vector Vertices[3];
    float TexCoords[3][2] = {};
    float LightmapCoords[3][2] = {}; // in the lightmap's own texture space (0..1 across it)
    Vector Normal;
    Texture* Tex = nullptr;
    int32_t Lightmap = -1; // the model's lightmap of the node's surface when it has data, else -1
    uint32_t Flags = 0;
    Vector Centre;   // mean of the three vertices
    float Radius = 0; // largest distance from the centre to a vertex
};

// The working record of one polygon: a T3D polygon or a Level Model node polygon.
struct T3dPolygon {
    int32_t Index = 0;
    int32_t Link = 0;
    Texture* Tex = nullptr;
    // T3D polygons: the name after "Texture=" as written (empty stands for the fallback texture);
    // none when the Begin Polygon line has no "Texture=".
    std::optional<std::string> TextureName;
    uint32_t Flags = 0;
    Vector Origin;
    Vector Normal;
    Vector TextureU;
    Vector TextureV;
    int32_t PanU = 0;
    int32_t PanV = 0;
    Array<Vector> Vertices;
    int Line = 0; // T3D polygons: the line of its Begin Polygon in the file
};

// Fans the polygon around its first vertex into triangles appended to out, with texture
// coordinates u = (P.U - Origin.U + PanU) / W and v = 1 - (P.V - Origin.V + PanV) / H, W and H the
// texture's size (kUntexturedSize across when it has no image).
void TriangulatePolygon(Array<WorldTriangle>& out, const T3dPolygon& polygon);

} // namespace orv
