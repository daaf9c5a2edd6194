// A compiled Level Model, read and turned into the world the engine collides with and draws:
// world triangles, sorted, hashed into the location grid.
#include "FuzzSupport.h"

#include "content/LevelModel.h"
#include "content/Texture.h"
#include "world/LevelLoader.h"
#include "world/LocationHash.h"

#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace orv;
    static Texture texture;
    LevelModel model;
    Array<WorldTriangle> triangles;
    LocationHash hash;
    fuzz::Guarded([&] {
        LoadLevelModelFromMemory(model, "Fuzz.bsp", std::vector<uint8_t>(data, data + size),
                                 [](std::string_view) { return &texture; });
        BuildWorldTriangles(model, triangles);
        SortWorldTriangles(triangles);
        hash.Build(triangles);
        std::vector<const WorldTriangle*> near;
        hash.QueryBox(hash.Origin(), hash.Max(), near);
    });
    FreeLevelModel(model);
    return 0;
}
