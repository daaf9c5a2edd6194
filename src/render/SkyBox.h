// The sky box: the triangles of the sky zone, drawn around the eye before the world, with a
// second, multiplying pass for their lightmaps.
#pragma once

#include "content/LevelModel.h"
#include "render/Renderer.h"

namespace orv {

struct Level;
struct WorldTriangle;

// A run of world triangles drawn together ends where the texture or one of these flags changes.
constexpr uint32_t kTriangleBatchFlags = PF_Masked | PF_Translucent | PF_Modulated | PF_TwoSided | PF_AlphaBlend;

// Whether world triangles with these (merged) flags draw in the pass: translucent ones in the
// translucent pass, modulated ones in the see-through pass, the others in the opaque pass.
bool TriangleInPass(uint32_t flags, DrawPass pass);

// A triangle's flags with its texture's masked and alpha-blend bits.
uint32_t MergedTriangleFlags(const WorldTriangle& t);

// The running GL_TRIANGLES batch of the sky box and mover brushes: a new one begins, with its
// render mode, culling and texture, when the texture or the batch flags change.
struct TriangleBatch {
    bool Open = false;
    const Texture* Tex = nullptr;
    uint32_t Flags = 0;
    void Next(Renderer& renderer, const WorldTriangle& t, uint32_t mergedFlags);
    void Finish();
};

// The level's sky triangles of one pass: the opaque pass draws the solid ones (then their
// lightmaps from the atlas), the see-through pass the modulated ones, the translucent pass the
// translucent ones.
void DrawSkybox(Renderer& renderer, const Level& level, DrawPass pass);

} // namespace orv
