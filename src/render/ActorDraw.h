// Actors on screen: each engine class's Draw(pass) (the plain actor's mesh or sprite, pickups
// hidden once taken, animated sprite effects, emitters' particles, movers' brushes, wavy
// surfaces), and the lighting and placement they share.
#pragma once

#include "render/Renderer.h"

namespace orv {

struct Actor;

// Draws what of the actor belongs to the pass, the way its engine class draws; hidden actors
// draw nothing. Leaves blending off, depth writes on, the alpha test off and culling on.
void DrawActor(Renderer& renderer, Actor& actor, DrawPass pass);

// The actor's LightColor at its first lit draw (bLit): the lights around it, unless it is
// unlit. Later draws keep it.
void LightActorOnce(Renderer& renderer, Actor& actor);

// Multiplies the model-view by the actor's placement: to Location, turned by Rotation, scaled by
// DrawScale, with PrePivot at the origin.
void ApplyActorTransform(const Actor& actor);

} // namespace orv
