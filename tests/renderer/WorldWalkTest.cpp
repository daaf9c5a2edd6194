// The CPU half of the world renderer: clipping, the camera rows and projection, box culling and
// the walk's decisions about which polygons are queued where.
#include "render/Clip.h"
#include "render/WorldWalk.h"

#include "GlTestSupport.h"
#include "TestLevels.h"
#include "core/Random.h"
#include "core/Rotator.h"
#include "render/Camera.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <set>

namespace orv {
namespace {

using test::LevelBuilder;
using test::SurfaceSpec;
using test::TestScene;

void ExpectNear(const Vector& a, const Vector& b, float tolerance = 1e-3f) {
    EXPECT_NEAR(a.X, b.X, tolerance);
    EXPECT_NEAR(a.Y, b.Y, tolerance);
    EXPECT_NEAR(a.Z, b.Z, tolerance);
}

TEST(Clip, KeepsTheFrontPartWithEntryAndExitPointsInOrder) {
    const Plane keepPositiveX{{1, 0, 0}, 0};
    ClipPolygon square;
    square.Num = 4;
    square.Points[0] = {-1, -1, 0};
    square.Points[1] = {1, -1, 0};
    square.Points[2] = {1, 1, 0};
    square.Points[3] = {-1, 1, 0};
    ClipPolygon half = square;
    ASSERT_TRUE(ClipToPlane(half, keepPositiveX));
    ASSERT_EQ(half.Num, 4);
    ExpectNear(half.Points[0], {0, -1, 0}); // entry, on the edge from the last outside corner
    ExpectNear(half.Points[1], {1, -1, 0});
    ExpectNear(half.Points[2], {1, 1, 0});
    ExpectNear(half.Points[3], {0, 1, 0}); // exit
    // A corner cut off adds one point; a corner on the plane counts as inside.
    ClipPolygon corner = square;
    ASSERT_TRUE(ClipToPlane(corner, {Normal({1, 1, 0}), -0.5f}));
    EXPECT_EQ(corner.Num, 5);
    ClipPolygon touching = square;
    ASSERT_TRUE(ClipToPlane(touching, {{1, 0, 0}, -1}));
    EXPECT_EQ(touching.Num, 4);
    ClipPolygon gone = square;
    EXPECT_FALSE(ClipToPlane(gone, {{1, 0, 0}, 2}));
    EXPECT_EQ(gone.Num, 0);
}

TEST(View, CameraRowsTurnLikeTheWorldAndProjectToTheScreenEdges) {
    RandomGenerator random;
    random.Seed(7);
    for (int i = 0; i < 50; ++i) {
        const Rotator r{static_cast<int32_t>(random.Float() * 30000) - 15000, static_cast<int32_t>(random.Float() * 65536), 0};
        Vector forward, right, up;
        CameraAxes(r.Pitch, r.Yaw, r.Roll, forward, right, up);
        Vector x, y, z;
        GetAxes(r, x, y, z);
        ExpectNear(forward, x); // the GL camera looks where the world's rotation points
        ExpectNear(right, y);
        ExpectNear(up, z);
    }
    // Roll turns the view about its own direction.
    Vector forward, right, up;
    CameraAxes(0, 0, 16384, forward, right, up);
    ExpectNear(forward, {1, 0, 0});
    EXPECT_NEAR(std::fabs(right.Z), 1.0f, 1e-4f);
    EXPECT_NEAR(Dot(right, up), 0.0f, 1e-5f);

    TestScene scene;
    RenderView view;
    view.Location = {10, 20, 30};
    view.Yaw = 8192;
    view.FieldOfView = HorizontalFieldOfView(640, 480, 90.0f);
    SetUpView(view, scene.Scene.CurrentLevel.Model, scene.Render->LevelState, 640, 480);
    const float halfWidth = std::tan(view.FieldOfView / 2);
    const float halfHeight = halfWidth * 480.0f / 640.0f;
    auto at = [&](float across, float upward) {
        return view.Location + (view.Forward + view.Right * across + view.Up * upward) * 100.0f;
    };
    const Vector centre = ProjectPoint(view, at(0, 0));
    EXPECT_NEAR(centre.X, 320.0f, 1e-2f);
    EXPECT_NEAR(centre.Y, 240.0f, 1e-2f);
    EXPECT_NEAR(centre.Z, 100.0f, 1e-3f);
    const Vector topRight = ProjectPoint(view, at(halfWidth, halfHeight));
    EXPECT_NEAR(topRight.X, 640.0f, 0.05f);
    EXPECT_NEAR(topRight.Y, 0.0f, 0.05f);
    // The side planes lie a hair outside the screen edges and face inward; the near plane sits
    // NearClip in front of the eye.
    for (int p = 1; p < 5; ++p) {
        EXPECT_GT(view.Planes[p].Distance(at(0, 0)), 0.0f);
        EXPECT_GT(view.Planes[p].Distance(at(halfWidth * 0.999f, halfHeight * 0.999f)), 0.0f);
        EXPECT_LT(view.Planes[p].Distance(at(halfWidth * 1.2f * (p <= 2 ? (p == 1 ? -1 : 1) : 0),
                                             halfHeight * 1.2f * (p >= 3 ? (p == 3 ? 1 : -1) : 0))),
                  0.0f)
            << "plane " << p;
    }
    EXPECT_NEAR(view.Planes[0].Distance(view.Location), -kNearClip, 1e-3f);
}

// Walks a scene from a camera and tells which surfaces were queued.
struct Walker {
    explicit Walker(TestScene& s) : scene(s) {}

    void Look(const Vector& eye, int32_t pitch, int32_t yaw) {
        view.Location = eye;
        view.Pitch = pitch;
        view.Yaw = yaw;
        view.FieldOfView = HorizontalFieldOfView(640, 480, 90.0f);
        WalkWorld(view, scene.Scene.CurrentLevel.Model, scene.Render->LevelState, 640, 480);
    }
    int SurfaceOf(int32_t node) const { return scene.Scene.CurrentLevel.Model.Nodes[node].Surface; }
    std::multiset<int> Opaque() const {
        std::multiset<int> s;
        for (int b = 0; b < view.BucketCount; ++b) {
            for (int32_t n : view.Buckets[b].Nodes) {
                s.insert(SurfaceOf(n));
            }
        }
        return s;
    }
    std::vector<int> SeeThrough() const {
        std::vector<int> s;
        for (int i = 0; i < view.TransparentCount; ++i) {
            s.push_back(SurfaceOf(view.Transparent[i]));
        }
        return s;
    }
    bool Queued(int surface) const {
        const std::vector<int> t = SeeThrough();
        return Opaque().count(surface) || std::find(t.begin(), t.end(), surface) != t.end();
    }

    TestScene& scene;
    RenderView view;
};

std::vector<Vector> WallFacingMinusX(float x, float y0, float y1, float z0, float z1) {
    // Clockwise seen from -X (screen right is +Y, up is +Z).
    return {{x, y0, z0}, {x, y0, z1}, {x, y1, z1}, {x, y1, z0}};
}

TEST(WorldWalk, OneSidedPolygonsShowOnlyTheirFrontTwoSidedOnesBoth) {
    TestScene scene;
    test::RecordingUploader uploader;
    const int oneSided = scene.Builder.AddPolygon(WallFacingMinusX(100, -50, 0, -50, 50), {nullptr, 0, false}, 1);
    const int twoSided = scene.Builder.AddPolygon(WallFacingMinusX(100, 0, 50, -50, 50), {nullptr, PF_TwoSided, false}, 1);
    scene.AddZone(0xFF000000u);
    scene.Finish(uploader);
    Walker walk(scene);
    walk.Look({0, 0, 0}, 0, 0);
    EXPECT_TRUE(walk.Queued(oneSided));
    EXPECT_TRUE(walk.Queued(twoSided));
    walk.Look({200, 0, 0}, 0, 32768);
    EXPECT_FALSE(walk.Queued(oneSided));
    EXPECT_TRUE(walk.Queued(twoSided));
    walk.Look({0, 0, 0}, 0, 32768); // looking away
    EXPECT_FALSE(walk.Queued(oneSided));
    EXPECT_FALSE(walk.Queued(twoSided));
}

TEST(WorldWalk, OnlyOpaqueOrAlwaysOccludingSurfacesHideWhatLiesBehind) {
    struct Case {
        const char* Name;
        uint32_t SurfaceFlags;
        uint32_t TextureFlags;
        bool WallHidden;
        bool PanelSeeThrough;
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
        test::RecordingUploader uploader;
        Texture* tex = scene.AddTexture("Test.Panel", test::SolidImage(8, 0xFF808080u), c.TextureFlags);
        const int wall = scene.Builder.AddPolygon(WallFacingMinusX(300, -50, 50, -50, 50), {nullptr, 0, false}, 1);
        const int panel = scene.Builder.AddPolygon(WallFacingMinusX(100, -100, 100, -100, 100), {tex, c.SurfaceFlags, false}, 1);
        scene.AddZone(0xFF000000u);
        scene.Finish(uploader);
        Walker walk(scene);
        walk.Look({0, 0, 0}, 0, 0);
        EXPECT_EQ(walk.Queued(wall), !c.WallHidden);
        EXPECT_EQ(walk.Opaque().count(panel), c.PanelSeeThrough ? 0u : 1u);
        EXPECT_EQ(walk.SeeThrough().size(), c.PanelSeeThrough ? 1u : 0u);
    }
}

TEST(WorldWalk, ASeenPolygonStaysQueuedForTwentyNineMoreFrames) {
    TestScene scene;
    test::RecordingUploader uploader;
    const int wall = scene.Builder.AddPolygon(WallFacingMinusX(300, -50, 50, -50, 50), {nullptr, 0, false}, 1);
    const int glass = scene.Builder.AddPolygon(WallFacingMinusX(100, -100, 100, -100, 100), {nullptr, PF_Translucent, false}, 1);
    scene.AddZone(0xFF000000u);
    scene.Finish(uploader);
    Walker walk(scene);
    walk.Look({0, 0, 0}, 0, 0);
    ASSERT_TRUE(walk.Queued(wall));
    // From now on the glass hides the wall from the span buffer.
    scene.Scene.CurrentLevel.Model.Surfaces[glass].Flags |= PF_Occlude;
    for (int frame = 2; frame <= 30; ++frame) {
        walk.Look({0, 0, 0}, 0, 0);
        EXPECT_TRUE(walk.Queued(wall)) << "frame " << frame;
    }
    walk.Look({0, 0, 0}, 0, 0);
    EXPECT_FALSE(walk.Queued(wall));
    // Seen again, the count starts over.
    scene.Scene.CurrentLevel.Model.Surfaces[glass].Flags &= ~PF_Occlude;
    walk.Look({0, 0, 0}, 0, 0);
    EXPECT_TRUE(walk.Queued(wall));
}

TEST(WorldWalk, TheSeeThroughListHolds512AndReportsEveryPolygonBeyond) {
    TestScene scene;
    test::RecordingUploader uploader;
    for (int i = 0; i < 515; ++i) {
        const float y = -390.0f + 30.0f * (i % 26);
        const float z = -280.0f + 28.0f * (i / 26);
        scene.Builder.AddPolygon(WallFacingMinusX(500, y, y + 20, z, z + 20), {nullptr, PF_Modulated, false}, 1);
    }
    scene.AddZone(0xFF000000u);
    scene.Finish(uploader);
    Walker walk(scene);
    test::LogCapture log;
    walk.Look({0, 0, 0}, 0, 0);
    EXPECT_EQ(walk.view.TransparentCount, kMaxTransparentPolygons);
    EXPECT_EQ(std::count(log.Lines().begin(), log.Lines().end(), "Ran out of transparent polygons"), 3);
    const std::vector<int> listed = walk.SeeThrough();
    EXPECT_EQ(std::set<int>(listed.begin(), listed.end()).size(), listed.size()); // each once
}

TEST(WorldWalk, OpaquePolygonsGroupByTextureInTheOrderTexturesAreMet) {
    TestScene scene;
    test::RecordingUploader uploader;
    Texture* a = scene.AddTexture("Test.A", test::SolidImage(8, 0xFFFF0000u));
    Texture* b = scene.AddTexture("Test.B", test::SolidImage(8, 0xFF00FF00u));
    Texture* textures[] = {a, b, a, nullptr, nullptr, b};
    for (int i = 0; i < 6; ++i) {
        const float y = -300.0f + 100.0f * i;
        scene.Builder.AddPolygon(WallFacingMinusX(400.0f - 10.0f * i, y, y + 80, -40, 40), {textures[i], 0, false}, 1);
    }
    scene.AddZone(0xFF000000u);
    scene.Finish(uploader);
    Walker walk(scene);
    for (int frame = 0; frame < 2; ++frame) { // a second frame starts from empty buckets
        walk.Look({0, 0, 0}, 0, 0);
        ASSERT_EQ(walk.view.BucketCount, 3);
        std::set<const Texture*> seen;
        size_t total = 0;
        for (int i = 0; i < 3; ++i) {
            const TextureBucket& bucket = walk.view.Buckets[i];
            EXPECT_TRUE(seen.insert(bucket.Tex).second);
            EXPECT_EQ(bucket.Nodes.size(), 2u);
            total += bucket.Nodes.size();
            for (int32_t n : bucket.Nodes) {
                EXPECT_EQ(scene.Scene.CurrentLevel.Model.Surfaces[walk.SurfaceOf(n)].Tex, bucket.Tex);
            }
        }
        EXPECT_EQ(total, 6u);
        // The nearest polygon (the last added) is met first.
        EXPECT_EQ(walk.view.Buckets[0].Tex, b);
    }
}

TEST(WorldWalk, BoxTestCullsBigSubtreesUnlessTheCameraStandsInsideTheirBound) {
    TestScene scene;
    test::RecordingUploader uploader;
    // 60 polygons in a block from x = 1000 to 1100: more than 50 drawables under the root.
    for (int i = 0; i < 60; ++i) {
        const float x = 1000.0f + 10.0f * (i / 6);
        const float y = -150.0f + 50.0f * (i % 6);
        scene.Builder.AddPolygon(WallFacingMinusX(x, y, y + 40, -100, 100), {nullptr, 0, false}, 1);
    }
    scene.AddZone(0xFF000000u);
    auto actor = std::make_unique<Actor>();
    actor->XLevel = &scene.Scene;
    actor->Location = {1055, 0, 0};
    Actor* inside = actor.get();
    scene.Scene.Actors.Add(std::move(actor));
    scene.Finish(uploader);
    LevelModel& model = scene.Scene.CurrentLevel.Model;
    LevelRenderState& state = scene.Render->LevelState;
    ASSERT_GT(state.Nodes[0].DrawableCount, 50);

    RenderView view;
    view.FieldOfView = HorizontalFieldOfView(640, 480, 90.0f);
    auto walkFrom = [&](const Vector& eye, int32_t yaw, bool screenCovered) {
        view.Location = eye;
        view.Yaw = yaw;
        SetUpView(view, model, state, 640, 480);
        if (screenCovered) {
            const SpanPoint screen[4] = {{0, 0}, {640, 0}, {640, 240}, {0, 240}};
            view.Spans.Test(screen, 4, false);
        }
        WalkNode(view, 0, false);
        return WalkReached(state, *inside);
    };
    EXPECT_TRUE(walkFrom({0, 0, 0}, 0, false));      // in view
    EXPECT_GT(view.BucketCount, 0);
    EXPECT_FALSE(walkFrom({0, 0, 0}, 32768, false)); // behind the camera: culled whole
    EXPECT_EQ(view.BucketCount, 0);
    EXPECT_FALSE(walkFrom({0, 0, 0}, 0, true));      // in view but all covered already
    EXPECT_TRUE(walkFrom({1052, 0, 0}, 0, true));    // standing inside: never box-tested

    bool fullyInside = false;
    RenderBound box{{500, -20, -20}, {520, 20, 20}, 0};
    walkFrom({0, 0, 0}, 0, false);
    view.Spans.Reset(640, 480);
    EXPECT_TRUE(BoxVisible(view, box, false, fullyInside));
    EXPECT_TRUE(fullyInside);
    box.Max.Y = 5000; // reaches past the right-hand plane
    EXPECT_TRUE(BoxVisible(view, box, false, fullyInside));
    EXPECT_FALSE(fullyInside);
    box = {{-520, -20, -20}, {-500, 20, 20}, 0}; // behind
    EXPECT_FALSE(BoxVisible(view, box, false, fullyInside));
}

} // namespace
} // namespace orv
