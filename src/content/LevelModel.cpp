// Reading and writing the Level Model, with every count and index checked before use.
#include "content/LevelModel.h"

#include "content/Resources.h"
#include "core/BinaryReader.h"
#include "core/BinaryWriter.h"
#include "core/Fatal.h"
#include "core/Numbers.h"

#include <cmath>

namespace orv {

namespace {

// Bytes each element of a section takes in the file at the least (strings count their zero).
// Every section starts with its 32-bit count.
constexpr size_t kCountBytes = 4;
constexpr size_t kActorRefMinBytes = 2;
constexpr size_t kVectorBytes = 12;
constexpr size_t kIndexBytes = 4; // vertex pool, light and zone indices, node extras
constexpr size_t kShadowByteBytes = 1;
constexpr size_t kPairBytes = 8;
constexpr size_t kLightmapBytes = 36;
constexpr size_t kSurfaceMinBytes = 61;
constexpr size_t kNodeBytes = 56;

// Where entry i of an index section starting (with its count) at sectionOffset lies.
size_t IndexOffset(size_t sectionOffset, int32_t i) {
    return sectionOffset + kCountBytes + kIndexBytes * static_cast<size_t>(i);
}

class ModelReader {
public:
    ModelReader(LevelModel& model, BinaryReader& in, const TextureResolver& resolve)
        : model_(model), in_(in), resolve_(resolve) {}

    void Read();

private:
    [[noreturn]] void Bad(const std::string& what, size_t offset) const {
        FatalError("Bad Level Model: " + what + " out of range (" + in_.Name() + ", offset " + std::to_string(offset) + ")");
    }

    int32_t ReadCount(const char* what, size_t minElementBytes) {
        const size_t at = in_.Offset();
        const int32_t count = in_.I32();
        if (count < 0 || static_cast<uint64_t>(count) * minElementBytes > in_.Remaining()) {
            Bad(std::string(what) + " count", at);
        }
        return count;
    }

    // A float of the file: one that is not finite is refused, a huge one clamped to the world.
    float ReadFloat(const char* what) {
        const size_t at = in_.Offset();
        const float v = in_.F32();
        if (!std::isfinite(v)) {
            Bad(what, at);
        }
        return ClampToWorld(v);
    }

    Vector ReadVector(const char* what) {
        Vector v;
        v.X = ReadFloat(what);
        v.Y = ReadFloat(what);
        v.Z = ReadFloat(what);
        return v;
    }

    void ReadSections();
    void ReadLightmaps();
    void ReadSurfaces();
    void ReadNodes();
    void ReadNodeExtras();
    void CheckIndices();
    void CheckTree() const;
    void CheckLightList(int32_t first, size_t offset, const char* what);

    LevelModel& model_;
    BinaryReader& in_;
    const TextureResolver& resolve_;
    std::vector<size_t> lightmapOffsets_, surfaceOffsets_, nodeOffsets_;
    size_t vertexPoolOffset_ = 0, lightIndexOffset_ = 0, zoneIndexOffset_ = 0;
};

void ModelReader::Read() {
    const int32_t version = in_.I32();
    if (version != kLevelModelVersion) {
        FatalError("Bad Level Model header. (" + in_.Name() + ")");
    }
    ReadSections();
    CheckIndices();
    CheckTree();
}

void ModelReader::ReadSections() {
    const int32_t refCount = ReadCount("actor reference", kActorRefMinBytes);
    model_.ActorRefs.Reserve(refCount);
    for (int32_t i = 0; i < refCount; ++i) {
        LevelActorRef ref;
        ref.ClassName = in_.String();
        ref.Name = in_.String();
        model_.ActorRefs.Add(std::move(ref));
    }
    for (Array<Vector>* section : {&model_.Vectors, &model_.Points}) {
        const int32_t n = ReadCount(section == &model_.Vectors ? "vector" : "point", kVectorBytes);
        section->Resize(n);
        for (int32_t i = 0; i < n; ++i) {
            (*section)[i] = ReadVector(section == &model_.Vectors ? "vector" : "point");
        }
    }
    vertexPoolOffset_ = in_.Offset();
    const int32_t poolCount = ReadCount("vertex pool", kIndexBytes);
    model_.VertexPool.Resize(poolCount);
    for (int32_t i = 0; i < poolCount; ++i) {
        model_.VertexPool[i] = in_.I32();
    }
    lightIndexOffset_ = in_.Offset();
    const int32_t lightCount = ReadCount("light index", kIndexBytes);
    model_.LightIndices.Resize(lightCount);
    for (int32_t i = 0; i < lightCount; ++i) {
        model_.LightIndices[i] = in_.I32();
    }
    const int32_t shadowCount = ReadCount("shadow bit", kShadowByteBytes);
    model_.ShadowBits.Resize(shadowCount);
    in_.Bytes(model_.ShadowBits.Data(), static_cast<size_t>(shadowCount));
    ReadLightmaps();
    ReadSurfaces();
    ReadNodes();
    zoneIndexOffset_ = in_.Offset();
    const int32_t zoneCount = ReadCount("zone index", kIndexBytes);
    model_.ZoneIndices.Resize(zoneCount);
    for (int32_t i = 0; i < zoneCount; ++i) {
        model_.ZoneIndices[i] = in_.I32();
    }
    const int32_t pairCount = ReadCount("pair data", kPairBytes);
    model_.PairData.Resize(pairCount);
    for (int32_t i = 0; i < pairCount; ++i) {
        model_.PairData[i].first = in_.I32();
        model_.PairData[i].second = in_.I32();
    }
    if (!in_.AtEnd()) {
        ReadNodeExtras();
    }
}

void ModelReader::ReadLightmaps() {
    const int32_t n = ReadCount("lightmap", kLightmapBytes);
    model_.Lightmaps.Resize(n);
    lightmapOffsets_.resize(static_cast<size_t>(n));
    for (int32_t i = 0; i < n; ++i) {
        lightmapOffsets_[static_cast<size_t>(i)] = in_.Offset();
        LightmapRecord& l = model_.Lightmaps[i];
        l.ShadowOffset = in_.I32();
        l.PanX = ReadFloat("lightmap pan");
        l.PanY = ReadFloat("lightmap pan");
        l.PanZ = ReadFloat("lightmap pan");
        l.Width = in_.I32();
        l.Height = in_.I32();
        l.UScale = ReadFloat("lightmap scale");
        l.VScale = ReadFloat("lightmap scale");
        l.FirstLight = in_.I32();
    }
}

void ModelReader::ReadSurfaces() {
    const int32_t n = ReadCount("surface", kSurfaceMinBytes);
    model_.Surfaces.Resize(n);
    surfaceOffsets_.resize(static_cast<size_t>(n));
    for (int32_t i = 0; i < n; ++i) {
        surfaceOffsets_[static_cast<size_t>(i)] = in_.Offset();
        Surface& s = model_.Surfaces[i];
        s.TextureName = in_.String();
        s.Flags = in_.U32();
        s.LightmapIndex = in_.I32();
        s.Base = ReadVector("surface base");
        s.Normal = ReadVector("surface normal");
        s.UAxis = ReadVector("surface axis");
        s.VAxis = ReadVector("surface axis");
        s.UPan = in_.I16();
        s.VPan = in_.I16();
        s.Tex = resolve_ ? resolve_(s.TextureName) : nullptr;
    }
}

void ModelReader::ReadNodes() {
    const int32_t n = ReadCount("node", kNodeBytes);
    model_.Nodes.Resize(n);
    nodeOffsets_.resize(static_cast<size_t>(n));
    for (int32_t i = 0; i < n; ++i) {
        nodeOffsets_[static_cast<size_t>(i)] = in_.Offset();
        BspNode& node = model_.Nodes[i];
        node.NodePlane.Normal = ReadVector("node plane");
        node.NodePlane.W = ReadFloat("node plane");
        node.ZoneMask = in_.U64();
        node.NodeFlags = in_.U8();
        node.FirstVertex = in_.I32();
        node.Surface = in_.I32();
        node.Back = in_.I32();
        node.Front = in_.I32();
        node.Coplanar = in_.I32();
        node.FirstZone = in_.U8();
        node.SecondZone = in_.U8();
        node.NumVertices = in_.U8();
        node.FirstLeaf = in_.I32();
        node.SecondLeaf = in_.I32();
    }
}

void ModelReader::ReadNodeExtras() {
    const int32_t n = ReadCount("node extras", kIndexBytes);
    model_.HasNodeExtras = true;
    model_.NodeExtraTable.Resize(n);
    for (int32_t i = 0; i < n; ++i) {
        model_.NodeExtraTable[i] = in_.I32();
    }
    const size_t at = in_.Offset();
    if (static_cast<uint64_t>(model_.Nodes.Num()) * kIndexBytes > in_.Remaining()) {
        Bad("node extras per node", at);
    }
    for (BspNode& node : model_.Nodes) {
        node.Extra = in_.I32();
    }
}

void ModelReader::CheckLightList(int32_t first, size_t offset, const char* what) {
    if (first == -1) {
        return;
    }
    if (first < 0 || first >= model_.LightIndices.Num()) {
        Bad(what, offset);
    }
    int32_t i = first;
    while (i < model_.LightIndices.Num() && model_.LightIndices[i] != 0) {
        ++i;
    }
    if (i >= model_.LightIndices.Num()) {
        Bad(std::string(what) + " end", offset); // the list runs off the array without its 0
    }
}

void ModelReader::CheckIndices() {
    const int32_t refs = model_.ActorRefs.Num();
    for (int32_t i = 0; i < model_.VertexPool.Num(); ++i) {
        if (model_.VertexPool[i] < 0 || model_.VertexPool[i] >= model_.Points.Num()) {
            Bad("vertex pool point", IndexOffset(vertexPoolOffset_, i));
        }
    }
    for (int32_t i = 0; i < model_.LightIndices.Num(); ++i) {
        if (model_.LightIndices[i] < 0 || model_.LightIndices[i] > refs) {
            Bad("light actor reference", IndexOffset(lightIndexOffset_, i));
        }
    }
    for (int32_t i = 0; i < model_.ZoneIndices.Num(); ++i) {
        if (model_.ZoneIndices[i] < 0 || model_.ZoneIndices[i] > refs) {
            Bad("zone actor reference", IndexOffset(zoneIndexOffset_, i));
        }
    }
    for (int32_t i = 0; i < model_.Lightmaps.Num(); ++i) {
        const LightmapRecord& l = model_.Lightmaps[i];
        const size_t at = lightmapOffsets_[static_cast<size_t>(i)];
        CheckLightList(l.FirstLight, at, "lightmap light list");
        if (l.ShadowOffset == -1) {
            continue;
        }
        if (l.Width <= 0 || l.Height <= 0 || l.Width > kMaxLightmapSide || l.Height > kMaxLightmapSide) {
            Bad("lightmap size", at);
        }
        const int64_t bits = int64_t(model_.LightCount(l)) * LightmapColumns(l.Width) * l.Height;
        if (l.ShadowOffset < 0 || int64_t(l.ShadowOffset) + (bits + 7) / 8 > model_.ShadowBits.Num()) {
            Bad("lightmap shadow range", at);
        }
    }
    for (int32_t i = 0; i < model_.Surfaces.Num(); ++i) {
        const int32_t lm = model_.Surfaces[i].LightmapIndex;
        if (lm < -1 || lm >= model_.Lightmaps.Num()) {
            Bad("surface lightmap", surfaceOffsets_[static_cast<size_t>(i)]);
        }
    }
    const int32_t nodes = model_.Nodes.Num();
    for (int32_t i = 0; i < nodes; ++i) {
        const BspNode& node = model_.Nodes[i];
        const size_t at = nodeOffsets_[static_cast<size_t>(i)];
        if (node.Surface < -1 || node.Surface >= model_.Surfaces.Num() || (node.NumVertices > 0 && node.Surface < 0)) {
            Bad("node surface", at);
        }
        for (int32_t child : {node.Back, node.Front, node.Coplanar}) {
            if (child < -1 || child >= nodes) {
                Bad("node child", at);
            }
        }
        if (node.NumVertices > kMaxNodeVertices) {
            Bad("node vertex count", at);
        }
        if (node.FirstVertex < 0 || int64_t(node.FirstVertex) + node.NumVertices > model_.VertexPool.Num()) {
            if (node.NumVertices > 0) {
                Bad("node vertex pool range", at);
            }
        }
        if (node.FirstZone > kNoZone || node.SecondZone > kNoZone) {
            Bad("node zone number", at);
        }
    }
}

// Every walk of the tree (collision, zones, the renderer) trusts that no node is reached twice
// from the root: a shared or looping child would make them run forever.
void ModelReader::CheckTree() const {
    if (model_.Nodes.IsEmpty()) {
        return;
    }
    std::vector<uint8_t> seen(static_cast<size_t>(model_.Nodes.Num()), 0);
    std::vector<int32_t> stack{0};
    seen[0] = 1;
    while (!stack.empty()) {
        const BspNode& node = model_.Nodes[stack.back()];
        stack.pop_back();
        for (int32_t child : {node.Back, node.Front, node.Coplanar}) {
            if (child < 0) {
                continue;
            }
            if (seen[static_cast<size_t>(child)]) {
                FatalError("Bad Level Model: node " + std::to_string(child) + " is reached twice (" + model_.Path +
                           ")");
            }
            seen[static_cast<size_t>(child)] = 1;
            stack.push_back(child);
        }
    }
}

} // namespace

int LevelModel::LightCount(const LightmapRecord& lightmap) const {
    int count = 0;
    if (lightmap.FirstLight < 0) {
        return 0;
    }
    for (int32_t i = lightmap.FirstLight; i < LightIndices.Num() && LightIndices[i] != 0; ++i) {
        ++count;
    }
    return count;
}

void LoadLevelModelFromMemory(LevelModel& model, std::string_view name, std::vector<uint8_t> bytes,
                              const TextureResolver& resolve) {
    FreeLevelModel(model);
    model.Path = std::string(name);
    BinaryReader in(std::string(name), std::move(bytes));
    ModelReader(model, in, resolve).Read();
}

void LoadLevelModel(LevelModel& model, std::string_view path, const TextureResolver& resolve) {
    std::optional<BinaryReader> file = BinaryReader::OpenFile(path);
    if (!file) {
        FatalError("Bad Level Model header. (" + std::string(path) + ")");
    }
    FreeLevelModel(model);
    model.Path = std::string(path);
    ModelReader(model, *file, resolve).Read();
}

std::vector<uint8_t> WriteLevelModel(const LevelModel& model) {
    BinaryWriter out;
    auto vector = [&](const Vector& v) {
        out.F32(v.X);
        out.F32(v.Y);
        out.F32(v.Z);
    };
    out.I32(kLevelModelVersion);
    out.I32(model.ActorRefs.Num());
    for (const LevelActorRef& ref : model.ActorRefs) {
        out.String(ref.ClassName);
        out.String(ref.Name);
    }
    for (const Array<Vector>* section : {&model.Vectors, &model.Points}) {
        out.I32(section->Num());
        for (const Vector& v : *section) {
            vector(v);
        }
    }
    for (const Array<int32_t>* section : {&model.VertexPool, &model.LightIndices}) {
        out.I32(section->Num());
        for (int32_t v : *section) {
            out.I32(v);
        }
    }
    out.I32(model.ShadowBits.Num());
    out.Bytes(model.ShadowBits.Data(), static_cast<size_t>(model.ShadowBits.Num()));
    out.I32(model.Lightmaps.Num());
    for (const LightmapRecord& l : model.Lightmaps) {
        out.I32(l.ShadowOffset);
        out.F32(l.PanX);
        out.F32(l.PanY);
        out.F32(l.PanZ);
        out.I32(l.Width);
        out.I32(l.Height);
        out.F32(l.UScale);
        out.F32(l.VScale);
        out.I32(l.FirstLight);
    }
    out.I32(model.Surfaces.Num());
    for (const Surface& s : model.Surfaces) {
        out.String(s.TextureName);
        out.U32(s.Flags);
        out.I32(s.LightmapIndex);
        vector(s.Base);
        vector(s.Normal);
        vector(s.UAxis);
        vector(s.VAxis);
        out.I16(s.UPan);
        out.I16(s.VPan);
    }
    out.I32(model.Nodes.Num());
    for (const BspNode& n : model.Nodes) {
        vector(n.NodePlane.Normal);
        out.F32(n.NodePlane.W);
        out.U64(n.ZoneMask);
        out.U8(n.NodeFlags);
        out.I32(n.FirstVertex);
        out.I32(n.Surface);
        out.I32(n.Back);
        out.I32(n.Front);
        out.I32(n.Coplanar);
        out.U8(n.FirstZone);
        out.U8(n.SecondZone);
        out.U8(n.NumVertices);
        out.I32(n.FirstLeaf);
        out.I32(n.SecondLeaf);
    }
    out.I32(model.ZoneIndices.Num());
    for (int32_t z : model.ZoneIndices) {
        out.I32(z);
    }
    out.I32(model.PairData.Num());
    for (const auto& pair : model.PairData) {
        out.I32(pair.first);
        out.I32(pair.second);
    }
    if (model.HasNodeExtras) {
        out.I32(model.NodeExtraTable.Num());
        for (int32_t v : model.NodeExtraTable) {
            out.I32(v);
        }
        for (const BspNode& n : model.Nodes) {
            out.I32(n.Extra);
        }
    }
    return out.Take();
}

void FreeLevelModel(LevelModel& model) { model = LevelModel(); }

namespace {

// A triangle's corners in the lightmap's own texture space: texel centres sit at (i + 0.5) / Width.
void MapOntoLightmap(WorldTriangle& triangle, const Surface& surface, const LightmapRecord& lightmap, int32_t index) {
    triangle.Lightmap = index;
    const float baseU = Dot(surface.Base, surface.UAxis);
    const float baseV = Dot(surface.Base, surface.VAxis);
    for (int v = 0; v < 3; ++v) {
        const Vector& p = triangle.Vertices[v];
        triangle.LightmapCoords[v][0] = ((Dot(p, surface.UAxis) - baseU - lightmap.PanX) / lightmap.UScale + 0.5f) /
                                        static_cast<float>(lightmap.Width);
        triangle.LightmapCoords[v][1] = ((Dot(p, surface.VAxis) - baseV - lightmap.PanY) / lightmap.VScale + 0.5f) /
                                        static_cast<float>(lightmap.Height);
    }
}

} // namespace

void BuildWorldTriangles(const LevelModel& model, Array<WorldTriangle>& triangles) {
    triangles.Clear();
    for (int32_t i = 0; i < model.Nodes.Num(); ++i) {
        const BspNode& node = model.Nodes[i];
        if (node.NumVertices <= 2) {
            continue;
        }
        const Surface& surface = model.Surfaces[node.Surface];
        T3dPolygon polygon;
        polygon.Index = i;
        polygon.Tex = surface.Tex;
        polygon.Flags = surface.Flags | ((surface.Flags & PF_FakeBackdrop) ? PF_Invisible : 0u);
        polygon.Origin = surface.Base;
        polygon.Normal = -surface.Normal;
        polygon.TextureU = surface.UAxis;
        polygon.TextureV = surface.VAxis;
        polygon.PanU = surface.UPan;
        polygon.PanV = surface.VPan;
        for (int32_t v = 0; v < node.NumVertices; ++v) {
            polygon.Vertices.Add(model.Points[model.VertexPool[node.FirstVertex + v]]);
        }
        const int first = triangles.Num();
        TriangulatePolygon(triangles, polygon);
        if (model.Lightmaps.IsValidIndex(surface.LightmapIndex) && model.Lightmaps[surface.LightmapIndex].HasData()) {
            for (int t = first; t < triangles.Num(); ++t) {
                MapOntoLightmap(triangles[t], surface, model.Lightmaps[surface.LightmapIndex], surface.LightmapIndex);
            }
        }
    }
}

} // namespace orv
