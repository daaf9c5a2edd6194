// Brush placement: the shared brush transform for corners, the inverse transpose for normals and
// texture axes, mirrored windings, which brushes apply and how, and containment tests that
// survive the editor's rounding.
#include "Brushes.h"
#include "MapText.h"

#include "content/LevelModel.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

const std::vector<std::string> kPlacements[] = {
    {"Location=(X=100,Y=-50,Z=20)", "Rotation=(Pitch=3000,Yaw=12000,Roll=-7000)", "PrePivot=(X=16,Y=8,Z=4)"},
    {"MainScale=(Scale=(X=2.000000,Z=-1.000000),SheerAxis=SHEER_ZX)", "Rotation=(Yaw=8192)",
     "PostScale=(Scale=(Y=1.500000),SheerAxis=SHEER_ZX)"},
    {"MainScale=(Scale=(X=-1.000000),SheerAxis=SHEER_ZX)", "Location=(X=-300,Y=0,Z=64)"},
};

TEST(Brushes, PlacementKeepsNormalsOutwardAndTexturesOnTheBrush) {
    const Vector brushMin{-32, -48, -16}, brushMax{64, 48, 80};
    for (const std::vector<std::string>& props : kPlacements) {
        const MapFile map =
            ParseMap(test::MapText({test::BoxBrush("Box", "CSG_Add", brushMin, brushMax, props)}), "T.t3d");
        BrushStats stats;
        const std::vector<BrushSolid> brushes = MakeBrushes(map, stats);
        ASSERT_EQ(brushes.size(), 1u);
        const BrushSolid& b = brushes[0];
        ASSERT_EQ(b.Faces.size(), 6u);
        const MapActor& actor = map.Actors[1];
        // The placed centre lies behind every face: normals point out even through a mirror.
        const DVector centre(BrushVertexToWorld(b.Transform, (brushMin + brushMax) * 0.5f));
        for (size_t f = 0; f < b.Faces.size(); ++f) {
            const BrushFace& face = b.Faces[f];
            EXPECT_LT(face.Plane.Distance(centre), -1.0) << props[0] << " face " << f;
            EXPECT_TRUE(b.Contains(centre));
            // Every corner keeps its texture coordinates: u = (p - origin).U before and after.
            const T3dPolygon& poly = actor.Polygons[static_cast<size_t>(face.Polygon)];
            for (const Vector& corner : poly.Vertices) {
                const DVector world(BrushVertexToWorld(b.Transform, corner));
                const double u = Dot(DVector(corner - poly.Origin), DVector(poly.TextureU));
                const double v = Dot(DVector(corner - poly.Origin), DVector(poly.TextureV));
                EXPECT_NEAR(Dot(world - face.Origin, face.TextureU), u, 0.01) << props[0];
                EXPECT_NEAR(Dot(world - face.Origin, face.TextureV), v, 0.01) << props[0];
            }
        }
    }
}

TEST(Brushes, WhichBrushesApplyAndHow) {
    const std::vector<test::Polygon> box = test::BoxFaces({0, 0, 0}, {64, 64, 64});
    std::string sheet = test::BrushText("Sheet", "CSG_Add", {box[4]}, {});
    test::LogCapture log;
    const MapFile map = ParseMap(
        test::MapText({test::BrushText("Brush0", "", box), // builder brush
                       test::BrushText("Builder", "CSG_Active", box),
                       test::BrushText("Odd", "CSG_Intersect", box),                                // not built
                       test::BrushText("Flat", "CSG_Add", box, {"MainScale=(Scale=(Z=0.000000))"}), // no volume
                       test::BrushText("Flagged", "CSG_Subtract", box, {"PolyFlags=67109128"}),     // zone portal
                       test::BrushText("SemiHole", "csg_subtract", box, {"PolyFlags=32"}), sheet,
                       test::BrushText("Solid", "CSG_Add", box, {"PolyFlags=1"})}),
        "T.t3d");
    BrushStats stats;
    const std::vector<BrushSolid> brushes = MakeBrushes(map, stats);
    EXPECT_EQ(stats.BrushActors, 8);
    ASSERT_EQ(brushes.size(), 4u);
    EXPECT_EQ(stats.Applied, 4);
    EXPECT_EQ(brushes[0].Name, "Flagged");
    EXPECT_EQ(brushes[0].Kind, Solidity::NonSolid);
    EXPECT_EQ(brushes[0].Faces[0].Flags, PF_ZonePortal | PF_TwoSided | PF_NotSolid);
    EXPECT_EQ(brushes[1].Kind, Solidity::NonSolid); // a semisolid hole carves nothing
    EXPECT_EQ(brushes[1].Op, CsgOp::Subtract);
    EXPECT_EQ(brushes[2].Kind, Solidity::NonSolid); // one face encloses nothing
    EXPECT_EQ(brushes[3].Kind, Solidity::Solid);
    EXPECT_EQ(brushes[3].Faces[0].Flags, PF_Invisible);
    EXPECT_TRUE(log.Contains("Warning: Odd: CSG operation CSG_Intersect is not built"));
    EXPECT_TRUE(log.Contains("Warning: Flat: flattened by its scale, not built"));
    EXPECT_TRUE(log.Contains("Warning: Sheet encloses no space (1 faces); its faces are added as a sheet"));

    // Editor-only bits on a polygon never reach the world.
    const MapFile marked =
        ParseMap("Begin Actor Class=Brush Name=B\nCsgOper=CSG_Add\n" + test::PolygonText(box[0], "", 0xC3000004u) +
                     test::PolygonText(box[1]) + test::PolygonText(box[2]) + test::PolygonText(box[3]) + "End Actor\n",
                 "T.t3d");
    BrushStats markedStats;
    EXPECT_EQ(MakeBrushes(marked, markedStats)[0].Faces[0].Flags, PF_Translucent);
}

TEST(Brushes, ContainmentOfConcaveAndRoundedBrushes) {
    // An L-shaped prism: the notch at x > 64, y > 64 is outside.
    const std::vector<Vector> outline = {{0, 0, 0}, {128, 0, 0}, {128, 64, 0}, {64, 64, 0}, {64, 128, 0}, {0, 128, 0}};
    std::vector<test::Polygon> faces;
    test::Polygon bottom(outline.rbegin(), outline.rend()), top;
    for (const Vector& p : outline) {
        top.push_back(p + Vector{0, 0, 32});
    }
    faces.push_back(bottom);
    faces.push_back(top);
    for (size_t i = 0; i < outline.size(); ++i) {
        const Vector a = outline[i], b = outline[(i + 1) % outline.size()];
        faces.push_back({a, b, b + Vector{0, 0, 32}, a + Vector{0, 0, 32}});
    }
    // A box whose bottom corner was rounded 0.2 units past the side walls, as editor exports are.
    std::vector<test::Polygon> rounded = test::BoxFaces({0, 0, 0}, {64, 64, 64});
    rounded[5][1] = rounded[5][1] + Vector{-0.2f, 0.2f, 0};
    const MapFile map = ParseMap(
        test::MapText({test::BrushText("L", "CSG_Add", faces), test::BrushText("Rounded", "CSG_Subtract", rounded)}),
        "T.t3d");
    BrushStats stats;
    const std::vector<BrushSolid> brushes = MakeBrushes(map, stats);
    ASSERT_EQ(brushes.size(), 2u);
    const BrushSolid& l = brushes[0];
    EXPECT_TRUE(l.Contains({32, 32, 16}));
    EXPECT_TRUE(l.Contains({100, 32, 16}));
    EXPECT_TRUE(l.Contains({32, 100, 16}));
    EXPECT_FALSE(l.Contains({100, 100, 16}));
    EXPECT_FALSE(l.Contains({32, 32, 40}));
    EXPECT_FALSE(l.Contains({-1, 32, 16}));
    const BrushSolid& r = brushes[1];
    EXPECT_TRUE(r.Contains({32, 32, 32}));
    for (const DVector far :
         {DVector{-500, 32, 32}, DVector{32, 500, 32}, DVector{-500, 500, 32}, DVector{32, 32, -500}}) {
        EXPECT_FALSE(r.Contains(far)) << far.X << " " << far.Y << " " << far.Z;
    }
    // A polygon lying on the L's top counts as inside only when its offset side points into it.
    std::vector<Winding> inside, outside;
    const Winding onTop{{8, 8, 32}, {24, 8, 32}, {24, 24, 32}};
    l.Classify(onTop, {0, 0, 1}, -1.0, inside, outside);
    EXPECT_EQ(inside.size(), 1u);
    inside.clear();
    l.Classify(onTop, {0, 0, 1}, 1.0, inside, outside);
    EXPECT_TRUE(inside.empty());
    // One crossing the notch's edge is cut there.
    inside.clear();
    outside.clear();
    l.Classify({{32, 100, 16}, {100, 100, 16}, {100, 110, 16}}, {0, 0, 1}, 1.0, inside, outside);
    ASSERT_EQ(inside.size(), 1u);
    EXPECT_NEAR(WindingBounds(inside[0]).Max.X, 64.0, 1e-6);
}

} // namespace
} // namespace orv
