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

// Closest point of a triangle to p (the usual region test), in double precision.
struct D3 {
    double x, y, z;
};
D3 operator-(D3 a, D3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
D3 operator+(D3 a, D3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
D3 operator*(D3 a, double s) { return {a.x * s, a.y * s, a.z * s}; }
double dot(D3 a, D3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

D3 ClosestOnTriangle(D3 p, D3 a, D3 b, D3 c) {
    const D3 ab = b - a, ac = c - a, ap = p - a;
    const double d1 = dot(ab, ap), d2 = dot(ac, ap);
    if (d1 <= 0 && d2 <= 0) return a;
    const D3 bp = p - b;
    const double d3 = dot(ab, bp), d4 = dot(ac, bp);
    if (d3 >= 0 && d4 <= d3) return b;
    const double vc = d1 * d4 - d3 * d2;
    if (vc <= 0 && d1 >= 0 && d3 <= 0) return a + ab * (d1 / (d1 - d3));
    const D3 cp = p - c;
    const double d5 = dot(ab, cp), d6 = dot(ac, cp);
    if (d6 >= 0 && d5 <= d6) return c;
    const double vb = d5 * d2 - d1 * d6;
    if (vb <= 0 && d2 >= 0 && d6 <= 0) return a + ac * (d2 / (d2 - d6));
    const double va = d3 * d6 - d5 * d4;
    if (va <= 0 && (d4 - d3) >= 0 && (d5 - d6) >= 0) return b + (c - b) * ((d4 - d3) / ((d4 - d3) + (d5 - d6)));
    const double denom = 1.0 / (va + vb + vc);
    return a + ab * (vb * denom) + ac * (vc * denom);
}

TEST(SweepEllipsoidTriangle, AgreesWithFineSamplingOnRandomTriangles) {
    RandomGenerator rng;
    rng.Seed(2024);
    auto r = [&](float lo, float hi) { return lo + (hi - lo) * rng.Float(); };
    int hits = 0, misses = 0, compared = 0;
    for (int trial = 0; trial < 400; ++trial) {
        const float radius = r(5, 40), height = r(5, 60);
        const Vector p0{r(-100, 100), r(-100, 100), r(-100, 100)};
        const Vector p1{r(-100, 100), r(-100, 100), r(-100, 100)};
        const Vector p2{r(-100, 100), r(-100, 100), r(-100, 100)};
        const Vector start{r(-250, 250), r(-250, 250), r(-250, 250)};
        const Vector end{r(-250, 250), r(-250, 250), r(-250, 250)};
        auto toE = [&](const Vector& v) { return D3{double(v.X) / radius, double(v.Y) / radius, double(v.Z) / height}; };
        const D3 a = toE(p0), b = toE(p1), c = toE(p2), s = toE(start), e = toE(end);
        D3 n{(b - a).y * (c - a).z - (b - a).z * (c - a).y, (b - a).z * (c - a).x - (b - a).x * (c - a).z,
             (b - a).x * (c - a).y - (b - a).y * (c - a).x};
        if (dot(n, e - s) > 0) {
            continue; // back faces are never hit; checked separately
        }
        // The reference: the first sampled time at which the unit sphere touches the triangle.
        const int samples = 40000;
        double first = -1, minDistance = 1e30;
        for (int i = 0; i <= samples; ++i) {
            const double t = double(i) / samples;
            const D3 centre = s + (e - s) * t;
            const D3 q = ClosestOnTriangle(centre, a, b, c);
            const double d = std::sqrt(dot(centre - q, centre - q));
            minDistance = std::min(minDistance, d);
            if (first < 0 && d <= 1.0) {
                first = t;
            }
        }
        const D3 q0 = ClosestOnTriangle(s, a, b, c);
        if (std::sqrt(dot(s - q0, s - q0)) <= 1.05 || std::fabs(minDistance - 1.0) < 2e-3) {
            continue; // starting inside, or grazing: not a fair comparison
        }
        SweepResult result;
        const bool hit = SweepEllipsoidTriangle(start, end, p0, p1, p2, radius, height, &result);
        ++compared;
        ASSERT_EQ(hit, first >= 0) << "trial " << trial;
        if (hit) {
            ++hits;
            EXPECT_NEAR(result.Time, first, 1e-3) << "trial " << trial;
            const double speed = std::sqrt(dot(e - s, e - s));
            EXPECT_NEAR(result.Distance, result.Time * speed, 1e-3 * speed);
        } else {
            ++misses;
        }
    }
    EXPECT_GT(hits, 20);
    EXPECT_GT(misses, 20);
    EXPECT_GT(compared, 150);
}

TEST(SweepEllipsoidTriangle, BackFacesParallelMovesAndEdges) {
    // A floor facing up (counter-clockwise seen from above).
    const Vector a{-100, -100, 0}, b{100, -100, 0}, c{0, 100, 0};
    EXPECT_TRUE(SweepEllipsoidTriangle({0, 0, 50}, {0, 0, -50}, a, b, c, 20, 40));
    EXPECT_FALSE(SweepEllipsoidTriangle({0, 0, -50}, {0, 0, 50}, a, b, c, 20, 40)); // from behind: never
    EXPECT_FALSE(SweepEllipsoidTriangle({0, 0, 50}, {0, 0, -50}, a, c, b, 20, 40));   // reversed winding
    // Far enough above and moving parallel: no hit.
    EXPECT_FALSE(SweepEllipsoidTriangle({-300, 0, 45}, {300, 0, 45}, a, b, c, 20, 40));
    // Parallel within one radius of the plane, starting beyond the triangle: the edges stop it.
    SweepResult r;
    EXPECT_TRUE(SweepEllipsoidTriangle({-300, 0, 20}, {300, 0, 20}, a, b, c, 20, 40, &r));
    EXPECT_GT(r.Time, 0.0f);
    EXPECT_LT(r.Time, 0.5f);
    // Straight down onto the middle: contact when the ellipsoid's bottom reaches the plane.
    SweepResult down;
    ASSERT_TRUE(SweepEllipsoidTriangle({0, 0, 100}, {0, 0, 0}, a, b, c, 20, 40, &down));
    EXPECT_NEAR(down.Time, 0.6f, 1e-5); // from 100 to 40 of 100 units
}

// A wall across X = x from z0 to z1, facing -X, and a floor at Z = 0, facing up.
void AddWall(WorldFixture& f, float x, float z0, float z1) {
    f.AddQuad({x, -2000, z0}, {x, -2000, z1}, {x, 2000, z1}, {x, 2000, z0});
}
void AddFloor(WorldFixture& f) { f.AddQuad({-2000, -2000, 0}, {2000, -2000, 0}, {2000, 2000, 0}, {-2000, 2000, 0}); }

TEST(Trace, FirstListedTriangleWinsAndActorNormalsUseTheStrictFourUnitRule) {
    WorldFixture f;
    AddWall(f, 500, -100, 100); // farther along the path, listed first
    AddWall(f, 200, -100, 100);
    f.FinishLevel();
    const WorldTriangle* hit = SweepWorld(f.world, {0, 0, 0}, {1000, 0, 0}, 10, 10);
    ASSERT_NE(hit, nullptr);
    EXPECT_EQ(hit->Vertices[0].X, 500.0f);
    EXPECT_EQ(SweepWorld(f.world, {0, 0, 0}, {100, 0, 0}, 10, 10), nullptr);
    Actor& block = f.AddActor("Actor", "Block",
                              {{"bBlockPlayers", "True"},
                               {"CollisionHeight", "20"},
                               {"CollisionRadius", "20"},
                               {"Location", "(X=0,Y=0,Z=0)"}});
    // The traced cylinder's bottom exactly 4 below the block's top: not "standing on it".
    TraceResult t = Trace(f.world, {30, 0, 200}, {30, 0, 26}, 17, 10);
    ASSERT_TRUE(t.Hit);
    EXPECT_EQ(t.HitActor, &block);
    EXPECT_EQ(t.HitNormal, (Vector{1, 0, 0}));
    t = Trace(f.world, {30, 0, 200}, {30, 0, 26.5f}, 17, 10);
    EXPECT_EQ(t.HitNormal, (Vector{0, 0, 1}));
    t = Trace(f.world, {30, 0, -200}, {30, 0, -26.5f}, 17, 10);
    EXPECT_EQ(t.HitNormal, (Vector{0, 0, -1}));
    EXPECT_FALSE(Trace(f.world, {100, 0, 0}, {60, 0, 0}, 17, 10).Hit);
}

// Sliding along walls and climbing stairs are run on Demo 1 (tests/e2e); here, the landing's
// thresholds and sounds and the view's dip on a step.
TEST(MovePawn, LandingHurtsBeyondItsThresholdAndAStepDipsTheView) {
    WorldFixture f;
    AddFloor(f);
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
    EXPECT_EQ(player->Velocity, Vector{});
    EXPECT_TRUE(player->bLanded);
    MoveActorTo(*player, {80, 0, 39.5f});
    MovePawn(*player, {10, 0, 0}, 0);
    EXPECT_NEAR(player->Location.Z, 64.5f, 0.01f); // lifted by 25 onto the step
    EXPECT_NEAR(player->Location.X, 90.0f, 0.01f);
    EXPECT_EQ(player->EyeHeight, 23.0f - 25.0f); // the view dips and eases back
}

} // namespace
} // namespace orv
