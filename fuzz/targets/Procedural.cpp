// A fire (".firet", first byte even) or water (".wett", odd) texture file, read, built and run
// for a second of steps, with a picture for the water to refract.
#include "FuzzSupport.h"

#include "content/ProceduralTexture.h"
#include "core/BinaryReader.h"

#include <algorithm>
#include <memory>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace orv;
    // Up to a second of steps, fewer for large textures, so each run stays quick.
    constexpr int kMaxSteps = 60;
    constexpr int64_t kCellStepBudget = 1 << 22;
    if (size == 0) {
        return 0;
    }
    const bool fire = (data[0] & 1) == 0;
    fuzz::Guarded([&] {
        BinaryReader reader(fire ? "Fuzz.firet" : "Fuzz.wett", std::vector<uint8_t>(data + 1, data + size));
        std::unique_ptr<ProceduralTexture> texture;
        Texture source;
        if (fire) {
            texture = MakeFireTexture(ReadFireTextureFile(reader));
        } else {
            auto wet = MakeWetTexture(ReadWetTextureFile(reader));
            source.Pixels = Image(8, 8, 0xFF808080u);
            wet->SourceTexture = &source;
            texture = std::move(wet);
        }
        const int64_t cells = std::max<int64_t>(int64_t{texture->Width()} * texture->Height(), 1);
        const int64_t steps = std::clamp<int64_t>(kCellStepBudget / cells, 1, kMaxSteps);
        for (int64_t step = 0; step < steps; ++step) {
            texture->Update(1.0f / 60.0f);
        }
    });
    return 0;
}
