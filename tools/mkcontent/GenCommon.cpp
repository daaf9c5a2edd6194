// Name seeds, colour helpers and the output tree.
#include "GenCommon.h"

#include "content/ImageFile.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <system_error>

namespace orv {

uint64_t NameSeed(std::string_view name) {
    uint64_t hash = 0xcbf29ce484222325ULL;
    for (const char c : name) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 0x100000001b3ULL;
    }
    return hash;
}

RandomGenerator SeededRandom(std::string_view name) {
    RandomGenerator random;
    random.Seed(NameSeed(name));
    return random;
}

float Clamp01(float v) { return v < 0.0f ? 0.0f : (v > 1.0f ? 1.0f : v); }

float SmoothStep(float edge0, float edge1, float x) {
    const float t = Clamp01((x - edge0) / (edge1 - edge0));
    return t * t * (3.0f - 2.0f * t);
}

Rgba MixRgba(const Rgba& a, const Rgba& b, float t) {
    return {a.R + (b.R - a.R) * t, a.G + (b.G - a.G) * t, a.B + (b.B - a.B) * t, a.A + (b.A - a.A) * t};
}

Rgba ScaleRgb(const Rgba& c, float s) { return {c.R * s, c.G * s, c.B * s, c.A}; }

uint32_t PackRgba(const Rgba& c) {
    auto channel = [](float v) { return static_cast<uint32_t>(std::lround(Clamp01(v) * 255.0f)); };
    return (channel(c.A) << 24) | (channel(c.R) << 16) | (channel(c.G) << 8) | channel(c.B);
}

Rgba UnpackRgba(uint32_t pixel) {
    return {((pixel >> 16) & 0xFF) / 255.0f, ((pixel >> 8) & 0xFF) / 255.0f, (pixel & 0xFF) / 255.0f,
            ((pixel >> 24) & 0xFF) / 255.0f};
}

Rgba HexRgb(uint32_t rrggbb) { return UnpackRgba(0xFF000000u | rrggbb); }

OutputTree::OutputTree(std::filesystem::path root) : root_(std::move(root)) {}

std::filesystem::path OutputTree::RealPath(std::string_view relative) const {
    std::string path(relative);
    std::replace(path.begin(), path.end(), '\\', '/');
    return root_ / path;
}

bool OutputTree::MakeDirectory(std::string_view relative) {
    std::error_code error;
    const std::filesystem::path path = RealPath(relative);
    std::filesystem::create_directories(path, error);
    if (error && !std::filesystem::is_directory(path)) {
        Fail("cannot create folder " + path.string() + ": " + error.message());
        return false;
    }
    return true;
}

bool OutputTree::WriteBytes(std::string_view relative, const std::vector<uint8_t>& bytes) {
    const std::filesystem::path path = RealPath(relative);
    std::error_code error;
    std::filesystem::create_directories(path.parent_path(), error);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (out) {
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    if (!out) {
        Fail("cannot write " + path.string());
        return false;
    }
    std::lock_guard guard(lock_);
    ++filesWritten_;
    return true;
}

bool OutputTree::WriteText(std::string_view relative, std::string_view text) {
    return WriteBytes(relative, std::vector<uint8_t>(text.begin(), text.end()));
}

bool OutputTree::WritePng(std::string_view relative, const Image& image, bool withAlpha) {
    const std::vector<uint8_t> png = EncodePng(image, withAlpha);
    if (png.empty()) {
        Fail("cannot encode " + std::string(relative));
        return false;
    }
    return WriteBytes(relative, png);
}

void OutputTree::Fail(const std::string& message) {
    std::lock_guard guard(lock_);
    errors_.push_back(message);
}

std::vector<std::string> OutputTree::Errors() const {
    std::lock_guard guard(lock_);
    return errors_;
}

int OutputTree::FilesWritten() const {
    std::lock_guard guard(lock_);
    return filesWritten_;
}

} // namespace orv
