// Key latches, pointer recentring and the character buffer of the input state.
#include "core/InputState.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace orv {
namespace {

TEST(InputState, KeyHeldForManyStepsActsOnce) {
    InputState input;
    input.SetKey(kKeyF1, true);
    int presses = 0;
    for (int step = 0; step < 30; ++step) {
        presses += input.KeyEdge(kKeyF1) ? 1 : 0;
        EXPECT_TRUE(input.KeyDown(kKeyF1));
    }
    EXPECT_EQ(presses, 1);
    input.SetKey(kKeyF1, false);
    EXPECT_FALSE(input.KeyEdge(kKeyF1)); // the release clears the latch
    input.SetKey(kKeyF1, true);
    EXPECT_TRUE(input.KeyEdge(kKeyF1)); // a second press acts again
}

TEST(InputState, EscapeLatchIsSharedByEveryCaller) {
    // The step sees Escape and opens the menu; the menu, asking in the same step and in the
    // steps after, must not see the same press again.
    InputState input;
    input.SetKey(kKeyEscape, true);
    const bool seenByStep = input.KeyEdge(kKeyEscape);
    const bool seenByMenu = input.KeyEdge(kKeyEscape);
    EXPECT_TRUE(seenByStep);
    EXPECT_FALSE(seenByMenu);
    EXPECT_FALSE(input.KeyEdge(kKeyEscape));

    // A press made and let go between two polls is missed, as the latch only sees states.
    input.SetKey(kKeyEscape, false);
    input.SetKey(kKeyEscape, true);
    input.SetKey(kKeyEscape, false);
    EXPECT_FALSE(input.KeyEdge(kKeyEscape));

    // Keys do not share latches with each other.
    input.SetKey(kKeyEnter, true);
    input.SetKey(kKeyUp, true);
    EXPECT_TRUE(input.KeyEdge(kKeyEnter));
    EXPECT_TRUE(input.KeyEdge(kKeyUp));
}

TEST(InputState, ScancodesOutsideTheTableAreNeverDown) {
    InputState input;
    input.SetKey(-1, true);
    input.SetKey(256, true);
    input.SetKey(255, true);
    EXPECT_FALSE(input.KeyDown(-1));
    EXPECT_FALSE(input.KeyDown(256));
    EXPECT_FALSE(input.KeyEdge(256));
    EXPECT_TRUE(input.KeyDown(255));
    EXPECT_FALSE(input.KeyDown(0));
}

TEST(InputState, ButtonsAndReleaseAll) {
    InputState input;
    input.SetButton(MouseButton::Right, true);
    input.SetKey(kKeyW, true);
    EXPECT_TRUE(input.ButtonDown(MouseButton::Right));
    EXPECT_FALSE(input.ButtonDown(MouseButton::Left));
    EXPECT_TRUE(input.ButtonEdge(MouseButton::Right));
    EXPECT_FALSE(input.ButtonEdge(MouseButton::Right));
    input.ReleaseAll();
    EXPECT_FALSE(input.ButtonDown(MouseButton::Right));
    EXPECT_FALSE(input.KeyDown(kKeyW));
}

TEST(InputState, MouseLookRecentresAtTheMiddleHalf) {
    InputState input;
    std::vector<std::pair<int, int>> warps;
    input.SetWarp([&](int x, int y) { warps.emplace_back(x, y); });
    input.SetMouseArea(800, 600);
    input.SetMousePosition(400, 300);
    input.SetMouseAvailable(true);

    int dx = -1, dy = -1;
    input.MouseLookDelta(dx, dy); // the first reading is the origin
    EXPECT_EQ(dx, 0);
    EXPECT_EQ(dy, 0);

    input.MoveMouse(200, 0); // x 600 is exactly 0.75 of the width: still inside
    input.MouseLookDelta(dx, dy);
    EXPECT_EQ(dx, 200);
    EXPECT_TRUE(warps.empty());

    input.MoveMouse(1, 0); // beyond: moved back by half the width, motion not lost
    input.MouseLookDelta(dx, dy);
    EXPECT_EQ(dx, 1);
    ASSERT_EQ(warps.size(), 1u);
    EXPECT_EQ(warps[0], std::make_pair(201, 300));
    EXPECT_EQ(input.MouseX(), 201);
    input.MoveMouse(5, 0);
    input.MouseLookDelta(dx, dy);
    EXPECT_EQ(dx, 5); // measured from the shifted last position

    input.SetMousePosition(400, 300);
    input.MouseLookDelta(dx, dy);
    input.MoveMouse(-20, -160); // y 140 is below a quarter of 600
    input.MouseLookDelta(dx, dy);
    EXPECT_EQ(dx, -20);
    EXPECT_EQ(dy, -160);
    EXPECT_EQ(input.MouseY(), 440);
    EXPECT_EQ(warps.back(), std::make_pair(380, 440));

    // Turning on and on in one direction never stops.
    int total = 0;
    for (int i = 0; i < 50; ++i) {
        input.MoveMouse(90, 0);
        input.MouseLookDelta(dx, dy);
        total += dx;
    }
    EXPECT_EQ(total, 4500);
}

TEST(InputState, NoMouseDeltaWhileUnavailable) {
    InputState input;
    input.SetMouseArea(640, 480);
    input.SetMousePosition(320, 240);
    int dx = 0, dy = 0;
    input.MoveMouse(30, 30);
    input.MouseLookDelta(dx, dy);
    EXPECT_EQ(dx, 0); // never available yet
    input.SetMouseAvailable(true);
    input.MouseLookDelta(dx, dy);
    input.SetMouseAvailable(false);
    input.MoveMouse(50, 0);
    input.MouseLookDelta(dx, dy);
    EXPECT_EQ(dx, 0);
    // Back again: where the pointer went meanwhile is the new origin, not a jump.
    input.SetMouseAvailable(true);
    input.MouseLookDelta(dx, dy);
    EXPECT_EQ(dx, 0);
    EXPECT_EQ(dy, 0);
}

TEST(InputState, CharacterBufferKeepsOrderAndDropsOverflow) {
    InputState input;
    uint8_t c = 0;
    EXPECT_FALSE(input.PopChar(c));
    for (int i = 0; i < InputState::kCharBufferSize + 10; ++i) {
        input.PushChar(static_cast<uint8_t>(i));
    }
    EXPECT_EQ(input.PendingChars(), InputState::kCharBufferSize);
    ASSERT_TRUE(input.PopChar(c));
    EXPECT_EQ(c, 0);
    ASSERT_TRUE(input.PopChar(c));
    EXPECT_EQ(c, 1);
    input.DiscardChars();
    EXPECT_FALSE(input.PopChar(c));
}

} // namespace
} // namespace orv
