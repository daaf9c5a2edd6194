// The start-up GL state: the projection of the configured field of view, depth and the clear.
#include "render/GlState.h"

#include "render/GlTestWindow.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>

namespace orv {
namespace {

class GlStateTest : public test::GlTest {
protected:
    void SetUp() override { OpenWindow(640, 480); }
};

TEST_F(GlStateTest, ProjectionDepthAndClear) {
    SetStartupGlState(640, 480, 90.0f);
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 640);
    EXPECT_EQ(viewport[3], 480);

    GLfloat projection[16] = {};
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    const double nearPlane = 8.0, farPlane = 65536.0 * std::sqrt(3.0);
    EXPECT_NEAR(projection[5], 1.0, 1e-6);           // cot(90 / 2)
    EXPECT_NEAR(projection[0], 0.75, 1e-6);          // divided by the aspect 4:3
    EXPECT_NEAR(projection[10], -(farPlane + nearPlane) / (farPlane - nearPlane), 1e-6);
    EXPECT_NEAR(projection[14], -2.0 * farPlane * nearPlane / (farPlane - nearPlane), 1e-3);
    GLint depthFunc = 0;
    glGetIntegerv(GL_DEPTH_FUNC, &depthFunc);
    EXPECT_EQ(depthFunc, GL_LEQUAL);

    ClearFrame();
    GLubyte pixel[4] = {9, 9, 9, 9};
    glReadPixels(320, 240, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
    EXPECT_EQ(pixel[0], 0);
    EXPECT_EQ(pixel[3], 255);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

} // namespace
} // namespace orv
