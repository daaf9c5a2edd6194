// The slide-and-step move of pawns.
#include "world/ActorClasses.h"
#include "core/Numbers.h"
#include "world/Collision.h"
#include "world/Mover.h"
#include "world/World.h"

#include <cmath>

namespace orv {

namespace {

// The highest ledge a pawn walks up without jumping.
constexpr float kStepHeight = 25.0f;

// The player's landing, by falling speed: beyond kHurtingFall it costs one point of health for
// every kFallPerDamage units per second beyond; beyond kAudibleFall it thumps.
constexpr float kHurtingFall = 1500.0f;
constexpr float kFallPerDamage = 10.0f;
constexpr float kAudibleFall = 300.0f;

// A surface whose normal points up more steeply than 45 degrees is a floor to land on.
constexpr float kFloorNormalZ = 0.707f;

// A move slides along at most this many surfaces; a pawn still blocked then is popped upwards.
constexpr int kMaxSlides = 5;
constexpr float kUnstickSpeed = 60.0f;

// A slide ends this far off the surface it slid along, so that the next trace starts clear of it.
constexpr float kSlideClearance = 0.005f;

// Step-up only against walls (normals within about 3 degrees of level) that face the motion
// (within 60 degrees), so pawns do not climb slopes sideways.
constexpr float kWallNormalZ = 0.05f;
constexpr float kFacingMotion = -0.5f;

void Land(Actor& pawn, const TraceResult& hit) {
    World& world = pawn.GetWorld();
    if (&pawn == world.Player) {
        const float fall = pawn.Velocity.Z;
        if (fall < -kHurtingFall) {
            const int damage = SaturateToInt32(std::nearbyint((std::fabs(fall) - kHurtingFall) / kFallPerDamage));
            pawn.TakeDamage(damage, nullptr, pawn.Location, {}, "");
            world.Services->PlayActorSound(pawn, "UnrealShare.Female.lland1fem", 1.0f);
        } else if (fall < -kAudibleFall) {
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

void MovePawn(Actor& pawn, const Vector& delta, int depth, const Actor* carrier) {
    if (depth > kMaxSlides) {
        pawn.Velocity = {0, 0, kUnstickSpeed};
        return;
    }
    World& world = pawn.GetWorld();
    const float radius = pawn.CollisionRadius, height = pawn.CollisionHeight;
    const Vector target = pawn.Location + delta;
    const TraceResult hit = Trace(world, pawn.Location, target, radius, height, carrier);
    if (!hit.Hit) {
        MoveActorTo(pawn, target);
        return;
    }
    if (hit.HitActor) {
        hit.HitActor->Bump(nullptr);
    }
    const Vector n = hit.HitNormal;
    if (n.Z > kFloorNormalZ) {
        Land(pawn, hit);
    }
    const Vector dir = Normal(delta);
    const float len = Length(delta);
    const Vector slidEnd = target + n * (-Dot(dir, n) * len + kSlideClearance);
    if (std::fabs(n.Z) < kWallNormalZ && Dot(dir, n) < kFacingMotion) {
        const Vector up{0, 0, kStepHeight};
        if (!Trace(world, pawn.Location + up, target + up, radius, height, carrier).Hit &&
            !Trace(world, pawn.Location, pawn.Location + up, radius, height, carrier).Hit) {
            MoveActorTo(pawn, target + up);
            if (auto* player = dynamic_cast<PlayerPawn*>(&pawn)) {
                player->EyeHeight -= kStepHeight;
            }
            return;
        }
    }
    MovePawn(pawn, slidEnd - pawn.Location, depth + 1, carrier);
}

} // namespace orv
