// glReadPixels, gamma table and PNG.
#include "render/Screenshot.h"

#include "content/ImageFile.h"
#include "core/Vfs.h"

#include <GL/gl.h>

#include <cmath>
#include <cstdio>
#include <vector>

namespace orv {

std::array<uint8_t, 256> ScreenshotGammaTable(float gamma) {
    const double g = gamma > 0.0f ? gamma : 1.0;
    std::array<uint8_t, 256> table{};
    for (int i = 0; i < 256; ++i) {
        const double value = std::round(256.0 * std::pow(i / 256.0, 1.0 / g));
        table[static_cast<size_t>(i)] = static_cast<uint8_t>(value > 255.0 ? 255.0 : value);
    }
    return table;
}

std::string NextScreenshotName() {
    for (int n = 0;; ++n) {
        char name[32];
        std::snprintf(name, sizeof name, "Shot%04d.png", n);
        if (!FileExists(name)) {
            return name;
        }
    }
}

Image FrameToImage(const uint8_t* rgba, int width, int height, const std::array<uint8_t, 256>& table) {
    Image image(width, height);
    for (int r = 0; r < height; ++r) {
        const uint8_t* in = rgba + static_cast<size_t>(height - 1 - r) * static_cast<size_t>(width) * 4;
        for (int x = 0; x < width; ++x, in += 4) {
            image.At(x, r) = 0xFF000000u | (uint32_t(table[in[0]]) << 16) | (uint32_t(table[in[1]]) << 8) | table[in[2]];
        }
    }
    return image;
}

std::string TakeScreenshot(int width, int height, float gamma) {
    if (width <= 0 || height <= 0) {
        return {};
    }
    std::vector<uint8_t> frame(static_cast<size_t>(width) * static_cast<size_t>(height) * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, frame.data());
    const Image image = FrameToImage(frame.data(), width, height, ScreenshotGammaTable(gamma));
    const std::string name = NextScreenshotName();
    return WritePngFile(name, image, false) ? name : std::string();
}

} // namespace orv
