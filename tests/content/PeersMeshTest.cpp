// Real vertex meshes made for the original game, read from ../shared/peers when it is there.
#include "content/MeshFiles.h"
#include "content/Resources.h"
#include "core/BinaryReader.h"

#include "content/ContentTestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace orv {
namespace {

namespace fs = std::filesystem;

TEST(PeersMeshes, RealMeshesLoadWithTheCountsTheirSizesImply) {
    for (const std::string stem : {"Keycard", "Tags", "MedBox"}) {
        SCOPED_TRACE(stem);
        ORV_PEER_FILE(animation, "meshes/" + stem + "_a.3d");
        ORV_PEER_FILE(data, "meshes/" + stem + "_d.3d");
        Resources res;
        Mesh mesh;
        test::LogCapture log;
        ReadMesh(res, mesh, animation.string(), data.string(), "Peers");
        EXPECT_EQ(log.Lines().size(), 0u) << "no warnings for a well-formed mesh";

        // _a.3d: 4 header bytes then NumFrames frames of FrameSize bytes; _d.3d: 48 then 16 per triangle.
        ASSERT_GT(mesh.NumFrames, 0);
        EXPECT_EQ(fs::file_size(animation), 4u + size_t(mesh.NumFrames) * mesh.FrameSize);
        EXPECT_EQ(fs::file_size(data), 48u + 16u * size_t(mesh.Triangles.Num()));
        EXPECT_EQ(mesh.Frames.Num(), mesh.NumFrames * mesh.NumVertices());

        for (const MeshTriangle& t : mesh.Triangles) {
            for (uint16_t v : t.Vertex) {
                ASSERT_LT(v, mesh.NumVertices());
            }
        }
        // Every frame holds a real shape: not all of its vertices on one point.
        for (uint16_t f = 0; f < mesh.NumFrames; ++f) {
            const Vector first = GetMeshVertex(mesh, f, 0);
            bool spread = false;
            for (uint16_t v = 1; v < mesh.NumVertices() && !spread; ++v) {
                const Vector p = GetMeshVertex(mesh, f, v);
                spread = p.X != first.X || p.Y != first.Y || p.Z != first.Z;
            }
            EXPECT_TRUE(spread) << "frame " << f;
        }
    }

    // A data file without its animation file: the triangles alone.
    ORV_PEER_FILE(commando, "meshes/Commando_d.3d");
    Mesh mesh;
    mesh.FrameSize = 437 * 4;
    std::optional<BinaryReader> reader = BinaryReader::OpenFile(commando.string());
    ASSERT_TRUE(reader);
    test::LogCapture log;
    ReadMeshDataFile(*reader, mesh);
    EXPECT_TRUE(log.Lines().empty());
    EXPECT_EQ(fs::file_size(commando), 48u + 16u * size_t(mesh.Triangles.Num()));
}

} // namespace
} // namespace orv
