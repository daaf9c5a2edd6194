// One JSON line per actor for the --dump output: every field of its record under the engine's
// field names (its class's field table, in order), references by name, plus "Tag" and "Event"
// from its properties.
#pragma once

#include <string>

namespace orv {

struct Actor;

std::string DumpActorJson(const Actor& actor, int index);

} // namespace orv
