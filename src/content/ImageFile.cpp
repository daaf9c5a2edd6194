// stb_image / stb_image_write glue.
#include "content/ImageFile.h"

#include "core/Vfs.h"

#include <climits>
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
} // namespace

bool DecodeImageMemory(const uint8_t* data, size_t size, Image& out) {
    out = Image();
    if (!data || size == 0 || size > static_cast<size_t>(INT_MAX)) {
        return false;
    }
    int width = 0, height = 0, channels = 0;
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
