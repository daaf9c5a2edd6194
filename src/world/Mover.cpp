// Mover state and brush placement.
#include "world/Mover.h"

#include "world/ActorClasses.h"
#include "world/World.h"

namespace orv {

BrushTransform ActorBrushTransform(const Actor& actor) {
    BrushTransform t;
    t.Location = actor.Location;
    t.Rotation = actor.Rotation;
    t.PrePivot = actor.PrePivot;
    if (auto* mover = dynamic_cast<const Mover*>(&actor)) {
        t.MainScale = mover->MainScale;
        t.PostScale = mover->PostScale;
    }
    return t;
}

void SetMoverState(Mover& mover, int32_t state) {
    static const char* const kSounds[4] = {"ClosedSound", "OpeningSound", "OpenedSound", "ClosingSound"};
    if (state >= 0 && state < 4) {
        const std::string& sound = mover.GetProperty(kSounds[state]);
        if (!sound.empty()) {
            mover.GetWorld().Services->PlayActorSound(mover, sound, 1.0f);
        }
    }
    mover.MoverState = state;
}

} // namespace orv
