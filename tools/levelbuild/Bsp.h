// The world's BSP tree built from the CSG faces, in the editor's manner: each node splits by the
// face that balances splits against an even front/back count, zone portals first; faces on a node's
// plane hang on its coplanar chain. The finished tree answers "is this point solid" and "where does
// this segment first enter solid", which zones and lighting use.
#pragma once

#include "BuildMath.h"
#include "Winding.h"

#include <climits>
#include <cstdint>
#include <vector>

namespace orv {

// Corners closer than this to a splitting plane count as on it: a quarter unit takes in the
// editor's rounding of brush corners, and nothing a level shows is that thin.
constexpr double kBspThreshold = 0.25;
// Score of a splitter: (100 - Balance) x Splits + Balance x |Front - Back|; at 50 few cuts and an
// even tree weigh the same.
constexpr int kBspBalance = 50;
// Cutting a zone portal costs as much as this many ordinary cuts: its pieces must still close the
// zone between them, so portals are cut only where little else would do.
constexpr int kPortalSplitCost = 16;

struct BspFace {
    Winding Points;
    DPlane Plane; // normal toward the side the face is seen from
    int Surface = -1;
    bool BoundsSolid = true; // solid lies behind it (false for sheets and zone portals)
    bool ZonePortal = false;
    Bounds Box;
};

enum class LeafContents : uint8_t { Unknown, Empty, Solid };

// Children are node indices (>= 0) or leaves, written as -1 - leaf index.
constexpr int kNoChild = INT_MIN;
constexpr bool IsLeafRef(int child) { return child < 0 && child != kNoChild; }
constexpr int LeafOfRef(int child) { return -1 - child; }
constexpr int LeafRef(int leaf) { return -1 - leaf; }

struct TreeNode {
    DPlane Plane; // the node polygon's own plane, normal toward the side it is seen from
    Winding Points;
    int Surface = -1;
    bool BoundsSolid = true;
    bool ZonePortal = false;
    int Front = kNoChild; // set on the partitioning node of a chain only
    int Back = kNoChild;
    int Coplanar = -1; // next node on the same plane
    int Main = -1;     // the chain's partitioning node (itself for that node)
};

struct TreeLeaf {
    LeafContents Contents = LeafContents::Unknown;
    int Parent = -1;    // partitioning node above it
    bool Front = false; // on the parent plane's front side
    int Zone = 0;       // 0 in solid
};

struct BspStats {
    int Splits = 0;
    int Dropped = 0; // pieces too small to keep after a cut
};

struct BspTree {
    std::vector<TreeNode> Nodes;
    std::vector<TreeLeaf> Leaves;
    int Root = LeafRef(0);
    BspStats Stats;

    // The leaf holding a point: front where plane distance >= 0, as the engine walks the tree.
    int LeafAt(const DVector& p) const;
    bool IsSolid(const DVector& p) const {
        return Leaves[static_cast<size_t>(LeafAt(p))].Contents != LeafContents::Empty;
    }
    // Whether the segment from a to b enters a solid leaf, and where (a fraction of the way).
    bool TraceSolid(const DVector& a, const DVector& b, double* fraction = nullptr) const;
};

// Faces without a polygon worth keeping are dropped. An empty face list gives one solid leaf.
BspTree BuildBsp(std::vector<BspFace> faces);

} // namespace orv
