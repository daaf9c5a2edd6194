// Drawing the queued world polygons.
#include "render/WorldDraw.h"

#include "render/WorldWalk.h"
#include "world/ActorClasses.h"
#include "world/World.h"

#include <GL/gl.h>

#include <chrono>
#include <cmath>

namespace orv {

namespace {

constexpr uint32_t kModeFlags = PF_Masked | PF_Translucent | PF_Modulated | PF_AlphaBlend;
// A zone's pan speed moves its world surfaces' textures by this many texels a second per unit.
constexpr double kPanTexelsPerSecond = 32.0;
// PF_SmallWavy: the texture circles by a tenth of a texel, V a little slower than U.
constexpr double kWobbleTexels = 0.1;
constexpr double kWobbleVRate = 0.9;

double Seconds(std::chrono::steady_clock::duration d) { return std::chrono::duration<double>(d).count(); }

} // namespace

RenderMode RenderModeForFlags(uint32_t flags) {
    if (flags & PF_Modulated) {
        return RenderMode::Modulated;
    }
    if (flags & PF_Translucent) {
        return RenderMode::Translucent;
    }
    if (flags & PF_Masked) {
        return RenderMode::Masked;
    }
    if (flags & PF_AlphaBlend) {
        return RenderMode::AlphaBlend;
    }
    return RenderMode::Opaque;
}

namespace {

// Changes only the state whose flag bits differ from the polygon drawn last.
void ChangeState(Renderer& renderer, uint32_t flags) {
    const MultitextureEntryPoints& multi = renderer.Multitexture;
    const uint32_t changed = renderer.View.LastFlags ^ flags;
    if (changed & PF_TwoSided) {
        if (flags & PF_TwoSided) {
            glDisable(GL_CULL_FACE);
        } else {
            glEnable(GL_CULL_FACE);
        }
    }
    if ((changed & PF_Unlit) && multi.Available()) {
        multi.ActiveTexture(GL_TEXTURE1);
        if (flags & PF_Unlit) {
            glDisable(GL_TEXTURE_2D);
            glColor3f(kUnlitColour, kUnlitColour, kUnlitColour);
        } else {
            glEnable(GL_TEXTURE_2D);
            glColor3f(1.0f, 1.0f, 1.0f);
        }
        multi.ActiveTexture(GL_TEXTURE0);
    }
    if (changed & kModeFlags) {
        SetRenderMode(RenderModeForFlags(flags));
    }
}

// The texture's offset in texels: its pan, panning with its zone's speeds, and the small wobble.
void TextureOffset(const Surface& surface, const Actor* zoneActor, uint32_t flags, double time, double& panU,
                   double& panV) {
    panU = surface.UPan;
    panV = surface.VPan;
    if (flags & (PF_AutoUPan | PF_AutoVPan)) {
        if (const auto* zone = dynamic_cast<const ZoneInfo*>(zoneActor)) {
            if (flags & PF_AutoUPan) {
                panU += zone->TexUPanSpeed * time * kPanTexelsPerSecond;
            }
            if (flags & PF_AutoVPan) {
                panV += zone->TexVPanSpeed * time * kPanTexelsPerSecond;
            }
        }
    }
    if (flags & PF_SmallWavy) {
        panU += std::cos(time) * kWobbleTexels;
        panV += std::sin(time * kWobbleVRate) * kWobbleTexels;
    }
}

} // namespace

void DrawSurfacePolygon(Renderer& renderer, const Level& level, int32_t index) {
    RenderView& view = renderer.View;
    LevelRenderState& state = renderer.LevelState;
    const LevelModel& model = level.Model;
    const BspNode& node = model.Nodes[index];
    const Surface& surface = model.Surfaces[node.Surface];
    const LightmapRecord* record =
        model.Lightmaps.IsValidIndex(surface.LightmapIndex) ? &model.Lightmaps[surface.LightmapIndex] : nullptr;
    LightmapState* lightmap = state.Lightmap(surface.LightmapIndex);
    // A surface without a lightmap in the atlas (none compiled, one that did not fit, or a level
    // drawn without its lightmaps) draws as if unlit rather than multiplied by whatever texel the
    // lightmap unit last sampled.
    const uint32_t own = surface.Flags | (lightmap && lightmap->Placed ? 0u : PF_Unlit);
    const uint32_t f = own | (MergedSurfaceFlags(surface) & ~surface.Flags);
    if (f & PF_FakeBackdrop) {
        renderer.SkyVisible = true;
        return;
    }
    ChangeState(renderer, f);
    view.LastFlags = own;

    BindTexture(renderer.Cache, surface.Tex);
    const bool hasImage = surface.Tex && surface.Tex->Width() > 0 && surface.Tex->Height() > 0;
    const float texWidth = hasImage ? static_cast<float>(surface.Tex->Width()) : kUntexturedSize;
    const float texHeight = hasImage ? static_cast<float>(surface.Tex->Height()) : kUntexturedSize;
    const float uBase = Dot(surface.Base, surface.UAxis);
    const float vBase = Dot(surface.Base, surface.VAxis);

    float atlasWidth = 1.0f;
    float atlasHeight = 1.0f;
    if (lightmap) {
        lightmap->DrawnFrame = state.Frame;
        if (state.Atlas && state.Atlas->Width() > 0) {
            atlasWidth = static_cast<float>(state.Atlas->Width());
            atlasHeight = static_cast<float>(state.Atlas->Height());
        }
    }
    const MultitextureEntryPoints& multi = renderer.Multitexture;
    const bool drawLightmap = !(f & PF_Unlit) && multi.Available();
    const Actor* zone = level.SurfaceZones.IsValidIndex(node.Surface) ? level.SurfaceZones[node.Surface] : nullptr;
    double panU = 0.0;
    double panV = 0.0;
    TextureOffset(surface, zone, f, renderer.Time, panU, panV); // the lightmap never pans

    glBegin(GL_TRIANGLE_FAN);
    for (int v = node.NumVertices - 1; v >= 0; --v) {
        const Vector& p = model.Points[model.VertexPool[node.FirstVertex + v]];
        const float u = Dot(p, surface.UAxis);
        const float w = Dot(p, surface.VAxis);
        const float s = static_cast<float>((panU + u - uBase) / texWidth);
        const float t = static_cast<float>(1.0 - (panV + w - vBase) / texHeight);
        if (multi.Available()) {
            multi.MultiTexCoord2f(GL_TEXTURE0, s, t);
        } else {
            glTexCoord2f(s, t);
        }
        if (drawLightmap) {
            // The lightmap's pan is where its texel 0's centre lies, half a texel into the atlas block.
            const float ls =
                ((u - uBase - record->PanX) / record->UScale + 0.5f + static_cast<float>(lightmap->AtlasX)) /
                atlasWidth;
            const float lt =
                1.0f - ((w - vBase - record->PanY) / record->VScale + 0.5f + static_cast<float>(lightmap->AtlasY)) /
                           atlasHeight;
            multi.MultiTexCoord2f(GL_TEXTURE1, ls, lt);
        }
        glVertex3f(p.X, p.Y, p.Z);
    }
    glEnd();
}

void RenderWorld(Renderer& renderer, const Level& level, int width, int height) {
    const auto start = std::chrono::steady_clock::now();
    WalkWorld(renderer.View, level.Model, renderer.LevelState, width, height);
    renderer.Timings.WalkSeconds += Seconds(std::chrono::steady_clock::now() - start);

    // The state that LastFlags = 0 stands for: one-sided, lit, opaque.
    glEnable(GL_CULL_FACE);
    SetRenderMode(RenderMode::Opaque);
    const RenderView& view = renderer.View;
    for (int b = 0; b < view.BucketCount; ++b) {
        for (int32_t node : view.Buckets[static_cast<size_t>(b)].Nodes) {
            DrawSurfacePolygon(renderer, level, node);
        }
    }
}

void DrawTransparentPolygons(Renderer& renderer, const Level& level) {
    RenderView& view = renderer.View;
    view.LastFlags = 0;
    if (!view.Model) {
        return;
    }
    glEnable(GL_CULL_FACE);
    for (int i = view.TransparentCount - 1; i >= 0; --i) {
        DrawSurfacePolygon(renderer, level, view.Transparent[i]);
    }
}

} // namespace orv
