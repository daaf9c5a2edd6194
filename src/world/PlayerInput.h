// The keyboard and mouse as the player pawn reads them: held keys by PC set-1 scancode, press
// edges with one latch per key shared by every reader, mouse buttons and mouse-look motion.
#pragma once

namespace orv {

enum MouseButton : int { MouseLeft = 0, MouseRight = 1, MouseMiddle = 2 };

// Set-1 scancodes the player pawn binds.
namespace Key {
constexpr int Escape = 0x01;
constexpr int W = 0x11;
constexpr int Ctrl = 0x1D;
constexpr int A = 0x1E;
constexpr int S = 0x1F;
constexpr int D = 0x20;
constexpr int F = 0x21;
constexpr int G = 0x22;
constexpr int N = 0x31;
constexpr int M = 0x32;
constexpr int Space = 0x39;
constexpr int F1 = 0x3B;
constexpr int F9 = 0x43;
constexpr int Up = 0x48;
constexpr int Left = 0x4B;
constexpr int Right = 0x4D;
constexpr int End = 0x4F;
constexpr int Down = 0x50;
constexpr int PageDown = 0x51;
constexpr int Delete = 0x53;
} // namespace Key

class PlayerInput {
public:
    virtual ~PlayerInput() = default;
    virtual bool KeyDown(int scancode) const = 0;
    // True once per press: the key is down and its latch was clear.
    virtual bool KeyEdge(int scancode) = 0;
    virtual bool ButtonDown(int button) const = 0;
    virtual bool ButtonEdge(int button) = 0;
    // Mouse motion since the previous call; false when the mouse state is unavailable.
    virtual bool MouseLookDelta(int& dx, int& dy) = 0;
};

} // namespace orv
