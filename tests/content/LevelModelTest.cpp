// The Level Model file: round trips, refusal of bad files and world triangles.
#include "content/LevelModel.h"

#include "content/Resources.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <functional>

namespace orv {
namespace {

// A floor quad (node 0, zone 1), a sky-portal triangle in front of it (node 1, zone 63) and a
// polygon-less splitter behind it (node 2), with one lightmap lit by one light.
LevelModel SmallModel() {
    LevelModel m;
    m.ActorRefs = {{"Light", "Light0"}, {"ZoneInfo", "ZoneInfo0"}};
    m.Vectors = {{1, 2, 3}};
    m.Points = {{0, 0, 0}, {256, 0, 0}, {256, 256, 0}, {0, 256, 0}, {0, 0, 128}};
    m.VertexPool = {0, 1, 2, 3, 0, 1, 4};
    m.LightIndices = {1, 0};
    for (int i = 0; i < 16; ++i) {
        m.ShadowBits.Add(uint8_t(0xF0 | i));
    }
    // 9 texels wide round up to 16 bits a row; 16 x 8 bits for one light are the 16 bytes above.
    m.Lightmaps = {{.ShadowOffset = 0, .PanX = -0.125f, .Width = 9, .Height = 8, .UScale = 32.25f, .VScale = 32.25f}};
    m.Lightmaps[0].FirstLight = 0;
    const Vector x{1, 0, 0}, y{0, 1, 0}, z{0, 0, 1};
    m.Surfaces = {{.TextureName = "Pkg.Floor", .LightmapIndex = 0, .Base = {}, .Normal = -z, .UAxis = x, .VAxis = y},
                  {.TextureName = "", .Flags = PF_FakeBackdrop, .Base = {}, .Normal = y, .UAxis = x, .VAxis = z}};
    m.Surfaces[0].UPan = 3;
    m.Surfaces[0].VPan = -4;
    m.Nodes = {{.NodePlane = {{0, 0, 1}, 0}, .Surface = 0, .Back = 2, .Front = 1, .SecondZone = 1, .NumVertices = 4},
               {.NodePlane = {{0, -1, 0}, 0}, .FirstVertex = 4, .Surface = 1, .NumVertices = 3},
               {.NodePlane = {{1, 0, 0}, 10}}};
    m.ZoneIndices = {0, 2};
    m.PairData = {{7, -7}};
    return m;
}

LevelModel Read(std::vector<uint8_t> bytes, std::vector<std::string>* textures = nullptr) {
    LevelModel m;
    LoadLevelModelFromMemory(m, "Maps\\Test.bsp", std::move(bytes), [textures](std::string_view name) -> Texture* {
        if (textures) {
            textures->emplace_back(name);
        }
        return nullptr;
    });
    return m;
}

TEST(LevelModel, WriteReadWriteGivesTheSameBytes) {
    const std::vector<uint8_t> bytes = WriteLevelModel(SmallModel());
    std::vector<std::string> textures;
    LevelModel back = Read(bytes, &textures);
    EXPECT_EQ(textures, (std::vector<std::string>{"Pkg.Floor", ""})); // resolved while read
    EXPECT_EQ(WriteLevelModel(back), bytes);
    EXPECT_FALSE(back.HasNodeExtras); // the file ends right after the pair data
    EXPECT_EQ(back.Surfaces[0].VPan, -4);
    EXPECT_EQ(back.Nodes[1].SecondZone, kNoZone);
    EXPECT_EQ(back.ActorRefs[1].Name, "ZoneInfo0");

    LevelModel withExtras = SmallModel();
    withExtras.HasNodeExtras = true;
    withExtras.NodeExtraTable = {42};
    withExtras.Nodes[2].Extra = -9;
    const std::vector<uint8_t> extraBytes = WriteLevelModel(withExtras);
    LevelModel extrasBack = Read(extraBytes);
    EXPECT_TRUE(extrasBack.HasNodeExtras);
    EXPECT_EQ(extrasBack.Nodes[2].Extra, -9);
    EXPECT_EQ(WriteLevelModel(extrasBack), extraBytes);
}

TEST(LevelModel, WorldTrianglesFromNodePolygons) {
    LevelModel m = Read(WriteLevelModel(SmallModel()));
    Array<WorldTriangle> tris;
    BuildWorldTriangles(m, tris);
    ASSERT_EQ(tris.Num(), 3); // the quad fans into (0,1,2), (0,2,3); the sky triangle is one
    EXPECT_EQ(std::vector<Vector>(tris[1].Vertices, tris[1].Vertices + 3),
              (std::vector<Vector>{{0, 0, 0}, {256, 256, 0}, {0, 256, 0}}));
    EXPECT_EQ(tris[0].Normal, (Vector{0, 0, 1})); // the stored normal is negated
    EXPECT_EQ(tris[2].Flags, PF_FakeBackdrop | PF_Invisible);
    EXPECT_EQ(std::pair(tris[0].Index, tris[2].Index), std::pair(0, 1));
}

TEST(LevelModel, BadFilesAreRefusedWithFileAndOffset) {
    std::vector<uint8_t> bytes = WriteLevelModel(SmallModel());
    bytes[0] = kLevelModelVersion - 1;
    EXPECT_EQ(test::CatchFatal([&] { Read(bytes); }), "Bad Level Model header. (Maps\\Test.bsp)");
    bytes[0] = kLevelModelVersion;
    bytes[4] = bytes[5] = 0xFF; // the actor reference count after the version: far beyond the file
    EXPECT_EQ(test::CatchFatal([&] { Read(bytes); }),
              "Bad Level Model: actor reference count out of range (Maps\\Test.bsp, offset 4)");
    bytes = WriteLevelModel(SmallModel());
    bytes.resize(bytes.size() - 30); // cut short inside the nodes
    EXPECT_NE(test::CatchFatal([&] { Read(bytes); }).find("out of range (Maps\\Test.bsp"), std::string::npos);

    // Every index is checked against its array; the message names the field and the record.
    using Damage = std::function<void(LevelModel&)>;
    auto fatalOf = [](const Damage& damage) {
        LevelModel m = SmallModel();
        damage(m);
        return test::CatchFatal([&] { Read(WriteLevelModel(m)); });
    };
    const std::pair<Damage, std::string> cases[] = {
        {[](LevelModel& m) { m.VertexPool[2] = 99; }, "vertex pool point"},
        {[](LevelModel& m) { m.Nodes[0].Surface = 5; }, "node surface"},
        {[](LevelModel& m) { m.Nodes[1].Front = 3; }, "node child"},
        {[](LevelModel& m) { m.Nodes[1].NumVertices = kMaxNodeVertices + 1; }, "node vertex count"},
        {[](LevelModel& m) { m.Nodes[1].FirstVertex = 6; }, "node vertex pool range"},
        {[](LevelModel& m) { m.Surfaces[0].LightmapIndex = 1; }, "surface lightmap"},
        {[](LevelModel& m) { m.Lightmaps[0].Height = 9; }, "lightmap shadow range"}, // a row more than the bits
        {[](LevelModel& m) { m.LightIndices[0] = 3; }, "light actor reference"},
        {[](LevelModel& m) { m.ZoneIndices[1] = -1; }, "zone actor reference"},
        {[](LevelModel& m) { m.Nodes[0].FirstZone = kNoZone + 1; }, "node zone number"},
        {[](LevelModel& m) { m.Points[3].Y = NAN; }, "point"},
        {[](LevelModel& m) { m.Nodes[2].NodePlane.W = INFINITY; }, "node plane"},
    };
    for (const auto& [damage, what] : cases) {
        EXPECT_NE(fatalOf(damage).find("Bad Level Model: " + what + " out of range"), std::string::npos) << what;
    }
    EXPECT_NE(fatalOf([](LevelModel& m) { m.Nodes[2].Back = 1; }).find("node 1 is reached twice"), std::string::npos);
    // The offset names the record: node 1's differs from node 0's.
    const Damage firstNode = [](LevelModel& m) { m.Nodes[0].Front = 3; };
    EXPECT_NE(fatalOf([](LevelModel& m) { m.Nodes[1].Front = 3; }), fatalOf(firstNode));
}

} // namespace
} // namespace orv
