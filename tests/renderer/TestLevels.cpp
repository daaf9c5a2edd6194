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

// Reorders a convex polygon's corners so that its front faces along normal.
std::vector<Vector> Facing(std::vector<Vector> points, const Vector& normal) {
    if (Dot(PlaneOf(points).Normal, normal) < 0.0f) {
        std::reverse(points.begin(), points.end());
    }
    return points;
}

std::vector<Vector> Quad(const Vector& a, const Vector& b, const Vector& c, const Vector& d, const Vector& normal) {
    return Facing({a, b, c, d}, normal);
}

void Split(const std::vector<Vector>& points, const Plane& plane, std::vector<Vector>& front, std::vector<Vector>& back) {
    const size_t n = points.size();
    for (size_t i = 0; i < n; ++i) {
        const Vector& a = points[i];
        const Vector& b = points[(i + 1) % n];
        const float da = plane.Distance(a);
        const float db = plane.Distance(b);
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

void TextureAxes(const Vector& n, Vector& u, Vector& v) {
    const float ax = std::fabs(n.X), ay = std::fabs(n.Y), az = std::fabs(n.Z);
    if (az >= ax && az >= ay) {
        u = {1, 0, 0};
        v = {0, 1, 0};
    } else if (ax >= ay) {
        u = {0, 1, 0};
        v = {0, 0, -1};
    } else {
        u = {1, 0, 0};
        v = {0, 0, -1};
    }
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
    float lo = 0.0f;
    float hi = 0.0f;
    for (const Vector& point : p.Points) {
        lo = std::min(lo, plane.Distance(point));
        hi = std::max(hi, plane.Distance(point));
    }
    if (lo > -kOnPlane && hi < kOnPlane) {
        return Side::On;
    }
    if (lo > -kOnPlane) {
        return Side::Front;
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
            switch (Classify(p, plane)) {
            case Side::Front: ++front; break;
            case Side::Back: ++back; break;
            case Side::Split: ++splits; break;
            case Side::On: break;
            }
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
    std::vector<BspPolygon> front;
    std::vector<BspPolygon> back;
    std::vector<BspPolygon> coplanar;
    for (size_t i = 1; i < polygons.size(); ++i) {
        const BspPolygon& p = polygons[i];
        const Side side = Classify(p, plane);
        if (side == Side::On) {
            coplanar.push_back(p);
        } else if (side == Side::Front) {
            front.push_back(p);
        } else if (side == Side::Back) {
            back.push_back(p);
        } else {
            BspPolygon f{{}, p.Surface, p.Zone};
            BspPolygon b{{}, p.Surface, p.Zone};
            Split(p.Points, plane, f.Points, b.Points);
            front.push_back(f);
            back.push_back(b);
        }
    }
    const int32_t index = AddNode(m, splitter);
    int32_t chain = index;
    for (const BspPolygon& c : coplanar) {
        const int32_t next = AddNode(m, c);
        m.Nodes[chain].Coplanar = next;
        chain = next;
    }
    const int32_t frontChild = BuildNode(m, std::move(front));
    const int32_t backChild = BuildNode(m, std::move(back));
    m.Nodes[index].Front = frontChild;
    m.Nodes[index].Back = backChild;
    return index;
}

float DistanceToBox(const Vector& p, const Vector& lo, const Vector& hi) {
    const Vector d{std::max({lo.X - p.X, 0.0f, p.X - hi.X}), std::max({lo.Y - p.Y, 0.0f, p.Y - hi.Y}),
                   std::max({lo.Z - p.Z, 0.0f, p.Z - hi.Z})};
    return Length(d);
}

} // namespace

int LevelBuilder::AddPolygon(std::vector<Vector> points, const SurfaceSpec& spec, uint8_t zone) {
    const int surface = static_cast<int>(surfaces_.size());
    surfaces_.push_back({spec, points});
    polygons_.push_back({std::move(points), surface, zone});
    return surface;
}

int LevelBuilder::AddBox(const Vector& lo, const Vector& hi, bool inward, const SurfaceSpec& spec, uint8_t zone) {
    const float s = inward ? 1.0f : -1.0f;
    const int first = static_cast<int>(surfaces_.size());
    AddPolygon(Quad({lo.X, lo.Y, lo.Z}, {lo.X, hi.Y, lo.Z}, {lo.X, hi.Y, hi.Z}, {lo.X, lo.Y, hi.Z}, {s, 0, 0}), spec, zone);
    AddPolygon(Quad({hi.X, lo.Y, lo.Z}, {hi.X, hi.Y, lo.Z}, {hi.X, hi.Y, hi.Z}, {hi.X, lo.Y, hi.Z}, {-s, 0, 0}), spec, zone);
    AddPolygon(Quad({lo.X, lo.Y, lo.Z}, {hi.X, lo.Y, lo.Z}, {hi.X, lo.Y, hi.Z}, {lo.X, lo.Y, hi.Z}, {0, s, 0}), spec, zone);
    AddPolygon(Quad({lo.X, hi.Y, lo.Z}, {hi.X, hi.Y, lo.Z}, {hi.X, hi.Y, hi.Z}, {lo.X, hi.Y, hi.Z}, {0, -s, 0}), spec, zone);
    AddPolygon(Quad({lo.X, lo.Y, lo.Z}, {hi.X, lo.Y, lo.Z}, {hi.X, hi.Y, lo.Z}, {lo.X, hi.Y, lo.Z}, {0, 0, s}), spec, zone);
    AddPolygon(Quad({lo.X, lo.Y, hi.Z}, {hi.X, lo.Y, hi.Z}, {hi.X, hi.Y, hi.Z}, {lo.X, hi.Y, hi.Z}, {0, 0, -s}), spec, zone);
    return first;
}

void LevelBuilder::Build(LevelModel& m, const std::vector<Actor*>& lights, const std::vector<ZoneInfo*>& zones) const {
    m = LevelModel();
    for (const Actor* light : lights) {
        m.ActorRefs.Add({light->Class, light->Name});
    }
    m.ZoneIndices.Add(0);
    for (const ZoneInfo* zone : zones) {
        m.ZoneIndices.Add(m.ActorRefs.Add({zone->Class, zone->Name}) + 1);
    }
    for (const SurfaceEntry& entry : surfaces_) {
        const Plane plane = PlaneOf(entry.Points);
        Surface s;
        s.Tex = entry.Spec.Tex;
        s.TextureName = s.Tex ? s.Tex->Name : "";
        s.Flags = entry.Spec.Flags;
        s.Base = entry.Points[0];
        s.Normal = -plane.Normal;
        TextureAxes(plane.Normal, s.UAxis, s.VAxis);
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
                    if (reaching++ == 0) {
                        l.FirstLight = m.LightIndices.Num();
                    }
                    m.LightIndices.Add(static_cast<int32_t>(k) + 1);
                }
            }
            if (reaching > 0) {
                m.LightIndices.Add(0);
            }
            const int64_t bits = int64_t(reaching) * LightmapColumns(l.Width) * l.Height;
            for (int64_t b = 0; b < (bits + 7) / 8; ++b) {
                m.ShadowBits.Add(0xFF);
            }
            s.LightmapIndex = m.Lightmaps.Add(l);
        }
        m.Surfaces.Add(s);
    }
    std::vector<BspPolygon> polygons;
    for (const Polygon& p : polygons_) {
        polygons.push_back({p.Points, p.Surface, p.Zone});
    }
    BuildNode(m, polygons);
}

TestScene::TestScene() : Scene(Res, Config) {
    auto missing = std::make_unique<Texture>();
    missing->Name = "Zelkor.Missing";
    Res.Textures.Add(std::move(missing));
    Player = CreatePlayerPawn(Scene);
    auto info = std::make_unique<LevelInfo>();
    info->XLevel = &Scene;
    info->Class = "LevelInfo";
    info->Name = "LevelInfo0";
    Info = info.get();
    Scene.Actors.Add(std::move(info));
    Scene.CurrentLevel.Info = Info;
}

Texture* TestScene::AddTexture(const std::string& name, Image image, uint32_t flags) {
    auto texture = std::make_unique<Texture>();
    texture->Name = name;
    texture->Pixels = std::move(image);
    texture->Flags = flags;
    Texture* t = texture.get();
    Res.Textures.Add(std::move(texture));
    return t;
}

ZoneInfo* TestScene::AddZone(uint32_t ambient, const std::string& className) {
    auto zone = std::make_unique<ZoneInfo>();
    zone->XLevel = &Scene;
    zone->Class = className;
    zone->Name = "Zone" + std::to_string(Zones.size() + 1);
    zone->AmbientColor = ambient;
    ZoneInfo* z = zone.get();
    Scene.Actors.Add(std::move(zone));
    Zones.push_back(z);
    return z;
}

Actor* TestScene::AddLight(const Vector& location, uint8_t brightness, uint8_t radius, uint8_t hue, uint8_t saturation) {
    auto light = std::make_unique<Actor>();
    light->XLevel = &Scene;
    light->Class = "Light";
    light->Name = "Light" + std::to_string(Lights.size());
    light->Location = location;
    light->LightBrightness = brightness;
    light->LightRadius = radius;
    light->LightHue = hue;
    light->LightSaturation = saturation;
    light->LightType = LT_Steady;
    light->bStatic = 1;
    Actor* l = light.get();
    Scene.Actors.Add(std::move(light));
    Lights.push_back(l);
    return l;
}

void TestScene::Finish(TextureUploader& uploader, int atlasSize) {
    Level& level = Scene.CurrentLevel;
    Builder.Build(level.Model, Lights, Zones);
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

Image SolidImage(int size, uint32_t colour) { return Image(size, size, colour); }

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
    Texture* poster = s.AddTexture("Test.Poster", SolidImage(16, kPosterColour));
    Texture* sky = s.AddTexture("Test.Sky", SolidImage(16, kSkyColour));
    Texture* glass = s.AddTexture("Test.Glass", SolidImage(16, 0xFF406040u));
    Image holes = CheckerImage(32, 0xFF806040u, 0x00000000u);
    Texture* grate = s.AddTexture("Test.Grate", holes, kTextureMasked);
    Texture* green = s.AddTexture("Test.Green", SolidImage(16, 0xC000FF00u), kTextureAlphaBlend);
    Texture* red = s.AddTexture("Test.Red", SolidImage(16, 0xC0FF0000u), kTextureAlphaBlend);
    s.AddZone(0xFF202020u);
    ZoneInfo* skyZone = s.AddZone(0xFF000000u, "SkyZoneInfo");
    skyZone->Location = {8000, 0, 128};
    s.AddLight({0, 440, 128}, 200, 24);

    LevelBuilder& b = s.Builder;
    const SurfaceSpec plain{wall};
    const float x0 = -512, x1 = 512, y0 = -512, y1 = 512, top = 256;
    b.AddPolygon(Quad({x0, y0, 0}, {x1, y0, 0}, {x1, y1, 0}, {x0, y1, 0}, {0, 0, 1}), plain, 1);
    b.AddPolygon(Quad({x0, y0, top}, {0, y0, top}, {0, y1, top}, {x0, y1, top}, {0, 0, -1}), plain, 1);
    PortalSurface = b.AddPolygon(Quad({0, y0, top}, {x1, y0, top}, {x1, y1, top}, {0, y1, top}, {0, 0, -1}),
                                 {nullptr, PF_FakeBackdrop, false}, 1);
    b.AddPolygon(Quad({x0, y0, 0}, {x0, y1, 0}, {x0, y1, top}, {x0, y0, top}, {1, 0, 0}), plain, 1);
    b.AddPolygon(Quad({x1, y0, 0}, {x1, y1, 0}, {x1, y1, top}, {x1, y0, top}, {-1, 0, 0}), plain, 1);
    SouthWall = b.AddPolygon(Quad({x0, y0, 0}, {x1, y0, 0}, {x1, y0, top}, {x0, y0, top}, {0, 1, 0}), plain, 1);
    NorthWall = b.AddPolygon(Quad({x0, y1, 0}, {x1, y1, 0}, {x1, y1, top}, {x0, y1, top}, {0, -1, 0}), plain, 1);
    // The pillar's sides (top and bottom would lie on the floor and ceiling).
    const Vector p0{200, -32, 0}, p1{264, 32, top};
    b.AddPolygon(Quad({p0.X, p0.Y, 0}, {p0.X, p1.Y, 0}, {p0.X, p1.Y, top}, {p0.X, p0.Y, top}, {-1, 0, 0}), plain, 1);
    b.AddPolygon(Quad({p1.X, p0.Y, 0}, {p1.X, p1.Y, 0}, {p1.X, p1.Y, top}, {p1.X, p0.Y, top}, {1, 0, 0}), plain, 1);
    b.AddPolygon(Quad({p0.X, p0.Y, 0}, {p1.X, p0.Y, 0}, {p1.X, p0.Y, top}, {p0.X, p0.Y, top}, {0, -1, 0}), plain, 1);
    b.AddPolygon(Quad({p0.X, p1.Y, 0}, {p1.X, p1.Y, 0}, {p1.X, p1.Y, top}, {p0.X, p1.Y, top}, {0, 1, 0}), plain, 1);
    PosterSurface = b.AddPolygon(Quad({508, -20, 100}, {508, 20, 100}, {508, 20, 160}, {508, -20, 160}, {-1, 0, 0}),
                                 {poster, PF_Unlit, false}, 1);
    PaneSurface = b.AddPolygon(Quad({-100, -300, 32}, {-100, -100, 32}, {-100, -100, 200}, {-100, -300, 200}, {-1, 0, 0}),
                               {glass, PF_Translucent | PF_TwoSided, false}, 1);
    GrateSurface = b.AddPolygon(Quad({0, -450, 0}, {0, -330, 0}, {0, -330, 180}, {0, -450, 180}, {-1, 0, 0}),
                                {grate, PF_TwoSided, true}, 1);
    NearPanel = b.AddPolygon(Quad({-150, 100, 40}, {-150, 300, 40}, {-150, 300, 200}, {-150, 100, 200}, {-1, 0, 0}),
                             {green, PF_Unlit, false}, 1);
    FarPanel = b.AddPolygon(Quad({-50, 100, 40}, {-50, 300, 40}, {-50, 300, 200}, {-50, 100, 200}, {-1, 0, 0}),
                            {red, PF_Unlit, false}, 1);
    b.AddBox({8000 - 256, -256, 0}, {8000 + 256, 256, 256}, true, {sky, PF_Unlit, false}, 2);
    s.Finish(uploader, atlasSize);
}

void BuildRoomGrid(TestScene& scene, int rows, int columns) {
    Texture* wall = scene.AddTexture("Grid.Wall", CheckerImage(64, 0xFFB0B0B0u, 0xFF909090u));
    Texture* floor = scene.AddTexture("Grid.Floor", CheckerImage(64, 0xFF806050u, 0xFF705040u));
    scene.AddZone(0xFF181818u);
    LevelBuilder& b = scene.Builder;
    const SurfaceSpec walls{wall, 0, true, 32.0f};
    const SurfaceSpec floors{floor, 0, true, 32.0f};
    constexpr float kCell = 512.0f, kTop = 256.0f, kDoor0 = 192.0f, kDoor1 = 320.0f, kLintel = 160.0f;
    const float w = columns * kCell, h = rows * kCell;
    b.AddPolygon(Quad({0, 0, 0}, {0, h, 0}, {0, h, kTop}, {0, 0, kTop}, {1, 0, 0}), walls, 1);
    b.AddPolygon(Quad({w, 0, 0}, {w, h, 0}, {w, h, kTop}, {w, 0, kTop}, {-1, 0, 0}), walls, 1);
    b.AddPolygon(Quad({0, 0, 0}, {w, 0, 0}, {w, 0, kTop}, {0, 0, kTop}, {0, 1, 0}), walls, 1);
    b.AddPolygon(Quad({0, h, 0}, {w, h, 0}, {w, h, kTop}, {0, h, kTop}, {0, -1, 0}), walls, 1);
    // An inner wall along one axis at coordinate c, from a to a + kCell along the other, with a
    // doorway in the middle; both faces.
    auto innerWall = [&](bool alongY, float c, float a) {
        auto point = [&](float along, float z) { return alongY ? Vector{c, a + along, z} : Vector{a + along, c, z}; };
        const Vector n = alongY ? Vector{1, 0, 0} : Vector{0, 1, 0};
        const float pieces[3][4] = {{0, kDoor0, 0, kTop}, {kDoor1, kCell, 0, kTop}, {kDoor0, kDoor1, kLintel, kTop}};
        for (const auto& p : pieces) {
            const auto quad = [&](const Vector& facing) {
                return Quad(point(p[0], p[2]), point(p[1], p[2]), point(p[1], p[3]), point(p[0], p[3]), facing);
            };
            b.AddPolygon(quad(n), walls, 1);
            b.AddPolygon(quad(-n), walls, 1);
        }
    };
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < columns; ++c) {
            const float cx = (c + 0.5f) * kCell, cy = (r + 0.5f) * kCell;
            const float x0c = c * kCell, x1c = x0c + kCell, y0c = r * kCell, y1c = y0c + kCell;
            b.AddPolygon(Quad({x0c, y0c, 0}, {x1c, y0c, 0}, {x1c, y1c, 0}, {x0c, y1c, 0}, {0, 0, 1}), floors, 1);
            b.AddPolygon(Quad({x0c, y0c, kTop}, {x1c, y0c, kTop}, {x1c, y1c, kTop}, {x0c, y1c, kTop}, {0, 0, -1}), floors, 1);
            if (c + 1 < columns) {
                innerWall(true, (c + 1) * kCell, r * kCell);
            }
            if (r + 1 < rows) {
                innerWall(false, (r + 1) * kCell, c * kCell);
            }
            const float x0 = cx + 96, x1 = cx + 144, y0 = cy + 96, y1 = cy + 144;
            b.AddPolygon(Quad({x0, y0, 0}, {x0, y1, 0}, {x0, y1, kTop}, {x0, y0, kTop}, {-1, 0, 0}), walls, 1);
            b.AddPolygon(Quad({x1, y0, 0}, {x1, y1, 0}, {x1, y1, kTop}, {x1, y0, kTop}, {1, 0, 0}), walls, 1);
            b.AddPolygon(Quad({x0, y0, 0}, {x1, y0, 0}, {x1, y0, kTop}, {x0, y0, kTop}, {0, -1, 0}), walls, 1);
            b.AddPolygon(Quad({x0, y1, 0}, {x1, y1, 0}, {x1, y1, kTop}, {x0, y1, kTop}, {0, 1, 0}), walls, 1);
            if ((r + c) % 2 == 0) {
                scene.AddLight({cx - 100, cy - 100, 200}, 160, 16, static_cast<uint8_t>((r * 37 + c * 11) % 256), 128);
            }
        }
    }
}

} // namespace orv::test
