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

} // namespace orv
