// Helpers for the content tests.
#include "content/ContentTestSupport.h"

#include "content/ImageFile.h"
#include "core/Vfs.h"

namespace orv::test {

void ContentTree::SetUp() {
    oldDirectory_ = std::filesystem::current_path();
    std::filesystem::current_path(Dir.Path());
    InvalidateVfsCache();
    Res.Uploader = &Uploader;
}

void ContentTree::TearDown() {
    std::filesystem::current_path(oldDirectory_);
    InvalidateVfsCache();
}

std::string WritePng(const TempDir& dir, const std::string& relative, uint32_t topLeft, int width, int height) {
    Image image(width, height, 0xFF808080u);
    image.At(0, 0) = topLeft;
    return WriteBytes(dir, relative, EncodePng(image, true));
}

} // namespace orv::test
