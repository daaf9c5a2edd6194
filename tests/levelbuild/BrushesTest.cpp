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

using test::BrushText;

std::vector<BrushSolid> Brushes(const std::vector<std::string>& actors, BrushStats& stats) {
    return MakeBrushes(ParseMap(test::MapText(actors), "T.t3d"), stats);
}

TEST(Brushes, WhichBrushesApplyAndHow) {
    const std::vector<test::Polygon> box = test::BoxFaces({0, 0, 0}, {64, 64, 64});
    test::LogCapture log;
    BrushStats stats;
    const std::vector<BrushSolid> brushes =
        Brushes({BrushText("Brush0", "", box), // the builder brush, skipped quietly
                 BrushText("Builder", "CSG_Active", box), BrushText("Odd", "CSG_Intersect", box),
                 BrushText("Flat", "CSG_Add", box, {"MainScale=(Scale=(Z=0.000000))"}),
                 BrushText("Flagged", "CSG_Subtract", box, {"PolyFlags=67109128"}),
                 BrushText("SemiHole", "csg_subtract", box, {"PolyFlags=32"}), BrushText("Sheet", "CSG_Add", {box[4]}),
                 BrushText("Solid", "CSG_Add", box, {"PolyFlags=1"}),
                 // Editor-only bits, written signed with the polygon's own flags.
                 BrushText("Marked", "CSG_Add", box, {}, "Orvane.Walls.Plain", 0xC3000004u)},
                stats);
    EXPECT_EQ(std::pair(stats.BrushActors, stats.Applied), std::pair(9, 5));
    ASSERT_EQ(brushes.size(), 5u);
    // A zone portal; a semisolid hole, which carves nothing; a sheet, which encloses nothing; a
    // solid, invisible box; and the polygons' own flags without the editor's.
    EXPECT_EQ(std::tuple(brushes[0].Name, brushes[0].Kind, brushes[0].Faces[0].Flags),
              std::tuple("Flagged", Solidity::NonSolid, PF_ZonePortal | PF_TwoSided | PF_NotSolid));
    EXPECT_EQ(std::tuple(brushes[1].Kind, brushes[1].Op, brushes[2].Kind),
              std::tuple(Solidity::NonSolid, CsgOp::Subtract, Solidity::NonSolid));
    EXPECT_EQ(std::tuple(brushes[3].Kind, brushes[3].Faces[0].Flags, brushes[4].Faces[0].Flags),
              std::tuple(Solidity::Solid, PF_Invisible, PF_Translucent));
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
    BrushStats stats;
    const std::vector<BrushSolid> brushes =
        Brushes({BrushText("L", "CSG_Add", faces), BrushText("Rounded", "CSG_Subtract", rounded)}, stats);
    ASSERT_EQ(brushes.size(), 2u);
    const struct {
        size_t Brush;
        DVector P;
        bool Inside;
    } cases[] = {{0, {32, 32, 16}, true},     {0, {100, 32, 16}, true},   {0, {32, 100, 16}, true},
                 {0, {100, 100, 16}, false},  {0, {32, 32, 40}, false},   {0, {-1, 32, 16}, false},
                 {1, {32, 32, 32}, true},     {1, {-500, 32, 32}, false}, {1, {32, 500, 32}, false},
                 {1, {-500, 500, 32}, false}, {1, {32, 32, -500}, false}};
    for (const auto& c : cases) {
        EXPECT_EQ(brushes[c.Brush].Contains(c.P), c.Inside)
            << brushes[c.Brush].Name << " " << c.P.X << " " << c.P.Y << " " << c.P.Z;
    }
}

} // namespace
} // namespace orv
