// Pictures of the engine's own package and the sprites of shots and explosions.
#pragma once

#include "GenCommon.h"
#include "TrueType.h"

namespace orv {

constexpr int kCausticsFrames = 32;

Image MakeMissingTexture();
Image MakeLogo(const TrueTypeFont& bold, const TrueTypeFont& regular);
// A round additive sprite: a hot core fading through the rim colour to black.
Image MakeGlowSprite(int size, const Rgba& core, const Rgba& rim, float falloff);
Image MakeCausticsFrame(int frame, int frames, int size);

// Explosion variant v (1..5), frame 0..7 of UnrealShare.MainEffect.e<v>_a0<frame>.
Image MakeExplosionFrame(int variant, int frame);
// Frame 0..9 of the dispersion hit, UnrealShare.DispExpl.dseb_A0<frame>.
Image MakeDispersionHitFrame(int frame);

} // namespace orv
