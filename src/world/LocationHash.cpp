// The triangle grid.
#include "world/LocationHash.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace orv {

namespace {

const std::vector<const WorldTriangle*> kEmptyCell;

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
    // A level far beyond any real one would make the grid absurd; the cell counts stay sane.
    // Real levels need far fewer cells than these caps; 2^24 empty cell lists already take 400 MB.
    constexpr int kMaxCellsPerAxis = 4096;
    constexpr size_t kMaxCells = size_t{1} << 24;
    sizeX_ = std::clamp(top.X + 1, 1, kMaxCellsPerAxis);
    sizeY_ = std::clamp(top.Y + 1, 1, kMaxCellsPerAxis);
    sizeZ_ = std::clamp(top.Z + 1, 1, kMaxCellsPerAxis);
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
        for (int x = std::max(a.X, 0); x <= std::min(b.X, sizeX_ - 1); ++x) {
            for (int y = std::max(a.Y, 0); y <= std::min(b.Y, sizeY_ - 1); ++y) {
                for (int z = std::max(a.Z, 0); z <= std::min(b.Z, sizeZ_ - 1); ++z) {
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
}

} // namespace orv
