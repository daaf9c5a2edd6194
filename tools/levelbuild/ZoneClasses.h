// Which actor classes mark zones. The class scripts of the content tree will say this once they
// are loaded; until then this table is the one place that knows.
#pragma once

#include <string_view>

namespace orv {

// ZoneInfo and its subclasses that claim the zone they stand in (LevelInfo is not one of them: it
// serves every zone that has none).
bool IsZoneInfoClass(std::string_view className);

bool IsLevelInfoClass(std::string_view className);

} // namespace orv
