// Vertex meshes: packed vertices, the two files through their writers and readers, the mesh table,
// the #exec directives, and real meshes made for the original game from ../shared/peers. Damaged
// files are ReaderRobustness's.
#include "content/MeshFiles.h"
#include "content/Resources.h"
#include "core/BinaryReader.h"

#include "content/ContentTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

namespace orv {
namespace {

using Meshes = test::ContentTree;

MeshTriangle Triangle(uint16_t a, uint16_t b, uint16_t c, uint8_t textureNum = 0) {
    return {.Vertex = {a, b, c}, .Type = 0x08, .Color = 7, .Tex = {{0, 0}, {200, 0}, {0, 17}}, .TextureNum = textureNum,
            .Flags = 3};
}

// System\<path>_a.3d and _d.3d: 3 vertices in 2 frames, frame f putting vertex v at (v + 10 f, -v, f).
void WriteBoxMesh(const test::TempDir& dir, const std::string& path, const std::vector<MeshTriangle>& triangles,
                  uint16_t dataVertexCount = 3) {
    std::vector<uint32_t> frames;
    for (int f = 0; f < 2; ++f) {
        for (int v = 0; v < 3; ++v) {
            frames.push_back(PackMeshVertex({float(v + 10 * f), float(-v), float(f)}));
        }
    }
    test::WriteBytes(dir, "System/" + path + "_a.3d", WriteMeshAnimationFile(2, 3, frames));
    test::WriteBytes(dir, "System/" + path + "_d.3d", WriteMeshDataFile(dataVertexCount, triangles));
}

TEST(MeshFiles, PackedVerticesKeepTheirSignRulesAndWritersRefuseWhatTheFormatCannotHold) {
    // X and Y are 11-bit fields reading 1025..2047 as negative, Z a 10-bit field from 512.
    const std::pair<uint32_t, Vector> fields[] = {
        {1025, {-1023, 0, 0}},      {1024, {1024, 0, 0}},    {1025u << 11, {0, -1023, 0}},
        {1024u << 11, {0, 1024, 0}}, {512u << 22, {0, 0, -512}}, {511u << 22, {0, 0, 511}},
        {5u | (2047u << 11) | (1023u << 22), {5, -1, -1}}};
    for (const auto& [packed, v] : fields) {
        EXPECT_EQ(UnpackMeshVertex(packed), v) << packed;
    }
    for (int x = -1023; x <= 1024; x += 97) { // a coarse sweep over both ranges, every value packed back
        for (int z = -512; z <= 511; z += 61) {
            const Vector v{float(x), float(-x / 2), float(z)};
            ASSERT_EQ(UnpackMeshVertex(PackMeshVertex(v)), v);
        }
    }
    EXPECT_EQ(UnpackMeshVertex(PackMeshVertex({-1024.0f, 5000.0f, 600.0f})), (Vector{-1023, 1024, 511})) << "clamped";
    EXPECT_EQ(UnpackMeshVertex(PackMeshVertex({1.6f, -2.4f, std::nanf("")})), (Vector{2, -2, 0})) << "rounded";

    EXPECT_NE(test::CatchFatal([] { WriteMeshAnimationFile(1, 2, {1, 2, 3}); }), "<no fatal error>");
    // FrameSize is 16 bits of 4 bytes a vertex: 16383 vertices at most.
    EXPECT_NE(test::CatchFatal([] { WriteMeshAnimationFile(0, 16384, {}); }), "<no fatal error>");
    EXPECT_EQ(WriteMeshAnimationFile(0, 16383, {}), (std::vector<uint8_t>{0, 0, 0xFC, 0xFF}));
}

TEST_F(Meshes, FilesRoundTripIntoATablePerPackage) {
    const std::vector<MeshTriangle> triangles = {Triangle(0, 1, 2, 15), Triangle(2, 1, 0, 3)};
    WriteBoxMesh(Dir, "Pkg/Models/Box", triangles);
    Mesh* box = LoadMesh(Res, "Pkg.Box");
    EXPECT_EQ(box->Package + "." + box->Name, "Pkg.Box");
    EXPECT_EQ(std::vector<int>({box->NumFrames, box->FrameSize, box->Frames.Num()}), std::vector<int>({2, 12, 6}));
    EXPECT_EQ(WriteMeshDataFile(3, box->Triangles.Std()), WriteMeshDataFile(3, triangles));
    EXPECT_EQ(GetMeshVertex(*box, 1, 2), (Vector{12, -2, 1}));
    EXPECT_EQ(GetMeshVertex(*box, 2, 2).X, 2.0f) << "frame NumFrames wraps to frame 0";
    EXPECT_EQ(GetMeshVertex(*box, 65535, 1).X, 11.0f);
    EXPECT_EQ(GetMeshVertex(*Res.FallbackMesh(), 3, 0), Vector{}) << "a mesh without frames has no vertices";

    WriteBoxMesh(Dir, "First/Models/Crate", {Triangle(0, 1, 2)});
    WriteBoxMesh(Dir, "Second/Models/Crate", triangles);
    Write("System/Second/Models/Lonely_a.3d", std::string(4, '\0'));
    Mesh* fallback = FindMesh(Res, "");
    EXPECT_EQ(fallback, Res.FallbackMesh());
    EXPECT_EQ(LoadMesh(Res, "Crate"), fallback) << "no package and none loaded: no file is read";
    Mesh* second = FindMesh(Res, "Second.Crate");
    Mesh* first = LoadMesh(Res, "Mesh'first.CRATE'");
    EXPECT_EQ(std::pair(first->Triangles.Num(), second->Triangles.Num()), std::pair(1, 2));
    EXPECT_EQ(LoadMesh(Res, "Crate"), second) << "without a package the first one loaded wins";
    EXPECT_EQ(LoadMesh(Res, "FIRST.crate"), first);
    EXPECT_EQ(LoadMesh(Res, "First.Group.Crate"), first);
    EXPECT_EQ(LoadMesh(Res, "Second.Lonely"), fallback) << "the data file is missing";
    EXPECT_EQ(LoadMesh(Res, "Nowhere.Crate"), fallback);
    test::LogCapture log;
    EXPECT_EQ(LoadMesh(Res, "A.B.C.Crate"), fallback);
    EXPECT_TRUE(log.Contains("Bad name A.B.C.Crate"));
    EXPECT_EQ(Res.Meshes.Num(), 4);
}

TEST_F(Meshes, DirectivesPlaceSkinAndAnimateTheMesh) {
    WriteBoxMesh(Dir, "Pkg/Models/Imp", {Triangle(0, 1, 2)});
    test::WritePng(Dir, "System/Pkg/Textures/ImpSkin.png", 0xFF00FF00u);
    test::WritePng(Dir, "System/Other/Textures/Shared.png", 0xFF0000FFu);
    for (const char* text : {"MESH ORIGIN MESH=Imp X=10 Y=-2.5 Z=0 YAW=64 PITCH=-0.5 ROLL=1.25",
                             "MESHMAP SETTEXTURE MESHMAP=Imp NUM=1 TEXTURE=ImpSkin",
                             "MESHMAP SETTEXTURE MESHMAP=Imp NUM=15 TEXTURE=Other.Shared",
                             "MESHMAP SETTEXTURE MESHMAP=Imp NUM=2", "MESHMAP SETTEXTURE MESHMAP=Imp NUM=16",
                             "MESH SEQUENCE MESH=Imp SEQ=All STARTFRAME=0 NUMFRAMES=2",
                             "MESH SEQUENCE MESH=Imp SEQ=Walk STARTFRAME=1 NUMFRAMES=1 RATE=15.5",
                             "MESH SEQUENCE MESH=Imp SEQ=Tab\tSTARTFRAME=1\tRATE=8\tNUMFRAMES=1",
                             "MESH NOTIFY MESH=Imp SEQ=Walk TIME=0.25 FUNCTION=Step", "MESH IMPORT MESH=Imp"}) {
        Res.MeshDirectives.Add({"Imp", text});
    }
    Res.MeshDirectives.Add({"imp", "MESHMAP SCALE MESHMAP=Imp X=0.5 Z=2"});
    Res.MeshDirectives.Add({"Other", "MESH ORIGIN MESH=Other X=99"});

    test::LogCapture log;
    Mesh* imp = LoadMesh(Res, "Pkg.Imp");
    EXPECT_EQ(imp->Origin, (Vector{10, -2.5f, 0}));
    EXPECT_EQ(imp->RotOrigin, (Rotator{-128, 64 * 256, 320})) << "angles in 256ths of the rotator unit";
    EXPECT_EQ(imp->Scale, (Vector{0.5f, 0.25f, 2})) << "an absent component keeps its value";
    // Skins: looked up in the mesh's package unless named with their own, held for the run; a
    // slot named without a texture holds the fallback, one never named nothing.
    EXPECT_EQ(std::tuple(imp->Skins[1]->Name, imp->Skins[1]->Pixels.At(0, 0), int(imp->Skins[1]->bLevelTexture)),
              std::tuple("ImpSkin", 0xFF00FF00u, 0));
    EXPECT_EQ(imp->Skins[15]->Pixels.At(0, 0), 0xFF0000FFu);
    EXPECT_TRUE(imp->Skins[2] == Res.FallbackTexture() && imp->Skins[0] == nullptr);
    EXPECT_TRUE(log.Contains("Warning: bad texture number 16 in MESHMAP SETTEXTURE for Imp"));

    // Name, first frame, frame count, rate: 30 frames a second without a RATE, read as an integer,
    // and ending at a blank only ("8\tNUMFRAMES=1" reads as 8).
    EXPECT_EQ(test::Lines(imp->Sequences,
                          [](const MeshSequence& s) {
                              return s.Name + " " + std::to_string(s.StartFrame) + " " + std::to_string(s.NumFrames) +
                                     " " + std::to_string(int(s.Rate));
                          }),
              (std::vector<std::string>{"All 0 2 30", "Walk 1 1 15", "Tab 1 1 8"}));
    ASSERT_EQ(imp->Notifies.Num(), 1);
    EXPECT_EQ(imp->Notifies[0].Sequence + " " + imp->Notifies[0].Function + " " + std::to_string(imp->Notifies[0].Time),
              "Walk Step 0.250000");
}

TEST_F(Meshes, BadTrianglesHeaderMismatchesAndExtraNotifiesWarnOnce) {
    // A corner past the 3 vertices, texture number 16, a corner of 65535: three dropped.
    const std::vector<MeshTriangle> triangles = {Triangle(0, 1, 2), Triangle(0, 3, 1), Triangle(2, 1, 0, 16),
                                                 Triangle(65535, 0, 1), Triangle(1, 2, 0, 15)};
    WriteBoxMesh(Dir, "Pkg/Models/Torn", triangles, 4);
    for (int i = 0; i < kMaxMeshNotifies + 2; ++i) {
        Res.MeshDirectives.Add({"Torn", "MESH NOTIFY MESH=Torn SEQ=Walk TIME=0.5 FUNCTION=Step" + std::to_string(i)});
    }
    test::LogCapture log;
    Mesh* torn = LoadMesh(Res, "Pkg.Torn");
    ASSERT_EQ(torn->Triangles.Num(), 2);
    EXPECT_EQ(torn->Triangles[1].TextureNum, 15);
    EXPECT_EQ(torn->Notifies.Num(), kMaxMeshNotifies + 2);
    const std::string file = "Warning (System\\Pkg\\Models\\Torn_d.3d): ";
    EXPECT_EQ(log.Lines(),
              (std::vector<std::string>{file + "FrameSize <> NumVerts*4",
                                        file + "3 triangles with a bad vertex index or texture number dropped",
                                        "Warning: Torn has 66 notifies; those past the 64th never fire"}));
}

TEST(PeersMeshes, RealMeshesLoadWithTheCountsTheirSizesImply) {
    namespace fs = std::filesystem;
    // _a.3d: 4 header bytes then NumFrames frames of FrameSize bytes; _d.3d: 48 then 16 a triangle.
    auto dataSize = [](const Mesh& mesh) { return 48u + 16u * size_t(mesh.Triangles.Num()); };
    for (const std::string stem : {"Keycard", "Tags", "MedBox"}) {
        SCOPED_TRACE(stem);
        ORV_PEER_FILE(animation, "meshes/" + stem + "_a.3d");
        ORV_PEER_FILE(data, "meshes/" + stem + "_d.3d");
        Resources res;
        Mesh mesh;
        test::LogCapture log;
        ReadMesh(res, mesh, animation.string(), data.string(), "Peers");
        EXPECT_TRUE(log.Lines().empty()) << "no warnings for a well-formed mesh";
        ASSERT_GT(mesh.NumFrames, 0);
        EXPECT_EQ(fs::file_size(animation), 4u + size_t(mesh.NumFrames) * mesh.FrameSize);
        EXPECT_EQ(fs::file_size(data), dataSize(mesh));
        // Every frame holds a real shape: not all of its vertices on one point.
        for (uint16_t f = 0; f < mesh.NumFrames; ++f) {
            int spread = 0;
            for (uint16_t v = 1; v < mesh.NumVertices(); ++v) {
                spread += GetMeshVertex(mesh, f, v) != GetMeshVertex(mesh, f, 0);
            }
            EXPECT_GT(spread, 0) << "frame " << f;
        }
    }
    // A data file without its animation file: the triangles alone.
    ORV_PEER_FILE(commando, "meshes/Commando_d.3d");
    Mesh mesh;
    mesh.FrameSize = 437 * 4; // the commando's vertex count, 4 bytes each
    std::optional<BinaryReader> reader = BinaryReader::OpenFile(commando.string());
    ASSERT_TRUE(reader);
    test::LogCapture log;
    ReadMeshDataFile(*reader, mesh);
    EXPECT_TRUE(log.Lines().empty());
    EXPECT_EQ(fs::file_size(commando), dataSize(mesh));
}

} // namespace
} // namespace orv
