// Brush actors into world-space solids.
#include "Brushes.h"

#include "content/LevelModel.h"
#include "content/PropertyValues.h"
#include "content/T3dParser.h"
#include "core/Log.h"
#include "core/Text.h"

#include <cmath>

namespace orv {

namespace {

struct Axes {
    DVector A, B, C; // columns of the linear part
    double Det = 0;
};

Axes LinearPart(const BrushTransform& t) {
    Axes m;
    m.A = DVector(BrushDirectionToWorld(t, {1, 0, 0}));
    m.B = DVector(BrushDirectionToWorld(t, {0, 1, 0}));
    m.C = DVector(BrushDirectionToWorld(t, {0, 0, 1}));
    m.Det = Dot(m.A, Cross(m.B, m.C));
    return m;
}

BrushTransform ReadTransform(const PropertyList& p) {
    BrushTransform t;
    t.Location = ParseVectorValue(p.Get("Location"));
    t.Rotation = ParseRotatorValue(p.Get("Rotation"));
    t.PrePivot = ParseVectorValue(p.Get("PrePivot"));
    t.MainScale = ParseVectorOrCurrent(p.Get("MainScale"), {1, 1, 1});
    t.PostScale = ParseVectorOrCurrent(p.Get("PostScale"), {1, 1, 1});
    return t;
}

// A brush transform that shrinks volumes below this share has a scale of 0 on some axis: editors
// write scales with six decimals, so no real one comes near.
constexpr double kMinScaleVolume = 1e-9;

// Editors round brush corners, so the faces of a convex brush can poke a little past each other's
// planes; cutting there would make slivers that turn whole half-spaces inside out. Only faces
// reaching further than this past a plane are cut by it.
constexpr double kBrushTreeEpsilon = 0.5;

// Autopartition: each node splits by the first remaining face; the rest go down the sides.
int BuildBrushNode(BrushTree& tree, std::vector<std::pair<Winding, DPlane>> faces, int emptyChild) {
    if (faces.empty()) {
        return emptyChild;
    }
    const DPlane plane = faces[0].second;
    std::vector<std::pair<Winding, DPlane>> front, back;
    Winding f, b;
    for (size_t i = 1; i < faces.size(); ++i) {
        switch (SplitWinding(faces[i].first, plane, kBrushTreeEpsilon, f, b)) {
        case PlaneSide::Front:
            front.emplace_back(std::move(f), faces[i].second);
            break;
        case PlaneSide::Back:
            back.emplace_back(std::move(b), faces[i].second);
            break;
        case PlaneSide::Split:
            front.emplace_back(std::move(f), faces[i].second);
            back.emplace_back(std::move(b), faces[i].second);
            break;
        case PlaneSide::On:
            break; // the node's plane already stands for it
        }
    }
    const int index = static_cast<int>(tree.Nodes.size());
    tree.Nodes.push_back({plane, BrushTree::kOutside, BrushTree::kInside});
    const int frontChild = BuildBrushNode(tree, std::move(front), BrushTree::kOutside);
    const int backChild = BuildBrushNode(tree, std::move(back), BrushTree::kInside);
    tree.Nodes[static_cast<size_t>(index)].Front = frontChild;
    tree.Nodes[static_cast<size_t>(index)].Back = backChild;
    return index;
}

void WarnSheer(const MapActor& actor) {
    for (const char* key : {"MainScale", "PostScale"}) {
        const std::string& value = actor.Properties.Get(key);
        if (ParseDouble(TextBetween(value, "SheerRate=", ",)")) != 0.0) {
            Log("Warning: " + actor.Name + ": " + key + " sheer is not applied");
        }
    }
}

} // namespace

DVector TransformCovector(const BrushTransform& t, const DVector& v) {
    const Axes m = LinearPart(t);
    if (m.Det == 0.0) {
        return {};
    }
    // Columns of the inverse transpose are (B x C, C x A, A x B) / det.
    return (Cross(m.B, m.C) * v.X + Cross(m.C, m.A) * v.Y + Cross(m.A, m.B) * v.Z) * (1.0 / m.Det);
}

double TransformDeterminant(const BrushTransform& t) {
    const double det = LinearPart(t).Det;
    return det < 0.0 ? -1.0 : (det > 0.0 ? 1.0 : 0.0);
}

bool BrushSolid::Contains(const DVector& p) const {
    int node = Tree.Root;
    while (node >= 0) {
        const BrushTree::Node& n = Tree.Nodes[static_cast<size_t>(node)];
        node = n.Plane.Distance(p) >= 0.0 ? n.Front : n.Back;
    }
    return node == BrushTree::kInside;
}

void BrushSolid::Classify(const Winding& w, const DVector& normal, double side, std::vector<Winding>& inside,
                          std::vector<Winding>& outside) const {
    struct Item {
        Winding Points;
        int Node;
    };
    std::vector<Item> stack;
    stack.push_back({w, Tree.Root});
    Winding f, b;
    while (!stack.empty()) {
        Item item = std::move(stack.back());
        stack.pop_back();
        if (item.Node < 0) {
            (item.Node == BrushTree::kInside ? inside : outside).push_back(std::move(item.Points));
            continue;
        }
        const BrushTree::Node& n = Tree.Nodes[static_cast<size_t>(item.Node)];
        switch (SplitWinding(item.Points, n.Plane, kCsgEpsilon, f, b)) {
        case PlaneSide::Front:
            stack.push_back({std::move(item.Points), n.Front});
            break;
        case PlaneSide::Back:
            stack.push_back({std::move(item.Points), n.Back});
            break;
        case PlaneSide::Split:
            stack.push_back({std::move(b), n.Back});
            stack.push_back({std::move(f), n.Front});
            break;
        case PlaneSide::On:
            stack.push_back({std::move(item.Points), side * Dot(normal, n.Plane.Normal) > 0.0 ? n.Front : n.Back});
            break;
        }
    }
}

namespace {

// The CSG operation, solidity, name and transform of a Brush actor; false for one not built.
bool ReadBrush(const MapActor& actor, BrushSolid& brush, uint32_t& polyFlags) {
    const std::string* oper = actor.Properties.Find("CsgOper");
    if (!oper || SameText(*oper, "CSG_Active")) {
        return false; // the builder brush and other brushes that were never applied
    }
    if (SameText(*oper, "CSG_Add")) {
        brush.Op = CsgOp::Add;
    } else if (SameText(*oper, "CSG_Subtract")) {
        brush.Op = CsgOp::Subtract;
    } else {
        Log("Warning: " + actor.Name + ": CSG operation " + *oper + " is not built");
        return false;
    }
    polyFlags = ParseT3dFlags(actor.Properties.Get("PolyFlags"));
    brush.Kind = (polyFlags & PF_NotSolid)    ? Solidity::NonSolid
                 : (polyFlags & PF_Semisolid) ? Solidity::Semisolid
                                              : Solidity::Solid;
    if (brush.Op == CsgOp::Subtract && brush.Kind == Solidity::Semisolid) {
        brush.Kind = Solidity::NonSolid; // a semisolid hole carves nothing: only its faces remain
    }
    brush.Name = actor.Name;
    brush.Transform = ReadTransform(actor.Properties);
    WarnSheer(actor);
    if (std::fabs(LinearPart(brush.Transform).Det) < kMinScaleVolume) {
        Log("Warning: " + actor.Name + ": flattened by its scale, not built");
        return false;
    }
    return true;
}

// A polygon placed in the world; false for one too small to keep.
bool PlaceFace(const T3dPolygon& poly, const BrushTransform& t, bool mirrored, BrushFace& face) {
    Winding w;
    w.reserve(static_cast<size_t>(poly.Vertices.Num()));
    for (const Vector& v : poly.Vertices) {
        w.push_back(DVector(BrushVertexToWorld(t, v)));
    }
    if (mirrored) {
        w = ReversedWinding(w); // a mirror turns the winding inside out
    }
    w = CleanWinding(w, kWeldEpsilon);
    if (WindingIsDegenerate(w, kMinFaceEdge)) {
        return false;
    }
    face.Plane = WindingPlane(w);
    face.Points = CleanWinding(FlattenToConvex(w, face.Plane), kWeldEpsilon);
    if (WindingIsDegenerate(face.Points, kMinFaceEdge)) {
        return false;
    }
    face.Texture = poly.TextureName.value_or("");
    face.Origin = DVector(BrushVertexToWorld(t, poly.Origin));
    face.TextureU = TransformCovector(t, DVector(poly.TextureU));
    face.TextureV = TransformCovector(t, DVector(poly.TextureV));
    face.PanU = poly.PanU;
    face.PanV = poly.PanV;
    return true;
}

} // namespace

std::vector<BrushSolid> MakeBrushes(const MapFile& map, BrushStats& stats) {
    std::vector<BrushSolid> brushes;
    for (size_t a = 0; a < map.Actors.size(); ++a) {
        const MapActor& actor = map.Actors[a];
        if (!SameText(actor.Class, "Brush")) {
            continue;
        }
        ++stats.BrushActors;
        BrushSolid brush;
        uint32_t polyFlags = 0;
        if (!ReadBrush(actor, brush, polyFlags)) {
            continue;
        }
        brush.Actor = static_cast<int>(a);
        const bool mirrored = TransformDeterminant(brush.Transform) < 0.0;
        for (size_t i = 0; i < actor.Polygons.size(); ++i) {
            ++stats.Polygons;
            BrushFace face;
            if (!PlaceFace(actor.Polygons[i], brush.Transform, mirrored, face)) {
                ++stats.DroppedPolygons;
                continue;
            }
            face.Flags = (actor.Polygons[i].Flags | polyFlags) & ~kEditorPolyFlags;
            face.Polygon = static_cast<int>(i);
            brush.Box.Add(WindingBounds(face.Points));
            brush.Faces.push_back(std::move(face));
        }
        if (brush.Faces.empty()) {
            continue;
        }
        if (brush.Kind != Solidity::NonSolid && brush.Faces.size() < 4) {
            Log("Warning: " + actor.Name + " encloses no space (" + std::to_string(brush.Faces.size()) +
                " faces); its faces are added as a sheet");
            brush.Kind = Solidity::NonSolid;
        }
        std::vector<std::pair<Winding, DPlane>> faces;
        for (const BrushFace& f : brush.Faces) {
            faces.emplace_back(f.Points, f.Plane);
        }
        brush.Tree.Root = BuildBrushNode(brush.Tree, std::move(faces), BrushTree::kOutside);
        ++stats.Applied;
        brushes.push_back(std::move(brush));
    }
    return brushes;
}

} // namespace orv
