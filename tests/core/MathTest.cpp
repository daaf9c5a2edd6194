// Vectors and rotators: the planar rotation, rounding and direction rules.
#include "core/Rotator.h"
#include "core/Vector.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace orv {
namespace {

void ExpectNear(const Vector& a, const Vector& b, float tolerance = 1e-5f) {
    EXPECT_NEAR(a.X, b.X, tolerance);
    EXPECT_NEAR(a.Y, b.Y, tolerance);
    EXPECT_NEAR(a.Z, b.Z, tolerance);
}

TEST(Vector, ArithmeticAndNormal) {
    const Vector a{1, 2, 3}, b{4, -5, 6};
    EXPECT_EQ(a + b, (Vector{5, -3, 9}));
    EXPECT_EQ(a - b, (Vector{-3, 7, -3}));
    EXPECT_EQ(a * 2.0f, (Vector{2, 4, 6}));
    EXPECT_FLOAT_EQ(Dot(a, b), 4 - 10 + 18);
    EXPECT_EQ(Cross(Vector{1, 0, 0}, Vector{0, 1, 0}), (Vector{0, 0, 1}));
    EXPECT_FLOAT_EQ(Length(Vector{3, 4, 12}), 13.0f);
    ExpectNear(Normal(Vector{0, 0, -7}), {0, 0, -1});
    EXPECT_EQ(Normal(Vector{}), Vector{}); // the zero vector has no direction and stays zero
}

TEST(Rotator, QuarterTurnsFollowTheAxisConventions) {
    ExpectNear(RotateVector({1, 0, 0}, {0, 16384, 0}), {0, 1, 0});  // Yaw turns +X toward +Y
    ExpectNear(RotateVector({1, 0, 0}, {16384, 0, 0}), {0, 0, 1});  // Pitch tilts +X up
    ExpectNear(RotateVector({0, 1, 0}, {0, 0, 16384}), {0, 0, -1}); // Roll turns +Y toward -Z
    // Axes of the identity rotator are the world axes.
    Vector x, y, z;
    GetAxes({}, x, y, z);
    ExpectNear(x, {1, 0, 0});
    ExpectNear(y, {0, 1, 0});
    ExpectNear(z, {0, 0, 1});
}

// The polar definition computed independently in double precision.
Vector PolarReference(Vector v, double roll, double yaw, double pitch) {
    auto rad = [](double u) { return u / 65536.0 * 2.0 * std::numbers::pi; };
    double x = v.X, y = v.Y, z = v.Z;
    double len = std::hypot(y, z), ang = std::atan2(z, y) - rad(roll);
    y = len * std::cos(ang);
    z = len * std::sin(ang);
    len = std::hypot(x, z);
    ang = std::atan2(z, x) + rad(pitch);
    x = len * std::cos(ang);
    z = len * std::sin(ang);
    len = std::hypot(x, y);
    ang = std::atan2(x, y) - rad(yaw);
    x = len * std::sin(ang);
    y = len * std::cos(ang);
    return {float(x), float(y), float(z)};
}

TEST(Rotator, RotateVectorMatchesThePolarStepsAndKeepsLength) {
    const Rotator rotators[] = {{1000, 2000, 3000}, {-16384, 40000, 123}, {70000, -5, 32768}, {8192, 8192, 8192}};
    const Vector vectors[] = {{1, 2, 3}, {-50, 0.5f, 7}, {0, 0, 1}, {100, -100, 0}};
    for (const Rotator& r : rotators) {
        for (const Vector& v : vectors) {
            const Vector got = RotateVector(v, r);
            ExpectNear(got, PolarReference(v, r.Roll, r.Yaw, r.Pitch), 1e-3f);
            EXPECT_NEAR(Length(got), Length(v), 1e-3f);
        }
    }
    // RotateByAngles takes its angles as Y-Z, X-Y, X-Z.
    ExpectNear(RotateByAngles({1, 2, 3}, 100, 200, 300), RotateVector({1, 2, 3}, {300, 200, 100}));
}

TEST(Rotator, ScaleRoundsTiesToEvenAndAddNeverWraps) {
    EXPECT_EQ(ScaleRotator({1, 3, 5}, 0.5f), (Rotator{0, 2, 2}));   // 0.5, 1.5, 2.5 -> even
    EXPECT_EQ(ScaleRotator({-1, -3, 7}, 0.5f), (Rotator{0, -2, 4})); // -0.5, -1.5, 3.5
    EXPECT_EQ(ScaleRotator({100, 200, 300}, 0.333f), (Rotator{33, 67, 100}));
    EXPECT_EQ(AddRotators({60000, -60000, 65535}, {10000, -10000, 1}), (Rotator{70000, -70000, 65536}));
}

TEST(Rotator, DirectionToRotator) {
    EXPECT_EQ(DirectionToRotator({0, 0, 1}), (Rotator{16384, 0, 0}));
    EXPECT_EQ(DirectionToRotator({0.001f, 0, 0}).Pitch, 0); // too short for a pitch
    EXPECT_EQ(DirectionToRotator({0.001f, 0, 0.005f}).Pitch, 0);
    EXPECT_EQ(DirectionToRotator({0, 1, 0}), (Rotator{0, 16384, 0}));
    EXPECT_EQ(DirectionToRotator({-1, 0, 0}).Yaw, 32768);
    EXPECT_EQ(DirectionToRotator({0, -1, 0}).Yaw, -16384);
    EXPECT_EQ(DirectionToRotator({1, 0, -1}), (Rotator{-8192, 0, 0}));
    // Turning +X by the result points along the original direction.
    const Vector dir = Normal(Vector{3, -4, 2});
    ExpectNear(RotateVector({1, 0, 0}, DirectionToRotator(dir)), dir, 2e-4f);
}

} // namespace
} // namespace orv
