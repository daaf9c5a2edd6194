// The per-frame cost of the fire and water textures: one step of a 256 x 256 fire (rising and
// not) and of a 256 x 256 water texture, and the same with the whole-image upload that follows
// every step, on the headless GL context. Target: under 0.3 ms per step.
#include "content/ProceduralTexture.h"
#include "core/Random.h"
#include "platform/Window.h"
#include "render/GlTextureUploader.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

constexpr int kSize = 256;
constexpr float kStep = 1.0f / 60.0f;

// A wide blaze like a lava wall: hot cells along the bottom, sparkles, fading lines and
// spark emitters.
std::unique_ptr<orv::FireTexture> Blaze(bool rising) {
    orv::FireTextureFile file;
    file.Width = file.Height = kSize;
    for (uint32_t i = 0; i < orv::kFirePaletteSize; ++i) {
        file.Palette[i] = 0xFF000000u | i << 16 | (i * i / 255) << 8;
    }
    file.bRising = rising;
    file.RenderHeat = 244;
    for (int x = 0; x < kSize; x += 4) {
        file.Sparks.push_back({0, 255, static_cast<uint8_t>(x), 250});
    }
    for (int x = 8; x < kSize; x += 32) {
        file.Sparks.push_back({24, 255, static_cast<uint8_t>(x), 252, 12, 0});
        file.Sparks.push_back({3, 255, static_cast<uint8_t>(x + 16), 246});
        file.Sparks.push_back({5, 200, static_cast<uint8_t>(x + 4), 240});
    }
    return orv::MakeFireTexture(file);
}

struct Pool {
    orv::Texture Source;
    std::unique_ptr<orv::WetTexture> Water;
};

std::unique_ptr<Pool> MakePool() {
    auto pool = std::make_unique<Pool>();
    pool->Source.Pixels = orv::Image(kSize, kSize);
    for (size_t i = 0; i < pool->Source.Pixels.Pixels.size(); ++i) {
        pool->Source.Pixels.Pixels[i] = 0xFF000000u | static_cast<uint32_t>(i * 2654435761u >> 8);
    }
    orv::WetTextureFile file;
    file.Width = file.Height = kSize;
    file.WaveAmplitude = 90;
    orv::RandomGenerator random;
    for (int i = 0; i < 14; ++i) {
        file.Drops.push_back({0, static_cast<uint8_t>(90 + random.Next32() % 120),
                              static_cast<uint8_t>(random.Next32()), static_cast<uint8_t>(random.Next32()), 0, 0,
                              static_cast<uint8_t>(random.Next32()), 0});
    }
    pool->Water = orv::MakeWetTexture(file);
    pool->Water->SourceTexture = &pool->Source;
    return pool;
}

// One headless GL window for the uploads.
orv::Window* GlWindow() {
    static std::unique_ptr<orv::Window> window = [] {
        auto w = orv::CreateSdlWindow(true);
        orv::ScreenSettings settings;
        settings.Width = 64;
        settings.Height = 64;
        return w->Open(settings) == orv::kWindowOk ? std::move(w) : nullptr;
    }();
    return window.get();
}

// Steps the texture; with upload, sends its whole image to its GL texture after each step.
void Run(benchmark::State& state, orv::Texture& texture, bool upload) {
    std::unique_ptr<orv::GlTextureUploader> uploader;
    if (upload) {
        if (!GlWindow()) {
            state.SkipWithError("no headless GL context");
            return;
        }
        uploader = std::make_unique<orv::GlTextureUploader>();
        texture.GLTexture = uploader->UploadGeneratedImage(texture.Pixels, true);
    }
    for (int i = 0; i < 120; ++i) { // two seconds in: the heat and the waves are up
        texture.Update(kStep);
    }
    for (auto _ : state) {
        texture.Update(kStep);
        if (uploader) {
            uploader->UploadTextureRegion(texture, 0, 0, -1, -1);
        }
        benchmark::ClobberMemory();
    }
    if (uploader) {
        uploader->DeleteTexture(texture.GLTexture);
    }
    state.SetItemsProcessed(state.iterations());
}

void BM_FireStep(benchmark::State& state) {
    auto fire = Blaze(state.range(0) != 0);
    Run(state, *fire, state.range(1) != 0);
}
BENCHMARK(BM_FireStep)
    ->ArgNames({"rising", "upload"})
    ->Args({1, 0})
    ->Args({0, 0})
    ->Args({1, 1})
    ->Unit(benchmark::kMicrosecond);

void BM_WaterStep(benchmark::State& state) {
    auto pool = MakePool();
    Run(state, *pool->Water, state.range(0) != 0);
}
BENCHMARK(BM_WaterStep)->ArgName("upload")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
