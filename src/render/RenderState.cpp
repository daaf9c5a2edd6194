// Render modes, the bound-texture cache and the multitexture entry points.
#include "render/RenderState.h"

#include "content/Resources.h"

#include <GL/gl.h>

namespace orv {

void SetRenderMode(RenderMode mode) {
    struct ModeState {
        bool Blend;
        GLenum Source;
        GLenum Destination;
        bool DepthWrites;
        bool AlphaTest;
    };
    static constexpr ModeState kModes[] = {
        {false, GL_ONE, GL_ZERO, true, false},                         // Opaque
        {false, GL_ONE, GL_ZERO, true, true},                          // Masked
        {true, GL_DST_COLOR, GL_SRC_COLOR, false, false},              // Modulated
        {true, GL_ONE, GL_ONE_MINUS_SRC_COLOR, false, false},          // Translucent
        {true, GL_ONE, GL_ONE, false, false},                          // Additive
        {true, GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA, false, false},    // AlphaBlend
    };
    const int index = static_cast<int>(mode);
    if (index < 0 || index > static_cast<int>(RenderMode::AlphaBlend)) {
        return;
    }
    const ModeState& s = kModes[index];
    if (s.Blend) {
        glEnable(GL_BLEND);
        glBlendFunc(s.Source, s.Destination);
    } else {
        glDisable(GL_BLEND);
    }
    glDepthMask(s.DepthWrites ? GL_TRUE : GL_FALSE);
    if (s.AlphaTest) {
        glEnable(GL_ALPHA_TEST);
        glAlphaFunc(GL_GEQUAL, 0.5f); // a texel is drawn when at least half opaque
    } else {
        glDisable(GL_ALPHA_TEST);
    }
}

void BindTexture(TextureCache& cache, Texture* texture) {
    if (texture) {
        texture->Used = 1;
    }
    if (texture == cache.Bound) {
        return;
    }
    glBindTexture(GL_TEXTURE_2D, texture ? texture->GLTexture : 0);
    cache.Bound = texture;
}

bool SetMultitexture(MultitextureEntryPoints& entryPoints, void* activeTexture, void* multiTexCoord2f) {
    entryPoints = {};
    if (!activeTexture || !multiTexCoord2f) {
        return false;
    }
    entryPoints.ActiveTexture = reinterpret_cast<void (*)(uint32_t)>(activeTexture);
    entryPoints.MultiTexCoord2f = reinterpret_cast<void (*)(uint32_t, float, float)>(multiTexCoord2f);
    return true;
}

} // namespace orv
