// The Level Model file: round trips, refusal of bad files and world triangles.
#include "content/LevelModel.h"

#include "content/Resources.h"
#include "core/BinaryWriter.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

// A floor quad (node 0, zone 1), a sky-portal triangle in front of it (node 1, zone 63) and a
// polygon-less splitter behind it (node 2), with one lightmap lit by one light.
LevelModel SmallModel() {
    LevelModel m;
    m.ActorRefs.Add({"Light", "Light0"});
    m.ActorRefs.Add({"ZoneInfo", "ZoneInfo0"});
    m.Vectors.Add({1, 2, 3});
    for (Vector p : {Vector{0, 0, 0}, Vector{256, 0, 0}, Vector{256, 256, 0}, Vector{0, 256, 0}, Vector{0, 0, 128}}) {
        m.Points.Add(p);
    }
    for (int v : {0, 1, 2, 3, 0, 1, 4}) {
        m.VertexPool.Add(v);
    }
    m.LightIndices.Add(1);
    m.LightIndices.Add(0);
    for (int i = 0; i < 16; ++i) {
        m.ShadowBits.Add(uint8_t(0xF0 | i));
    }
    LightmapRecord l;
    l.ShadowOffset = 0;
    l.PanX = -0.125f;
    l.Width = 9;
    l.Height = 8; // 16 x 8 bits for one light: exactly the 16 bytes above
    l.UScale = l.VScale = 32.25f;
    l.FirstLight = 0;
    m.Lightmaps.Add(l);
    Surface floor;
    floor.TextureName = "Orvane.Floor.Tiles";
    floor.Flags = 0;
    floor.LightmapIndex = 0;
    floor.Normal = {0, 0, -1};
    floor.UAxis = {1, 0, 0};
    floor.VAxis = {0, 1, 0};
    floor.UPan = 3;
    floor.VPan = -4;
    m.Surfaces.Add(floor);
    Surface sky;
    sky.Flags = PF_FakeBackdrop;
    sky.Normal = {0, 1, 0};
    sky.UAxis = {1, 0, 0};
    sky.VAxis = {0, 0, 1};
    m.Surfaces.Add(sky);
    BspNode n0;
    n0.NodePlane = {{0, 0, 1}, 0};
    n0.Surface = 0;
    n0.NumVertices = 4;
    n0.FirstZone = 0;
    n0.SecondZone = 1;
    n0.Front = 1;
    n0.Back = 2;
    m.Nodes.Add(n0);
    BspNode n1;
    n1.NodePlane = {{0, -1, 0}, 0};
    n1.Surface = 1;
    n1.FirstVertex = 4;
    n1.NumVertices = 3;
    n1.SecondZone = kNoZone;
    m.Nodes.Add(n1);
    BspNode n2;
    n2.NodePlane = {{1, 0, 0}, 10};
    n2.Surface = -1;
    m.Nodes.Add(n2);
    m.ZoneIndices.Add(0);
    m.ZoneIndices.Add(2);
    m.PairData.Add({7, -7});
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
    EXPECT_EQ(textures, (std::vector<std::string>{"Orvane.Floor.Tiles", ""})); // resolved while read
    EXPECT_EQ(WriteLevelModel(back), bytes);
    EXPECT_FALSE(back.HasNodeExtras); // the file ends right after the pair data
    EXPECT_EQ(back.Surfaces[0].UPan, 3);
    EXPECT_EQ(back.Surfaces[0].VPan, -4);
    EXPECT_EQ(back.Nodes[1].SecondZone, kNoZone);
    EXPECT_EQ(back.ActorRefs[1].Name, "ZoneInfo0");

    LevelModel withExtras = SmallModel();
    withExtras.HasNodeExtras = true;
    withExtras.NodeExtraTable.Add(42);
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
    EXPECT_EQ(tris[1].Vertices[0], (Vector{0, 0, 0}));
    EXPECT_EQ(tris[1].Vertices[1], (Vector{256, 256, 0}));
    EXPECT_EQ(tris[1].Vertices[2], (Vector{0, 256, 0}));
    EXPECT_EQ(tris[0].Normal, (Vector{0, 0, 1})); // the stored normal is negated
    EXPECT_EQ(tris[2].Flags, PF_FakeBackdrop | PF_Invisible);
    EXPECT_EQ(tris[0].Index, 0);
    EXPECT_EQ(tris[2].Index, 1);
    // No texture image: 128 x 128 texture space, pans in texels, V flipped.
    EXPECT_FLOAT_EQ(tris[0].TexCoords[1][0], (256.0f + 3.0f) / 128.0f);
    EXPECT_FLOAT_EQ(tris[0].TexCoords[1][1], 1.0f - (0.0f - 4.0f) / 128.0f);
    EXPECT_FLOAT_EQ(tris[0].Radius, Length(tris[0].Vertices[0] - tris[0].Centre));
}

TEST(LevelModel, BadFilesAreRefusedWithFileAndOffset) {
    const std::string path = "Maps\\Test.bsp";
    auto fatalOf = [&](LevelModel m) {
        return test::CatchFatal([&] { Read(WriteLevelModel(m)); });
    };
    std::vector<uint8_t> bytes = WriteLevelModel(SmallModel());
    bytes[0] = 23;
    EXPECT_EQ(test::CatchFatal([&] { Read(bytes); }), "Bad Level Model header. (" + path + ")");

    // A count far beyond the rest of the file (the actor reference count at offset 4).
    bytes = WriteLevelModel(SmallModel());
    bytes[4] = 0xFF;
    bytes[5] = 0xFF;
    EXPECT_EQ(test::CatchFatal([&] { Read(bytes); }),
              "Bad Level Model: actor reference count out of range (" + path + ", offset 4)");
    // A file cut short inside the nodes.
    bytes = WriteLevelModel(SmallModel());
    bytes.resize(bytes.size() - 30);
    EXPECT_NE(test::CatchFatal([&] { Read(bytes); }).find("out of range (" + path), std::string::npos);

    LevelModel m = SmallModel();
    m.VertexPool[2] = 99;
    EXPECT_NE(fatalOf(m).find("Bad Level Model: vertex pool point out of range"), std::string::npos);
    m = SmallModel();
    m.Nodes[0].Surface = 5;
    EXPECT_NE(fatalOf(m).find("Bad Level Model: node surface out of range"), std::string::npos);
    m = SmallModel();
    m.Nodes[1].Front = 3;
    EXPECT_NE(fatalOf(m).find("Bad Level Model: node child out of range"), std::string::npos);
    m = SmallModel();
    m.Nodes[1].NumVertices = 33;
    EXPECT_NE(fatalOf(m).find("Bad Level Model: node vertex count out of range"), std::string::npos);
    m = SmallModel();
    m.Nodes[1].FirstVertex = 6;
    EXPECT_NE(fatalOf(m).find("Bad Level Model: node vertex pool range out of range"), std::string::npos);
    m = SmallModel();
    m.Surfaces[0].LightmapIndex = 1;
    EXPECT_NE(fatalOf(m).find("Bad Level Model: surface lightmap out of range"), std::string::npos);
    m = SmallModel();
    m.Lightmaps[0].Height = 9; // one more row of bits than the shadow array holds
    EXPECT_NE(fatalOf(m).find("Bad Level Model: lightmap shadow range out of range"), std::string::npos);
    m = SmallModel();
    m.LightIndices[0] = 3;
    EXPECT_NE(fatalOf(m).find("Bad Level Model: light actor reference out of range"), std::string::npos);
    m = SmallModel();
    m.ZoneIndices[1] = -1;
    EXPECT_NE(fatalOf(m).find("Bad Level Model: zone actor reference out of range"), std::string::npos);
    m = SmallModel();
    m.Nodes[0].FirstZone = 64;
    EXPECT_NE(fatalOf(m).find("Bad Level Model: node zone number out of range"), std::string::npos);
    m = SmallModel();
    m.Nodes[2].Back = 1; // node 1 reached from two parents
    EXPECT_NE(fatalOf(m).find("reached twice"), std::string::npos);
    // The offset names the record: node 1 starts right after node 0.
    m = SmallModel();
    m.Nodes[1].Front = 3;
    const std::string first = fatalOf(m);
    m = SmallModel();
    m.Nodes[0].Front = 3;
    const std::string zeroth = fatalOf(m);
    EXPECT_NE(first, zeroth);
}

} // namespace
} // namespace orv
