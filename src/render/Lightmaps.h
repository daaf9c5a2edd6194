// Lightmaps: the light of every lit world surface, computed from the level's light actors and
// its shadow bits when a level loads, packed into one atlas texture, and recomputed per frame
// where animated or movable lights were seen. Everything here is CPU work; the atlas reaches
// the graphics card through the texture uploader.
#pragma once

#include "content/LevelModel.h"
#include "content/Resources.h"

#include <functional>

namespace orv {

struct World;

// What lighting reads besides the level: the engine clock, the flicker table and LevelInfo's
// brightness.
struct LightingInputs {
    double Time = 0.0;
    const float* FlickerTable = nullptr; // 256 factors; null reads as 1.0
    float LevelBrightness = 1.0f;
};

// Called with a place number where an OpenGL error check belongs (null: no checks).
using GlErrorCheck = std::function<void(int line)>;

// Builds the atlas texture (appended to the texture table as a level texture and referenced by
// the model), packs and computes every lightmap that has data, and gives each world triangle
// its lightmap and lightmap coordinates. A lightmap that does not fit is reported once with
// "Error: Can't fit lightmaps on atlas" and stays unplaced.
void PrepareLightmaps(World& world, TextureUploader& uploader, int atlasSize, const float* flickerTable = nullptr,
                      const GlErrorCheck& check = {});

// Computes one placed lightmap: the static pass starts from the zone's ambient light and adds
// the static lights; the dynamic pass adds the dynamic lights to a copy of the static result.
// The result goes into the atlas image and its rectangle is uploaded.
void ComputeLightmap(LevelModel& model, LightmapRecord& lightmap, bool dynamicPass, const LightingInputs& inputs,
                     TextureUploader& uploader);

// Relights every lightmap with dynamic lights that was drawn since the last relight, and
// clears its drawn mark. Returns how many were relit.
int RelightDynamicLightmaps(LevelModel& model, const LightingInputs& inputs, TextureUploader& uploader);

// LightingInputs of a world at its current game time.
LightingInputs WorldLighting(const World& world, const float* flickerTable);

} // namespace orv
