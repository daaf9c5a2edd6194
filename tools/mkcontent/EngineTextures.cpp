// The engine's own package Zelkor: the missing-texture fallback, the logo splash, the default
// projectile sprite and the 32 underwater caustics frames.
#include "ContentTree.h"
#include "EngineTextures.h"
#include "Noise.h"
#include "Paint.h"

#include <cmath>
#include <numbers>

namespace orv {

constexpr float kTau = 2.0f * std::numbers::pi_v<float>;

Image MakeMissingTexture() {
    // Magenta and near-black squares: impossible to mistake for real content.
    return ShadeImage(64, 64, [](float u, float v) {
        const bool odd = (static_cast<int>(u * 8) + static_cast<int>(v * 8)) & 1;
        return odd ? HexRgb(0xFF00FF) : HexRgb(0x200020);
    });
}

Image MakeGlowSprite(int size, const Rgba& core, const Rgba& rim, float falloff) {
    // Drawn additively: black adds nothing, so the sprite's edge fades into the scene.
    return ShadeImage(size, size, [&](float u, float v) {
        const float d = std::hypot(u - 0.5f, v - 0.5f) * 2.0f;
        const float glow = std::pow(Clamp01(1.0f - d), falloff);
        const float hot = std::pow(Clamp01(1.0f - d * 2.2f), 1.5f);
        Rgba c = ScaleRgb(rim, glow);
        c = MixRgba(c, core, hot);
        c.A = 1.0f;
        return c;
    });
}

Image MakeCausticsFrame(int frame, int frames, int size) {
    // The classic iterated-warp caustic, made periodic in space (angles of u, v) and in time
    // (whole turns over the loop), so the pattern tiles and the 32 frames cycle seamlessly.
    const float time = kTau * frame / frames;
    static constexpr float kTimeTurns[5] = {-2.0f, -1.0f, 1.0f, 2.0f, 1.0f};
    return ShadeImage(size, size, [&](float u, float v) {
        const float px = u * kTau - 250.0f;
        const float py = v * kTau - 250.0f;
        float ix = px, iy = py;
        float c = 1.0f;
        constexpr float kIntensity = 0.005f;
        for (int n = 0; n < 5; ++n) {
            const float t = time * kTimeTurns[n];
            const float nx = px + std::cos(t - ix) + std::sin(t + iy);
            const float ny = py + std::sin(t - iy) + std::cos(t + ix);
            ix = nx;
            iy = ny;
            const float dx = px / (std::sin(ix + t) / kIntensity);
            const float dy = py / (std::cos(iy + t) / kIntensity);
            c += 1.0f / std::max(1e-4f, std::hypot(dx, dy));
        }
        c /= 5.0f;
        c = 1.17f - std::pow(c, 1.4f);
        const float light = std::pow(std::fabs(c), 8.0f);
        // Modulated twice over: 0.5 leaves the picture as it is, more brightens it.
        const float level = 0.42f + 0.5f * Clamp01(light);
        return Rgba{level * 0.92f, level * 0.98f, level * 1.06f, 1.0f};
    });
}

Image MakeLogo(const TrueTypeFont& bold, const TrueTypeFont& regular) {
    // 1024 x 512, of which the splash shows the top-left 640 x 480.
    Image logo(1024, 512, 0xFF000000u);
    const uint32_t seed = static_cast<uint32_t>(NameSeed("Zelkor.Logo"));
    for (int y = 0; y < 480; ++y) {
        for (int x = 0; x < 640; ++x) {
            const float u = x / 640.0f, v = y / 480.0f;
            const float d = std::hypot(u - 0.5f, (v - 0.45f) * 0.75f);
            const float mist = FractalNoise(u, v, 4, 5, seed);
            Rgba c = MixRgba(HexRgb(0x1A2238), HexRgb(0x04060C), Clamp01(d * 1.6f));
            c = MixRgba(c, HexRgb(0x3A2A58), Clamp01(mist - 0.45f) * 0.8f);
            logo.At(x, y) = PackRgba(c);
        }
    }
    // A ring of light behind the name, a planet's rim rising over the horizon.
    for (int y = 0; y < 480; ++y) {
        for (int x = 0; x < 640; ++x) {
            const float d = std::hypot(x - 320.0f, (y - 560.0f) * 1.0f);
            const float rim = std::exp(-std::pow((d - 380.0f) / 10.0f, 2.0f));
            const float halo = std::exp(-std::pow((d - 380.0f) / 60.0f, 2.0f)) * 0.35f;
            AddPixel(logo, x, y, HexRgb(0xFFB060), rim + halo);
        }
    }
    auto metal = [](int, int py) {
        const float t = Clamp01((py - 150.0f) / 120.0f);
        return MixRgba(HexRgb(0xFFF4D8), HexRgb(0xC07028), t);
    };
    const float width = MeasureLettering(bold, "ORVANE", 132.0f, 6.0f);
    const float left = 320.0f - width * 0.5f;
    DrawLettering(logo, bold, "ORVANE", 132.0f, left + 4.0f, 274.0f,
                  [](int, int) { return Rgba{0, 0, 0, 0.7f}; }, 6.0f);
    DrawLettering(logo, bold, "ORVANE", 132.0f, left, 270.0f, metal, 6.0f);
    const char* tagline = "a player for the worlds of 1998";
    const float tagWidth = MeasureLettering(regular, tagline, 26.0f, 1.0f);
    DrawLettering(logo, regular, tagline, 26.0f, 320.0f - tagWidth * 0.5f, 318.0f,
                  [](int, int) { return HexRgb(0xC8D0E8); }, 1.0f);
    const char* loading = "loading...";
    const float loadWidth = MeasureLettering(regular, loading, 18.0f);
    DrawLettering(logo, regular, loading, 18.0f, 320.0f - loadWidth * 0.5f, 452.0f,
                  [](int, int) { return HexRgb(0x8088A0); });
    return logo;
}

void AddEngineTextureJobs(std::vector<ContentJob>& jobs) {
    jobs.push_back({"Zelkor textures", kPartEngineTextures, [](GeneratorContext& c) {
                        c.Out.WritePng("Textures\\Zelkor\\Textures\\Missing.png", MakeMissingTexture(), false);
                        c.Out.WritePng("Textures\\Zelkor\\Textures\\Projectile.png",
                                       MakeGlowSprite(32, HexRgb(0xFFFFF0), HexRgb(0xFF9030), 1.6f), false);
                        c.Out.WritePng("Textures\\Zelkor\\Textures\\Logo.png", MakeLogo(c.SansBold, c.Sans), false);
                    }});
    jobs.push_back({"caustics", kPartEngineTextures, [](GeneratorContext& c) {
                        for (int i = 0; i < kCausticsFrames; ++i) {
                            c.Out.WritePng("Textures\\Zelkor\\Textures\\caustics\\caust_a" + std::to_string(i) + ".png",
                                           MakeCausticsFrame(i, kCausticsFrames, 128), false);
                        }
                    }});
}

} // namespace orv
