// Each engine class's Draw(pass), and the plain actor's mesh and sprite paths.
#include "render/ActorDraw.h"

#include "core/Rotator.h"
#include "render/ActorLight.h"
#include "render/MeshDraw.h"
#include "render/MoverDraw.h"
#include "render/SpriteDraw.h"
#include "render/WavySurface.h"
#include "world/ActorClasses.h"
#include "world/World.h"

#include <GL/gl.h>

#include <chrono>

namespace orv {

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

// The engine's placeholder mesh (the first of the mesh table) stands for "no mesh": an actor
// that has only it draws its sprite.
bool HasRealMesh(const Actor& actor) {
    if (!actor.MeshRef) {
        return false;
    }
    return !actor.XLevel || actor.MeshRef != actor.XLevel->Res.FallbackMesh();
}

void DrawActorMesh(Renderer& renderer, Actor& actor, DrawPass pass) {
    LightActorOnce(renderer, actor);
    SetRenderMode(RenderMode::Opaque);
    glDisable(GL_CULL_FACE); // meshes are not closed everywhere: both sides of a triangle show
    glPushMatrix();
    ApplyActorTransform(actor);
    if (actor.bUnlit || !actor.XLevel) {
        glColor4f(kUnlitColour, kUnlitColour, kUnlitColour, 1.0f); // as unlit world surfaces
    } else {
        const ColorF lit = ActorDrawColour(*actor.XLevel, actor);
        glColor4f(lit.R, lit.G, lit.B, 1.0f);
    }
    DrawMesh(renderer, *actor.MeshRef, MeshFrameOf(actor), pass, actor.MultiSkins);
    glPopMatrix();
}

// Actor's own Draw: its mesh in every pass (the mesh picks its triangles by pass), or else its
// sprite in the pass of its style.
void DefaultDraw(Renderer& renderer, Actor& actor, DrawPass pass) {
    if (HasRealMesh(actor)) {
        DrawActorMesh(renderer, actor, pass);
    } else {
        DrawActorSprite(renderer, actor, pass);
    }
}

void DrawByClass(Renderer& renderer, Actor& actor, DrawPass pass) {
    switch (actor.GetEngineClass()) {
    case EngineClass::Inventory:
    case EngineClass::Weapon:
        if (!static_cast<Inventory&>(actor).bPickedUp) { // taken: in the player's pocket
            DefaultDraw(renderer, actor, pass);
        }
        return;
    case EngineClass::AnimSpriteEffect:
    case EngineClass::Explosion:
    case EngineClass::DispersionAmmoHit:
        if (!DrawAnimatedSprite(renderer, static_cast<AnimSpriteEffect&>(actor), pass)) {
            DefaultDraw(renderer, actor, pass);
        }
        return;
    case EngineClass::Emitter: DrawParticles(renderer, static_cast<Emitter&>(actor), pass); return;
    case EngineClass::Mover: DrawMoverBrush(renderer, static_cast<Mover&>(actor), pass); return;
    case EngineClass::WavySurfaceInfo: DrawWavySurface(renderer, static_cast<WavySurfaceInfo&>(actor)); return;
    default: DefaultDraw(renderer, actor, pass); return;
    }
}

} // namespace

void DrawActor(Renderer& renderer, Actor& actor, DrawPass pass) {
    if (actor.bHidden) {
        return;
    }
    const Clock::time_point start = Clock::now();
    DrawByClass(renderer, actor, pass);
    // What the next actor and the world expect to find.
    SetRenderMode(RenderMode::Opaque);
    glEnable(GL_CULL_FACE);
    renderer.Actors.Timings.TotalSeconds += Seconds(Clock::now() - start);
}

void LightActorOnce(Renderer& renderer, Actor& actor) {
    if (actor.bLit) {
        return;
    }
    actor.bLit = 1;
    if (actor.bHidden || actor.bUnlit || !actor.XLevel) {
        return;
    }
    const Clock::time_point start = Clock::now();
    ComputeActorLight(*actor.XLevel, actor, renderer.TraceMeshColor);
    renderer.Actors.Timings.LightingSeconds += Seconds(Clock::now() - start);
}

void ApplyActorTransform(const Actor& actor) {
    glTranslatef(actor.Location.X, actor.Location.Y, actor.Location.Z);
    glRotated(RotatorUnitsToDegrees(actor.Rotation.Yaw), 0.0, 0.0, 1.0);
    glRotated(RotatorUnitsToDegrees(actor.Rotation.Pitch), 0.0, -1.0, 0.0);
    glRotated(RotatorUnitsToDegrees(actor.Rotation.Roll), -1.0, 0.0, 0.0);
    glScalef(actor.DrawScale, actor.DrawScale, actor.DrawScale);
    glTranslatef(-actor.PrePivot.X, -actor.PrePivot.Y, -actor.PrePivot.Z);
}

} // namespace orv
