// What happens when the player starts touching an actor: pickups, messages, triggers,
// teleporters and level exits.
#pragma once

namespace orv {

struct Actor;
struct World;

// The default Bump with no other actor: the player ran into this one.
void TouchedByPlayer(Actor& actor);

// The teleporters the player stands in where he has just arrived (a level's start, a teleport's
// destination) count as touched already: arriving never sets one off, so a teleporter sending to
// itself, two sending to each other or a start inside a level exit cannot loop.
void ArriveAmongTeleporters(World& world);

} // namespace orv
