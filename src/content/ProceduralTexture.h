// Textures that compute their own pixels every frame: fire (heat field and sparks) and water
// (a damped wave over a source picture). Loading them from .firet and .wett files is here, and
// each one's step (FireTexture.cpp, WetTexture.cpp); when they step and upload is the
// renderer's.
#pragma once

#include "content/Texture.h"
#include "core/Array.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace orv {

class BinaryReader;

// A fire texture's palette: one colour for each heat value of a byte.
constexpr size_t kFirePaletteSize = 256;
// The wave amplitude of a water texture whose file says 0.
constexpr uint8_t kDefaultWaveAmplitude = 128;

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
    std::array<uint32_t, kFirePaletteSize> Palette{}; // 0xAARRGGBB heat-to-colour
    uint8_t bRising = 0;
    uint8_t RenderHeat = 0;
    int32_t SparkLimit = 0; // 0 means 1024
    std::vector<FireSpark> Sparks;
};

struct WetTextureFile {
    int32_t Width = 0;
    int32_t Height = 0;
    std::string SourceTexture;
    uint8_t WaveAmplitude = 0; // 0 means kDefaultWaveAmplitude
    std::vector<WetDrop> Drops;
};

std::vector<uint8_t> WriteFireTextureFile(const FireTextureFile& fire);
std::vector<uint8_t> WriteWetTextureFile(const WetTextureFile& wet);

// What is wrong with a procedural texture file: nothing (an empty message), or the message
// naming the file and offset; BadHeader for a wrong version, which the texture loader keeps fatal.
struct ProceduralProblem {
    std::string Message;
    bool BadHeader = false;
};

// A wrong version ("Bad FireTexture header. (PATH)", "Bad WetTexture header. (PATH)"), sizes that
// are not powers of two up to 4096, a spark limit above 65536, a negative count or a short file.
// The Try readers stop at the first and say what it was; the plain readers make it fatal.
ProceduralProblem TryReadFireTextureFile(BinaryReader& reader, FireTextureFile& fire);
ProceduralProblem TryReadWetTextureFile(BinaryReader& reader, WetTextureFile& wet);
FireTextureFile ReadFireTextureFile(BinaryReader& reader);
WetTextureFile ReadWetTextureFile(BinaryReader& reader);

struct ProceduralTexture : Texture {
    bool IsProcedural() const override { return true; }

    uint32_t UMask = 0; // width - 1
    uint32_t VMask = 0; // height - 1
};

// A spark emitted by a fire texture's heat source while it flies and cools.
struct FireMovingSpark {
    uint8_t Alive = 0;
    uint8_t Type = 0;
    int32_t Heat = 0;
    int32_t Age = 0;
    float X = 0.0f;
    float Y = 0.0f;
    float VX = 0.0f;
    float VY = 0.0f;
};

struct FireTexture : ProceduralTexture {
    // One step whatever the time: average the heat, plot the sources, move the sparks, colour
    // the image. Draws from the engine's random generator.
    void Update(float deltaTime) override;

    std::array<uint32_t, kFirePaletteSize> Palette{}; // heat to colour, 0xAARRGGBB
    uint8_t bRising = 0;
    uint8_t RenderHeat = 0;
    Array<FireSpark> Sparks;       // the heat sources, from the file
    std::vector<uint16_t> Field;   // width * height heat cells, row 0 at the top
    Array<FireMovingSpark> Moving; // as many slots as the file's spark limit (0 means 1024)
    uint32_t FrameCount = 0;
};

struct WetTexture : ProceduralTexture {
    // Advances Time; with a source picture, drives the drops, steps the wave once and refracts
    // the source into the image. Without one the image keeps what it shows.
    void Update(float deltaTime) override;

    std::string SourceName;           // as written in the file; empty for none
    Texture* SourceTexture = nullptr; // the picture the water refracts
    uint8_t WaveAmplitude = kDefaultWaveAmplitude; // a 0 in the file means the default
    float Time = 0.0f;
    Array<WetDrop> Drops;
    std::vector<int32_t> WaveHeight; // width * height, row-major
    std::vector<int32_t> WaveSpeed;  // width * height, row-major
};

// The largest side a procedural texture may have.
constexpr int32_t kMaxProceduralSize = 4096;
// Spark slots of a fire texture whose file says 0, and the most a file may ask for.
constexpr int32_t kDefaultSparkLimit = 1024;
constexpr int32_t kMaxSparkLimit = 65536;

// Builds the textures from their file records: fields copied, the working buffers sized, the
// image made black. The caller uploads the image and loads the water's source picture.
std::unique_ptr<FireTexture> MakeFireTexture(const FireTextureFile& file);
std::unique_ptr<WetTexture> MakeWetTexture(const WetTextureFile& file);

} // namespace orv
