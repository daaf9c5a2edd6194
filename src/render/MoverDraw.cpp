// Mover brushes.
#include "render/MoverDraw.h"

#include "content/BrushTransform.h"
#include "core/Log.h"
#include "render/ActorDraw.h"
#include "render/ActorLight.h"
#include "render/SkyBox.h"
#include "render/WorldDraw.h"
#include "world/ActorBrush.h"
#include "world/ActorClasses.h"
#include "world/World.h"
#include "world/Zones.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>

namespace orv {

namespace {

// PF_SmallWavy: the texture sways by a tenth of itself, a little slower in V than in U.
constexpr double kWobble = 0.1;
constexpr double kWobbleVRate = 0.9;

// The brush transform as an OpenGL matrix: the same placement collision uses, so the brush is
// drawn exactly where it blocks.
void ApplyBrushTransform(const Mover& mover) {
    const BrushTransform t = ActorBrushTransform(mover);
    const Vector x = BrushDirectionToWorld(t, {1, 0, 0});
    const Vector y = BrushDirectionToWorld(t, {0, 1, 0});
    const Vector z = BrushDirectionToWorld(t, {0, 0, 1});
    const Vector origin = t.Location - BrushDirectionToWorld(t, t.PrePivot);
    const GLfloat m[16] = {x.X, x.Y, x.Z, 0, y.X, y.Y, y.Z, 0, z.X, z.Y, z.Z, 0, origin.X, origin.Y, origin.Z, 1};
    glMultMatrixf(m);
}

// The texture offset of panning and wobbling flags, in whole textures as brush texture
// coordinates are.
void PanOffset(uint32_t flags, const ZoneInfo* zone, double time, double& du, double& dv) {
    du = 0.0;
    dv = 0.0;
    if (zone) {
        du += (flags & PF_AutoUPan) ? zone->TexUPanSpeed * time : 0.0;
        dv += (flags & PF_AutoVPan) ? zone->TexVPanSpeed * time : 0.0;
    }
    if (flags & PF_SmallWavy) {
        du += std::cos(time) * kWobble;
        dv += std::sin(time * kWobbleVRate) * kWobble;
    }
}

// Reports a brush without its mover once per level.
void ReportBrushWithoutMover(Renderer& renderer, const Mover& mover) {
    std::vector<const Actor*>& reported = renderer.Actors.ReportedBrushes;
    if (std::find(reported.begin(), reported.end(), &mover) == reported.end()) {
        reported.push_back(&mover);
        Log(kBrushWithoutMover);
    }
}

} // namespace

void DrawMoverBrush(Renderer& renderer, Mover& mover, DrawPass pass) {
    const ActorBrush* brush = mover.Brush.get();
    if (!brush) {
        return;
    }
    if (!brush->Owner) {
        ReportBrushWithoutMover(renderer, mover);
        return;
    }
    LightActorOnce(renderer, mover);
    const ZoneInfo* zone = mover.XLevel ? dynamic_cast<const ZoneInfo*>(FindZoneAt(*mover.XLevel, mover.Location)) : nullptr;
    const double time = renderer.Time;
    const ColorF lit = mover.XLevel ? ActorDrawColour(*mover.XLevel, mover) : ColorF{kUnlitColour, kUnlitColour, kUnlitColour};

    glPushMatrix();
    ApplyBrushTransform(mover);
    TriangleBatch batch;
    for (const WorldTriangle& t : brush->Triangles) {
        const uint32_t f = MergedTriangleFlags(t);
        if ((f & PF_Invisible) || !TriangleInPass(f, pass)) {
            continue;
        }
        batch.Next(renderer, t, f);
        if (f & PF_Unlit) {
            glColor4f(kUnlitColour, kUnlitColour, kUnlitColour, 1.0f); // as unlit world surfaces
        } else {
            glColor4f(lit.R, lit.G, lit.B, 1.0f);
        }
        double du = 0.0;
        double dv = 0.0;
        PanOffset(f, zone, time, du, dv);
        // Brush triangles keep their polygon's winding, as world triangles do: last corner first.
        for (int v = 2; v >= 0; --v) {
            glTexCoord2f(static_cast<float>(t.TexCoords[v][0] + du), static_cast<float>(t.TexCoords[v][1] + dv));
            glVertex3f(t.Vertices[v].X, t.Vertices[v].Y, t.Vertices[v].Z);
        }
    }
    batch.Finish();
    glPopMatrix();
}

} // namespace orv
