// The uniform generator: range, determinism by seed, and unit vectors.
#include "core/Random.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

TEST(Random, SeededSequencesRepeatAndStayInRange) {
    RandomGenerator a, b, c;
    a.Seed(42);
    b.Seed(42);
    c.Seed(43);
    bool differs = false;
    double sum = 0;
    for (int i = 0; i < 10000; ++i) {
        const float x = a.Float();
        ASSERT_GE(x, 0.0f);
        ASSERT_LT(x, 1.0f);
        EXPECT_EQ(x, b.Float());
        differs |= x != c.Float();
        sum += x;
    }
    EXPECT_TRUE(differs);
    EXPECT_NEAR(sum / 10000, 0.5, 0.02);
}

TEST(Random, UnitVectorsAreUnitAndSpread) {
    RandomGenerator g;
    g.Seed(7);
    Vector mean;
    for (int i = 0; i < 5000; ++i) {
        const Vector v = g.UnitVector();
        ASSERT_NEAR(Length(v), 1.0f, 1e-5f);
        mean += v;
    }
    EXPECT_LT(Length(mean * (1.0f / 5000)), 0.05f);
}

} // namespace
} // namespace orv
