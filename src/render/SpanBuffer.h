// The screen-space coverage buffer of the world walk: per row (half the screen's vertical
// resolution), a sorted list of the x ranges that opaque polygons already cover, so that hidden
// polygons never reach the driver.
#pragma once

#include <cstdint>
#include <vector>

namespace orv {

// The segment pool's fixed size, so that nothing is allocated per polygon; when it runs out,
// spans are no longer recorded (their rows still count as uncovered) and more is drawn.
constexpr int kMaxSpanSegments = 3072;
// Span rows are half the screen's: a polygon's screen y times this is its span-buffer y.
constexpr float kSpanRowsPerPixel = 0.5f;

// A point in span-buffer coordinates: screen x, screen y halved.
struct SpanPoint {
    float X = 0.0f;
    float Y = 0.0f;
};

// The x extent of a polygon on one row.
struct RowExtent {
    float Left = 0.0f;
    float Right = 0.0f;
};

class SpanBuffer {
public:
    SpanBuffer();

    // Empties every row for a screen of this size (rows are rebuilt when the height changes).
    void Reset(float width, int height);

    // The span test: true when part of the polygon is not yet covered. Tall polygons (more than
    // three rows) need two uncovered rows, small ones one. Unless testOnly, the uncovered rows
    // are added to the coverage. NaN points and polygons taller than the screen are hidden.
    bool Test(const SpanPoint* points, int count, bool testOnly);

    // The polygon's x extent on each of its rows, from its first row (returned) to its last;
    // false when the span test would call it hidden before looking at any row.
    bool RowExtents(const SpanPoint* points, int count, int& firstRow, std::vector<RowExtent>& rows);

    int NumRows() const { return static_cast<int>(rowHeads_.size()); }
    float Width() const { return width_; }
    int SegmentsInUse() const;
    // The covered ranges of one row, left to right.
    std::vector<RowExtent> RowSpans(int row) const;

private:
    struct Segment {
        int32_t Next = -1;
        float X0 = 0.0f;
        float X1 = 0.0f;
    };

    bool SetUpEdges(const SpanPoint* points, int count, int& firstRow, int& lastRow);
    bool IsCovered(int row, float lo, float hi) const;
    void Insert(int row, float lo, float hi);
    int32_t Allocate(float lo, float hi);
    void Release(int32_t index);

    float width_ = 640.0f;
    std::vector<int32_t> rowHeads_; // first segment of each row, -1 when empty
    std::vector<RowExtent> edges_;  // by row minus the polygon's first row
    Segment pool_[kMaxSpanSegments];
    uint32_t used_[kMaxSpanSegments / 32] = {};
    uint16_t exhaustedEvents_ = 0; // "Ran out of segments" on the first and every 65536th
};

} // namespace orv
