// Ordered CSG on small maps: which faces survive, which way they face, and that touching brushes
// never leave doubled or overlapping faces.
#include "Csg.h"
#include "MapText.h"

#include <gtest/gtest.h>

#include <cmath>

namespace orv {
namespace {

struct CsgRun {
    std::vector<BrushSolid> Brushes;
    std::vector<CsgFace> Faces;
};

CsgRun RunCsg(const std::vector<std::string>& actors) {
    BrushStats brushStats;
    CsgStats csgStats;
    CsgRun run;
    run.Brushes = MakeBrushes(ParseMap(test::MapText(actors), "T.t3d"), brushStats);
    run.Faces = BuildCsg(run.Brushes, csgStats);
    return run;
}

// Total area of the faces on the plane n.p = d that face along n.
double AreaOn(const CsgRun& run, const DVector& n, double d) {
    double area = 0.0;
    for (const CsgFace& f : run.Faces) {
        if (Dot(f.Plane.Normal, n) > 0.999 && std::fabs(f.Plane.Dist - d) < 0.01) {
            area += WindingArea(f.Points);
        }
    }
    return area;
}

double TotalArea(const CsgRun& run) {
    double area = 0.0;
    for (const CsgFace& f : run.Faces) {
        area += WindingArea(f.Points);
    }
    return area;
}

// No two faces facing the same way on one plane overlap (their centres are never inside another).
void ExpectNoOverlaps(const CsgRun& run) {
    for (size_t i = 0; i < run.Faces.size(); ++i) {
        for (size_t j = 0; j < run.Faces.size(); ++j) {
            const CsgFace& a = run.Faces[i];
            const CsgFace& b = run.Faces[j];
            if (i == j || Dot(a.Plane.Normal, b.Plane.Normal) < 0.999 ||
                std::fabs(a.Plane.Dist - b.Plane.Dist) > 0.01) {
                continue;
            }
            const DVector c = WindingCentre(a.Points);
            bool inside = true;
            for (size_t k = 0; k < b.Points.size(); ++k) {
                const DVector edge = b.Points[(k + 1) % b.Points.size()] - b.Points[k];
                inside &= Dot(c - b.Points[k], Cross(b.Plane.Normal, edge)) > 0.01;
            }
            EXPECT_FALSE(inside) << "faces " << i << " and " << j << " overlap";
        }
    }
}

TEST(Csg, SubtractedCubeGivesSixInwardFaces) {
    const CsgRun run = RunCsg({test::BoxBrush("Room", "CSG_Subtract", {0, 0, 0}, {256, 256, 256})});
    ASSERT_EQ(run.Faces.size(), 6u);
    for (const CsgFace& f : run.Faces) {
        EXPECT_GT(f.Plane.Distance({128, 128, 128}), 127.0); // seen from inside
        EXPECT_GT(Dot(WindingAreaNormal(f.Points), f.Plane.Normal), 0.0);
        EXPECT_NEAR(WindingArea(f.Points), 256.0 * 256.0, 1e-6);
        EXPECT_TRUE(f.BoundsSolid);
    }
}

TEST(Csg, OverlappingRoomsKeepTheirUnionsBoundary) {
    // Two 256 cubes overlapping by 128 along X: level, their floors, sides and ceilings are
    // coplanar and the union is one 384 x 256 x 256 box; with the second lifted by 64 its floor
    // shows beside the first and 2 x 128 x 192 of the side walls are shared.
    struct Case {
        float Lift;
        double Total, Floor, SecondFloor;
    };
    for (const Case c :
         {Case{0, 2 * (384.0 * 256 * 2 + 256.0 * 256), 384.0 * 256, 384.0 * 256},
          Case{64, 12 * 256.0 * 256 - 2 * (256.0 * 192 + 128.0 * 256 + 128.0 * 192), 256.0 * 256, 128.0 * 256}}) {
        const CsgRun run = RunCsg({test::BoxBrush("A", "CSG_Subtract", {0, 0, 0}, {256, 256, 256}),
                                   test::BoxBrush("B", "CSG_Subtract", {128, 0, c.Lift}, {384, 256, 256 + c.Lift})});
        EXPECT_NEAR(TotalArea(run), c.Total, 1e-3) << c.Lift;
        EXPECT_NEAR(AreaOn(run, {0, 0, 1}, 0.0), c.Floor, 1e-3) << c.Lift;
        EXPECT_NEAR(AreaOn(run, {0, 0, 1}, c.Lift), c.SecondFloor, 1e-3) << c.Lift;
        ExpectNoOverlaps(run);
        for (const CsgFace& f : run.Faces) {
            // Solid right behind every surviving face, empty right before it.
            const DVector centre = WindingCentre(f.Points);
            EXPECT_TRUE(BrushesSaySolid(run.Brushes, centre - f.Plane.Normal));
            EXPECT_FALSE(BrushesSaySolid(run.Brushes, centre + f.Plane.Normal));
        }
    }
}

TEST(Csg, TouchingBrushesShareNoDoubledFaces) {
    // Rooms side by side sharing the wall plane x = 256 open into one another.
    const CsgRun joined = RunCsg({test::BoxBrush("A", "CSG_Subtract", {0, 0, 0}, {256, 256, 128}),
                                  test::BoxBrush("B", "CSG_Subtract", {256, 0, 0}, {512, 256, 128})});
    EXPECT_EQ(AreaOn(joined, {1, 0, 0}, 256.0) + AreaOn(joined, {-1, 0, 0}, -256.0), 0.0);
    EXPECT_NEAR(AreaOn(joined, {0, 0, 1}, 0.0), 512.0 * 256.0, 1e-3);
    // A block added flush against a wall and the floor leaves only its exposed faces.
    const CsgRun block =
        RunCsg({test::BoxBrush("Room", "CSG_Subtract", {0, 0, 0}, {256, 256, 128}),
                test::BoxBrush("Block", "CSG_Add", {0, 0, 0}, {64, 64, 32}, {}, "Orvane.Walls.Block")});
    EXPECT_NEAR(AreaOn(block, {0, 0, 1}, 0.0), 256.0 * 256.0 - 64.0 * 64.0, 1e-3);
    EXPECT_NEAR(AreaOn(block, {0, 0, 1}, 32.0), 64.0 * 64.0, 1e-3);
    EXPECT_NEAR(AreaOn(block, {1, 0, 0}, 0.0), 256.0 * 128.0 - 64.0 * 32.0, 1e-3);
    // What the block hides of the floor and two walls it shows again on its top and two sides.
    EXPECT_NEAR(TotalArea(block), 2 * 256.0 * 256.0 + 4 * 256.0 * 128.0, 1e-3);
    ExpectNoOverlaps(block);
    // Carving a room back out of the block: the later brush's face owns the shared floor.
    const CsgRun recut =
        RunCsg({test::BoxBrush("Room", "CSG_Subtract", {0, 0, 0}, {256, 256, 128}),
                test::BoxBrush("Block", "CSG_Add", {0, 0, 0}, {128, 128, 128}),
                test::BoxBrush("Recut", "CSG_Subtract", {0, 0, 0}, {64, 128, 128}, {}, "Orvane.Walls.Recut")});
    EXPECT_NEAR(AreaOn(recut, {0, 0, 1}, 0.0), 256.0 * 256.0 - 64.0 * 128.0, 1e-3);
    ExpectNoOverlaps(recut);
    int recutFloors = 0;
    for (const CsgFace& f : recut.Faces) {
        if (f.Plane.Normal.Z > 0.999 && WindingCentre(f.Points).X < 64.0 && WindingCentre(f.Points).Y < 128.0) {
            EXPECT_EQ(recut.Brushes[static_cast<size_t>(f.Brush)].Name, "Recut");
            ++recutFloors;
        }
    }
    EXPECT_GE(recutFloors, 1);
}

TEST(Csg, SemisolidsAndSheetsDoNotCarve) {
    const Vector room[2] = {{0, 0, 0}, {512, 256, 128}};
    // A semisolid pillar from floor to ceiling, a solid hole cut later right through it (which
    // does not reach it), and a zone portal sheet larger than the room's cross-section.
    test::Polygon sheet = {{256, -64, -64}, {256, 320, -64}, {256, 320, 192}, {256, -64, 192}};
    const CsgRun run = RunCsg({test::BoxBrush("Room", "CSG_Subtract", room[0], room[1]),
                               test::BoxBrush("Pillar", "CSG_Add", {64, 64, 0}, {128, 128, 128}, {"PolyFlags=32"}),
                               test::BoxBrush("Hole", "CSG_Subtract", {80, 80, -64}, {112, 112, 0}),
                               test::BrushText("Portal", "CSG_Add", {sheet}, {"PolyFlags=67109128"})});
    // Floor minus the pillar's foot, plus the hole's floor.
    EXPECT_NEAR(AreaOn(run, {0, 0, 1}, 0.0), 512.0 * 256.0 - 64.0 * 64.0, 1e-3);
    EXPECT_NEAR(AreaOn(run, {0, 0, 1}, -64.0), 32.0 * 32.0, 1e-3);
    for (const DVector n : {DVector{1, 0, 0}, DVector{-1, 0, 0}, DVector{0, 1, 0}, DVector{0, -1, 0}}) {
        EXPECT_NEAR(AreaOn(run, n, Dot(n, DVector{96, 96, 0}) + 32.0), 64.0 * 128.0, 1e-3) << n.X << " " << n.Y;
    }
    EXPECT_TRUE(BrushesSaySolid(run.Brushes, {96, 96, 64}));   // inside the pillar
    EXPECT_FALSE(BrushesSaySolid(run.Brushes, {96, 96, -32})); // the hole under it
    // A semisolid block sunk into the far wall, its face flush with it, doubles nothing there.
    const CsgRun flush = RunCsg({test::BoxBrush("Room", "CSG_Subtract", room[0], room[1]),
                                 test::BoxBrush("Sunk", "CSG_Add", {512, 64, 0}, {576, 128, 64}, {"PolyFlags=32"})});
    EXPECT_NEAR(AreaOn(flush, {-1, 0, 0}, -512.0), 256.0 * 128.0, 1e-3);
    EXPECT_EQ(flush.Faces.size(), 6u);
    // The sheet is trimmed to the room's cross-section and bounds no solid.
    double sheetArea = 0.0;
    for (const CsgFace& f : run.Faces) {
        if (run.Brushes[static_cast<size_t>(f.Brush)].Name == "Portal") {
            EXPECT_FALSE(f.BoundsSolid);
            sheetArea += WindingArea(f.Points);
        }
    }
    EXPECT_NEAR(sheetArea, 256.0 * 128.0, 1e-3);
}

} // namespace
} // namespace orv
