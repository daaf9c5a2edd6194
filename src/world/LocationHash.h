// A uniform grid of 1024-unit cells over the level, each listing the world triangles that touch
// it, so that collision only tests triangles near a move.
#pragma once

#include "content/WorldTriangle.h"
#include "core/Array.h"
#include "core/Vector.h"

#include <vector>

namespace orv {

constexpr float kLocationHashCell = 1024.0f;

struct CellCoord {
    int X = 0, Y = 0, Z = 0;
    bool operator==(const CellCoord&) const = default;
};

class LocationHash {
public:
    // Builds the grid over the triangles' bounding box and enters every triangle in every cell
    // its own box touches. The triangles must outlive the hash (their addresses are kept).
    void Build(const Array<WorldTriangle>& triangles);
    void Clear();

    CellCoord CellOf(const Vector& p) const;
    // The cell, or a shared empty cell outside the grid (the too-wide triangles are in none).
    const std::vector<const WorldTriangle*>& GetCell(int x, int y, int z) const;
    // Every cell from CellOf(min) to CellOf(max), X outermost, then Y, then Z, concatenated, then
    // the triangles too wide to enter cell by cell.
    void QueryBox(const Vector& min, const Vector& max, std::vector<const WorldTriangle*>& out) const;

    Vector Origin() const { return origin_; }
    Vector Max() const { return max_; }
    int SizeX() const { return sizeX_; }
    int SizeY() const { return sizeY_; }
    int SizeZ() const { return sizeZ_; }

private:
    Vector origin_;
    Vector max_;
    int sizeX_ = 0, sizeY_ = 0, sizeZ_ = 0;
    std::vector<std::vector<const WorldTriangle*>> cells_;
    std::vector<const WorldTriangle*> wide_; // too wide for the cells, or beyond the grid

};

} // namespace orv
