// Tileable value and cellular noise.
#include "Noise.h"

#include <cmath>

namespace orv {
namespace {

uint32_t HashPoint(int x, int y, uint32_t seed) {
    uint32_t h = seed ^ 0x9E3779B9u;
    h ^= static_cast<uint32_t>(x) * 0x85EBCA6Bu;
    h = (h << 13) | (h >> 19);
    h ^= static_cast<uint32_t>(y) * 0xC2B2AE35u;
    h *= 0x27D4EB2Fu;
    h ^= h >> 15;
    h *= 0x165667B1u;
    h ^= h >> 13;
    return h;
}

int Wrap(int v, int period) {
    const int m = v % period;
    return m < 0 ? m + period : m;
}

float Fade(float t) { return t * t * (3.0f - 2.0f * t); }

} // namespace

float LatticeValue(int x, int y, uint32_t seed) { return (HashPoint(x, y, seed) >> 8) * (1.0f / 16777216.0f); }

float ValueNoise(float x, float y, int period, uint32_t seed) {
    const float fx = std::floor(x);
    const float fy = std::floor(y);
    const int x0 = Wrap(static_cast<int>(fx), period);
    const int y0 = Wrap(static_cast<int>(fy), period);
    const int x1 = Wrap(x0 + 1, period);
    const int y1 = Wrap(y0 + 1, period);
    const float tx = Fade(x - fx);
    const float ty = Fade(y - fy);
    const float a = LatticeValue(x0, y0, seed);
    const float b = LatticeValue(x1, y0, seed);
    const float c = LatticeValue(x0, y1, seed);
    const float d = LatticeValue(x1, y1, seed);
    const float top = a + (b - a) * tx;
    const float bottom = c + (d - c) * tx;
    return top + (bottom - top) * ty;
}

float FractalNoise(float u, float v, int basePeriod, int octaves, uint32_t seed, float persistence) {
    float sum = 0.0f;
    float weight = 1.0f;
    float total = 0.0f;
    int period = basePeriod;
    for (int i = 0; i < octaves; ++i) {
        sum += ValueNoise(u * period, v * period, period, seed + static_cast<uint32_t>(i) * 7919u) * weight;
        total += weight;
        weight *= persistence;
        period *= 2;
    }
    return sum / total;
}

CellularResult Cellular(float u, float v, int cells, uint32_t seed) {
    const float x = u * cells;
    const float y = v * cells;
    const int cx = static_cast<int>(std::floor(x));
    const int cy = static_cast<int>(std::floor(y));
    CellularResult result;
    result.F1 = result.F2 = 1e9f;
    for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
            const int gx = cx + dx;
            const int gy = cy + dy;
            const int wx = Wrap(gx, cells);
            const int wy = Wrap(gy, cells);
            const uint32_t h = HashPoint(wx, wy, seed);
            const float px = gx + (h & 0xFFFF) / 65536.0f;
            const float py = gy + (h >> 16) / 65536.0f;
            const float d = std::sqrt((px - x) * (px - x) + (py - y) * (py - y));
            if (d < result.F1) {
                result.F2 = result.F1;
                result.F1 = d;
                result.Id = h;
            } else if (d < result.F2) {
                result.F2 = d;
            }
        }
    }
    return result;
}

} // namespace orv
