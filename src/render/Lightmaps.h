// Lightmaps: the light of every lit world surface, computed from the level's light actors and
// its shadow bits when a level loads, packed into one atlas texture, and recomputed per frame
// where animated or movable lights were seen. Everything here is CPU work; the atlas reaches
// the graphics card through the texture uploader.
#pragma once

#include "content/LevelModel.h"
#include "content/Texture.h"
#include "render/RenderLevel.h"

#include <functional>

namespace orv {

struct Level;
struct World;

// What lighting reads besides the level: the engine clock, the flicker table and LevelInfo's
// brightness.
struct LightingInputs {
    double Time = 0.0;
    const float* FlickerTable = nullptr; // 256 factors; null reads as 1.0
    float LevelBrightness = 1.0f;
};

// Called with a place number (GlErrorPlace) where an OpenGL error check belongs (null: no checks).
using GlErrorCheck = std::function<void(int place)>;

// Makes the level's lightmap states anew: the atlas texture (the renderer's own, replacing the
// last level's), every lightmap that has data packed tallest first and computed. A lightmap that
// does not fit is reported once with "Error: Can't fit lightmaps on atlas" and stays unplaced.
void PrepareLightmaps(LevelRenderState& state, const Level& level, const LightingInputs& inputs,
                      TextureUploader& uploader, int atlasSize, const GlErrorCheck& check = {});

// Computes one placed lightmap: the static pass starts from the zone's ambient light and adds
// the static lights; the dynamic pass adds the dynamic lights to a copy of the static result.
// The result goes into the atlas image and its rectangle is uploaded.
void ComputeLightmap(LevelRenderState& state, const Level& level, int32_t index, bool dynamicPass,
                     const LightingInputs& inputs, TextureUploader& uploader);

// Relights every lightmap with dynamic lights that was drawn since the last relight. Returns how
// many were relit.
int RelightDynamicLightmaps(LevelRenderState& state, const Level& level, const LightingInputs& inputs,
                            TextureUploader& uploader);

// LightingInputs of a world at its current game time.
LightingInputs WorldLighting(const World& world, const float* flickerTable);

} // namespace orv
