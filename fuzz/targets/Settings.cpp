// A settings file: parsed into its table, checked as start-up checks it, then every setting read
// through the typed readers; each must come back inside its allowed range.
#include "FuzzSupport.h"

#include "core/ConfigFile.h"
#include "core/Settings.h"

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace orv;
    fuzz::Guarded([&] {
        ConfigTable table;
        ConfigParse(table, fuzz::AsText(data, size));
        CheckSettings(table, "Fuzz.ini");
        for (const SettingLimits& limits : EngineSettings()) {
            const double value = limits.Kind == SettingKind::Integer ? ConfigGetInt(table, limits.Key)
                                                                      : ConfigGetFloat(table, limits.Key);
            if (limits.Kind != SettingKind::Boolean && !(value >= limits.Lowest && value <= limits.Highest)) {
                std::fprintf(stderr, "%s reads %g after the check, outside %g to %g\n", limits.Key, value,
                             limits.Lowest, limits.Highest);
                std::abort();
            }
            ConfigGetBool(table, limits.Key);
        }
    });
    return 0;
}
