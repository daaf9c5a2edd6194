// Portalisation: the convex cell of every leaf of the tree and the openings (portals) between
// neighbouring leaves, bounded by a box a little larger than the world. Leaves at the box's walls
// touch the outside, the void that empty space must never reach.
#pragma once

#include "Bsp.h"
#include "Winding.h"

#include <vector>

namespace orv {

constexpr int kOutsideLeaf = -1;

struct Portal {
    Winding Points; // wound with Plane's normal
    DPlane Plane;
    int Node = -1;            // the partitioning node whose plane it lies on; -1 on the world box
    int Front = kOutsideLeaf; // leaf on the plane's front side
    int Back = kOutsideLeaf;  // leaf behind it
};

struct PortalSet {
    std::vector<Portal> Portals;
    std::vector<std::vector<int>> LeafPortals; // per leaf, indices into Portals
    Bounds WorldBox;

    // A point inside a leaf's cell (the mean of its portal corners); false for a cell too thin to
    // have portals.
    bool LeafPoint(int leaf, DVector& point) const;
    // The leaf on the other side of a portal.
    int OtherSide(int portal, int leaf) const {
        const Portal& p = Portals[static_cast<size_t>(portal)];
        return p.Front == leaf ? p.Back : p.Front;
    }
};

PortalSet BuildPortals(const BspTree& tree);

} // namespace orv
