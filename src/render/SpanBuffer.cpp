// The span buffer: row edges of a projected polygon, the coverage test and sorted, merged
// insertion into a fixed pool of segments.
#include "render/SpanBuffer.h"

#include "core/Log.h"

#include <algorithm>
#include <bit>
#include <cmath>

namespace orv {

namespace {

// Beyond this a coordinate cannot touch any row; rounding it could overflow.
constexpr float kFarOffScreen = 1.0e7f;
// Where a polygon's y extent starts before its points widen it (a polygon wholly beyond reads as
// reaching it, and then fails the kFarOffScreen test or the height test).
constexpr float kExtentStart = 999999.0f;
// Spans reach this far past a polygon's x extent on each side, so that polygons meeting at an
// edge cover the row between them without a crack.
constexpr float kSpanOverlap = 0.1f;

// Nearest row, halves rounding up; inline, since the library call showed in profiles. Only
// called with |y| below kFarOffScreen.
int RoundRow(float y) {
    const float r = y + 0.5f;
    const int i = static_cast<int>(r);
    return r < static_cast<float>(i) ? i - 1 : i;
}

} // namespace

SpanBuffer::SpanBuffer() { Reset(640.0f, 480); }

void SpanBuffer::Reset(float width, int height) {
    width_ = width;
    const size_t rows = static_cast<size_t>(std::max(height, 1));
    if (rowHeads_.size() != rows) {
        rowHeads_.assign(rows, -1);
        edges_.assign(rows + 2, RowExtent{});
    } else {
        std::fill(rowHeads_.begin(), rowHeads_.end(), -1);
    }
    std::fill(std::begin(used_), std::end(used_), 0u);
}

bool SpanBuffer::SetUpEdges(const SpanPoint* points, int count, int& firstRow, int& lastRow) {
    if (count < 1) {
        return false;
    }
    float minY = kExtentStart;
    float maxY = -kExtentStart;
    for (int i = 0; i < count; ++i) {
        if (!std::isfinite(points[i].X) || !std::isfinite(points[i].Y)) {
            return false;
        }
        minY = std::min(minY, points[i].Y);
        maxY = std::max(maxY, points[i].Y);
    }
    const int rows = NumRows();
    if (maxY - minY > static_cast<float>(rows) || minY > kFarOffScreen || maxY < -kFarOffScreen) {
        return false;
    }
    firstRow = RoundRow(minY);
    lastRow = RoundRow(maxY);
    if (lastRow - firstRow > rows - 1) {
        return false;
    }
    // Edges going down write the left x of their rows, edges going up the right x; a closed
    // outline crosses every row between its first and last both ways, so every row gets both.
    // Edges within one row set both x of it; they go last, so that a slanted edge ending on that
    // row cannot overwrite one half of it (whichever corner the polygon starts at).
    for (int i = 0; i < count; ++i) {
        const SpanPoint& a = points[i];
        const SpanPoint& b = points[(i + 1) % count];
        const int ya = RoundRow(a.Y);
        const int yb = RoundRow(b.Y);
        if (ya == yb) {
            continue;
        }
        if (yb > ya) {
            double x = a.X;
            const double step = (static_cast<double>(b.X) - a.X) / (yb - ya);
            for (int r = ya; r <= yb; ++r, x += step) {
                edges_[static_cast<size_t>(r - firstRow)].Left = static_cast<float>(x);
            }
        } else {
            double x = b.X;
            const double step = (static_cast<double>(a.X) - b.X) / (ya - yb);
            for (int r = yb; r <= ya; ++r, x += step) {
                edges_[static_cast<size_t>(r - firstRow)].Right = static_cast<float>(x);
            }
        }
    }
    for (int i = 0; i < count; ++i) {
        const SpanPoint& a = points[i];
        const SpanPoint& b = points[(i + 1) % count];
        if (RoundRow(a.Y) == RoundRow(b.Y)) {
            edges_[static_cast<size_t>(RoundRow(a.Y) - firstRow)] = {std::min(a.X, b.X), std::max(a.X, b.X)};
        }
    }
    return true;
}

bool SpanBuffer::RowExtents(const SpanPoint* points, int count, int& firstRow, std::vector<RowExtent>& rows) {
    int lastRow = 0;
    rows.clear();
    if (!SetUpEdges(points, count, firstRow, lastRow)) {
        return false;
    }
    rows.assign(edges_.begin(), edges_.begin() + (lastRow - firstRow + 1));
    return true;
}

bool SpanBuffer::Test(const SpanPoint* points, int count, bool testOnly) {
    int firstRow = 0;
    int lastRow = 0;
    if (!SetUpEdges(points, count, firstRow, lastRow)) {
        return false;
    }
    const int rows = NumRows();
    const int from = std::max(firstRow, 1);
    // Rows are half the screen's y, so only the first half of them is ever reached.
    const int to = std::min({lastRow, rows - 1, (rows - 1) / 2});
    if (from > to) {
        return false;
    }
    const int threshold = to - from > 2 ? 1 : 0;
    int uncovered = 0;
    for (int r = from; r <= to; ++r) {
        const RowExtent& e = edges_[static_cast<size_t>(r - firstRow)];
        float lo = std::min(e.Left, e.Right);
        float hi = std::max(e.Left, e.Right);
        if (hi < 0.0f || lo > width_) {
            continue;
        }
        lo = lo < 0.0f ? -kSpanOverlap : lo - kSpanOverlap;
        hi = std::min(hi, width_) + kSpanOverlap;
        if (IsCovered(r, lo, hi)) {
            continue;
        }
        ++uncovered;
        if (testOnly) {
            if (uncovered > threshold) {
                return true;
            }
            continue;
        }
        Insert(r, lo, hi);
    }
    return uncovered > threshold;
}

bool SpanBuffer::IsCovered(int row, float lo, float hi) const {
    for (int32_t s = rowHeads_[static_cast<size_t>(row)]; s >= 0; s = pool_[s].Next) {
        if (pool_[s].X0 > lo) {
            return false;
        }
        if (hi <= pool_[s].X1) {
            return true;
        }
    }
    return false;
}

void SpanBuffer::Insert(int row, float lo, float hi) {
    int32_t* link = &rowHeads_[static_cast<size_t>(row)];
    while (*link >= 0 && pool_[*link].X1 < lo) {
        link = &pool_[*link].Next;
    }
    const int32_t at = *link;
    if (at < 0 || hi < pool_[at].X0) {
        // An empty row, before the first, after the last or into a gap that holds it wholly.
        const int32_t fresh = Allocate(lo, hi);
        if (fresh < 0) {
            if (exhaustedEvents_++ == 0) {
                Log("Ran out of segments");
            }
            return;
        }
        pool_[fresh].Next = at;
        *link = fresh;
        return;
    }
    // The first segment reaching lo absorbs the span and every later one that starts by hi.
    Segment& keep = pool_[at];
    keep.X0 = std::min(keep.X0, lo);
    float lastX1 = keep.X1;
    int32_t next = keep.Next;
    while (next >= 0 && pool_[next].X0 <= hi) {
        lastX1 = pool_[next].X1;
        const int32_t gone = next;
        next = pool_[next].Next;
        Release(gone);
    }
    keep.Next = next;
    keep.X1 = std::max(hi, lastX1);
}

int32_t SpanBuffer::Allocate(float lo, float hi) {
    for (int w = 0; w < kMaxSpanSegments / 32; ++w) {
        if (used_[w] != 0xFFFFFFFFu) {
            const int bit = std::countr_one(used_[w]);
            used_[w] |= 1u << bit;
            const int32_t index = w * 32 + bit;
            pool_[index] = {-1, lo, hi};
            return index;
        }
    }
    return -1;
}

void SpanBuffer::Release(int32_t index) { used_[index / 32] &= ~(1u << (index % 32)); }

int SpanBuffer::SegmentsInUse() const {
    int n = 0;
    for (uint32_t w : used_) {
        n += std::popcount(w);
    }
    return n;
}

std::vector<RowExtent> SpanBuffer::RowSpans(int row) const {
    std::vector<RowExtent> spans;
    if (row < 0 || row >= NumRows()) {
        return spans;
    }
    for (int32_t s = rowHeads_[static_cast<size_t>(row)]; s >= 0; s = pool_[s].Next) {
        spans.push_back({pool_[s].X0, pool_[s].X1});
    }
    return spans;
}

} // namespace orv
