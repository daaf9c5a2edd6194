// Fire and water texture records, and their previews.
#include "ProceduralTextures.h"

#include "ContentTree.h"
#include "WorldTextures.h"

#include <cmath>
#include <numbers>

namespace orv {
namespace {

// Heat ramp through the given colours at evenly spaced heats, black below the first.
std::array<uint32_t, 256> HeatPalette(const std::vector<Rgba>& stops) {
    std::array<uint32_t, 256> palette{};
    for (int i = 0; i < 256; ++i) {
        const float t = i / 255.0f * (stops.size() - 1);
        const size_t k = std::min(static_cast<size_t>(t), stops.size() - 2);
        Rgba c = MixRgba(stops[k], stops[k + 1], t - k);
        c.A = 1.0f;
        palette[i] = PackRgba(c);
    }
    return palette;
}

FireSpark Spark(uint8_t type, uint8_t heat, uint8_t x, uint8_t y, uint8_t a = 0, uint8_t b = 0) {
    FireSpark s;
    s.Type = type;
    s.Heat = heat;
    s.X = x;
    s.Y = y;
    s.ByteA = a;
    s.ByteB = b;
    return s;
}

FireTextureFile Torch() {
    FireTextureFile fire;
    fire.Width = fire.Height = 128;
    fire.Palette = HeatPalette({HexRgb(0x000000), HexRgb(0x600800), HexRgb(0xD83A00), HexRgb(0xFF9A10),
                                HexRgb(0xFFE060), HexRgb(0xFFFFE0)});
    fire.bRising = 1;
    fire.RenderHeat = 236;
    for (int x = 34; x < 94; x += 3) {
        fire.Sparks.push_back(Spark(0, 255, static_cast<uint8_t>(x), 124));
    }
    for (int x = 44; x < 84; x += 4) {
        fire.Sparks.push_back(Spark(3, 255, static_cast<uint8_t>(x), 120));
    }
    fire.Sparks.push_back(Spark(1, 0, 30, 126)); // stray flickers along the base
    return fire;
}

FireTextureFile Inferno() {
    FireTextureFile fire;
    fire.Width = fire.Height = 256;
    fire.Palette = HeatPalette({HexRgb(0x000000), HexRgb(0x400400), HexRgb(0xB02000), HexRgb(0xF07010),
                                HexRgb(0xFFC040), HexRgb(0xFFF8D0)});
    fire.bRising = 1;
    fire.RenderHeat = 244;
    for (int x = 0; x < 256; x += 4) {
        fire.Sparks.push_back(Spark(0, 255, static_cast<uint8_t>(x), 250));
    }
    for (int x = 8; x < 256; x += 32) {
        fire.Sparks.push_back(Spark(24, 255, static_cast<uint8_t>(x), 252, 12, 0)); // hot flickering ledges
        fire.Sparks.push_back(Spark(3, 255, static_cast<uint8_t>(x + 16), 246));
    }
    return fire;
}

FireTextureFile Plasma() {
    FireTextureFile fire;
    fire.Width = fire.Height = 128;
    fire.Palette = HeatPalette({HexRgb(0x000000), HexRgb(0x100840), HexRgb(0x3020C0), HexRgb(0x60A0FF),
                                HexRgb(0xE0F0FF)});
    fire.bRising = 0;
    fire.RenderHeat = 238;
    fire.SparkLimit = 64;
    for (const auto& [x, y] : {std::pair{32, 32}, {96, 40}, {64, 96}, {20, 100}}) {
        fire.Sparks.push_back(Spark(4, 255, static_cast<uint8_t>(x), static_cast<uint8_t>(y)));
        fire.Sparks.push_back(Spark(25, 230, static_cast<uint8_t>(x), static_cast<uint8_t>(y), 24));
    }
    fire.Sparks.push_back(Spark(1, 0, 10, 64));
    return fire;
}

WetDrop Drop(uint8_t depth, uint8_t x, uint8_t y, uint8_t phase) {
    WetDrop d;
    d.Depth = depth;
    d.X = x;
    d.Y = y;
    d.Phase = phase;
    return d;
}

WetTextureFile Ripples(const std::string& source, uint8_t amplitude, int drops, const std::string& seedName) {
    WetTextureFile wet;
    wet.Width = wet.Height = 256;
    wet.SourceTexture = source;
    wet.WaveAmplitude = amplitude;
    RandomGenerator random = SeededRandom(seedName);
    for (int i = 0; i < drops; ++i) {
        const auto x = static_cast<uint8_t>(random.Next32() & 0xFF);
        const auto y = static_cast<uint8_t>(random.Next32() & 0xFF);
        wet.Drops.push_back(Drop(static_cast<uint8_t>(90 + random.Next32() % 120), x, y,
                                 static_cast<uint8_t>(random.Next32() & 0xFF)));
    }
    return wet;
}

} // namespace

std::vector<NamedFireTexture> FireTextures() {
    return {{"Fire", "Torch", Torch()}, {"Fire", "Inferno", Inferno()}, {"Fire", "Plasma", Plasma()}};
}

std::vector<NamedWetTexture> WetTextures() {
    return {{"Liquid", "WaterWet", Ripples("Orvane.Liquid.Water", 90, 14, "water ripples")},
            {"Liquid", "SlimeWet", Ripples("Orvane.Liquid.Slime", 140, 8, "slime ripples")},
            {"Liquid", "LavaWet", Ripples("Orvane.Liquid.Lava", 60, 6, "lava ripples")}};
}

void AddProceduralTextureJobs(std::vector<ContentJob>& jobs) {
    jobs.push_back({"fire and water textures", kPartWorldTextures, [](GeneratorContext& c) {
                        for (const NamedFireTexture& fire : FireTextures()) {
                            c.Out.WriteBytes(WorldTexturePath(fire.Group, fire.Name) + ".firet",
                                             WriteFireTextureFile(fire.File));
                        }
                        for (const NamedWetTexture& wet : WetTextures()) {
                            c.Out.WriteBytes(WorldTexturePath(wet.Group, wet.Name) + ".wett",
                                             WriteWetTextureFile(wet.File));
                        }
                    }});
}

// --- Fire preview ---

FirePreview::FirePreview(const FireTextureFile& fire)
    : fire_(fire), field_(static_cast<size_t>(fire.Width) * fire.Height, 0),
      moving_(fire.SparkLimit > 0 ? fire.SparkLimit : 1024), image_(fire.Width, fire.Height),
      random_(SeededRandom("fire preview")) {}

uint16_t& FirePreview::Cell(int c, int r) {
    return field_[static_cast<size_t>(r & (fire_.Height - 1)) * fire_.Width + (c & (fire_.Width - 1))];
}

void FirePreview::Plot(int x, int y, int heat) {
    const auto value = static_cast<uint16_t>(std::clamp(heat, 0, 255) * 256);
    Cell(x, y) = value;
    Cell(x - 1, y) = value;
    Cell(x + 1, y) = value;
    Cell(x, y - 1) = value;
}

void FirePreview::HeatLine(float x0, float y0, float x1, float y1, float h0, float h1) {
    const bool alongX = std::fabs(x1 - x0) >= std::fabs(y1 - y0);
    if ((alongX && x1 < x0) || (!alongX && y1 < y0)) {
        std::swap(x0, x1);
        std::swap(y0, y1);
        std::swap(h0, h1);
    }
    const int steps = static_cast<int>(std::max(std::fabs(x1 - x0), std::fabs(y1 - y0)));
    for (int i = 0; i <= steps; ++i) {
        const float t = steps > 0 ? static_cast<float>(i) / steps : 0.0f;
        const float h = h0 + (h1 - h0) * t;
        Cell(static_cast<int>(std::lround(x0 + (x1 - x0) * t)), static_cast<int>(std::lround(y0 + (y1 - y0) * t))) =
            static_cast<uint16_t>(std::clamp(h, 0.0f, 255.0f) * 256);
    }
}

void FirePreview::UpdateSparks() {
    for (const FireSpark& s : fire_.Sparks) {
        switch (s.Type) {
        case 3: Plot(s.X, s.Y, static_cast<int>(random_.Float() * 127 + 128)); break;
        case 23:
        case 24: {
            const float h = (random_.Float() * 0.5f + 0.5f) * s.Heat;
            HeatLine(s.X, s.Y, s.X + s.ByteA, s.Y + s.ByteB, h, s.Type == 23 ? h : 0.0f);
            break;
        }
        case 25: {
            const float angle = random_.Float() * 2.0f * std::numbers::pi_v<float>;
            HeatLine(s.X, s.Y, s.X + std::cos(angle) * s.ByteA, s.Y + std::sin(angle) * s.ByteA, s.Heat, 0.0f);
            break;
        }
        case 4: case 5: case 6: case 7: case 8: case 13:
            if (frameCount_ % 16 == 0) {
                for (MovingSpark& m : moving_) {
                    if (!m.Alive) {
                        m = MovingSpark{true, s.Type, (s.Type <= 5 && s.Heat == 0) ? 1 : s.Heat, 0, float(s.X),
                                        float(s.Y), 0.0f, 0.0f};
                        if (s.Type == 4) {
                            m.VX = 4 * random_.Float() - 2;
                            m.VY = 4 * random_.Float() - 2;
                        } else if (s.Type == 5 || s.Type == 6) {
                            m.VX = 4 * random_.Float() - 2;
                        }
                        break;
                    }
                }
            }
            break;
        case 1: {
            const int heat = static_cast<int>(std::lround(random_.Float() * 255));
            Plot(static_cast<int>(std::lround(s.X + random_.Float() * 100)), s.Y, heat);
            break;
        }
        default: Plot(s.X, s.Y, static_cast<int>(random_.Float() * 255)); break;
        }
    }
    for (MovingSpark& m : moving_) {
        if (!m.Alive) {
            continue;
        }
        switch (m.Type) {
        case 5: m.Y -= 1; m.X += m.VX; m.Heat -= 1; break;
        case 6: m.X += m.VX; if (random_.Float() < 0.5f) { m.Y += 1; } ++m.Age; break;
        case 7: m.X += 1; if (random_.Float() < 0.5f) { m.Y += 1; } ++m.Age; break;
        case 8: m.X -= 1; if (random_.Float() < 0.5f) { m.Y += 1; } ++m.Age; break;
        case 13: m.VY -= 2 * random_.Float() / 60; m.Y += m.VY; m.Heat -= 1; break;
        default: m.Y += m.VY; m.X += m.VX; m.Heat -= 1; break;
        }
        Plot(static_cast<int>(std::lround(m.X)), static_cast<int>(std::lround(m.Y)), m.Heat);
        if (m.Heat <= 0 || m.Age >= 255) {
            m.Alive = false;
        }
    }
}

void FirePreview::Step() {
    ++frameCount_;
    const int bias = static_cast<int>(std::lround((fire_.RenderHeat - 250) * 8.704));
    for (int r = 0; r < fire_.Height; ++r) {
        for (int c = 0; c < fire_.Width; ++c) {
            int value = fire_.bRising
                            ? (Cell(c, r + 1) + Cell(c, r) + Cell(c + 1, r + 1) + Cell(c - 1, r + 1)) >> 2
                            : (Cell(c, r + 1) + Cell(c, r - 1) + Cell(c + 1, r) + Cell(c - 1, r)) >> 2;
            value = std::clamp(value + bias, 0, 0xFFFF);
            Cell(c, r) = static_cast<uint16_t>(value);
            image_.At(c, r) = fire_.Palette[value >> 8];
        }
    }
    UpdateSparks();
}

// --- Water preview ---

WetPreview::WetPreview(const WetTextureFile& wet, const Image& source)
    : wet_(wet), source_(source), image_(source),
      height_(static_cast<size_t>(wet.Width) * wet.Height, 0), speed_(height_.size(), 0) {
    if (wet_.WaveAmplitude == 0) {
        wet_.WaveAmplitude = 128;
    }
}

void WetPreview::Step(float deltaTime) {
    time_ += deltaTime;
    const int w = wet_.Width, h = wet_.Height;
    const int mask = w * h - 1;
    for (const WetDrop& d : wet_.Drops) {
        speed_[(d.X & (h - 1)) * w + (d.Y & (w - 1))] = static_cast<int32_t>(
            std::lround(d.Depth * std::sin(d.Phase / 256.0 * 2.0 * std::numbers::pi + time_ * 7.0) * 256.0));
    }
    for (int i = 0; i <= mask; ++i) {
        speed_[i] += ((height_[(i + w) & mask] + height_[(i - w) & mask] + height_[(i - 1) & mask] +
                       height_[(i + 1) & mask]) * 79) >> 8;
        speed_[i] = ((speed_[i] - ((height_[i] * 316) >> 8)) * 485) >> 9;
    }
    for (int i = 0; i <= mask; ++i) {
        height_[i] += speed_[i];
    }
    for (int r = 0; r < h; ++r) {
        for (int c = 0; c < w; ++c) {
            const int shift = (wet_.WaveAmplitude * height_[(c * w + r) & mask]) >> 18;
            image_.At(c, r) = source_.At((c + shift) & (w - 1), r);
        }
    }
}

} // namespace orv
