// Brush actors as solids: which ones apply and how, the flags that reach the world, and
// containment tests that survive concave brushes and the editor's rounding. (Placement by the
// brush transform is checked through the engine's own triangles in SurfacesTest; how polygons on
// a brush's planes are sorted, through the coplanar faces of CsgTest.)
#include "Brushes.h"
#include "MapText.h"

#include "content/LevelModel.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

std::vector<BrushSolid> Brushes(const std::vector<std::string>& actors) {
    BrushStats stats;
    return MakeBrushes(ParseMap(test::MapText(actors), "T.t3d"), stats);
}

TEST(Brushes, WhichBrushesApplyAndHow) {
    const std::vector<test::Polygon> box = test::BoxFaces({0, 0, 0}, {64, 64, 64});
    test::LogCapture log;
    BrushStats stats;
    const std::vector<BrushSolid> brushes = MakeBrushes(
        ParseMap(
            test::MapText({test::BrushText("Brush0", "", box), // the builder brush, skipped quietly
                           test::BrushText("Builder", "CSG_Active", box), test::BrushText("Odd", "CSG_Intersect", box),
                           test::BrushText("Flat", "CSG_Add", box, {"MainScale=(Scale=(Z=0.000000))"}),
                           test::BrushText("Flagged", "CSG_Subtract", box, {"PolyFlags=67109128"}),
                           test::BrushText("SemiHole", "csg_subtract", box, {"PolyFlags=32"}),
                           test::BrushText("Sheet", "CSG_Add", {box[4]}),
                           test::BrushText("Solid", "CSG_Add", box, {"PolyFlags=1"}),
                           // Editor-only bits, written signed with the polygon's own flags.
                           test::BrushText("Marked", "CSG_Add", box, {}, "Orvane.Walls.Plain", 0xC3000004u)}),
            "T.t3d"),
        stats);
    EXPECT_EQ(stats.BrushActors, 9);
    ASSERT_EQ(brushes.size(), 5u);
    EXPECT_EQ(stats.Applied, 5);
    EXPECT_EQ(brushes[0].Name, "Flagged"); // a zone portal
    EXPECT_EQ(brushes[0].Kind, Solidity::NonSolid);
    EXPECT_EQ(brushes[0].Faces[0].Flags, PF_ZonePortal | PF_TwoSided | PF_NotSolid);
    EXPECT_EQ(brushes[1].Kind, Solidity::NonSolid); // a semisolid hole carves nothing
    EXPECT_EQ(brushes[1].Op, CsgOp::Subtract);
    EXPECT_EQ(brushes[2].Kind, Solidity::NonSolid); // one face encloses nothing
    EXPECT_EQ(brushes[3].Kind, Solidity::Solid);
    EXPECT_EQ(brushes[3].Faces[0].Flags, PF_Invisible);
    EXPECT_EQ(brushes[4].Faces[0].Flags, PF_Translucent);
    EXPECT_EQ(log.Lines(),
              (std::vector<std::string>{"Warning: Odd: CSG operation CSG_Intersect is not built",
                                        "Warning: Flat: flattened by its scale, not built",
                                        "Warning: Sheet encloses no space (1 faces); its faces are added as a sheet"}));
}

TEST(Brushes, ContainmentOfConcaveAndRoundedBrushes) {
    // An L-shaped prism: the notch at x > 64, y > 64 is outside.
    const std::vector<Vector> outline = {{0, 0, 0}, {128, 0, 0}, {128, 64, 0}, {64, 64, 0}, {64, 128, 0}, {0, 128, 0}};
    const Vector up{0, 0, 32};
    std::vector<test::Polygon> faces = {test::Polygon(outline.rbegin(), outline.rend()), {}};
    for (size_t i = 0; i < outline.size(); ++i) {
        const Vector a = outline[i], b = outline[(i + 1) % outline.size()];
        faces[1].push_back(a + up);
        faces.push_back({a, b, b + up, a + up});
    }
    // A box whose bottom corner was rounded 0.2 units past the side walls, as editor exports are.
    std::vector<test::Polygon> rounded = test::BoxFaces({0, 0, 0}, {64, 64, 64});
    rounded[5][1] = rounded[5][1] + Vector{-0.2f, 0.2f, 0};
    const std::vector<BrushSolid> brushes =
        Brushes({test::BrushText("L", "CSG_Add", faces), test::BrushText("Rounded", "CSG_Subtract", rounded)});
    ASSERT_EQ(brushes.size(), 2u);
    const BrushSolid& l = brushes[0];
    for (const DVector in : {DVector{32, 32, 16}, DVector{100, 32, 16}, DVector{32, 100, 16}}) {
        EXPECT_TRUE(l.Contains(in)) << in.X << " " << in.Y;
    }
    for (const DVector out : {DVector{100, 100, 16}, DVector{32, 32, 40}, DVector{-1, 32, 16}}) {
        EXPECT_FALSE(l.Contains(out)) << out.X << " " << out.Y << " " << out.Z;
    }
    EXPECT_TRUE(brushes[1].Contains({32, 32, 32}));
    for (const DVector far :
         {DVector{-500, 32, 32}, DVector{32, 500, 32}, DVector{-500, 500, 32}, DVector{32, 32, -500}}) {
        EXPECT_FALSE(brushes[1].Contains(far)) << far.X << " " << far.Y << " " << far.Z;
    }
}

} // namespace
} // namespace orv
