// Building test levels: a small BSP compiler for convex polygons and the demo scenes.
#include "TestLevels.h"

#include "render/Lightmaps.h"
#include "render/WorldWalk.h"
#include "world/LevelLoader.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace orv::test {

namespace {

constexpr float kOnPlane = 0.05f;

Plane PlaneOf(const std::vector<Vector>& points) {
    Vector n;
    for (size_t i = 0; i < points.size(); ++i) {
        n += Cross(points[i], points[(i + 1) % points.size()]);
    }
    // Newell's sum is (v1 - v0) x (v2 - v0) summed over the fan: the front for clockwise-seen-
    // from-the-front windings in these axes.
    n = Normal(n);
    return {n, Dot(n, points[0])};
}

// A convex quad with its corners ordered so that its front faces along normal.
std::vector<Vector> Quad(const Vector& a, const Vector& b, const Vector& c, const Vector& d, const Vector& normal) {
    std::vector<Vector> points{a, b, c, d};
    if (Dot(PlaneOf(points).Normal, normal) < 0.0f) {
        std::reverse(points.begin(), points.end());
    }
    return points;
}

// An axis-aligned rectangle from lo to hi, flat along one axis, facing along normal; its corners
// go along the first free axis, then the second (X before Y before Z).
std::vector<Vector> Rect(const Vector& lo, const Vector& hi, const Vector& normal) {
    auto corner = [&](bool first, bool second) {
        if (lo.X == hi.X) {
            return Vector{lo.X, first ? hi.Y : lo.Y, second ? hi.Z : lo.Z};
        }
        return lo.Y == hi.Y ? Vector{first ? hi.X : lo.X, lo.Y, second ? hi.Z : lo.Z}
                            : Vector{first ? hi.X : lo.X, second ? hi.Y : lo.Y, lo.Z};
    };
    return Quad(corner(false, false), corner(true, false), corner(true, true), corner(false, true), normal);
}

void Split(const std::vector<Vector>& points, const Plane& plane, std::vector<Vector>& front,
           std::vector<Vector>& back) {
    const size_t n = points.size();
    for (size_t i = 0; i < n; ++i) {
        const Vector &a = points[i], &b = points[(i + 1) % n];
        const float da = plane.Distance(a), db = plane.Distance(b);
        if (da >= -kOnPlane) {
            front.push_back(a);
        }
        if (da <= kOnPlane) {
            back.push_back(a);
        }
        if ((da > kOnPlane && db < -kOnPlane) || (da < -kOnPlane && db > kOnPlane)) {
            const Vector m = a + (b - a) * (da / (da - db));
            front.push_back(m);
            back.push_back(m);
        }
    }
}

// Floors and ceilings map X and Y; walls map across and down.
void TextureAxes(const Vector& n, Vector& u, Vector& v) {
    const float ax = std::fabs(n.X), ay = std::fabs(n.Y), az = std::fabs(n.Z);
    const bool flat = az >= ax && az >= ay;
    u = !flat && ax >= ay ? Vector{0, 1, 0} : Vector{1, 0, 0};
    v = flat ? Vector{0, 1, 0} : Vector{0, 0, -1};
}

struct BspPolygon {
    std::vector<Vector> Points;
    int Surface;
    uint8_t Zone;
};

int32_t AddNode(LevelModel& m, const BspPolygon& p) {
    BspNode node;
    node.NodePlane = PlaneOf(p.Points);
    node.Surface = p.Surface;
    node.FirstVertex = m.VertexPool.Num();
    node.NumVertices = static_cast<uint8_t>(p.Points.size());
    node.FirstZone = node.SecondZone = p.Zone;
    for (const Vector& point : p.Points) {
        m.VertexPool.Add(m.Points.Add(point));
    }
    return m.Nodes.Add(node);
}

enum class Side { Front, Back, On, Split };

Side Classify(const BspPolygon& p, const Plane& plane) {
    float lo = 0.0f, hi = 0.0f;
    for (const Vector& point : p.Points) {
        lo = std::min(lo, plane.Distance(point));
        hi = std::max(hi, plane.Distance(point));
    }
    if (lo > -kOnPlane) {
        return hi < kOnPlane ? Side::On : Side::Front;
    }
    return hi < kOnPlane ? Side::Back : Side::Split;
}

// Like a level compiler: among a few candidates, the splitter that cuts least and balances best.
size_t ChooseSplitter(const std::vector<BspPolygon>& polygons) {
    const size_t step = std::max<size_t>(1, polygons.size() / 12);
    size_t best = 0;
    long bestScore = std::numeric_limits<long>::max();
    for (size_t c = 0; c < polygons.size(); c += step) {
        const Plane plane = PlaneOf(polygons[c].Points);
        long front = 0, back = 0, splits = 0;
        for (const BspPolygon& p : polygons) {
            const Side side = Classify(p, plane);
            front += side == Side::Front;
            back += side == Side::Back;
            splits += side == Side::Split;
        }
        const long score = splits * 8 + std::labs(front - back);
        if (score < bestScore) {
            bestScore = score;
            best = c;
        }
    }
    return best;
}

int32_t BuildNode(LevelModel& m, std::vector<BspPolygon> polygons) {
    if (polygons.empty()) {
        return -1;
    }
    std::swap(polygons[0], polygons[ChooseSplitter(polygons)]);
    const BspPolygon& splitter = polygons[0];
    const Plane plane = PlaneOf(splitter.Points);
    std::vector<BspPolygon> front, back, coplanar;
    for (size_t i = 1; i < polygons.size(); ++i) {
        const BspPolygon& p = polygons[i];
        const Side side = Classify(p, plane);
        if (side != Side::Split) {
            (side == Side::On ? coplanar : side == Side::Front ? front : back).push_back(p);
            continue;
        }
        BspPolygon f{{}, p.Surface, p.Zone}, b = f;
        Split(p.Points, plane, f.Points, b.Points);
        front.push_back(f);
        back.push_back(b);
    }
    const int32_t index = AddNode(m, splitter);
    int32_t chain = index;
    for (const BspPolygon& c : coplanar) {
        chain = m.Nodes[chain].Coplanar = AddNode(m, c);
    }
    m.Nodes[index].Front = BuildNode(m, std::move(front)); // the front subtree's nodes come first
    m.Nodes[index].Back = BuildNode(m, std::move(back));
    return index;
}

float DistanceToBox(const Vector& p, const Vector& lo, const Vector& hi) {
    return Length(Vector{std::max({lo.X - p.X, 0.0f, p.X - hi.X}), std::max({lo.Y - p.Y, 0.0f, p.Y - hi.Y}),
                         std::max({lo.Z - p.Z, 0.0f, p.Z - hi.Z})});
}

} // namespace

int TestScene::AddPolygon(std::vector<Vector> points, const SurfaceSpec& spec, uint8_t zone) {
    polygons_.push_back({std::move(points), spec, zone});
    return static_cast<int>(polygons_.size()) - 1;
}

void TestScene::Build(LevelModel& m) const {
    const std::vector<Actor*>& lights = Lights;
    for (const Actor* light : lights) {
        m.ActorRefs.Add({light->Class, light->Name});
    }
    m.ZoneIndices.Add(0);
    for (const ZoneInfo* zone : Zones) {
        m.ZoneIndices.Add(m.ActorRefs.Add({zone->Class, zone->Name}) + 1);
    }
    std::vector<BspPolygon> polygons;
    for (const Polygon& entry : polygons_) {
        polygons.push_back({entry.Points, static_cast<int>(polygons.size()), entry.Zone});
        const Vector normal = PlaneOf(entry.Points).Normal;
        Surface s;
        s.Tex = entry.Spec.Tex;
        s.TextureName = s.Tex ? s.Tex->Name : "";
        s.Flags = entry.Spec.Flags;
        s.Base = entry.Points[0];
        s.Normal = -normal;
        TextureAxes(normal, s.UAxis, s.VAxis);
        if (entry.Spec.Lit && !(s.Flags & (PF_Unlit | PF_FakeBackdrop))) {
            float u0 = 1e30f, u1 = -1e30f, v0 = 1e30f, v1 = -1e30f;
            Vector lo = entry.Points[0], hi = entry.Points[0];
            for (const Vector& p : entry.Points) {
                u0 = std::min(u0, Dot(p, s.UAxis));
                u1 = std::max(u1, Dot(p, s.UAxis));
                v0 = std::min(v0, Dot(p, s.VAxis));
                v1 = std::max(v1, Dot(p, s.VAxis));
                lo = {std::min(lo.X, p.X), std::min(lo.Y, p.Y), std::min(lo.Z, p.Z)};
                hi = {std::max(hi.X, p.X), std::max(hi.Y, p.Y), std::max(hi.Z, p.Z)};
            }
            LightmapRecord l;
            const float scale = entry.Spec.LightmapScale;
            l.UScale = l.VScale = scale;
            l.PanX = u0 - Dot(s.Base, s.UAxis);
            l.PanY = v0 - Dot(s.Base, s.VAxis);
            l.Width = static_cast<int32_t>(std::ceil((u1 - u0) / scale)) + 1;
            l.Height = static_cast<int32_t>(std::ceil((v1 - v0) / scale)) + 1;
            l.ShadowOffset = m.ShadowBits.Num();
            int reaching = 0;
            for (size_t k = 0; k < lights.size(); ++k) {
                if (DistanceToBox(lights[k]->Location, lo, hi) < lights[k]->LightRadius * 25.0f) {
                    l.FirstLight = reaching++ == 0 ? m.LightIndices.Num() : l.FirstLight;
                    m.LightIndices.Add(static_cast<int32_t>(k) + 1);
                }
            }
            if (reaching > 0) {
                m.LightIndices.Add(0);
            }
            const int64_t bits = int64_t(reaching) * LightmapColumns(l.Width) * l.Height;
            m.ShadowBits.Std().insert(m.ShadowBits.Std().end(), static_cast<size_t>((bits + 7) / 8), 0xFF);
            s.LightmapIndex = m.Lightmaps.Add(l);
        }
        m.Surfaces.Add(s);
    }
    BuildNode(m, polygons);
}

TestScene::TestScene() : Scene(Res, Config) {
    auto missing = std::make_unique<Texture>();
    missing->Name = "Zelkor.Missing";
    Res.Textures.Add(std::move(missing));
    Player = CreatePlayerPawn(Scene);
    Info = Scene.CurrentLevel.Info = AddActor<LevelInfo>("LevelInfo", "LevelInfo0");
}

Texture* TestScene::AddTexture(const std::string& name, Image image, uint32_t flags) {
    Texture& texture = *Res.Textures[Res.Textures.Add(std::make_unique<Texture>())];
    texture.Name = name;
    texture.Pixels = std::move(image);
    texture.Flags = flags;
    return &texture;
}

ZoneInfo* TestScene::AddZone(uint32_t ambient, const std::string& className) {
    ZoneInfo* zone = Zones.emplace_back(AddActor<ZoneInfo>(className, "Zone" + std::to_string(Zones.size() + 1)));
    zone->AmbientColor = ambient;
    return zone;
}

Actor* TestScene::AddLight(const Vector& location, uint8_t brightness, uint8_t radius, uint8_t hue,
                           uint8_t saturation) {
    Actor* light = Lights.emplace_back(AddActor<Actor>("Light", "Light" + std::to_string(Lights.size())));
    light->Location = location;
    light->LightBrightness = brightness;
    light->LightRadius = radius;
    light->LightHue = hue;
    light->LightSaturation = saturation;
    light->LightType = lt_steady;
    light->bStatic = 1;
    return light;
}

void TestScene::Finish(TextureUploader& uploader, int atlasSize) {
    Level& level = Scene.CurrentLevel;
    Build(level.Model);
    ResolveModelActors(Scene);
    PrepareRenderBounds(Render->LevelState, level.Model);
    BuildWorldTriangles(level.Model, level.Triangles);
    for (const auto& actor : Scene.Actors) {
        RegisterActor(*actor);
    }
    for (const auto& texture : Res.Textures) {
        if (!texture->Pixels.IsEmpty()) {
            const bool alpha = texture->Flags & (kTextureMasked | kTextureAlphaBlend);
            texture->GLTexture = uploader.UploadTexture(texture->Pixels, alpha ? kUploadKeepAlpha : 0);
        }
    }
    PrepareLightmaps(Render->LevelState, level, WorldLighting(Scene, nullptr), uploader, atlasSize);
    SortWorldTriangles(level.Triangles);
    BuildSkyBox(Scene);
}

std::vector<int> QueuedSurfaces(const RenderView& view, bool seeThroughOnly) {
    std::vector<int32_t> nodes;
    for (int b = 0; b < view.BucketCount && !seeThroughOnly; ++b) {
        nodes.insert(nodes.end(), view.Buckets[b].Nodes.begin(), view.Buckets[b].Nodes.end());
    }
    nodes.insert(nodes.end(), view.Transparent, view.Transparent + view.TransparentCount);
    std::vector<int> surfaces;
    for (int32_t node : nodes) {
        surfaces.push_back(view.Model->Nodes[node].Surface);
    }
    return surfaces;
}

Image CheckerImage(int size, uint32_t a, uint32_t b) {
    Image image(size, size);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            image.At(x, y) = ((x / 8 + y / 8) & 1) ? a : b;
        }
    }
    return image;
}

DemoRoom::DemoRoom(TextureUploader& uploader, int atlasSize) {
    TestScene& s = Scene;
    Texture* wall = s.AddTexture("Test.Wall", CheckerImage(64, 0xFFC0C0C0u, 0xFFA0A0A0u));
    Texture* poster = s.AddTexture("Test.Poster", Image(16, 16, 0xFFFFFF00u));
    Texture* sky = s.AddTexture("Test.Sky", Image(16, 16, kSkyColour));
    Texture* glass = s.AddTexture("Test.Glass", Image(16, 16, 0xFF406040u));
    Texture* grate = s.AddTexture("Test.Grate", CheckerImage(32, 0xFF806040u, 0x00000000u), kTextureMasked);
    Texture* green = s.AddTexture("Test.Green", Image(16, 16, 0xC000FF00u), kTextureAlphaBlend);
    Texture* red = s.AddTexture("Test.Red", Image(16, 16, 0xC0FF0000u), kTextureAlphaBlend);
    s.AddZone(0xFF202020u);
    ZoneInfo* skyZone = s.AddZone(0xFF000000u, "SkyZoneInfo");
    skyZone->Location = {8000, 0, 128};
    s.AddLight({0, 440, 128}, 200, 24);

    const SurfaceSpec plain{wall};
    const float x0 = -512, x1 = 512, y0 = -512, y1 = 512, top = 256;
    s.AddPolygon(Rect({x0, y0, 0}, {x1, y1, 0}, {0, 0, 1}), plain, 1);
    s.AddPolygon(Rect({x0, y0, top}, {0, y1, top}, {0, 0, -1}), plain, 1);
    PortalSurface = s.AddPolygon(Rect({0, y0, top}, {x1, y1, top}, {0, 0, -1}), {nullptr, PF_FakeBackdrop, false}, 1);
    s.AddPolygon(Rect({x0, y0, 0}, {x0, y1, top}, {1, 0, 0}), plain, 1);
    s.AddPolygon(Rect({x1, y0, 0}, {x1, y1, top}, {-1, 0, 0}), plain, 1);
    SouthWall = s.AddPolygon(Rect({x0, y0, 0}, {x1, y0, top}, {0, 1, 0}), plain, 1);
    NorthWall = s.AddPolygon(Rect({x0, y1, 0}, {x1, y1, top}, {0, -1, 0}), plain, 1);
    // The pillar's sides (top and bottom would lie on the floor and ceiling).
    const Vector p0{200, -32, 0}, p1{264, 32, top};
    s.AddPolygon(Rect(p0, {p0.X, p1.Y, top}, {-1, 0, 0}), plain, 1);
    s.AddPolygon(Rect({p1.X, p0.Y, 0}, p1, {1, 0, 0}), plain, 1);
    s.AddPolygon(Rect(p0, {p1.X, p0.Y, top}, {0, -1, 0}), plain, 1);
    s.AddPolygon(Rect({p0.X, p1.Y, 0}, p1, {0, 1, 0}), plain, 1);
    PosterSurface = s.AddPolygon(Rect({508, -20, 100}, {508, 20, 160}, {-1, 0, 0}), {poster, PF_Unlit, false}, 1);
    PaneSurface = s.AddPolygon(Rect({-100, -300, 32}, {-100, -100, 200}, {-1, 0, 0}),
                               {glass, PF_Translucent | PF_TwoSided, false}, 1);
    GrateSurface = s.AddPolygon(Rect({0, -450, 0}, {0, -330, 180}, {-1, 0, 0}), {grate, PF_TwoSided, true}, 1);
    s.AddPolygon(Rect({-150, 100, 40}, {-150, 300, 200}, {-1, 0, 0}), {green, PF_Unlit, false}, 1);
    s.AddPolygon(Rect({-50, 100, 40}, {-50, 300, 200}, {-1, 0, 0}), {red, PF_Unlit, false}, 1);
    // The sky zone's room, facing inward.
    const SurfaceSpec skySpec{sky, PF_Unlit, false};
    const Vector s0{8000 - 256, -256, 0}, s1{8000 + 256, 256, top};
    s.AddPolygon(Rect(s0, {s0.X, s1.Y, top}, {1, 0, 0}), skySpec, 2);
    s.AddPolygon(Rect({s1.X, s0.Y, 0}, s1, {-1, 0, 0}), skySpec, 2);
    s.AddPolygon(Rect(s0, {s1.X, s0.Y, top}, {0, 1, 0}), skySpec, 2);
    s.AddPolygon(Rect({s0.X, s1.Y, 0}, s1, {0, -1, 0}), skySpec, 2);
    s.AddPolygon(Rect(s0, {s1.X, s1.Y, 0}, {0, 0, 1}), skySpec, 2);
    s.AddPolygon(Rect({s0.X, s0.Y, top}, s1, {0, 0, -1}), skySpec, 2);
    s.Finish(uploader, atlasSize);
}

void BuildRoomGrid(TestScene& scene, int rows, int columns) {
    Texture* wall = scene.AddTexture("Grid.Wall", CheckerImage(64, 0xFFB0B0B0u, 0xFF909090u));
    Texture* floor = scene.AddTexture("Grid.Floor", CheckerImage(64, 0xFF806050u, 0xFF705040u));
    scene.AddZone(0xFF181818u);
    const SurfaceSpec walls{wall, 0, true, 32.0f};
    const SurfaceSpec floors{floor, 0, true, 32.0f};
    constexpr float kCell = 512.0f, kTop = 256.0f, kDoor0 = 192.0f, kDoor1 = 320.0f, kLintel = 160.0f;
    const float w = columns * kCell, h = rows * kCell;
    scene.AddPolygon(Rect({0, 0, 0}, {0, h, kTop}, {1, 0, 0}), walls, 1);
    scene.AddPolygon(Rect({w, 0, 0}, {w, h, kTop}, {-1, 0, 0}), walls, 1);
    scene.AddPolygon(Rect({0, 0, 0}, {w, 0, kTop}, {0, 1, 0}), walls, 1);
    scene.AddPolygon(Rect({0, h, 0}, {w, h, kTop}, {0, -1, 0}), walls, 1);
    // An inner wall along one axis at coordinate c, from a to a + kCell along the other, with a
    // doorway in the middle; both faces.
    auto innerWall = [&](bool alongY, float c, float a) {
        const float pieces[3][4] = {{0, kDoor0, 0, kTop}, {kDoor1, kCell, 0, kTop}, {kDoor0, kDoor1, kLintel, kTop}};
        const Vector n = alongY ? Vector{1, 0, 0} : Vector{0, 1, 0};
        for (const auto& p : pieces) {
            const Vector lo = alongY ? Vector{c, a + p[0], p[2]} : Vector{a + p[0], c, p[2]};
            const Vector hi = alongY ? Vector{c, a + p[1], p[3]} : Vector{a + p[1], c, p[3]};
            scene.AddPolygon(Rect(lo, hi, n), walls, 1);
            scene.AddPolygon(Rect(lo, hi, -n), walls, 1);
        }
    };
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < columns; ++c) {
            const float cx = (c + 0.5f) * kCell, cy = (r + 0.5f) * kCell;
            const Vector lo{c * kCell, r * kCell, 0}, hi{c * kCell + kCell, r * kCell + kCell, kTop};
            scene.AddPolygon(Rect(lo, {hi.X, hi.Y, 0}, {0, 0, 1}), floors, 1);
            scene.AddPolygon(Rect({lo.X, lo.Y, kTop}, hi, {0, 0, -1}), floors, 1);
            if (c + 1 < columns) {
                innerWall(true, (c + 1) * kCell, r * kCell);
            }
            if (r + 1 < rows) {
                innerWall(false, (r + 1) * kCell, c * kCell);
            }
            const float x0 = cx + 96, x1 = cx + 144, y0 = cy + 96, y1 = cy + 144;
            scene.AddPolygon(Rect({x0, y0, 0}, {x0, y1, kTop}, {-1, 0, 0}), walls, 1);
            scene.AddPolygon(Rect({x1, y0, 0}, {x1, y1, kTop}, {1, 0, 0}), walls, 1);
            scene.AddPolygon(Rect({x0, y0, 0}, {x1, y0, kTop}, {0, -1, 0}), walls, 1);
            scene.AddPolygon(Rect({x0, y1, 0}, {x1, y1, kTop}, {0, 1, 0}), walls, 1);
            if ((r + c) % 2 == 0) {
                scene.AddLight({cx - 100, cy - 100, 200}, 160, 16, static_cast<uint8_t>((r * 37 + c * 11) % 256), 128);
            }
        }
    }
}

} // namespace orv::test
