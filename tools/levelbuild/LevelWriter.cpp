// Filling the Level Model from the compiled tree.
#include "LevelWriter.h"

#include <cstring>
#include <unordered_map>

namespace orv {

namespace {

struct PointKey {
    uint32_t Bits[3];
    bool operator==(const PointKey& o) const { return std::memcmp(Bits, o.Bits, sizeof(Bits)) == 0; }
};

// The three large primes of the usual spatial hash: they spread neighbouring coordinates apart.
struct PointKeyHash {
    size_t operator()(const PointKey& k) const {
        return (size_t(k.Bits[0]) * 73856093u) ^ (size_t(k.Bits[1]) * 19349663u) ^ (size_t(k.Bits[2]) * 83492791u);
    }
};

PointKey KeyOf(const Vector& v) {
    PointKey k;
    const float parts[3] = {v.X + 0.0f, v.Y + 0.0f, v.Z + 0.0f}; // -0 and 0 are one point
    std::memcpy(k.Bits, parts, sizeof(k.Bits));
    return k;
}

} // namespace

void FillLevelModel(LevelModel& model, const BspTree& tree, const ZoneResult& zones, const MapFile& map) {
    // The zone table and the zone actors it names.
    model.ZoneIndices.Clear();
    std::unordered_map<int, int> refOfActor;
    for (int z = 0; z <= zones.NumZones; ++z) {
        const int actor = z < static_cast<int>(zones.ZoneActors.size()) ? zones.ZoneActors[static_cast<size_t>(z)] : -1;
        if (z == 0 || actor < 0) {
            model.ZoneIndices.Add(0);
            continue;
        }
        auto found = refOfActor.find(actor);
        if (found == refOfActor.end()) {
            const MapActor& a = map.Actors[static_cast<size_t>(actor)];
            const int ref = model.ActorRefs.Add({a.Class, a.Name});
            found = refOfActor.emplace(actor, ref + 1).first;
        }
        model.ZoneIndices.Add(found->second);
    }

    const std::vector<NodeZones> nodeZones = ComputeNodeZones(tree);
    std::unordered_map<PointKey, int, PointKeyHash> points;
    for (size_t i = 0; i < tree.Nodes.size(); ++i) {
        const TreeNode& t = tree.Nodes[i];
        BspNode node;
        node.NodePlane.Normal = t.Plane.Normal.ToFloat();
        node.NodePlane.W = static_cast<float>(t.Plane.Dist);
        node.ZoneMask = nodeZones[i].Mask;
        node.NodeFlags = static_cast<uint8_t>((t.BoundsSolid ? 0 : kNodeSheet) | (t.ZonePortal ? kNodeZonePortal : 0));
        node.FirstVertex = model.VertexPool.Num();
        for (const DVector& p : t.Points) {
            const Vector v = p.ToFloat();
            const auto [it, added] = points.emplace(KeyOf(v), model.Points.Num());
            if (added) {
                model.Points.Add(v);
            }
            model.VertexPool.Add(it->second);
        }
        node.NumVertices = static_cast<uint8_t>(t.Points.size());
        node.Surface = t.Surface;
        const bool partitions = t.Main == static_cast<int>(i);
        node.Front = partitions && !IsLeafRef(t.Front) ? t.Front : -1;
        node.Back = partitions && !IsLeafRef(t.Back) ? t.Back : -1;
        node.Coplanar = t.Coplanar;
        node.FirstLeaf = partitions && IsLeafRef(t.Back) ? LeafOfRef(t.Back) : -1;
        node.SecondLeaf = partitions && IsLeafRef(t.Front) ? LeafOfRef(t.Front) : -1;
        node.FirstZone = nodeZones[i].Back;
        node.SecondZone = nodeZones[i].Front;
        model.Nodes.Add(std::move(node));
    }
}

} // namespace orv
