// Movers: brushes that move between key positions (doors, lifts, platforms).
#pragma once

#include "content/BrushTransform.h"

#include <cstdint>

namespace orv {

struct Actor;
struct Mover;

enum MoverStates : int32_t { MS_Closed = 0, MS_Opening = 1, MS_Open = 2, MS_Closing = 3 };

// The transform that places an actor's brush in the world (scales only movers have).
BrushTransform ActorBrushTransform(const Actor& actor);

// Changes state and plays the state's sound ("OpeningSound", "OpenedSound", "ClosingSound",
// "ClosedSound").
void SetMoverState(Mover& mover, int32_t state);

} // namespace orv
