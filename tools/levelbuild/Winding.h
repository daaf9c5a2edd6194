// Convex polygons in double precision: the faces, fragments and portals every stage of the level
// compiler cuts and classifies.
#pragma once

#include "BuildMath.h"

#include <vector>

namespace orv {

using Winding = std::vector<DVector>;

// Corners closer than this are one corner, and a corner this close to the line of its neighbours
// lies on it: a thousandth of a unit, far below anything a level shows and far above what cutting
// in double leaves behind.
constexpr double kWeldEpsilon = 0.001;
// A face without three edges longer than this (or with an area below its square) is a sliver
// that nothing would draw: a hundredth of a unit is a small part of the smallest texel.
constexpr double kMinFaceEdge = 0.01;

enum class PlaneSide { Front, Back, On, Split };

// Where a winding lies: vertices within eps of the plane count as on it.
PlaneSide ClassifyWinding(const Winding& w, const DPlane& plane, double eps);

// Cuts a winding by a plane. Front and back receive the pieces on each side (a winding wholly on
// one side is copied to that side); vertices within eps of the plane go to both pieces. A winding
// lying on the plane goes to neither and the result is On.
PlaneSide SplitWinding(const Winding& w, const DPlane& plane, double eps, Winding& front, Winding& back);

// The part in front of the plane (or behind it with keepFront false); a winding on the plane is kept.
Winding ClipWinding(const Winding& w, const DPlane& plane, double eps, bool keepFront = true);

// Newell's area-weighted normal: the direction of (V1 - V0) x (V2 - V0) for a convex polygon, and
// still right when the first vertices are collinear. Not normalised; zero for a degenerate winding.
DVector WindingAreaNormal(const Winding& w);
DPlane WindingPlane(const Winding& w);
double WindingArea(const Winding& w);
DVector WindingCentre(const Winding& w);
Bounds WindingBounds(const Winding& w);
Winding ReversedWinding(const Winding& w);

// A square of the given half size lying on the plane, wound so its normal is the plane's.
Winding BaseWindingForPlane(const DPlane& plane, double halfSize);

// Drops repeated corners (closer than eps) and corners on a straight edge.
Winding CleanWinding(const Winding& w, double eps);

// Fewer than three corners, or too thin to matter (no three edges longer than minEdge).
bool WindingIsDegenerate(const Winding& w, double minEdge);

// Every turn goes the way of the normal (collinear corners allowed within eps).
bool WindingIsConvex(const Winding& w, const DVector& normal, double eps);

// The corners pressed onto the plane, and of those the convex hull, wound with the plane's normal:
// editor exports hold polygons a little bent or dented by rounding.
Winding FlattenToConvex(const Winding& w, const DPlane& plane);

// The largest distance of a corner from the plane.
double WindingPlaneError(const Winding& w, const DPlane& plane);

} // namespace orv
