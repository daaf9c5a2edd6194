// The two files of a vertex mesh: <name>_a.3d (frames) and <name>_d.3d (triangles), with a
// writer for each. Tools and tests make their meshes with the writers; every writer's output
// reads back through the reader unchanged.
#pragma once

#include "content/Mesh.h"

#include <cstdint>
#include <string_view>
#include <vector>

namespace orv {

class BinaryReader;

// The two files of mesh Name: Name_a.3d and Name_d.3d (the suffixes are the same length).
constexpr std::string_view kMeshAnimationSuffix = "_a.3d";
constexpr std::string_view kMeshDataSuffix = "_d.3d";
static_assert(kMeshAnimationSuffix.size() == kMeshDataSuffix.size());

// Packs a mesh-space point: X and Y in -1023..1024 (11 bits), Z in -512..511 (10 bits), each
// rounded to the nearest unit and clamped into its range.
uint32_t PackMeshVertex(const Vector& v);
Vector UnpackMeshVertex(uint32_t packed);

// frames holds numFrames * vertexCount packed vertices, frame after frame.
std::vector<uint8_t> WriteMeshAnimationFile(uint16_t numFrames, uint16_t vertexCount,
                                            const std::vector<uint32_t>& frames);
std::vector<uint8_t> WriteMeshDataFile(uint16_t vertexCount, const std::vector<MeshTriangle>& triangles);

// The readers behind ReadMesh. The animation file gives NumFrames, FrameSize and Frames (a
// FrameSize that is not a multiple of 4 is fatal); the data file gives Triangles, warns when its
// vertex count disagrees with FrameSize and drops, with one warning, every triangle whose corner
// is not below the frame's vertex count or whose texture number has no skin slot.
void ReadMeshAnimationFile(BinaryReader& reader, Mesh& mesh);
void ReadMeshDataFile(BinaryReader& reader, Mesh& mesh);

} // namespace orv
