// Double-precision planes and boxes for the level compiler (its vectors are core's DVector). The
// compiler works in double and only the written Level Model goes back to the engine's 32-bit floats.
#pragma once

#include "core/Vector.h"

#include <cmath>
#include <limits>

namespace orv {

// Points p with Normal.p - Dist > 0 are in front.
struct DPlane {
    DVector Normal;
    double Dist = 0.0;

    double Distance(const DVector& p) const { return Dot(Normal, p) - Dist; }
    DPlane Flipped() const { return {-Normal, -Dist}; }
};

struct Bounds {
    DVector Min{std::numeric_limits<double>::max(), std::numeric_limits<double>::max(),
                std::numeric_limits<double>::max()};
    DVector Max{-std::numeric_limits<double>::max(), -std::numeric_limits<double>::max(),
                -std::numeric_limits<double>::max()};

    bool IsEmpty() const { return Min.X > Max.X; }
    void Add(const DVector& p) {
        Min = {std::fmin(Min.X, p.X), std::fmin(Min.Y, p.Y), std::fmin(Min.Z, p.Z)};
        Max = {std::fmax(Max.X, p.X), std::fmax(Max.Y, p.Y), std::fmax(Max.Z, p.Z)};
    }
    void Add(const Bounds& b) {
        if (!b.IsEmpty()) {
            Add(b.Min);
            Add(b.Max);
        }
    }
    bool Overlaps(const Bounds& o, double margin) const {
        return Min.X <= o.Max.X + margin && o.Min.X <= Max.X + margin && Min.Y <= o.Max.Y + margin &&
               o.Min.Y <= Max.Y + margin && Min.Z <= o.Max.Z + margin && o.Min.Z <= Max.Z + margin;
    }
    bool Contains(const DVector& p, double margin) const {
        return p.X >= Min.X - margin && p.X <= Max.X + margin && p.Y >= Min.Y - margin && p.Y <= Max.Y + margin &&
               p.Z >= Min.Z - margin && p.Z <= Max.Z + margin;
    }
    // -1: wholly behind the plane by more than eps, 1: wholly in front, 0: touches or crosses it.
    int SideOf(const DPlane& p, double eps) const {
        const DVector centre = (Min + Max) * 0.5;
        const DVector half = (Max - Min) * 0.5;
        const double r =
            std::fabs(p.Normal.X) * half.X + std::fabs(p.Normal.Y) * half.Y + std::fabs(p.Normal.Z) * half.Z;
        const double d = p.Distance(centre);
        if (d > r + eps) {
            return 1;
        }
        if (d < -r - eps) {
            return -1;
        }
        return 0;
    }
};

} // namespace orv
