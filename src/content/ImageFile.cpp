// stb_image / stb_image_write glue.
#include "content/ImageFile.h"

#include "core/Vfs.h"

#include <climits>
#include <cstring>
#include <string>

#define STB_IMAGE_IMPLEMENTATION
#define STB_IMAGE_STATIC
#define STBI_ONLY_PNG
#define STBI_ONLY_JPEG
#define STBI_ONLY_BMP
#define STBI_NO_STDIO
#include <stb_image.h>

#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STB_IMAGE_WRITE_STATIC
#define STBI_WRITE_NO_STDIO
#include <stb_image_write.h>

namespace orv {

namespace {
// Bytes a pixel in stb's buffers: red, green, blue, and alpha when there is one.
constexpr int kRgbaChannels = 4;
constexpr int kRgbChannels = 3;

constexpr uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
constexpr size_t kPngChunkHeader = 8; // length, type
constexpr size_t kPngChunkCrc = 4;

uint32_t BigEndian32(const uint8_t* p) {
    return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | uint32_t(p[3]);
}

// Walks a PNG's chunks before the decoder sees them. A chunk that says it runs past the end of
// the file makes the file damaged (the decoder would first reserve all the memory it claims).
// Empty data chunks carry nothing, but the decoder copies out of a null buffer for an empty
// first one: they are dropped, into cleaned. Not a PNG: nothing to check.
enum class PngScan { NotPng, Fine, Cleaned, Damaged };

PngScan ScanPngChunks(const uint8_t* data, size_t size, std::vector<uint8_t>& cleaned) {
    if (size < sizeof kPngSignature || std::memcmp(data, kPngSignature, sizeof kPngSignature) != 0) {
        return PngScan::NotPng;
    }
    cleaned.assign(data, data + sizeof kPngSignature);
    bool dropped = false;
    size_t at = sizeof kPngSignature;
    while (size - at >= kPngChunkHeader) {
        const uint64_t whole = kPngChunkHeader + uint64_t{BigEndian32(data + at)} + kPngChunkCrc;
        if (whole > size - at) {
            return PngScan::Damaged;
        }
        if (whole == kPngChunkHeader + kPngChunkCrc && std::memcmp(data + at + 4, "IDAT", 4) == 0) {
            dropped = true;
        } else {
            cleaned.insert(cleaned.end(), data + at, data + at + whole);
        }
        at += whole;
    }
    cleaned.insert(cleaned.end(), data + at, data + size);
    return dropped ? PngScan::Cleaned : PngScan::Fine;
}

} // namespace

bool DecodeImageMemory(const uint8_t* data, size_t size, Image& out) {
    out = Image();
    if (!data || size == 0 || size > static_cast<size_t>(INT_MAX)) {
        return false;
    }
    std::vector<uint8_t> cleaned;
    switch (ScanPngChunks(data, size, cleaned)) {
    case PngScan::Damaged: return false;
    case PngScan::Cleaned:
        data = cleaned.data();
        size = cleaned.size();
        break;
    case PngScan::NotPng:
    case PngScan::Fine: break;
    }
    int width = 0, height = 0, channels = 0;
    if (!stbi_info_from_memory(data, static_cast<int>(size), &width, &height, &channels) || width <= 0 ||
        height <= 0 || width > kMaxImageSide || height > kMaxImageSide) {
        return false;
    }
    stbi_uc* pixels = stbi_load_from_memory(data, static_cast<int>(size), &width, &height, &channels, kRgbaChannels);
    if (!pixels) {
        return false;
    }
    out = Image(width, height);
    for (size_t i = 0; i < out.Pixels.size(); ++i) {
        const stbi_uc* p = pixels + i * kRgbaChannels;
        out.Pixels[i] = (uint32_t(p[3]) << 24) | (uint32_t(p[0]) << 16) | (uint32_t(p[1]) << 8) | uint32_t(p[2]);
    }
    stbi_image_free(pixels);
    return true;
}

bool DecodeImageFile(std::string_view path, Image& out) {
    std::vector<uint8_t> bytes;
    if (!ReadFileBytes(path, bytes)) {
        out = Image();
        return false;
    }
    return DecodeImageMemory(bytes.data(), bytes.size(), out);
}

std::vector<uint8_t> EncodePng(const Image& image, bool withAlpha) {
    std::vector<uint8_t> png;
    if (image.IsEmpty()) {
        return png;
    }
    const int channels = withAlpha ? kRgbaChannels : kRgbChannels;
    std::vector<uint8_t> raw(image.Pixels.size() * channels);
    for (size_t i = 0; i < image.Pixels.size(); ++i) {
        const uint32_t c = image.Pixels[i];
        uint8_t* p = raw.data() + i * channels;
        p[0] = uint8_t(c >> 16);
        p[1] = uint8_t(c >> 8);
        p[2] = uint8_t(c);
        if (withAlpha) {
            p[3] = uint8_t(c >> 24);
        }
    }
    auto append = [](void* context, void* data, int size) {
        auto* out = static_cast<std::vector<uint8_t>*>(context);
        const auto* bytes = static_cast<const uint8_t*>(data);
        out->insert(out->end(), bytes, bytes + size);
    };
    stbi_write_png_to_func(append, &png, image.Width, image.Height, channels, raw.data(), image.Width * channels);
    return png;
}

bool WritePngFile(std::string_view path, const Image& image, bool withAlpha) {
    const std::vector<uint8_t> png = EncodePng(image, withAlpha);
    if (png.empty()) {
        return false;
    }
    return WriteWholeFile(path, std::string_view(reinterpret_cast<const char*>(png.data()), png.size()));
}

} // namespace orv
