// Sprites of shots and explosions (UnrealShare.MainEffect, DispExpl, Effect1 and Effects).
// They are drawn additively, so black is transparent and brightness is opacity.
#include "ContentTree.h"
#include "EngineTextures.h"
#include "Noise.h"
#include "Paint.h"

#include <cmath>
#include <numbers>

namespace orv {
namespace {

// Heat 0..1 to fire colour, with a variant's tint.
Rgba FireRamp(float heat, const Rgba& tint) {
    const Rgba dark = {0.0f, 0.0f, 0.0f, 1.0f};
    const Rgba ember = ScaleRgb(tint, 0.55f);
    const Rgba flame = tint;
    const Rgba white = {1.0f, 0.97f, 0.85f, 1.0f};
    if (heat < 0.35f) {
        return MixRgba(dark, ember, heat / 0.35f);
    }
    if (heat < 0.7f) {
        return MixRgba(ember, flame, (heat - 0.35f) / 0.35f);
    }
    return MixRgba(flame, white, Clamp01((heat - 0.7f) / 0.3f));
}

const Rgba kExplosionTints[5] = {HexRgb(0xFF8A20), HexRgb(0xFFC040), HexRgb(0xFF5018), HexRgb(0xFFA030),
                                 HexRgb(0xF07848)};

} // namespace

Image MakeExplosionFrame(int variant, int frame) {
    const float t = (frame + 0.5f) / 8.0f;
    const uint32_t seed = static_cast<uint32_t>(NameSeed("explosion") + variant * 977u);
    const Rgba tint = kExplosionTints[(variant - 1) % 5];
    const float radius = 0.18f + 0.3f * std::sqrt(t);
    const float fade = std::pow(1.0f - t, 1.2f);
    return ShadeImage(64, 64, [&](float u, float v) {
        const float dx = u - 0.5f, dy = v - 0.5f;
        const float d = std::hypot(dx, dy);
        // Billows: the noise is sampled on a grid that swells with the fireball.
        const float billow = FractalNoise(0.5f + dx / (radius * 2.5f), 0.5f + dy / (radius * 2.5f), 4, 4, seed);
        const float edge = Clamp01(1.0f - d / (radius * (0.8f + 0.5f * billow)));
        const float hollow = 1.0f - 0.6f * t * Clamp01(1.0f - d / (radius * 0.6f)); // a burnt-out core late on
        const float heat = std::pow(edge, 0.6f) * (0.55f + 0.7f * billow) * hollow * (1.25f - 0.55f * t);
        Rgba c = ScaleRgb(FireRamp(Clamp01(heat), tint), fade + 0.15f * (1.0f - t));
        c.A = 1.0f;
        return c;
    });
}

Image MakeDispersionHitFrame(int frame) {
    const float t = (frame + 0.5f) / 10.0f;
    const uint32_t seed = static_cast<uint32_t>(NameSeed("dispersion hit"));
    const float ring = 0.08f + 0.34f * std::sqrt(t);
    const float fade = std::pow(1.0f - t, 1.1f);
    Image image = ShadeImage(64, 64, [&](float u, float v) {
        const float dx = u - 0.5f, dy = v - 0.5f;
        const float d = std::hypot(dx, dy);
        const float angle = std::atan2(dy, dx);
        const float flicker = ValueNoise(angle * 3.0f + 10.0f, t * 6.0f, 64, seed);
        const float band = std::exp(-std::pow((d - ring) / (0.035f + 0.03f * t), 2.0f)) * (0.6f + 0.6f * flicker);
        const float core = std::exp(-d * d / (0.004f + 0.02f * (1.0f - t))) * (1.0f - t);
        const float light = (band + core) * fade;
        return Rgba{0.55f * light + 0.3f * core, 0.35f * light + 0.4f * core, 1.0f * light, 1.0f};
    });
    RandomGenerator random = SeededRandom("dispersion sparks");
    for (int i = 0; i < 14; ++i) {
        const float angle = random.Float() * 2.0f * std::numbers::pi_v<float>;
        const float speed = 0.6f + random.Float() * 0.6f;
        const float r = (ring + 0.05f) * speed * 64.0f;
        FillDisc(image, 32.0f + std::cos(angle) * r, 32.0f + std::sin(angle) * r, 1.1f,
                 Rgba{0.8f, 0.7f, 1.0f, fade}, 1.0f);
    }
    return image;
}

void AddEffectJobs(std::vector<ContentJob>& jobs) {
    jobs.push_back({"explosion sprites", kPartEffects, [](GeneratorContext& c) {
                        for (int v = 1; v <= 5; ++v) {
                            for (int f = 0; f < 8; ++f) {
                                c.Out.WritePng("Textures\\UnrealShare\\Textures\\MainEffect\\e" + std::to_string(v) +
                                                   "_a0" + std::to_string(f) + ".png",
                                               MakeExplosionFrame(v, f), false);
                            }
                        }
                    }});
    jobs.push_back({"shot sprites", kPartEffects, [](GeneratorContext& c) {
                        for (int f = 0; f < 10; ++f) {
                            c.Out.WritePng("Textures\\UnrealShare\\Textures\\DispExpl\\dseb_A0" + std::to_string(f) +
                                               ".png",
                                           MakeDispersionHitFrame(f), false);
                        }
                        const std::string effects = "Textures\\UnrealShare\\Textures\\";
                        c.Out.WritePng(effects + "Effect1\\FireEffect1u.png",
                                       MakeGlowSprite(32, HexRgb(0xFFD070), HexRgb(0xC04010), 1.3f), false);
                        c.Out.WritePng(effects + "Effects\\DispBall.png",
                                       MakeGlowSprite(32, HexRgb(0xF0E8FF), HexRgb(0x6040FF), 1.4f), false);
                        c.Out.WritePng(effects + "Effects\\BruteShot.png",
                                       MakeGlowSprite(32, HexRgb(0xFFF0C0), HexRgb(0xFF4010), 1.2f), false);
                        c.Out.WritePng(effects + "Effects\\SkaarjShot.png",
                                       MakeGlowSprite(32, HexRgb(0xE8FFE0), HexRgb(0x30E060), 1.5f), false);
                        c.Out.WritePng(effects + "Effects\\TentacleShot.png",
                                       MakeGlowSprite(32, HexRgb(0xFFFFD0), HexRgb(0xB0C020), 1.8f), false);
                    }});
}

} // namespace orv
