// The lighting build on small lit rooms: where texels lie (checked against the engine's own
// texel mapping written out independently here), which lights reach which texels past pillars,
// sheets, kerbs and walls, and the layout of records, lists and bits that the engine reads.
#include "Lightmaps.h"
#include "MapText.h"

#include "content/LevelModel.h"
#include "core/Text.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <optional>

namespace orv {
namespace {

using namespace test;

// The engine's texel mapping, as its lightmap code computes it: texture-space coordinates
// s = (p.U - uStart) / UScale, t = (p.V - vStart) / VScale with uStart = base.U + PanX - UScale / 2
// (the same for V); texel (i, j) covers [i, i + 1) x [j, j + 1), and its world point is the one on
// base + a U + b V whose (s, t) is (i + 0.5, j + 0.5).
struct EngineTexels {
    EngineTexels(const Surface& s, const LightmapRecord& l)
        : base(s.Base), u(s.UAxis), v(s.VAxis), uStart(Dot(base, u) + l.PanX - l.UScale * 0.5),
          vStart(Dot(base, v) + l.PanY - l.VScale * 0.5), l(l) {}
    std::pair<double, double> St(const DVector& p) const {
        return {(Dot(p, u) - uStart) / l.UScale, (Dot(p, v) - vStart) / l.VScale};
    }
    DVector Position(int i, int j) const {
        // (s, t) = (s0, t0) + a (s1 - s0, t1 - t0) + b (s2 - s0, t2 - t0); world = base + a U + b V.
        const auto [s0, t0] = St(base);
        const auto [s1, t1] = St(base + u);
        const auto [s2, t2] = St(base + v);
        const double det = (s1 - s0) * (t2 - t0) - (s2 - s0) * (t1 - t0), s = i + 0.5, t = j + 0.5;
        return base + u * (((s - s0) * (t2 - t0) - (s2 - s0) * (t - t0)) / det) +
               v * (((s1 - s0) * (t - t0) - (s - s0) * (t1 - t0)) / det);
    }
    DVector base, u, v;
    double uStart, vStart;
    const LightmapRecord& l;
};

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
    const auto [st, tt] = EngineTexels(s, l).St(DVector(p));
    const int i = static_cast<int>(std::floor(st)), j = static_cast<int>(std::floor(tt));
    EXPECT_TRUE(i >= 0 && i < l.Width && j >= 0 && j < l.Height) << "no texel of this lightmap is near the point";
    const int aw = LightmapAtlasWidth(l.Width);
    const long long bit = static_cast<long long>(found - names.begin()) * aw * l.Height + j * aw + i;
    return (level.Model.ShadowBits[l.ShadowOffset + static_cast<int>(bit / 8)] >> (bit % 8)) & 1;
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
    const EngineTexels engine(s, l);
    double worst = 0;
    for (int j = 0; j < l.Height; ++j) {
        for (int i = 0; i < l.Width; ++i) {
            worst = std::max(worst, Length(mapper.Position(i, j) - engine.Position(i, j)));
        }
    }
    EXPECT_LT(worst, 0.01);
    s.VAxis = s.UAxis * 2.0f; // parallel axes place nothing
    EXPECT_FALSE(TexelMapper(s, l).Valid());
}

TEST(Lighting, ShadowsListsAndBitsOfLitRooms) {
    // Rooms far enough apart that no light reaches into the next. Sheets are the +X (0) or -X (1)
    // faces of flat boxes.
    const auto sheet = [](float x, int face) { return BoxFaces({x, 64, 0}, {x, 448, 192})[face]; };
    std::vector<std::string> actors = {
        BoxBrush("Room", "CSG_Subtract", {0, 0, 0}, {1024, 512, 256}),
        BoxBrush("Pillar", "CSG_Add", {448, 192, 0}, {576, 320, 256}),
        BoxBrush("Closet", "CSG_Subtract", {0, 700, 0}, {256, 900, 128}),
        ActorText("Light", "Lamp", {128, 256, 128}),
        ActorText("Light", "Faint", {980, 400, 128}, {"LightRadius=0"}),
        ActorText("Light", "Hidden", {128, 800, 64}, {"LightRadius=255"}),
        ActorText("Light", "Dark", {700, 100, 100}, {"LightBrightness=0"}),
        BoxBrush("Sheets", "CSG_Subtract", {2000, 0, 0}, {2512, 512, 256}),
        BrushText("TwoSided", "CSG_Add", {sheet(2256, 0)}, {"PolyFlags=264"}, "Orvane.Glass.Sheet"),
        ActorText("Light", "Front2", {2384, 256, 96}),
        ActorText("Light", "Back2", {2128, 256, 96}),
        BoxBrush("Sheet", "CSG_Subtract", {3000, 0, 0}, {3512, 512, 256}),
        BrushText("OneSided", "CSG_Add", {sheet(3256, 0)}, {"PolyFlags=8"}, "Orvane.Glass.Sheet"),
        ActorText("Light", "Front1", {3384, 256, 96}),
        ActorText("Light", "Back1", {3128, 256, 96}),
        ActorText("Light", "Grazing", {3255.5f, 480, 96}, {"LightRadius=2"}),
        ActorText("Light", "Behind", {3254, 32, 96}, {"LightRadius=1"}),
        // A hall with a banner, unlit, sky and special-lit surfaces and lights of other classes.
        BoxBrush("Hall", "CSG_Subtract", {4000, 0, 0}, {4512, 512, 256}),
        BrushText("Banner", "CSG_Add", {sheet(4002, 1)}, {"PolyFlags=264"}, "Orvane.Cloth.Banner"),
        ActorText("Light", "Lamp4", {4128, 256, 96}),
        BoxBrush("Glow", "CSG_Add", {4200, 360, 0}, {4260, 420, 60}, {}, "Orvane.Walls.Plain", PF_Unlit),
        BoxBrush("Sky", "CSG_Subtract", {4300, 200, 256}, {4400, 300, 300}, {}, "Orvane.Walls.Plain", PF_FakeBackdrop),
        BoxBrush("Crate", "CSG_Add", {4300, 40, 0}, {4400, 140, 100}, {}, "Orvane.Walls.Plain", PF_SpecialLit),
        ActorText("Spotlight", "B", {4400, 400, 200}, {"Rotation=(Pitch=-16384)"}),
        ActorText("TriggerLight", "C", {4380, 256, 100}, {"LightRadius=6", "LightEffect=LE_FireWaver"}),
        ActorText("Light", "S", {4420, 200, 150}, {"bSpecialLit=True"}),
        ActorText("Light", "Buried", {-500, 0, 0}),
        ActorText("Counter", "NotALight", {10, 10, 10}),
    };
    // Kerbs in rooms whose floors (the boxes' last faces) have their texture origins on, above and
    // below the plane, as editors leave them.
    const float lifts[] = {0, 40, -40};
    for (int k = 0; k < 3; ++k) {
        const float y = 2000.0f + 1000.0f * k;
        std::string room = BoxBrush("Kerbed" + std::to_string(k), "CSG_Subtract", {0, y, 0}, {1024, y + 512, 256});
        const size_t at = room.rfind("Origin");
        actors.push_back(room.replace(at, room.find('\n', at) - at, "Origin   0,0," + FormatFloat(lifts[k])));
        actors.push_back(BoxBrush("Kerb" + std::to_string(k), "CSG_Add", {400, y, 0}, {432, y + 512, 24}));
        actors.push_back(ActorText("Light", "Low" + std::to_string(k), {128, y + 256, 40}));
    }
    LogCapture log;
    const CompiledLevel level = Compile(MapText(actors), 1000);
    const LevelModel& model = level.Model;
    EXPECT_TRUE(log.Contains("Warning: Light Buried lies in solid space and lights nothing"));
    EXPECT_EQ(level.Lights.size(), 17u); // the dark one is no light
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
    // Walled off in another room (Faint, too faint to reach any surface, is on no list: see the
    // actor references below).
    EXPECT_EQ(Lit(level, "Hidden", up, {300, 300, 0}), std::nullopt);
    EXPECT_EQ(Lit(level, "Hidden", up, {128, 800, 0}), true);
    EXPECT_EQ(ListedLights(model, model.Lightmaps[SurfaceAt(level, up, {128, 800, 0}).LightmapIndex]),
              std::vector<std::string>{"Hidden"});
    // The pillar's far face sees no light at all, yet has its record: ambient only.
    EXPECT_EQ(model.Lightmaps[SurfaceAt(level, east, {576, 256, 128}).LightmapIndex].FirstLight, -1);
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

    // Records, lists and bits as the engine reads them.
    int previousEnd = 0, nextLightmap = 0, specialLit = 0;
    for (int s = 0; s < model.Surfaces.Num(); ++s) {
        const Surface& surface = model.Surfaces[s];
        if (surface.Flags & (PF_Unlit | PF_FakeBackdrop)) {
            EXPECT_EQ(surface.LightmapIndex, -1) << s;
            continue;
        }
        ASSERT_EQ(surface.LightmapIndex, nextLightmap++) << "lightmaps follow the surfaces' order";
        const LightmapRecord& l = model.Lightmaps[surface.LightmapIndex];
        const int lights = model.LightCount(l), aw = LightmapAtlasWidth(l.Width);
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
            EXPECT_EQ(name == "S", (surface.Flags & PF_SpecialLit) != 0) << name;
            specialLit += name == "S";
        }
    }
    EXPECT_EQ(previousEnd, model.ShadowBits.Num());
    EXPECT_EQ(specialLit, 3); // the crate's top and the two sides facing the light
    // Each light on a list has one actor reference however many lists it is on, with the class as
    // written; the faint, buried and dark ones and the counter have none.
    std::vector<std::string> refs;
    for (const LevelActorRef& ref : model.ActorRefs) {
        refs.push_back(ref.ClassName + " " + ref.Name);
    }
    std::sort(refs.begin(), refs.end());
    EXPECT_EQ(refs,
              (std::vector<std::string>{"Light Back1", "Light Back2", "Light Behind", "Light Front1", "Light Front2",
                                        "Light Grazing", "Light Hidden", "Light Lamp", "Light Lamp4", "Light Low0",
                                        "Light Low1", "Light Low2", "Light S", "Spotlight B", "TriggerLight C"}));
}

} // namespace
} // namespace orv
