// The simple lighting of meshes and mover brushes: one colour per actor, the sum of the lights
// around it, worked out at its first draw.
#pragma once

#include "core/Color.h"

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

// LightColor in lightmap units: a lightmap texel holds 1.75 times a light's colour (times the
// level's Brightness), faded by the slant of its surface, and LightColor sums half colours; a
// surface at an average slant to the light keeps about 0.6 of it.
constexpr float kActorLightToLightmap = 2.0f;

// The colour a lit mesh or mover brush is drawn with, on the scale of the lightmaps around it so
// that a door looks like the wall beside it: the zone's ambient light (as its lightmaps start
// from) plus LightColor x kActorLightToLightmap x the level's Brightness, each channel at most 1.
// The frame doubles it, as it doubles the lightmaps.
ColorF ActorDrawColour(const World& world, const Actor& actor);

} // namespace orv
