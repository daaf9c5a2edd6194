// The span buffer: row edges, sorted and merged insertion, the visibility threshold, limits,
// pool exhaustion, and agreement with a plain coverage reference on random polygons.
#include "render/SpanBuffer.h"

#include "core/Random.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

namespace orv {
namespace {

// A rectangle in span-buffer coordinates (y already halved), corners at exact row centres.
std::vector<SpanPoint> Rect(float x0, float y0, float x1, float y1) { return {{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}}; }

bool Visible(SpanBuffer& spans, const std::vector<SpanPoint>& p, bool testOnly) {
    return spans.Test(p.data(), static_cast<int>(p.size()), testOnly);
}

TEST(SpanBuffer, RowExtentsFollowTheEdgesWhicheverCornerComesFirst) {
    SpanBuffer spans;
    spans.Reset(640, 480);
    // A right triangle: x grows by 2 per row on its slanted side, its bottom edge is horizontal.
    const std::vector<SpanPoint> triangles[] = {{{10, 2}, {30, 12}, {10, 12}}, {{30, 12}, {10, 12}, {10, 2}},
                                                {{10, 12}, {10, 2}, {30, 12}}};
    for (const auto& t : triangles) {
        int first = 0;
        std::vector<RowExtent> rows;
        ASSERT_TRUE(spans.RowExtents(t.data(), 3, first, rows));
        EXPECT_EQ(first, 2);
        ASSERT_EQ(rows.size(), 11u);
        for (int r = 0; r <= 10; ++r) {
            EXPECT_FLOAT_EQ(std::min(rows[r].Left, rows[r].Right), 10.0f) << "row " << r + 2;
            EXPECT_FLOAT_EQ(std::max(rows[r].Left, rows[r].Right), 10.0f + 2.0f * r) << "row " << r + 2;
        }
    }
    // Rows are rounded from y; a polygon as tall as the buffer or with a NaN corner is refused.
    int first = 0;
    std::vector<RowExtent> rows;
    const auto tall = Rect(0, 0, 10, 480);
    EXPECT_FALSE(spans.RowExtents(tall.data(), 4, first, rows));
    const std::vector<SpanPoint> broken = {{0, 1}, {std::numeric_limits<float>::quiet_NaN(), 5}, {3, 9}};
    EXPECT_FALSE(spans.RowExtents(broken.data(), 3, first, rows));
    EXPECT_FALSE(spans.Test(broken.data(), 3, false));
    EXPECT_EQ(spans.SegmentsInUse(), 0);
}

TEST(SpanBuffer, SpansAreWidenedMergedAndClampedToTheScreen) {
    SpanBuffer spans;
    spans.Reset(640, 480);
    for (float x : {100.0f, 400.0f, 10.0f, 250.0f}) { // after, before and between the others
        EXPECT_TRUE(Visible(spans, Rect(x, 10, x + 40, 30), false));
    }
    auto r = spans.RowSpans(20);
    ASSERT_EQ(r.size(), 4u);
    EXPECT_FLOAT_EQ(r[0].Left, 9.9f); // widened by 0.1 on both sides, kept in order
    EXPECT_FLOAT_EQ(r[3].Right, 440.1f);
    EXPECT_EQ(spans.SegmentsInUse(), 4 * 21);
    // What is covered is hidden and changes nothing; one span over three merges them into the
    // first and gives the other two back.
    EXPECT_FALSE(Visible(spans, Rect(105, 12, 135, 28), false));
    EXPECT_TRUE(Visible(spans, Rect(120, 10, 420, 30), false));
    r = spans.RowSpans(20);
    ASSERT_EQ(r.size(), 2u);
    EXPECT_FLOAT_EQ(r[1].Left, 99.9f);
    EXPECT_FLOAT_EQ(r[1].Right, 440.1f);
    EXPECT_EQ(spans.SegmentsInUse(), 2 * 21);
    // Off the left edge spans start at -0.1, off the right they end at the width + 0.1.
    EXPECT_TRUE(Visible(spans, Rect(-50, 10, 5, 30), false));
    EXPECT_TRUE(Visible(spans, Rect(600, 10, 900, 30), false));
    r = spans.RowSpans(20);
    EXPECT_FLOAT_EQ(r.front().Left, -0.1f);
    EXPECT_FLOAT_EQ(r.back().Right, 640.1f);
    EXPECT_FALSE(Visible(spans, Rect(700, 10, 900, 30), false)); // wholly off screen
}

TEST(SpanBuffer, TallPolygonsNeedTwoUncoveredRowsSmallOnesOne) {
    SpanBuffer spans;
    spans.Reset(640, 480);
    // Cover rows 10..50 apart from row 30.
    ASSERT_TRUE(Visible(spans, Rect(0, 10, 640, 29), false));
    ASSERT_TRUE(Visible(spans, Rect(0, 31, 640, 50), false));
    EXPECT_FALSE(Visible(spans, Rect(100, 10, 200, 50), true));
    EXPECT_FALSE(Visible(spans, Rect(100, 27, 200, 31), true)); // five rows: still tall
    EXPECT_TRUE(Visible(spans, Rect(100, 29, 200, 31), true));  // three rows: one is enough
    EXPECT_TRUE(Visible(spans, Rect(100, 30, 200, 30), true));
    // Rows past half the screen (y is halved) and row 0 are never used.
    EXPECT_FALSE(Visible(spans, Rect(0, 240, 640, 300), false));
    EXPECT_FALSE(Visible(spans, Rect(0, -5, 640, 0.4f), false));
    EXPECT_TRUE(Visible(spans, Rect(0, 238, 640, 300), false));
    EXPECT_EQ(spans.RowSpans(240).size(), 0u);
    EXPECT_EQ(spans.RowSpans(239).size(), 1u);
}

TEST(SpanBuffer, ExhaustedPoolStillReportsVisibleAndLogsOnFirstAndEvery65536thEvent) {
    SpanBuffer spans;
    spans.Reset(640, 480); // rows 1..239 are used
    test::LogCapture log;
    auto column = [](int k) { return Rect(4.0f * k, 1, 4.0f * k + 2, 239); };
    for (int k = 0; k < 12; ++k) {
        ASSERT_TRUE(Visible(spans, column(k), false));
    }
    EXPECT_EQ(spans.SegmentsInUse(), 12 * 239);
    EXPECT_TRUE(Visible(spans, column(12), false)); // 204 rows fit, 35 do not
    EXPECT_EQ(spans.SegmentsInUse(), kMaxSpanSegments);
    auto messages = [&] { return std::count(log.Lines().begin(), log.Lines().end(), "Ran out of segments"); };
    EXPECT_EQ(messages(), 1);
    // Rows that did not fit stay uncovered: every further test of them is another event.
    for (int i = 0; i < 274; ++i) {
        ASSERT_TRUE(Visible(spans, column(13), false));
    }
    EXPECT_EQ(messages(), 1); // 35 + 274 * 239 = 65521 events
    EXPECT_TRUE(Visible(spans, column(13), false));
    EXPECT_EQ(messages(), 2); // the counter wrapped at the 65537th
    EXPECT_FALSE(Visible(spans, column(3), false)); // what fitted still hides
    spans.Reset(640, 480);
    EXPECT_EQ(spans.SegmentsInUse(), 0);
}

// The plain definition of coverage: every span ever inserted into a row, kept unsorted; a
// range is covered when the union of the spans holds it.
struct CoverageReference {
    std::vector<std::vector<RowExtent>> Rows;

    bool Covered(int row, float lo, float hi) const {
        for (const RowExtent& u : Union(row)) {
            if (u.Left <= lo && hi <= u.Right) {
                return true;
            }
        }
        return false;
    }

    // The union as disjoint sorted ranges, to compare with the buffer's rows.
    std::vector<RowExtent> Union(int row) const {
        std::vector<RowExtent> spans = Rows[row];
        std::sort(spans.begin(), spans.end(), [](const RowExtent& a, const RowExtent& b) { return a.Left < b.Left; });
        std::vector<RowExtent> merged;
        for (const RowExtent& s : spans) {
            if (!merged.empty() && s.Left <= merged.back().Right) {
                merged.back().Right = std::max(merged.back().Right, s.Right);
            } else {
                merged.push_back(s);
            }
        }
        return merged;
    }
};

TEST(SpanBuffer, AgreesWithAPlainCoverageReferenceOnRandomPolygons) {
    constexpr int kWidth = 320;
    constexpr int kHeight = 240;
    RandomGenerator random;
    random.Seed(1234);
    SpanBuffer spans;
    CoverageReference reference;
    int visibleCount = 0;
    int hiddenCount = 0;
    for (int round = 0; round < 12; ++round) {
        spans.Reset(kWidth, kHeight);
        reference.Rows.assign(kHeight, {});
        for (int n = 0; n < 150; ++n) {
            // A convex polygon: corners at increasing angles round a centre, partly off screen.
            const float cx = random.Float() * 400 - 40;
            const float cy = random.Float() * 140 - 10;
            const float radius = 3 + random.Float() * 40;
            const int corners = 3 + static_cast<int>(random.Float() * 6);
            std::vector<SpanPoint> polygon;
            float angle = random.Float() * 6.28f;
            for (int c = 0; c < corners; ++c) {
                angle += (6.2831853f / corners) * (0.6f + random.Float() * 0.4f);
                polygon.push_back({cx + radius * std::cos(angle) * 1.5f, cy + radius * std::sin(angle)});
            }
            const bool testOnly = random.Float() < 0.3f;

            // The reference decision, from the same row extents.
            int first = 0;
            std::vector<RowExtent> rows;
            bool expected = false;
            if (spans.RowExtents(polygon.data(), corners, first, rows)) {
                const int last = first + static_cast<int>(rows.size()) - 1;
                const int from = std::max(first, 1);
                const int to = std::min({last, kHeight - 1, (kHeight - 1) / 2});
                const int threshold = to - from > 2 ? 1 : 0;
                int uncovered = 0;
                for (int r = from; r <= to; ++r) {
                    const RowExtent& e = rows[r - first];
                    float lo = std::min(e.Left, e.Right);
                    float hi = std::max(e.Left, e.Right);
                    if (hi < 0 || lo > kWidth) {
                        continue;
                    }
                    lo = lo < 0 ? -0.1f : lo - 0.1f;
                    hi = std::min(hi, float(kWidth)) + 0.1f;
                    if (reference.Covered(r, lo, hi)) {
                        continue;
                    }
                    ++uncovered;
                    if (!testOnly) {
                        reference.Rows[r].push_back({lo, hi});
                    }
                }
                expected = from <= to && uncovered > threshold;
            }
            const bool visible = spans.Test(polygon.data(), corners, testOnly);
            ASSERT_EQ(visible, expected) << "round " << round << " polygon " << n;
            ++(visible ? visibleCount : hiddenCount);
            ASSERT_LT(spans.SegmentsInUse(), kMaxSpanSegments);
        }
        int listed = 0;
        for (int r = 0; r < kHeight; ++r) {
            const std::vector<RowExtent> want = reference.Union(r);
            const std::vector<RowExtent> got = spans.RowSpans(r);
            listed += static_cast<int>(got.size());
            ASSERT_EQ(got.size(), want.size()) << "row " << r;
            for (size_t i = 0; i < got.size(); ++i) {
                EXPECT_FLOAT_EQ(got[i].Left, want[i].Left);
                EXPECT_FLOAT_EQ(got[i].Right, want[i].Right);
            }
        }
        EXPECT_EQ(spans.SegmentsInUse(), listed); // merged segments went back to the pool
    }
    // Both answers occur often, so the comparison means something.
    EXPECT_GT(visibleCount, 300);
    EXPECT_GT(hiddenCount, 300);
}

} // namespace
} // namespace orv
