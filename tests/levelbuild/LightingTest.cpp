// The lighting build on small lit rooms: where texels lie (checked against the engine's own
// texel mapping written out independently here), which lights reach which texels past pillars,
// sheets and walls, and the layout of records, lists and bits that the engine's loader checks.
#include "Lighting.h"
#include "Lightmaps.h"
#include "MapText.h"

#include "content/LevelModel.h"
#include "core/Text.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cmath>

namespace orv {
namespace {

using test::BoxBrush;
using test::MapText;

std::string LightText(const std::string& className, const std::string& name, const Vector& at,
                      const std::vector<std::string>& properties = {}) {
    std::string text = test::ActorText(className, name, at);
    std::string lines;
    for (const std::string& p : properties) {
        lines += "     " + p + "\n";
    }
    return text.insert(text.rfind("End Actor"), lines);
}

// A brush whose faces all carry the given polygon flags.
std::string FlaggedBox(const std::string& name, const std::string& csg, const Vector& min, const Vector& max,
                       uint32_t flags, const std::string& texture = "Orvane.Walls.Plain") {
    std::string text = "Begin Actor Class=Brush Name=" + name + "\n     CsgOper=" + csg + "\n";
    text += "    Begin Brush Name=Model" + name + "\n       Begin PolyList\n";
    for (const test::Polygon& p : test::BoxFaces(min, max)) {
        text += test::PolygonText(p, texture, flags);
    }
    return text + "       End PolyList\n    End Brush\nEnd Actor\n";
}

// The engine's texel placement, as its lightmap code computes it: texture-space coordinates
// s = (p.U - uStart) / UScale, t = (p.V - vStart) / VScale; base, base + U and base + V are mapped
// to (s, t), and the world point of (i + 0.5, j + 0.5) is interpolated affinely, row by row.
std::vector<DVector> EngineTexelPositions(const Surface& s, const LightmapRecord& l) {
    const DVector base(s.Base), u(s.UAxis), v(s.VAxis);
    const double uStart = Dot(base, u) + l.PanX - l.UScale * 0.5;
    const double vStart = Dot(base, v) + l.PanY - l.VScale * 0.5;
    auto st = [&](const DVector& p) {
        return std::pair{(Dot(p, u) - uStart) / l.UScale, (Dot(p, v) - vStart) / l.VScale};
    };
    const auto [s0, t0] = st(base);
    const auto [s1, t1] = st(base + u);
    const auto [s2, t2] = st(base + v);
    // (s, t) = (s0, t0) + a (s1 - s0, t1 - t0) + b (s2 - s0, t2 - t0); world = base + a U + b V.
    const double det = (s1 - s0) * (t2 - t0) - (s2 - s0) * (t1 - t0);
    auto world = [&](double s, double t) {
        const double a = ((s - s0) * (t2 - t0) - (s2 - s0) * (t - t0)) / det;
        const double b = ((s1 - s0) * (t - t0) - (s - s0) * (t1 - t0)) / det;
        return base + u * a + v * b;
    };
    const DVector first = world(0.5, 0.5);
    const DVector acrossStep = world(1.5, 0.5) - first;
    const DVector downStep = world(0.5, 1.5) - first;
    std::vector<DVector> out;
    DVector rowStart = first;
    for (int j = 0; j < l.Height; ++j, rowStart += downStep) {
        DVector p = rowStart;
        for (int i = 0; i < l.Width; ++i, p += acrossStep) {
            out.push_back(p);
        }
    }
    return out;
}

// The texel of a lightmap nearest a point of its surface, by the engine's coordinates.
std::pair<int, int> TexelAt(const Surface& s, const LightmapRecord& l, const Vector& p) {
    const double uStart = Dot(DVector(s.Base), DVector(s.UAxis)) + l.PanX - l.UScale * 0.5;
    const double vStart = Dot(DVector(s.Base), DVector(s.VAxis)) + l.PanY - l.VScale * 0.5;
    return {static_cast<int>(std::floor((Dot(DVector(p), DVector(s.UAxis)) - uStart) / l.UScale)),
            static_cast<int>(std::floor((Dot(DVector(p), DVector(s.VAxis)) - vStart) / l.VScale))};
}

// The lights on a lightmap's list, by actor name.
std::vector<std::string> ListedLights(const LevelModel& model, const LightmapRecord& l) {
    std::vector<std::string> names;
    for (int k = l.FirstLight; k >= 0 && model.LightIndices[k] != 0; ++k) {
        names.push_back(model.ActorRefs[model.LightIndices[k] - 1].Name);
    }
    return names;
}

bool Listed(const LevelModel& model, const LightmapRecord& l, const std::string& light) {
    const std::vector<std::string> names = ListedLights(model, l);
    return std::find(names.begin(), names.end(), light) != names.end();
}

// Whether the named light reaches the texel of a lightmap nearest a point (false when unlisted).
bool Reaches(const LevelModel& model, int lightmap, const std::string& light, const Vector& p) {
    const LightmapRecord& l = model.Lightmaps[lightmap];
    const std::vector<std::string> names = ListedLights(model, l);
    const auto found = std::find(names.begin(), names.end(), light);
    if (found == names.end()) {
        return false;
    }
    const Surface* surface = nullptr;
    for (const Surface& s : model.Surfaces) {
        surface = s.LightmapIndex == lightmap ? &s : surface;
    }
    const auto [i, j] = TexelAt(*surface, l, p);
    EXPECT_TRUE(i >= 0 && i < l.Width && j >= 0 && j < l.Height) << "no texel of this lightmap is near the point";
    const int aw = LightmapAtlasWidth(l.Width);
    const long long bit = static_cast<long long>(found - names.begin()) * aw * l.Height + j * aw + i;
    return (model.ShadowBits[l.ShadowOffset + static_cast<int>(bit / 8)] >> (bit % 8)) & 1;
}

// The lightmap of the surface whose polygons face `visible` and contain the point.
int LightmapFacing(const CompiledLevel& level, const DVector& visible, const Vector& on) {
    for (const TreeNode& node : level.Tree.Nodes) {
        if (Dot(node.Plane.Normal, visible) < 0.999 || std::fabs(node.Plane.Distance(DVector(on))) > 0.01) {
            continue;
        }
        bool inside = true;
        for (size_t k = 0; k < node.Points.size(); ++k) {
            const DVector& a = node.Points[k];
            const DVector& b = node.Points[(k + 1) % node.Points.size()];
            inside = inside && Dot(Cross(node.Plane.Normal, b - a), DVector(on) - a) >= -0.01;
        }
        if (inside) {
            return level.Model.Surfaces[node.Surface].LightmapIndex;
        }
    }
    ADD_FAILURE() << "no polygon facing that way holds the point";
    return -1;
}

TEST(Lightmaps, GridSpacingFollowsShadowDetailAndSizeLimits) {
    Surface s;
    s.Base = {100, 0, 0};
    s.UAxis = {1, 0, 0};
    s.VAxis = {0, 1, 0};
    const std::vector<DVector> square = {{100, 0, 0}, {356, 0, 0}, {356, 256, 0}, {100, 256, 0}};
    for (const auto& [flags, size] :
         std::vector<std::pair<uint32_t, int>>{{0, 8},
                                               {PF_HighShadowDetail, 16},
                                               {PF_LowShadowDetail, 4},
                                               {PF_HighShadowDetail | PF_LowShadowDetail, 2}}) {
        s.Flags = flags;
        const LightmapRecord l = LayoutLightmap(s, square);
        EXPECT_EQ(l.Width, size) << flags;
        EXPECT_EQ(l.Height, size) << flags;
        EXPECT_FLOAT_EQ(l.UScale, 256.25f / (size - 1)) << flags;
        EXPECT_FLOAT_EQ(l.PanX, -0.125f) << flags; // measured from the base point
    }
    // A point-thin strip still gets two texels a side; a long one doubles its spacing until it
    // fits (10000 / 32 is 313 texels, / 64 is 157); a texture axis of length 2 counts twice.
    s.Flags = 0;
    LightmapRecord l = LayoutLightmap(s, {{100, 0, 0}, {10100, 0, 0}, {10100, 0.1, 0}});
    EXPECT_EQ(l.Width, 157);
    EXPECT_EQ(l.Height, 2);
    EXPECT_FLOAT_EQ(l.VScale, 0.35f);
    EXPECT_FLOAT_EQ(l.PanY, -0.125f);
    s.UAxis = {2, 0, 0};
    l = LayoutLightmap(s, square);
    EXPECT_EQ(l.Width, 16);
    EXPECT_FLOAT_EQ(l.UScale, 512.25f / 15);
    EXPECT_EQ(LightmapAtlasWidth(1), 8);
    EXPECT_EQ(LightmapAtlasWidth(8), 8);
    EXPECT_EQ(LightmapAtlasWidth(9), 16);
}

TEST(Lightmaps, TexelsLieWhereTheEngineMapsThem) {
    // Skewed, scaled texture axes on a sloped polygon: the compiler's texel positions must be
    // the engine's, to float precision.
    Surface s;
    s.Base = {37.5f, -12, 8};
    s.UAxis = {0.8f, 0.3f, 0.1f};
    s.VAxis = {-0.2f, 1.4f, 0.5f};
    const DVector n = Normalized(Cross(DVector(s.UAxis), DVector(s.VAxis)));
    const DVector e1 = Normalized(Cross(n, {0, 0, 1})), e2 = Cross(n, e1);
    std::vector<DVector> polygon;
    for (int k = 0; k < 5; ++k) {
        const double a = k * 2 * M_PI / 5;
        polygon.push_back(DVector(s.Base) + e1 * (300 * std::cos(a)) + e2 * (180 * std::sin(a)));
    }
    const LightmapRecord l = LayoutLightmap(s, polygon);
    const TexelMapper mapper(s, l);
    ASSERT_TRUE(mapper.Valid());
    const std::vector<DVector> engine = EngineTexelPositions(s, l);
    ASSERT_EQ(engine.size(), static_cast<size_t>(l.Width * l.Height));
    double worst = 0;
    for (int j = 0; j < l.Height; ++j) {
        for (int i = 0; i < l.Width; ++i) {
            worst = std::max(worst, Length(mapper.Position(i, j) - engine[static_cast<size_t>(j * l.Width + i)]));
        }
    }
    EXPECT_LT(worst, 0.01);
    // The grid reaches an eighth of a unit past the polygon on every side, in texture space.
    double uMin = 1e9, uMax = -1e9;
    for (const DVector& p : polygon) {
        uMin = std::min(uMin, Dot(p - DVector(s.Base), DVector(s.UAxis)));
        uMax = std::max(uMax, Dot(p - DVector(s.Base), DVector(s.UAxis)));
    }
    EXPECT_NEAR(Dot(mapper.Position(0, 3) - DVector(s.Base), DVector(s.UAxis)), uMin - 0.125, 1e-3);
    EXPECT_NEAR(Dot(mapper.Position(l.Width - 1, 3) - DVector(s.Base), DVector(s.UAxis)), uMax + 0.125, 1e-3);
    // Parallel axes place nothing.
    s.VAxis = s.UAxis * 2.0f;
    EXPECT_FALSE(TexelMapper(s, l).Valid());
}

TEST(Lighting, PillarShadowsReachAndWallFoot) {
    const CompiledLevel level = test::Compile(MapText({
        BoxBrush("Room", "CSG_Subtract", {0, 0, 0}, {1024, 512, 256}),
        BoxBrush("Pillar", "CSG_Add", {448, 192, 0}, {576, 320, 256}),
        BoxBrush("Closet", "CSG_Subtract", {0, 700, 0}, {256, 900, 128}),
        LightText("Light", "Lamp", {128, 256, 128}),
        LightText("Light", "Faint", {980, 400, 128}, {"LightRadius=0"}),
        LightText("Light", "Hidden", {128, 800, 64}, {"LightRadius=255"}),
        LightText("Light", "Dark", {700, 100, 100}, {"LightBrightness=0"}),
    }));
    test::ExpectSoundLevel(level, 1000);
    const LevelModel& model = level.Model;
    EXPECT_EQ(level.Lights.size(), 3u); // the dark one is no light
    const int floor = LightmapFacing(level, {0, 0, 1}, {300, 300, 0});
    ASSERT_GE(floor, 0);
    EXPECT_TRUE(Reaches(model, floor, "Lamp", {256, 256, 0}));
    EXPECT_TRUE(Reaches(model, floor, "Lamp", {900, 40, 0}));   // past the pillar's side
    EXPECT_FALSE(Reaches(model, floor, "Lamp", {900, 256, 0})); // behind the pillar
    EXPECT_FALSE(Reaches(model, floor, "Lamp", {620, 256, 0}));
    // Texels along the wall foot sit an eighth of a unit inside the wall; their rays start from
    // the floor's edge instead, so the foot of a lit wall is not dark.
    for (float y = 0; y <= 512; y += 16) {
        EXPECT_TRUE(Reaches(model, floor, "Lamp", {0, y, 0})) << "y " << y;
    }
    // Too faint to reach any surface; walled off in another room.
    for (const LightmapRecord& l : model.Lightmaps) {
        EXPECT_FALSE(Listed(model, l, "Faint"));
    }
    EXPECT_FALSE(Listed(model, model.Lightmaps[floor], "Hidden"));
    const int closetFloor = LightmapFacing(level, {0, 0, 1}, {128, 800, 0});
    EXPECT_TRUE(Reaches(model, closetFloor, "Hidden", {128, 800, 0}));
    EXPECT_EQ(ListedLights(model, model.Lightmaps[closetFloor]), std::vector<std::string>{"Hidden"});
    // The pillar's far face sees no light at all, yet has its record: ambient only.
    const int farFace = LightmapFacing(level, {1, 0, 0}, {576, 256, 128});
    ASSERT_GE(farFace, 0);
    EXPECT_EQ(model.Lightmaps[farFace].FirstLight, -1);
    EXPECT_GT(level.LightingCounts.Rays, 0);
}

TEST(Lighting, ShadowsFallOnTheSurfaceWhereverItsTextureOriginLies) {
    // Editors leave texture origins off the polygon's plane; the engine's texel points then float
    // above the floor, but a low kerb must still shade the floor behind it.
    for (float lift : {0.0f, 40.0f, -40.0f}) {
        SCOPED_TRACE(lift);
        std::string room = "Begin Actor Class=Brush Name=Room\n     CsgOper=CSG_Subtract\n";
        const std::vector<test::Polygon> faces = test::BoxFaces({0, 0, 0}, {1024, 512, 256});
        for (size_t k = 0; k < faces.size(); ++k) {
            std::string text = test::PolygonText(faces[k]);
            if (k == 5) { // the floor
                const size_t at = text.find("Origin");
                const size_t end = text.find('\n', at);
                text.replace(at, end - at, "Origin   0,0," + FormatFloat(lift));
            }
            room += text;
        }
        room += "End Actor\n";
        const CompiledLevel level = test::Compile(MapText({
            room,
            BoxBrush("Kerb", "CSG_Add", {400, 0, 0}, {432, 512, 24}),
            LightText("Light", "Low", {128, 256, 40}),
        }));
        const int floor = LightmapFacing(level, {0, 0, 1}, {200, 256, 0});
        ASSERT_GE(floor, 0);
        EXPECT_TRUE(Reaches(level.Model, floor, "Low", {200, 256, 0}));
        EXPECT_FALSE(Reaches(level.Model, floor, "Low", {480, 256, 0}));
    }
}

TEST(Lighting, SheetsTakeLightFromTheSidesTheyAreSeenFrom) {
    const test::Polygon sheet = {{256, 64, 0}, {256, 448, 0}, {256, 448, 192}, {256, 64, 192}}; // faces +X
    const auto build = [&](const std::string& polyFlags) {
        return test::Compile(MapText({
            BoxBrush("Room", "CSG_Subtract", {0, 0, 0}, {512, 512, 256}),
            test::BrushText("Sheet", "CSG_Add", {sheet}, {"PolyFlags=" + polyFlags}, "Orvane.Glass.Sheet"),
            LightText("Light", "Front", {384, 256, 96}),
            LightText("Light", "Back", {128, 256, 96}),
            LightText("Light", "Grazing", {255.5f, 480, 96}, {"LightRadius=2"}),
            LightText("Light", "Behind", {254, 32, 96}, {"LightRadius=1"}),
        }));
    };
    const Vector middle{256, 256, 96};
    const CompiledLevel twoSided = build("264"); // two-sided, not solid
    const int both = LightmapFacing(twoSided, {1, 0, 0}, middle);
    ASSERT_GE(both, 0);
    EXPECT_TRUE(Reaches(twoSided.Model, both, "Front", middle));
    EXPECT_TRUE(Reaches(twoSided.Model, both, "Back", middle));

    const CompiledLevel oneSided = build("8");
    const int front = LightmapFacing(oneSided, {1, 0, 0}, middle);
    ASSERT_GE(front, 0);
    const LightmapRecord& l = oneSided.Model.Lightmaps[front];
    EXPECT_TRUE(Reaches(oneSided.Model, front, "Front", middle));
    EXPECT_FALSE(Listed(oneSided.Model, l, "Back"));
    EXPECT_TRUE(Listed(oneSided.Model, l, "Grazing")); // half a unit behind: still counts
    EXPECT_FALSE(Listed(oneSided.Model, l, "Behind")); // two units behind: skipped

    // A two-sided banner hung two units off a wall and facing it: its rays leave on the room's
    // side, where the light is, not into the wall.
    const test::Polygon banner = {{2, 64, 0}, {2, 64, 192}, {2, 448, 192}, {2, 448, 0}}; // faces -X
    const CompiledLevel hung = test::Compile(MapText({
        BoxBrush("Room", "CSG_Subtract", {0, 0, 0}, {512, 512, 256}),
        test::BrushText("Banner", "CSG_Add", {banner}, {"PolyFlags=264"}, "Orvane.Cloth.Banner"),
        LightText("Light", "Lamp", {128, 256, 96}),
    }));
    const int cloth = LightmapFacing(hung, {-1, 0, 0}, {2, 256, 96});
    ASSERT_GE(cloth, 0);
    EXPECT_TRUE(Reaches(hung.Model, cloth, "Lamp", {2, 256, 96}));
}

TEST(Lighting, SpecialLitLightsOnlyLightSpecialLitSurfaces) {
    const CompiledLevel level = test::Compile(MapText({
        BoxBrush("Room", "CSG_Subtract", {0, 0, 0}, {512, 512, 256}),
        FlaggedBox("Crate", "CSG_Add", {200, 200, 0}, {300, 300, 100}, PF_SpecialLit),
        LightText("Light", "Plain", {100, 100, 200}),
        LightText("Light", "Special", {400, 400, 200}, {"bSpecialLit=True"}),
    }));
    int crateFaces = 0, roomFaces = 0;
    for (const Surface& s : level.Model.Surfaces) {
        ASSERT_GE(s.LightmapIndex, 0);
        const std::vector<std::string> names = ListedLights(level.Model, level.Model.Lightmaps[s.LightmapIndex]);
        for (const std::string& name : names) {
            EXPECT_EQ(name, (s.Flags & PF_SpecialLit) ? "Special" : "Plain");
        }
        ((s.Flags & PF_SpecialLit) ? crateFaces : roomFaces) += !names.empty();
    }
    EXPECT_EQ(crateFaces, 3); // the top and the two sides facing the special light
    EXPECT_EQ(roomFaces, 6);
}

TEST(Lighting, RecordsListsAndBitsAreLaidOutForTheEngine) {
    test::LogCapture log;
    const std::string map = MapText({
        FlaggedBox("Room", "CSG_Subtract", {0, 0, 0}, {768, 512, 256}, 0, "Orvane.Stone.Wall"),
        FlaggedBox("Glow", "CSG_Add", {100, 100, 0}, {160, 160, 60}, PF_Unlit),
        FlaggedBox("Sky", "CSG_Subtract", {300, 200, 256}, {400, 300, 300}, PF_FakeBackdrop),
        BoxBrush("Pillar", "CSG_Add", {500, 200, 0}, {540, 240, 256}),
        LightText("Light", "A", {64, 64, 200}),
        LightText("Spotlight", "B", {700, 400, 200}, {"Rotation=(Pitch=-16384)"}),
        LightText("TriggerLight", "C", {380, 256, 100}, {"LightRadius=6", "LightEffect=LE_FireWaver"}),
        LightText("Light", "Buried", {-500, 0, 0}),
        LightText("Counter", "NotALight", {10, 10, 10}),
    });
    const CompiledLevel level = test::Compile(map);
    EXPECT_TRUE(log.Contains("Warning: Light Buried lies in solid space and lights nothing"));
    const LevelModel& model = level.Model;
    int previousEnd = 0, nextLightmap = 0;
    for (int s = 0; s < model.Surfaces.Num(); ++s) {
        const Surface& surface = model.Surfaces[s];
        if (surface.Flags & (PF_Unlit | PF_FakeBackdrop)) {
            EXPECT_EQ(surface.LightmapIndex, -1) << s;
            continue;
        }
        ASSERT_EQ(surface.LightmapIndex, nextLightmap++) << "lightmaps follow the surfaces' order";
        const LightmapRecord& l = model.Lightmaps[surface.LightmapIndex];
        const int lights = model.LightCount(l);
        const int aw = LightmapAtlasWidth(l.Width);
        EXPECT_EQ(l.ShadowOffset, previousEnd) << "bit blocks are back to back";
        previousEnd = l.ShadowOffset + lights * aw * l.Height / 8;
        EXPECT_EQ(l.FirstLight == -1, lights == 0);
        // The padding columns past Width stay dark.
        for (int k = 0; k < lights; ++k) {
            for (int j = 0; j < l.Height; ++j) {
                for (int i = l.Width; i < aw; ++i) {
                    const int bit = (k * l.Height + j) * aw + i;
                    EXPECT_EQ((model.ShadowBits[l.ShadowOffset + bit / 8] >> (bit % 8)) & 1, 0);
                }
            }
        }
        for (const std::string& name : ListedLights(model, l)) {
            EXPECT_TRUE(name == "A" || name == "B" || name == "C") << name;
        }
    }
    EXPECT_EQ(previousEnd, model.ShadowBits.Num());
    // Each light has one actor reference however many lists it is on, with the class as written.
    int lightRefs = 0;
    for (const LevelActorRef& ref : model.ActorRefs) {
        lightRefs += ref.Name == "A" || ref.Name == "B" || ref.Name == "C";
        if (ref.Name == "B") {
            EXPECT_EQ(ref.ClassName, "Spotlight");
        }
    }
    EXPECT_EQ(lightRefs, 3);

    // The engine's loader accepts every record; the bytes do not depend on the thread count.
    LevelModel loaded;
    LoadLevelModelFromMemory(loaded, "Lit.bsp", WriteLevelModel(model), [](std::string_view) { return nullptr; });
    EXPECT_EQ(loaded.Lightmaps.Num(), model.Lightmaps.Num());
    for (int threads : {1, 3}) {
        LevelBuildOptions options;
        options.Progress = false;
        options.Threads = threads;
        EXPECT_EQ(WriteLevelModel(CompileMap(ParseMap(map, "Lit.t3d"), options).Model), WriteLevelModel(model))
            << threads << " threads";
    }
}

TEST(Lighting, ClassDefaultsComeFromTheContentTree) {
    test::TempDir content;
    content.Write("System/Custom/Classes/Lamp.uc", "class Lamp expands Light;\n\ndefaultproperties\n{\n"
                                                   "\tLightRadius=3\n\tbSpecialLit=True\n}\n");
    content.Write("System/Custom/Classes/Glowworm.uc", "class Glowworm expands Actor;\n\ndefaultproperties\n{\n"
                                                       "\tLightType=LT_Pulse\n\tLightBrightness=20\n}\n");
    const MapFile map =
        ParseMap(MapText({LightText("Lamp", "Lamp0", {1, 2, 3}),
                          LightText("Glowworm", "Worm", {0, 0, 0}, {"LightBrightness=300"}),
                          LightText("Glowworm", "Off", {0, 0, 0}, {"LightType=0"}),
                          LightText("Light", "Plain", {0, 0, 0}), LightText("PathNode", "Node", {0, 0, 0})}),
                 "Defaults.t3d");
    const ClassDefaults defaults(content.Path().string());
    EXPECT_EQ(defaults.ScriptCount(), 2);
    const std::vector<MapLight> lights = FindLights(map, defaults);
    ASSERT_EQ(lights.size(), 3u);
    EXPECT_EQ(map.Actors[static_cast<size_t>(lights[0].Actor)].Name, "Lamp0");
    EXPECT_EQ(lights[0].Radius, 3);      // the script's
    EXPECT_EQ(lights[0].Brightness, 64); // Light's own default, built in
    EXPECT_TRUE(lights[0].SpecialLit);
    EXPECT_EQ(lights[0].Location, (DVector{1, 2, 3}));
    EXPECT_EQ(lights[1].Brightness, 44); // 300 kept in a byte
    EXPECT_EQ(map.Actors[static_cast<size_t>(lights[2].Actor)].Name, "Plain");
    EXPECT_EQ(lights[2].Radius, 64);
    EXPECT_DOUBLE_EQ(lights[2].Reach(), 65 * 25.0);
    // Without the tree the custom classes are unknown: only the plain light is left.
    EXPECT_EQ(FindLights(map, ClassDefaults("")).size(), 1u);
}

} // namespace
} // namespace orv
