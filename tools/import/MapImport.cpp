// The level of a map package: its actor list, its world model and the brushes of its movers.
#include "MapImport.h"

#include "Properties.h"

#include "core/Fatal.h"
#include "core/Text.h"

#include <cstdio>
#include <set>
#include <unordered_map>

namespace orv {

namespace {

// A bounding box (two vectors and a validity byte) and a bounding sphere (four floats).
constexpr size_t kBoundsBytes = 25;
constexpr size_t kSphereBytes = 16;
// Smallest encodings of the model's records, so counts that cannot fit are refused at once.
constexpr size_t kMinNodeBytes = 43;
constexpr size_t kMinSurfaceBytes = 16;
constexpr size_t kMinLightmapBytes = 30;
constexpr size_t kMinLeafBytes = 11;
// Zone numbers are bits of a 64-bit mask.
constexpr int32_t kMaxZones = 64;

struct RawNode {
    BspNode Node;
    size_t Offset = 0;
};

struct RawSurface {
    int32_t Texture = 0;
    uint32_t Flags = 0;
    int32_t Base = 0, Normal = 0, U = 0, V = 0, Lightmap = -1;
    int16_t PanU = 0, PanV = 0;
    size_t Offset = 0;
};

struct RawModel {
    std::vector<Vector> Vectors, Points;
    std::vector<RawNode> Nodes;
    std::vector<RawSurface> Surfaces;
    std::vector<int32_t> Verts;
    std::vector<int32_t> Zones; // zone actor references by zone number
    int32_t Polys = 0;
    std::vector<LightmapRecord> Lightmaps;
    std::vector<uint8_t> LightBits;
    std::vector<int32_t> Lights; // actor references, 0 ends a list
    size_t LightsOffset = 0;
};

int32_t Ref(const Package& package, ObjectReader& r) {
    const int32_t ref = r.Index();
    package.CheckRef(ref, r);
    return ref;
}

RawModel ReadModel(const Package& package, int32_t ref) {
    if (ref <= 0 || !SameText(package.ClassName(ref), "Model")) {
        throw ImportError{package.FileName() + ": object " + std::to_string(ref) + " is not a Model of this package"};
    }
    ObjectReader r = package.OpenExport(ref - 1);
    PropertyList::Read(r);
    r.Skip(kBoundsBytes + kSphereBytes);
    RawModel m;
    for (auto* list : {&m.Vectors, &m.Points}) {
        const int32_t n = r.Count(12);
        for (int32_t i = 0; i < n; ++i) {
            list->push_back(r.Vec());
        }
    }
    const int32_t nodes = r.Count(kMinNodeBytes);
    for (int32_t i = 0; i < nodes; ++i) {
        RawNode raw;
        raw.Offset = r.Offset();
        BspNode& n = raw.Node;
        n.NodePlane.Normal = r.Vec();
        n.NodePlane.W = r.F32();
        n.ZoneMask = r.U64();
        n.NodeFlags = r.U8();
        n.FirstVertex = r.Index();
        n.Surface = r.Index();
        n.Back = r.Index();
        n.Front = r.Index();
        n.Coplanar = r.Index();
        r.Index(); // collision bound
        r.Index(); // render bound
        n.FirstZone = r.U8();
        n.SecondZone = r.U8();
        n.NumVertices = r.U8();
        n.FirstLeaf = r.I32();
        n.SecondLeaf = r.I32();
        m.Nodes.push_back(raw);
    }
    const int32_t surfaces = r.Count(kMinSurfaceBytes);
    for (int32_t i = 0; i < surfaces; ++i) {
        RawSurface s;
        s.Offset = r.Offset();
        s.Texture = Ref(package, r);
        s.Flags = r.U32();
        s.Base = r.Index();
        s.Normal = r.Index();
        s.U = r.Index();
        s.V = r.Index();
        s.Lightmap = r.Index();
        r.Index(); // brush polygon
        s.PanU = r.I16();
        s.PanV = r.I16();
        Ref(package, r); // the brush actor it came from
        m.Surfaces.push_back(s);
    }
    const int32_t verts = r.Count(2);
    for (int32_t i = 0; i < verts; ++i) {
        m.Verts.push_back(r.Index());
        r.Index(); // side
    }
    r.I32(); // shared sides
    const int32_t zones = r.I32();
    if (zones < 0 || zones > kMaxZones) {
        r.Fail("zone count " + std::to_string(zones));
    }
    for (int32_t i = 0; i < zones; ++i) {
        m.Zones.push_back(Ref(package, r));
        r.U64(); // connectivity
        r.U64(); // visibility
    }
    m.Polys = Ref(package, r);
    const int32_t lightmaps = r.Count(kMinLightmapBytes);
    for (int32_t i = 0; i < lightmaps; ++i) {
        LightmapRecord l;
        l.ShadowOffset = r.I32();
        const Vector pan = r.Vec();
        l.PanX = pan.X;
        l.PanY = pan.Y;
        l.PanZ = pan.Z;
        l.Width = r.Index();
        l.Height = r.Index();
        l.UScale = r.F32();
        l.VScale = r.F32();
        l.FirstLight = r.I32();
        m.Lightmaps.push_back(l);
    }
    const auto bits = r.Bytes(size_t(r.Count(1)));
    m.LightBits.assign(bits.begin(), bits.end());
    r.Skip(size_t(r.Count(kBoundsBytes)) * kBoundsBytes);
    r.Skip(size_t(r.Count(4)) * 4); // leaf hulls
    const int32_t leaves = r.Count(kMinLeafBytes);
    for (int32_t i = 0; i < leaves; ++i) {
        r.Index(); // zone
        r.Index(); // permeating lights
        r.Index(); // volumetric lights
        r.U64();   // visible zones
    }
    m.LightsOffset = r.Offset();
    const int32_t lights = r.Count(1);
    for (int32_t i = 0; i < lights; ++i) {
        m.Lights.push_back(Ref(package, r));
    }
    return m;
}

std::string Number(float f) {
    char text[32];
    std::snprintf(text, sizeof(text), "%+013.6f", static_cast<double>(f));
    return text;
}

std::string VectorLine(const char* key, const Vector& v) {
    return std::string("             ") + key + Number(v.X) + "," + Number(v.Y) + "," + Number(v.Z) + "\n";
}

// A mover's brush: the polygons of its model, in the brush's own space, as the editor writes them.
std::string BrushText(const Package& package, int32_t modelRef, std::set<std::string>& textures) {
    const RawModel model = ReadModel(package, modelRef);
    if (model.Polys <= 0 || !SameText(package.ClassName(model.Polys), "Polys")) {
        return {};
    }
    ObjectReader r = package.OpenExport(model.Polys - 1);
    PropertyList::Read(r);
    const int32_t count = r.I32();
    r.I32(); // capacity
    if (count < 0 || uint64_t(count) * 60 > r.Remaining()) {
        r.Fail("polygon count " + std::to_string(count) + " does not fit");
    }
    std::string text = "    Begin Brush Name=" + package.ObjectName(modelRef) + "\n       Begin PolyList\n";
    for (int32_t i = 0; i < count; ++i) {
        const int32_t vertices = r.Count(12);
        const Vector base = r.Vec(), normal = r.Vec(), u = r.Vec(), v = r.Vec();
        std::string points;
        for (int32_t k = 0; k < vertices; ++k) {
            points += VectorLine("Vertex   ", r.Vec());
        }
        const uint32_t flags = r.U32();
        Ref(package, r); // actor
        const int32_t texture = Ref(package, r);
        r.Name();  // item name
        r.Index(); // link
        r.Index(); // brush polygon
        const int16_t panU = r.I16(), panV = r.I16();
        text += "          Begin Polygon";
        if (texture != 0) {
            const std::string name = package.QualifiedName(texture);
            textures.insert(name);
            text += " Texture=" + name;
        }
        text += " Flags=" + std::to_string(flags) + "\n";
        text += VectorLine("Origin   ", base) + VectorLine("Normal   ", normal);
        text += "             Pan      U=" + std::to_string(panU) + " V=" + std::to_string(panV) + "\n";
        text += VectorLine("TextureU ", u) + VectorLine("TextureV ", v) + points + "          End Polygon\n";
    }
    return text + "       End PolyList\n    End Brush\n";
}

// One line breaks a T3D value: line breaks inside strings become spaces.
std::string OneLine(std::string text) {
    for (char& c : text) {
        if (c == '\n' || c == '\r') {
            c = ' ';
        }
    }
    return text;
}

std::string ActorText(const Package& package, int32_t ref, std::set<std::string>& textures, bool& mover) {
    const std::string cls = package.ClassName(ref);
    std::string text = "Begin Actor Class=" + cls + " Name=" + package.ObjectName(ref) + "\n";
    ObjectReader r = package.OpenExport(ref - 1);
    const PropertyList props = PropertyList::Read(r);
    int32_t brush = 0;
    for (const PropertyTag& tag : props.Tags()) {
        if (SameText(tag.Name, "Brush") && tag.Type == PropertyType::Object) {
            brush = props.Object(package, "Brush").value_or(0);
            continue; // the brush is written as polygons below, never as a reference
        }
        const std::optional<std::string> value = PropertyText(package, tag);
        if (!value) {
            continue;
        }
        bool array = tag.ArrayIndex > 0;
        for (const PropertyTag& other : props.Tags()) {
            array = array || (other.ArrayIndex > 0 && SameText(other.Name, tag.Name));
        }
        text += "     " + tag.Name + (array ? "(" + std::to_string(tag.ArrayIndex) + ")" : "") + "=" + OneLine(*value) + "\n";
    }
    mover = false;
    if (brush > 0 && !SameText(cls, "Brush")) {
        const std::string polygons = BrushText(package, brush, textures);
        mover = !polygons.empty();
        text += polygons;
    }
    return text + "End Actor\n";
}

// The level object: its actor list and its world model.
void ReadLevel(const Package& package, std::vector<int32_t>& actors, int32_t& model) {
    const std::vector<int32_t> levels = package.ExportsOfClass("Level");
    if (levels.empty()) {
        throw ImportError{package.FileName() + ": no level in this package (header)"};
    }
    ObjectReader r = package.OpenExport(levels.front());
    PropertyList::Read(r);
    const int32_t count = r.I32();
    r.I32(); // capacity
    if (count < 0 || uint64_t(count) > r.Remaining()) {
        r.Fail("actor count " + std::to_string(count) + " does not fit");
    }
    for (int32_t i = 0; i < count; ++i) {
        actors.push_back(Ref(package, r));
    }
    for (int i = 0; i < 4; ++i) {
        r.String(); // the level's address: protocol, host, map, portal
    }
    const int32_t options = r.Count(1);
    for (int32_t i = 0; i < options; ++i) {
        r.String();
    }
    r.I32(); // port
    r.I32(); // valid
    model = Ref(package, r);
}

template <typename T>
void CheckIndex(const ObjectReader& r, int64_t index, const std::vector<T>& list, const char* what, size_t at) {
    if (index < 0 || index >= int64_t(list.size())) {
        r.FailAt(std::string(what) + " " + std::to_string(index) + " out of range", at);
    }
}

void FillModel(const Package& package, const RawModel& raw, int32_t modelRef, LevelModel& model, MapStats& stats) {
    const ObjectReader at = package.OpenExport(modelRef - 1);
    std::unordered_map<int32_t, int32_t> refOfActor; // package reference to 1-based actor reference
    auto actorRef = [&](int32_t ref, size_t offset) -> int32_t {
        if (ref == 0) {
            return 0;
        }
        if (ref < 0) {
            at.FailAt("actor reference " + std::to_string(ref) + " names an import", offset);
        }
        auto found = refOfActor.find(ref);
        if (found == refOfActor.end()) {
            model.ActorRefs.Add({package.ClassName(ref), package.ObjectName(ref)});
            found = refOfActor.emplace(ref, model.ActorRefs.Num()).first;
        }
        return found->second;
    };
    for (const Vector& v : raw.Vectors) {
        model.Vectors.Add(v);
    }
    for (const Vector& p : raw.Points) {
        model.Points.Add(p);
    }
    for (int32_t light : raw.Lights) {
        model.LightIndices.Add(actorRef(light, raw.LightsOffset));
    }
    for (uint8_t b : raw.LightBits) {
        model.ShadowBits.Add(b);
    }
    for (const LightmapRecord& l : raw.Lightmaps) {
        model.Lightmaps.Add(l);
    }
    std::set<std::string> textures(stats.Textures.begin(), stats.Textures.end());
    for (const RawSurface& s : raw.Surfaces) {
        Surface surface;
        if (s.Texture != 0) {
            surface.TextureName = package.QualifiedName(s.Texture);
            textures.insert(surface.TextureName);
        }
        CheckIndex(at, s.Base, raw.Points, "surface base point", s.Offset);
        for (int32_t v : {s.Normal, s.U, s.V}) {
            CheckIndex(at, v, raw.Vectors, "surface vector", s.Offset);
        }
        if (s.Lightmap != -1) {
            CheckIndex(at, s.Lightmap, raw.Lightmaps, "surface lightmap", s.Offset);
        }
        surface.Flags = s.Flags;
        surface.LightmapIndex = s.Lightmap;
        surface.Base = raw.Points[size_t(s.Base)];
        // The package keeps the normal of the side a surface is seen from; the Level Model keeps
        // the opposite one.
        surface.Normal = -raw.Vectors[size_t(s.Normal)];
        surface.UAxis = raw.Vectors[size_t(s.U)];
        surface.VAxis = raw.Vectors[size_t(s.V)];
        surface.UPan = s.PanU;
        surface.VPan = s.PanV;
        model.Surfaces.Add(std::move(surface));
    }
    // The package's vertex pool keeps stale entries that no node uses, some naming points that
    // are gone: the pool is rebuilt from the nodes' own entries, each of them checked.
    for (const RawNode& n : raw.Nodes) {
        BspNode node = n.Node;
        if (node.NumVertices > 0) {
            CheckIndex(at, node.Surface, raw.Surfaces, "node surface", n.Offset);
            CheckIndex(at, int64_t(node.FirstVertex) + node.NumVertices - 1, raw.Verts, "node vertex", n.Offset);
            CheckIndex(at, node.FirstVertex, raw.Verts, "node vertex", n.Offset);
            node.FirstVertex = model.VertexPool.Num();
            for (int32_t k = 0; k < n.Node.NumVertices; ++k) {
                const int32_t point = raw.Verts[size_t(n.Node.FirstVertex + k)];
                CheckIndex(at, point, raw.Points, "node vertex point", n.Offset);
                model.VertexPool.Add(point);
            }
        }
        model.Nodes.Add(node);
    }
    for (size_t z = 0; z < raw.Zones.size(); ++z) {
        model.ZoneIndices.Add(actorRef(raw.Zones[z], at.Offset()));
    }
    stats.Textures.assign(textures.begin(), textures.end());
    stats.Nodes = model.Nodes.Num();
    stats.Surfaces = model.Surfaces.Num();
    stats.Lightmaps = model.Lightmaps.Num();
}

// The engine's own reader checks every count, index and the tree; its refusal becomes this
// file's error.
void CheckWithEngineReader(const Package& package, const LevelModel& model) {
    const FatalHandler previous = SetFatalHandler([](const std::string& message) { throw ImportError{message}; });
    try {
        LevelModel check;
        LoadLevelModelFromMemory(check, package.FileName() + " (converted)", WriteLevelModel(model),
                                 [](std::string_view) -> Texture* { return nullptr; });
    } catch (const ImportError& error) {
        SetFatalHandler(previous);
        throw ImportError{package.FileName() + ": the converted world model is refused: " + error.Message};
    }
    SetFatalHandler(previous);
}

} // namespace

ConvertedMap ConvertMap(const Package& package) {
    ConvertedMap map;
    std::vector<int32_t> actors;
    int32_t modelRef = 0;
    ReadLevel(package, actors, modelRef);
    const RawModel raw = ReadModel(package, modelRef);

    std::set<std::string> textures;
    map.T3d = "Begin Map\n";
    for (int32_t ref : actors) {
        // Empty slots of the actor list, and the editor's viewports, which are no part of the level.
        if (ref <= 0 || SameText(package.ClassName(ref), "Camera")) {
            continue;
        }
        bool mover = false;
        map.T3d += ActorText(package, ref, textures, mover);
        ++map.Stats.Actors;
        map.Stats.Movers += mover ? 1 : 0;
    }
    map.T3d += "End Map\n";
    map.Stats.Textures.assign(textures.begin(), textures.end());
    FillModel(package, raw, modelRef, map.Model, map.Stats);
    CheckWithEngineReader(package, map.Model);
    return map;
}

} // namespace orv
