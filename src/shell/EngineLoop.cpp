// The main loop, the simulation step and the frame.
#include "shell/Engine.h"

#include "core/ConfigFile.h"
#include "platform/System.h"
#include "render/GlState.h"
#include "render/Screenshot.h"

namespace orv {

namespace {

// The frame's GL error line names this fixed place, whatever code finds the error.
constexpr int kFrameErrorLine = 10664;

} // namespace

void Engine::RunMainLoop() {
    loopClock_.Start = Now();
    loopClock_.Simulated = 0.0;
    timedemoStart_ = ClockSeconds();
    for (;;) {
        RunPass();
    }
}

void Engine::RunPass() {
    if (ScreenWindow->PumpEvents(Input, script_ == nullptr).QuitRequested) {
        Shutdown();
    }
    auto step = [this] {
        if (StepLimitReached()) {
            return false;
        }
        RunStep();
        return true;
    };
    auto frame = [this] { RenderFrame(); };
    if (Options.FixedStep) {
        step(); // a virtual clock: exactly one step per pass
        frame();
    } else {
        RunCatchUpPass(loopClock_, Now(), step, frame);
    }
    if (StepLimitReached()) {
        Shutdown();
    }
}

void Engine::RunStep() {
    if (script_) {
        script_->ApplyDue(Steps + 1, Input);
    }
    StepWorld();
    ++Steps;
    if (Menu == MenuState::Playing) {
        GameWorld.GameTime += kStepSeconds;
    }
}

void Engine::StepWorld() {
    if (!GameWorld.PendingLevel.empty()) {
        LoadLevel(GameWorld.PendingLevel, true);
        GameWorld.PendingLevel.clear();
    }
    if (Menu == MenuState::Playing) {
        if (KeyEdge(kKeyEscape)) {
            OpenMenu(MenuState::Main);
        }
        if (Menu == MenuState::Playing) {
            UpdateActors();
            Input.DiscardChars(); // typed characters never pile up while playing
            return;
        }
    }
    // A menu is showing (perhaps opened a moment ago; the Escape that opened it is latched).
    MenuInput();
}

void Engine::RenderFrame() {
    if (ConfigGetBool(Config, "ProceduralTextures")) {
        AdvanceProceduralTextures();
    }
    UpdateFlicker(Flicker, GameWorld.GameTime);
    if (ConfigGetBool(Config, "DynamicLights")) {
        RelightDynamicLightmaps();
    }
    DrawWorldFrame();
    if (GameWorld.PendingLevel.empty()) {
        if (Menu == MenuState::Playing) {
            DrawHud();
        } else {
            DrawMenu();
        }
    }
    TakeDueScreenshots();
    ScreenWindow->Present();
    CheckGlError(kFrameErrorLine);
    ++Frames;
}

void Engine::AdvanceProceduralTextures() {
    // Only textures drawn in the last frame animate; the drawing marks them again.
    for (std::unique_ptr<Texture>& texture : Res.Textures) {
        if (texture->Used && texture->IsProcedural()) {
            texture->Update(kStepDeltaTime);
            Uploader->UploadTextureRegion(*texture, 0, 0, -1, -1);
        }
        texture->Used = 0;
    }
}

void Engine::TakeDueScreenshots() {
    while (nextScreenshotStep_ < Options.ScreenshotSteps.size() && Options.ScreenshotSteps[nextScreenshotStep_] <= Steps) {
        ++screenshotsRequested_;
        ++nextScreenshotStep_;
    }
    // Taken before the frame is presented: after a swap the back buffer holds nothing certain.
    for (; screenshotsRequested_ > 0; --screenshotsRequested_) {
        TakeScreenshot(ScreenWidth, ScreenHeight, ConfigGetFloat(Config, "Gamma"));
    }
}

void Engine::OpenMenu(MenuState state) {
    // Still to come with the menus: the select sound and the lines of each screen.
    if (state == MenuState::Playing) {
        Input.SetMousePosition(savedCursorX_, savedCursorY_);
        ScreenWindow->WarpMouse(savedCursorX_, savedCursorY_);
        ScreenWindow->SetCursorConfined(true);
    } else {
        savedCursorX_ = Input.MouseX();
        savedCursorY_ = Input.MouseY();
        ScreenWindow->SetCursorConfined(false);
    }
    if (Menu == MenuState::Options) {
        ConfigSave(Config, ConfigFileName());
    }
    Menu = state;
}

} // namespace orv
