// The light patterns that play over the whole view while the player is under water: a cube of
// 32 animated frames around the eye, multiplied onto the finished picture.
#pragma once

#include "render/Renderer.h"

namespace orv {

// The frame shown at a time (seconds of game time): 30 frames a second, round and round, so the
// pattern runs at the same speed whatever the frame rate.
int CausticFrame(double time);

// Draws the frame of renderer.Time from renderer.CausticTextures (nothing when it did not load)
// on a cube of side 64 around the eye, turned with the camera and blended so that it brightens
// and darkens what the frame already shows. Runs after the frame is doubled; leaves culling off,
// depth writes on, blending off and no texture bound.
void DrawCausticsPass(Renderer& renderer, const CameraValues& camera);

} // namespace orv
