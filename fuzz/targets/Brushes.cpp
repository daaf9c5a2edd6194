// The level compiler's input: a T3D map's brushes compiled (CSG, BSP, portals, zones, surfaces)
// without lighting, into a Level Model that is then written out as the compiler would.
#include "FuzzSupport.h"

#include "LevelBuild.h"
#include "content/LevelModel.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace orv;
    LevelBuildOptions options;
    options.ContentDir = fuzz::GameDir();
    options.Progress = false;
    options.Lighting = false;
    options.Threads = 1;
    fuzz::Guarded([&] {
        CompiledLevel level = CompileMap(ParseMap(fuzz::AsText(data, size), "Fuzz.t3d"), options);
        WriteLevelModel(level.Model);
        FreeLevelModel(level.Model);
    });
    return 0;
}
