// The simple lighting of meshes and mover brushes: one colour per actor, the sum of the lights
// around it, worked out at its first draw.
#pragma once

namespace orv {

struct Actor;
struct World;

// A light reaches this many world units per step of its LightRadius.
constexpr float kActorLightRadiusScale = 25.0f;

// Adds to actor.LightColor the colour of every light of the world's actor list (a LightType and
// a LightBrightness) nearer than its radius: HsvToRgb of half its brightness, fading linearly
// from the full colour at the light to nothing at the radius. With traceMeshColor a light is
// skipped when the world's triangles stand between it and the actor. LightColor is not cleared
// first: callers run it once per actor (bLit).
void ComputeActorLight(const World& world, Actor& actor, bool traceMeshColor);

} // namespace orv
