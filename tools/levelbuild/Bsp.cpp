// Building and querying the world's BSP tree.
#include "Bsp.h"

#include "content/LevelModel.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace orv {

namespace {

// Beyond this many faces in a set, only an even sample of them is tried as splitters.
constexpr size_t kMaxSplitCandidates = 1024;
// Pieces left by a cut smaller than this (in their edges and area) are dropped.
constexpr double kMinPieceEdge = kMinFaceEdge;

// Planes within about 8 degrees of each other count as one orientation for coplanar faces.
constexpr double kParallelDot = 0.99;

class BspBuilder {
public:
    explicit BspBuilder(BspTree& tree) : tree_(tree) {}

    int Build(std::vector<BspFace>& faces, LeafContents hint, int parent, bool frontSide);

private:
    size_t ChooseSplitter(const std::vector<BspFace>& faces) const;
    int AddChain(std::vector<BspFace>& group);

    BspTree& tree_;
};

// Where a face goes relative to a splitter.
enum class FacePlace {
    Front,
    Back,
    Coplanar, // joins the splitter's coplanar chain
    Cut,      // crosses the plane: split in two
    Sliver,   // within the threshold but tilted against the plane: no thicker than the threshold
              // across it, so the plane absorbs it and the face is dropped
};

FacePlace PlaceOf(const BspFace& face, const DPlane& plane) {
    const int boxSide = face.Box.SideOf(plane, kBspThreshold);
    if (boxSide != 0) {
        return boxSide > 0 ? FacePlace::Front : FacePlace::Back;
    }
    switch (ClassifyWinding(face.Points, plane, kBspThreshold)) {
    case PlaneSide::Front:
        return FacePlace::Front;
    case PlaneSide::Back:
        return FacePlace::Back;
    case PlaneSide::Split:
        return FacePlace::Cut;
    case PlaneSide::On:
        break;
    }
    return std::fabs(Dot(face.Plane.Normal, plane.Normal)) >= kParallelDot ? FacePlace::Coplanar : FacePlace::Sliver;
}

size_t BspBuilder::ChooseSplitter(const std::vector<BspFace>& faces) const {
    const bool portals = std::any_of(faces.begin(), faces.end(), [](const BspFace& f) { return f.ZonePortal; });
    const size_t step = std::max<size_t>(1, faces.size() / kMaxSplitCandidates);
    size_t best = 0;
    long long bestScore = -1;
    for (size_t c = 0; c < faces.size(); c += portals ? 1 : step) {
        if (portals && !faces[c].ZonePortal) {
            continue;
        }
        const DPlane& plane = faces[c].Plane;
        long long front = 0, back = 0, splits = 0;
        bool worse = false;
        for (size_t i = 0; i < faces.size(); ++i) {
            if (i == c) {
                continue;
            }
            switch (PlaceOf(faces[i], plane)) {
            case FacePlace::Front:
                ++front;
                break;
            case FacePlace::Back:
                ++back;
                break;
            case FacePlace::Cut:
                splits += faces[i].ZonePortal ? kPortalSplitCost : 1;
                break;
            case FacePlace::Coplanar:
            case FacePlace::Sliver:
                break;
            }
            if (bestScore >= 0 && (100 - kBspBalance) * splits > bestScore) {
                worse = true;
                break;
            }
        }
        if (worse) {
            continue;
        }
        const long long score = (100 - kBspBalance) * splits + kBspBalance * std::llabs(front - back);
        if (bestScore < 0 || score < bestScore) {
            bestScore = score;
            best = c;
        }
    }
    return best;
}

// The faces on one plane become a partitioning node and its coplanar chain; polygons of more than
// kMaxNodeVertices corners are cut into fans of consecutive corners.
int BspBuilder::AddChain(std::vector<BspFace>& group) {
    int first = -1, last = -1;
    for (BspFace& face : group) {
        Winding rest = std::move(face.Points);
        while (!rest.empty()) {
            Winding piece;
            if (rest.size() <= static_cast<size_t>(kMaxNodeVertices)) {
                piece = std::move(rest);
                rest.clear();
            } else {
                piece.assign(rest.begin(), rest.begin() + kMaxNodeVertices);
                Winding remaining{rest.front()};
                remaining.insert(remaining.end(), rest.begin() + kMaxNodeVertices - 1, rest.end());
                rest = std::move(remaining);
            }
            TreeNode node;
            node.Plane = face.Plane;
            node.Points = std::move(piece);
            node.Surface = face.Surface;
            node.BoundsSolid = face.BoundsSolid;
            node.ZonePortal = face.ZonePortal;
            const int index = static_cast<int>(tree_.Nodes.size());
            node.Main = first < 0 ? index : first;
            tree_.Nodes.push_back(std::move(node));
            if (last >= 0) {
                tree_.Nodes[static_cast<size_t>(last)].Coplanar = index;
            }
            if (first < 0) {
                first = index;
            }
            last = index;
        }
    }
    return first;
}

int BspBuilder::Build(std::vector<BspFace>& faces, LeafContents hint, int parent, bool frontSide) {
    if (faces.empty()) {
        tree_.Leaves.push_back({hint, parent, frontSide, 0});
        return LeafRef(static_cast<int>(tree_.Leaves.size()) - 1);
    }
    const size_t s = ChooseSplitter(faces);
    const DPlane plane = faces[s].Plane;
    std::vector<BspFace> front, back, group;
    group.push_back(std::move(faces[s]));
    for (size_t i = 0; i < faces.size(); ++i) {
        if (i == s) {
            continue;
        }
        BspFace& face = faces[i];
        switch (PlaceOf(face, plane)) {
        case FacePlace::Front:
            front.push_back(std::move(face));
            break;
        case FacePlace::Back:
            back.push_back(std::move(face));
            break;
        case FacePlace::Coplanar:
            group.push_back(std::move(face));
            break;
        case FacePlace::Sliver:
            ++tree_.Stats.Dropped;
            break;
        case FacePlace::Cut: {
            ++tree_.Stats.Splits;
            Winding f, b;
            SplitWinding(face.Points, plane, kBspThreshold, f, b);
            for (Winding* piece : {&f, &b}) {
                if (WindingIsDegenerate(*piece, kMinPieceEdge)) {
                    ++tree_.Stats.Dropped;
                    continue;
                }
                BspFace part = face;
                part.Points = std::move(*piece);
                part.Box = WindingBounds(part.Points);
                (piece == &f ? front : back).push_back(std::move(part));
            }
            break;
        }
        }
    }
    faces.clear();
    faces.shrink_to_fit();
    // A leaf right behind or before this plane is solid or empty as the first face bounding solid
    // here says; sheets and portals say nothing.
    LeafContents frontHint = LeafContents::Unknown, backHint = LeafContents::Unknown;
    for (const BspFace& face : group) {
        if (face.BoundsSolid) {
            const bool same = Dot(face.Plane.Normal, plane.Normal) > 0.0;
            frontHint = same ? LeafContents::Empty : LeafContents::Solid;
            backHint = same ? LeafContents::Solid : LeafContents::Empty;
            break;
        }
    }
    const int node = AddChain(group);
    const int frontChild = Build(front, frontHint, node, true);
    const int backChild = Build(back, backHint, node, false);
    tree_.Nodes[static_cast<size_t>(node)].Front = frontChild;
    tree_.Nodes[static_cast<size_t>(node)].Back = backChild;
    return node;
}

bool TraceNode(const BspTree& tree, int ref, const DVector& a, const DVector& b, double ta, double tb,
               double* fraction) {
    while (!IsLeafRef(ref)) {
        const TreeNode& node = tree.Nodes[static_cast<size_t>(ref)];
        const double da = node.Plane.Distance(a), db = node.Plane.Distance(b);
        if ((da >= 0.0) == (db >= 0.0)) {
            ref = da >= 0.0 ? node.Front : node.Back;
            continue;
        }
        const double t = da / (da - db);
        const DVector mid = a + (b - a) * t;
        const double tm = ta + (tb - ta) * t;
        const int nearChild = da >= 0.0 ? node.Front : node.Back;
        const int farChild = da >= 0.0 ? node.Back : node.Front;
        if (TraceNode(tree, nearChild, a, mid, ta, tm, fraction)) {
            return true;
        }
        return TraceNode(tree, farChild, mid, b, tm, tb, fraction);
    }
    if (tree.Leaves[static_cast<size_t>(LeafOfRef(ref))].Contents == LeafContents::Empty) {
        return false;
    }
    if (fraction) {
        *fraction = ta;
    }
    return true;
}

} // namespace

int BspTree::LeafAt(const DVector& p) const {
    int ref = Root;
    while (!IsLeafRef(ref)) {
        const TreeNode& node = Nodes[static_cast<size_t>(ref)];
        ref = node.Plane.Distance(p) >= 0.0 ? node.Front : node.Back;
    }
    return LeafOfRef(ref);
}

bool BspTree::TraceSolid(const DVector& a, const DVector& b, double* fraction) const {
    return TraceNode(*this, Root, a, b, 0.0, 1.0, fraction);
}

BspTree BuildBsp(std::vector<BspFace> faces) {
    BspTree tree;
    std::vector<BspFace> kept;
    for (BspFace& face : faces) {
        if (WindingIsDegenerate(face.Points, kMinPieceEdge)) {
            ++tree.Stats.Dropped;
            continue;
        }
        face.Box = WindingBounds(face.Points);
        kept.push_back(std::move(face));
    }
    tree.Root = BspBuilder(tree).Build(kept, LeafContents::Solid, -1, false);
    return tree;
}

} // namespace orv
