// Screenshots: the current frame as a numbered PNG beside the program, passed through the
// display gamma so the file looks like the screen.
#pragma once

#include "core/Image.h"

#include <array>
#include <cstdint>
#include <string>

namespace orv {

// Entry i = min(255, round(256 * (i / 256)^(1 / gamma))). A gamma of 0 or less (the display
// ramp left alone) counts as 1.
std::array<uint8_t, 256> ScreenshotGammaTable(float gamma);

// "Shot" + a counter of at least four digits + ".png": the first name not taken in the working
// directory, counting from 0.
std::string NextScreenshotName();

// The image of a frame read bottom row first as RGBA bytes: rows flipped, colour through the
// table, alpha 255.
Image FrameToImage(const uint8_t* rgba, int width, int height, const std::array<uint8_t, 256>& table);

// Reads the current frame of the given size and writes it as an RGB PNG. Returns the file name,
// or empty text when it could not be written (the shot is then lost without a message).
std::string TakeScreenshot(int width, int height, float gamma);

} // namespace orv
