// The start-up splash.
#include "render/LogoSplash.h"

#include "content/ImageFile.h"
#include "content/Resources.h"

#include <GL/gl.h>

namespace orv {

namespace {

constexpr float kSplashGrey = 100.0f / 255.0f;
constexpr int kLogoUploadMode = kUploadMipmaps | kUploadKeepAlpha; // 10

} // namespace

void DrawLogoSplash(uint32_t logoTexture, int screenWidth, int screenHeight) {
    glViewport(0, 0, screenWidth, screenHeight);
    glClearColor(kSplashGrey, kSplashGrey, kSplashGrey, kSplashGrey);
    glClear(GL_COLOR_BUFFER_BIT);

    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    const GLboolean culling = glIsEnabled(GL_CULL_FACE);
    const GLboolean texturing = glIsEnabled(GL_TEXTURE_2D);
    glDisable(GL_CULL_FACE);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, logoTexture);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);

    // A 4:3 quad as high as the screen; the logo's 640 x 480 area is s 0..0.625, t 0.0625..1.
    const float f = screenWidth > 0 ? (4.0f / 3.0f) * static_cast<float>(screenHeight) / static_cast<float>(screenWidth) : 1.0f;
    glBegin(GL_QUADS);
    glTexCoord2f(0.0f, 0.0625f);
    glVertex2f(-f, -1.0f);
    glTexCoord2f(0.625f, 0.0625f);
    glVertex2f(f, -1.0f);
    glTexCoord2f(0.625f, 1.0f);
    glVertex2f(f, 1.0f);
    glTexCoord2f(0.0f, 1.0f);
    glVertex2f(-f, 1.0f);
    glEnd();

    if (culling) {
        glEnable(GL_CULL_FACE);
    }
    if (!texturing) {
        glDisable(GL_TEXTURE_2D);
    }
    glBindTexture(GL_TEXTURE_2D, 0);
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
}

void ShowLogoSplash(TextureUploader& uploader, int screenWidth, int screenHeight, const std::function<void()>& present) {
    Image logo;
    uint32_t texture = 0; // a logo that cannot be loaded shows as texture 0
    if (DecodeImageFile(kLogoImagePath, logo)) {
        texture = uploader.UploadTexture(logo, kLogoUploadMode);
    }
    // Each present may hand back a different buffer, so every one gets the picture drawn.
    for (int i = 0; i < 3; ++i) {
        DrawLogoSplash(texture, screenWidth, screenHeight);
        glFlush();
        present();
    }
    uploader.DeleteTexture(texture);
}

} // namespace orv
