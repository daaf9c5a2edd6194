// The start-up GL state: projection, depth, culling and texturing as the world renderer expects.
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

TEST_F(GlStateTest, StartupStateAndProjection) {
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
    GLfloat modelView[16] = {};
    glGetFloatv(GL_MODELVIEW_MATRIX, modelView);
    EXPECT_EQ(modelView[0], 1.0f);
    EXPECT_EQ(modelView[12], 0.0f);
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);

    EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_TRUE(glIsEnabled(GL_COLOR_MATERIAL));
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    GLint depthFunc = 0;
    glGetIntegerv(GL_DEPTH_FUNC, &depthFunc);
    EXPECT_EQ(depthFunc, GL_LEQUAL);
    GLfloat clear[4] = {1, 1, 1, 0};
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
    EXPECT_EQ(clear[0], 0.0f);
    EXPECT_EQ(clear[3], 1.0f);
    GLint hint = 0;
    glGetIntegerv(GL_PERSPECTIVE_CORRECTION_HINT, &hint);
    EXPECT_EQ(hint, GL_NICEST);

    ClearFrame();
    GLubyte pixel[4] = {9, 9, 9, 9};
    glReadPixels(320, 240, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
    EXPECT_EQ(pixel[0], 0);
    EXPECT_EQ(pixel[3], 255);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

} // namespace
} // namespace orv
