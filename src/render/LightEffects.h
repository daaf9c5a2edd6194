// How one light actor lights a lightmap texel: its type's brightness over time, whether it
// must be recomputed every frame, and the distance, incidence and effect factors.
#pragma once

#include "core/Vector.h"
#include "world/Actor.h"

#include <cstdint>

namespace orv {

// True when the light changes over time (or may move) and its lightmaps are relit per frame.
bool IsDynamicLight(const Actor& light);

// LightBrightness as the light's type sets it at this time; a negative result means the light
// adds nothing now (a flickering or strobing light while dark).
float LightTypeBrightness(const Actor& light, double time);

// What stays the same for every texel one light reaches during one computation.
struct LightShape {
    Vector Location;
    ELightEffect Effect = le_none;
    float Radius = 0.0f;       // LightRadius x 25
    Vector Direction{1, 0, 0}; // spot lights and sunlight: (1, 0, 0) turned by the light's Rotation
    float Cone = 0.0f;         // spot lights: 255 / LightCone
    float SearchAngle = 0.0f;  // le_searchlight: the beam's heading, radians
    double Time = 0.0;
    const float* Flicker = nullptr; // 256 factors for le_wateryshimmer; null reads 1
};

LightShape MakeLightShape(const Actor& light, double time, const float* flicker);

// True when the effect fades with distance (everything but shells, cylinders and sunlight), so
// texels at or beyond the radius get nothing.
bool HasDistanceFalloff(int32_t effect);

// The fraction of the light's colour that reaches a texel: v is the texel position minus the
// light's location, normal the surface's stored normal (pointing away from the lit side),
// shadowBit the texel's shadow-bit number.
float LightFactor(const LightShape& light, const Vector& v, const Vector& normal, uint32_t shadowBit);

} // namespace orv
