// Vectors, rotators and the random generator: the planar rotation against its polar definition,
// the rounding and direction rules, and the generator's range, repeatability and spread.
#include "core/Random.h"
#include "core/Rotator.h"
#include "core/Vector.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace orv {
namespace {

// The polar definition computed independently in double precision: the point turned in the Y-Z,
// then X-Z, then X-Y plane, each pair seen as a point at the angle atan2(b, a); 65536 units
// make a whole turn.
Vector PolarReference(Vector v, double roll, double yaw, double pitch) {
    auto turn = [](double& a, double& b, double units) {
        const double len = std::hypot(a, b), angle = std::atan2(b, a) + units / 65536.0 * 2.0 * std::numbers::pi;
        a = len * std::cos(angle);
        b = len * std::sin(angle);
    };
    double x = v.X, y = v.Y, z = v.Z;
    turn(y, z, -roll);
    turn(x, z, pitch);
    turn(y, x, -yaw);
    return {float(x), float(y), float(z)};
}

TEST(Rotator, RotateVectorMatchesThePolarStepsAndTheAxisConventions) {
    EXPECT_LT(Length(RotateVector({1, 0, 0}, {0, 16384, 0}) - Vector{0, 1, 0}), 1e-5f);  // Yaw turns +X toward +Y
    EXPECT_LT(Length(RotateVector({1, 0, 0}, {16384, 0, 0}) - Vector{0, 0, 1}), 1e-5f);  // Pitch tilts +X up
    EXPECT_LT(Length(RotateVector({0, 1, 0}, {0, 0, 16384}) - Vector{0, 0, -1}), 1e-5f); // Roll turns +Y toward -Z
    const Rotator rotators[] = {{1000, 2000, 3000}, {-16384, 40000, 123}, {70000, -5, 32768}, {8192, 8192, 8192}};
    const Vector vectors[] = {{1, 2, 3}, {-50, 0.5f, 7}, {0, 0, 1}, {100, -100, 0}};
    for (const Rotator& r : rotators) {
        for (const Vector& v : vectors) {
            EXPECT_LT(Length(RotateVector(v, r) - PolarReference(v, r.Roll, r.Yaw, r.Pitch)), 1e-3f);
        }
    }
    // RotateByAngles takes its angles as Y-Z, X-Y, X-Z.
    EXPECT_EQ(RotateByAngles({1, 2, 3}, 100, 200, 300), RotateVector({1, 2, 3}, {300, 200, 100}));
}

TEST(Rotator, ScaleRoundsTiesToEvenAddNeverWrapsAndDirectionsTurnBack) {
    EXPECT_EQ(ScaleRotator({1, 3, 5}, 0.5f), (Rotator{0, 2, 2}));   // 0.5, 1.5, 2.5 -> even
    EXPECT_EQ(ScaleRotator({-1, -3, 7}, 0.5f), (Rotator{0, -2, 4})); // -0.5, -1.5, 3.5
    EXPECT_EQ(AddRotators({60000, -60000, 65535}, {10000, -10000, 1}), (Rotator{70000, -70000, 65536}));

    EXPECT_EQ(DirectionToRotator({0, 0, 1}), (Rotator{16384, 0, 0}));
    EXPECT_EQ(DirectionToRotator({1, 0, -1}), (Rotator{-8192, 0, 0}));
    EXPECT_EQ(DirectionToRotator({-1, 0, 0}).Yaw, 32768);
    EXPECT_EQ(DirectionToRotator({0.001f, 0, 0.005f}).Pitch, 0) << "too short for a pitch";
    // Turning +X by the result points along the original direction, in every quadrant.
    for (const Vector d : {Vector{0, 1, 0}, {0, -1, 0}, {3, -4, 2}, {-2, -1, -5}, {-1, 3, 0.5f}}) {
        EXPECT_LT(Length(RotateVector({1, 0, 0}, DirectionToRotator(d)) - Normal(d)), 2e-4f);
    }
    EXPECT_EQ(Normal(Vector{}), Vector{}) << "the zero vector has no direction and stays zero";
}

TEST(Random, SeededSequencesRepeatStayInRangeAndSpread) {
    RandomGenerator a, b, c;
    a.Seed(42);
    b.Seed(42);
    c.Seed(43);
    bool differs = false;
    double sum = 0;
    Vector mean;
    for (int i = 0; i < 10000; ++i) {
        const float x = a.Float();
        ASSERT_TRUE(x >= 0.0f && x < 1.0f) << x;
        EXPECT_EQ(x, b.Float());
        differs |= x != c.Float();
        sum += x;
        const Vector v = a.UnitVector();
        ASSERT_NEAR(Length(v), 1.0f, 1e-5f);
        EXPECT_EQ(v, b.UnitVector());
        mean += v;
    }
    EXPECT_TRUE(differs);
    EXPECT_NEAR(sum / 10000, 0.5, 0.02);
    EXPECT_LT(Length(mean * (1.0f / 10000)), 0.05f);
}

} // namespace
} // namespace orv
