// The procedural surfaces in the frame: fire and water step only after a frame drew them, and
// the underwater caustics cover the whole view at their own pace.
#include "render/Caustics.h"
#include "render/ProceduralUpdate.h"

#include "GlTestSupport.h"
#include "TestLevels.h"
#include "content/ProceduralTexture.h"
#include "render/GlState.h"
#include "render/GlTextureUploader.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

namespace orv {
namespace {

using ProceduralFrame = test::GlTest;

FireTexture* AddFire(test::TestScene& scene) {
    FireTextureFile file;
    file.Width = file.Height = 16;
    for (uint32_t i = 0; i < kFirePaletteSize; ++i) {
        file.Palette[i] = 0xFF000000u | i;
    }
    file.RenderHeat = 250;
    file.Sparks = {{0, 0, 8, 8}};
    auto fire = MakeFireTexture(file);
    FireTexture* raw = fire.get();
    scene.Res.Textures.Add(std::move(fire));
    return raw;
}

TEST_F(ProceduralFrame, OnlyTexturesTheLastFrameDrewStepAndUpload) {
    test::TestScene scene;
    scene.AddZone(0xFF404040u);
    FireTexture* ahead = AddFire(scene);
    FireTexture* behind = AddFire(scene);
    scene.AddPolygon({{300, -100, -100}, {300, -100, 100}, {300, 100, 100}, {300, 100, -100}}, {ahead, 0, false}, 1);
    scene.AddPolygon({{-300, 100, -100}, {-300, 100, 100}, {-300, -100, 100}, {-300, -100, -100}}, {behind, 0, false}, 1);
    test::RecordingUploader uploader;
    scene.Finish(uploader);
    EXPECT_EQ(AdvanceProceduralTextures(scene.Res, uploader), 2) << "new textures count as seen";

    scene.Player->Location = Vector(0, 0, -scene.Player->EyeHeight);
    FrameHooks hooks;
    RenderWorldFrame(*scene.Render, scene.Scene, ComputeCamera(*scene.Player, 64, 48, 90.0f), {64, 48, 90.0f},
                     uploader, hooks);
    const Image aheadBefore = ahead->Pixels;
    const Image behindBefore = behind->Pixels;
    uploader.Regions.clear();
    EXPECT_EQ(AdvanceProceduralTextures(scene.Res, uploader), 1);
    EXPECT_NE(ahead->Pixels.Pixels, aheadBefore.Pixels);
    EXPECT_EQ(behind->Pixels.Pixels, behindBefore.Pixels) << "out of sight, frozen";
    EXPECT_EQ(uploader.Regions, (std::vector<std::array<int, 4>>{{0, 0, -1, -1}})) << "the whole image, once";
    EXPECT_EQ(AdvanceProceduralTextures(scene.Res, uploader), 0) << "no frame drawn since: nothing steps";
}

TEST_F(ProceduralFrame, CausticsCoverEveryDirectionAndRunThirtyFramesASecond) {
    int changes = 0;
    for (int k = 1; k <= 144; ++k) { // a second at 144 frames a second
        changes += CausticFrame(k / 144.0) != CausticFrame((k - 1) / 144.0);
    }
    EXPECT_EQ(changes, 30);

    OpenContext(64, 48);
    SetStartupGlState(64, 48, 90.0f);
    GlTextureUploader uploader;
    auto renderer = CreateRenderer();
    // Frame i is one colour whose red is 8 i: on mid grey the pass shows it as it is.
    for (uint32_t i = 0; i < kNumCausticFrames; ++i) {
        const uint32_t colour = 0xFF000000u | (8 * i) << 16 | (248 - 8 * i) << 8 | 0x40;
        renderer->CausticTextures[i] = uploader.UploadTexture(Image(4, 4, colour), kUploadMipmaps | kUploadKeepAlpha);
    }
    const std::pair<double, int> times[] = {{0.0, 0}, {1 / 60.0, 1}, {1.0, 30}, {1.1, 1}, {10.0, 12}};
    const std::pair<int, int> views[] = {{0, 0}, {16000, 0}, {-16000, 20000}, {3000, 32768}};
    for (const auto& [time, frame] : times) {
        for (const auto& [pitch, yaw] : views) {
            glClearColor(0.5f, 0.5f, 0.5f, 1.0f);
            glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
            glMatrixMode(GL_MODELVIEW);
            glLoadIdentity();
            ApplyAxisSwap();
            renderer->Time = time;
            CameraValues camera;
            camera.Pitch = pitch;
            camera.Yaw = yaw;
            DrawCausticsPass(*renderer, camera);
            const Image shown = gl->ReadFrame();
            for (const auto& [x, y] : {std::pair{0, 0}, {63, 0}, {32, 24}, {0, 47}, {63, 47}}) {
                const uint32_t c = shown.At(x, y);
                EXPECT_NEAR(test::Red(c), 8 * frame, 3) << time << " s, view " << pitch << "/" << yaw;
                EXPECT_NEAR(test::Green(c), 248 - 8 * frame, 3);
            }
        }
    }
    GLint bound = -1;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(bound, 0);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

} // namespace
} // namespace orv
