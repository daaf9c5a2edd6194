// Texture upload costs: the byte conversion, whole textures with mipmaps, and the region updates
// lightmaps and procedural textures make every frame, on the headless GL context.
#include "platform/Window.h"
#include "render/GlTextureUploader.h"
#include "shell/Flicker.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

orv::Image TestImage(int width, int height) {
    orv::Image image(width, height);
    for (size_t i = 0; i < image.Pixels.size(); ++i) {
        image.Pixels[i] = 0xFF000000u | static_cast<uint32_t>(i * 2654435761u >> 8);
    }
    return image;
}

// One headless GL window for every benchmark that needs a context.
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

void BM_TextureUploadBytes(benchmark::State& state) {
    const orv::Image image = TestImage(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    for (auto _ : state) {
        benchmark::DoNotOptimize(orv::TextureUploadBytes(image, orv::kUploadColourKey | orv::kUploadKeepAlpha));
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(image.Pixels.size()));
}
BENCHMARK(BM_TextureUploadBytes)->Args({256, 256})->Args({1024, 512});

void BM_UploadTextureMipmapped(benchmark::State& state) {
    if (!GlWindow()) {
        state.SkipWithError("no headless GL context");
        return;
    }
    orv::GlTextureUploader uploader;
    const orv::Image image = TestImage(256, 256);
    for (auto _ : state) {
        const uint32_t texture = uploader.UploadTexture(image, 10);
        uploader.DeleteTexture(texture);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_UploadTextureMipmapped)->Unit(benchmark::kMicrosecond);

// A lightmap-sized rectangle into a 2048 x 2048 atlas, and a whole 256 x 256 procedural texture.
void BM_UploadTextureRegion(benchmark::State& state) {
    if (!GlWindow()) {
        state.SkipWithError("no headless GL context");
        return;
    }
    orv::GlTextureUploader uploader;
    orv::Texture texture;
    const int size = static_cast<int>(state.range(0));
    texture.Pixels = TestImage(size, size);
    texture.GLTexture = uploader.UploadGeneratedImage(texture.Pixels, false);
    const int w = static_cast<int>(state.range(1));
    const int h = static_cast<int>(state.range(2));
    for (auto _ : state) {
        uploader.UploadTextureRegion(texture, 100 % size, 60 % size, w, h);
    }
    uploader.DeleteTexture(texture.GLTexture);
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_UploadTextureRegion)->Args({2048, 64, 32})->Args({256, -1, -1})->Unit(benchmark::kMicrosecond);

void BM_FlickerUpdate(benchmark::State& state) {
    orv::FlickerSets flicker;
    orv::FillFlickerSets(flicker);
    double time = 0.0;
    for (auto _ : state) {
        time += 1.0 / 60.0;
        orv::UpdateFlicker(flicker, time);
        benchmark::DoNotOptimize(flicker.Table[0]);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_FlickerUpdate);

} // namespace

BENCHMARK_MAIN();
