// Procedurally painted world textures: stone, bricks, metal, grates, wood, tiles, grass, rock,
// liquids, skies, glass and light panels. All are tileable.
#include "WorldTextures.h"

#include "ContentTree.h"
#include "Noise.h"
#include "Paint.h"

#include <cmath>
#include <functional>
#include <map>

namespace orv {
namespace {

uint32_t SeedOf(const WorldTextureInfo& info) { return static_cast<uint32_t>(NameSeed(info.Group + "." + info.Name)); }

// Distance from (u, v) to the nearest line of a grid with `count` lines, in cell units 0..0.5.
float GridDistance(float t, int count) {
    const float f = t * count;
    return std::fabs(f - std::round(f));
}

Rgba Grain(Rgba c, float u, float v, uint32_t seed, float amount) {
    const float n = FractalNoise(u, v, 16, 3, seed) - 0.5f;
    return ScaleRgb(c, 1.0f + n * amount);
}

Image StoneBlocks(const WorldTextureInfo& info, int rows, const Rgba& base, const Rgba& mortar) {
    const uint32_t seed = SeedOf(info);
    return ShadeImage(256, 256, [&](float u, float v) {
        const int row = static_cast<int>(v * rows);
        const float shift = (row & 1) ? 0.5f / 2 : 0.0f;
        const float su = std::fmod(u + shift + 1.0f, 1.0f);
        const int cols = 2;
        const float dv = GridDistance(v, rows) / rows;
        const float du = GridDistance(su, cols) / cols;
        const float edge = std::min(du, dv);
        const int col = static_cast<int>(su * cols);
        const float tint = LatticeValue(col, row, seed);
        const float rough = FractalNoise(u, v, 8, 5, seed + 1);
        Rgba c = ScaleRgb(base, 0.75f + 0.35f * tint + 0.4f * (rough - 0.5f));
        const float bevel = SmoothStep(0.004f, 0.03f, edge);
        c = ScaleRgb(c, 0.7f + 0.3f * bevel);
        return MixRgba(mortar, c, SmoothStep(0.006f, 0.012f, edge + (rough - 0.5f) * 0.01f));
    });
}

Image Bricks(const WorldTextureInfo& info) {
    const uint32_t seed = SeedOf(info);
    return ShadeImage(256, 256, [&](float u, float v) {
        const int rows = 8, cols = 4;
        const int row = static_cast<int>(v * rows);
        const float su = std::fmod(u + ((row & 1) ? 0.125f : 0.0f), 1.0f);
        const int col = static_cast<int>(su * cols);
        const float edge = std::min(GridDistance(v, rows) / rows, GridDistance(su, cols) / cols);
        const float tint = LatticeValue(col, row, seed);
        Rgba brick = MixRgba(HexRgb(0x8A3A24), HexRgb(0xA85A38), tint);
        brick = Grain(brick, u, v, seed, 0.5f);
        const Rgba mortar = Grain(HexRgb(0xA8A090), u, v, seed + 5, 0.3f);
        return MixRgba(mortar, brick, SmoothStep(0.005f, 0.01f, edge));
    });
}

Image Flagstones(const WorldTextureInfo& info) {
    const uint32_t seed = SeedOf(info);
    return ShadeImage(256, 256, [&](float u, float v) {
        const CellularResult cell = Cellular(u, v, 5, seed);
        const float crack = SmoothStep(0.02f, 0.08f, cell.F2 - cell.F1);
        const float tint = (cell.Id & 0xFF) / 255.0f;
        Rgba stone = MixRgba(HexRgb(0x6E6A62), HexRgb(0x8A857A), tint);
        stone = Grain(stone, u, v, seed, 0.45f);
        return MixRgba(HexRgb(0x2A2824), stone, crack);
    });
}

Image MetalPlate(const WorldTextureInfo& info, const Rgba& base, bool rust) {
    const uint32_t seed = SeedOf(info);
    Image image = ShadeImage(256, 256, [&](float u, float v) {
        const float brushed = ValueNoise(u * 4.0f, v * 128.0f, 4, seed) - 0.5f;
        Rgba c = ScaleRgb(base, 1.0f + brushed * 0.15f + (FractalNoise(u, v, 4, 4, seed + 1) - 0.5f) * 0.3f);
        const float seam = std::min(GridDistance(u, 2), GridDistance(v, 2));
        c = ScaleRgb(c, 0.55f + 0.45f * SmoothStep(0.0f, 0.02f, seam));
        if (rust) {
            const float r = FractalNoise(u, v, 4, 5, seed + 2);
            c = MixRgba(c, Grain(HexRgb(0x7A3A18), u, v, seed + 3, 0.6f), SmoothStep(0.5f, 0.65f, r));
        }
        return c;
    });
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            const float x = 18.0f + (i % 2) * 92.0f + (i / 2) * 128.0f;
            const float y = 18.0f + (j % 2) * 92.0f + (j / 2) * 128.0f;
            FillDisc(image, x + 1.5f, y + 1.5f, 4.0f, Rgba{0, 0, 0, 0.5f}, 1.5f);
            FillDisc(image, x, y, 4.0f, ScaleRgb(base, 1.35f), 1.0f);
        }
    }
    return image;
}

Image Grate(const WorldTextureInfo& info) {
    const uint32_t seed = SeedOf(info);
    return ShadeImage(128, 128, [&](float u, float v) {
        const float bar = std::min(GridDistance(u, 8), GridDistance(v, 8));
        if (bar > 0.16f) {
            return Rgba{0, 0, 0, 0}; // a hole: masked out
        }
        const float round = 1.0f - bar / 0.16f;
        return Grain(ScaleRgb(HexRgb(0x707880), 0.6f + 0.5f * round), u, v, seed, 0.3f);
    });
}

Image ChainFence(const WorldTextureInfo& info) {
    const uint32_t seed = SeedOf(info);
    return ShadeImage(128, 128, [&](float u, float v) {
        const float a = GridDistance(u + v, 8);
        const float b = GridDistance(u - v + 1.0f, 8);
        const float wire = std::min(a, b);
        if (wire > 0.08f) {
            return Rgba{0, 0, 0, 0};
        }
        return Grain(ScaleRgb(HexRgb(0x9098A0), 1.1f - wire * 4.0f), u, v, seed, 0.2f);
    });
}

Image Planks(const WorldTextureInfo& info) {
    const uint32_t seed = SeedOf(info);
    return ShadeImage(256, 256, [&](float u, float v) {
        const int planks = 4;
        const int plank = static_cast<int>(u * planks);
        const float offset = LatticeValue(plank, 0, seed);
        const float grain = FractalNoise(u * 0.25f + offset, v, 8, 4, seed + plank) * 6.0f;
        const float rings = 0.5f + 0.5f * std::sin((u * planks * 3.0f + grain) * 6.2831f);
        Rgba c = MixRgba(HexRgb(0x5A3418), HexRgb(0x9A6434), 0.35f + 0.4f * rings + 0.2f * offset);
        const float gap = GridDistance(u, planks);
        c = ScaleRgb(c, 0.45f + 0.55f * SmoothStep(0.0f, 0.06f, gap));
        const float joint = GridDistance(v + offset, 1);
        return ScaleRgb(c, 0.6f + 0.4f * SmoothStep(0.0f, 0.01f, joint));
    });
}

Image Crate(const WorldTextureInfo& info) {
    Image image = Planks(info);
    const Rgba frame = HexRgb(0x4A2C14);
    for (int y = 0; y < 256; ++y) {
        for (int x = 0; x < 256; ++x) {
            const bool border = x < 22 || x >= 234 || y < 22 || y >= 234;
            const float diagonal = std::fabs((x - y) / 1.41421f);
            if (border || (diagonal < 14.0f && x > 16 && x < 240)) {
                Rgba c = UnpackRgba(image.At(x, y));
                image.At(x, y) = PackRgba(MixRgba(c, ScaleRgb(frame, 1.0f + 0.3f * (c.R - 0.4f)), 0.75f));
            }
        }
    }
    for (const float p : {11.0f, 245.0f}) {
        for (const float q : {11.0f, 245.0f}) {
            FillDisc(image, p, q, 4.0f, HexRgb(0xA0A0A0));
        }
    }
    return image;
}

Image Tiles(const WorldTextureInfo& info, int count, const Rgba& a, const Rgba& b, bool mosaic) {
    const uint32_t seed = SeedOf(info);
    return ShadeImage(256, 256, [&](float u, float v) {
        const int tx = static_cast<int>(u * count), ty = static_cast<int>(v * count);
        const float pick = mosaic ? LatticeValue(tx, ty, seed) : static_cast<float>((tx + ty) & 1);
        Rgba c = MixRgba(a, b, pick);
        if (mosaic && LatticeValue(tx, ty, seed + 9) > 0.85f) {
            c = HexRgb(0x2A6A9A);
        }
        c = Grain(c, u, v, seed, 0.15f);
        const float grout = std::min(GridDistance(u, count), GridDistance(v, count)) / count;
        return MixRgba(HexRgb(0x3A3834), c, SmoothStep(0.003f, 0.006f, grout));
    });
}

Image Natural(const WorldTextureInfo& info, const Rgba& dark, const Rgba& light, int period, float blades) {
    const uint32_t seed = SeedOf(info);
    return ShadeImage(256, 256, [&](float u, float v) {
        const float n = FractalNoise(u, v, period, 6, seed);
        const float fine = ValueNoise(u * 128.0f, v * 32.0f, 128, seed + 1);
        return MixRgba(dark, light, Clamp01(n * 1.3f - 0.15f + (fine - 0.5f) * blades));
    });
}

Image Rock(const WorldTextureInfo& info) {
    const uint32_t seed = SeedOf(info);
    return ShadeImage(256, 256, [&](float u, float v) {
        const CellularResult cell = Cellular(u, v, 6, seed);
        const float n = FractalNoise(u, v, 4, 6, seed + 1);
        const float ledge = SmoothStep(0.0f, 0.25f, cell.F2 - cell.F1);
        Rgba c = MixRgba(HexRgb(0x4A4640), HexRgb(0x8A8276), n);
        return ScaleRgb(c, 0.55f + 0.45f * ledge);
    });
}

Image Liquid(const WorldTextureInfo& info, const Rgba& deep, const Rgba& bright, float crust) {
    const uint32_t seed = SeedOf(info);
    return ShadeImage(256, 256, [&](float u, float v) {
        const float n = FractalNoise(u, v, 4, 5, seed);
        const CellularResult cell = Cellular(u, v, 8, seed + 1);
        const float veins = 1.0f - SmoothStep(0.0f, 0.12f, cell.F2 - cell.F1);
        Rgba c = MixRgba(deep, bright, Clamp01(n * 1.2f - 0.1f + veins * 0.5f));
        if (crust > 0.0f) {
            c = MixRgba(c, ScaleRgb(HexRgb(0x201410), 0.8f + n * 0.4f), crust * SmoothStep(0.2f, 0.5f, cell.F1));
        }
        return c;
    });
}

Image Sky(const WorldTextureInfo& info, bool night) {
    const uint32_t seed = SeedOf(info);
    Image image = ShadeImage(256, 256, [&](float u, float v) {
        const float clouds = FractalNoise(u, v, 4, 6, seed);
        if (night) {
            const Rgba base = MixRgba(HexRgb(0x040818), HexRgb(0x101C3A), clouds);
            return MixRgba(base, HexRgb(0x302050), SmoothStep(0.6f, 0.8f, clouds) * 0.5f);
        }
        const Rgba blue = MixRgba(HexRgb(0x3A6AB0), HexRgb(0x6A9AD8), v);
        return MixRgba(blue, HexRgb(0xF4F2EC), SmoothStep(0.48f, 0.72f, clouds));
    });
    if (night) {
        RandomGenerator random = SeededRandom(info.Name + " stars");
        for (int i = 0; i < 160; ++i) {
            const float x = random.Float() * 256.0f, y = random.Float() * 256.0f;
            const float b = 0.4f + 0.6f * random.Float();
            FillDisc(image, x, y, 0.5f + random.Float() * 0.7f, Rgba{b, b, b * 0.9f + 0.1f, 1.0f}, 0.8f, true);
        }
    }
    return image;
}

Image Glass(const WorldTextureInfo& info) {
    const uint32_t seed = SeedOf(info);
    return ShadeImage(128, 128, [&](float u, float v) {
        const float frame = std::min(std::min(u, 1.0f - u), std::min(v, 1.0f - v));
        if (frame < 0.04f) {
            return Rgba{0.25f, 0.27f, 0.3f, 1.0f};
        }
        const float streak = FractalNoise(u + v * 0.3f, v, 4, 3, seed);
        return Rgba{0.55f + 0.2f * streak, 0.75f + 0.15f * streak, 0.85f + 0.1f * streak, 0.28f + 0.15f * streak};
    });
}

Image LightPanel(const WorldTextureInfo& info) {
    const uint32_t seed = SeedOf(info);
    return ShadeImage(128, 128, [&](float u, float v) {
        const float edge = std::min(std::min(u, 1.0f - u), std::min(v, 1.0f - v));
        const float glow = SmoothStep(0.08f, 0.2f, edge);
        const Rgba metal = Grain(HexRgb(0x505458), u, v, seed, 0.3f);
        return MixRgba(metal, HexRgb(0xFFF2D0), glow * (0.92f + 0.08f * std::sin(v * 40.0f)));
    });
}

Image Door(const WorldTextureInfo& info) {
    Image image = MetalPlate(info, HexRgb(0x5C6670), false);
    // Hazard chevrons along the middle.
    for (int y = 112; y < 144; ++y) {
        for (int x = 0; x < 256; ++x) {
            const bool yellow = ((x + y) / 16) & 1;
            image.At(x, y) = PackRgba(yellow ? HexRgb(0xD0A020) : HexRgb(0x202020));
        }
    }
    return image;
}

using Painter = std::function<Image(const WorldTextureInfo&)>;

const std::map<std::string, Painter>& Painters() {
    static const std::map<std::string, Painter> painters = {
        {"Stone.Wall", [](const auto& i) { return StoneBlocks(i, 4, HexRgb(0x7A7468), HexRgb(0x3A3630)); }},
        {"Stone.DarkWall", [](const auto& i) { return StoneBlocks(i, 6, HexRgb(0x4E5058), HexRgb(0x1E1E22)); }},
        {"Stone.Bricks", Bricks},
        {"Stone.Floor", Flagstones},
        {"Metal.Plate", [](const auto& i) { return MetalPlate(i, HexRgb(0x6A7480), false); }},
        {"Metal.Rust", [](const auto& i) { return MetalPlate(i, HexRgb(0x6A6460), true); }},
        {"Metal.Door", Door},
        {"Metal.Grate", Grate},
        {"Metal.Fence", ChainFence},
        {"Wood.Planks", Planks},
        {"Wood.Crate", Crate},
        {"Tiles.Floor", [](const auto& i) { return Tiles(i, 4, HexRgb(0xD8D0C0), HexRgb(0x6A2A24), false); }},
        {"Tiles.Mosaic", [](const auto& i) { return Tiles(i, 16, HexRgb(0xC8B890), HexRgb(0xA07850), true); }},
        {"Nature.Grass", [](const auto& i) { return Natural(i, HexRgb(0x2A4A18), HexRgb(0x6A9A38), 8, 0.8f); }},
        {"Nature.Dirt", [](const auto& i) { return Natural(i, HexRgb(0x3A2A1A), HexRgb(0x7A6040), 8, 0.2f); }},
        {"Nature.Rock", Rock},
        {"Liquid.Water", [](const auto& i) { return Liquid(i, HexRgb(0x0A2A4A), HexRgb(0x3A8AB0), 0.0f); }},
        {"Liquid.Slime", [](const auto& i) { return Liquid(i, HexRgb(0x1A3A0A), HexRgb(0x8AC030), 0.0f); }},
        {"Liquid.Lava", [](const auto& i) { return Liquid(i, HexRgb(0xA02000), HexRgb(0xFFC040), 0.8f); }},
        {"Sky.Clouds", [](const auto& i) { return Sky(i, false); }},
        {"Sky.Night", [](const auto& i) { return Sky(i, true); }},
        {"Glass.Window", Glass},
        {"Light.Panel", LightPanel},
    };
    return painters;
}

} // namespace

const std::vector<WorldTextureInfo>& WorldTextureList() {
    static const std::vector<WorldTextureInfo> list = {
        {"Stone", "Wall", ""},       {"Stone", "DarkWall", ""}, {"Stone", "Bricks", ""},
        {"Stone", "Floor", ""},      {"Metal", "Plate", ""},    {"Metal", "Rust", ""},
        {"Metal", "Door", ""},       {"Metal", "Grate", "bMasked=True\n"},
        {"Metal", "Fence", "bMasked=True\n"},
        {"Wood", "Planks", ""},      {"Wood", "Crate", ""},     {"Tiles", "Floor", ""},
        {"Tiles", "Mosaic", ""},     {"Nature", "Grass", ""},   {"Nature", "Dirt", ""},
        {"Nature", "Rock", ""},      {"Liquid", "Water", ""},   {"Liquid", "Slime", ""},
        {"Liquid", "Lava", ""},      {"Sky", "Clouds", ""},     {"Sky", "Night", ""},
        {"Glass", "Window", "; see-through: drawn alpha-blended\nbAlphaBlend=True\n"},
        {"Light", "Panel", ""},
    };
    return list;
}

Image MakeWorldTexture(const WorldTextureInfo& info) { return Painters().at(info.Group + "." + info.Name)(info); }

std::string WorldTexturePath(const std::string& group, const std::string& name) {
    return "Textures\\Orvane\\Textures\\" + group + "\\" + name;
}

void AddWorldTextureJobs(std::vector<ContentJob>& jobs) {
    for (const WorldTextureInfo& info : WorldTextureList()) {
        jobs.push_back({"Orvane." + info.Group + "." + info.Name, kPartWorldTextures, [info](GeneratorContext& c) {
                            const Image image = MakeWorldTexture(info);
                            const bool alpha = !info.Settings.empty();
                            const std::string path = WorldTexturePath(info.Group, info.Name);
                            c.Out.WritePng(path + ".png", image, alpha);
                            if (alpha) {
                                c.Out.WriteText(path + ".ini", info.Settings);
                            }
                        }});
    }
    AddProceduralTextureJobs(jobs);
}

} // namespace orv
