// Vertex meshes: frames of packed vertices, triangles, animation sequences and notifies, and the
// mesh table's lookups. The two files a mesh is read from are MeshFiles.h's.
#pragma once

#include "core/Array.h"
#include "core/Rotator.h"
#include "core/Vector.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace orv {

struct Resources;
struct Texture;

// Frames a second of a sequence whose directive gives no RATE.
constexpr float kDefaultSequenceRate = 30.0f;

struct MeshSequence {
    std::string Name;
    int32_t StartFrame = 0;
    int32_t NumFrames = 0;
    float Rate = kDefaultSequenceRate; // frames per second
};

// Notifies of one mesh that can fire: the animation keeps a 64-bit mask of fired ones.
constexpr int kMaxMeshNotifies = 64;
// A frame stores each vertex packed in 32 bits (MeshFiles.h).
constexpr int kPackedVertexBytes = 4;
// Skin slots of a mesh, one per texture number a triangle can carry (0..15).
constexpr int kMeshSkinSlots = 16;

struct MeshNotify {
    std::string Sequence;
    float Time = 0.0f; // fraction of the sequence, 0..1
    std::string Function;
};

// The low bits of a triangle's type byte say how it is drawn; the flag bit marks a triangle that
// is never drawn (a marker in the mesh, not a surface).
enum MeshTriangleType : uint8_t {
    kMeshNormal = 0,
    kMeshTwoSided = 1,
    kMeshTranslucent = 2,
    kMeshMasked = 3,
    kMeshModulated = 4,
};
constexpr uint8_t kMeshTypeMask = 0x07;
constexpr uint8_t kMeshTriangleHidden = 0x08;

// One triangle of the data file, as stored (16 bytes).
struct MeshTriangle {
    uint16_t Vertex[3] = {0, 0, 0};
    uint8_t Type = 0; // bit 0x08: not drawn
    uint8_t Color = 0;
    uint8_t Tex[3][2] = {{0, 0}, {0, 0}, {0, 0}}; // U then V, texels of a 256 x 256 page
    uint8_t TextureNum = 0;
    uint8_t Flags = 0;
};

struct Mesh {
    std::string Package;
    std::string Name;
    Array<uint32_t> Frames; // packed vertices, frame after frame
    uint16_t NumFrames = 0;
    uint16_t FrameSize = 0; // bytes per frame, kPackedVertexBytes per vertex
    Array<MeshTriangle> Triangles;
    Vector Origin{0, 0, 0};
    Vector Scale{0.25f, 0.25f, 0.125f};
    Rotator RotOrigin{};
    Texture* Skins[kMeshSkinSlots] = {};
    Array<MeshSequence> Sequences;
    Array<MeshNotify> Notifies;

    int NumVertices() const { return FrameSize / kPackedVertexBytes; }
};

// Puts the empty fallback mesh at index 0 (start-up does this before any mesh loads).
void AddFallbackMesh(Resources& res);
Mesh* FindMesh(Resources& res, std::string_view fullName);
Mesh* LoadMesh(Resources& res, std::string_view fullName);
// Reads both files into mesh (all fields reset first) and applies the collected mesh directives
// of the mesh named by the animation file; package is where its skins are looked up.
void ReadMesh(Resources& res, Mesh& mesh, std::string_view animationPath, std::string_view dataPath,
              std::string_view package);
// The vertex at (frame modulo NumFrames) * vertex count + vertex; (0, 0, 0) for a mesh without frames.
Vector GetMeshVertex(const Mesh& mesh, uint16_t frame, uint16_t vertex);

} // namespace orv
