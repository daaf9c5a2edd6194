// The CPU half of the world renderer: the front-to-back BSP walk, view clipping, projection,
// the span-buffer occlusion test, the queueing of visible polygons by texture and into the
// see-through list, and the marks that tell which actors stand where the walk passed. Nothing
// here touches OpenGL, so tests and benchmarks run it headless.
#pragma once

#include "content/LevelModel.h"
#include "render/RenderLevel.h"
#include "render/RenderView.h"

namespace orv {

struct Actor;

// Surface flags that send a polygon to the see-through list, and the ones that keep it from
// hiding what lies behind it.
constexpr uint32_t kSeeThroughFlags = PF_Translucent | PF_Modulated | PF_AlphaBlend;
constexpr uint32_t kNonOccludingFlags = PF_Masked | kSeeThroughFlags;

// Subtrees with more drawable polygons than this have their render bound tested against the
// view first; for smaller ones the box costs more than the polygons it could skip.
constexpr int32_t kBoxTestMinDrawables = 50;

// The renderer's record of a model's tree made afresh: every node's DrawableCount and render
// bound (the box of its own polygon's points and its children's boxes, appended in post-order),
// every mark cleared.
void PrepareRenderBounds(LevelRenderState& level, const LevelModel& model);

// A surface's own flags with its texture's masked and alpha-blend bits.
uint32_t MergedSurfaceFlags(const Surface& surface);

// The camera rows (forward, right, up) of a rotation, the same turn the OpenGL camera makes.
void CameraAxes(int32_t pitch, int32_t yaw, int32_t roll, Vector& forward, Vector& right, Vector& up);

// Readies the view for a frame: stores the level and screen size, numbers the frame (a new
// LevelRenderState::Frame), builds the camera rows, the near and side planes and the projection,
// and empties the span buffer, the buckets and the see-through list. Location, rotation and
// FieldOfView must be set first; the level's nodes must have been prepared for the model.
void SetUpView(RenderView& view, const LevelModel& model, LevelRenderState& level, int width, int height);

// Screen x, screen y (from the top) and depth of a world point.
Vector ProjectPoint(const RenderView& view, const Vector& p);

// Whether any part of a render bound may be seen; fullyInside tells that the box lies within
// all four side planes (only worked out when inside is false).
bool BoxVisible(RenderView& view, const RenderBound& box, bool inside, bool& fullyInside);

// Clips, projects and span-tests one node polygon and queues it when it is (or was lately) seen.
void DrawNodePolygon(RenderView& view, int32_t node, bool inside);

// Puts a node into its texture's bucket or, when see-through, into the see-through list.
void QueueNodePolygon(RenderView& view, int32_t node);

// Walks a subtree front to back from the camera, testing and queueing its polygons and marking
// the leaf spaces it passes with the frame's number.
void WalkNode(RenderView& view, int32_t node, bool inside);

// SetUpView and the walk from the root: everything the GL half needs to draw the frame.
void WalkWorld(RenderView& view, const LevelModel& model, LevelRenderState& level, int width, int height);

// Whether the level's last walk passed a leaf space the actor is filed in (Actor::RegisteredIn).
bool WalkReached(const LevelRenderState& level, const Actor& actor);

} // namespace orv
