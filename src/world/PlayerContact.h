// What happens when the player starts touching an actor: pickups, messages, triggers,
// teleporters and level exits.
#pragma once

namespace orv {

struct Actor;
struct World;

// The default Bump with no other actor: the player ran into this one.
void TouchedByPlayer(Actor& actor);

// The teleporters the player stands in where a teleport has just put him count as touched
// already: arriving never sets one off, so two teleporters sending to each other cannot loop.
void ArriveAmongTeleporters(World& world);
// At a level's start, only the exits to that same level count as touched already: a start inside
// one would reload the level on every step.
void ArriveAtLevelStart(World& world);

} // namespace orv
