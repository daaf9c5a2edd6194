// Vertex meshes: packed vertices, the two files, the mesh table and the #exec directives.
#include "content/MeshFiles.h"
#include "content/Resources.h"
#include "core/BinaryReader.h"

#include "content/ContentTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>

namespace orv {
namespace {

using Meshes = test::ContentTree;

MeshTriangle Triangle(uint16_t a, uint16_t b, uint16_t c, uint8_t textureNum = 0) {
    MeshTriangle t;
    t.Vertex[0] = a;
    t.Vertex[1] = b;
    t.Vertex[2] = c;
    t.TextureNum = textureNum;
    t.Type = 0x08;
    t.Color = 7;
    t.Tex[1][0] = 200;
    t.Tex[2][1] = 17;
    t.Flags = 3;
    return t;
}

// A mesh of 3 vertices in 2 frames: frame f puts vertex v at (v + 10 f, -v, f).
void WriteBoxMesh(const test::TempDir& dir, const std::string& package, const std::string& name,
                  const std::vector<MeshTriangle>& triangles, uint16_t dataVertexCount = 3) {
    std::vector<uint32_t> frames;
    for (int f = 0; f < 2; ++f) {
        for (int v = 0; v < 3; ++v) {
            frames.push_back(PackMeshVertex({float(v + 10 * f), float(-v), float(f)}));
        }
    }
    const std::string stem = "System/" + package + "/Models/" + name;
    test::WriteBytes(dir, stem + "_a.3d", WriteMeshAnimationFile(2, 3, frames));
    test::WriteBytes(dir, stem + "_d.3d", WriteMeshDataFile(dataVertexCount, triangles));
}

void AddDirective(Resources& res, const std::string& mesh, const std::string& text) {
    res.MeshDirectives.Add(MeshDirective{mesh, text});
}

TEST(MeshVertices, PackedFieldsUnpackWithTheirSignRules) {
    EXPECT_EQ(UnpackMeshVertex(1025).X, -1023.0f);
    EXPECT_EQ(UnpackMeshVertex(1024).X, 1024.0f);
    EXPECT_EQ(UnpackMeshVertex(1025u << 11).Y, -1023.0f);
    EXPECT_EQ(UnpackMeshVertex(1024u << 11).Y, 1024.0f);
    EXPECT_EQ(UnpackMeshVertex(512u << 22).Z, -512.0f);
    EXPECT_EQ(UnpackMeshVertex(511u << 22).Z, 511.0f);
    const Vector mixed = UnpackMeshVertex(5u | (2047u << 11) | (1023u << 22));
    EXPECT_EQ(mixed.X, 5.0f);
    EXPECT_EQ(mixed.Y, -1.0f);
    EXPECT_EQ(mixed.Z, -1.0f);

    for (int x = -1023; x <= 1024; x += 97) {
        for (int z = -512; z <= 511; z += 61) {
            const Vector v{float(x), float(-x / 2), float(z)};
            const Vector back = UnpackMeshVertex(PackMeshVertex(v));
            ASSERT_EQ(back.X, v.X);
            ASSERT_EQ(back.Y, v.Y);
            ASSERT_EQ(back.Z, v.Z);
        }
    }
    const Vector clamped = UnpackMeshVertex(PackMeshVertex({-1024.0f, 5000.0f, 600.0f}));
    EXPECT_EQ(clamped.X, -1023.0f);
    EXPECT_EQ(clamped.Y, 1024.0f);
    EXPECT_EQ(clamped.Z, 511.0f);
    const Vector rounded = UnpackMeshVertex(PackMeshVertex({1.6f, -2.4f, std::nanf("")}));
    EXPECT_EQ(rounded.X, 2.0f);
    EXPECT_EQ(rounded.Y, -2.0f);
    EXPECT_EQ(rounded.Z, 0.0f);
}

TEST_F(Meshes, FilesRoundTripAndFramesWrap) {
    WriteBoxMesh(Dir, "Pkg", "Box", {Triangle(0, 1, 2, 15), Triangle(2, 1, 0, 3)});
    Mesh* box = LoadMesh(Res, "Pkg.Box");
    ASSERT_NE(box, Res.FallbackMesh());
    EXPECT_EQ(box->Package, "Pkg");
    EXPECT_EQ(box->Name, "Box");
    EXPECT_EQ(box->NumFrames, 2);
    EXPECT_EQ(box->FrameSize, 12);
    EXPECT_EQ(box->Frames.Num(), 6);
    EXPECT_EQ(WriteMeshDataFile(3, box->Triangles.Std()),
              WriteMeshDataFile(3, {Triangle(0, 1, 2, 15), Triangle(2, 1, 0, 3)}));
    EXPECT_EQ(box->Triangles[0].Tex[1][0], 200);

    const Vector v = GetMeshVertex(*box, 1, 2);
    EXPECT_EQ(v.X, 12.0f);
    EXPECT_EQ(v.Y, -2.0f);
    EXPECT_EQ(v.Z, 1.0f);
    EXPECT_EQ(GetMeshVertex(*box, 2, 2).X, 2.0f) << "frame NumFrames wraps to frame 0";
    EXPECT_EQ(GetMeshVertex(*box, 65535, 1).X, 11.0f);
    EXPECT_EQ(GetMeshVertex(*Res.FallbackMesh(), 3, 0).X, 0.0f) << "a mesh without frames has no vertices to read";

}

TEST_F(Meshes, TablePerPackageAndFallbacks) {
    WriteBoxMesh(Dir, "First", "Crate", {Triangle(0, 1, 2)});
    WriteBoxMesh(Dir, "Second", "Crate", {Triangle(0, 1, 2), Triangle(0, 2, 1)});
    Write("System/Second/Models/Lonely_a.3d", std::string(4, '\0'));

    Mesh* fallback = FindMesh(Res, "");
    ASSERT_EQ(Res.Meshes.Num(), 1);
    EXPECT_EQ(fallback, Res.FallbackMesh());
    EXPECT_EQ(fallback->Name, "");
    EXPECT_EQ(LoadMesh(Res, "Crate"), fallback) << "no package and nothing loaded: no file is read";
    EXPECT_EQ(Res.Meshes.Num(), 1);

    Mesh* second = FindMesh(Res, "Second.Crate");
    Mesh* first = LoadMesh(Res, "Mesh'first.CRATE'");
    EXPECT_NE(first, second);
    EXPECT_EQ(first->Triangles.Num(), 1);
    EXPECT_EQ(second->Triangles.Num(), 2);
    EXPECT_EQ(LoadMesh(Res, "Crate"), second) << "without a package the first one loaded wins";
    EXPECT_EQ(LoadMesh(Res, "FIRST.crate"), first);
    EXPECT_EQ(LoadMesh(Res, "First.Group.Crate"), first);
    EXPECT_EQ(Res.Meshes.Num(), 3);

    EXPECT_EQ(LoadMesh(Res, "Second.Lonely"), fallback) << "the data file is missing";
    EXPECT_EQ(LoadMesh(Res, "Nowhere.Crate"), fallback);
    test::LogCapture log;
    EXPECT_EQ(LoadMesh(Res, "A.B.C.Crate"), fallback);
    EXPECT_TRUE(log.Contains("Bad name A.B.C.Crate"));
    EXPECT_EQ(Res.Meshes.Num(), 3);
}

TEST_F(Meshes, DirectivesPlaceSkinAndAnimateTheMesh) {
    WriteBoxMesh(Dir, "Pkg", "Imp", {Triangle(0, 1, 2)});
    test::WritePng(Dir, "System/Pkg/Textures/ImpSkin.png", 0xFF00FF00u);
    test::WritePng(Dir, "System/Other/Textures/Shared.png", 0xFF0000FFu);
    AddDirective(Res, "Imp", "MESH ORIGIN MESH=Imp X=10 Y=-2.5 Z=0 YAW=64 PITCH=-0.5 ROLL=1.25");
    AddDirective(Res, "imp", "MESHMAP SCALE MESHMAP=Imp X=0.5 Z=2");
    AddDirective(Res, "Imp", "MESHMAP SETTEXTURE MESHMAP=Imp NUM=1 TEXTURE=ImpSkin");
    AddDirective(Res, "Imp", "MESHMAP SETTEXTURE MESHMAP=Imp NUM=15 TEXTURE=Other.Shared");
    AddDirective(Res, "Imp", "MESHMAP SETTEXTURE MESHMAP=Imp NUM=2");
    AddDirective(Res, "Imp", "MESHMAP SETTEXTURE MESHMAP=Imp NUM=16 TEXTURE=ImpSkin");
    AddDirective(Res, "Imp", "MESH SEQUENCE MESH=Imp SEQ=All STARTFRAME=0 NUMFRAMES=2");
    AddDirective(Res, "Imp", "MESH SEQUENCE MESH=Imp SEQ=Walk STARTFRAME=1 NUMFRAMES=1 RATE=15.5");
    AddDirective(Res, "Imp", "MESH SEQUENCE MESH=Imp SEQ=Tab\tSTARTFRAME=1\tRATE=8\tNUMFRAMES=1");
    AddDirective(Res, "Imp", "MESH NOTIFY MESH=Imp SEQ=Walk TIME=0.25 FUNCTION=Step");
    AddDirective(Res, "Imp", "MESH IMPORT MESH=Imp ANIVFILE=x.3d");
    AddDirective(Res, "Other", "MESH ORIGIN MESH=Other X=99");

    test::LogCapture log;
    Mesh* imp = LoadMesh(Res, "Pkg.Imp");
    EXPECT_EQ(imp->Origin.X, 10.0f);
    EXPECT_EQ(imp->Origin.Y, -2.5f);
    EXPECT_EQ(imp->Origin.Z, 0.0f);
    EXPECT_EQ(imp->RotOrigin.Yaw, 64 * 256);
    EXPECT_EQ(imp->RotOrigin.Pitch, -128);
    EXPECT_EQ(imp->RotOrigin.Roll, 320);
    EXPECT_EQ(imp->Scale.X, 0.5f);
    EXPECT_EQ(imp->Scale.Y, 0.25f) << "an absent component keeps its value";
    EXPECT_EQ(imp->Scale.Z, 2.0f);

    ASSERT_NE(imp->Skins[1], nullptr);
    EXPECT_EQ(imp->Skins[1]->Name, "ImpSkin") << "looked up in the mesh's package";
    EXPECT_EQ(imp->Skins[1]->Pixels.At(0, 0), 0xFF00FF00u);
    EXPECT_EQ(imp->Skins[1]->bLevelTexture, 0);
    EXPECT_EQ(imp->Skins[15]->Pixels.At(0, 0), 0xFF0000FFu);
    EXPECT_EQ(imp->Skins[2], Res.FallbackTexture());
    EXPECT_EQ(imp->Skins[0], nullptr);
    EXPECT_TRUE(log.Contains("Warning: bad texture number 16 in MESHMAP SETTEXTURE for Imp"));

    ASSERT_EQ(imp->Sequences.Num(), 3);
    EXPECT_EQ(imp->Sequences[0].Name, "All");
    EXPECT_EQ(imp->Sequences[0].NumFrames, 2);
    EXPECT_EQ(imp->Sequences[0].Rate, 30.0f);
    EXPECT_EQ(imp->Sequences[1].StartFrame, 1);
    EXPECT_EQ(imp->Sequences[1].Rate, 15.0f);
    EXPECT_EQ(imp->Sequences[2].Name, "Tab");
    EXPECT_EQ(imp->Sequences[2].NumFrames, 1);
    EXPECT_EQ(imp->Sequences[2].Rate, 8.0f) << "the rate ends at a blank only, and 8\\tNUMFRAMES=1 reads as 8";
    ASSERT_EQ(imp->Notifies.Num(), 1);
    EXPECT_EQ(imp->Notifies[0].Sequence, "Walk");
    EXPECT_EQ(imp->Notifies[0].Time, 0.25f);
    EXPECT_EQ(imp->Notifies[0].Function, "Step");
}

TEST_F(Meshes, BadTrianglesAreDroppedWithOneWarning) {
    WriteBoxMesh(Dir, "Pkg", "Torn",
                 {Triangle(0, 1, 2), Triangle(0, 3, 1), Triangle(2, 1, 0, 16), Triangle(65535, 0, 1), Triangle(1, 2, 0, 15)});
    test::LogCapture log;
    Mesh* torn = LoadMesh(Res, "Pkg.Torn");
    ASSERT_EQ(torn->Triangles.Num(), 2);
    EXPECT_EQ(torn->Triangles[1].TextureNum, 15);
    ASSERT_EQ(log.Lines().size(), 1u);
    EXPECT_EQ(log.Lines()[0],
              "Warning (System\\Pkg\\Models\\Torn_d.3d): 3 triangles with a bad vertex index or texture number dropped");
}

TEST_F(Meshes, NotifiesPastTheSixtyFourthAreKeptWithOneWarning) {
    WriteBoxMesh(Dir, "Pkg", "Chatty", {Triangle(0, 1, 2)});
    for (int i = 0; i < 66; ++i) {
        AddDirective(Res, "Chatty", "MESH NOTIFY MESH=Chatty SEQ=Walk TIME=0.5 FUNCTION=Step" + std::to_string(i));
    }
    test::LogCapture log;
    Mesh* mesh = LoadMesh(Res, "Pkg.Chatty");
    EXPECT_EQ(mesh->Notifies.Num(), 66);
    EXPECT_EQ(log.Lines(), std::vector<std::string>{"Warning: Chatty has 66 notifies; those past the 64th never fire"});
}

TEST_F(Meshes, HeaderMismatchWarnsAndBrokenFilesAreFatal) {
    WriteBoxMesh(Dir, "Pkg", "Odd", {Triangle(0, 1, 2)}, 4);
    test::LogCapture log;
    EXPECT_EQ(LoadMesh(Res, "Pkg.Odd")->Triangles.Num(), 1);
    EXPECT_TRUE(log.Contains("Warning (System\\Pkg\\Models\\Odd_d.3d): FrameSize <> NumVerts*4"));

    Write("System/Pkg/Models/Skew_a.3d", std::string("\x01\x00\x06\x00", 4) + std::string(6, '\0'));
    Write("System/Pkg/Models/Skew_d.3d", std::string(48, '\0'));
    EXPECT_EQ(test::CatchFatal([&] { LoadMesh(Res, "Pkg.Skew"); }),
              "FrameSize not a multiply of four (System\\Pkg\\Models\\Skew_a.3d)");

    // Two frames of two vertices announced, one frame given.
    Write("System/Pkg/Models/Short_a.3d", std::string("\x02\x00\x08\x00", 4) + std::string(8, '\0'));
    Write("System/Pkg/Models/Short_d.3d", std::string(48, '\0'));
    EXPECT_EQ(test::CatchFatal([&] { LoadMesh(Res, "Pkg.Short"); }),
              "Unexpected end of file (System\\Pkg\\Models\\Short_a.3d, offset 4)");

    std::vector<uint8_t> data = WriteMeshDataFile(3, {Triangle(0, 1, 2), Triangle(0, 1, 2)});
    data.resize(data.size() - 1);
    Mesh mesh;
    mesh.FrameSize = 12;
    EXPECT_EQ(test::CatchFatal([&] {
                  BinaryReader r("d.3d", data);
                  ReadMeshDataFile(r, mesh);
              }),
              "Unexpected end of file (d.3d, offset 48)");
    EXPECT_EQ(test::CatchFatal([&] {
                  BinaryReader r("h.3d", std::vector<uint8_t>(20, 0));
                  ReadMeshDataFile(r, mesh);
              }),
              "Unexpected end of file (h.3d, offset 20)");
}

TEST(MeshFiles, WritersRefuseWhatTheFormatCannotHold) {
    EXPECT_NE(test::CatchFatal([] { WriteMeshAnimationFile(1, 2, {1, 2, 3}); }), "<no fatal error>");
    EXPECT_NE(test::CatchFatal([] { WriteMeshAnimationFile(0, 16384, {}); }), "<no fatal error>");
    const std::vector<uint8_t> empty = WriteMeshAnimationFile(0, 16383, {});
    EXPECT_EQ(empty, (std::vector<uint8_t>{0, 0, 0xFC, 0xFF}));
    EXPECT_EQ(WriteMeshDataFile(9, {}).size(), 48u);
}

} // namespace
} // namespace orv
