// What happens when the player starts touching an actor: pickups, messages, triggers,
// teleporters and level exits.
#pragma once

namespace orv {

struct Actor;

// The default Bump with no other actor: the player ran into this one.
void TouchedByPlayer(Actor& actor);

} // namespace orv
