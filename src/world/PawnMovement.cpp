// The slide-and-step move of pawns.
#include "world/ActorClasses.h"
#include "world/Collision.h"
#include "world/Mover.h"
#include "world/World.h"

#include <cmath>

namespace orv {

namespace {

constexpr float kStepHeight = 25.0f;

void Land(Actor& pawn, const TraceResult& hit) {
    World& world = pawn.GetWorld();
    if (&pawn == world.Player) {
        const float fall = pawn.Velocity.Z;
        if (fall < -1500.0f) {
            const int damage = static_cast<int>(std::nearbyint((std::fabs(fall) - 1500.0f) / 10.0f));
            pawn.TakeDamage(damage, nullptr, pawn.Location, {}, "");
            world.Services->PlayActorSound(pawn, "UnrealShare.Female.lland1fem", 1.0f);
        } else if (fall < -300.0f) {
            world.Services->PlayActorSound(pawn, "UnrealShare.Female.Land1", 0.66f);
        }
    }
    pawn.Velocity = {};
    pawn.bLanded = 1;
    if (auto* mover = dynamic_cast<Mover*>(hit.HitActor)) {
        mover->bPawnOnTop = 1;
        if (mover->InitialState == "StandOpenTimed" && mover->MoverState == EMoverState::Closed) {
            SetMoverState(*mover, EMoverState::Opening);
        }
    }
}

} // namespace

void MovePawn(Actor& pawn, const Vector& delta, int depth) {
    if (depth > 5) {
        pawn.Velocity = {0, 0, 60.0f};
        return;
    }
    World& world = pawn.GetWorld();
    const float radius = pawn.CollisionRadius, height = pawn.CollisionHeight;
    const Vector target = pawn.Location + delta;
    const TraceResult hit = Trace(world, pawn.Location, target, radius, height);
    if (!hit.Hit) {
        MoveActorTo(pawn, target);
        return;
    }
    if (hit.HitActor) {
        hit.HitActor->Bump(nullptr);
    }
    const Vector n = hit.HitNormal;
    if (n.Z > 0.707f) {
        Land(pawn, hit);
    }
    const Vector dir = Normal(delta);
    const float len = Length(delta);
    const Vector slidEnd = target + n * (-Dot(dir, n) * len + 0.005f);
    if (std::fabs(n.Z) < 0.05f && Dot(dir, n) < -0.5f) {
        const Vector up{0, 0, kStepHeight};
        if (!Trace(world, pawn.Location + up, target + up, radius, height).Hit &&
            !Trace(world, pawn.Location, pawn.Location + up, radius, height).Hit) {
            MoveActorTo(pawn, target + up);
            if (auto* player = dynamic_cast<PlayerPawn*>(&pawn)) {
                player->EyeHeight -= kStepHeight;
            }
            return;
        }
    }
    MovePawn(pawn, slidEnd - pawn.Location, depth + 1);
}

} // namespace orv
