// The flat drawing over the world frame (menus, the heads-up display, the loading screen, the
// full-screen tints), placed in HUD coordinates: y from 0 at the top to 1 at the bottom of the
// screen, x in the same unit with 0.5 at the horizontal centre, so that a screen of width w and
// height h spans x from (1 - w/h) / 2 to (1 + w/h) / 2. 1/480 of a unit is one pixel of a
// 480-pixel-high screen, and font texels are drawn at that size.
//
// The primitives draw in 3D on a plane in front of the eye, with the model-view matrix holding
// only the axis swap (the camera popped, as the world frame leaves it).
#pragma once

#include "core/Vector.h"

#include <cstdint>

namespace orv {

struct Renderer;

// Pixels of a 480-pixel-high screen in one HUD unit: a font texel is drawn 1/480 of a unit wide.
constexpr float kHudUnitPixels = 480.0f;

// The x of the screen's left edge, (1 - width / height) / 2.
float HudLeftEdge(int width, int height);

// The point of the HUD plane that shows at (x, y), for the renderer's screen and field of view:
// (X, -10, Z) with X = (20x - 10) tan(fov / 2) and Z = (-20y + 10) tan(fov / 2).
Vector HudToWorld(const Renderer& renderer, float x, float y);
// The same for many points: the scale is HudScale's tan(fov / 2), worked out once.
float HudScale(const Renderer& renderer);
Vector HudToWorld(float scale, float x, float y);

// For drawing outside the world frame (the loading screen): takes the screen size and vertical
// field of view the primitives map to and sets the model-view matrix to the axis swap alone.
void BeginOverlay(Renderer& renderer, int width, int height, float fovDegrees);

// The colour text is drawn in (red, green, blue, alpha from 0 to 1).
void SetOverlayColor(float red, float green, float blue, float alpha);

// A rectangle in colour 0xAARRGGBB: texture unbound, culling off, the caller's render mode.
void FillRect(Renderer& renderer, float x, float y, float w, float h, uint32_t color);

// A segment between two world points in colour 0xRRGGBB; the colour is white again afterwards.
void DrawLine(Renderer& renderer, const Vector& p0, const Vector& p1, uint32_t color);

} // namespace orv
