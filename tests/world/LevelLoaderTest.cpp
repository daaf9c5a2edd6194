// Loading levels from a T3D and a Level Model made in the test: the steps and their log, the
// player start, sorting, the location hash, the sky box, a second load and the fatal errors.
#include "world/LevelLoader.h"

#include "WorldFixture.h"
#include "content/LevelModel.h"
#include "core/Numbers.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace orv {
namespace {

using test::WorldFixture;

// A 2048 x 2048 floor at Z = 0 split in two quads (nodes 0 and 1, the second translucent), and a
// small quad far away (node 2) next to where the sky zone sits.
std::string FloorModel() {
    LevelModel m;
    m.Points = {{0, 0, 0},       {1024, 0, 0},    {1024, 2048, 0}, {0, 2048, 0},    {2048, 0, 0},
                {2048, 2048, 0}, {5000, 5000, 0}, {5064, 5000, 0}, {5064, 5064, 0}, {5000, 5064, 0}};
    m.VertexPool = {0, 1, 2, 3, 1, 4, 5, 2, 6, 7, 8, 9};
    m.Surfaces.Emplace();
    m.Surfaces.Emplace().Flags = PF_Translucent;
    for (int i = 0; i < 3; ++i) {
        BspNode& n = m.Nodes.Emplace();
        n.Surface = i == 1 ? 1 : 0;
        n.FirstVertex = 4 * i;
        n.NumVertices = 4;
    }
    const std::vector<uint8_t> bytes = WriteLevelModel(m);
    return {bytes.begin(), bytes.end()};
}

const char* const kLevelT3d = R"(Begin Map
Begin Actor Class=LevelInfo Name=LevelInfo0
    Title="Test Level"
End Actor
Begin Actor Class=PlayerStart Name=PlayerStart0
    Location=(X=100,Y=200,Z=48)
    Rotation=(Yaw=16384)
End Actor
Begin Actor Class=PlayerStart Name=PlayerStart1
End Actor
Begin Actor Class=SkyZoneInfo Name=SkyZoneInfo0
    Location=(X=5032,Y=5032,Z=100)
End Actor
Begin Actor Class=Mover Name=MeshMover
End Actor
End Map
)";

struct LevelFixture : WorldFixture {
    LevelFixture() {
        AddEngineClasses();
        CreatePlayerPawn(world);
        Write("Test", kLevelT3d);
    }
    void Write(const std::string& level, const std::string& t3d) {
        dir.Write("Maps/" + level + ".t3d", t3d);
        dir.Write("Maps/" + level + ".bsp", FloorModel());
    }
    void Load(const std::string& path) {
        test::InDirectory(dir.Path(), [&] { LoadLevel(world, path, false); });
    }
    test::TempDir dir;
};

// The music, the lightmaps and the player's place in the list are checked on the demo levels
// (tests/mapgen, tests/e2e); movers with brushes on their doors and lifts.
TEST(LevelLoader, StepsLogPlayerStartSortingHashSkyBoxAndASecondLoad) {
    LevelFixture f;
    test::LogCapture log;
    f.Load("Maps\\Test.T3D"); // the extension check is case-blind
    const std::vector<std::string> expected = {
        "Loading level \"Maps\\Test.T3D\"...", "Unloading old assets...", "Loading the BSP...", "Loading the T3D...",
        "Warning: Mesh Movers are not supported.", // and the mover without a brush is dropped
        "Preparing lightmaps...", "Sorting polygons...", "Calculating location hash...", "Loading AmbientSounds...",
        "Loading the music...", "Creating skybox...", "Calling BeginPlay...", "Finished loading level."};
    EXPECT_EQ(log.Lines(), expected);
    EXPECT_EQ(f.world.Actors.Num(), 5);
    // Of two starts the first is always chosen.
    EXPECT_EQ(f.world.Player->Location, (Vector{100, 200, 80}));
    EXPECT_EQ(f.world.Player->Rotation, (Rotator{0, 16384, 0}));
    EXPECT_EQ(f.services.Title, "Test Level - Orvane");
    const Level& level = f.world.CurrentLevel;
    ASSERT_EQ(level.Triangles.Num(), 6);
    // Opaque groups first, the translucent node's triangles last.
    EXPECT_EQ(level.Triangles[0].Index, 0);
    EXPECT_EQ(level.Triangles[4].Index, 1);
    EXPECT_EQ(level.Triangles[5].Index, 1);
    // The grid starts at the level's minimum corner. Node 0's triangles span x 0..1024: both lie in
    // cell 0 and, reaching x = 1024, in cell 1.
    EXPECT_EQ(level.Hash.Origin(), (Vector{0, 0, 0}));
    for (const int x : {0, 1}) {
        const auto& cell = level.Hash.GetCell(x, 0, 0);
        EXPECT_EQ(std::count_if(cell.begin(), cell.end(), [](const WorldTriangle* t) { return t->Index == 0; }), 2);
    }
    // The far quad lies within 1500 units of the sky zone: copied, relative, and hidden in the world.
    constexpr uint32_t kHidden = PF_Invisible | PF_NotSolid;
    ASSERT_EQ(level.SkyTriangles.Num(), 2);
    EXPECT_EQ(level.SkyTriangles[0].Vertices[0], (Vector{5000 - 5032, 5000 - 5032, -100}));
    EXPECT_EQ(level.SkyTriangles[0].Flags & kHidden, 0u);
    const auto hidden = [](const WorldTriangle& t) { return (t.Flags & kHidden) == kHidden; };
    EXPECT_EQ(std::ranges::count_if(level.Triangles, hidden), 2);
    EXPECT_NEAR(level.FarPlane, Length(Vector{5064, 5064, 0}), 0.01f);

    // A second level keeps only the player, as it was.
    f.world.Player->Health = 42;
    f.Write("Other", "Begin Actor Class=LevelInfo Name=LevelInfo0\nTitle=Untitled\nEnd Actor\n"
                     "Begin Actor Class=PlayerStart Name=PS\nLocation=(X=1,Y=2,Z=3)\nEnd Actor\n");
    f.Load("Maps\\Other.t3d");
    EXPECT_EQ(f.world.Actors.Num(), 3);
    EXPECT_EQ(f.world.Player->Health, 42);
    EXPECT_EQ(f.world.Player->Location, (Vector{1, 2, 35}));
    EXPECT_TRUE(level.SkyTriangles.IsEmpty() && !level.SkyZone);
    EXPECT_EQ(f.services.Title, "Other - Orvane"); // "Untitled" gives the file's name
}

// Numbers no level should hold, on actors at the player start (he touches them), then two
// seconds of steps: no overflow or bad index (the suites run under the sanitizers) and nothing
// beyond the world; a number that is not finite is a warning naming its line and is not taken.
TEST(LevelLoader, AbsurdNumbersLoadAndStepWithinTheWorld) {
    LevelFixture f;
    std::string t3d = "Begin Actor Class=LevelInfo Name=L\nEnd Actor\n";
    for (std::string actor : {"PlayerStart Location=(X=100,Y=200,Z=48)", "Decoration DrawScale=1e999",
                              "Decoration Location=(X=1e30,Y=-3.4e38,Z=4) DrawScale=3.4e38 CollisionRadius=1e30 "
                              "Physics=PHYS_Rotating Rotation=(Pitch=2147483647) RotationRate=(Yaw=2147483647)",
                              "Health Location=(X=100,Y=200,Z=48) HealingAmount=2147483647 PickupMessage=+",
                              "Trigger Location=(X=100,Y=200,Z=48) Event=Count CollisionRadius=3.4e38",
                              "Counter Tag=Count NumToCount=-2147483648 Event=Quake", "AnimSpriteEffect Pause=-1",
                              "Earthquake Tag=Quake magnitude=3.4e38 duration=1e-30 radius=3.4e38",
                              "Bird1 Location=(X=100,Y=200,Z=48) CircleRadius=0 Health=-2147483648",
                              "Teleporter Location=(X=100,Y=200,Z=48) URL=Absurd#Start"}) { // an exit to itself
        std::ranges::replace(actor, ' ', '\n');
        t3d += "Begin Actor Class=" + actor.insert(actor.find('\n'), " Name=A") + "\nEnd Actor\n";
    }
    f.Write("Absurd", t3d);
    test::LogCapture log;
    f.Load("Maps\\Absurd.t3d");
    EXPECT_TRUE(log.Contains("Warning: Maps\\Absurd.t3d, line 7: DrawScale=1e999 is not a finite number; the "
                             "property is ignored"));
    f.world.Player->TakeDamage(INT32_MIN, nullptr, {}, {}, "");
    EXPECT_EQ(f.world.Player->Health, INT32_MAX);
    f.world.Player->Health = 50;
    for (int step = 0; step < 120; ++step) {
        UpdateActors(f.world, kStepDeltaTime);
    }
    EXPECT_EQ(std::tuple(f.world.Player->Health, f.world.PendingLevel), std::tuple(100, "")); // healed to the limit
    EXPECT_TRUE(std::ranges::all_of(f.world.Actors, [](const auto& a) {
        return std::fabs(a->Location.X) <= kWorldMax && std::fabs(a->DrawScale) <= kWorldMax;
    }));
}

TEST(LevelLoader, FatalErrors) {
    LevelFixture f;
    auto fatalOf = [&](const std::string& path) { return test::CatchFatal([&] { f.Load(path); }); };
    EXPECT_EQ(fatalOf("Maps\\Missing.t3d"), "Can't load level \"Maps\\Missing.t3d\": file not found.");
    EXPECT_EQ(fatalOf("Maps\\Test.bsp"), "Bad level format (must be .t3d)");
    f.Write("NoInfo", "Begin Actor Class=PlayerStart Name=PS\nEnd Actor\n");
    EXPECT_EQ(fatalOf("Maps\\NoInfo.t3d"), "The map is missing LevelInfo (or you didn't set up Engine.u correctly).");
    f.Write("NoStart", "Begin Actor Class=LevelInfo Name=LevelInfo0\nEnd Actor\n"
                       "Begin Actor Class=playerstart Name=PS\nEnd Actor\n"); // case counts
    EXPECT_EQ(fatalOf("Maps\\NoStart.t3d"), "No PlayerStarts found.");
}

} // namespace
} // namespace orv
