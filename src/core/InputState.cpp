// Key latches, pointer recentring and the character buffer.
#include "core/InputState.h"

#include <algorithm>

namespace orv {

namespace {

bool ValidScancode(int scancode) { return scancode >= 0 && scancode < InputState::kNumScancodes; }

// Moves a coordinate back into the middle half of an extent: the shift that was applied.
int RecentreShift(int position, int extent) {
    if (extent <= 0) {
        return 0;
    }
    if (position * 4 > extent * 3) {
        return -(extent / 2);
    }
    if (position * 4 < extent) {
        return extent / 2;
    }
    return 0;
}

} // namespace

void InputState::SetKey(int scancode, bool down) {
    if (ValidScancode(scancode)) {
        keys_[scancode] = down;
    }
}

bool InputState::KeyDown(int scancode) const { return ValidScancode(scancode) && keys_[scancode]; }

bool InputState::KeyEdge(int scancode) {
    if (!ValidScancode(scancode)) {
        return false;
    }
    const bool down = keys_[scancode];
    const bool result = down && !keyLatches_[scancode];
    keyLatches_[scancode] = down;
    return result;
}

void InputState::SetButton(MouseButton button, bool down) { buttons_[static_cast<int>(button)] = down; }

bool InputState::ButtonDown(MouseButton button) const { return buttons_[static_cast<int>(button)]; }

bool InputState::ButtonEdge(MouseButton button) {
    const int i = static_cast<int>(button);
    const bool result = buttons_[i] && !buttonLatches_[i];
    buttonLatches_[i] = buttons_[i];
    return result;
}

void InputState::EndStep() {
    std::copy(std::begin(keys_), std::end(keys_), std::begin(keyLatches_));
    std::copy(std::begin(buttons_), std::end(buttons_), std::begin(buttonLatches_));
}

void InputState::ReleaseAll() {
    for (bool& key : keys_) {
        key = false;
    }
    for (bool& button : buttons_) {
        button = false;
    }
}

void InputState::SetMousePosition(int x, int y) {
    mouseX_ = x;
    mouseY_ = y;
}

void InputState::MoveMouse(int dx, int dy) {
    mouseX_ += dx;
    mouseY_ += dy;
}

void InputState::SetMouseAvailable(bool available) {
    if (!available) {
        haveLast_ = false; // the first reading after the mouse comes back is the new origin
    }
    mouseAvailable_ = available;
}

void InputState::SetMouseArea(int width, int height) {
    areaWidth_ = width;
    areaHeight_ = height;
}

void InputState::MouseLookDelta(int& dx, int& dy) {
    dx = 0;
    dy = 0;
    if (!mouseAvailable_) {
        return;
    }
    if (!haveLast_) {
        lastX_ = mouseX_;
        lastY_ = mouseY_;
        haveLast_ = true;
    }
    dx = mouseX_ - lastX_;
    dy = mouseY_ - lastY_;
    lastX_ = mouseX_;
    lastY_ = mouseY_;

    const int shiftX = RecentreShift(mouseX_, areaWidth_);
    const int shiftY = RecentreShift(mouseY_, areaHeight_);
    if (shiftX != 0 || shiftY != 0) {
        mouseX_ += shiftX;
        mouseY_ += shiftY;
        lastX_ += shiftX;
        lastY_ += shiftY;
        if (warp_) {
            warp_(mouseX_, mouseY_);
        }
    }
}

void InputState::PushChar(uint8_t c) {
    if (static_cast<int>(chars_.size()) < kCharBufferSize) {
        chars_.push_back(c);
    }
}

bool InputState::PopChar(uint8_t& c) {
    if (chars_.empty()) {
        return false;
    }
    c = chars_.front();
    chars_.pop_front();
    return true;
}

} // namespace orv
