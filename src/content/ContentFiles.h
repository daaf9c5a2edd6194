// The engine's own binary content formats as plain records, with a writer for each. Tools
// (the demo-content generator) and tests make their files with these writers; every writer's
// output reads back through the engine's loader unchanged.
#pragma once

#include "content/Resources.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace orv {

class BinaryReader;

// --- Vertex meshes: <name>_a.3d (frames) and <name>_d.3d (triangles) ---

// Packs a mesh-space point: X and Y in -1023..1024 (11 bits), Z in -512..511 (10 bits), each
// rounded to the nearest unit and clamped into its range.
uint32_t PackMeshVertex(const Vector& v);

// frames holds numFrames * vertexCount packed vertices, frame after frame.
std::vector<uint8_t> WriteMeshAnimationFile(uint16_t numFrames, uint16_t vertexCount, const std::vector<uint32_t>& frames);
std::vector<uint8_t> WriteMeshDataFile(uint16_t vertexCount, const std::vector<MeshTriangle>& triangles);

// The readers behind ReadMesh. The animation file gives NumFrames, FrameSize and Frames (a
// FrameSize that is not a multiple of 4 is fatal); the data file gives Triangles, warns when its
// vertex count disagrees with FrameSize and drops, with one warning, every triangle whose corner
// is not below the frame's vertex count or whose texture number is above 15.
void ReadMeshAnimationFile(BinaryReader& reader, Mesh& mesh);
void ReadMeshDataFile(BinaryReader& reader, Mesh& mesh);

// --- Fonts: .font ---

struct FontCharacter {
    int32_t StartU = 0;
    int32_t StartV = 0;
    int32_t USize = 0;
    int32_t VSize = 0;
};

struct FontPage {
    Texture* PageTexture = nullptr;
    Array<FontCharacter> Characters; // one per character code, from 0
};

struct Font {
    Array<FontPage> Pages;
    int32_t Height = 0; // largest VSize of any character; 0 when there are none
};

struct FontPageFile {
    std::string TextureName;
    std::vector<FontCharacter> Characters;
};

std::vector<uint8_t> WriteFontFile(const std::vector<FontPageFile>& pages);
// Reads a font; a wrong header (or a missing file) is fatal: Bad Font header. (PATH)
std::unique_ptr<Font> LoadFont(Resources& res, std::string_view path);
// The same over bytes already read; the reader's name stands for the path.
std::unique_ptr<Font> ReadFont(Resources& res, BinaryReader& reader);

// --- Procedural textures: .firet and .wett ---

// An 8-byte record of a fire texture's heat source, as stored.
struct FireSpark {
    uint8_t Type = 0;
    uint8_t Heat = 0;
    uint8_t X = 0;
    uint8_t Y = 0;
    uint8_t ByteA = 0;
    uint8_t ByteB = 0;
    uint8_t ByteC = 0;
    uint8_t ByteD = 0;
};

// An 8-byte record of a wet texture's oscillating source, as stored.
struct WetDrop {
    uint8_t Type = 0;
    uint8_t Depth = 0;
    uint8_t X = 0;
    uint8_t Y = 0;
    uint8_t ByteA = 0;
    uint8_t ByteB = 0;
    uint8_t Phase = 0;
    uint8_t ByteD = 0;
};

struct FireTextureFile {
    int32_t Width = 0;
    int32_t Height = 0;
    std::array<uint32_t, 256> Palette{}; // 0xAARRGGBB heat-to-colour
    uint8_t bRising = 0;
    uint8_t RenderHeat = 0;
    int32_t SparkLimit = 0; // 0 means 1024
    std::vector<FireSpark> Sparks;
};

struct WetTextureFile {
    int32_t Width = 0;
    int32_t Height = 0;
    std::string SourceTexture;
    uint8_t WaveAmplitude = 0; // 0 means 128
    std::vector<WetDrop> Drops;
};

std::vector<uint8_t> WriteFireTextureFile(const FireTextureFile& fire);
std::vector<uint8_t> WriteWetTextureFile(const WetTextureFile& wet);

// A wrong version is fatal ("Bad FireTexture header. (PATH)", "Bad WetTexture header. (PATH)"),
// as are sizes that are not powers of two up to 4096, a negative count or a short file.
FireTextureFile ReadFireTextureFile(BinaryReader& reader);
WetTextureFile ReadWetTextureFile(BinaryReader& reader);

} // namespace orv
