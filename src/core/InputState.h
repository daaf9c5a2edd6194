// What the player's hands are doing: keys by PC set-1 scancode, the mouse buttons and pointer,
// and the keyboard character buffer. The platform fills it from the real devices, an input
// script fills it instead in scripted runs; the world and the menus only ever read it.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>

namespace orv {

// The set-1 scancodes the engine polls. The arrow keys share their codes with the keypad,
// as on a PC keyboard (Up is keypad 8, End is keypad 1).
constexpr int kKeyEscape = 0x01;
constexpr int kKeyW = 0x11;
constexpr int kKeyEnter = 0x1C;
constexpr int kKeyCtrl = 0x1D;
constexpr int kKeyA = 0x1E;
constexpr int kKeyS = 0x1F;
constexpr int kKeyD = 0x20;
constexpr int kKeyF = 0x21;
constexpr int kKeyG = 0x22;
constexpr int kKeyN = 0x31;
constexpr int kKeyM = 0x32;
constexpr int kKeyAlt = 0x38;
constexpr int kKeySpace = 0x39;
constexpr int kKeyF1 = 0x3B;
constexpr int kKeyF9 = 0x43;
constexpr int kKeyUp = 0x48;
constexpr int kKeyLeft = 0x4B;
constexpr int kKeyRight = 0x4D;
constexpr int kKeyEnd = 0x4F;
constexpr int kKeyDown = 0x50;
constexpr int kKeyPageDown = 0x51;
constexpr int kKeyDelete = 0x53;

enum class MouseButton : int { Left = 0, Right = 1, Middle = 2 };

class InputState {
public:
    static constexpr int kNumScancodes = 256;
    static constexpr int kCharBufferSize = 256;

    // Scancodes outside 0..255 are ignored (never down).
    void SetKey(int scancode, bool down);
    bool KeyDown(int scancode) const;
    // True once when the key goes from up to down. Each scancode has one latch shared by every
    // caller, so one press of Escape is acted on once in total, whoever asks first.
    bool KeyEdge(int scancode);

    void SetButton(MouseButton button, bool down);
    bool ButtonDown(MouseButton button) const;
    // True once per press of the button (its own latch, as for keys).
    bool ButtonEdge(MouseButton button);

    // The end of a simulation step: every key's and button's state becomes the previous state
    // its next edge is measured against, whether anyone asked for its edge or not (a button held
    // down while nothing listened for it is not a fresh press later).
    void EndStep();

    // Lets go of every key and button, as when the window loses the keyboard: no key stays
    // stuck down while another program has it.
    void ReleaseAll();

    // The pointer, in window pixels. Unavailable while the window does not have the mouse.
    void SetMousePosition(int x, int y);
    void MoveMouse(int dx, int dy);
    void SetMouseAvailable(bool available);
    bool MouseAvailable() const { return mouseAvailable_; }
    int MouseX() const { return mouseX_; }
    int MouseY() const { return mouseY_; }

    // The window area the recentring works in, and how the real pointer is moved (none in
    // scripted runs: the position here is the only pointer there is).
    void SetMouseArea(int width, int height);
    using WarpFunction = std::function<void(int x, int y)>;
    void SetWarp(WarpFunction warp) { warp_ = std::move(warp); }

    // Pointer motion since the previous call. A pointer that leaves the middle half of the
    // area is moved back by half the area, and the last position with it, so turning never
    // stops at the window edge. No motion while the mouse is unavailable.
    void MouseLookDelta(int& dx, int& dy);

    // Typed characters (bytes, Latin-1); a full buffer drops new ones.
    void PushChar(uint8_t c);
    bool PopChar(uint8_t& c);
    void DiscardChars() { chars_.clear(); }
    int PendingChars() const { return static_cast<int>(chars_.size()); }

private:
    bool keys_[kNumScancodes] = {};
    bool keyLatches_[kNumScancodes] = {};
    bool buttons_[3] = {};
    bool buttonLatches_[3] = {};

    int mouseX_ = 0;
    int mouseY_ = 0;
    bool mouseAvailable_ = false;
    int lastX_ = 0;
    int lastY_ = 0;
    bool haveLast_ = false;
    int areaWidth_ = 0;
    int areaHeight_ = 0;
    WarpFunction warp_;

    std::deque<uint8_t> chars_;
};

} // namespace orv
