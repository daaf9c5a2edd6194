// The renderer's own record of the loaded level, kept beside its Level Model: what the walk
// prepares from the tree, the marks it leaves from frame to frame, and the lightmaps in their
// atlas. The renderer holds one and makes it anew for every level (PrepareLevel).
#pragma once

#include "content/Texture.h"
#include "core/Image.h"
#include "core/Vector.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace orv {

// The box around a subtree's polygons, for culling whole subtrees.
struct RenderBound {
    Vector Min;
    Vector Max;
    int32_t Count = 0; // drawable polygons inside
};

// What the renderer keeps about one BSP node.
struct NodeRenderState {
    int32_t DrawableCount = 0; // polygons of three points or more in the subtree
    int32_t Bound = -1;        // the subtree's render bound, -1 when it has no points
    int32_t VisibleFrames = 0; // frames the polygon is still queued while the span buffer hides it
    // The last frames whose walk passed the leaf space behind the plane (where the node has no
    // back child) and the one in front: the actors filed there are visible in those frames.
    uint32_t NegativeReached = 0;
    uint32_t PositiveReached = 0;
};

// What the renderer keeps about one of the model's lightmaps.
struct LightmapState {
    int32_t AtlasX = 0, AtlasY = 0;          // the top-left texel in the atlas
    int32_t AtlasWidth = 0, AtlasHeight = 0; // LightmapColumns(Width) x Height
    uint32_t Ambient = 0xFF000000u;          // the ambient light of its surface's zone
    int32_t Surface = -1;                    // the surface that uses it
    bool Placed = false;                     // it fitted the atlas: it is computed and drawn
    bool HasDynamicLights = false;           // one of its lights is relit every frame it is seen
    uint32_t DrawnFrame = 0;                 // the last frame that drew one of its surfaces
    Image Static;                            // the static light, AtlasWidth x Height
};

struct LevelRenderState {
    std::vector<NodeRenderState> Nodes; // beside the model's nodes
    std::vector<RenderBound> Bounds;
    std::vector<LightmapState> Lightmaps; // beside the model's lightmaps; empty when never prepared
    std::unique_ptr<Texture> Atlas;       // every placed lightmap; null until lightmaps are prepared
    // The number of the last walk: a mark equal to it was left by this frame. Counts from 1, so
    // that the 0 of a fresh mark never counts as seen.
    uint32_t Frame = 0;
    // Frame when the dynamic lightmaps were last relit: those drawn later are relit next.
    uint32_t RelitFrame = 0;

    // The state of a model lightmap, or null (an index out of range, or never prepared).
    const LightmapState* Lightmap(int32_t index) const {
        return index >= 0 && static_cast<size_t>(index) < Lightmaps.size() ? &Lightmaps[static_cast<size_t>(index)]
                                                                           : nullptr;
    }
    LightmapState* Lightmap(int32_t index) {
        return index >= 0 && static_cast<size_t>(index) < Lightmaps.size() ? &Lightmaps[static_cast<size_t>(index)]
                                                                           : nullptr;
    }
};

} // namespace orv
