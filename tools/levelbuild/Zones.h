// From leaves to zones: the solidity of leaves that no solid-bounding face decides, the leak check
// (empty space reaching the outside of the world), the flood of empty leaves into zones through
// every portal that no zone-portal face covers, each zone's ZoneInfo actor, and the zone numbers
// every node carries.
#pragma once

#include "Bsp.h"
#include "MapFile.h"
#include "Portals.h"

#include <cstdint>
#include <functional>
#include <vector>

namespace orv {

// Zone numbers run from 1; 0 is solid and 63 means "none" in the node format.
constexpr int kMaxZones = 62;

struct LeakReport {
    int Leaf = -1;             // an empty leaf that touches the outside
    DVector Point;             // where it does
    std::vector<DVector> Path; // from an actor (or the leaf) out through portals to the outside
};

struct ZoneResult {
    int NumZones = 0;
    std::vector<int> ZoneActors; // per zone number (entry 0 unused): map actor index, or -1
    int LeakingLeaves = 0;
    std::vector<LeakReport> Leaks; // the first leak found, with its path
    int BlockedPortals = 0;        // portals closed by zone-portal faces
    int GuessedLeaves = 0;         // leaves whose solidity came from the brushes themselves
};

// Gives every leaf its contents: a leaf whose parent plane holds no solid-bounding face (only
// sheets) takes them from a neighbour across a portal that no such face touches; any left over ask
// `brushSaysSolid` at a point inside them. Then checks for leaks, floods zones and finds the zone
// actors of the map.
ZoneResult BuildZones(BspTree& tree, const PortalSet& portals, const MapFile& map,
                      const std::function<bool(const DVector&)>& brushSaysSolid);

// The zone on each side of every node's polygon (the first zone behind it, the second in front)
// and the mask of the zones below each node.
struct NodeZones {
    uint8_t Back = 0;
    uint8_t Front = 0;
    uint64_t Mask = 0;
};
std::vector<NodeZones> ComputeNodeZones(const BspTree& tree);

} // namespace orv
