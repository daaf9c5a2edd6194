// Camera-facing sprites: the sprite of an actor with a texture and no mesh, the frames of
// animated sprite effects cross-fading into each other, and the particles of emitters.
#pragma once

#include "render/Renderer.h"
#include "world/Actor.h"

namespace orv {

struct AnimSpriteEffect;
struct Emitter;

// No sprite comes nearer the eye than this, however far SpriteProjForward pulls it.
constexpr float kSpriteNearest = 5.0f;

// Where a sprite is drawn: pulled projForward units towards the eye (never nearer than
// kSpriteNearest), and the factor its size shrinks by on the way, so that it covers the same
// part of the screen.
struct SpritePlacement {
    Vector Location;
    float Scale = 1.0f;
};
SpritePlacement PlaceSprite(const Vector& eye, const Vector& location, float projForward);

// One quad facing the camera (the view's right and up), width across and height up, centred on
// the placed location, with the whole texture upright on it; the texture, colour and mode are
// the caller's.
void DrawSprite(Renderer& renderer, const Vector& location, float width, float height, float projForward);

// Whether a sprite of this style is drawn in the pass: translucent ones in the translucent pass,
// modulated ones in the see-through pass, every other style in the opaque pass.
bool SpriteInPass(EStyle style, DrawPass pass);

// An actor's sprite: its texture in the mode of its style, at Glow, DrawScale times the
// texture's size.
void DrawActorSprite(Renderer& renderer, Actor& actor, DrawPass pass);

// The frame an animated sprite shows and how far it has faded into the next (0 .. 1): a short
// hold on each frame, then a blend into the next over the middle of its time.
struct SpriteCrossFade {
    int Frame = 0;
    float Blend = 0.0f;
};
SpriteCrossFade CrossFadeAt(float spriteTime, float pause);

// An effect's sprite frames, added to the image (false when it has none: it draws as a plain
// actor then).
bool DrawAnimatedSprite(Renderer& renderer, AnimSpriteEffect& effect, DrawPass pass);

// A particle's brightness at an age: Glow, faded in over the first fadeIn of its life and out
// from fadeOut on (both fractions of its life).
float ParticleBrightness(float glow, float age, float lifetime, float fadeIn, float fadeOut);

// Every live particle of an emitter as a sprite of its own size, in the mode of the emitter's
// style.
void DrawParticles(Renderer& renderer, Emitter& emitter, DrawPass pass);

} // namespace orv
