// Rectangles, lines and the HUD plane.
#include "render/Overlay.h"

#include "render/Camera.h"
#include "render/Renderer.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace orv {

namespace {

// How far in front of the eye the HUD plane lies: beyond the projection's near plane (8), so that
// a full-screen rectangle is never clipped.
constexpr float kHudPlaneDistance = 10.0f;

GLubyte Byte(uint32_t color, int shift) { return static_cast<GLubyte>(color >> shift); }

} // namespace

float HudLeftEdge(int width, int height) {
    return (1.0f - static_cast<float>(width) / static_cast<float>(std::max(height, 1))) * 0.5f;
}

float HudScale(const Renderer& renderer) { return std::tan(renderer.FovDegrees * std::numbers::pi_v<float> / 180.0f * 0.5f); }

Vector HudToWorld(float scale, float x, float y) {
    // The plane d in front of the eye spans -d .. d times the tangent of half the field of view.
    constexpr float d = kHudPlaneDistance;
    return {(x * 2 * d - d) * scale, -d, (-y * 2 * d + d) * scale};
}

Vector HudToWorld(const Renderer& renderer, float x, float y) { return HudToWorld(HudScale(renderer), x, y); }

void BeginOverlay(Renderer& renderer, int width, int height, float fovDegrees) {
    renderer.ScreenWidth = width;
    renderer.ScreenHeight = height;
    renderer.FovDegrees = fovDegrees;
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    ApplyAxisSwap();
}

void SetOverlayColor(float red, float green, float blue, float alpha) { glColor4f(red, green, blue, alpha); }

void FillRect(Renderer& renderer, float x, float y, float w, float h, uint32_t color) {
    const Vector corners[4] = {HudToWorld(renderer, x, y), HudToWorld(renderer, x, y + h),
                               HudToWorld(renderer, x + w, y + h), HudToWorld(renderer, x + w, y)};
    BindTexture(renderer.Cache, nullptr);
    glColor4ub(Byte(color, 16), Byte(color, 8), Byte(color, 0), Byte(color, 24));
    glDisable(GL_CULL_FACE);
    glBegin(GL_QUADS);
    for (const Vector& c : corners) {
        glVertex3f(c.X, c.Y, c.Z);
    }
    glEnd();
}

void DrawLine(Renderer& renderer, const Vector& p0, const Vector& p1, uint32_t color) {
    BindTexture(renderer.Cache, nullptr);
    glColor3ub(Byte(color, 16), Byte(color, 8), Byte(color, 0));
    glBegin(GL_LINES);
    glVertex3f(p0.X, p0.Y, p0.Z);
    glVertex3f(p1.X, p1.Y, p1.Z);
    glEnd();
    glColor3ub(255, 255, 255);
}

} // namespace orv
