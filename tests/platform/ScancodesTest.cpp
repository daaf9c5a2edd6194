// The SDL-to-set-1 key table against a PC keyboard.
#include "platform/Scancodes.h"

#include "core/InputState.h"

#include <SDL2/SDL_keyboard.h>
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <vector>

namespace orv {
namespace {

TEST(Scancodes, TheKeysTheEngineUses) {
    EXPECT_EQ(Set1FromSdlScancode(SDL_SCANCODE_ESCAPE), kKeyEscape);
    EXPECT_EQ(Set1FromSdlScancode(SDL_SCANCODE_RETURN), 28);
    EXPECT_EQ(Set1FromSdlScancode(SDL_SCANCODE_UP), 72);
    EXPECT_EQ(Set1FromSdlScancode(SDL_SCANCODE_DOWN), 80);
    EXPECT_EQ(Set1FromSdlScancode(SDL_SCANCODE_LEFT), 75);
    EXPECT_EQ(Set1FromSdlScancode(SDL_SCANCODE_RIGHT), 77);
    EXPECT_EQ(Set1FromSdlScancode(SDL_SCANCODE_W), 0x11);
    EXPECT_EQ(Set1FromSdlScancode(SDL_SCANCODE_A), 0x1E);
    EXPECT_EQ(Set1FromSdlScancode(SDL_SCANCODE_S), 0x1F);
    EXPECT_EQ(Set1FromSdlScancode(SDL_SCANCODE_D), 0x20);
    EXPECT_EQ(Set1FromSdlScancode(SDL_SCANCODE_LCTRL), 0x1D);
    EXPECT_EQ(Set1FromSdlScancode(SDL_SCANCODE_F), 0x21);
    EXPECT_EQ(Set1FromSdlScancode(SDL_SCANCODE_G), 0x22);
    EXPECT_EQ(Set1FromSdlScancode(SDL_SCANCODE_N), 0x31);
    EXPECT_EQ(Set1FromSdlScancode(SDL_SCANCODE_M), 0x32);
    EXPECT_EQ(Set1FromSdlScancode(SDL_SCANCODE_SPACE), 0x39);
    EXPECT_EQ(Set1FromSdlScancode(SDL_SCANCODE_F1), 0x3B);
    EXPECT_EQ(Set1FromSdlScancode(SDL_SCANCODE_F9), 0x43);
    EXPECT_EQ(Set1FromSdlScancode(SDL_SCANCODE_END), 0x4F);
    EXPECT_EQ(Set1FromSdlScancode(SDL_SCANCODE_PAGEDOWN), 0x51);
    EXPECT_EQ(Set1FromSdlScancode(SDL_SCANCODE_DELETE), 0x53);
    EXPECT_EQ(Set1FromSdlScancode(SDL_SCANCODE_F10), 0x44);
    EXPECT_EQ(Set1FromSdlScancode(SDL_SCANCODE_F11), 0x57);
    EXPECT_EQ(Set1FromSdlScancode(SDL_SCANCODE_F12), 0x58);
}

// Extended keys and their twins: the E0 prefix dropped, they read the same.
constexpr std::pair<SDL_Scancode, SDL_Scancode> kTwins[] = {
    {SDL_SCANCODE_UP, SDL_SCANCODE_KP_8},         {SDL_SCANCODE_DOWN, SDL_SCANCODE_KP_2},
    {SDL_SCANCODE_LEFT, SDL_SCANCODE_KP_4},       {SDL_SCANCODE_RIGHT, SDL_SCANCODE_KP_6},
    {SDL_SCANCODE_HOME, SDL_SCANCODE_KP_7},       {SDL_SCANCODE_END, SDL_SCANCODE_KP_1},
    {SDL_SCANCODE_PAGEUP, SDL_SCANCODE_KP_9},     {SDL_SCANCODE_PAGEDOWN, SDL_SCANCODE_KP_3},
    {SDL_SCANCODE_INSERT, SDL_SCANCODE_KP_0},     {SDL_SCANCODE_DELETE, SDL_SCANCODE_KP_PERIOD},
    {SDL_SCANCODE_RCTRL, SDL_SCANCODE_LCTRL},     {SDL_SCANCODE_RALT, SDL_SCANCODE_LALT},
    {SDL_SCANCODE_KP_ENTER, SDL_SCANCODE_RETURN}, {SDL_SCANCODE_KP_DIVIDE, SDL_SCANCODE_SLASH},
};

TEST(Scancodes, ExtendedKeysShareTheirPcCodes) {
    for (const auto& [a, b] : kTwins) {
        EXPECT_NE(Set1FromSdlScancode(a), 0) << SDL_GetScancodeName(a);
        EXPECT_EQ(Set1FromSdlScancode(a), Set1FromSdlScancode(b)) << a << " and " << b;
    }
}

TEST(Scancodes, EveryPcKeyHasItsOwnCode) {
    // The 104 keys of a US PC keyboard and the extra ISO key.
    std::vector<SDL_Scancode> keys;
    for (int sc = SDL_SCANCODE_A; sc <= SDL_SCANCODE_0; ++sc) {
        keys.push_back(static_cast<SDL_Scancode>(sc)); // letters and digits
    }
    for (int sc = SDL_SCANCODE_RETURN; sc <= SDL_SCANCODE_SLASH; ++sc) {
        if (sc != SDL_SCANCODE_NONUSHASH) {
            keys.push_back(static_cast<SDL_Scancode>(sc)); // Enter .. "/" of the main block
        }
    }
    for (int sc = SDL_SCANCODE_CAPSLOCK; sc <= SDL_SCANCODE_KP_PERIOD; ++sc) {
        keys.push_back(static_cast<SDL_Scancode>(sc)); // Caps Lock, F1-F12, navigation, keypad
    }
    for (SDL_Scancode sc : {SDL_SCANCODE_NONUSBACKSLASH, SDL_SCANCODE_APPLICATION, SDL_SCANCODE_LCTRL,
                            SDL_SCANCODE_LSHIFT, SDL_SCANCODE_LALT, SDL_SCANCODE_LGUI, SDL_SCANCODE_RCTRL,
                            SDL_SCANCODE_RSHIFT, SDL_SCANCODE_RALT, SDL_SCANCODE_RGUI}) {
        keys.push_back(sc);
    }
    EXPECT_EQ(keys.size(), 105u);

    // Codes may be shared only as on a PC: the extended keys with their keypad or left twins,
    // Pause with Num Lock, Print Screen with keypad "*".
    std::set<std::set<int>> allowedSharing = {{SDL_SCANCODE_PAUSE, SDL_SCANCODE_NUMLOCKCLEAR},
                                              {SDL_SCANCODE_PRINTSCREEN, SDL_SCANCODE_KP_MULTIPLY}};
    for (const auto& [a, b] : kTwins) {
        allowedSharing.insert({a, b});
    }
    std::map<int, std::set<int>> byCode;
    for (SDL_Scancode sc : keys) {
        const int code = Set1FromSdlScancode(sc);
        EXPECT_GT(code, 0) << SDL_GetScancodeName(sc) << " has no code";
        EXPECT_LT(code, InputState::kNumScancodes);
        byCode[code].insert(sc);
    }
    for (const auto& [code, group] : byCode) {
        if (group.size() > 1) {
            EXPECT_TRUE(allowedSharing.count(group)) << "keys sharing code " << code;
        }
    }
}

TEST(Scancodes, MediaKeysDoNotAliasLetters) {
    // With their E0 prefix dropped, media keys would read as D, B, C ...: they have no code.
    for (SDL_Scancode sc : {SDL_SCANCODE_MUTE, SDL_SCANCODE_VOLUMEUP, SDL_SCANCODE_VOLUMEDOWN, SDL_SCANCODE_AUDIONEXT,
                            SDL_SCANCODE_AUDIOPLAY, SDL_SCANCODE_AUDIOSTOP, SDL_SCANCODE_AC_BACK, SDL_SCANCODE_UNKNOWN}) {
        EXPECT_EQ(Set1FromSdlScancode(sc), 0) << SDL_GetScancodeName(sc);
    }
    EXPECT_EQ(Set1FromSdlScancode(-1), 0);
    EXPECT_EQ(Set1FromSdlScancode(SDL_NUM_SCANCODES), 0);
    EXPECT_EQ(Set1FromSdlScancode(100000), 0);
}

} // namespace
} // namespace orv
