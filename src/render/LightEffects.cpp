// Light types and effects.
#include "render/LightEffects.h"

#include "core/Random.h"
#include "core/Rotator.h"
#include "world/Actor.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace orv {

namespace {

// The numbers in the formulas below are the shapes of the light types and effects (how fast a
// wave runs, how far a shell reaches): they are what each one looks like, not settings.
constexpr double kPi = std::numbers::pi;
constexpr double kTwoPi = 2.0 * std::numbers::pi;
// LightRadius counts in steps of this many world units.
constexpr float kRadiusUnits = 25.0f;
// A shell lights the band from this fraction of the radius to as far beyond it.
constexpr float kShellInner = 0.835f;
constexpr float kShellWidth = 0.165f;
// Incidence falls off as the cosine to this power: a little faster than a flat cosine.
constexpr float kIncidencePower = 1.4f;
// A texel nearer the light than this has no direction to it.
constexpr float kAtTheLight = 1e-6f;

double Frac(double w) { return w - std::floor(w); }

// A period of 0 would divide by zero; such lights run as if it were 1.
double Period(const Actor& light) { return light.LightPeriod > 0 ? light.LightPeriod : 1.0; }

// The sine wave the pulse types share: one half-turn per LightPeriod / 64 seconds, LightPhase in
// 128ths of a half-turn.
double PulseWave(const Actor& light, double time) {
    return std::sin(kPi * (time / (Period(light) * 0.015625) + light.LightPhase * 0.0078125));
}

float Incidence(float cosine) { return cosine > 0.0f ? std::pow(cosine, kIncidencePower) : 0.0f; }

} // namespace

bool IsDynamicLight(const Actor& light) {
    if (!light.bStatic) {
        return true;
    }
    switch (light.LightType) {
    case lt_none:
        return false;
    case lt_pulse:
    case lt_blink:
    case lt_flicker:
    case lt_strobe:
    case lt_subtlepulse:
    case lt_texturepaletteonce:
    case lt_texturepaletteloop:
        return true;
    default:
        break;
    }
    const int32_t e = light.LightEffect;
    return (e >= le_torchwaver && e <= le_cloudcast) || e == le_shock || e == le_disco || e == le_interference ||
           e == le_rotor;
}

float LightTypeBrightness(const Actor& light, double time) {
    const double b = light.LightBrightness;
    switch (light.LightType) {
    case lt_pulse:
        return static_cast<float>(b * (PulseWave(light, time) * 0.375 + 0.625));
    case lt_subtlepulse:
        return static_cast<float>(b * (PulseWave(light, time) * 0.25 + 0.75));
    case lt_flicker:
    case lt_strobe:
        return light.bLightOff ? -1.0f : static_cast<float>(b);
    default:
        return static_cast<float>(b);
    }
}

LightShape MakeLightShape(const Actor& light, double time, const float* flicker) {
    LightShape s;
    s.Location = light.Location;
    s.Effect = light.LightEffect;
    s.Radius = static_cast<float>(light.LightRadius) * kRadiusUnits;
    s.Time = time;
    s.Flicker = flicker;
    if (s.Effect == le_staticspot || s.Effect == le_spotlight || s.Effect == le_sunlight) {
        s.Direction = RotateVector({1, 0, 0}, light.Rotation);
        // A cone of 0 would divide by zero; it is read as the narrowest cone, 1.
        s.Cone = 255.0f / static_cast<float>(std::max<uint8_t>(light.LightCone, 1));
    }
    if (s.Effect == le_searchlight) {
        // A half-turn every LightPeriod x 22.933 / 32 seconds, LightPhase in 256ths of one.
        s.SearchAngle = static_cast<float>((light.LightPhase * 0.00390625 + time) * kPi /
                                           (Period(light) * 22.933 * 0.03125));
    }
    return s;
}

bool HasDistanceFalloff(int32_t effect) {
    return effect != le_shell && effect != le_cylinder && effect != le_sunlight;
}

float LightFactor(const LightShape& light, const Vector& v, const Vector& normal, uint32_t shadowBit) {
    const float dist = Length(v);
    const int32_t effect = light.Effect;
    float f = 1.0f;
    if (HasDistanceFalloff(effect)) {
        if (light.Radius <= 0.0f || dist >= light.Radius) {
            return 0.0f;
        }
        f *= 1.0f - dist / light.Radius;
    }
    // A texel exactly at the light has no direction to it; it takes the light head-on.
    const Vector toTexel = dist > kAtTheLight ? v / dist : -normal;
    if (effect != le_nonincidence && effect != le_shell && effect != le_cylinder && effect != le_sunlight) {
        f *= Incidence(Dot(toTexel, normal));
    }
    if (f <= 0.0f && effect != le_shell && effect != le_sunlight) {
        return 0.0f;
    }
    const double t = light.Time;
    const double h = std::sqrt(static_cast<double>(v.X) * v.X + static_cast<double>(v.Y) * v.Y);
    switch (effect) {
    case le_torchwaver:
        f *= FRand() * 0.1f + 0.9f;
        break;
    case le_firewaver:
        f *= FRand() * 0.2f + 0.8f;
        break;
    case le_wateryshimmer:
        f *= light.Flicker ? light.Flicker[shadowBit % 256] : 1.0f;
        break;
    case le_searchlight: {
        const float len = static_cast<float>(h);
        const float along = len > 0.0f ? (v.X * std::cos(light.SearchAngle) + v.Y * std::sin(light.SearchAngle)) / len : 0.0f;
        f *= std::max(0.0f, 4.0f * along - 3.0f);
        break;
    }
    case le_slowwave:
        f *= static_cast<float>(std::sin((dist / 80.0 - t * 0.5) * kTwoPi) * 0.375 + 0.625);
        break;
    case le_fastwave:
        f *= static_cast<float>(std::sin((dist * 0.0078125 - t) * kTwoPi) * 0.375 + 0.625);
        break;
    case le_staticspot:
    case le_spotlight:
        f *= std::max(0.0f, (Dot(toTexel, light.Direction) - 1.0f) * light.Cone + 1.0f);
        break;
    case le_shock:
        f *= static_cast<float>((std::sin((dist / 160.0 - t * 0.456) * kTwoPi) * 0.375 +
                                 std::sin((dist / 200.0 + t * 0.678) * kTwoPi) * 0.375 + 1.25) *
                                    0.25 +
                                0.5);
        break;
    case le_shell:
        if (light.Radius <= 0.0f || dist < light.Radius * kShellInner) {
            return 0.0f;
        }
        f = std::max(0.0f, 1.0f - std::fabs((dist / light.Radius - 1.0f) / kShellWidth));
        break;
    case le_interference: {
        const double g = Frac((std::atan2(static_cast<double>(v.Z), h) * 0.5 / kPi - t * 0.0625) * 9.0);
        f *= static_cast<float>(std::fabs(2.0 * g - 1.0));
        break;
    }
    case le_rotor: {
        const double g = Frac((std::atan2(static_cast<double>(v.Y), static_cast<double>(v.X)) * 0.5 / kPi - t / 12.0) * 6.0);
        f *= static_cast<float>(std::max(1.0 - h * 0.015625, std::fabs(2.0 * g - 1.0)));
        break;
    }
    case le_disco: {
        // Eleven beams sweeping round the vertical axis (solid close to the light), crossed with
        // nine bands of elevation drifting like interference: a turning pattern of spots.
        const double around = Frac((std::atan2(static_cast<double>(v.Y), static_cast<double>(v.X)) * 0.5 / kPi - t / 12.0) * 11.0);
        const double beams = std::max(1.0 - h * 0.0078125, 1.0 - std::fabs(2.0 * around - 1.0));
        const double up = Frac((std::atan2(static_cast<double>(v.Z), h) * 0.5 / kPi - t * 0.0625) * 9.0);
        f *= static_cast<float>(std::clamp(beams * (1.0 - std::fabs(2.0 * up - 1.0)) * 2.0, 0.0, 1.0));
        break;
    }
    case le_sunlight:
        f = Incidence(Dot(light.Direction, normal));
        break;
    default:
        break; // cloudcast, warp, nonincidence, omnibumpmap and cylinder only fall off and face
    }
    return f;
}

} // namespace orv
