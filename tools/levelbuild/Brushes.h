// The editor's brushes in world space: each applied Brush actor of the map becomes a solid with
// its faces placed by the brush transform, its CSG operation and solidity, and a small BSP of its
// own that says which side of its boundary a point or a polygon lies on (brushes need not be
// convex: stair and tube builders make concave ones).
#pragma once

#include "BuildMath.h"
#include "MapFile.h"
#include "Winding.h"

#include "content/BrushTransform.h"

#include <cstdint>
#include <string>
#include <vector>

namespace orv {

// Points closer than this to a brush plane count as on it during CSG.
constexpr double kCsgEpsilon = 0.05;

// Flag bits the editor keeps for itself (selection, marks of its own operations); never compiled.
constexpr uint32_t kEditorPolyFlags = 0x01000000u | 0x02000000u | 0x40000000u | 0x80000000u;

enum class CsgOp { Add, Subtract };

// Solid brushes carve in file order; semisolid ones add solid without cutting the others; non-solid
// ones (zone portals, sheets) only add their faces where space is empty.
enum class Solidity { Solid, Semisolid, NonSolid };

struct BrushFace {
    Winding Points; // world space, wound so that Plane's normal points out of the brush
    DPlane Plane;
    std::string Texture; // as written in the map
    uint32_t Flags = 0;  // the polygon's flags with the brush's PolyFlags, editor bits removed
    DVector Origin;      // texture origin, world space
    DVector TextureU;    // texture axes, world space: u = (p - Origin).TextureU
    DVector TextureV;
    int32_t PanU = 0;
    int32_t PanV = 0;
    int Polygon = 0; // index among the actor's polygons
};

// A brush's own BSP: children are node indices, or kInside / kOutside.
struct BrushTree {
    static constexpr int kInside = -1;
    static constexpr int kOutside = -2;
    struct Node {
        DPlane Plane;
        int Front = kOutside;
        int Back = kInside;
    };
    std::vector<Node> Nodes;
    int Root = kOutside;
};

struct BrushSolid {
    std::string Name;
    int Actor = 0; // index into the map's actors
    CsgOp Op = CsgOp::Add;
    Solidity Kind = Solidity::Solid;
    BrushTransform Transform;
    std::vector<BrushFace> Faces;
    Bounds Box;
    BrushTree Tree;

    // Strictly inside (a point on a face plane goes to the plane's front side, which is out).
    bool Contains(const DVector& p) const;

    // Sorts the pieces of a polygon lying on or near this brush into the parts inside and outside.
    // A piece lying on one of the brush's planes stands for the points just off it along
    // normal * side: it is inside when that offset point is.
    void Classify(const Winding& w, const DVector& normal, double side, std::vector<Winding>& inside,
                  std::vector<Winding>& outside) const;
};

struct BrushStats {
    int BrushActors = 0;     // every Brush actor, the builder brush included
    int Applied = 0;         // brushes that take part in the build
    int Polygons = 0;        // their polygons
    int DroppedPolygons = 0; // degenerate ones
};

// The world-space solids of the map's Brush actors with a CSG operation, in file order.
std::vector<BrushSolid> MakeBrushes(const MapFile& map, BrushStats& stats);

// The brush transform's linear part applied to a normal or texture axis: the inverse transpose,
// so that u = p.U is the same number before and after the brush is placed. Not normalised.
DVector TransformCovector(const BrushTransform& t, const DVector& v);

// The sign of the determinant of the brush transform's linear part (-1 for a mirrored brush).
double TransformDeterminant(const BrushTransform& t);

} // namespace orv
