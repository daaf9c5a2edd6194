// A ".font" file: pages of character rectangles over textures.
#include "FuzzSupport.h"

#include "content/Font.h"
#include "content/Resources.h"
#include "content/Texture.h"
#include "core/BinaryReader.h"

#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace orv;
    static Resources& res = *[] {
        auto* r = new Resources;
        fuzz::Guarded([r] { LoadFallbackTexture(*r); });
        return r;
    }();
    fuzz::Guarded([&] {
        BinaryReader reader("Fuzz.font", std::vector<uint8_t>(data, data + size));
        ReadFont(res, reader);
    });
    return 0;
}
