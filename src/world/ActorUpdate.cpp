// The generic per-step update every actor gets before its own Tick: constant rotation, mesh
// animation with notifies, the timer and light flicker.
#include "core/Random.h"
#include "core/Text.h"
#include "world/World.h"

namespace orv {

namespace {

void Animate(Actor& actor, float deltaTime) {
    if (!actor.MeshRef || !actor.CurrentSequence) {
        return;
    }
    const int32_t frames = actor.CurrentSequence->NumFrames;
    // A sequence without frames cannot advance (and must not divide by zero).
    if (frames > 0) {
        actor.AnimFrame = static_cast<float>(double(actor.AnimFrame) + double(deltaTime) * actor.AnimRate / frames);
    }
    const Array<MeshNotify>& notifies = actor.MeshRef->Notifies;
    // Only the first notifies of a mesh have a fired bit; later ones never fire.
    const int count = notifies.Num() < kMaxMeshNotifies ? notifies.Num() : kMaxMeshNotifies;
    for (int i = 0; i < count; ++i) {
        const MeshNotify& notify = notifies[i];
        const uint64_t bit = uint64_t{1} << i;
        if (actor.AnimFrame >= notify.Time && !(actor.FiredNotifies & bit) && SameText(notify.Sequence, actor.AnimSequence)) {
            actor.FiredNotifies |= bit;
            actor.AnimNotify(notify);
            if (actor.bDeleteMe || !actor.CurrentSequence) {
                return;
            }
        }
    }
    if (actor.AnimFrame >= 1.0f) {
        actor.AnimFrame = 0.0f;
        actor.FiredNotifies = 0;
        actor.AnimEnd();
    }
}

} // namespace

void UpdateActor(Actor& actor, float deltaTime) {
    if (actor.Physics == phys_rotating) {
        actor.Rotation = AddRotators(actor.Rotation, ScaleRotator(actor.RotationRate, deltaTime));
    }
    Animate(actor, deltaTime);
    if (actor.bTimerActive) {
        actor.TimerCounter -= deltaTime;
        if (actor.TimerCounter <= 0.0f) {
            if (actor.bTimerLoop) {
                actor.TimerCounter = actor.TimerRate;
            } else {
                actor.bTimerActive = 0;
            }
            actor.Timer();
        }
    }
    if (actor.LightType == lt_flicker) {
        actor.bLightOff = FRand() < 0.5f ? 1 : 0; // dark in half the steps, at random
    } else if (actor.LightType == lt_strobe) {
        actor.bLightOff = actor.bLightOff ? 0 : 1;
    }
    actor.Tick(deltaTime);
}

void UpdateActors(World& world, float deltaTime) {
    const int count = world.Actors.Num();
    for (int i = 0; i < count; ++i) {
        Actor& actor = *world.Actors[i];
        if (!actor.bDeleteMe) {
            UpdateActor(actor, deltaTime);
        }
    }
    RemoveDestroyedActors(world);
}

} // namespace orv
