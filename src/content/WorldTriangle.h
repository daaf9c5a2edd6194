// The triangle record of the level's world geometry and of mover brushes, shared by loading,
// rendering and collision, and the polygon record both are made from.
#pragma once

#include "core/Array.h"
#include "core/Vector.h"

#include <cstdint>
#include <optional>
#include <string>

namespace orv {

struct Actor;
struct Texture;
struct LightmapRecord;

struct WorldTriangle {
    int32_t Index = 0;       // the node index (world) or the polygon's index (brush)
    Actor* Link = nullptr;   // the zone actor of the node (world); null for brushes
    Vector Vertices[3];
    float TexCoords[3][2] = {};
    float LightmapCoords[3][2] = {}; // filled when lightmaps are prepared
    Vector Normal;
    Texture* Tex = nullptr;
    LightmapRecord* Lightmap = nullptr; // the lightmap of the node's surface, once prepared
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
// texture's size (128 x 128 when it has no image). link becomes each triangle's Link.
void TriangulatePolygon(Array<WorldTriangle>& out, const T3dPolygon& polygon, Actor* link = nullptr);

} // namespace orv
