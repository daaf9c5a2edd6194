// Lightmap preparation, computation and the per-frame relight.
#include "render/Lightmaps.h"

#include "core/Color.h"
#include "core/Log.h"
#include "render/GlState.h"
#include "render/LightEffects.h"
#include "render/LightmapAtlas.h"
#include "world/ActorClasses.h"
#include "world/World.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace orv {

namespace {

// Light colour (HsvToRgb's 0..1, times LevelInfo's Brightness) in lightmap bytes: 1.75 x 255, so
// that bright lights saturate near their centre. Lightmaps hold half the light the screen shows;
// the frame doubles it.
constexpr float kLightColourScale = 446.25f;
// Below this the texel grid's axes are taken as parallel: the surface has no lightmap plane.
constexpr double kSingularGrid = 1e-12;

// World positions of texel centres: texel (i, j) sits at Origin + i * StepI + j * StepJ.
struct TexelGrid {
    Vector Origin;
    Vector StepI;
    Vector StepJ;
    bool Valid = false;
};

// Solves for the points of the surface's plane whose lightmap coordinates are texel centres,
// from where base, base + U and base + V fall in lightmap space.
TexelGrid MakeTexelGrid(const Surface& surface, const LightmapRecord& lightmap) {
    TexelGrid grid;
    if (lightmap.UScale == 0.0f || lightmap.VScale == 0.0f) {
        return grid;
    }
    const double uu = Dot(surface.UAxis, surface.UAxis);
    const double uv = Dot(surface.UAxis, surface.VAxis);
    const double vv = Dot(surface.VAxis, surface.VAxis);
    // d(s, t) / d(a, b) for the point base + a U + b V.
    const double a = uu / lightmap.UScale;
    const double b = uv / lightmap.UScale;
    const double c = uv / lightmap.VScale;
    const double d = vv / lightmap.VScale;
    const double det = a * d - b * c;
    if (std::fabs(det) < kSingularGrid) {
        return grid;
    }
    auto point = [&](double ds, double dt) {
        const double alpha = (d * ds - b * dt) / det;
        const double beta = (-c * ds + a * dt) / det;
        return surface.UAxis * static_cast<float>(alpha) + surface.VAxis * static_cast<float>(beta);
    };
    // Texel 0's centre is half a texel past the start, which is half a texel before the pan.
    grid.Origin = surface.Base + point(lightmap.PanX / lightmap.UScale, lightmap.PanY / lightmap.VScale);
    grid.StepI = point(1.0, 0.0);
    grid.StepJ = point(0.0, 1.0);
    grid.Valid = true;
    return grid;
}

uint32_t AddSaturated(uint32_t texel, uint32_t r, uint32_t g, uint32_t b) {
    const uint32_t nr = std::min<uint32_t>(((texel >> 16) & 0xFFu) + r, 255u);
    const uint32_t ng = std::min<uint32_t>(((texel >> 8) & 0xFFu) + g, 255u);
    const uint32_t nb = std::min<uint32_t>((texel & 0xFFu) + b, 255u);
    return 0xFF000000u | (nr << 16) | (ng << 8) | nb;
}

uint32_t ColorByte(float c, float f) { return static_cast<uint32_t>(std::lround(c * f)); }

// Adds the k-th light of a lightmap's list to the target image.
void AddLight(const LevelModel& model, const LightmapRecord& lightmap, const LightmapState& state,
              const Surface& surface, const TexelGrid& grid, const Actor& light, int k, const LightingInputs& inputs,
              Image& target) {
    const float brightness = LightTypeBrightness(light, inputs.Time);
    if (brightness < 0.0f) {
        return;
    }
    const ColorF hsv = HsvToRgb(brightness, light.LightHue, light.LightSaturation);
    const float scale = inputs.LevelBrightness * kLightColourScale;
    const float red = std::clamp(hsv.R * scale, 0.0f, 255.0f);
    const float green = std::clamp(hsv.G * scale, 0.0f, 255.0f);
    const float blue = std::clamp(hsv.B * scale, 0.0f, 255.0f);

    const int w = state.AtlasWidth;
    const int h = lightmap.Height;
    const int64_t firstBit = int64_t(k) * w * h;
    const int64_t endByte = int64_t(lightmap.ShadowOffset) + (firstBit + int64_t(w) * h + 7) / 8;
    if (lightmap.ShadowOffset < 0 || endByte > model.ShadowBits.Num()) {
        return; // no shadow bits for this light: it reaches nothing
    }
    const uint8_t* bits = model.ShadowBits.Data() + lightmap.ShadowOffset;
    const LightShape shape = MakeLightShape(light, inputs.Time, inputs.FlickerTable);
    const bool falloff = HasDistanceFalloff(shape.Effect);
    const float radiusSquared = shape.Radius * shape.Radius;
    for (int j = 0; j < h; ++j) {
        const Vector rowStart = grid.Origin + grid.StepJ * static_cast<float>(j);
        for (int i = 0; i < w; ++i) {
            const int64_t bit = firstBit + int64_t(j) * w + i;
            if (!((bits[bit >> 3] >> (bit & 7)) & 1)) {
                continue;
            }
            const Vector v = rowStart + grid.StepI * static_cast<float>(i) - shape.Location;
            if (falloff && LengthSquared(v) >= radiusSquared) {
                continue;
            }
            const float f = LightFactor(shape, v, surface.Normal, static_cast<uint32_t>(bit));
            if (f <= 0.0f) {
                continue;
            }
            uint32_t& texel = target.At(i, j);
            texel = AddSaturated(texel, ColorByte(red, f), ColorByte(green, f), ColorByte(blue, f));
        }
    }
}

uint32_t ZoneAmbient(const Level& level, const BspNode& node) {
    const ZoneInfo* zone = dynamic_cast<const ZoneInfo*>(level.ZoneActor(node.SecondZone));
    if (!zone) {
        zone = level.Info;
    }
    return zone ? zone->AmbientColor : 0xFF000000u; // opaque black
}

} // namespace

LightingInputs WorldLighting(const World& world, const float* flickerTable) {
    LightingInputs inputs;
    inputs.Time = world.GameTime;
    inputs.FlickerTable = flickerTable;
    inputs.LevelBrightness = world.CurrentLevel.Info ? world.CurrentLevel.Info->Brightness : 1.0f;
    return inputs;
}

void ComputeLightmap(LevelRenderState& state, const Level& level, int32_t index, bool dynamicPass,
                     const LightingInputs& inputs, TextureUploader& uploader) {
    const LevelModel& model = level.Model;
    LightmapState* lightmap = state.Lightmap(index);
    if (!lightmap || !lightmap->Placed || !model.Surfaces.IsValidIndex(lightmap->Surface) || !state.Atlas) {
        return;
    }
    const LightmapRecord& record = model.Lightmaps[index];
    const Surface& surface = model.Surfaces[lightmap->Surface];
    Image scratch;
    Image* target = &lightmap->Static;
    if (dynamicPass) {
        scratch = lightmap->Static;
        target = &scratch;
    } else {
        std::fill(lightmap->Static.Pixels.begin(), lightmap->Static.Pixels.end(), lightmap->Ambient);
    }
    const TexelGrid grid = MakeTexelGrid(surface, record);
    if (grid.Valid && record.FirstLight >= 0) {
        int k = 0;
        for (int32_t i = record.FirstLight; i < model.LightIndices.Num() && model.LightIndices[i] != 0; ++i, ++k) {
            const Actor* light = level.LightActors.IsValidIndex(i) ? level.LightActors[i] : nullptr;
            if (!light || (light->bSpecialLit != 0) != ((surface.Flags & PF_SpecialLit) != 0)) {
                continue;
            }
            const bool dynamic = IsDynamicLight(*light);
            if (dynamic) {
                lightmap->HasDynamicLights = true;
            }
            if (dynamic != dynamicPass || light->LightBrightness == 0) {
                continue;
            }
            AddLight(model, record, *lightmap, surface, grid, *light, k, inputs, *target);
        }
    }
    // The static image of a lightmap with dynamic lights stays unfiltered: each relight adds the
    // dynamic light to it and filters the sum.
    if (dynamicPass || !lightmap->HasDynamicLights) {
        CrossFilter(*target);
    }
    Texture& atlas = *state.Atlas;
    CopyIntoImage(atlas.Pixels, *target, lightmap->AtlasX, lightmap->AtlasY);
    uploader.UploadTextureRegion(atlas, lightmap->AtlasX, lightmap->AtlasY, lightmap->AtlasWidth, record.Height);
}

int RelightDynamicLightmaps(LevelRenderState& state, const Level& level, const LightingInputs& inputs,
                            TextureUploader& uploader) {
    int relit = 0;
    for (size_t i = 0; i < state.Lightmaps.size(); ++i) {
        const LightmapState& lightmap = state.Lightmaps[i];
        if (lightmap.HasDynamicLights && lightmap.DrawnFrame > state.RelitFrame) {
            ComputeLightmap(state, level, static_cast<int32_t>(i), true, inputs, uploader);
            ++relit;
        }
    }
    state.RelitFrame = state.Frame;
    return relit;
}

void PrepareLightmaps(LevelRenderState& state, const Level& level, const LightingInputs& inputs,
                      TextureUploader& uploader, int atlasSize, const GlErrorCheck& check) {
    const LevelModel& model = level.Model;
    state.Lightmaps.assign(static_cast<size_t>(model.Lightmaps.Num()), LightmapState{});
    state.RelitFrame = state.Frame;
    for (const BspNode& node : model.Nodes) {
        if (!model.Surfaces.IsValidIndex(node.Surface)) {
            continue;
        }
        if (LightmapState* lightmap = state.Lightmap(model.Surfaces[node.Surface].LightmapIndex)) {
            lightmap->Ambient = ZoneAmbient(level, node);
            lightmap->Surface = node.Surface;
        }
    }

    if (state.Atlas) {
        uploader.DeleteTexture(state.Atlas->GLTexture);
    }
    const int size = std::max(atlasSize, 0);
    state.Atlas = std::make_unique<Texture>();
    Texture& atlas = *state.Atlas;
    atlas.Pixels = Image(size, size, 0xFF000000u); // opaque black until lightmaps are copied in
    if (check) {
        check(kGlErrorAtlasCreated);
    }
    atlas.GLTexture = uploader.UploadGeneratedImage(atlas.Pixels, false);
    if (check) {
        check(kGlErrorAtlasUploaded);
    }

    std::vector<int32_t> order(static_cast<size_t>(model.Lightmaps.Num()));
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&](int32_t a, int32_t b) { return model.Lightmaps[a].Height > model.Lightmaps[b].Height; });
    ShelfPacker packer(size);
    bool reported = false;
    for (int32_t index : order) {
        const LightmapRecord& record = model.Lightmaps[index];
        if (!record.HasData()) {
            continue;
        }
        const int width = LightmapColumns(record.Width);
        int x = 0;
        int y = 0;
        if (!packer.Place(width, record.Height, x, y)) {
            if (!reported) {
                Log("Error: Can't fit lightmaps on atlas");
                reported = true;
            }
            continue;
        }
        LightmapState& lightmap = state.Lightmaps[static_cast<size_t>(index)];
        lightmap.AtlasX = x;
        lightmap.AtlasY = y;
        lightmap.AtlasWidth = width;
        lightmap.AtlasHeight = record.Height;
        lightmap.Static = Image(width, record.Height);
        lightmap.Placed = true;
        ComputeLightmap(state, level, index, false, inputs, uploader);
    }
}

} // namespace orv
