// Ordered CSG: from the brushes to the faces that separate solid from empty space. The world
// starts solid; solid brushes apply in file order and a point ends in the state of the last one
// containing it. Semisolid brushes then add solid without being cut by the others, and non-solid
// brushes (zone portals, sheets) add their faces wherever space is still empty.
#pragma once

#include "Brushes.h"
#include "Winding.h"

#include <vector>

namespace orv {

struct CsgFace {
    Winding Points; // wound so that Plane's normal points to the side the face is seen from
    DPlane Plane;
    int Brush = 0;           // index into the brushes
    int Face = 0;            // index into the brush's faces
    bool BoundsSolid = true; // solid lies behind it; false for sheets and zone portals
};

struct CsgStats {
    int Fragments = 0; // kept pieces before merging
    int Faces = 0;     // after merging pieces of one brush face back together
};

std::vector<CsgFace> BuildCsg(const std::vector<BrushSolid>& brushes, CsgStats& stats);

// The brushes' own verdict for a point: what the compiled world must agree with.
bool BrushesSaySolid(const std::vector<BrushSolid>& brushes, const DVector& p);

// Joins pieces of one polygon that share an edge wherever the result stays convex.
void MergeCoplanarPieces(std::vector<Winding>& pieces, const DVector& normal);

} // namespace orv
