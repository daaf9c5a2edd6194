// The catch-up loop against a fake clock.
#include "shell/MainLoop.h"

#include <gtest/gtest.h>

#include <vector>

namespace orv {
namespace {

TEST(MainLoop, StallInAStepIsCaughtUpBeforeTheNextFrame) {
    double now = 0.0;
    LoopClock clock;
    int steps = 0;
    std::vector<int> stepsAtFrame;
    auto step = [&] {
        ++steps;
        if (steps == 10) {
            now += 3.0; // a level load inside this step
        }
        return true;
    };
    auto frame = [&] { stepsAtFrame.push_back(steps); };
    while (steps < 400) {
        now += 0.002; // a fast frame
        RunCatchUpPass(clock, now, step, frame);
    }
    // The pass that ran step 10 ends at its own deadline; the next pass runs the 3 seconds of
    // missing steps back to back, and only then is a frame drawn.
    int biggestBatch = 0;
    int passesWithBatch = 0;
    for (size_t i = 1; i < stepsAtFrame.size(); ++i) {
        const int batch = stepsAtFrame[i] - stepsAtFrame[i - 1];
        biggestBatch = std::max(biggestBatch, batch);
        passesWithBatch += batch > 2 ? 1 : 0;
    }
    EXPECT_GE(biggestBatch, 179);
    EXPECT_LE(biggestBatch, 181);
    EXPECT_EQ(passesWithBatch, 1);
    // Over the whole run the simulation kept to 60 steps per second of wall-clock time.
    EXPECT_NEAR(clock.Simulated, now, 1.0 / 60.0 + 1e-9);
}

TEST(MainLoop, EveryPassDrawsOneFrameEvenWithoutSteps) {
    LoopClock clock;
    clock.Start = 100.0;
    int steps = 0, frames = 0;
    auto step = [&] { return ++steps, true; };
    auto frame = [&] { ++frames; };
    EXPECT_EQ(RunCatchUpPass(clock, 100.0, step, frame), 0); // no time has passed
    EXPECT_EQ(RunCatchUpPass(clock, 100.001, step, frame), 1); // the first step is due at once
    EXPECT_EQ(RunCatchUpPass(clock, 100.01, step, frame), 0);
    EXPECT_EQ(RunCatchUpPass(clock, 100.49, step, frame), 29); // steps 2 .. 30
    EXPECT_EQ(frames, 4);
    EXPECT_EQ(steps, 30);
    EXPECT_DOUBLE_EQ(clock.Simulated, 30 * kStepSeconds);
}

TEST(MainLoop, AStepThatDeclinesEndsTheCatchUp) {
    LoopClock clock;
    int steps = 0, frames = 0;
    auto step = [&] {
        if (steps == 5) {
            return false; // a step limit reached
        }
        ++steps;
        return true;
    };
    EXPECT_EQ(RunCatchUpPass(clock, 1.0, step, [&] { ++frames; }), 5);
    EXPECT_EQ(frames, 1); // the frame after the last step is still drawn
    EXPECT_DOUBLE_EQ(clock.Simulated, 5 * kStepSeconds);
    EXPECT_EQ(kStepDeltaTime, 0.016666668f);
}

} // namespace
} // namespace orv
