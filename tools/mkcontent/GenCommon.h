// Shared pieces of the demo-content generator: name-seeded random numbers, colours, and the
// output tree every generator writes into.
#pragma once

#include "core/Image.h"
#include "core/Random.h"

#include <cstdint>
#include <filesystem>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace orv {

// A stable 64-bit hash (FNV-1a) of a name: every generator seeds its own random numbers from the
// name of what it makes, so the output never depends on the order the generators run in.
uint64_t NameSeed(std::string_view name);

// A random generator already seeded from a name.
RandomGenerator SeededRandom(std::string_view name);

// A colour with float channels in 0..1.
struct Rgba {
    float R = 0.0f;
    float G = 0.0f;
    float B = 0.0f;
    float A = 1.0f;
};

Rgba MixRgba(const Rgba& a, const Rgba& b, float t);
Rgba ScaleRgb(const Rgba& c, float s);
// Packs to 0xAARRGGBB with each channel clamped to 0..1 and rounded.
uint32_t PackRgba(const Rgba& c);
Rgba UnpackRgba(uint32_t pixel);
Rgba HexRgb(uint32_t rrggbb);

float Clamp01(float v);
float SmoothStep(float edge0, float edge1, float x);

// Where the generated files go. Paths are written the engine's way ("Textures\Zelkor\...") and
// created with exactly that letter case under the root. Safe to use from several threads.
class OutputTree {
public:
    explicit OutputTree(std::filesystem::path root);

    const std::filesystem::path& Root() const { return root_; }
    std::filesystem::path RealPath(std::string_view relative) const;

    bool WriteBytes(std::string_view relative, const std::vector<uint8_t>& bytes);
    bool WriteText(std::string_view relative, std::string_view text);
    bool WritePng(std::string_view relative, const Image& image, bool withAlpha);
    bool MakeDirectory(std::string_view relative);

    // Records a failure; the program reports every one and exits non-zero.
    void Fail(const std::string& message);
    std::vector<std::string> Errors() const;
    int FilesWritten() const;

private:
    std::filesystem::path root_;
    mutable std::mutex lock_;
    std::vector<std::string> errors_;
    int filesWritten_ = 0;
};

} // namespace orv
