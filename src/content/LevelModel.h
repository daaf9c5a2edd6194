// The compiled world of a level (the ".bsp" Level Model file): points, vertex pool, surfaces,
// BSP nodes, lightmap records and the tables linking them to the level's actors, as the file holds
// them and with the textures they name. One object per loaded level, read by the world, collision
// and the renderer, which keep their own state about it beside it; the level loader frees it at
// the next load.
#pragma once

#include "content/WorldTriangle.h"
#include "core/Array.h"
#include "core/Vector.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace orv {

struct Texture;

// The only file version there is; any other is refused.
constexpr int32_t kLevelModelVersion = 24;
// The most points a node polygon may have: the level compiler cuts larger polygons into fans of
// at most this many and the reader refuses more, so every node polygon fits the renderer's clip
// buffers (kMaxPolygonPoints).
constexpr int kMaxNodeVertices = 32;
// Zone numbers fit the 64 bits of a node's zone mask; the last one stands for "no zone".
constexpr uint8_t kNoZone = 63;
// Far past any real lightmap side (the level compiler makes at most 256 texels); the reader
// refuses larger ones, so that a bad file cannot ask for images of gigabytes.
constexpr int32_t kMaxLightmapSide = 4096;
// Lightmaps take whole multiples of this many texels across in the atlas and in their shadow
// bits, so that each row of shadow bits fills whole bytes.
constexpr int32_t kLightmapColumnAlign = 8;

// Polygon flags shared by the compiler, the renderer and collision.
constexpr uint32_t PF_Invisible = 0x00000001u;
constexpr uint32_t PF_Masked = 0x00000002u;
constexpr uint32_t PF_Translucent = 0x00000004u;
constexpr uint32_t PF_NotSolid = 0x00000008u;
constexpr uint32_t PF_Semisolid = 0x00000020u;
constexpr uint32_t PF_Modulated = 0x00000040u;
constexpr uint32_t PF_FakeBackdrop = 0x00000080u; // sky portal
constexpr uint32_t PF_TwoSided = 0x00000100u;
constexpr uint32_t PF_AutoUPan = 0x00000200u;
constexpr uint32_t PF_AutoVPan = 0x00000400u;
constexpr uint32_t PF_SmallWavy = 0x00002000u;
constexpr uint32_t PF_LowShadowDetail = 0x00008000u;
constexpr uint32_t PF_AlphaBlend = 0x00020000u;
constexpr uint32_t PF_SpecialLit = 0x00100000u;
constexpr uint32_t PF_Unlit = 0x00400000u;
constexpr uint32_t PF_HighShadowDetail = 0x00800000u;
constexpr uint32_t PF_ZonePortal = 0x04000000u;
constexpr uint32_t PF_Occlude = 0x08000000u;

// An actor of the level's T3D that the model's light and zone tables name; the world resolves
// it by class and name once the T3D is read.
struct LevelActorRef {
    std::string ClassName;
    std::string Name;
};

struct LightmapRecord {
    int32_t ShadowOffset = -1; // -1: no data, skipped everywhere
    float PanX = 0, PanY = 0, PanZ = 0; // the lightmap's origin along the surface's U and V axes
    int32_t Width = 0, Height = 0;      // texels
    float UScale = 0, VScale = 0;       // world units per texel
    int32_t FirstLight = -1;            // index into the light index list, -1 for none

    // Whether the lightmap has texels to compute and draw.
    bool HasData() const { return ShadowOffset != -1 && Width > 0 && Height > 0; }
};

// The width a lightmap takes in the atlas and each plane of its shadow bits: Width rounded up
// to whole multiples of kLightmapColumnAlign.
constexpr int32_t LightmapColumns(int32_t width) {
    return ((width - 1) & ~(kLightmapColumnAlign - 1)) + kLightmapColumnAlign;
}

struct Surface {
    std::string TextureName; // "Package.Group.Name" or empty
    uint32_t Flags = 0;
    int32_t LightmapIndex = -1;
    Vector Base;
    Vector Normal; // points away from the side the surface is seen from
    Vector UAxis;
    Vector VAxis;
    int16_t UPan = 0;
    int16_t VPan = 0;
    Texture* Tex = nullptr; // resolved from TextureName while the file is read
};

struct Plane {
    Vector Normal;
    float W = 0; // points p with Normal.p - W > 0 are in front
    float Distance(const Vector& p) const { return Dot(Normal, p) - W; }
};

struct BspNode {
    Plane NodePlane;
    uint64_t ZoneMask = 0;
    uint8_t NodeFlags = 0;
    int32_t FirstVertex = 0;
    int32_t Surface = -1;
    int32_t Back = -1;
    int32_t Front = -1;
    int32_t Coplanar = -1;
    uint8_t FirstZone = 0;          // zone on the back side
    uint8_t SecondZone = kNoZone;   // zone on the front side, the zone of the node's surface
    uint8_t NumVertices = 0;
    int32_t FirstLeaf = -1;
    int32_t SecondLeaf = -1;
    int32_t Extra = 0; // the node-extras value, when the file has them
};

struct LevelModel {
    std::string Path;
    Array<LevelActorRef> ActorRefs;
    Array<Vector> Vectors;
    Array<Vector> Points;
    Array<int32_t> VertexPool;
    Array<int32_t> LightIndices; // 1-based actor references, 0 ends a light list
    Array<uint8_t> ShadowBits;
    Array<LightmapRecord> Lightmaps;
    Array<Surface> Surfaces;
    Array<BspNode> Nodes;
    Array<int32_t> ZoneIndices; // 1-based actor references by zone number, 0 for none
    Array<std::pair<int32_t, int32_t>> PairData;
    bool HasNodeExtras = false;
    Array<int32_t> NodeExtraTable;

    // Number of lights on a lightmap's list (entries before the ending 0).
    int LightCount(const LightmapRecord& lightmap) const;
};

using TextureResolver = std::function<Texture*(std::string_view name)>;

// Reads a Level Model; any failure is fatal ("Bad Level Model header. (PATH)" for a wrong version,
// "Bad Level Model: <what> out of range (PATH, offset N)" for counts and indices that do not fit,
// "Bad Level Model: node N is reached twice (PATH)" for a tree that is not a tree). Surface
// textures go through resolve (an empty name is passed as is).
void LoadLevelModel(LevelModel& model, std::string_view path, const TextureResolver& resolve);
void LoadLevelModelFromMemory(LevelModel& model, std::string_view name, std::vector<uint8_t> bytes,
                              const TextureResolver& resolve);

// The exact inverse of the reader: the file's bytes for a model.
std::vector<uint8_t> WriteLevelModel(const LevelModel& model);

// Frees every array.
void FreeLevelModel(LevelModel& model);

// Turns every node polygon into world triangles (a sky portal's flags gain PF_Invisible, normals
// are negated), with the lightmap of the node's surface and the corners' coordinates in it when
// it has data.
void BuildWorldTriangles(const LevelModel& model, Array<WorldTriangle>& triangles);

} // namespace orv
