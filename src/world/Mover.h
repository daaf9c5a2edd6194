// Movers: brushes that move between key positions (doors, lifts, platforms).
#pragma once

#include "content/BrushTransform.h"

#include <cstdint>

namespace orv {

struct Actor;
struct Mover;

// Where a mover is between its first and last key: it opens from Closed through Opening to Open
// and closes back through Closing.
enum class EMoverState : int32_t { Closed, Opening, Open, Closing };

// The transform that places an actor's brush in the world (scales only movers have).
BrushTransform ActorBrushTransform(const Actor& actor);

// Changes state and plays the state's sound ("OpeningSound", "OpenedSound", "ClosingSound",
// "ClosedSound").
void SetMoverState(Mover& mover, EMoverState state);

// One step of a moving mover: KeyAlpha on by deltaTime / MoveTime (opening reaches Open at the
// last key and fires the mover's event, closing reaches Closed at key 0), the place and rotation
// between two keys (eased with bGlide), then the player carried or pushed along.
void MoveStep(Mover& mover, float deltaTime);

} // namespace orv
