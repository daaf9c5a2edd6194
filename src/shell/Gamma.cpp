// Gamma ramp tables.
#include "shell/Gamma.h"

#include <cmath>
#include <limits>

namespace orv {

namespace {

constexpr double kFullScale = std::numeric_limits<uint16_t>::max(); // a ramp entry's full brightness

GammaRamp RampFromCurve(double exponent) {
    GammaRamp ramp;
    for (int i = 0; i < kGammaRampSize; ++i) {
        const double value = std::round(std::pow(i / double(kGammaRampSize), exponent) * kFullScale);
        // A NaN gamma gives dark entries rather than an undefined conversion.
        const auto entry = static_cast<uint16_t>(!(value > 0.0) ? 0.0 : (value > kFullScale ? kFullScale : value));
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
