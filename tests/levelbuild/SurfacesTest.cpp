// Surfaces as the engine reads them: brushes placed by the brush transform (turned, scaled,
// mirrored) face the right way and keep their texture coordinates through the engine's own
// triangulation, and bare texture names are qualified from the content tree.
#include "Surfaces.h"
#include "MapText.h"
#include "TextureNames.h"

#include "content/LevelModel.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

TEST(Surfaces, PlacedBrushesFaceTheirSideAndKeepTheirTextureCoordinates) {
    for (const char* placement :
         {"Location=(X=1000,Y=-200,Z=50)\nRotation=(Yaw=5000,Roll=3000)\nPrePivot=(X=16,Y=8,Z=4)",
          "MainScale=(Scale=(X=2.000000,Z=-1.000000),SheerAxis=SHEER_ZX)\nRotation=(Pitch=3000,Yaw=8192)\n"
          "PostScale=(Scale=(Y=1.500000),SheerAxis=SHEER_ZX)",
          "MainScale=(Scale=(X=-1.000000),SheerAxis=SHEER_ZX)\nLocation=(X=-300,Y=0,Z=64)"}) {
        SCOPED_TRACE(placement);
        std::string room = test::BoxBrush("Room", "CSG_Subtract", {-128, -128, 0}, {128, 128, 256}, {placement},
                                          "Orvane.Walls.Panned");
        for (size_t at = 0; (at = room.find("Link=0\n", at)) != std::string::npos;) {
            room.insert(at += 7, "             Pan      U=16 V=-8\n");
        }
        const CompiledLevel level = test::Compile(test::MapText({room}), 500);
        const BrushSolid& brush = level.Brushes[0];
        const DVector centre(BrushVertexToWorld(brush.Transform, {0, 0, 128}));
        EXPECT_TRUE(brush.Contains(centre));
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
            int matched = 0;
            for (const T3dPolygon& p : level.Map.Actors[1].Polygons) {
                const DVector n = TransformCovector(
                    brush.Transform, DVector(Cross(p.Vertices[1] - p.Vertices[0], p.Vertices[2] - p.Vertices[0])));
                for (int c = 0; c < 3 && Dot(Normalized(n), DVector(s.Normal)) > 0.999; ++c) {
                    for (const Vector& corner : p.Vertices) {
                        if (Length(DVector(BrushVertexToWorld(brush.Transform, corner)) - DVector(t.Vertices[c])) <
                            0.01) {
                            ++matched;
                            EXPECT_NEAR(t.TexCoords[c][0], (Dot(corner - p.Origin, p.TextureU) + 16) / 128.0f, 1e-3);
                            EXPECT_NEAR(t.TexCoords[c][1], 1.0f - (Dot(corner - p.Origin, p.TextureV) - 8) / 128.0f,
                                        1e-3);
                        }
                    }
                }
            }
            EXPECT_EQ(matched, 3);
        }
    }
}

TEST(TextureNames, BareNamesAreQualifiedFromTheContentTree) {
    test::TempDir game;
    // The Textures tree is searched before the packages' own Textures folders.
    for (const char* file : {"Textures/Walls/Textures/Metal/Wall.png", "Textures/Walls/Textures/Crate.JPG",
                             "Textures/Rock/TEXTURES/Metal/Deep/Stone.bmp", "Textures/Walls/Textures/Metal/Notes.txt",
                             "System/Effects/Textures/Fire/Flame.firet", "System/Effects/Textures/Wall.png"}) {
        game.Write(file, "");
    }
    TextureNames names(game.Path().string());
    std::vector<std::string> qualified;
    for (const char* bare : {"wall", "Crate", "STONE", "Flame", "Pkg.Group.Name", "", "Notes", "Missing", "MISSING"}) {
        qualified.push_back(names.Qualify(bare));
    }
    // STONE lies deeper than a group: it is found by its package alone.
    EXPECT_EQ(qualified,
              (std::vector<std::string>{"Walls.Metal.Wall", "Walls.Crate", "Rock.Stone", "Effects.Fire.Flame",
                                        "Pkg.Group.Name", "", "Notes", "Missing", "MISSING"}));
    EXPECT_EQ(names.Unresolved(), (std::vector<std::string>{"Notes", "Missing"}));
}

} // namespace
} // namespace orv
