// PNG, JPEG and BMP decoding into 32-bit images, and PNG encoding (screenshots, generated
// content), through stb_image and stb_image_write.
#pragma once

#include "core/Image.h"

#include <cstdint>
#include <string_view>
#include <vector>

namespace orv {

// The largest side of a picture the engine takes; a file that says more is refused before its
// pixels are decoded.
constexpr int kMaxImageSide = 4096;

// Decodes a file found through the case-blind file system; false when it is missing, not a
// picture the decoder knows, or larger than kMaxImageSide on a side.
bool DecodeImageFile(std::string_view path, Image& out);
bool DecodeImageMemory(const uint8_t* data, size_t size, Image& out);

// PNG bytes of an image: RGB when withAlpha is false (alpha dropped), else RGBA.
std::vector<uint8_t> EncodePng(const Image& image, bool withAlpha);
bool WritePngFile(std::string_view path, const Image& image, bool withAlpha);

} // namespace orv
