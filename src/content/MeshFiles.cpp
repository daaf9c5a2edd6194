// The two-file vertex mesh format: <name>_a.3d holds every frame's packed vertices, <name>_d.3d
// the triangles. Readers and writers, and the packing of a vertex into 32 bits.
#include "content/MeshFiles.h"

#include "core/BinaryReader.h"
#include "core/BinaryWriter.h"
#include "core/Fatal.h"
#include "core/Log.h"

#include <algorithm>
#include <cmath>

namespace orv {

namespace {

// The data file: triangle and vertex counts (16 bits each) in a header of 48 bytes, the rest of
// it unused, then 16 bytes a triangle.
constexpr size_t kDataHeaderSize = 48;
constexpr size_t kDataCountsSize = 2 * sizeof(uint16_t);
constexpr size_t kTriangleSize = 16;
constexpr size_t kMaxTriangles = 0xFFFF;
constexpr uint16_t kMaxVertexCount = 0xFFFF / kPackedVertexBytes; // FrameSize is 16 bits

// A packed vertex: X in bits 0-10, Y in bits 11-21, Z in bits 22-31. Z is two's complement,
// -512..511; X and Y read 1025..2047 as negative, so they run -1023..1024.
constexpr int kXYBits = 11;
constexpr int kZBits = 10;
constexpr uint32_t kXYMask = (1u << kXYBits) - 1;
constexpr uint32_t kZMask = (1u << kZBits) - 1;
constexpr int32_t kXYLowest = -1023;
constexpr int32_t kXYHighest = 1024;
constexpr int32_t kZLowest = -512;
constexpr int32_t kZHighest = 511;

// Rounded to the nearest unit and clamped; NaN packs as 0.
int32_t PackComponent(float value, int32_t lowest, int32_t highest) {
    if (std::isnan(value)) {
        return 0;
    }
    const float clamped = std::clamp(value, static_cast<float>(lowest), static_cast<float>(highest));
    return static_cast<int32_t>(std::lround(clamped));
}

// A field read back: values above highest stand for value - 2^bits.
int32_t UnpackField(uint32_t field, int bits, int32_t highest) {
    const int32_t value = static_cast<int32_t>(field);
    return value > highest ? value - (int32_t(1) << bits) : value;
}

bool TriangleFits(const MeshTriangle& t, int vertexCount) {
    for (uint16_t v : t.Vertex) {
        if (v >= vertexCount) {
            return false;
        }
    }
    return t.TextureNum < kMeshSkinSlots;
}

MeshTriangle ReadTriangle(BinaryReader& reader) {
    MeshTriangle t;
    for (uint16_t& v : t.Vertex) {
        v = reader.U16();
    }
    t.Type = reader.U8();
    t.Color = reader.U8();
    for (auto& uv : t.Tex) {
        uv[0] = reader.U8();
        uv[1] = reader.U8();
    }
    t.TextureNum = reader.U8();
    t.Flags = reader.U8();
    return t;
}

} // namespace

uint32_t PackMeshVertex(const Vector& v) {
    const uint32_t x = static_cast<uint32_t>(PackComponent(v.X, kXYLowest, kXYHighest)) & kXYMask;
    const uint32_t y = static_cast<uint32_t>(PackComponent(v.Y, kXYLowest, kXYHighest)) & kXYMask;
    const uint32_t z = static_cast<uint32_t>(PackComponent(v.Z, kZLowest, kZHighest)) & kZMask;
    return x | (y << kXYBits) | (z << (2 * kXYBits));
}

Vector UnpackMeshVertex(uint32_t packed) {
    const int32_t x = UnpackField(packed & kXYMask, kXYBits, kXYHighest);
    const int32_t y = UnpackField((packed >> kXYBits) & kXYMask, kXYBits, kXYHighest);
    const int32_t z = UnpackField(packed >> (2 * kXYBits), kZBits, kZHighest);
    return {static_cast<float>(x), static_cast<float>(y), static_cast<float>(z)};
}

std::vector<uint8_t> WriteMeshAnimationFile(uint16_t numFrames, uint16_t vertexCount, const std::vector<uint32_t>& frames) {
    if (vertexCount > kMaxVertexCount) {
        FatalError("A mesh frame holds at most " + std::to_string(kMaxVertexCount) + " vertices, not " +
                   std::to_string(vertexCount));
    }
    const size_t expected = static_cast<size_t>(numFrames) * vertexCount;
    if (frames.size() != expected) {
        FatalError("Mesh animation of " + std::to_string(numFrames) + " frames of " + std::to_string(vertexCount) +
                   " vertices needs " + std::to_string(expected) + " packed vertices, not " + std::to_string(frames.size()));
    }
    BinaryWriter w;
    w.U16(numFrames);
    w.U16(static_cast<uint16_t>(vertexCount * kPackedVertexBytes));
    for (uint32_t packed : frames) {
        w.U32(packed);
    }
    return w.Take();
}

std::vector<uint8_t> WriteMeshDataFile(uint16_t vertexCount, const std::vector<MeshTriangle>& triangles) {
    if (triangles.size() > kMaxTriangles) {
        FatalError("A mesh holds at most " + std::to_string(kMaxTriangles) + " triangles, not " +
                   std::to_string(triangles.size()));
    }
    BinaryWriter w;
    w.U16(static_cast<uint16_t>(triangles.size()));
    w.U16(vertexCount);
    for (size_t i = kDataCountsSize; i < kDataHeaderSize; ++i) {
        w.U8(0);
    }
    for (const MeshTriangle& t : triangles) {
        for (uint16_t v : t.Vertex) {
            w.U16(v);
        }
        w.U8(t.Type);
        w.U8(t.Color);
        for (const auto& uv : t.Tex) {
            w.U8(uv[0]);
            w.U8(uv[1]);
        }
        w.U8(t.TextureNum);
        w.U8(t.Flags);
    }
    return w.Take();
}

void ReadMeshAnimationFile(BinaryReader& reader, Mesh& mesh) {
    mesh.NumFrames = reader.U16();
    mesh.FrameSize = reader.U16();
    if (mesh.FrameSize % kPackedVertexBytes != 0) {
        FatalError("FrameSize not a multiply of four (" + reader.Name() + ")");
    }
    const size_t count = static_cast<size_t>(mesh.NumFrames) * mesh.NumVertices();
    if (count * kPackedVertexBytes > reader.Remaining()) {
        reader.FailTruncated(reader.Offset());
    }
    mesh.Frames.Resize(static_cast<int>(count));
    for (uint32_t& packed : mesh.Frames) {
        packed = reader.U32();
    }
}

void ReadMeshDataFile(BinaryReader& reader, Mesh& mesh) {
    const uint16_t triangleCount = reader.U16();
    const uint16_t vertexCount = reader.U16();
    if (mesh.FrameSize != static_cast<uint32_t>(vertexCount) * kPackedVertexBytes) {
        Log("Warning (" + reader.Name() + "): FrameSize <> NumVerts*4");
    }
    reader.Seek(kDataHeaderSize);
    if (static_cast<size_t>(triangleCount) * kTriangleSize > reader.Remaining()) {
        reader.FailTruncated(reader.Offset());
    }
    mesh.Triangles.Clear();
    mesh.Triangles.Reserve(triangleCount);
    int dropped = 0;
    for (int i = 0; i < triangleCount; ++i) {
        const MeshTriangle t = ReadTriangle(reader);
        if (TriangleFits(t, mesh.NumVertices())) {
            mesh.Triangles.Add(t);
        } else {
            ++dropped;
        }
    }
    if (dropped > 0) {
        Log("Warning (" + reader.Name() + "): " + std::to_string(dropped) +
            " triangles with a bad vertex index or texture number dropped");
    }
}

} // namespace orv
