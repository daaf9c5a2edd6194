// The underwater caustics pass.
#include "render/Caustics.h"

#include <GL/gl.h>

#include <cmath>

namespace orv {

namespace {

// The frames change 30 times a second: the 60-a-second clock halved.
constexpr double kCausticFramesPerSecond = 30.0;
// Half the side of the cube: well beyond the near plane (8) and inside any far plane.
constexpr float kCubeHalfSide = 32.0f;

} // namespace

int CausticFrame(double time) {
    const long long frame = std::llround(time * kCausticFramesPerSecond);
    const long long count = kNumCausticFrames;
    return static_cast<int>(((frame % count) + count) % count);
}

void DrawCausticsPass(Renderer& renderer, const CameraValues& camera) {
    const uint32_t texture = renderer.CausticTextures[CausticFrame(renderer.Time)];
    if (texture == 0) {
        return;
    }
    glDisable(GL_CULL_FACE);
    SetRenderMode(RenderMode::Modulated);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, texture);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glPushMatrix();
    ApplyCameraRotation(camera);
    // Each face: a fixed axis at +-d and its four corners over the other two, textured 0 to 1.
    constexpr float d = kCubeHalfSide;
    static constexpr float kCorners[4][2] = {{-1, -1}, {1, -1}, {1, 1}, {-1, 1}};
    glBegin(GL_QUADS);
    for (int axis = 0; axis < 3; ++axis) {
        for (const float side : {-d, d}) {
            for (const auto& corner : kCorners) {
                float p[3];
                p[axis] = side;
                p[(axis + 1) % 3] = corner[0] * d;
                p[(axis + 2) % 3] = corner[1] * d;
                glTexCoord2f((corner[0] + 1.0f) * 0.5f, (corner[1] + 1.0f) * 0.5f);
                glVertex3f(p[0], p[1], p[2]);
            }
        }
    }
    glEnd();
    glPopMatrix();
    glDepthMask(GL_TRUE);
    glDisable(GL_BLEND);
    // The cache never knew this texture: unbind it, so the cache's "nothing bound" is true.
    glBindTexture(GL_TEXTURE_2D, 0);
    ForgetBoundTexture(renderer.Cache);
}

} // namespace orv
