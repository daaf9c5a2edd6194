// Textures reach the graphics card here: the OpenGL side of the texture table's uploads.
#pragma once

#include "content/Resources.h"

#include <cstdint>
#include <vector>

namespace orv {

class GlTextureUploader final : public TextureUploader {
public:
    // Needs a current GL context. Returns 0 for an empty image.
    uint32_t UploadTexture(const Image& image, int mode) override;
    uint32_t UploadGeneratedImage(const Image& image, bool nearestFilter) override;
    // Rows y + h - 1 down to y of the rectangle go through one scratch buffer shared by every
    // call; the rectangle is clipped to the image. The texture bound before is bound again after.
    void UploadTextureRegion(const Texture& texture, int x, int y, int w, int h) override;
    void DeleteTexture(uint32_t glTexture) override;

private:
    std::vector<uint8_t> scratch_;
};

} // namespace orv
