// A texture picture (PNG, BMP, TGA, PCX and the rest the decoder takes), decoded and turned into
// the bytes every upload mode sends.
#include "FuzzSupport.h"

#include "content/ImageFile.h"
#include "content/Texture.h"
#include "core/Image.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace orv;
    fuzz::Guarded([&] {
        Image image;
        if (DecodeImageMemory(data, size, image)) {
            TextureUploadBytes(image, 0);
            TextureUploadBytes(image, kUploadColourKey);
            TextureUploadBytes(image, kUploadKeepAlpha);
        }
    });
    return 0;
}
