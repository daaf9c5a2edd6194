// Ordered CSG on small maps: which faces survive and which way they face, against areas worked
// out by hand; every level also passes the common checks (nothing drawn twice among them).
#include "Csg.h"
#include "MapText.h"

#include <gtest/gtest.h>

#include <cmath>

namespace orv {
namespace {

using test::BoxBrush;

CompiledLevel Compile(const std::vector<std::string>& actors) {
    CompiledLevel level = test::Compile(test::MapText(actors));
    test::ExpectSoundLevel(level, 500);
    return level;
}

// Total area of the faces on the plane n.p = d that face along n (all faces when n is zero).
double AreaOn(const CompiledLevel& level, const DVector& n = {}, double d = 0.0) {
    double area = 0.0;
    for (const CsgFace& f : level.Faces) {
        if (n == DVector{} || (Dot(f.Plane.Normal, n) > 0.999 && std::fabs(f.Plane.Dist - d) < 0.01)) {
            area += WindingArea(f.Points);
        }
    }
    return area;
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
        const CompiledLevel level =
            Compile({BoxBrush("A", "CSG_Subtract", {0, 0, 0}, {256, 256, 256}),
                     BoxBrush("B", "CSG_Subtract", {128, 0, c.Lift}, {384, 256, 256 + c.Lift})});
        EXPECT_NEAR(AreaOn(level), c.Total, 1e-3) << c.Lift;
        EXPECT_NEAR(AreaOn(level, {0, 0, 1}, 0.0), c.Floor, 1e-3) << c.Lift;
        EXPECT_NEAR(AreaOn(level, {0, 0, 1}, c.Lift), c.SecondFloor, 1e-3) << c.Lift;
        for (const CsgFace& f : level.Faces) {
            // Solid right behind every surviving face, empty right before it.
            const DVector centre = WindingCentre(f.Points);
            EXPECT_TRUE(level.BrushesSaySolid(centre - f.Plane.Normal));
            EXPECT_FALSE(level.BrushesSaySolid(centre + f.Plane.Normal));
        }
    }
}

TEST(Csg, TouchingBrushesShareNoDoubledFaces) {
    // Rooms side by side sharing the wall plane x = 256 open into one another.
    const CompiledLevel joined = Compile({BoxBrush("A", "CSG_Subtract", {0, 0, 0}, {256, 256, 128}),
                                          BoxBrush("B", "CSG_Subtract", {256, 0, 0}, {512, 256, 128})});
    EXPECT_EQ(AreaOn(joined, {1, 0, 0}, 256.0) + AreaOn(joined, {-1, 0, 0}, -256.0), 0.0);
    EXPECT_NEAR(AreaOn(joined, {0, 0, 1}, 0.0), 512.0 * 256.0, 1e-3);
    // A block added flush against a wall and the floor leaves only its exposed faces: what it
    // hides of the floor and two walls it shows again on its top and two sides.
    const CompiledLevel block = Compile({BoxBrush("Room", "CSG_Subtract", {0, 0, 0}, {256, 256, 128}),
                                         BoxBrush("Block", "CSG_Add", {0, 0, 0}, {64, 64, 32})});
    EXPECT_NEAR(AreaOn(block, {0, 0, 1}, 0.0), 256.0 * 256.0 - 64.0 * 64.0, 1e-3);
    EXPECT_NEAR(AreaOn(block, {0, 0, 1}, 32.0), 64.0 * 64.0, 1e-3);
    EXPECT_NEAR(AreaOn(block, {1, 0, 0}, 0.0), 256.0 * 128.0 - 64.0 * 32.0, 1e-3);
    EXPECT_NEAR(AreaOn(block), 2 * 256.0 * 256.0 + 4 * 256.0 * 128.0, 1e-3);
    // Carving a room back out of the block: the later brush's face owns the shared floor.
    const CompiledLevel recut = Compile({BoxBrush("Room", "CSG_Subtract", {0, 0, 0}, {256, 256, 128}),
                                         BoxBrush("Block", "CSG_Add", {0, 0, 0}, {128, 128, 128}),
                                         BoxBrush("Recut", "CSG_Subtract", {0, 0, 0}, {64, 128, 128})});
    EXPECT_NEAR(AreaOn(recut, {0, 0, 1}, 0.0), 256.0 * 256.0 - 64.0 * 128.0, 1e-3);
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
    const test::Polygon sheet = {{256, -64, -64}, {256, 320, -64}, {256, 320, 192}, {256, -64, 192}};
    const CompiledLevel level = Compile({BoxBrush("Room", "CSG_Subtract", room[0], room[1]),
                                         BoxBrush("Pillar", "CSG_Add", {64, 64, 0}, {128, 128, 128}, {"PolyFlags=32"}),
                                         BoxBrush("Hole", "CSG_Subtract", {80, 80, -64}, {112, 112, 0}),
                                         test::BrushText("Portal", "CSG_Add", {sheet}, {"PolyFlags=67109128"})});
    // Floor minus the pillar's foot, plus the hole's floor.
    EXPECT_NEAR(AreaOn(level, {0, 0, 1}, 0.0), 512.0 * 256.0 - 64.0 * 64.0, 1e-3);
    EXPECT_NEAR(AreaOn(level, {0, 0, 1}, -64.0), 32.0 * 32.0, 1e-3);
    for (const DVector n : {DVector{1, 0, 0}, DVector{-1, 0, 0}, DVector{0, 1, 0}, DVector{0, -1, 0}}) {
        EXPECT_NEAR(AreaOn(level, n, Dot(n, DVector{96, 96, 0}) + 32.0), 64.0 * 128.0, 1e-3) << n.X << " " << n.Y;
    }
    EXPECT_TRUE(level.BrushesSaySolid({96, 96, 64}));   // inside the pillar
    EXPECT_FALSE(level.BrushesSaySolid({96, 96, -32})); // the hole under it
    // The sheet is trimmed to the room's cross-section and bounds no solid.
    double sheetArea = 0.0;
    for (const CsgFace& f : level.Faces) {
        if (level.Brushes[static_cast<size_t>(f.Brush)].Name == "Portal") {
            EXPECT_FALSE(f.BoundsSolid);
            sheetArea += WindingArea(f.Points);
        }
    }
    EXPECT_NEAR(sheetArea, 256.0 * 128.0, 1e-3);
    // A semisolid block sunk into the far wall, its face flush with it, doubles nothing there.
    const CompiledLevel flush = Compile({BoxBrush("Room", "CSG_Subtract", room[0], room[1]),
                                         BoxBrush("Sunk", "CSG_Add", {512, 64, 0}, {576, 128, 64}, {"PolyFlags=32"})});
    EXPECT_NEAR(AreaOn(flush, {-1, 0, 0}, -512.0), 256.0 * 128.0, 1e-3);
    EXPECT_EQ(flush.Faces.size(), 6u);
}

} // namespace
} // namespace orv
