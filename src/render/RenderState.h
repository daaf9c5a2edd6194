// The render state every drawing part shares: the render modes, the bound-texture cache of
// texture unit 0 and the ARB multitexture entry points.
#pragma once

#include <cstdint>

namespace orv {

struct Texture;

// Blending, depth writes and alpha test by mode. These are not the actor Style values.
enum class RenderMode : int {
    Opaque = 0,
    Masked = 1,
    Modulated = 2,
    Translucent = 3,
    Additive = 4,
    AlphaBlend = 5,
};

// Sets blending, depth writes and the alpha test for the mode; any other value changes nothing.
void SetRenderMode(RenderMode mode);

// The texture last bound on unit 0 (null: texture name 0), so that binding the same texture
// again costs nothing.
struct TextureCache {
    Texture* Bound = nullptr;
};

// Binds through the cache (texture name 0 for null) and marks the texture used this frame.
void BindTexture(TextureCache& cache, Texture* texture);
// For code that bound texture name 0 itself: the cache then holds null again.
inline void ForgetBoundTexture(TextureCache& cache) { cache.Bound = nullptr; }

// Where the platform's GL entry points come from (SDL_GL_GetProcAddress in the engine).
using GlProcLoader = void* (*)(const char* name);

// glActiveTextureARB and glMultiTexCoord2fARB; both null when the driver lacks them, and then
// lightmaps are not drawn.
struct MultitextureEntryPoints {
    void (*ActiveTexture)(uint32_t unit) = nullptr;
    void (*MultiTexCoord2f)(uint32_t unit, float s, float t) = nullptr;

    bool Available() const { return ActiveTexture && MultiTexCoord2f; }
};

// Takes both entry points; false (and neither kept) when either is missing.
bool SetMultitexture(MultitextureEntryPoints& entryPoints, void* activeTexture, void* multiTexCoord2f);

} // namespace orv
