// The CPU half of the world renderer: the span buffer, the camera, render bounds and box culling,
// and the walk's decisions about which polygons are queued where and which actors are seen.
// Clipping, projection and the texture buckets show in every walk and picture: the levels' walls
// cross the view planes, and the pictures find world points where the walk projects them.
#include "render/WorldWalk.h"

#include "TestLevels.h"
#include "core/Random.h"
#include "core/Rotator.h"
#include "render/Camera.h"
#include "render/SpanBuffer.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <set>

namespace orv {
namespace {

using test::TestScene;

// A rectangle in span-buffer coordinates (y already halved), corners at exact row centres.
std::vector<SpanPoint> Rect(float x0, float y0, float x1, float y1) { return {{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}}; }

bool Visible(SpanBuffer& spans, const std::vector<SpanPoint>& p, bool testOnly) {
    return spans.Test(p.data(), static_cast<int>(p.size()), testOnly);
}

// A slanted edge ending on a horizontal one must not overwrite half of that row, whichever
// corner the polygon starts at.
TEST(SpanBuffer, RowExtentsFollowTheEdgesWhicheverCornerComesFirst) {
    SpanBuffer spans;
    spans.Reset(640, 480);
    // A right triangle: x grows by 2 per row on its slanted side, its bottom edge is horizontal.
    const std::vector<SpanPoint> triangles[] = {
        {{10, 2}, {30, 12}, {10, 12}}, {{30, 12}, {10, 12}, {10, 2}}, {{10, 12}, {10, 2}, {30, 12}}};
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
    // A polygon as tall as the buffer or with a NaN corner is hidden.
    EXPECT_FALSE(Visible(spans, Rect(0, 0, 10, 480), false));
    EXPECT_FALSE(Visible(spans, {{0, 1}, {std::numeric_limits<float>::quiet_NaN(), 5}, {3, 9}}, false));
    EXPECT_EQ(spans.SegmentsInUse(), 0);
}

TEST(SpanBuffer, ExhaustedPoolStillReportsVisibleAndLogsOnFirstAndEvery65536thEvent) {
    SpanBuffer spans;
    spans.Reset(640, 480); // rows 1..239 are used
    test::LogCapture log;
    auto column = [](int k) { return Rect(4.0f * k, 1, 4.0f * k + 2, 239); };
    for (int k = 0; k < 12; ++k) {
        ASSERT_TRUE(Visible(spans, column(k), false));
    }
    EXPECT_TRUE(Visible(spans, column(12), false)); // 204 rows fit, 35 do not
    EXPECT_EQ(spans.SegmentsInUse(), kMaxSpanSegments);
    auto messages = [&] { return std::count(log.Lines().begin(), log.Lines().end(), "Ran out of segments"); };
    EXPECT_EQ(messages(), 1);
    // Rows that did not fit stay uncovered: every further test of them is another event.
    for (int i = 0; i < 274; ++i) {
        ASSERT_TRUE(Visible(spans, column(13), false));
    }
    EXPECT_EQ(messages(), 1); // 35 + 274 x 239 = 65521 events
    EXPECT_TRUE(Visible(spans, column(13), false));
    EXPECT_EQ(messages(), 2);                       // the counter wrapped at the 65537th
    EXPECT_FALSE(Visible(spans, column(3), false)); // what fitted still hides
}

// The plain definition of coverage: the union of every span ever inserted into a row, as
// disjoint ranges sorted by their left end.
std::vector<RowExtent> Union(std::vector<RowExtent> spans) {
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

// The buffer sorts, merges and widens spans, clamps them to the screen and frees what merging
// empties; the reference keeps every span apart and decides from their union.
TEST(SpanBuffer, AgreesWithAPlainCoverageReferenceOnRandomPolygons) {
    constexpr int kWidth = 320;
    constexpr int kHeight = 240;
    RandomGenerator random;
    random.Seed(1234);
    SpanBuffer spans;
    int answers[2] = {};
    for (int round = 0; round < 12; ++round) {
        spans.Reset(kWidth, kHeight);
        std::vector<std::vector<RowExtent>> inserted(kHeight);
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
            // The reference decision from the same row extents: rows 1 to half the height, each
            // span widened by 0.1 and clamped to the screen, tall polygons needing two rows.
            int first = 0;
            std::vector<RowExtent> rows;
            bool expected = false;
            if (spans.RowExtents(polygon.data(), corners, first, rows)) {
                const int last = first + static_cast<int>(rows.size()) - 1;
                const int from = std::max(first, 1);
                const int to = std::min({last, kHeight - 1, (kHeight - 1) / 2});
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
                    const std::vector<RowExtent> covered = Union(inserted[r]);
                    if (std::any_of(covered.begin(), covered.end(),
                                    [&](const RowExtent& u) { return u.Left <= lo && hi <= u.Right; })) {
                        continue;
                    }
                    ++uncovered;
                    if (!testOnly) {
                        inserted[r].push_back({lo, hi});
                    }
                }
                expected = from <= to && uncovered > (to - from > 2 ? 1 : 0);
            }
            const bool visible = spans.Test(polygon.data(), corners, testOnly);
            ASSERT_EQ(visible, expected) << "round " << round << " polygon " << n;
            ++answers[visible];
        }
        int listed = 0;
        for (int r = 0; r < kHeight; ++r) {
            const std::vector<RowExtent> want = Union(inserted[r]);
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
    EXPECT_GT(answers[0], 300);
    EXPECT_GT(answers[1], 300);
}

TEST(View, CameraRowsTurnLikeTheWorld) {
    RandomGenerator random;
    random.Seed(7);
    for (int i = 0; i < 50; ++i) {
        const Rotator r{static_cast<int32_t>(random.Float() * 30000) - 15000,
                        static_cast<int32_t>(random.Float() * 65536),
                        static_cast<int32_t>(random.Float() * 4000) - 2000};
        Vector forward, right, up, x, y, z;
        CameraAxes(r.Pitch, r.Yaw, r.Roll, forward, right, up);
        GetAxes(r, x, y, z); // the GL camera looks where the world's rotation points
        EXPECT_LT(Length(forward - x) + Length(right - y) + Length(up - z), 3e-3f) << i;
    }
}

// The eye and the field of view show in every end-to-end picture; the view kick does not.
TEST(View, APositiveViewFlashKicksThePlayersViewUp) {
    PlayerPawn player;
    player.Rotation = {-1000, 0, 0};
    for (const auto& [flash, pitch] : {std::pair{0.25f, -1000 + 1024}, {0.0001f, -1000}, {-0.5f, -1000}}) {
        player.ViewFlash[0] = flash; // a quarter tilts by 1024 units; too little rounds to none
        EXPECT_EQ(ComputeCamera(player, 640, 480, 90.0f).Pitch, pitch) << flash;
    }
}

// Walks the scene from a camera looking along yaw.
const RenderView& Walk(TestScene& scene, RenderView& view, const Vector& eye, int32_t yaw) {
    view.Location = eye;
    view.Yaw = yaw;
    view.FieldOfView = HorizontalFieldOfView(640, 480, 90.0f);
    WalkWorld(view, scene.Scene.CurrentLevel.Model, scene.Render->LevelState, 640, 480);
    return view;
}

std::vector<Vector> WallFacingMinusX(float x, float y0, float y1, float z0, float z1) {
    return {{x, y0, z0}, {x, y0, z1}, {x, y1, z1}, {x, y1, z0}}; // clockwise seen from -X
}

TEST(WorldWalk, OneSidedPolygonsShowOnlyTheirFrontTwoSidedOnesBoth) {
    TestScene scene;
    const int oneSided = scene.AddPolygon(WallFacingMinusX(100, -50, 0, -50, 50), {nullptr, 0, false}, 1);
    const int twoSided = scene.AddPolygon(WallFacingMinusX(100, 0, 50, -50, 50), {nullptr, PF_TwoSided, false}, 1);
    scene.Finish();
    RenderView view;
    EXPECT_EQ(test::QueuedSurfaces(Walk(scene, view, {0, 0, 0}, 0)), (std::vector<int>{oneSided, twoSided}));
    EXPECT_EQ(test::QueuedSurfaces(Walk(scene, view, {200, 0, 0}, 32768)), std::vector<int>{twoSided});
    EXPECT_TRUE(test::QueuedSurfaces(Walk(scene, view, {0, 0, 0}, 32768)).empty()); // looking away
}

TEST(WorldWalk, OnlyOpaqueOrAlwaysOccludingSurfacesHideWhatLiesBehind) {
    struct Case {
        const char* Name;
        uint32_t SurfaceFlags, TextureFlags;
        bool WallHidden, PanelSeeThrough;
    };
    const Case cases[] = {
        {"opaque", 0, 0, true, false},
        {"masked surface", PF_Masked, 0, false, false},
        {"masked texture", 0, kTextureMasked, false, false},
        {"translucent", PF_Translucent, 0, false, true},
        {"modulated", PF_Modulated, 0, false, true},
        {"alpha-blended texture", 0, kTextureAlphaBlend, false, true},
        {"translucent, always occluding", PF_Translucent | PF_Occlude, 0, true, true},
        {"unlit and two-sided", PF_Unlit | PF_TwoSided, 0, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        TestScene scene;
        Texture* tex = scene.AddTexture("Test.Panel", Image(8, 8, 0xFF808080u), c.TextureFlags);
        const int wall = scene.AddPolygon(WallFacingMinusX(300, -50, 50, -50, 50), {nullptr, 0, false}, 1);
        const int panel =
            scene.AddPolygon(WallFacingMinusX(100, -100, 100, -100, 100), {tex, c.SurfaceFlags, false}, 1);
        scene.Finish();
        RenderView view;
        EXPECT_EQ(test::Queued(Walk(scene, view, {0, 0, 0}, 0), wall), !c.WallHidden);
        EXPECT_TRUE(test::Queued(view, panel));
        EXPECT_EQ(test::QueuedSurfaces(view, true), c.PanelSeeThrough ? std::vector<int>{panel} : std::vector<int>{});
    }
}

TEST(WorldWalk, ASeenPolygonStaysQueuedForTwentyNineMoreFrames) {
    TestScene scene;
    const int wall = scene.AddPolygon(WallFacingMinusX(300, -50, 50, -50, 50), {nullptr, 0, false}, 1);
    const int glass =
        scene.AddPolygon(WallFacingMinusX(100, -100, 100, -100, 100), {nullptr, PF_Translucent, false}, 1);
    scene.Finish();
    RenderView view;
    ASSERT_TRUE(test::Queued(Walk(scene, view, {0, 0, 0}, 0), wall));
    // From now on the glass hides the wall from the span buffer.
    uint32_t& glassFlags = scene.Scene.CurrentLevel.Model.Surfaces[glass].Flags;
    glassFlags |= PF_Occlude;
    for (int frame = 2; frame <= 30; ++frame) {
        EXPECT_TRUE(test::Queued(Walk(scene, view, {0, 0, 0}, 0), wall)) << "frame " << frame;
    }
    EXPECT_FALSE(test::Queued(Walk(scene, view, {0, 0, 0}, 0), wall));
    glassFlags &= ~PF_Occlude; // seen again, the count starts over
    EXPECT_TRUE(test::Queued(Walk(scene, view, {0, 0, 0}, 0), wall));
}

TEST(WorldWalk, TheSeeThroughListHolds512AndReportsEveryPolygonBeyond) {
    TestScene scene;
    for (int i = 0; i < 515; ++i) {
        const float y = -390.0f + 30.0f * (i % 26);
        const float z = -280.0f + 28.0f * (i / 26);
        scene.AddPolygon(WallFacingMinusX(500, y, y + 20, z, z + 20), {nullptr, PF_Modulated, false}, 1);
    }
    scene.Finish();
    RenderView view;
    test::LogCapture log;
    const std::vector<int> listed = test::QueuedSurfaces(Walk(scene, view, {0, 0, 0}, 0), true);
    EXPECT_EQ(listed.size(), size_t{kMaxTransparentPolygons});
    EXPECT_EQ(std::count(log.Lines().begin(), log.Lines().end(), "Ran out of transparent polygons"), 3);
    EXPECT_EQ(std::set<int>(listed.begin(), listed.end()).size(), listed.size()); // each once
}

// Box culling, and the actors a walk sees: those filed in the leaf spaces it passed in that very
// walk, whatever earlier walks saw.
TEST(WorldWalk, BoxTestCullsBigSubtreesUnlessTheCameraStandsInsideTheirBound) {
    TestScene scene;
    // 60 polygons in a block from x = 1000 to 1100: more than 50 drawables under the root.
    for (int i = 0; i < 60; ++i) {
        const float x = 1000.0f + 10.0f * (i / 6);
        const float y = -150.0f + 50.0f * (i % 6);
        scene.AddPolygon(WallFacingMinusX(x, y, y + 40, -100, 100), {nullptr, 0, false}, 1);
    }
    Actor* inside = scene.AddActor<Actor>("Actor", "Inside");
    inside->Location = {1055, 0, 0};
    scene.Finish();
    LevelRenderState& level = scene.Render->LevelState;
    EXPECT_EQ(level.Nodes[0].DrawableCount, 60);
    const RenderBound& root = level.Bounds[static_cast<size_t>(level.Nodes[0].Bound)];
    EXPECT_EQ(root.Min, Vector(1000, -150, -100));
    EXPECT_EQ(root.Max, Vector(1090, 140, 100));

    RenderView view;
    view.FieldOfView = HorizontalFieldOfView(640, 480, 90.0f);
    auto walkFrom = [&](const Vector& eye, int32_t yaw, bool screenCovered) {
        view.Location = eye;
        view.Yaw = yaw;
        SetUpView(view, scene.Scene.CurrentLevel.Model, level, 640, 480);
        if (screenCovered) {
            const SpanPoint screen[4] = {{0, 0}, {640, 0}, {640, 240}, {0, 240}};
            view.Spans.Test(screen, 4, false);
        }
        WalkNode(view, 0, false);
        return WalkReached(level, *inside);
    };
    EXPECT_FALSE(WalkReached(level, *inside));       // nothing walked yet
    EXPECT_TRUE(walkFrom({0, 0, 0}, 0, false));      // in view
    EXPECT_FALSE(walkFrom({0, 0, 0}, 32768, false)); // behind the camera: culled whole
    EXPECT_EQ(view.BucketCount, 0);
    EXPECT_FALSE(walkFrom({0, 0, 0}, 0, true));   // in view but all covered already
    EXPECT_TRUE(walkFrom({1052, 0, 0}, 0, true)); // standing inside: never box-tested
}

} // namespace
} // namespace orv
