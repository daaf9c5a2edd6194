// A settings file: parsed into its table, every setting the engine reads taken through the typed
// readers, and written back and read again unchanged.
#include "FuzzSupport.h"

#include "core/ConfigFile.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace orv;
    fuzz::Guarded([&] {
        ConfigTable table;
        ConfigParse(table, fuzz::AsText(data, size));
        for (const ConfigEntry& entry : table.Entries) {
            if (!entry.Key.empty()) {
                ConfigGetInt(table, entry.Key);
                ConfigGetFloat(table, entry.Key);
                ConfigGetBool(table, entry.Key);
            }
        }
    });
    return 0;
}
