// Light flicker sets and display gamma ramps.
#include "shell/Flicker.h"
#include "shell/Gamma.h"

#include "core/Random.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

TEST(Flicker, FactorsLieInTheirRangeBelowOne) {
    EXPECT_EQ(FlickerFactor(0.0f), 0.6f);
    // The largest random number makes 0.4 r + 0.6 round up to 1.0 in floats; it must not.
    EXPECT_LT(FlickerFactor(0.99999994f), 1.0f);
    EXPECT_GT(FlickerFactor(0.99999994f), 0.9999f);
    SeedRandom(7);
    FlickerSets flicker;
    for (int round = 0; round < 200; ++round) {
        FillFlickerSets(flicker);
        for (int i = 0; i < kFlickerSize; ++i) {
            ASSERT_GE(flicker.Previous[i], 0.6f);
            ASSERT_LT(flicker.Previous[i], 1.0f);
            ASSERT_GE(flicker.Next[i], 0.6f);
            ASSERT_LT(flicker.Next[i], 1.0f);
        }
    }
    EXPECT_NE(flicker.Previous, flicker.Next);
}

TEST(Flicker, BlendsOverASecondThenRenews) {
    FlickerSets flicker;
    flicker.Previous.fill(0.6f);
    flicker.Next.fill(1.0f);
    UpdateFlicker(flicker, 0.25);
    EXPECT_FLOAT_EQ(flicker.Table[0], 0.7f);
    EXPECT_FLOAT_EQ(flicker.Table[255], 0.7f);
    EXPECT_EQ(flicker.LastTime, 0.0f);

    UpdateFlicker(flicker, 1.0); // exactly one second: not yet renewed
    EXPECT_FLOAT_EQ(flicker.Table[17], 1.0f);
    EXPECT_EQ(flicker.LastTime, 0.0f);

    SeedRandom(3);
    UpdateFlicker(flicker, 1.5); // renewed: the old next set is now the previous one
    EXPECT_EQ(flicker.LastTime, 1.5f);
    EXPECT_EQ(flicker.Previous[9], 1.0f);
    EXPECT_FLOAT_EQ(flicker.Table[9], 1.0f); // d is 0 again
    const float next = flicker.Next[9];
    EXPECT_GE(next, 0.6f);
    EXPECT_LT(next, 1.0f);
    UpdateFlicker(flicker, 2.0);
    EXPECT_FLOAT_EQ(flicker.Table[9], 0.5f * 1.0f + 0.5f * next);
    EXPECT_EQ(flicker.LastTime, 1.5f);
}

TEST(Gamma, RampValues) {
    const GammaRamp bright = GammaRampFor(2.0f);
    EXPECT_EQ(bright.Red[0], 0);
    EXPECT_EQ(bright.Red[1], 4096);
    EXPECT_EQ(bright.Green[64], 32768);
    EXPECT_EQ(bright.Blue[128], 46340);
    EXPECT_EQ(bright.Red[255], 65407);
    const GammaRamp dark = GammaRampFor(0.5f);
    EXPECT_EQ(dark.Red[1], 1);
    EXPECT_EQ(dark.Green[128], 16384);
    EXPECT_EQ(dark.Blue[255], 65024);

    const GammaRamp linear = LinearGammaRamp();
    EXPECT_EQ(linear.Red[0], 0);
    EXPECT_EQ(linear.Red[1], 256);
    EXPECT_EQ(linear.Green[128], 32768);
    EXPECT_EQ(linear.Blue[255], 65279); // the linear ramp never reaches 65535
    const GammaRamp one = GammaRampFor(1.0f);
    for (int i = 0; i < 256; ++i) {
        ASSERT_EQ(one.Red[i], linear.Red[i]);
        ASSERT_EQ(one.Blue[i], linear.Blue[i]);
    }
}

} // namespace
} // namespace orv
