// The compiled world of a level (the ".bsp" Level Model file): points, vertex pool, surfaces,
// BSP nodes, lightmap records and the tables linking them to the level's actors. One object per
// loaded level, shared by the renderer and collision; the level loader frees it at the next load.
#pragma once

#include "content/WorldTriangle.h"
#include "core/Array.h"
#include "core/Image.h"
#include "core/Vector.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace orv {

struct Actor;
struct Texture;

constexpr int32_t kLevelModelVersion = 24;
constexpr int kMaxNodeVertices = 32;
constexpr uint8_t kNoZone = 63;

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

struct LevelActorRef {
    std::string ClassName;
    std::string Name;
    Actor* Resolved = nullptr; // set after the T3D is read
};

struct LightmapRecord {
    // From the file.
    int32_t ShadowOffset = -1; // -1: no data, skipped everywhere
    float PanX = 0, PanY = 0, PanZ = 0;
    int32_t Width = 0, Height = 0;
    float UScale = 0, VScale = 0;
    int32_t FirstLight = -1; // index into the light index list, -1 for none
    // Filled when lightmaps are prepared.
    int32_t AtlasX = 0, AtlasY = 0, AtlasWidth = 0, AtlasHeight = 0;
    uint32_t Ambient = 0xFF000000u;
    int32_t Surface = -1;
    uint8_t UsedThisFrame = 0;
    uint8_t HasDynamicLights = 0;
    bool Placed = false;
    Image Static; // the static light, AtlasWidth x Height
};

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
    // Resolved at load and after the T3D.
    Texture* Tex = nullptr;
    Actor* Zone = nullptr;
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
    // Run-time state.
    int32_t Extra = 0;           // the node-extras value, when the file has them
    int32_t DrawableCount = 0;
    int32_t RenderBound = -1;
    int32_t VisibleFrames = 0;
    std::vector<Actor*> NegativeActors; // actors in the space behind the plane with no back child
    std::vector<Actor*> PositiveActors; // the same in front
};

struct RenderBound {
    Vector Min;
    Vector Max;
    int32_t Count = 0; // drawable polygons inside
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

    // Resolved after the T3D is read.
    Array<Actor*> LightActors; // beside LightIndices
    Array<Actor*> ZoneActors;  // beside ZoneIndices, indexed by zone number
    Array<RenderBound> RenderBounds;
    Texture* Atlas = nullptr;

    // The zone actor of a zone number, or null (63, beyond the table or an empty slot).
    Actor* ZoneActor(int zone) const;
    // Number of lights on a lightmap's list (entries before the ending 0).
    int LightCount(const LightmapRecord& lightmap) const;
};

using TextureResolver = std::function<Texture*(std::string_view name)>;

// Reads a Level Model; any failure is fatal ("Bad Level Model header. (PATH)" for a wrong version,
// "Bad Level Model: <what> out of range (PATH, offset N)" for counts and indices that do not fit).
// Surface textures go through resolve (an empty name is passed as is). Then computes the render
// preparation (DrawableCount and render bounds).
void LoadLevelModel(LevelModel& model, std::string_view path, const TextureResolver& resolve);
void LoadLevelModelFromMemory(LevelModel& model, std::string_view name, std::vector<uint8_t> bytes,
                              const TextureResolver& resolve);

// The exact inverse of the reader: the file's bytes for a model.
std::vector<uint8_t> WriteLevelModel(const LevelModel& model);

// DrawableCount of every node reachable from the root and the render bounds.
void PrepareRenderBounds(LevelModel& model);

// Frees lightmap images and every array.
void FreeLevelModel(LevelModel& model);

// Turns every node polygon into world triangles (flags gain 0x1 with 0x80, normals negated),
// linking each to its zone actor (the surface's zone, else levelInfo).
void BuildWorldTriangles(const LevelModel& model, Array<WorldTriangle>& triangles, Actor* levelInfo);

} // namespace orv
