// Display gamma ramps: the curve the "Gamma" setting asks for and the plain linear ramp that
// exit puts back when the ramp found at start-up is not wanted.
#pragma once

#include "platform/Window.h"

namespace orv {

// ramp[i] = round((i / 256)^(1 / gamma) * 65535) for each channel. The divisor is the ramp's
// size, not its last index, as the display ramps have always been built here: the top entry
// stays just under 65535.
GammaRamp GammaRampFor(float gamma);

// ramp[i] = round(i / 256 * 65535): 0 ... 65279.
GammaRamp LinearGammaRamp();

} // namespace orv
