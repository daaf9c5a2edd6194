// Lightmap preparation, computation and the per-frame relight.
#include "render/Lightmaps.h"

#include "core/Color.h"
#include "core/Log.h"
#include "render/LightEffects.h"
#include "render/LightmapAtlas.h"
#include "world/ActorClasses.h"
#include "world/World.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace orv {

namespace {

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
    if (std::fabs(det) < 1e-12) {
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

// Adds one light to the target image.
void AddLight(const LevelModel& model, const LightmapRecord& lightmap, const Surface& surface, const TexelGrid& grid,
              const Actor& light, int k, const LightingInputs& inputs, Image& target) {
    const float brightness = LightTypeBrightness(light, inputs.Time);
    if (brightness < 0.0f) {
        return;
    }
    const ColorF hsv = HsvToRgb(brightness, light.LightHue, light.LightSaturation);
    const float scale = inputs.LevelBrightness * 446.25f;
    const float red = std::clamp(hsv.R * scale, 0.0f, 255.0f);
    const float green = std::clamp(hsv.G * scale, 0.0f, 255.0f);
    const float blue = std::clamp(hsv.B * scale, 0.0f, 255.0f);

    const int w = lightmap.AtlasWidth;
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

uint32_t ZoneAmbient(const LevelModel& model, const BspNode& node, const LevelInfo* info) {
    const ZoneInfo* zone = dynamic_cast<const ZoneInfo*>(model.ZoneActor(node.SecondZone));
    if (!zone) {
        zone = info;
    }
    return zone ? zone->AmbientColor : 0xFF000000u;
}

} // namespace

LightingInputs WorldLighting(const World& world, const float* flickerTable) {
    LightingInputs inputs;
    inputs.Time = world.GameTime;
    inputs.FlickerTable = flickerTable;
    inputs.LevelBrightness = world.CurrentLevel.Info ? world.CurrentLevel.Info->Brightness : 1.0f;
    return inputs;
}

void ComputeLightmap(LevelModel& model, LightmapRecord& lightmap, bool dynamicPass, const LightingInputs& inputs,
                     TextureUploader& uploader) {
    if (!lightmap.Placed || !model.Surfaces.IsValidIndex(lightmap.Surface) || !model.Atlas) {
        return;
    }
    const Surface& surface = model.Surfaces[lightmap.Surface];
    Image scratch;
    Image* target = &lightmap.Static;
    if (dynamicPass) {
        scratch = lightmap.Static;
        target = &scratch;
    } else {
        std::fill(lightmap.Static.Pixels.begin(), lightmap.Static.Pixels.end(), lightmap.Ambient);
    }
    const TexelGrid grid = MakeTexelGrid(surface, lightmap);
    if (grid.Valid && lightmap.FirstLight >= 0) {
        int k = 0;
        for (int32_t i = lightmap.FirstLight; i < model.LightIndices.Num() && model.LightIndices[i] != 0; ++i, ++k) {
            const Actor* light = model.LightActors.IsValidIndex(i) ? model.LightActors[i] : nullptr;
            if (!light || (light->bSpecialLit != 0) != ((surface.Flags & PF_SpecialLit) != 0)) {
                continue;
            }
            const bool dynamic = IsDynamicLight(*light);
            if (dynamic) {
                lightmap.HasDynamicLights = 1;
            }
            if (dynamic != dynamicPass || light->LightBrightness == 0) {
                continue;
            }
            AddLight(model, lightmap, surface, grid, *light, k, inputs, *target);
        }
    }
    // The static image of a lightmap with dynamic lights stays unfiltered: each relight adds the
    // dynamic light to it and filters the sum.
    if (dynamicPass || !lightmap.HasDynamicLights) {
        CrossFilter(*target);
    }
    CopyIntoImage(model.Atlas->Pixels, *target, lightmap.AtlasX, lightmap.AtlasY);
    uploader.UploadTextureRegion(*model.Atlas, lightmap.AtlasX, lightmap.AtlasY, lightmap.AtlasWidth, lightmap.Height);
}

int RelightDynamicLightmaps(LevelModel& model, const LightingInputs& inputs, TextureUploader& uploader) {
    int relit = 0;
    for (LightmapRecord& lightmap : model.Lightmaps) {
        if (lightmap.HasDynamicLights && lightmap.UsedThisFrame) {
            ComputeLightmap(model, lightmap, true, inputs, uploader);
            lightmap.UsedThisFrame = 0;
            ++relit;
        }
    }
    return relit;
}

void PrepareLightmaps(World& world, TextureUploader& uploader, int atlasSize, const float* flickerTable,
                      const GlErrorCheck& check) {
    Level& level = world.CurrentLevel;
    LevelModel& model = level.Model;
    for (LightmapRecord& lightmap : model.Lightmaps) {
        lightmap.AtlasX = lightmap.AtlasY = lightmap.AtlasWidth = lightmap.AtlasHeight = 0;
        lightmap.Ambient = 0xFF000000u;
        lightmap.Surface = -1;
        lightmap.UsedThisFrame = 0;
        lightmap.HasDynamicLights = 0;
        lightmap.Placed = false;
        lightmap.Static = Image();
    }
    for (const BspNode& node : model.Nodes) {
        if (!model.Surfaces.IsValidIndex(node.Surface)) {
            continue;
        }
        const int32_t index = model.Surfaces[node.Surface].LightmapIndex;
        if (model.Lightmaps.IsValidIndex(index)) {
            model.Lightmaps[index].Ambient = ZoneAmbient(model, node, level.Info);
            model.Lightmaps[index].Surface = node.Surface;
        }
    }

    const int size = std::max(atlasSize, 0);
    auto atlas = std::make_unique<Texture>();
    atlas->Used = 1;
    atlas->bLevelTexture = 1;
    atlas->Pixels = Image(size, size, 0xFF000000u);
    if (check) {
        check(4564);
    }
    atlas->GLTexture = uploader.UploadGeneratedImage(atlas->Pixels, false);
    if (check) {
        check(4566);
    }
    model.Atlas = atlas.get();
    world.Res.Textures.Add(std::move(atlas));

    std::vector<int32_t> order(static_cast<size_t>(model.Lightmaps.Num()));
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&](int32_t a, int32_t b) { return model.Lightmaps[a].Height > model.Lightmaps[b].Height; });
    ShelfPacker packer(size);
    bool reported = false;
    const LightingInputs inputs = WorldLighting(world, flickerTable);
    for (int32_t index : order) {
        LightmapRecord& lightmap = model.Lightmaps[index];
        if (lightmap.ShadowOffset == -1 || lightmap.Width <= 0 || lightmap.Height <= 0) {
            continue;
        }
        const int width = AtlasWidthOf(lightmap.Width);
        int x = 0;
        int y = 0;
        if (!packer.Place(width, lightmap.Height, x, y)) {
            if (!reported) {
                Log("Error: Can't fit lightmaps on atlas");
                reported = true;
            }
            continue;
        }
        lightmap.AtlasX = x;
        lightmap.AtlasY = y;
        lightmap.AtlasWidth = width;
        lightmap.AtlasHeight = lightmap.Height;
        lightmap.Static = Image(width, lightmap.Height);
        lightmap.Placed = true;
        ComputeLightmap(model, lightmap, false, inputs, uploader);
    }

    for (WorldTriangle& triangle : level.Triangles) {
        if (!model.Nodes.IsValidIndex(triangle.Index)) {
            continue;
        }
        const int32_t surfaceIndex = model.Nodes[triangle.Index].Surface;
        if (!model.Surfaces.IsValidIndex(surfaceIndex)) {
            continue;
        }
        const Surface& surface = model.Surfaces[surfaceIndex];
        if (!model.Lightmaps.IsValidIndex(surface.LightmapIndex)) {
            continue;
        }
        LightmapRecord& lightmap = model.Lightmaps[surface.LightmapIndex];
        if (lightmap.ShadowOffset == -1 || lightmap.Width <= 0 || lightmap.Height <= 0) {
            continue;
        }
        triangle.Lightmap = &lightmap;
        const float baseU = Dot(surface.Base, surface.UAxis);
        const float baseV = Dot(surface.Base, surface.VAxis);
        for (int v = 0; v < 3; ++v) {
            const Vector& p = triangle.Vertices[v];
            triangle.LightmapCoords[v][0] =
                ((Dot(p, surface.UAxis) - baseU - lightmap.PanX) / lightmap.UScale + 0.5f) / static_cast<float>(lightmap.Width);
            triangle.LightmapCoords[v][1] =
                ((Dot(p, surface.VAxis) - baseV - lightmap.PanY) / lightmap.VScale + 0.5f) / static_cast<float>(lightmap.Height);
        }
    }
}

} // namespace orv
