// The triangle grid.
#include "world/LocationHash.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace orv {

namespace {

const std::vector<const WorldTriangle*> kEmptyCell;

// A triangle whose box covers more cells than this (a real level's widest floor covers 64 x 64 x 1),
// or reaches beyond the capped grid, is kept on one list that every query returns.
constexpr int64_t kMaxCellsPerTriangle = 65536;

int FloorToInt(double v) {
    if (!(v == v)) {
        return std::numeric_limits<int>::min();
    }
    v = std::floor(v);
    if (v < std::numeric_limits<int>::min()) {
        return std::numeric_limits<int>::min();
    }
    if (v > std::numeric_limits<int>::max()) {
        return std::numeric_limits<int>::max();
    }
    return static_cast<int>(v);
}

} // namespace

void LocationHash::Clear() {
    cells_.clear();
    wide_.clear();
    sizeX_ = sizeY_ = sizeZ_ = 0;
    origin_ = max_ = {};
}

CellCoord LocationHash::CellOf(const Vector& p) const {
    return {FloorToInt((double(p.X) - origin_.X) / kLocationHashCell), FloorToInt((double(p.Y) - origin_.Y) / kLocationHashCell),
            FloorToInt((double(p.Z) - origin_.Z) / kLocationHashCell)};
}

const std::vector<const WorldTriangle*>& LocationHash::GetCell(int x, int y, int z) const {
    if (x < 0 || y < 0 || z < 0 || x >= sizeX_ || y >= sizeY_ || z >= sizeZ_) {
        return kEmptyCell;
    }
    return cells_[(static_cast<size_t>(x) * sizeY_ + y) * sizeZ_ + z];
}

void LocationHash::Build(const Array<WorldTriangle>& triangles) {
    Clear();
    if (triangles.IsEmpty()) {
        return;
    }
    const float big = std::numeric_limits<float>::max();
    Vector lo{big, big, big}, hi{-big, -big, -big};
    for (const WorldTriangle& t : triangles) {
        for (const Vector& v : t.Vertices) {
            lo = {std::min(lo.X, v.X), std::min(lo.Y, v.Y), std::min(lo.Z, v.Z)};
            hi = {std::max(hi.X, v.X), std::max(hi.Y, v.Y), std::max(hi.Z, v.Z)};
        }
    }
    origin_ = lo;
    max_ = hi;
    const CellCoord top = CellOf(hi);
    // A level far beyond any real one would make the grid absurd; the cell counts stay sane. Real
    // levels stay within 65536 units (64 cells an axis, 262144 in all); beyond the caps (262144
    // units an axis, 2^21 cells, 48 MB of empty lists) nothing is hashed.
    constexpr int kMaxCellsPerAxis = 256;
    constexpr size_t kMaxCells = size_t{1} << 21;
    // The cell coordinates saturate at the int range, so the counts are taken one cell short of it.
    sizeX_ = std::clamp(top.X, 0, kMaxCellsPerAxis - 1) + 1;
    sizeY_ = std::clamp(top.Y, 0, kMaxCellsPerAxis - 1) + 1;
    sizeZ_ = std::clamp(top.Z, 0, kMaxCellsPerAxis - 1) + 1;
    const size_t total = static_cast<size_t>(sizeX_) * sizeY_ * sizeZ_;
    cells_.assign(std::min<size_t>(total, kMaxCells), {});
    if (cells_.size() < total) {
        sizeZ_ = static_cast<int>(cells_.size() / (static_cast<size_t>(sizeX_) * sizeY_));
    }
    for (const WorldTriangle& t : triangles) {
        Vector tlo = t.Vertices[0], thi = t.Vertices[0];
        for (const Vector& v : t.Vertices) {
            tlo = {std::min(tlo.X, v.X), std::min(tlo.Y, v.Y), std::min(tlo.Z, v.Z)};
            thi = {std::max(thi.X, v.X), std::max(thi.Y, v.Y), std::max(thi.Z, v.Z)};
        }
        const CellCoord a = CellOf(tlo), b = CellOf(thi);
        const bool inGrid = a.X >= 0 && a.Y >= 0 && a.Z >= 0 && b.X < sizeX_ && b.Y < sizeY_ && b.Z < sizeZ_;
        if (!inGrid || int64_t{b.X - a.X + 1} * (b.Y - a.Y + 1) * (b.Z - a.Z + 1) > kMaxCellsPerTriangle) {
            wide_.push_back(&t);
            continue;
        }
        for (int x = a.X; x <= b.X; ++x) {
            for (int y = a.Y; y <= b.Y; ++y) {
                for (int z = a.Z; z <= b.Z; ++z) {
                    cells_[(static_cast<size_t>(x) * sizeY_ + y) * sizeZ_ + z].push_back(&t);
                }
            }
        }
    }
}

void LocationHash::QueryBox(const Vector& min, const Vector& max, std::vector<const WorldTriangle*>& out) const {
    out.clear();
    if (cells_.empty()) {
        return;
    }
    const CellCoord a = CellOf(min), b = CellOf(max);
    for (int x = std::max(a.X, 0); x <= std::min(b.X, sizeX_ - 1); ++x) {
        for (int y = std::max(a.Y, 0); y <= std::min(b.Y, sizeY_ - 1); ++y) {
            for (int z = std::max(a.Z, 0); z <= std::min(b.Z, sizeZ_ - 1); ++z) {
                const auto& cell = cells_[(static_cast<size_t>(x) * sizeY_ + y) * sizeZ_ + z];
                out.insert(out.end(), cell.begin(), cell.end());
            }
        }
    }
    out.insert(out.end(), wide_.begin(), wide_.end());
}

} // namespace orv
