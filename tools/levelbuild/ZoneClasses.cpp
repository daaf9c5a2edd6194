// The built-in table of zone-marking classes.
#include "ZoneClasses.h"

#include "core/Text.h"

namespace orv {

namespace {

constexpr std::string_view kZoneInfoClasses[] = {
    "ZoneInfo",     "SkyZoneInfo", "WarpZoneInfo", "WaterZone",    "LavaZone",     "SlimeZone",
    "NitrogenZone", "TarZone",     "VacuumZone",   "KillingField", "PressureZone", "CloudZone",
};

} // namespace

bool IsZoneInfoClass(std::string_view className) {
    for (std::string_view name : kZoneInfoClasses) {
        if (SameText(name, className)) {
            return true;
        }
    }
    return false;
}

bool IsLevelInfoClass(std::string_view className) { return SameText(className, "LevelInfo"); }

} // namespace orv
