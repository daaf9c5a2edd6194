// The SDL-to-set-1 key table against a PC keyboard.
#include "platform/Scancodes.h"

#include "core/InputState.h"

#include <SDL2/SDL_keyboard.h>
#include <gtest/gtest.h>

#include <set>
#include <vector>

namespace orv {
namespace {

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

TEST(Scancodes, TheKeysTheEngineUsesReadAsItsOwnCodes) {
    const std::pair<SDL_Scancode, int> keys[] = {
        {SDL_SCANCODE_ESCAPE, kKeyEscape}, {SDL_SCANCODE_RETURN, kKeyEnter}, {SDL_SCANCODE_UP, kKeyUp},
        {SDL_SCANCODE_DOWN, kKeyDown},     {SDL_SCANCODE_LEFT, kKeyLeft},    {SDL_SCANCODE_RIGHT, kKeyRight},
        {SDL_SCANCODE_W, kKeyW},           {SDL_SCANCODE_A, kKeyA},          {SDL_SCANCODE_S, kKeyS},
        {SDL_SCANCODE_D, kKeyD},           {SDL_SCANCODE_LCTRL, kKeyCtrl},   {SDL_SCANCODE_LALT, kKeyAlt},
        {SDL_SCANCODE_F, kKeyF},           {SDL_SCANCODE_G, kKeyG},          {SDL_SCANCODE_N, kKeyN},
        {SDL_SCANCODE_M, kKeyM},           {SDL_SCANCODE_SPACE, kKeySpace},  {SDL_SCANCODE_F1, kKeyF1},
        {SDL_SCANCODE_F9, kKeyF9},         {SDL_SCANCODE_END, kKeyEnd},      {SDL_SCANCODE_PAGEDOWN, kKeyPageDown},
        {SDL_SCANCODE_DELETE, kKeyDelete},
    };
    for (const auto& [sdl, set1] : keys) {
        EXPECT_EQ(Set1FromSdlScancode(sdl), set1) << SDL_GetScancodeName(sdl);
    }
    // With their E0 prefix dropped, media keys would read as D, B, C ...: they have no code.
    for (int sc : {int(SDL_SCANCODE_MUTE), int(SDL_SCANCODE_VOLUMEUP), int(SDL_SCANCODE_VOLUMEDOWN),
                   int(SDL_SCANCODE_AUDIONEXT), int(SDL_SCANCODE_AUDIOPLAY), int(SDL_SCANCODE_AC_BACK),
                   int(SDL_SCANCODE_UNKNOWN), -1, int(SDL_NUM_SCANCODES), 100000}) {
        EXPECT_EQ(Set1FromSdlScancode(sc), 0) << sc;
    }
}

TEST(Scancodes, EveryPcKeyHasItsOwnCodeSaveTheExtendedTwins) {
    // The 104 keys of a US PC keyboard and the extra ISO key.
    std::vector<int> keys;
    auto add = [&](int first, int last) {
        for (int sc = first; sc <= last; ++sc) {
            keys.push_back(sc);
        }
    };
    add(SDL_SCANCODE_A, SDL_SCANCODE_0);              // letters and digits
    add(SDL_SCANCODE_RETURN, SDL_SCANCODE_SLASH);     // Enter .. "/" of the main block ...
    std::erase(keys, SDL_SCANCODE_NONUSHASH);         // ... which has no non-US "#" key
    add(SDL_SCANCODE_CAPSLOCK, SDL_SCANCODE_KP_PERIOD); // Caps Lock, F1-F12, navigation, keypad
    keys.insert(keys.end(), {SDL_SCANCODE_NONUSBACKSLASH, SDL_SCANCODE_APPLICATION, SDL_SCANCODE_LCTRL, SDL_SCANCODE_LSHIFT,
                             SDL_SCANCODE_LALT, SDL_SCANCODE_LGUI, SDL_SCANCODE_RCTRL, SDL_SCANCODE_RSHIFT, SDL_SCANCODE_RALT,
                             SDL_SCANCODE_RGUI});
    ASSERT_EQ(keys.size(), 105u);
    std::set<int> codes;
    for (int sc : keys) {
        const int code = Set1FromSdlScancode(sc);
        EXPECT_GT(code, 0) << SDL_GetScancodeName(SDL_Scancode(sc)) << " has no code";
        codes.insert(code);
    }
    for (const auto& [a, b] : kTwins) {
        EXPECT_EQ(Set1FromSdlScancode(a), Set1FromSdlScancode(b)) << a << " and " << b;
    }
    // Codes are shared only as on a PC: the extended keys with their twins, Pause with Num Lock,
    // Print Screen with keypad "*".
    EXPECT_EQ(Set1FromSdlScancode(SDL_SCANCODE_PAUSE), Set1FromSdlScancode(SDL_SCANCODE_NUMLOCKCLEAR));
    EXPECT_EQ(Set1FromSdlScancode(SDL_SCANCODE_PRINTSCREEN), Set1FromSdlScancode(SDL_SCANCODE_KP_MULTIPLY));
    EXPECT_EQ(codes.size(), keys.size() - std::size(kTwins) - 2);
}

} // namespace
} // namespace orv
