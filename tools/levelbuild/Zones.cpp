// Leaf contents, leaks and zones.
#include "Zones.h"

#include "ZoneClasses.h"

#include "content/PropertyValues.h"
#include "core/Log.h"
#include "core/Text.h"

#include <algorithm>
#include <deque>

namespace orv {

namespace {

// A portal that faces bounding solid cover over no more than this area (square units) is open:
// that much is rounding along an edge it shares with such a face.
constexpr double kOpenPortalArea = 0.01;
// A zone portal closes a portal when it leaves uncovered no more than this many square units or
// this share of it: slivers along its edges from rounding, never an opening anything can pass.
constexpr double kGapArea = 1.0;
constexpr double kGapShare = 0.001;
// Portal corners this close to a polygon's edge lines count as on them when the polygon is laid
// over the portal.
constexpr double kCoverEpsilon = 0.01;
// The leak search's mark of a leaf not reached yet.
constexpr int kUnreached = -2;

// The part of a portal that a node polygon on its plane covers, measured by clipping the portal
// to the polygon's edges.
double CoveredArea(const Winding& portal, const TreeNode& node) {
    Winding w = portal;
    const DVector n = node.Plane.Normal;
    const Winding& poly = node.Points;
    for (size_t i = 0; i < poly.size() && !w.empty(); ++i) {
        const DVector edge = poly[(i + 1) % poly.size()] - poly[i];
        const DVector inward = Normalized(Cross(n, edge));
        w = ClipWinding(w, {inward, Dot(inward, poly[i])}, kCoverEpsilon, true);
    }
    return w.size() < 3 ? 0.0 : WindingArea(w);
}

class ZoneBuilder {
public:
    ZoneBuilder(BspTree& tree, const PortalSet& portals, const MapFile& map)
        : tree_(tree), portals_(portals), map_(map) {}

    ZoneResult Build(const std::function<bool(const DVector&)>& brushSaysSolid);

private:
    bool Empty(int leaf) const {
        return leaf >= 0 && tree_.Leaves[static_cast<size_t>(leaf)].Contents == LeafContents::Empty;
    }
    void ResolveContents(const std::function<bool(const DVector&)>& brushSaysSolid, ZoneResult& result);
    void FindLeaks(ZoneResult& result);
    LeakReport LeakPath(int first, const std::vector<int>& via) const;
    bool PortalBlocked(const Portal& p) const;
    int FloodRegions(ZoneResult& result, std::vector<int>& region) const;
    std::vector<int> ClaimRegions(const std::vector<int>& region, int regions) const;
    void Flood(ZoneResult& result);

    BspTree& tree_;
    const PortalSet& portals_;
    const MapFile& map_;
};

void ZoneBuilder::ResolveContents(const std::function<bool(const DVector&)>& brushSaysSolid, ZoneResult& result) {
    // Where a portal touches no face bounding solid, both sides are alike. Whether one does is
    // measured only for portals that could pass something on, once each.
    std::vector<signed char> open(portals_.Portals.size(), -1);
    auto isOpen = [&](size_t i) {
        if (open[i] < 0) {
            const Portal& p = portals_.Portals[i];
            double covered = 0.0;
            for (int c = p.Node; c >= 0 && covered <= kOpenPortalArea;
                 c = tree_.Nodes[static_cast<size_t>(c)].Coplanar) {
                const TreeNode& node = tree_.Nodes[static_cast<size_t>(c)];
                if (node.BoundsSolid) {
                    covered += CoveredArea(p.Points, node);
                }
            }
            open[i] = covered <= kOpenPortalArea ? 1 : 0;
        }
        return open[i] == 1;
    };
    bool changed = true;
    while (changed) {
        changed = false;
        for (size_t i = 0; i < portals_.Portals.size(); ++i) {
            const Portal& p = portals_.Portals[i];
            if (p.Node < 0 || p.Front < 0 || p.Back < 0) {
                continue;
            }
            LeafContents& a = tree_.Leaves[static_cast<size_t>(p.Front)].Contents;
            LeafContents& b = tree_.Leaves[static_cast<size_t>(p.Back)].Contents;
            if ((a == LeafContents::Unknown) == (b == LeafContents::Unknown) || !isOpen(i)) {
                continue;
            }
            if (a == LeafContents::Unknown) {
                a = b;
            } else {
                b = a;
            }
            changed = true;
        }
    }
    for (size_t i = 0; i < tree_.Leaves.size(); ++i) {
        TreeLeaf& leaf = tree_.Leaves[i];
        if (leaf.Contents != LeafContents::Unknown) {
            continue;
        }
        DVector point;
        const bool solid = !portals_.LeafPoint(static_cast<int>(i), point) || brushSaysSolid(point);
        leaf.Contents = solid ? LeafContents::Solid : LeafContents::Empty;
        ++result.GuessedLeaves;
    }
}

void ZoneBuilder::FindLeaks(ZoneResult& result) {
    // Breadth first from the outside through every portal between empty leaves.
    std::vector<int> via(tree_.Leaves.size(), kUnreached); // the portal that reached each leaf
    std::deque<int> queue;
    for (size_t i = 0; i < portals_.Portals.size(); ++i) {
        const Portal& p = portals_.Portals[i];
        const int inner = p.Front == kOutsideLeaf ? p.Back : (p.Back == kOutsideLeaf ? p.Front : kOutsideLeaf);
        if (inner < 0 || !Empty(inner) || via[static_cast<size_t>(inner)] != kUnreached) {
            continue;
        }
        via[static_cast<size_t>(inner)] = static_cast<int>(i);
        queue.push_back(inner);
        ++result.LeakingLeaves;
    }
    if (queue.empty()) {
        return;
    }
    const int first = queue.front();
    while (!queue.empty()) {
        const int leaf = queue.front();
        queue.pop_front();
        for (int p : portals_.LeafPortals[static_cast<size_t>(leaf)]) {
            const int other = portals_.OtherSide(p, leaf);
            if (other >= 0 && Empty(other) && via[static_cast<size_t>(other)] == kUnreached) {
                via[static_cast<size_t>(other)] = p;
                queue.push_back(other);
            }
        }
    }
    result.Leaks.push_back(LeakPath(first, via));
}

// From the first actor standing in the leaking space (else the leaf itself) back out through the
// portals that reached it, as a pointer for the designer.
LeakReport ZoneBuilder::LeakPath(int first, const std::vector<int>& via) const {
    LeakReport leak;
    leak.Leaf = first;
    leak.Point = WindingCentre(portals_.Portals[static_cast<size_t>(via[static_cast<size_t>(first)])].Points);
    int start = first;
    for (const MapActor& actor : map_.Actors) {
        if (SameText(actor.Class, "Brush")) {
            continue;
        }
        const DVector location(ParseVectorValue(actor.Properties.Get("Location")));
        const int leaf = tree_.LeafAt(location);
        if (via[static_cast<size_t>(leaf)] != kUnreached) {
            leak.Path.push_back(location);
            start = leaf;
            break;
        }
    }
    DVector point;
    if (leak.Path.empty() && portals_.LeafPoint(first, point)) {
        leak.Path.push_back(point);
    }
    for (int leaf = start; leaf >= 0;) {
        const int portal = via[static_cast<size_t>(leaf)];
        leak.Path.push_back(WindingCentre(portals_.Portals[static_cast<size_t>(portal)].Points));
        leaf = portals_.OtherSide(portal, leaf);
    }
    return leak;
}

bool ZoneBuilder::PortalBlocked(const Portal& p) const {
    if (p.Node < 0) {
        return false;
    }
    double covered = 0.0;
    for (int c = p.Node; c >= 0; c = tree_.Nodes[static_cast<size_t>(c)].Coplanar) {
        const TreeNode& node = tree_.Nodes[static_cast<size_t>(c)];
        if (node.ZonePortal) {
            covered += CoveredArea(p.Points, node);
        }
    }
    const double area = WindingArea(p.Points);
    return covered > 0.0 && area - covered <= std::max(kGapArea, area * kGapShare);
}

// Connected empty space between zone portals: a region number per leaf (0 in solid), numbered in
// leaf order.
int ZoneBuilder::FloodRegions(ZoneResult& result, std::vector<int>& region) const {
    std::vector<char> blocked(portals_.Portals.size(), 0);
    for (size_t i = 0; i < portals_.Portals.size(); ++i) {
        const Portal& p = portals_.Portals[i];
        if (Empty(p.Front) && Empty(p.Back) && PortalBlocked(p)) {
            blocked[i] = 1;
            ++result.BlockedPortals;
        }
    }
    region.assign(tree_.Leaves.size(), 0);
    int regions = 0;
    for (size_t start = 0; start < tree_.Leaves.size(); ++start) {
        if (!Empty(static_cast<int>(start)) || region[start] != 0) {
            continue;
        }
        region[start] = ++regions;
        std::deque<int> queue{static_cast<int>(start)};
        while (!queue.empty()) {
            const int leaf = queue.front();
            queue.pop_front();
            for (int p : portals_.LeafPortals[static_cast<size_t>(leaf)]) {
                const int other = portals_.OtherSide(p, leaf);
                if (!blocked[static_cast<size_t>(p)] && Empty(other) && region[static_cast<size_t>(other)] == 0) {
                    region[static_cast<size_t>(other)] = regions;
                    queue.push_back(other);
                }
            }
        }
    }
    return regions;
}

// Each zone actor claims the region it stands in; the first one there keeps it.
std::vector<int> ZoneBuilder::ClaimRegions(const std::vector<int>& region, int regions) const {
    std::vector<int> regionActor(static_cast<size_t>(regions) + 1, -1);
    for (size_t a = 0; a < map_.Actors.size(); ++a) {
        const MapActor& actor = map_.Actors[a];
        if (!IsZoneInfoClass(actor.Class)) {
            continue;
        }
        const DVector location(ParseVectorValue(actor.Properties.Get("Location")));
        const int leaf = tree_.LeafAt(location);
        if (!Empty(leaf)) {
            Log("Warning: " + actor.Class + " " + actor.Name + " lies in solid space and marks no zone");
            continue;
        }
        int& owner = regionActor[static_cast<size_t>(region[static_cast<size_t>(leaf)])];
        if (owner >= 0) {
            Log("Warning: " + actor.Class + " " + actor.Name + " shares its zone with " +
                map_.Actors[static_cast<size_t>(owner)].Name + ", which marks it");
            continue;
        }
        owner = static_cast<int>(a);
    }
    return regionActor;
}

// Zone numbers for the regions; beyond the limit the regions without a zone actor (which all
// behave alike) and then the last ones share one number.
std::vector<int> NumberZones(const std::vector<int>& regionActor, int regions, ZoneResult& result) {
    std::vector<int> zoneOf(static_cast<size_t>(regions) + 1, 0);
    if (regions <= kMaxZones) {
        for (int r = 1; r <= regions; ++r) {
            zoneOf[static_cast<size_t>(r)] = r;
        }
        result.NumZones = regions;
    } else {
        Log("Warning: " + std::to_string(regions) + " zones; those beyond " + std::to_string(kMaxZones - 1) +
            " share zone " + std::to_string(kMaxZones));
        int next = 1;
        for (const bool marked : {true, false}) {
            for (int r = 1; r <= regions; ++r) {
                if ((regionActor[static_cast<size_t>(r)] >= 0) == marked) {
                    zoneOf[static_cast<size_t>(r)] = next < kMaxZones ? next++ : kMaxZones;
                }
            }
        }
        result.NumZones = kMaxZones;
    }
    result.ZoneActors.assign(static_cast<size_t>(result.NumZones) + 1, -1);
    for (int r = 1; r <= regions; ++r) {
        int& actor = result.ZoneActors[static_cast<size_t>(zoneOf[static_cast<size_t>(r)])];
        if (actor < 0) {
            actor = regionActor[static_cast<size_t>(r)];
        }
    }
    return zoneOf;
}

void ZoneBuilder::Flood(ZoneResult& result) {
    std::vector<int> region;
    const int regions = FloodRegions(result, region);
    const std::vector<int> zoneOf = NumberZones(ClaimRegions(region, regions), regions, result);
    for (size_t i = 0; i < tree_.Leaves.size(); ++i) {
        tree_.Leaves[i].Zone = zoneOf[static_cast<size_t>(region[i])];
    }
}

ZoneResult ZoneBuilder::Build(const std::function<bool(const DVector&)>& brushSaysSolid) {
    ZoneResult result;
    ResolveContents(brushSaysSolid, result);
    FindLeaks(result);
    Flood(result);
    return result;
}

int ZoneBeside(const BspTree& tree, int ref, const DVector& p) {
    while (!IsLeafRef(ref)) {
        const TreeNode& node = tree.Nodes[static_cast<size_t>(ref)];
        ref = node.Plane.Distance(p) >= 0.0 ? node.Front : node.Back;
    }
    return tree.Leaves[static_cast<size_t>(LeafOfRef(ref))].Zone;
}

} // namespace

ZoneResult BuildZones(BspTree& tree, const PortalSet& portals, const MapFile& map,
                      const std::function<bool(const DVector&)>& brushSaysSolid) {
    return ZoneBuilder(tree, portals, map).Build(brushSaysSolid);
}

std::vector<NodeZones> ComputeNodeZones(const BspTree& tree) {
    std::vector<NodeZones> zones(tree.Nodes.size());
    for (size_t i = 0; i < tree.Nodes.size(); ++i) {
        const TreeNode& main = tree.Nodes[i];
        if (main.Main != static_cast<int>(i)) {
            continue;
        }
        for (int c = static_cast<int>(i); c >= 0; c = tree.Nodes[static_cast<size_t>(c)].Coplanar) {
            const TreeNode& node = tree.Nodes[static_cast<size_t>(c)];
            const DVector centre = WindingCentre(node.Points);
            const int front = ZoneBeside(tree, main.Front, centre);
            const int back = ZoneBeside(tree, main.Back, centre);
            const bool same = Dot(node.Plane.Normal, main.Plane.Normal) > 0.0;
            zones[static_cast<size_t>(c)].Front = static_cast<uint8_t>(same ? front : back);
            zones[static_cast<size_t>(c)].Back = static_cast<uint8_t>(same ? back : front);
        }
    }
    // Children come after their parents, so one backward pass gathers every subtree's zones.
    auto bit = [](int zone) { return zone > 0 ? uint64_t(1) << zone : uint64_t(0); };
    for (size_t i = tree.Nodes.size(); i-- > 0;) {
        const TreeNode& node = tree.Nodes[i];
        if (node.Main != static_cast<int>(i)) {
            continue;
        }
        uint64_t mask = 0;
        for (int child : {node.Front, node.Back}) {
            mask |= IsLeafRef(child) ? bit(tree.Leaves[static_cast<size_t>(LeafOfRef(child))].Zone)
                                     : zones[static_cast<size_t>(child)].Mask;
        }
        for (int c = static_cast<int>(i); c >= 0; c = tree.Nodes[static_cast<size_t>(c)].Coplanar) {
            mask |= bit(zones[static_cast<size_t>(c)].Front) | bit(zones[static_cast<size_t>(c)].Back);
        }
        for (int c = static_cast<int>(i); c >= 0; c = tree.Nodes[static_cast<size_t>(c)].Coplanar) {
            zones[static_cast<size_t>(c)].Mask = mask;
        }
    }
    return zones;
}

} // namespace orv
