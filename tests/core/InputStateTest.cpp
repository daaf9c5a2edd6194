// Key and button latches, pointer recentring for mouse look and the character buffer's limit
// (the platform tests feed it through SDL events).
#include "core/InputState.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace orv {
namespace {

using Pair = std::pair<int, int>;

TEST(InputState, KeysAndButtonsActOncePerPressWhoeverAsks) {
    // The step sees Escape and opens the menu; the menu, asking in the same step and in every
    // step the key stays down, must not see the same press again.
    InputState input;
    input.SetKey(kKeyEscape, true);
    EXPECT_TRUE(input.KeyEdge(kKeyEscape));
    for (int step = 0; step < 30; ++step) {
        EXPECT_FALSE(input.KeyEdge(kKeyEscape));
    }
    input.SetKey(kKeyEscape, false);
    input.KeyEdge(kKeyEscape); // a poll while the key is up clears the latch
    input.SetKey(kKeyEscape, true);
    EXPECT_TRUE(input.KeyEdge(kKeyEscape)); // so a second press acts again
    // A press made and let go between two polls is missed: the latch only sees states.
    input.SetKey(kKeyEscape, false);
    input.SetKey(kKeyEscape, true);
    input.SetKey(kKeyEscape, false);
    EXPECT_FALSE(input.KeyEdge(kKeyEscape));
    input.SetKey(kKeyEnter, true);
    input.SetKey(kKeyUp, true);
    EXPECT_TRUE(input.KeyEdge(kKeyEnter) && input.KeyEdge(kKeyUp)) << "keys do not share latches";

    input.SetKey(-1, true);
    input.SetKey(256, true); // outside the table of 256 scancodes: ignored
    input.SetKey(255, true);
    EXPECT_FALSE(input.KeyDown(-1) || input.KeyDown(256) || input.KeyEdge(256) || input.KeyDown(0));
    EXPECT_TRUE(input.KeyDown(255));

    input.SetButton(MouseButton::Right, true);
    EXPECT_TRUE(input.ButtonEdge(MouseButton::Right));
    EXPECT_FALSE(input.ButtonEdge(MouseButton::Right));
    // A key and a button pressed in a step that did not ask for them (the swim stroke's button
    // held while falling into water) are no fresh press in the steps after it.
    input.SetButton(MouseButton::Left, true);
    input.SetKey(kKeySpace, true);
    input.EndStep();
    EXPECT_FALSE(input.ButtonEdge(MouseButton::Left) || input.KeyEdge(kKeySpace));
}

TEST(InputState, MouseLookRecentresAtTheMiddleHalfWithoutLosingMotion) {
    InputState input;
    std::vector<Pair> warps;
    input.SetWarp([&](int x, int y) { warps.emplace_back(x, y); });
    input.SetMouseArea(800, 600);
    input.SetMousePosition(400, 300);
    Pair delta{-1, -1};
    auto move = [&](int dx, int dy) {
        input.MoveMouse(dx, dy);
        input.MouseLookDelta(delta.first, delta.second);
        return delta;
    };
    input.SetMouseAvailable(true);
    EXPECT_EQ(move(0, 0), Pair(0, 0)) << "the first reading is the origin";
    EXPECT_EQ(move(200, 0), Pair(200, 0));   // x 600 is exactly 0.75 of the width: still inside
    EXPECT_EQ(move(1, 0), Pair(1, 0));       // beyond: moved back by half the width
    EXPECT_EQ(move(5, 0), Pair(5, 0));       // measured from the shifted last position
    EXPECT_EQ(move(0, -200), Pair(0, -200)); // y 100 is below a quarter of the height
    EXPECT_EQ(warps, (std::vector<Pair>{{201, 300}, {206, 400}}));

    // While the mouse is away nothing moves; where the pointer went meanwhile is the new origin.
    input.SetMouseAvailable(false);
    EXPECT_EQ(move(50, 0), Pair(0, 0));
    input.SetMouseAvailable(true);
    EXPECT_EQ(move(0, 0), Pair(0, 0));
}

TEST(InputState, CharacterBufferKeepsTheFirstCharactersAndDropsOverflow) {
    InputState input;
    for (int i = 0; i < InputState::kCharBufferSize + 10; ++i) {
        input.PushChar(static_cast<uint8_t>(i));
    }
    EXPECT_EQ(input.PendingChars(), InputState::kCharBufferSize);
    uint8_t c = 0;
    EXPECT_TRUE(input.PopChar(c) && c == 0);
    input.DiscardChars();
    EXPECT_FALSE(input.PopChar(c));
}

} // namespace
} // namespace orv
