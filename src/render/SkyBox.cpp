// Drawing the sky box.
#include "render/SkyBox.h"

#include "content/LevelModel.h"
#include "render/WorldDraw.h"
#include "world/ActorClasses.h"
#include "world/World.h"

#include <GL/gl.h>

#include <cmath>

namespace orv {

namespace {

// PF_SmallWavy on the sky: U sways by a tenth of a texture.
constexpr double kSkyWobble = 0.1;

// Triangles with any of these get no lightmap pass.
constexpr uint32_t kNoLightmapFlags = PF_Invisible | PF_Translucent | PF_Modulated | PF_Unlit;

} // namespace

bool TriangleInPass(uint32_t flags, DrawPass pass) {
    switch (pass) {
    case DrawPass::Opaque:
        return !(flags & (PF_Translucent | PF_Modulated));
    case DrawPass::SeeThrough:
        return (flags & PF_Modulated) != 0;
    case DrawPass::Translucent:
        return (flags & PF_Translucent) != 0;
    }
    return false;
}

uint32_t MergedTriangleFlags(const WorldTriangle& t) {
    return t.Flags | (t.Tex ? t.Tex->Flags & (kTextureMasked | kTextureAlphaBlend) : 0u);
}

void TriangleBatch::Next(Renderer& renderer, const WorldTriangle& t, uint32_t mergedFlags) {
    if (Open && t.Tex == Tex && (mergedFlags & kTriangleBatchFlags) == Flags) {
        return;
    }
    Finish();
    SetRenderMode(RenderModeForFlags(mergedFlags));
    if (mergedFlags & PF_TwoSided) {
        glDisable(GL_CULL_FACE);
    } else {
        glEnable(GL_CULL_FACE);
    }
    BindTexture(renderer.Cache, t.Tex);
    glBegin(GL_TRIANGLES);
    Open = true;
    Tex = t.Tex;
    Flags = mergedFlags & kTriangleBatchFlags;
}

void TriangleBatch::Finish() {
    if (Open) {
        glEnd();
        Open = false;
    }
}

void DrawSkybox(Renderer& renderer, const Level& level, DrawPass pass) {
    const Array<WorldTriangle>& skybox = level.SkyTriangles;
    const double time = renderer.Time;
    TriangleBatch batch;
    for (const WorldTriangle& t : skybox) {
        const uint32_t f = MergedTriangleFlags(t);
        if ((f & PF_Invisible) || !TriangleInPass(f, pass)) {
            continue;
        }
        batch.Next(renderer, t, f);
        double du = 0.0;
        double dv = 0.0;
        // Sky texture coordinates are in whole textures: a pan speed is textures a second here.
        if (f & (PF_AutoUPan | PF_AutoVPan)) {
            if (const auto* zone = dynamic_cast<const ZoneInfo*>(level.NodeZone(t.Index))) {
                du += (f & PF_AutoUPan) ? zone->TexUPanSpeed * time : 0.0;
                dv += (f & PF_AutoVPan) ? zone->TexVPanSpeed * time : 0.0;
            }
        }
        if (f & PF_SmallWavy) {
            du += std::cos(time) * kSkyWobble;
        }
        // World triangles keep their polygon's winding, clockwise seen from the front; like node
        // polygons they are sent last corner first so that their front faces survive culling.
        for (int v = 2; v >= 0; --v) {
            glTexCoord2f(static_cast<float>(t.TexCoords[v][0] + du), static_cast<float>(t.TexCoords[v][1] + dv));
            glVertex3f(t.Vertices[v].X, t.Vertices[v].Y, t.Vertices[v].Z);
        }
    }
    batch.Finish();
    glColor3f(kUnlitColour, kUnlitColour, kUnlitColour);
    const LevelRenderState& state = renderer.LevelState;
    Texture* atlas = state.Atlas.get();
    if (pass != DrawPass::Opaque || !atlas || atlas->Width() <= 0) {
        return;
    }
    // The lightmaps multiply onto what the first pass drew, exactly where it drew.
    BindTexture(renderer.Cache, atlas);
    SetRenderMode(RenderMode::Modulated);
    glDepthFunc(GL_EQUAL);
    glDisable(GL_CULL_FACE);
    const float atlasWidth = static_cast<float>(atlas->Width());
    const float atlasHeight = static_cast<float>(atlas->Height());
    glBegin(GL_TRIANGLES);
    const LevelModel& model = level.Model;
    for (const WorldTriangle& t : skybox) {
        const LightmapState* lightmap = state.Lightmap(t.Lightmap);
        if ((t.Flags & kNoLightmapFlags) || !lightmap || !lightmap->Placed) {
            continue;
        }
        // Triangle lightmap coordinates are relative to the lightmap; place them in its rectangle.
        const LightmapRecord& record = model.Lightmaps[t.Lightmap];
        for (int v = 2; v >= 0; --v) {
            const float s =
                (t.LightmapCoords[v][0] * static_cast<float>(record.Width) + static_cast<float>(lightmap->AtlasX)) /
                atlasWidth;
            const float u = 1.0f - (t.LightmapCoords[v][1] * static_cast<float>(record.Height) +
                                    static_cast<float>(lightmap->AtlasY)) /
                                       atlasHeight;
            glTexCoord2f(s, u);
            glVertex3f(t.Vertices[v].X, t.Vertices[v].Y, t.Vertices[v].Z);
        }
    }
    glEnd();
    glDepthFunc(GL_LEQUAL);
}

} // namespace orv
