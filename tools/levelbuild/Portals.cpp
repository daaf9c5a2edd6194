// Portals by recursive cutting: every partitioning node's plane, clipped to the node's cell, opens
// between its two children; the portals around the cell are cut by the plane and handed down.
#include "Portals.h"

#include <algorithm>

namespace orv {

namespace {

// Portal corners this close to a cutting plane lie on it: cells of neighbouring leaves share their
// planes exactly, so only rounding has to be absorbed.
constexpr double kPortalEpsilon = 0.01;
// Portals with fewer than three edges longer than this are too thin to pass through: nothing that
// moves through a level is a twentieth of a unit thin.
constexpr double kMinPortalEdge = 0.05;
// How far the box around the world stands off its faces: room enough that the outermost leaves
// are whole cells between the world and the box, whatever the rounding of the faces.
constexpr double kWorldMargin = 64.0;

// Cells are nodes (their index) or leaves (node count + leaf index); -1 is the outside.
class PortalBuilder {
public:
    explicit PortalBuilder(const BspTree& tree) : tree_(tree), leafBase_(static_cast<int>(tree.Nodes.size())) {
        cellPortals_.resize(tree.Nodes.size() + tree.Leaves.size());
    }

    PortalSet Build();

private:
    struct WorkPortal {
        Winding Points;
        DPlane Plane;
        int Node;
        int Cells[2]; // front, back
        bool Alive = true;
    };

    int CellOf(int child) const { return IsLeafRef(child) ? leafBase_ + LeafOfRef(child) : child; }
    int Add(WorkPortal p) {
        const int index = static_cast<int>(work_.size());
        for (int cell : p.Cells) {
            if (cell >= 0) {
                cellPortals_[static_cast<size_t>(cell)].push_back(index);
            }
        }
        work_.push_back(std::move(p));
        return index;
    }
    void Unlink(int portal, int cell) {
        if (cell < 0) {
            return;
        }
        std::vector<int>& list = cellPortals_[static_cast<size_t>(cell)];
        list.erase(std::remove(list.begin(), list.end(), portal), list.end());
    }
    Bounds AddWorldBox();
    void CutNode(int node);

    const BspTree& tree_;
    const int leafBase_;
    std::vector<WorkPortal> work_;
    std::vector<std::vector<int>> cellPortals_;
    double size_ = 0;
};

void PortalBuilder::CutNode(int node) {
    const TreeNode& n = tree_.Nodes[static_cast<size_t>(node)];
    const int frontCell = CellOf(n.Front), backCell = CellOf(n.Back);
    // The opening between the two children: the plane clipped to this node's cell.
    Winding opening = BaseWindingForPlane(n.Plane, size_);
    const std::vector<int> around = cellPortals_[static_cast<size_t>(node)];
    for (int p : around) {
        const WorkPortal& wp = work_[static_cast<size_t>(p)];
        opening = ClipWinding(opening, wp.Plane, kPortalEpsilon, wp.Cells[0] == node);
        if (opening.empty()) {
            break;
        }
    }
    // The portals around the cell go to whichever children they bound.
    for (int p : around) {
        WorkPortal old = work_[static_cast<size_t>(p)];
        work_[static_cast<size_t>(p)].Alive = false;
        const int side = old.Cells[0] == node ? 0 : 1;
        Unlink(p, old.Cells[1 - side]);
        Winding f, b;
        const PlaneSide where = SplitWinding(old.Points, n.Plane, kPortalEpsilon, f, b);
        if (where == PlaneSide::On) {
            // On this node's own plane: the cell lies wholly to one side of it.
            const DVector cellward = side == 0 ? old.Plane.Normal : -old.Plane.Normal;
            (Dot(cellward, n.Plane.Normal) > 0.0 ? f : b) = old.Points;
        }
        for (Winding* piece : {&f, &b}) {
            if (piece->empty() || WindingIsDegenerate(*piece, kMinPortalEdge)) {
                continue;
            }
            WorkPortal child = old;
            child.Points = std::move(*piece);
            child.Cells[side] = piece == &f ? frontCell : backCell;
            child.Alive = true;
            Add(std::move(child));
        }
    }
    cellPortals_[static_cast<size_t>(node)].clear();
    if (!opening.empty() && !WindingIsDegenerate(opening, kMinPortalEdge)) {
        Add({std::move(opening), n.Plane, node, {frontCell, backCell}});
    }
    for (int child : {n.Front, n.Back}) {
        if (!IsLeafRef(child)) {
            CutNode(child);
        }
    }
}

// The six walls of a box a little larger than the world face inward: the root's cell in front,
// the outside behind.
Bounds PortalBuilder::AddWorldBox() {
    Bounds box;
    for (const TreeNode& node : tree_.Nodes) {
        box.Add(WindingBounds(node.Points));
    }
    if (box.IsEmpty()) {
        box.Add(DVector{0, 0, 0});
    }
    box.Min = box.Min - DVector{kWorldMargin, kWorldMargin, kWorldMargin};
    box.Max = box.Max + DVector{kWorldMargin, kWorldMargin, kWorldMargin};
    size_ = Length(box.Max - box.Min) + Length(box.Max) + Length(box.Min);
    const int root = CellOf(tree_.Root);
    for (int axis = 0; axis < 3; ++axis) {
        for (int sign : {1, -1}) {
            DPlane wall;
            DVector n;
            (axis == 0 ? n.X : axis == 1 ? n.Y : n.Z) = sign;
            wall.Normal = n;
            wall.Dist = sign > 0 ? box.Min[axis] : -box.Max[axis];
            Winding w = BaseWindingForPlane(wall, size_);
            for (int other = 0; other < 3; ++other) {
                if (other == axis) {
                    continue;
                }
                DVector m;
                (other == 0 ? m.X : other == 1 ? m.Y : m.Z) = 1;
                w = ClipWinding(w, {m, box.Min[other]}, kPortalEpsilon, true);
                w = ClipWinding(w, {-m, -box.Max[other]}, kPortalEpsilon, true);
            }
            Add({std::move(w), wall, -1, {root, kOutsideLeaf}});
        }
    }
    return box;
}

PortalSet PortalBuilder::Build() {
    PortalSet set;
    set.WorldBox = AddWorldBox();
    if (!IsLeafRef(tree_.Root)) {
        CutNode(tree_.Root);
    }
    set.LeafPortals.resize(tree_.Leaves.size());
    for (WorkPortal& wp : work_) {
        if (!wp.Alive) {
            continue;
        }
        Portal p;
        p.Points = std::move(wp.Points);
        p.Plane = wp.Plane;
        p.Node = wp.Node;
        p.Front = wp.Cells[0] < 0 ? kOutsideLeaf : wp.Cells[0] - leafBase_;
        p.Back = wp.Cells[1] < 0 ? kOutsideLeaf : wp.Cells[1] - leafBase_;
        const int index = static_cast<int>(set.Portals.size());
        for (int leaf : {p.Front, p.Back}) {
            if (leaf >= 0) {
                set.LeafPortals[static_cast<size_t>(leaf)].push_back(index);
            }
        }
        set.Portals.push_back(std::move(p));
    }
    return set;
}

} // namespace

bool PortalSet::LeafPoint(int leaf, DVector& point) const {
    DVector sum;
    int count = 0;
    for (int p : LeafPortals[static_cast<size_t>(leaf)]) {
        for (const DVector& v : Portals[static_cast<size_t>(p)].Points) {
            sum += v;
            ++count;
        }
    }
    if (count == 0) {
        return false;
    }
    point = sum * (1.0 / count);
    return true;
}

PortalSet BuildPortals(const BspTree& tree) { return PortalBuilder(tree).Build(); }

} // namespace orv
