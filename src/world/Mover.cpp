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

void SetMoverState(Mover& mover, EMoverState state) {
    // The property naming each state's sound, by state.
    static const char* const kSounds[] = {"ClosedSound", "OpeningSound", "OpenedSound", "ClosingSound"};
    const std::string& sound = mover.GetProperty(kSounds[static_cast<int>(state)]);
    if (!sound.empty()) {
        mover.GetWorld().Services->PlayActorSound(mover, sound, 1.0f);
    }
    mover.MoverState = state;
}

} // namespace orv
