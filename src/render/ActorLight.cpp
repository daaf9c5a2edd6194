// Actor lighting.
#include "render/ActorLight.h"

#include "core/Color.h"
#include "world/ActorClasses.h"
#include "world/Collision.h"
#include "world/World.h"
#include "world/Zones.h"

#include <algorithm>

namespace orv {

namespace {

// Lights tint actors at half their brightness: the mesh colour is halved again and the frame
// doubles it, so an actor at a full-bright white light shows its skin as painted.
constexpr float kActorLightBrightness = 0.5f;
// The trace from a light to an actor is a thin probe (the sweep needs a body): a unit sphere
// passes every gap that light would.
constexpr float kLightTraceRadius = 1.0f;

} // namespace

void ComputeActorLight(const World& world, Actor& actor, bool traceMeshColor) {
    for (const auto& owned : world.Actors) {
        const Actor& light = *owned;
        if (light.LightType == lt_none || light.LightBrightness == 0) {
            continue;
        }
        const float radius = static_cast<float>(light.LightRadius) * kActorLightRadiusScale;
        const float dist = Length(light.Location - actor.Location);
        if (dist >= radius) {
            continue;
        }
        if (traceMeshColor &&
            SweepWorld(world, light.Location, actor.Location, kLightTraceRadius, kLightTraceRadius) != nullptr) {
            continue;
        }
        const ColorF colour = HsvToRgb(static_cast<float>(light.LightBrightness) * kActorLightBrightness,
                                       light.LightHue, light.LightSaturation);
        const float falloff = (radius - dist) / radius;
        actor.LightColor[0] += colour.R * falloff;
        actor.LightColor[1] += colour.G * falloff;
        actor.LightColor[2] += colour.B * falloff;
    }
}

ColorF ActorDrawColour(const World& world, const Actor& actor) {
    const Level& level = world.CurrentLevel;
    const float scale = kActorLightToLightmap * (level.Info ? level.Info->Brightness : 1.0f);
    uint32_t ambient = 0;
    if (const auto* zone = dynamic_cast<const ZoneInfo*>(FindZoneAt(world, actor.Location))) {
        ambient = zone->AmbientColor;
    }
    auto channel = [&](int c) {
        const float base = static_cast<float>((ambient >> (16 - 8 * c)) & 0xFF) / 255.0f;
        return std::clamp(base + actor.LightColor[c] * scale, 0.0f, 1.0f);
    };
    return {channel(0), channel(1), channel(2)};
}

} // namespace orv
