// The lighting build on small lit rooms: where texels lie (checked against the engine's own
// texel mapping written out independently here), which lights reach which texels past pillars,
// sheets, kerbs and walls, and the layout of records, lists and bits that the engine's loader checks.
#include "Lighting.h"
#include "Lightmaps.h"
#include "MapText.h"

#include "content/LevelModel.h"
#include "core/Text.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <tuple>

namespace orv {
namespace {

using test::ActorText;
using test::BoxBrush;

// The engine's texel placement, as its lightmap code computes it: texture-space coordinates
// s = (p.U - uStart) / UScale, t = (p.V - vStart) / VScale; base, base + U and base + V are mapped
// to (s, t), and the world point of (i + 0.5, j + 0.5) is interpolated affinely.
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
    std::vector<DVector> out;
    for (int j = 0; j < l.Height; ++j) {
        for (int i = 0; i < l.Width; ++i) {
            out.push_back(world(i + 0.5, j + 0.5));
        }
    }
    return out;
}

// The lights on a lightmap's list, by actor name.
std::vector<std::string> ListedLights(const LevelModel& model, const LightmapRecord& l) {
    std::vector<std::string> names;
    for (int k = l.FirstLight; k >= 0 && model.LightIndices[k] != 0; ++k) {
        names.push_back(model.ActorRefs[model.LightIndices[k] - 1].Name);
    }
    return names;
}

// The surface whose polygons face `visible` and hold the point.
const Surface& SurfaceAt(const CompiledLevel& level, const DVector& visible, const Vector& on) {
    for (const TreeNode& node : level.Tree.Nodes) {
        bool inside = Dot(node.Plane.Normal, visible) > 0.999 && std::fabs(node.Plane.Distance(DVector(on))) < 0.01;
        for (size_t k = 0; k < node.Points.size() && inside; ++k) {
            const DVector& a = node.Points[k];
            inside =
                Dot(Cross(node.Plane.Normal, node.Points[(k + 1) % node.Points.size()] - a), DVector(on) - a) >= -0.01;
        }
        if (inside) {
            return level.Model.Surfaces[node.Surface];
        }
    }
    ADD_FAILURE() << "no polygon facing that way holds the point";
    return level.Model.Surfaces[0];
}

// Whether the light reaches the texel nearest the point, on the lightmap of the surface seen from
// `visible` there; none when the light is not on its list.
std::optional<bool> Lit(const CompiledLevel& level, const std::string& light, const DVector& visible, const Vector& p) {
    const Surface& s = SurfaceAt(level, visible, p);
    const LightmapRecord& l = level.Model.Lightmaps[s.LightmapIndex];
    const std::vector<std::string> names = ListedLights(level.Model, l);
    const auto found = std::find(names.begin(), names.end(), light);
    if (found == names.end()) {
        return std::nullopt;
    }
    // The texel by the engine's coordinates.
    const double uStart = Dot(DVector(s.Base), DVector(s.UAxis)) + l.PanX - l.UScale * 0.5;
    const double vStart = Dot(DVector(s.Base), DVector(s.VAxis)) + l.PanY - l.VScale * 0.5;
    const int i = static_cast<int>(std::floor((Dot(DVector(p), DVector(s.UAxis)) - uStart) / l.UScale));
    const int j = static_cast<int>(std::floor((Dot(DVector(p), DVector(s.VAxis)) - vStart) / l.VScale));
    EXPECT_TRUE(i >= 0 && i < l.Width && j >= 0 && j < l.Height) << "no texel of this lightmap is near the point";
    const int aw = LightmapAtlasWidth(l.Width);
    const long long bit = static_cast<long long>(found - names.begin()) * aw * l.Height + j * aw + i;
    return (level.Model.ShadowBits[l.ShadowOffset + static_cast<int>(bit / 8)] >> (bit % 8)) & 1;
}

TEST(Lightmaps, GridSpacingFollowsShadowDetailAndSizeLimits) {
    Surface s;
    s.Base = {100, 0, 0};
    s.UAxis = {1, 0, 0};
    s.VAxis = {0, 1, 0};
    const std::pair<uint32_t, int> sizes[] = {
        {0, 8}, {PF_HighShadowDetail, 16}, {PF_LowShadowDetail, 4}, {PF_HighShadowDetail | PF_LowShadowDetail, 2}};
    for (const auto& [flags, size] : sizes) {
        s.Flags = flags;
        const LightmapRecord l = LayoutLightmap(s, {{100, 0, 0}, {356, 0, 0}, {356, 256, 0}, {100, 256, 0}});
        // Texel centres reach an eighth of a unit past the points, measured from the base point.
        EXPECT_EQ(std::tuple(l.Width, l.Height, l.PanX), std::tuple(size, size, -0.125f)) << flags;
        EXPECT_FLOAT_EQ(l.UScale, 256.25f / (size - 1)) << flags;
    }
    // A point-thin strip still gets two texels a side; a long one doubles its spacing until it
    // fits (10000 / 32 is 313 texels, / 64 is 157).
    s.Flags = 0;
    const LightmapRecord l = LayoutLightmap(s, {{100, 0, 0}, {10100, 0, 0}, {10100, 0.1, 0}});
    EXPECT_EQ(std::pair(l.Width, l.Height), std::pair(157, 2));
    EXPECT_EQ(std::pair(LightmapAtlasWidth(8), LightmapAtlasWidth(9)), std::pair(8, 16));
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
        polygon.push_back(DVector(s.Base) + e1 * (300 * std::cos(k * 2 * M_PI / 5)) +
                          e2 * (180 * std::sin(k * 2 * M_PI / 5)));
    }
    const LightmapRecord l = LayoutLightmap(s, polygon);
    const TexelMapper mapper(s, l);
    ASSERT_TRUE(mapper.Valid());
    const std::vector<DVector> engine = EngineTexelPositions(s, l);
    double worst = 0;
    for (int j = 0; j < l.Height; ++j) {
        for (int i = 0; i < l.Width; ++i) {
            worst = std::max(worst, Length(mapper.Position(i, j) - engine[static_cast<size_t>(j * l.Width + i)]));
        }
    }
    EXPECT_LT(worst, 0.01);
    s.VAxis = s.UAxis * 2.0f; // parallel axes place nothing
    EXPECT_FALSE(TexelMapper(s, l).Valid());
}

// A room whose floor's texture origin lies `lift` off its plane, as editors leave them.
std::string RoomWithFloorOrigin(const std::string& name, const Vector& min, const Vector& max, float lift) {
    std::string room = "Begin Actor Class=Brush Name=" + name + "\n     CsgOper=CSG_Subtract\n";
    for (const test::Polygon& face : test::BoxFaces(min, max)) {
        std::string text = test::PolygonText(face);
        if (face[0].Z == min.Z && face[1].Z == min.Z && face[2].Z == min.Z) {
            const size_t at = text.find("Origin");
            text.replace(at, text.find('\n', at) - at, "Origin   0,0," + FormatFloat(min.Z + lift));
        }
        room += text;
    }
    return room + "End Actor\n";
}

TEST(Lighting, ShadowsOfPillarsSheetsAndKerbs) {
    // Rooms far enough apart that no light reaches into the next.
    const test::Polygon twoSided = {{2256, 64, 0}, {2256, 448, 0}, {2256, 448, 192}, {2256, 64, 192}}; // faces +X
    const test::Polygon oneSided = {{3256, 64, 0}, {3256, 448, 0}, {3256, 448, 192}, {3256, 64, 192}};
    const test::Polygon banner = {{4002, 64, 0}, {4002, 64, 192}, {4002, 448, 192}, {4002, 448, 0}}; // faces -X
    std::vector<std::string> actors = {
        BoxBrush("Room", "CSG_Subtract", {0, 0, 0}, {1024, 512, 256}),
        BoxBrush("Pillar", "CSG_Add", {448, 192, 0}, {576, 320, 256}),
        BoxBrush("Closet", "CSG_Subtract", {0, 700, 0}, {256, 900, 128}),
        ActorText("Light", "Lamp", {128, 256, 128}),
        ActorText("Light", "Faint", {980, 400, 128}, {"LightRadius=0"}),
        ActorText("Light", "Hidden", {128, 800, 64}, {"LightRadius=255"}),
        ActorText("Light", "Dark", {700, 100, 100}, {"LightBrightness=0"}),
        BoxBrush("Sheets", "CSG_Subtract", {2000, 0, 0}, {2512, 512, 256}),
        test::BrushText("TwoSided", "CSG_Add", {twoSided}, {"PolyFlags=264"}, "Orvane.Glass.Sheet"),
        ActorText("Light", "Front2", {2384, 256, 96}),
        ActorText("Light", "Back2", {2128, 256, 96}),
        BoxBrush("Sheet", "CSG_Subtract", {3000, 0, 0}, {3512, 512, 256}),
        test::BrushText("OneSided", "CSG_Add", {oneSided}, {"PolyFlags=8"}, "Orvane.Glass.Sheet"),
        ActorText("Light", "Front1", {3384, 256, 96}),
        ActorText("Light", "Back1", {3128, 256, 96}),
        ActorText("Light", "Grazing", {3255.5f, 480, 96}, {"LightRadius=2"}),
        ActorText("Light", "Behind", {3254, 32, 96}, {"LightRadius=1"}),
        BoxBrush("Hall", "CSG_Subtract", {4000, 0, 0}, {4512, 512, 256}),
        test::BrushText("Banner", "CSG_Add", {banner}, {"PolyFlags=264"}, "Orvane.Cloth.Banner"),
        ActorText("Light", "Lamp4", {4128, 256, 96}),
    };
    // Kerbs in rooms whose floors have their texture origins on, above and below the plane.
    const float lifts[] = {0, 40, -40};
    for (int k = 0; k < 3; ++k) {
        const float y = 2000.0f + 1000.0f * k;
        actors.push_back(RoomWithFloorOrigin("Kerbed" + std::to_string(k), {0, y, 0}, {1024, y + 512, 256}, lifts[k]));
        actors.push_back(BoxBrush("Kerb" + std::to_string(k), "CSG_Add", {400, y, 0}, {432, y + 512, 24}));
        actors.push_back(ActorText("Light", "Low" + std::to_string(k), {128, y + 256, 40}));
    }
    const CompiledLevel level = test::Compile(test::MapText(actors));
    test::ExpectSoundLevel(level, 1000);
    EXPECT_EQ(level.Lights.size(), 13u); // the dark one is no light
    const DVector up{0, 0, 1}, east{1, 0, 0}, west{-1, 0, 0};
    EXPECT_EQ(Lit(level, "Lamp", up, {256, 256, 0}), true);
    EXPECT_EQ(Lit(level, "Lamp", up, {900, 40, 0}), true);   // past the pillar's side
    EXPECT_EQ(Lit(level, "Lamp", up, {900, 256, 0}), false); // behind the pillar
    EXPECT_EQ(Lit(level, "Lamp", up, {620, 256, 0}), false);
    // Texels along the wall foot sit an eighth of a unit inside the wall; their rays start from
    // the floor's edge instead, so the foot of a lit wall is not dark.
    for (float y = 0; y <= 512; y += 16) {
        EXPECT_EQ(Lit(level, "Lamp", up, {0, y, 0}), true) << "y " << y;
    }
    // Too faint to reach any surface; walled off in another room.
    for (const LightmapRecord& l : level.Model.Lightmaps) {
        for (const std::string& name : ListedLights(level.Model, l)) {
            EXPECT_NE(name, "Faint");
        }
    }
    EXPECT_EQ(Lit(level, "Hidden", up, {300, 300, 0}), std::nullopt);
    EXPECT_EQ(Lit(level, "Hidden", up, {128, 800, 0}), true);
    const Surface& closetFloor = SurfaceAt(level, up, {128, 800, 0});
    EXPECT_EQ(ListedLights(level.Model, level.Model.Lightmaps[closetFloor.LightmapIndex]),
              std::vector<std::string>{"Hidden"});
    // The pillar's far face sees no light at all, yet has its record: ambient only.
    EXPECT_EQ(level.Model.Lightmaps[SurfaceAt(level, east, {576, 256, 128}).LightmapIndex].FirstLight, -1);
    // Two-sided sheets take light from both sides; one-sided ones from lights up to a unit behind.
    EXPECT_EQ(Lit(level, "Front2", east, {2256, 256, 96}), true);
    EXPECT_EQ(Lit(level, "Back2", east, {2256, 256, 96}), true);
    EXPECT_EQ(Lit(level, "Front1", east, {3256, 256, 96}), true);
    EXPECT_EQ(Lit(level, "Back1", east, {3256, 256, 96}), std::nullopt);
    EXPECT_NE(Lit(level, "Grazing", east, {3256, 440, 96}), std::nullopt); // half a unit behind
    EXPECT_EQ(Lit(level, "Behind", east, {3256, 72, 96}), std::nullopt);   // two units behind
    // A two-sided banner two units off a wall, facing it: its rays leave on the room's side.
    EXPECT_EQ(Lit(level, "Lamp4", west, {4002, 256, 96}), true);
    // A low kerb shades the floor behind it wherever the floor's texture origin lies.
    for (int k = 0; k < 3; ++k) {
        const float y = 2256.0f + 1000.0f * k;
        EXPECT_EQ(Lit(level, "Low" + std::to_string(k), up, {200, y, 0}), true) << lifts[k];
        EXPECT_EQ(Lit(level, "Low" + std::to_string(k), up, {480, y, 0}), false) << lifts[k];
    }
}

TEST(Lighting, RecordsListsAndBitsAreLaidOutForTheEngine) {
    test::LogCapture log;
    const CompiledLevel level = test::Compile(test::MapText({
        BoxBrush("Room", "CSG_Subtract", {0, 0, 0}, {768, 512, 256}, {}, "Orvane.Stone.Wall"),
        BoxBrush("Glow", "CSG_Add", {100, 100, 0}, {160, 160, 60}, {}, "Orvane.Walls.Plain", PF_Unlit),
        BoxBrush("Sky", "CSG_Subtract", {300, 200, 256}, {400, 300, 300}, {}, "Orvane.Walls.Plain", PF_FakeBackdrop),
        BoxBrush("Pillar", "CSG_Add", {500, 200, 0}, {540, 240, 256}),
        BoxBrush("Crate", "CSG_Add", {600, 40, 0}, {700, 140, 100}, {}, "Orvane.Walls.Plain", PF_SpecialLit),
        ActorText("Light", "A", {64, 64, 200}),
        ActorText("Spotlight", "B", {700, 400, 200}, {"Rotation=(Pitch=-16384)"}),
        ActorText("TriggerLight", "C", {380, 256, 100}, {"LightRadius=6", "LightEffect=LE_FireWaver"}),
        ActorText("Light", "Buried", {-500, 0, 0}),
        ActorText("Counter", "NotALight", {10, 10, 10}),
        ActorText("Light", "S", {720, 200, 150}, {"bSpecialLit=True"}),
    }));
    EXPECT_TRUE(log.Contains("Warning: Light Buried lies in solid space and lights nothing"));
    const LevelModel& model = level.Model;
    int previousEnd = 0, nextLightmap = 0, specialLit = 0;
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
        for (int row = 0; row < lights * l.Height; ++row) {
            for (int i = l.Width; i < aw; ++i) {
                const int bit = row * aw + i;
                EXPECT_EQ((model.ShadowBits[l.ShadowOffset + bit / 8] >> (bit % 8)) & 1, 0);
            }
        }
        // Special-lit lights light special-lit surfaces only, and only they do.
        for (const std::string& name : ListedLights(model, l)) {
            EXPECT_TRUE(name == "A" || name == "B" || name == "C" || name == "S") << name;
            EXPECT_EQ(name == "S", (surface.Flags & PF_SpecialLit) != 0) << name;
            specialLit += name == "S";
        }
    }
    EXPECT_EQ(previousEnd, model.ShadowBits.Num());
    EXPECT_EQ(specialLit, 3); // the crate's top and the two sides facing the light
    // Each light has one actor reference however many lists it is on, with the class as written.
    std::vector<std::string> refs;
    for (const LevelActorRef& ref : model.ActorRefs) {
        refs.push_back(ref.ClassName + " " + ref.Name);
    }
    std::sort(refs.begin(), refs.end());
    EXPECT_EQ(refs, (std::vector<std::string>{"Light A", "Light S", "Spotlight B", "TriggerLight C"}));
    // The engine's loader accepts every record (the program's runs show that the bytes do not
    // depend on the thread count).
    LevelModel loaded;
    LoadLevelModelFromMemory(loaded, "Lit.bsp", WriteLevelModel(model), [](std::string_view) { return nullptr; });
    EXPECT_EQ(loaded.Lightmaps.Num(), model.Lightmaps.Num());
}

TEST(Lighting, ClassDefaultsComeFromTheContentTree) {
    test::TempDir content;
    content.Write("System/Custom/Classes/Lamp.uc",
                  "class Lamp expands Light;\ndefaultproperties\n{\n\tLightRadius=3\n\tbSpecialLit=True\n}\n");
    content.Write("System/Custom/Classes/Glow.uc",
                  "class Glow expands Actor;\ndefaultproperties\n{\n\tLightType=LT_Pulse\n\tLightBrightness=20\n}\n");
    const MapFile map = ParseMap(
        test::MapText({ActorText("Lamp", "Lamp0", {1, 2, 3}), ActorText("Glow", "Worm", {}, {"LightBrightness=300"}),
                       ActorText("Glow", "Off", {}, {"LightType=0"}), ActorText("PathNode", "Node", {})}),
        "Defaults.t3d");
    const ClassDefaults defaults(content.Path().string());
    EXPECT_EQ(defaults.ScriptCount(), 2);
    const std::vector<MapLight> lights = FindLights(map, defaults);
    ASSERT_EQ(lights.size(), 2u);
    // Lamp0: the script's radius over Light's own brightness (built in); Worm: 300 kept in a byte.
    EXPECT_EQ(std::tuple(lights[0].Actor, lights[0].Radius, lights[0].Brightness, lights[0].SpecialLit),
              std::tuple(1, 3, 64, true));
    EXPECT_EQ(lights[0].Location, (DVector{1, 2, 3}));
    EXPECT_EQ(std::tuple(lights[1].Actor, lights[1].Brightness), std::tuple(2, 44));
    // Without the tree the custom classes are unknown: Lamp is no light, Glow no class at all.
    EXPECT_TRUE(FindLights(map, ClassDefaults("")).empty());
}

} // namespace
} // namespace orv
