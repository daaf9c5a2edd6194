// Tileable noise for generated pictures: value noise, fractal sums of it, and cellular
// (Worley) distances. Every function wraps at its period, so textures repeat without seams.
#pragma once

#include <cstdint>

namespace orv {

// Hash of a lattice point to [0, 1).
float LatticeValue(int x, int y, uint32_t seed);

// Smoothly interpolated value noise in [0, 1) at (x, y), lattice wrapping every period cells.
float ValueNoise(float x, float y, int period, uint32_t seed);

// Sum of octaves of value noise at (u, v) in [0, 1) texture space; the first octave has
// basePeriod cells across, each further one twice as many at half the weight. Result in [0, 1).
float FractalNoise(float u, float v, int basePeriod, int octaves, uint32_t seed, float persistence = 0.5f);

struct CellularResult {
    float F1 = 0.0f;    // distance to the nearest feature point, in cell units
    float F2 = 0.0f;    // distance to the second nearest
    uint32_t Id = 0;    // hash of the nearest feature point's cell, for per-cell colours
};

// Worley noise at (u, v) in [0, 1) texture space over cells x cells feature cells.
CellularResult Cellular(float u, float v, int cells, uint32_t seed);

} // namespace orv
