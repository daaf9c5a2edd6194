// Class scripts: records, parents and default properties read from a ".uc" text, linked into the
// class tree, every class's defaults merged down its chain as an actor of it would get them; then
// the text's mesh directives applied to a real mesh of the game tree (the bird: write MESH=Bird)
// and every frame of every sequence unpacked.
#include "FuzzSupport.h"

#include "content/ClassScripts.h"
#include "content/Mesh.h"
#include "content/Resources.h"
#include "content/Texture.h"

#include <algorithm>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace orv;
    constexpr int kFramesTried = 64;
    fuzz::Setup();
    fuzz::InGameTree inTree;
    Resources res;
    fuzz::Guarded([&] {
        ParseClassScriptText(res, fuzz::AsText(data, size), "Fuzz.uc", "UnrealShare");
        LinkClassParents(res);
        for (int i = 0; i < res.Classes.Num(); ++i) {
            PropertyList properties;
            ApplyClassDefaults(res, res.Classes[i]->Name, properties);
            IsA(res, res.Classes[i]->Name, "Actor");
        }
        LoadFallbackTexture(res);
        Mesh mesh;
        ReadMesh(res, mesh, "System\\UnrealShare\\Models\\Bird_a.3d", "System\\UnrealShare\\Models\\Bird_d.3d",
                 "UnrealShare");
        for (const MeshSequence& sequence : mesh.Sequences) {
            for (int k = 0; k < std::min(sequence.NumFrames, kFramesTried); ++k) {
                GetMeshVertex(mesh, static_cast<uint16_t>(int64_t{sequence.StartFrame} + k), 0);
            }
        }
    });
    return 0;
}
