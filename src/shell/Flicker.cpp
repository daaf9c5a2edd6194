// Flicker sets and their blend.
#include "shell/Flicker.h"

#include "core/Random.h"

#include <cmath>

namespace orv {

float FlickerFactor(float r) {
    const float factor = r * kFlickerSpan + kFlickerLow;
    return factor < 1.0f ? factor : std::nextafter(1.0f, 0.0f);
}

float NewFlickerFactor() { return FlickerFactor(FRand()); }

void FillFlickerSets(FlickerSets& flicker) {
    for (float& f : flicker.Previous) {
        f = NewFlickerFactor();
    }
    for (float& f : flicker.Next) {
        f = NewFlickerFactor();
    }
}

void UpdateFlicker(FlickerSets& flicker, double gameTime) {
    double d = gameTime - flicker.LastTime;
    if (d > kFlickerRenewSeconds) {
        flicker.Previous = flicker.Next;
        for (float& f : flicker.Next) {
            f = NewFlickerFactor();
        }
        flicker.LastTime = static_cast<float>(gameTime);
        d = gameTime - flicker.LastTime;
    }
    const auto t = static_cast<float>(d);
    for (int i = 0; i < kFlickerSize; ++i) {
        flicker.Table[i] = flicker.Previous[i] * (1.0f - t) + flicker.Next[i] * t;
    }
}

} // namespace orv
