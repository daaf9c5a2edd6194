// Start-up GL state and the error line.
#include "render/GlState.h"

#include "core/Log.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <cstdio>
#include <string>

namespace orv {

namespace {

constexpr double kNearPlane = 8.0;
constexpr double kFarPlane = 113511.68172483394; // 65536 * sqrt(3): the diagonal of the largest world

} // namespace

void SetProjection(int width, int height, float fovDegrees, float farPlane) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    const float aspect = height != 0 ? static_cast<float>(width) / static_cast<float>(height) : 1.0f;
    gluPerspective(fovDegrees, aspect, kNearPlane, farPlane);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void SetStartupGlState(int width, int height, float fovDegrees) {
    glViewport(0, 0, width, height);
    SetProjection(width, height, fovDegrees, kFarPlane);
    glEnable(GL_CULL_FACE);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClearDepth(1.0);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glEnable(GL_COLOR_MATERIAL);
    glEnable(GL_TEXTURE_2D);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
}

void ResizeView(int width, int height, float fovDegrees, float farPlane) {
    glViewport(0, 0, width, height);
    SetProjection(width, height, fovDegrees, farPlane > 0.0f ? farPlane : static_cast<float>(kFarPlane));
}

void ClearFrame() { glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT); }

bool CheckGlError(int place) {
    const GLenum error = glGetError();
    if (error == GL_NO_ERROR) {
        return false;
    }
    char hex[16];
    std::snprintf(hex, sizeof hex, "%X", static_cast<unsigned>(error));
    Log(std::string("Error: OpenGL 0x") + hex + ", line: " + std::to_string(place));
    // GL keeps one flag per kind of error; clear the rest so the next check sees only new ones.
    // There are fewer kinds than this, and a broken context that reports errors for ever must not
    // hold the check.
    constexpr int kMaxPendingErrors = 16;
    for (int i = 0; i < kMaxPendingErrors && glGetError() != GL_NO_ERROR; ++i) {
    }
    return true;
}

} // namespace orv
