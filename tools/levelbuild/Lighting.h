// The lighting build: every surface that takes light gets a lightmap record laid over its
// polygons, the list of lights that reach at least one of its texels, and per listed light one bit
// per texel saying whether the light sees that texel past the compiled world's solid leaves. The
// engine adds brightness, colour, falloff and effects at load; the bits are its shadows.
//
// Layout of what is written (the engine's loader checks every record against it):
// - lightmaps follow the surfaces' order; a surface flagged unlit, invisible or sky portal, or
//   one that keeps no polygon in the tree (nothing draws it), has none;
// - a lightmap's shadow bits are one plane of AtlasWidth x Height bits per listed light, in list
//   order, starting at its ShadowOffset; columns from Width to AtlasWidth - 1 stay 0;
// - a lightmap that no light reaches still gets a record (the engine fills it with its zone's
//   ambient light): its ShadowOffset is where the next lightmap's bits begin, which covers the
//   empty range it needs, and its FirstLight is -1;
// - light lists are 1-based actor references ended by 0; a light shared by several lists has one
//   actor reference.
#pragma once

#include "Bsp.h"
#include "LightSources.h"
#include "MapFile.h"

#include "content/LevelModel.h"

#include <vector>

namespace orv {

// Shadow rays leave the surface this far along its normal, toward the side it is seen from: well
// clear of the tree's own plane threshold (kBspThreshold), and low enough that a kerb a few units
// high still shades the floor behind it.
constexpr double kShadowRayLift = 4.0;
// Lights up to this far behind a one-sided surface's plane still count: a light set against a
// wall may sit a little inside it after the editor's rounding.
constexpr double kBehindTolerance = 1.0;

struct LightingOptions {
    int Threads = 0;      // 0: one per core
    bool Progress = true; // percentage lines while the texels are traced
};

struct LightingStats {
    int Lightmaps = 0;
    long long Texels = 0;
    int Lights = 0;      // light actors of the map
    int ListEntries = 0; // lights on the lightmaps' lists, all lists together
    long long Rays = 0;
    double Seconds = 0;
    double RaysPerSecond() const { return Seconds > 0 ? static_cast<double>(Rays) / Seconds : 0.0; }
};

// Fills the model's lightmap records, light index list, shadow bits and the lights' actor
// references, and sets each surface's lightmap index. The result is the same for any thread count.
LightingStats BuildLighting(LevelModel& model, const BspTree& tree, const MapFile& map,
                            const std::vector<MapLight>& lights, const LightingOptions& options);

} // namespace orv
