// Class scripts: records, parents and default properties read from a ".uc" text, linked into the
// class tree, then every class's defaults merged down its chain as an actor of it would get them.
#include "FuzzSupport.h"

#include "content/ClassScripts.h"
#include "content/Resources.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace orv;
    Resources res;
    fuzz::Guarded([&] {
        ParseClassScriptText(res, fuzz::AsText(data, size), "Fuzz.uc", "Fuzz");
        LinkClassParents(res);
        for (int i = 0; i < res.Classes.Num(); ++i) {
            PropertyList properties;
            ApplyClassDefaults(res, res.Classes[i]->Name, properties);
            IsA(res, res.Classes[i]->Name, "Actor");
        }
    });
    return 0;
}
