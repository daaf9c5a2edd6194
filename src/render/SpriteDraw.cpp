// Sprites, animated sprite effects and particles.
#include "render/SpriteDraw.h"

#include "world/ActorClasses.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>

namespace orv {

namespace {

// Sprites draw at half their Glow: the frame doubles everything at its end.
constexpr float kSpriteColour = 0.5f;
// An animated sprite adds each frame at a quarter of its Glow: it is drawn in the opaque and
// see-through passes (and again in the translucent one when translucent), each draw adding to
// the image, and the frame doubles the sum.
constexpr float kAnimatedSpriteColour = 0.25f;
// How a frame of an animated sprite hands over to the next: it holds alone for the first sixth
// of its time and the next one holds alone for the last sixth; in between the two blend.
constexpr float kCrossFadeSpeed = 1.5f;
constexpr float kCrossFadeHold = 0.25f;

void SetGrey(float level) { glColor4f(level, level, level, 1.0f); }

RenderMode SpriteMode(EStyle style, const Texture& texture) {
    switch (style) {
    case sty_translucent: return RenderMode::Additive;
    case sty_modulated: return RenderMode::Modulated;
    case sty_alphablend: return RenderMode::AlphaBlend;
    case sty_masked: return RenderMode::Masked;
    default: return (texture.Flags & kTextureMasked) ? RenderMode::Masked : RenderMode::Opaque;
    }
}

// Particles blend by their emitter's style; translucent ones as translucent world surfaces do.
RenderMode ParticleMode(EStyle style) {
    switch (style) {
    case sty_masked: return RenderMode::Masked;
    case sty_translucent: return RenderMode::Translucent;
    case sty_modulated: return RenderMode::Modulated;
    case sty_alphablend: return RenderMode::AlphaBlend;
    default: return RenderMode::Opaque;
    }
}

} // namespace

SpritePlacement PlaceSprite(const Vector& eye, const Vector& location, float projForward) {
    const Vector offset = location - eye;
    const float d = Length(offset);
    if (projForward == 0.0f || d <= 0.0f) {
        return {location, 1.0f};
    }
    const float nearer = std::max(d - projForward, kSpriteNearest);
    const float scale = nearer / d;
    return {eye + offset * scale, scale};
}

void DrawSprite(Renderer& renderer, const Vector& location, float width, float height, float projForward) {
    const RenderView& view = renderer.View;
    const SpritePlacement placed = PlaceSprite(view.Location, location, projForward);
    const Vector across = view.Right * (width * placed.Scale * 0.5f);
    const Vector up = view.Up * (height * placed.Scale * 0.5f);
    // Texture coordinates run across and down the picture; uploads put its top row at t = 1.
    auto corner = [&placed](const Vector& offset, float s, float t) {
        const Vector p = placed.Location + offset;
        glTexCoord2f(s, t);
        glVertex3f(p.X, p.Y, p.Z);
    };
    glDisable(GL_CULL_FACE); // the quad faces the eye either way round
    glBegin(GL_QUADS);
    corner(up - across, 0.0f, 1.0f);
    corner(-up - across, 0.0f, 0.0f);
    corner(across - up, 1.0f, 0.0f);
    corner(across + up, 1.0f, 1.0f);
    glEnd();
}

bool SpriteInPass(EStyle style, DrawPass pass) {
    switch (pass) {
    case DrawPass::Opaque: return style != sty_translucent && style != sty_modulated;
    case DrawPass::SeeThrough: return style == sty_modulated;
    case DrawPass::Translucent: return style == sty_translucent;
    }
    return false;
}

void DrawActorSprite(Renderer& renderer, Actor& actor, DrawPass pass) {
    Texture* texture = actor.Tex;
    if (!texture || !SpriteInPass(actor.Style, pass)) {
        return;
    }
    BindTexture(renderer.Cache, texture);
    SetRenderMode(SpriteMode(actor.Style, *texture));
    SetGrey(actor.Glow * kSpriteColour);
    DrawSprite(renderer, actor.Location, static_cast<float>(texture->Width()) * actor.DrawScale,
               static_cast<float>(texture->Height()) * actor.DrawScale, actor.SpriteProjForward);
}

SpriteCrossFade CrossFadeAt(float spriteTime, float pause) {
    if (!(pause > 0.0f)) {
        return {};
    }
    // Past the last frame the effect shows nothing; keep the number in range of an int.
    const float p = std::clamp(spriteTime / pause, -1.0f, static_cast<float>(kMaxSpriteFrames));
    const float whole = std::floor(p);
    const float blend = std::clamp((p - whole) * kCrossFadeSpeed - kCrossFadeHold, 0.0f, 1.0f);
    return {static_cast<int>(whole), blend};
}

bool DrawAnimatedSprite(Renderer& renderer, AnimSpriteEffect& effect, DrawPass pass) {
    const int frames = std::min(effect.NumFrames, kMaxSpriteFrames);
    if (frames <= 0) {
        return false;
    }
    if (pass == DrawPass::Translucent && effect.Style != sty_translucent) {
        return true;
    }
    SetRenderMode(RenderMode::Additive);
    const SpriteCrossFade fade = CrossFadeAt(effect.SpriteTime, effect.Pause);
    auto drawFrame = [&](int index, float weight) {
        Texture* texture = index >= 0 && index < frames ? effect.SpriteAnim[index] : nullptr;
        if (!texture) {
            return;
        }
        BindTexture(renderer.Cache, texture);
        SetGrey(weight * effect.Glow * kAnimatedSpriteColour);
        DrawSprite(renderer, effect.Location, static_cast<float>(texture->Width()) * effect.DrawScale,
                   static_cast<float>(texture->Height()) * effect.DrawScale, 0.0f);
    };
    drawFrame(fade.Frame, 1.0f - fade.Blend);
    drawFrame(fade.Frame + 1, fade.Blend);
    return true;
}

float ParticleBrightness(float glow, float age, float lifetime, float fadeIn, float fadeOut) {
    const float t = lifetime > 0.0f ? age / lifetime : 1.0f;
    float brightness = glow;
    if (t < fadeIn) {
        brightness *= t / fadeIn;
    }
    if (t > fadeOut && fadeOut < 1.0f) {
        brightness *= (1.0f - t) / (1.0f - fadeOut);
    }
    return std::max(brightness, 0.0f);
}

void DrawParticles(Renderer& renderer, Emitter& emitter, DrawPass pass) {
    Texture* texture = emitter.Tex;
    if (!texture || !SpriteInPass(emitter.Style, pass)) {
        return; // without a texture every particle is a point
    }
    BindTexture(renderer.Cache, texture);
    SetRenderMode(ParticleMode(emitter.Style));
    const float width = static_cast<float>(texture->Width());
    const float height = static_cast<float>(texture->Height());
    for (const Particle& p : emitter.Particles) {
        if (!p.bAlive) {
            continue;
        }
        SetGrey(ParticleBrightness(emitter.Glow, p.Age, p.Lifetime, emitter.FadeIn, emitter.FadeOut) * kSpriteColour);
        DrawSprite(renderer, p.Position, width * p.Size, height * p.Size, 0.0f);
    }
}

} // namespace orv
