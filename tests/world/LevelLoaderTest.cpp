// Loading levels from a T3D and a Level Model made in the test: the steps and their log, the
// player start, unloading, sorting, the location hash and the sky box.
#include "world/LevelLoader.h"

#include "world/ActorBrush.h"

#include "content/LevelModel.h"
#include "core/BinaryWriter.h"
#include "core/Log.h"
#include "core/Random.h"
#include "support/TestSupport.h"
#include "WorldFixture.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

using test::WorldFixture;

// A 2048 x 2048 floor at Z = 0 split in two quads (nodes 0 and 1), and a small quad far away
// (node 2) next to where the sky zone sits.
std::vector<uint8_t> FloorModel() {
    LevelModel m;
    const Vector pts[] = {{0, 0, 0}, {1024, 0, 0}, {1024, 2048, 0}, {0, 2048, 0}, {2048, 0, 0}, {2048, 2048, 0},
                          {5000, 5000, 0}, {5064, 5000, 0}, {5064, 5064, 0}, {5000, 5064, 0}};
    for (const Vector& p : pts) {
        m.Points.Add(p);
    }
    for (int v : {0, 1, 2, 3, 1, 4, 5, 2, 6, 7, 8, 9}) {
        m.VertexPool.Add(v);
    }
    Surface floor;
    floor.Normal = {0, 0, -1};
    floor.UAxis = {1, 0, 0};
    floor.VAxis = {0, 1, 0};
    m.Surfaces.Add(floor);
    Surface glass = floor;
    glass.Flags = PF_Translucent;
    m.Surfaces.Add(glass);
    for (int i = 0; i < 3; ++i) {
        BspNode n;
        n.NodePlane = {{0, 0, 1}, 0};
        n.Surface = i == 1 ? 1 : 0;
        n.FirstVertex = 4 * i;
        n.NumVertices = 4;
        n.Front = i < 2 ? i + 1 : -1;
        n.SecondZone = kNoZone;
        m.Nodes.Add(n);
    }
    return WriteLevelModel(m);
}

const char* const kLevelT3d = R"(Begin Map
Begin Actor Class=LevelInfo Name=LevelInfo0
    Title="Test Level"
    Song=Orvane.Theme
    SongSection=2
End Actor
Begin Actor Class=PlayerStart Name=PlayerStart0
    Location=(X=100,Y=200,Z=48)
    Rotation=(Yaw=16384)
End Actor
Begin Actor Class=PlayerStart Name=PlayerStart1
    Location=(X=900,Y=900,Z=48)
End Actor
Begin Actor Class=SkyZoneInfo Name=SkyZoneInfo0
    Location=(X=5032,Y=5032,Z=100)
End Actor
Begin Actor Class=Light Name=Light0
    Location=(X=512,Y=512,Z=128)
End Actor
End Map
)";

struct LevelFixture : WorldFixture {
    LevelFixture() {
        AddEngineClasses();
        CreatePlayerPawn(world);
        dir.Write("Maps/Test.t3d", kLevelT3d);
        const std::vector<uint8_t> model = FloorModel();
        dir.Write("Maps/Test.bsp", std::string(model.begin(), model.end()));
    }
    void Load(const std::string& path) {
        test::InDirectory(dir.Path(), [&] { LoadLevel(world, path, false); });
    }
    test::TempDir dir;
};

TEST(LevelLoader, StepsLogPlayerStartTitleAndMusic) {
    LevelFixture f;
    test::LogCapture log;
    SeedRandom(1);
    f.Load("Maps\\Test.T3D"); // the extension check is case-blind
    const std::vector<std::string> expected = {
        "Loading level \"Maps\\Test.T3D\"...", "Unloading old assets...", "Loading the BSP...", "Loading the T3D...",
        "Preparing lightmaps...",          "Sorting polygons...",     "Calculating location hash...",
        "Loading AmbientSounds...",        "Loading the music...",    "Creating skybox...",
        "Calling BeginPlay...",            "Finished loading level."};
    EXPECT_EQ(log.Lines(), expected);
    // Of two starts the first is always chosen.
    EXPECT_EQ(f.world.Player->Location, (Vector{100, 200, 80}));
    EXPECT_EQ(f.world.Player->Rotation, (Rotator{0, 16384, 0}));
    EXPECT_EQ(f.world.Actors[0].get(), f.world.Player);
    EXPECT_EQ(f.services.Title, "Test Level - Orvane");
    EXPECT_EQ(f.services.Music, std::vector<std::string>{"Orvane.Theme@2"});
    EXPECT_EQ(f.services.LightmapPreparations, 1);
    EXPECT_EQ(f.world.LevelIntroTime, 8.0f);
    EXPECT_EQ(f.world.CurrentLevel.Name, "Test");
    ASSERT_NE(f.world.CurrentLevel.Info, nullptr);
    EXPECT_EQ(f.world.CurrentLevel.Info->Name, "LevelInfo0");
}

TEST(LevelLoader, SortingHashAndSkyBox) {
    LevelFixture f;
    f.Load("Maps\\Test.t3d");
    const Level& level = f.world.CurrentLevel;
    ASSERT_EQ(level.Triangles.Num(), 6);
    // Opaque groups first, the translucent node's triangles last.
    EXPECT_EQ(level.Triangles[4].Index, 1);
    EXPECT_EQ(level.Triangles[5].Index, 1);
    EXPECT_EQ(level.Triangles[0].Index, 0);
    // The grid starts at the level's minimum corner with 1024-unit cells.
    EXPECT_EQ(level.Hash.Origin(), (Vector{0, 0, 0}));
    EXPECT_EQ(level.Hash.CellOf({1023, 0, 0}).X, 0);
    EXPECT_EQ(level.Hash.CellOf({1024, 0, 0}).X, 1);
    // Node 0's triangles span x 0..1024: they lie in cells 0 and 1 on X.
    int inCell0 = 0, inCell1 = 0;
    for (const WorldTriangle* t : level.Hash.GetCell(0, 0, 0)) {
        inCell0 += t->Index == 0;
    }
    for (const WorldTriangle* t : level.Hash.GetCell(1, 0, 0)) {
        inCell1 += t->Index == 0;
    }
    EXPECT_EQ(inCell0, 2); // both of node 0's triangles touch cell (0, 0, 0) ...
    EXPECT_EQ(inCell1, 2); // ... and, reaching x = 1024, cell (1, 0, 0) as well
    EXPECT_TRUE(level.Hash.GetCell(-1, 0, 0).empty());
    EXPECT_TRUE(level.Hash.GetCell(0, 0, 99).empty());
    std::vector<const WorldTriangle*> found;
    level.Hash.QueryBox({-100, -100, -10}, {10, 10, 10}, found);
    EXPECT_FALSE(found.empty());
    // The far quad lies within 1500 units of the sky zone: copied, relative, and hidden in the world.
    ASSERT_EQ(level.SkyTriangles.Num(), 2);
    EXPECT_EQ(level.SkyTriangles[0].Vertices[0], (Vector{5000 - 5032, 5000 - 5032, -100}));
    EXPECT_EQ(level.SkyTriangles[0].Flags & (PF_Invisible | PF_NotSolid), 0u);
    int hidden = 0;
    for (const WorldTriangle& t : level.Triangles) {
        hidden += (t.Flags & (PF_Invisible | PF_NotSolid)) == (PF_Invisible | PF_NotSolid);
    }
    EXPECT_EQ(hidden, 2);
    EXPECT_NEAR(level.FarPlane, Length(Vector{5064, 5064, 0}), 0.01f);
}

TEST(LevelLoader, ASecondLoadKeepsOnlyThePlayer) {
    LevelFixture f;
    f.Load("Maps\\Test.t3d");
    f.world.Player->Health = 42;
    const int first = f.world.Actors.Num();
    EXPECT_EQ(first, 6);
    f.dir.Write("Maps/Other.t3d", "Begin Actor Class=LevelInfo Name=LevelInfo0\nTitle=Untitled\nEnd Actor\n"
                                  "Begin Actor Class=PlayerStart Name=PS\nLocation=(X=1,Y=2,Z=3)\nEnd Actor\n");
    const std::vector<uint8_t> model = FloorModel();
    f.dir.Write("Maps/Other.bsp", std::string(model.begin(), model.end()));
    f.Load("Maps\\Other.t3d");
    EXPECT_EQ(f.world.Actors.Num(), 3);
    EXPECT_EQ(f.world.Player->Health, 42);
    EXPECT_EQ(f.world.Player->Location, (Vector{1, 2, 35}));
    EXPECT_TRUE(f.world.CurrentLevel.SkyTriangles.IsEmpty());
    EXPECT_EQ(f.world.CurrentLevel.SkyZone, nullptr);
    EXPECT_EQ(f.services.Title, "Other - Orvane"); // "Untitled" gives the file's name
}

TEST(LevelLoader, FatalErrors) {
    LevelFixture f;
    auto fatalOf = [&](const std::string& path) { return test::CatchFatal([&] { f.Load(path); }); };
    EXPECT_EQ(fatalOf("Maps\\Missing.t3d"), "Can't load level \"Maps\\Missing.t3d\": file not found.");
    EXPECT_EQ(fatalOf("Maps\\Test.bsp"), "Bad level format (must be .t3d)");
    f.dir.Write("Maps/NoInfo.t3d", "Begin Actor Class=PlayerStart Name=PS\nEnd Actor\n");
    const std::vector<uint8_t> model = FloorModel();
    f.dir.Write("Maps/NoInfo.bsp", std::string(model.begin(), model.end()));
    EXPECT_EQ(fatalOf("Maps\\NoInfo.t3d"), "The map is missing LevelInfo (or you didn't set up Engine.u correctly).");
    f.dir.Write("Maps/NoStart.t3d", "Begin Actor Class=LevelInfo Name=LevelInfo0\nEnd Actor\n"
                                    "Begin Actor Class=playerstart Name=PS\nEnd Actor\n"); // case counts
    f.dir.Write("Maps/NoStart.bsp", std::string(model.begin(), model.end()));
    EXPECT_EQ(fatalOf("Maps\\NoStart.t3d"), "No PlayerStarts found.");
}

TEST(LevelLoader, MoversGetBrushesAndMeshMoversAreDropped) {
    WorldFixture f;
    f.AddEngineClasses();
    test::LogCapture log;
    ParseT3DActorsText(f.world, "Maps\\M.t3d", R"(
Begin Actor Class=Mover Name=Lift
 Begin Brush Name=Model1
  Begin PolyList
   Begin Polygon Flags=0
    Origin 0,0,0
    TextureU 1,0,0
    TextureV 0,1,0
    Vertex 0,0,0
    Vertex 64,0,0
    Vertex 64,64,0
    Vertex 0,64,0
   End Polygon
  End PolyList
 End Brush
End Actor
Begin Actor Class=Mover Name=MeshMover
End Actor
)");
    ASSERT_EQ(f.world.Actors.Num(), 1);
    const Actor& lift = *f.world.Actors[0];
    ASSERT_NE(lift.Brush, nullptr);
    ASSERT_EQ(lift.Brush->Triangles.Num(), 2);
    EXPECT_EQ(lift.Brush->Triangles[1].Vertices[1], (Vector{64, 64, 0})); // fan: (0,1,2), (0,2,3)
    EXPECT_EQ(log.Lines(), std::vector<std::string>{"Warning: Mesh Movers are not supported."});
}

} // namespace
} // namespace orv
