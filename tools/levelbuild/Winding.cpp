// Convex polygon cutting and measuring.
#include "Winding.h"

#include <algorithm>
#include <cmath>

namespace orv {

namespace {

void SideCounts(const Winding& w, const DPlane& plane, double eps, std::vector<double>& dists, std::vector<int>& sides,
                int& front, int& back) {
    const size_t n = w.size();
    dists.resize(n);
    sides.resize(n);
    front = back = 0;
    for (size_t i = 0; i < n; ++i) {
        const double d = plane.Distance(w[i]);
        dists[i] = d;
        if (d > eps) {
            sides[i] = 1;
            ++front;
        } else if (d < -eps) {
            sides[i] = -1;
            ++back;
        } else {
            sides[i] = 0;
        }
    }
}

} // namespace

PlaneSide ClassifyWinding(const Winding& w, const DPlane& plane, double eps) {
    bool front = false, back = false;
    for (const DVector& p : w) {
        const double d = plane.Distance(p);
        front |= d > eps;
        back |= d < -eps;
    }
    if (front && back) {
        return PlaneSide::Split;
    }
    return front ? PlaneSide::Front : (back ? PlaneSide::Back : PlaneSide::On);
}

PlaneSide SplitWinding(const Winding& w, const DPlane& plane, double eps, Winding& front, Winding& back) {
    front.clear();
    back.clear();
    thread_local std::vector<double> dists;
    thread_local std::vector<int> sides;
    int nFront = 0, nBack = 0;
    SideCounts(w, plane, eps, dists, sides, nFront, nBack);
    if (nFront == 0 && nBack == 0) {
        return PlaneSide::On;
    }
    if (nBack == 0) {
        front = w;
        return PlaneSide::Front;
    }
    if (nFront == 0) {
        back = w;
        return PlaneSide::Back;
    }
    const size_t n = w.size();
    front.reserve(n + 2);
    back.reserve(n + 2);
    for (size_t i = 0; i < n; ++i) {
        const DVector& p = w[i];
        if (sides[i] == 0) {
            front.push_back(p);
            back.push_back(p);
            continue;
        }
        (sides[i] > 0 ? front : back).push_back(p);
        const size_t j = (i + 1) % n;
        if (sides[j] == 0 || sides[j] == sides[i]) {
            continue;
        }
        // The edge crosses the plane: the cut point is exactly on it.
        const double t = dists[i] / (dists[i] - dists[j]);
        const DVector q = p + (w[j] - p) * t;
        front.push_back(q);
        back.push_back(q);
    }
    return PlaneSide::Split;
}

Winding ClipWinding(const Winding& w, const DPlane& plane, double eps, bool keepFront) {
    Winding front, back;
    const PlaneSide side = SplitWinding(w, plane, eps, front, back);
    if (side == PlaneSide::On) {
        return w;
    }
    return keepFront ? front : back;
}

DVector WindingAreaNormal(const Winding& w) {
    DVector n;
    const size_t count = w.size();
    if (count < 3) {
        return n;
    }
    // Relative to the first corner, so far-away polygons keep their precision.
    const DVector o = w[0];
    for (size_t i = 1; i + 1 < count; ++i) {
        n += Cross(w[i] - o, w[i + 1] - o);
    }
    return n;
}

DPlane WindingPlane(const Winding& w) {
    const DVector normal = Normalized(WindingAreaNormal(w));
    return {normal, Dot(normal, WindingCentre(w))};
}

double WindingArea(const Winding& w) { return 0.5 * Length(WindingAreaNormal(w)); }

DVector WindingCentre(const Winding& w) {
    DVector sum;
    for (const DVector& p : w) {
        sum += p;
    }
    return w.empty() ? sum : sum * (1.0 / static_cast<double>(w.size()));
}

Bounds WindingBounds(const Winding& w) {
    Bounds b;
    for (const DVector& p : w) {
        b.Add(p);
    }
    return b;
}

Winding ReversedWinding(const Winding& w) { return Winding(w.rbegin(), w.rend()); }

Winding BaseWindingForPlane(const DPlane& plane, double halfSize) {
    const DVector n = plane.Normal;
    // The axis least aligned with the normal gives a stable first edge direction.
    DVector up{0, 0, 1};
    if (std::fabs(n.Z) > std::fabs(n.X) && std::fabs(n.Z) > std::fabs(n.Y)) {
        up = {1, 0, 0};
    }
    const DVector u = Normalized(Cross(up, n));
    const DVector v = Cross(n, u);
    const DVector origin = n * plane.Dist;
    const DVector a = u * halfSize, b = v * halfSize;
    // (u, v, n) is right-handed, so u, v order gives the plane's normal.
    return {origin - a - b, origin + a - b, origin + a + b, origin - a + b};
}

Winding CleanWinding(const Winding& w, double eps) {
    Winding out;
    out.reserve(w.size());
    for (const DVector& p : w) {
        if (out.empty() || Length(p - out.back()) > eps) {
            out.push_back(p);
        }
    }
    while (out.size() > 1 && Length(out.front() - out.back()) <= eps) {
        out.pop_back();
    }
    // Corners on a straight line between their neighbours add nothing.
    bool removed = true;
    while (removed && out.size() > 3) {
        removed = false;
        for (size_t i = 0; i < out.size() && out.size() > 3; ++i) {
            const DVector& prev = out[(i + out.size() - 1) % out.size()];
            const DVector& next = out[(i + 1) % out.size()];
            const DVector edge = next - prev;
            const double len = Length(edge);
            if (len <= eps) {
                continue;
            }
            const double offLine = Length(Cross(out[i] - prev, edge)) / len;
            const double along = Dot(out[i] - prev, edge) / (len * len);
            if (offLine <= eps && along > 0.0 && along < 1.0) {
                out.erase(out.begin() + static_cast<std::ptrdiff_t>(i));
                removed = true;
                --i;
            }
        }
    }
    return out;
}

bool WindingIsDegenerate(const Winding& w, double minEdge) {
    if (w.size() < 3) {
        return true;
    }
    int longEdges = 0;
    for (size_t i = 0; i < w.size(); ++i) {
        if (Length(w[(i + 1) % w.size()] - w[i]) > minEdge) {
            ++longEdges;
        }
    }
    return longEdges < 3 || WindingArea(w) < minEdge * minEdge;
}

bool WindingIsConvex(const Winding& w, const DVector& normal, double eps) {
    const size_t n = w.size();
    if (n < 3) {
        return false;
    }
    for (size_t i = 0; i < n; ++i) {
        const DVector& a = w[i];
        const DVector edge = w[(i + 1) % n] - a;
        if (Length(edge) <= 0.0) {
            continue;
        }
        // Every corner lies on the inner side of every edge's line.
        const DVector inward = Normalized(Cross(normal, edge));
        for (const DVector& c : w) {
            if (Dot(c - a, inward) < -eps) {
                return false;
            }
        }
    }
    return true;
}

Winding FlattenToConvex(const Winding& w, const DPlane& plane) {
    const DVector n = plane.Normal;
    const Winding square = BaseWindingForPlane(plane, 1.0);
    const DVector u = Normalized(square[1] - square[0]);
    const DVector v = Cross(n, u);
    struct Corner {
        double X, Y;
        DVector P;
    };
    std::vector<Corner> corners;
    for (const DVector& p : w) {
        const DVector q = p - n * plane.Distance(p);
        corners.push_back({Dot(q, u), Dot(q, v), q});
    }
    std::sort(corners.begin(), corners.end(),
              [](const Corner& a, const Corner& b) { return a.X < b.X || (a.X == b.X && a.Y < b.Y); });
    // Andrew's monotone chain; turns that are not strictly left are dropped.
    auto turn = [](const Corner& o, const Corner& a, const Corner& b) {
        return (a.X - o.X) * (b.Y - o.Y) - (a.Y - o.Y) * (b.X - o.X);
    };
    std::vector<Corner> hull;
    for (int pass = 0; pass < 2; ++pass) {
        const size_t base = hull.size();
        for (size_t k = 0; k < corners.size(); ++k) {
            const Corner& c = corners[pass == 0 ? k : corners.size() - 1 - k];
            while (hull.size() >= base + 2 && turn(hull[hull.size() - 2], hull.back(), c) <= 0.0) {
                hull.pop_back();
            }
            hull.push_back(c);
        }
        hull.pop_back(); // the last of each half starts the other
    }
    Winding out;
    for (const Corner& c : hull) {
        out.push_back(c.P);
    }
    return out;
}

double WindingPlaneError(const Winding& w, const DPlane& plane) {
    double worst = 0.0;
    for (const DVector& p : w) {
        worst = std::max(worst, std::fabs(plane.Distance(p)));
    }
    return worst;
}

} // namespace orv
