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

constexpr size_t kDataHeaderSize = 48;
constexpr size_t kTriangleSize = 16;
constexpr uint16_t kMaxVertexCount = 0xFFFF / 4; // FrameSize is 16 bits, 4 bytes per vertex
constexpr int kMaxTextureNum = 15;

// Rounded to the nearest unit and clamped; NaN packs as 0.
int32_t PackComponent(float value, int32_t lowest, int32_t highest) {
    if (std::isnan(value)) {
        return 0;
    }
    const float clamped = std::clamp(value, static_cast<float>(lowest), static_cast<float>(highest));
    return static_cast<int32_t>(std::lround(clamped));
}

int32_t UnpackXY(uint32_t field) { return field > 1024 ? static_cast<int32_t>(field) - 2048 : static_cast<int32_t>(field); }

bool TriangleFits(const MeshTriangle& t, int vertexCount) {
    for (uint16_t v : t.Vertex) {
        if (v >= vertexCount) {
            return false;
        }
    }
    return t.TextureNum <= kMaxTextureNum;
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
    const uint32_t x = static_cast<uint32_t>(PackComponent(v.X, -1023, 1024)) & 0x7FFu;
    const uint32_t y = static_cast<uint32_t>(PackComponent(v.Y, -1023, 1024)) & 0x7FFu;
    const uint32_t z = static_cast<uint32_t>(PackComponent(v.Z, -512, 511)) & 0x3FFu;
    return x | (y << 11) | (z << 22);
}

Vector UnpackMeshVertex(uint32_t packed) {
    const int32_t x = UnpackXY(packed & 0x7FFu);
    const int32_t y = UnpackXY((packed >> 11) & 0x7FFu);
    const uint32_t zField = packed >> 22;
    const int32_t z = zField >= 512 ? static_cast<int32_t>(zField) - 1024 : static_cast<int32_t>(zField);
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
    w.U16(static_cast<uint16_t>(vertexCount * 4));
    for (uint32_t packed : frames) {
        w.U32(packed);
    }
    return w.Take();
}

std::vector<uint8_t> WriteMeshDataFile(uint16_t vertexCount, const std::vector<MeshTriangle>& triangles) {
    if (triangles.size() > 0xFFFF) {
        FatalError("A mesh holds at most 65535 triangles, not " + std::to_string(triangles.size()));
    }
    BinaryWriter w;
    w.U16(static_cast<uint16_t>(triangles.size()));
    w.U16(vertexCount);
    for (size_t i = 4; i < kDataHeaderSize; ++i) {
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
    if (mesh.FrameSize % 4 != 0) {
        FatalError("FrameSize not a multiply of four (" + reader.Name() + ")");
    }
    const size_t count = static_cast<size_t>(mesh.NumFrames) * (mesh.FrameSize / 4);
    if (count * 4 > reader.Remaining()) {
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
    if (mesh.FrameSize != static_cast<uint32_t>(vertexCount) * 4) {
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
