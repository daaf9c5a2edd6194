// The camera record of one world frame: where the eye is, the view planes and projection, the
// span buffer, and the polygons the walk queued for drawing.
#pragma once

#include "content/LevelModel.h"
#include "core/Vector.h"
#include "render/RenderLevel.h"
#include "render/SpanBuffer.h"

#include <cstdint>
#include <numbers>
#include <vector>

namespace orv {

struct Texture;

// The see-through list's size: more in one frame are dropped, each with a log line.
constexpr int kMaxTransparentPolygons = 512;
// The walk clips polygons this close to the eye (world units) so that projection never divides
// by a depth near 0; it lies inside OpenGL's near plane (8), so the walk keeps all OpenGL draws.
constexpr float kNearClip = 4.0f;
// A polygon seen once is still drawn for this many frames while the span buffer hides it, so
// that the buffer's small cracks (a sliver under two rows tall) do not make it flicker.
constexpr int32_t kVisibleFramesAfterSeen = 30;

// Opaque polygons that share a texture, in the order the walk met them.
struct TextureBucket {
    Texture* Tex = nullptr;
    std::vector<int32_t> Nodes;
};

// One step of the node walk: what to do with a node, in the order the tree demands.
struct WalkTask {
    enum Kind : uint8_t { Walk, Draw, MarkNegative, MarkPositive } What = Walk;
    bool Inside = false;
    int32_t Node = 0;
};

struct RenderView {
    Vector Location;
    int32_t Pitch = 0;
    int32_t Yaw = 0;
    int32_t Roll = 0;
    float FieldOfView = std::numbers::pi_v<float> / 2; // horizontal, radians
    float NearClip = kNearClip;
    const LevelModel* Model = nullptr; // the level walked, and the renderer's record of it
    LevelRenderState* Level = nullptr;
    int Width = 640;
    int Height = 480;
    float ProjScale = 1.0f;
    float Aspect = 4.0f / 3.0f;
    Plane Planes[5]; // near, left, right, top, bottom; all facing into the view
    // Rows: depth along the view, screen right, screen up.
    Vector Forward{1, 0, 0};
    Vector Right{0, 1, 0};
    Vector Up{0, 0, 1};
    SpanBuffer Spans;
    std::vector<TextureBucket> Buckets; // the first BucketCount are this frame's
    int BucketCount = 0;
    int32_t Transparent[kMaxTransparentPolygons] = {};
    int TransparentCount = 0;
    uint32_t LastFlags = 0;

    std::vector<WalkTask> WalkStack; // kept between frames so the walk allocates nothing
};

} // namespace orv
