// Swept ellipsoids against a brute-force reference, and traces and pawn moves in a small level.
#include "world/Collision.h"

#include "core/Random.h"
#include "WorldFixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace orv {
namespace {

using test::WorldFixture;

// The distance from a point to a triangle: to its plane where the point lies over the triangle,
// else to the nearest edge.
struct TriangleDistance {
    DVector a, b, c, n = Normalized(Cross(b - a, c - a));
    double operator()(DVector p) const {
        auto over = [&](DVector u, DVector v) { return Dot(Cross(v - u, p - u), n) >= 0; };
        auto toEdge = [&](DVector u, DVector v) {
            return Length(p - (u + (v - u) * std::clamp(Dot(p - u, v - u) / Dot(v - u, v - u), 0.0, 1.0)));
        };
        return over(a, b) && over(b, c) && over(c, a) ? std::fabs(Dot(p - a, n))
                                                      : std::min({toEdge(a, b), toEdge(b, c), toEdge(c, a)});
    }
};

// The reference: the first of 10000 sampled times at which the unit sphere (in ellipsoid space)
// touches the triangle. A move the way the triangle faces, onto its back, never hits.
TEST(SweepEllipsoidTriangle, AgreesWithFineSamplingOnRandomTrianglesAndNeverHitsABackFace) {
    RandomGenerator rng;
    rng.Seed(2024);
    auto r = [&](float lo, float hi) { return lo + (hi - lo) * rng.Float(); };
    auto point = [&](float size) { return Vector{r(-size, size), r(-size, size), r(-size, size)}; };
    int hits = 0, misses = 0, backFaces = 0;
    for (int trial = 0; trial < 400; ++trial) {
        const double radius = r(5, 40), height = r(5, 60); // floats, divided in double precision
        const Vector p0 = point(100), p1 = point(100), p2 = point(100), start = point(250), end = point(250);
        auto toE = [&](const Vector& v) { return DVector{v.X / radius, v.Y / radius, v.Z / height}; };
        const DVector s = toE(start), e = toE(end);
        const TriangleDistance distance{toE(p0), toE(p1), toE(p2)};
        SweepResult result;
        const bool hit = SweepEllipsoidTriangle(start, end, p0, p1, p2, radius, height, &result);
        if (Dot(distance.n, e - s) > 0) {
            EXPECT_FALSE(hit) << "trial " << trial;
            ++backFaces;
            continue;
        }
        double first = -1, minDistance = 1e30;
        for (int i = 0; i <= 1e4; ++i) {
            const DVector centre = s + (e - s) * (i / 1e4);
            const double d = distance(centre);
            minDistance = std::min(minDistance, d);
            if (first < 0 && d <= 1.0) {
                first = i / 1e4;
            }
        }
        if (distance(s) <= 1.05 || std::fabs(minDistance - 1.0) < 2e-3) {
            continue; // starting inside, or grazing: not a fair comparison
        }
        ASSERT_EQ(hit, first >= 0) << "trial " << trial;
        (hit ? hits : misses)++;
        if (hit) {
            EXPECT_NEAR(result.Time, first, 1e-3) << "trial " << trial;
            EXPECT_NEAR(result.Distance, result.Time * Length(e - s), 1e-3 * Length(e - s));
        }
    }
    EXPECT_GT(hits, 20);
    EXPECT_GT(misses, 20);
    EXPECT_GT(backFaces, 100);
}

// A move parallel to the triangle is only stopped by its edges, and only within one radius: here
// at half its height, where it reaches sqrt(3/4) of its radius, 17.32, from the edge through
// (-100, -100) and (0, 100), which it does at x = -69.37.
TEST(SweepEllipsoidTriangle, ParallelMovesMeetOnlyTheEdges) {
    const Vector a{-100, -100, 0}, b{100, -100, 0}, c{0, 100, 0}; // a floor facing up
    EXPECT_FALSE(SweepEllipsoidTriangle({-300, 0, 45}, {300, 0, 45}, a, b, c, 20, 40));
    SweepResult r;
    EXPECT_TRUE(SweepEllipsoidTriangle({-300, 0, 20}, {300, 0, 20}, a, b, c, 20, 40, &r));
    EXPECT_NEAR(r.Time, (300 - 69.37f) / 600, 1e-4f);
}

// A wall across X = x from z0 to z1, facing -X.
void AddWall(WorldFixture& f, float x, float z0, float z1) {
    f.AddQuad({x, -2000, z0}, {x, -2000, z1}, {x, 2000, z1}, {x, 2000, z0});
}

TEST(Trace, FirstListedTriangleWinsAndActorNormalsUseTheStrictFourUnitRule) {
    WorldFixture f;
    AddWall(f, 500, -100, 100); // farther along the path, listed first
    AddWall(f, 200, -100, 100);
    f.FinishLevel();
    const WorldTriangle* hit = SweepWorld(f.world, {0, 0, 0}, {1000, 0, 0}, 10, 10);
    ASSERT_NE(hit, nullptr);
    EXPECT_EQ(hit->Vertices[0].X, 500.0f);
    EXPECT_EQ(SweepWorld(f.world, {0, 0, 0}, {100, 0, 0}, 10, 10), nullptr);
    Actor& block =
        f.AddActor("Actor", "Block", {{"bBlockPlayers", "True"}, {"CollisionHeight", "20"}, {"CollisionRadius", "20"}});
    // The traced cylinder's bottom exactly 4 below the block's top: not "standing on it".
    TraceResult t = Trace(f.world, {30, 0, 200}, {30, 0, 26}, 17, 10);
    ASSERT_TRUE(t.Hit);
    EXPECT_EQ(t.HitActor, &block);
    EXPECT_EQ(t.HitNormal, (Vector{1, 0, 0}));
    EXPECT_EQ(Trace(f.world, {30, 0, 200}, {30, 0, 26.5f}, 17, 10).HitNormal, (Vector{0, 0, 1}));
    EXPECT_EQ(Trace(f.world, {30, 0, -200}, {30, 0, -26.5f}, 17, 10).HitNormal, (Vector{0, 0, -1}));
    EXPECT_FALSE(Trace(f.world, {100, 0, 0}, {60, 0, 0}, 17, 10).Hit);
}

TEST(Trace, TrianglesWiderThanTheGridStillBlock) {
    // A floor a million units across (too wide to enter cell by cell) and a level stretched to the
    // float range beside it: sweeps still meet the floor, and the grid stays small.
    WorldFixture f;
    f.AddQuad({-1e6f, -1e6f, 0}, {1e6f, -1e6f, 0}, {1e6f, 1e6f, 0}, {-1e6f, 1e6f, 0});
    f.AddQuad({3e38f, 0, 50}, {3e38f, 10, 50}, {-3e38f, 10, 50}, {-3e38f, 0, 50});
    f.FinishLevel();
    const LocationHash& hash = f.world.CurrentLevel.Hash;
    EXPECT_LE(int64_t{hash.SizeX()} * hash.SizeY() * hash.SizeZ(), int64_t{1} << 21);
    for (float x : {0.0f, 5e5f, -9e5f}) {
        const WorldTriangle* hit = SweepWorld(f.world, {x, 300, 40}, {x, 300, -40}, 10, 10);
        ASSERT_NE(hit, nullptr) << x;
        EXPECT_EQ(hit->Vertices[0].Z, 0.0f);
    }
}

// Sliding along walls and climbing stairs are run on Demo 1 (tests/e2e); here, the landing's
// thresholds and sounds and the view's dip on a step.
TEST(MovePawn, LandingHurtsBeyondItsThresholdAndAStepDipsTheView) {
    WorldFixture f;
    f.AddQuad({-2000, -2000, 0}, {2000, -2000, 0}, {2000, 2000, 0}, {-2000, 2000, 0});
    AddWall(f, 100, 0, 20); // a 20-unit step: climbable
    f.AddQuad({100, -2000, 20}, {2000, -2000, 20}, {2000, 2000, 20}, {100, 2000, 20});
    f.FinishLevel();
    PlayerPawn* player = CreatePlayerPawn(f.world);
    for (const float fall : {-1500.0f, -1705.0f}) {
        MoveActorTo(*player, {0, 0, 100});
        player->Velocity = {0, 0, fall};
        MovePawn(*player, {0, 0, -100}, 0);
    }
    EXPECT_EQ(player->Health, 100 - 20); // -1500 hurts not; (1705 - 1500) / 10 = 20.5, ties to even
    EXPECT_TRUE(f.services.PlayedSound("UnrealShare.Female.Land1"));
    EXPECT_TRUE(f.services.PlayedSound("UnrealShare.Female.lland1fem"));
    MoveActorTo(*player, {80, 0, 39.5f});
    MovePawn(*player, {10, 0, 0}, 0);
    EXPECT_NEAR(player->Location.Z, 64.5f, 0.01f); // lifted by 25 onto the step
    EXPECT_EQ(player->EyeHeight, 23.0f - 25.0f);   // the view dips and eases back
}

} // namespace
} // namespace orv
