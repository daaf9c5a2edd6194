// The faces that survive ordered CSG.
//
// For a face f of brush i and a point x on it, let I and O be the points just inside and just
// outside brush i. The world's boundary passes through x exactly when the final states at I and O
// differ. If a later solid brush contains I or O, either both sides end in its state or that
// brush has a face through x of its own, which then stands for the boundary (so coplanar faces of
// touching brushes never double up, and the later brush's texture wins). Otherwise I ends in brush
// i's state and O in the state of the last earlier brush containing it (solid when none does).
#include "Csg.h"

#include <algorithm>

namespace orv {

namespace {

class CsgBuilder {
public:
    explicit CsgBuilder(const std::vector<BrushSolid>& brushes) : brushes_(brushes) {
        for (size_t i = 0; i < brushes.size(); ++i) {
            switch (brushes[i].Kind) {
            case Solidity::Solid:
                solid_.push_back(static_cast<int>(i));
                break;
            case Solidity::Semisolid:
                semisolid_.push_back(static_cast<int>(i));
                break;
            case Solidity::NonSolid:
                nonSolid_.push_back(static_cast<int>(i));
                break;
            }
        }
    }

    std::vector<CsgFace> Build(CsgStats& stats) const {
        std::vector<CsgFace> out;
        SolidPass(out, stats);
        SemisolidPass(out, stats);
        SheetPass(out, stats);
        return out;
    }

private:
    using Pieces = std::vector<Winding>;

    // Drops the pieces whose offset points (along normal * side) lie inside the brush.
    void RemoveInside(Pieces& pieces, int brush, const DVector& normal, double side) const {
        const BrushSolid& b = brushes_[static_cast<size_t>(brush)];
        Pieces kept, inside;
        for (Winding& w : pieces) {
            if (!WindingBounds(w).Overlaps(b.Box, kCsgEpsilon)) {
                kept.push_back(std::move(w));
                continue;
            }
            inside.clear();
            b.Classify(w, normal, side, inside, kept);
        }
        pieces = std::move(kept);
    }

    // Sorts pieces by the state the solid brushes before position `limit` (in file order) leave
    // at their offset points: the last brush containing a point decides, the world starts solid.
    void SortByWorld(Pieces pieces, const DVector& normal, double side, size_t limit, Pieces* solidOut,
                     Pieces* emptyOut) const {
        Pieces inside, outside;
        for (size_t k = limit; k-- > 0 && !pieces.empty();) {
            const BrushSolid& b = brushes_[static_cast<size_t>(solid_[k])];
            outside.clear();
            for (Winding& w : pieces) {
                if (!WindingBounds(w).Overlaps(b.Box, kCsgEpsilon)) {
                    outside.push_back(std::move(w));
                    continue;
                }
                inside.clear();
                b.Classify(w, normal, side, inside, outside);
                Pieces* out = b.Op == CsgOp::Add ? solidOut : emptyOut;
                if (out) {
                    for (Winding& piece : inside) {
                        out->push_back(std::move(piece));
                    }
                }
            }
            std::swap(pieces, outside);
        }
        if (solidOut) {
            for (Winding& w : pieces) {
                solidOut->push_back(std::move(w));
            }
        }
    }

    Pieces EmptyInWorld(Pieces pieces, const DVector& normal, double side) const {
        Pieces empty;
        SortByWorld(std::move(pieces), normal, side, solid_.size(), nullptr, &empty);
        return empty;
    }

    void SolidPass(std::vector<CsgFace>& out, CsgStats& stats) const;
    void SemisolidPass(std::vector<CsgFace>& out, CsgStats& stats) const;
    void SheetPass(std::vector<CsgFace>& out, CsgStats& stats) const;
    void Emit(Pieces pieces, int brush, int face, bool flip, bool boundsSolid, std::vector<CsgFace>& out,
              CsgStats& stats) const;

    const std::vector<BrushSolid>& brushes_;
    std::vector<int> solid_, semisolid_, nonSolid_;
};

void CsgBuilder::Emit(Pieces pieces, int brush, int face, bool flip, bool boundsSolid, std::vector<CsgFace>& out,
                      CsgStats& stats) const {
    const BrushFace& f = brushes_[static_cast<size_t>(brush)].Faces[static_cast<size_t>(face)];
    stats.Fragments += static_cast<int>(pieces.size());
    MergeCoplanarPieces(pieces, f.Plane.Normal);
    for (Winding& w : pieces) {
        w = CleanWinding(w, kWeldEpsilon);
        if (WindingIsDegenerate(w, kMinFaceEdge)) {
            continue;
        }
        CsgFace result;
        result.Plane = flip ? f.Plane.Flipped() : f.Plane;
        result.Points = flip ? ReversedWinding(w) : std::move(w);
        result.Brush = brush;
        result.Face = face;
        result.BoundsSolid = boundsSolid;
        out.push_back(std::move(result));
        ++stats.Faces;
    }
}

// Solid brushes in file order.
void CsgBuilder::SolidPass(std::vector<CsgFace>& out, CsgStats& stats) const {
    for (size_t pos = 0; pos < solid_.size(); ++pos) {
        const int i = solid_[pos];
        const BrushSolid& brush = brushes_[static_cast<size_t>(i)];
        for (size_t fi = 0; fi < brush.Faces.size(); ++fi) {
            const BrushFace& face = brush.Faces[fi];
            const DVector n = face.Plane.Normal;
            const Bounds box = WindingBounds(face.Points);
            Pieces pieces{face.Points};
            for (size_t later = pos + 1; later < solid_.size() && !pieces.empty(); ++later) {
                if (box.Overlaps(brushes_[static_cast<size_t>(solid_[later])].Box, kCsgEpsilon)) {
                    RemoveInside(pieces, solid_[later], n, 1.0);
                    RemoveInside(pieces, solid_[later], n, -1.0);
                }
            }
            Pieces solidOutside, emptyOutside;
            SortByWorld(std::move(pieces), n, 1.0, pos, &solidOutside, &emptyOutside);
            // An added brush shows where it meets empty space; a subtracted one where it meets solid,
            // seen from inside.
            const bool add = brush.Op == CsgOp::Add;
            Pieces kept = add ? std::move(emptyOutside) : std::move(solidOutside);
            const DVector visible = add ? n : -n;
            for (int s : semisolid_) {
                RemoveInside(kept, s, visible, 1.0); // hidden inside a semisolid brush
            }
            Emit(std::move(kept), i, static_cast<int>(fi), !add, true, out, stats);
        }
    }
}

// Semisolid brushes: their union, wherever the solid pass left space empty. Of two coplanar faces
// on the union's boundary the later brush's is kept.
void CsgBuilder::SemisolidPass(std::vector<CsgFace>& out, CsgStats& stats) const {
    for (size_t pos = 0; pos < semisolid_.size(); ++pos) {
        const int i = semisolid_[pos];
        const BrushSolid& brush = brushes_[static_cast<size_t>(i)];
        for (size_t fi = 0; fi < brush.Faces.size(); ++fi) {
            const DVector n = brush.Faces[fi].Plane.Normal;
            Pieces pieces{brush.Faces[fi].Points};
            for (size_t other = 0; other < semisolid_.size(); ++other) {
                if (other == pos) {
                    continue;
                }
                RemoveInside(pieces, semisolid_[other], n, 1.0);
                if (other > pos) {
                    RemoveInside(pieces, semisolid_[other], n, -1.0);
                }
            }
            // Where the solid pass left solid right behind the face too, its own face is already there.
            pieces = EmptyInWorld(std::move(pieces), n, 1.0);
            Emit(EmptyInWorld(std::move(pieces), n, -1.0), i, static_cast<int>(fi), false, true, out, stats);
        }
    }
}

// Non-solid brushes: their faces where both sides are empty.
void CsgBuilder::SheetPass(std::vector<CsgFace>& out, CsgStats& stats) const {
    for (int i : nonSolid_) {
        const BrushSolid& brush = brushes_[static_cast<size_t>(i)];
        const bool add = brush.Op == CsgOp::Add;
        for (size_t fi = 0; fi < brush.Faces.size(); ++fi) {
            const DVector visible = add ? brush.Faces[fi].Plane.Normal : -brush.Faces[fi].Plane.Normal;
            Pieces pieces = EmptyInWorld({brush.Faces[fi].Points}, visible, 1.0);
            pieces = EmptyInWorld(std::move(pieces), visible, -1.0);
            for (int s : semisolid_) {
                RemoveInside(pieces, s, visible, 1.0);
                RemoveInside(pieces, s, visible, -1.0);
            }
            Emit(std::move(pieces), i, static_cast<int>(fi), !add, false, out, stats);
        }
    }
}

// Joins a and b when a has the edge p -> q and b the edge q -> p, and the result is convex.
bool TryMerge(const Winding& a, const Winding& b, const DVector& normal, Winding& merged) {
    // Pieces cut from one face by different brushes meet at corners computed apart: a hundredth
    // of a unit still makes them one edge.
    constexpr double kSame = 0.01;
    const size_t na = a.size(), nb = b.size();
    for (size_t i = 0; i < na; ++i) {
        const DVector& p = a[i];
        const DVector& q = a[(i + 1) % na];
        for (size_t j = 0; j < nb; ++j) {
            if (Length(b[j] - q) > kSame || Length(b[(j + 1) % nb] - p) > kSame) {
                continue;
            }
            merged.clear();
            // a from q round to p, then b's corners strictly between p and q.
            for (size_t k = 0; k < na; ++k) {
                merged.push_back(a[(i + 1 + k) % na]);
            }
            for (size_t k = 2; k < nb; ++k) {
                merged.push_back(b[(j + k) % nb]);
            }
            merged = CleanWinding(merged, kWeldEpsilon);
            return merged.size() >= 3 && WindingIsConvex(merged, normal, kWeldEpsilon);
        }
    }
    return false;
}

} // namespace

void MergeCoplanarPieces(std::vector<Winding>& pieces, const DVector& normal) {
    Winding merged;
    bool changed = true;
    while (changed) {
        changed = false;
        for (size_t i = 0; i < pieces.size(); ++i) {
            // Grow piece i as far as it goes before moving on.
            for (size_t j = i + 1; j < pieces.size();) {
                if (TryMerge(pieces[i], pieces[j], normal, merged)) {
                    pieces[i] = std::move(merged);
                    pieces.erase(pieces.begin() + static_cast<std::ptrdiff_t>(j));
                    changed = true;
                    j = i + 1;
                } else {
                    ++j;
                }
            }
        }
    }
}

std::vector<CsgFace> BuildCsg(const std::vector<BrushSolid>& brushes, CsgStats& stats) {
    return CsgBuilder(brushes).Build(stats);
}

bool BrushesSaySolid(const std::vector<BrushSolid>& brushes, const DVector& p) {
    bool solid = true;
    for (const BrushSolid& b : brushes) {
        if (b.Kind == Solidity::Solid && b.Contains(p)) {
            solid = b.Op == CsgOp::Add;
        }
    }
    for (const BrushSolid& b : brushes) {
        solid = solid || (b.Kind == Solidity::Semisolid && b.Contains(p));
    }
    return solid;
}

} // namespace orv
