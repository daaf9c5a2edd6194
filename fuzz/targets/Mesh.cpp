// A mesh's two files (the animation file, then the data file, split by the input's first two
// bytes), read, then every vertex of every frame unpacked as drawing does.
#include "FuzzSupport.h"

#include "content/Mesh.h"
#include "content/MeshFiles.h"
#include "core/BinaryReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace orv;
    const fuzz::TwoParts parts = fuzz::SplitInput(data, size);
    Mesh mesh;
    fuzz::Guarded([&] {
        BinaryReader animation("Fuzz_a.3d", parts.First);
        ReadMeshAnimationFile(animation, mesh);
        BinaryReader meshData("Fuzz_d.3d", parts.Second);
        ReadMeshDataFile(meshData, mesh);
        const int frames = mesh.NumFrames == 0 ? 1 : mesh.NumFrames;
        for (int frame = 0; frame < frames; ++frame) {
            for (const MeshTriangle& triangle : mesh.Triangles) {
                for (uint16_t vertex : triangle.Vertex) {
                    GetMeshVertex(mesh, static_cast<uint16_t>(frame), vertex);
                }
            }
        }
    });
    return 0;
}
