// Gamma ramp tables.
#include "shell/Gamma.h"

#include <cmath>

namespace orv {

namespace {

GammaRamp RampFromCurve(double exponent) {
    GammaRamp ramp;
    for (int i = 0; i < 256; ++i) {
        const double value = std::round(std::pow(i / 256.0, exponent) * 65535.0);
        const auto entry = static_cast<uint16_t>(value < 0.0 ? 0.0 : (value > 65535.0 ? 65535.0 : value));
        ramp.Red[i] = entry;
        ramp.Green[i] = entry;
        ramp.Blue[i] = entry;
    }
    return ramp;
}

} // namespace

GammaRamp GammaRampFor(float gamma) { return RampFromCurve(1.0 / static_cast<double>(gamma)); }

GammaRamp LinearGammaRamp() { return RampFromCurve(1.0); }

} // namespace orv
