// Surfaces as the engine reads them: brushes placed by the brush transform (turned, scaled,
// mirrored) face the right way and keep their texture coordinates through the engine's own
// triangulation, and bare texture names are qualified from the content tree.
#include "Surfaces.h"
#include "MapText.h"
#include "TextureNames.h"

#include "content/LevelModel.h"
#include "content/Resources.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

TEST(Surfaces, PlacedBrushesFaceTheirSideAndKeepTheirTextureCoordinates) {
    EXPECT_EQ(StoredSurfaceNormal({0, 0, 1}), (DVector{0, 0, -1}));
    std::string polygons;
    for (const test::Polygon& f : test::BoxFaces({-128, -128, 0}, {128, 128, 256})) {
        std::string text = test::PolygonText(f, "Orvane.Walls.Panned");
        text.insert(text.find("             Vertex"), "             Pan      U=16 V=-8\n");
        polygons += text;
    }
    for (const char* placement :
         {"Location=(X=1000,Y=-200,Z=50)\nRotation=(Yaw=5000,Roll=3000)\nPrePivot=(X=16,Y=8,Z=4)",
          "MainScale=(Scale=(X=2.000000,Z=-1.000000),SheerAxis=SHEER_ZX)\nRotation=(Pitch=3000,Yaw=8192)\n"
          "PostScale=(Scale=(Y=1.500000),SheerAxis=SHEER_ZX)",
          "MainScale=(Scale=(X=-1.000000),SheerAxis=SHEER_ZX)\nLocation=(X=-300,Y=0,Z=64)"}) {
        SCOPED_TRACE(placement);
        const CompiledLevel level =
            test::Compile(test::MapText({"Begin Actor Class=Brush Name=Room\nCsgOper=CSG_Subtract\n" +
                                         std::string(placement) + "\n" + polygons + "End Actor\n"}));
        test::ExpectSoundLevel(level, 500);
        const BrushSolid& room = level.Brushes[0];
        const DVector centre(BrushVertexToWorld(room.Transform, {0, 0, 128}));
        EXPECT_TRUE(room.Contains(centre));
        Array<WorldTriangle> triangles;
        BuildWorldTriangles(level.Model, triangles);
        ASSERT_EQ(triangles.Num(), 12);
        for (const WorldTriangle& t : triangles) {
            const Surface& s = level.Model.Surfaces[level.Model.Nodes[t.Index].Surface];
            EXPECT_EQ((std::pair<int, int>(s.UPan, s.VPan)), std::pair(16, -8));
            // Triangles face the room's centre; the file keeps the opposite.
            EXPECT_GT(Dot(DVector(t.Normal), centre - DVector(t.Centre)), 0.0);
            EXPECT_LT(Dot(DVector(s.Normal), centre - DVector(t.Centre)), 0.0);
            // The engine's texture coordinates (128 texels a side without an image) match the
            // brush-space ones of the corner the vertex came from.
            const T3dPolygon* source = nullptr;
            for (const T3dPolygon& p : level.Map.Actors[1].Polygons) {
                const DVector n = TransformCovector(
                    room.Transform, DVector(Cross(p.Vertices[1] - p.Vertices[0], p.Vertices[2] - p.Vertices[0])));
                source = Dot(Normalized(n), DVector(s.Normal)) > 0.999 ? &p : source;
            }
            ASSERT_NE(source, nullptr);
            for (int c = 0; c < 3; ++c) {
                bool matched = false;
                for (const Vector& corner : source->Vertices) {
                    if (Length(DVector(BrushVertexToWorld(room.Transform, corner)) - DVector(t.Vertices[c])) > 0.01) {
                        continue;
                    }
                    matched = true;
                    const float u = (Dot(corner - source->Origin, source->TextureU) + 16) / 128.0f;
                    const float v = 1.0f - (Dot(corner - source->Origin, source->TextureV) - 8) / 128.0f;
                    EXPECT_NEAR(t.TexCoords[c][0], u, 1e-3);
                    EXPECT_NEAR(t.TexCoords[c][1], v, 1e-3);
                }
                EXPECT_TRUE(matched);
            }
        }
    }
}

TEST(TextureNames, BareNamesAreQualifiedFromTheContentTree) {
    test::TempDir game;
    game.Write("Textures/Walls/Textures/Metal/Wall.png", "");
    game.Write("Textures/Walls/Textures/Crate.JPG", "");
    game.Write("Textures/Rock/TEXTURES/Metal/Deep/Stone.bmp", "");
    game.Write("Textures/Walls/Textures/Metal/Notes.txt", "");
    game.Write("System/Effects/Textures/Fire/Flame.firet", "");
    game.Write("System/Effects/Textures/Wall.png", ""); // the Textures tree is searched first
    TextureNames names(game.Path().string());
    EXPECT_EQ(names.Qualify("wall"), "Walls.Metal.Wall");
    EXPECT_EQ(names.Qualify("Crate"), "Walls.Crate");
    EXPECT_EQ(names.Qualify("STONE"), "Rock.Stone"); // deeper than a group: found by package alone
    EXPECT_EQ(names.Qualify("Flame"), "Effects.Fire.Flame");
    EXPECT_EQ(names.Qualify("Pkg.Group.Name"), "Pkg.Group.Name");
    EXPECT_EQ(names.Qualify(""), "");
    EXPECT_EQ(names.Qualify("Notes"), "Notes");
    EXPECT_EQ(names.Qualify("Missing"), "Missing");
    EXPECT_EQ(names.Qualify("MISSING"), "MISSING");
    EXPECT_EQ(names.Unresolved(), (std::vector<std::string>{"Notes", "Missing"}));
    // No content tree at all: every bare name is kept and listed.
    TextureNames none(game / "nowhere");
    EXPECT_EQ(none.Qualify("Wall"), "Wall");
    EXPECT_EQ(none.Unresolved().size(), 1u);
}

} // namespace
} // namespace orv
