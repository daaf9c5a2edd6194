// SDL scancodes (USB HID usage numbers) to the PC set-1 scancodes the engine uses.
#pragma once

namespace orv {

// The set-1 code of a key, or 0 for keys a PC keyboard does not have (media keys and the
// like). Extended keys lose their E0 prefix, as the engine has always seen them: the arrows
// and the navigation block share codes with the keypad, right Ctrl and Alt with the left
// ones, keypad Enter and "/" with the main keys.
int Set1FromSdlScancode(int sdlScancode);

} // namespace orv
