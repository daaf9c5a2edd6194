// Ordered CSG on small maps: which faces survive and which way they face, against areas worked
// out by hand, and the zones a portal sheet makes; every level also passes the common checks
// (nothing drawn twice among them).
#include "Csg.h"
#include "LevelWriter.h"
#include "MapText.h"

#include "content/LevelModel.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>

namespace orv {
namespace {

using test::BoxBrush;

CompiledLevel Compile(const std::vector<std::string>& actors) { return test::Compile(test::MapText(actors), 500); }

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
    // Per case: the lift, the total area, the first floor's and the second's.
    for (const auto& [lift, total, floor, secondFloor] :
         {std::tuple{0.0f, 2 * (384.0 * 256 * 2 + 256.0 * 256), 384.0 * 256, 384.0 * 256},
          std::tuple{64.0f, 12 * 256.0 * 256 - 2 * (256.0 * 192 + 128.0 * 256 + 128.0 * 192), 256.0 * 256,
                     128.0 * 256}}) {
        const CompiledLevel level = Compile({BoxBrush("A", "CSG_Subtract", {0, 0, 0}, {256, 256, 256}),
                                             BoxBrush("B", "CSG_Subtract", {128, 0, lift}, {384, 256, 256 + lift})});
        EXPECT_NEAR(AreaOn(level), total, 1e-3) << lift;
        EXPECT_NEAR(AreaOn(level, {0, 0, 1}, 0.0), floor, 1e-3) << lift;
        EXPECT_NEAR(AreaOn(level, {0, 0, 1}, lift), secondFloor, 1e-3) << lift;
        for (const CsgFace& f : level.Faces) {
            // Solid right behind every surviving face, empty right before it.
            const DVector centre = WindingCentre(f.Points);
            EXPECT_TRUE(level.BrushesSaySolid(centre - f.Plane.Normal));
            EXPECT_FALSE(level.BrushesSaySolid(centre + f.Plane.Normal));
        }
    }
}

TEST(Csg, TouchingBrushesShareNoDoubledFaces) {
    // Rooms side by side sharing the wall plane x = 256 open into one another; a block added
    // flush against a wall and the floor in a corner leaves only its exposed faces: what it hides
    // of the floor and two walls it shows again on its top and two sides.
    const CompiledLevel joined = Compile({BoxBrush("A", "CSG_Subtract", {0, 0, 0}, {256, 256, 128}),
                                          BoxBrush("B", "CSG_Subtract", {256, 0, 0}, {512, 256, 128}),
                                          BoxBrush("Block", "CSG_Add", {0, 0, 0}, {64, 64, 32})});
    EXPECT_EQ(AreaOn(joined, {1, 0, 0}, 256.0) + AreaOn(joined, {-1, 0, 0}, -256.0), 0.0);
    EXPECT_NEAR(AreaOn(joined, {0, 0, 1}, 0.0), 512.0 * 256.0 - 64.0 * 64.0, 1e-3);
    EXPECT_NEAR(AreaOn(joined, {0, 0, 1}, 32.0), 64.0 * 64.0, 1e-3);
    EXPECT_NEAR(AreaOn(joined, {1, 0, 0}, 0.0), 256.0 * 128.0 - 64.0 * 32.0, 1e-3);
    EXPECT_NEAR(AreaOn(joined), 2 * 512.0 * 256.0 + 2 * 512.0 * 128.0 + 2 * 256.0 * 128.0, 1e-3);
    // Carving a room back out of the block: the later brush's face owns the shared floor.
    const CompiledLevel recut = Compile({BoxBrush("Room", "CSG_Subtract", {0, 0, 0}, {256, 256, 128}),
                                         BoxBrush("Block", "CSG_Add", {0, 0, 0}, {128, 128, 128}),
                                         BoxBrush("Recut", "CSG_Subtract", {0, 0, 0}, {64, 128, 128})});
    EXPECT_NEAR(AreaOn(recut, {0, 0, 1}, 0.0), 256.0 * 256.0 - 64.0 * 128.0, 1e-3);
    double recutFloor = 0.0;
    for (const CsgFace& f : recut.Faces) {
        const bool up = f.Plane.Normal.Z > 0.999 && recut.Brushes[static_cast<size_t>(f.Brush)].Name == "Recut";
        recutFloor += up ? WindingArea(f.Points) : 0.0;
    }
    EXPECT_NEAR(recutFloor, 64.0 * 128.0, 1e-3);
}

TEST(Csg, SemisolidsAndSheetsCarveNothingAndAPortalSheetSplitsZones) {
    // A room with a semisolid pillar from floor to ceiling, a solid hole cut later right through it
    // (which does not reach it), a semisolid block sunk into the far wall with its face flush with
    // it, and a zone portal sheet larger than the room's cross-section (a flat box's +X face).
    const std::string room = BoxBrush("Room", "CSG_Subtract", {0, 0, 0}, {512, 256, 128});
    const std::string water = test::ActorText("WaterZone", "WaterZone0", {200, 128, 64});
    test::LogCapture log;
    const CompiledLevel level =
        Compile({room, BoxBrush("Pillar", "CSG_Add", {64, 64, 0}, {128, 128, 128}, {"PolyFlags=32"}),
                 BoxBrush("Hole", "CSG_Subtract", {80, 80, -64}, {112, 112, 0}),
                 BoxBrush("Sunk", "CSG_Add", {512, 64, 0}, {576, 128, 64}, {"PolyFlags=32"}),
                 test::BrushText("Portal", "CSG_Add", {test::BoxFaces({256, -64, -64}, {256, 320, 192})[0]},
                                 {"PolyFlags=67109129"}),
                 water, test::ActorText("ZoneInfo", "ZoneInfo3", {220, 100, 64}),
                 test::ActorText("ZoneInfo", "Buried", {100, 128, -500})});
    // Floor minus the pillar's foot, plus the hole's floor; the pillar's sides; the far wall once.
    EXPECT_NEAR(AreaOn(level, {0, 0, 1}, 0.0), 512.0 * 256.0 - 64.0 * 64.0, 1e-3);
    EXPECT_NEAR(AreaOn(level, {0, 0, 1}, -64.0), 32.0 * 32.0, 1e-3);
    for (const DVector n : {DVector{1, 0, 0}, DVector{-1, 0, 0}, DVector{0, 1, 0}, DVector{0, -1, 0}}) {
        EXPECT_NEAR(AreaOn(level, n, Dot(n, DVector{96, 96, 0}) + 32.0), 64.0 * 128.0, 1e-3) << n.X << " " << n.Y;
    }
    EXPECT_NEAR(AreaOn(level, {-1, 0, 0}, -512.0), 256.0 * 128.0, 1e-3);
    EXPECT_TRUE(level.BrushesSaySolid({96, 96, 64}));   // inside the pillar
    EXPECT_FALSE(level.BrushesSaySolid({96, 96, -32})); // the hole under it
    // The sheet is trimmed to the room's cross-section and bounds no solid; the sunk block leaves
    // no face.
    double sheetArea = 0.0;
    for (const CsgFace& f : level.Faces) {
        const std::string& brush = level.Brushes[static_cast<size_t>(f.Brush)].Name;
        EXPECT_NE(brush, "Sunk");
        EXPECT_TRUE(brush != "Portal" || !f.BoundsSolid);
        sheetArea += brush == "Portal" ? WindingArea(f.Points) : 0.0;
    }
    EXPECT_NEAR(sheetArea, 256.0 * 128.0, 1e-3);

    // The portal splits the room in two zones, and the hole, sealed off by the pillar, is a third;
    // the water zone marks its own, the others are the level's. (The zone bytes themselves are
    // checked at random points by ExpectSoundLevel.)
    EXPECT_TRUE(log.Contains("Warning: ZoneInfo ZoneInfo3 shares its zone with WaterZone0, which marks it"));
    EXPECT_TRUE(log.Contains("Warning: ZoneInfo Buried lies in solid space and marks no zone"));
    EXPECT_GT(level.Zones.BlockedPortals, 0);
    const int wet = test::ModelZoneAt(level.Model, {200, 128, 64});
    const int dry = test::ModelZoneAt(level.Model, {400, 128, 64});
    const int hole = test::ModelZoneAt(level.Model, {96, 96, -32});
    ASSERT_EQ(level.Zones.NumZones, 3);
    ASSERT_EQ((std::set{wet, dry, hole}), (std::set{1, 2, 3}));
    EXPECT_EQ(std::tuple(level.Model.ZoneIndices[dry], level.Model.ZoneIndices[hole]), std::tuple(0, 0));
    ASSERT_EQ(level.Model.ZoneIndices[wet], 1);
    EXPECT_EQ(level.Model.ActorRefs[0].ClassName + " " + level.Model.ActorRefs[0].Name, "WaterZone WaterZone0");
    // The portal's nodes are flagged; every node's zone mask holds the zone it is seen from.
    for (const BspNode& node : level.Model.Nodes) {
        const bool portal = level.Model.Surfaces[node.Surface].Flags & PF_ZonePortal;
        EXPECT_EQ(node.NodeFlags, portal ? kNodeSheet | kNodeZonePortal : 0);
        EXPECT_NE(node.ZoneMask & (uint64_t(1) << node.SecondZone), 0u);
    }
    // Without the portal the room is one zone, which the water zone marks.
    const CompiledLevel open = test::Compile(test::MapText({room, water}));
    EXPECT_EQ(open.Zones.NumZones, 1);
    EXPECT_EQ(test::ModelZoneAt(open.Model, {400, 128, 64}), 1);
    EXPECT_EQ(open.Model.ZoneIndices[1], 1);
}

} // namespace
} // namespace orv
