// The main loop, the simulation step and the frame.
#include "shell/Engine.h"

#include "core/ConfigFile.h"
#include "platform/System.h"
#include "render/GlState.h"
#include "render/ProceduralUpdate.h"
#include "render/Screenshot.h"
#include "world/LevelLoader.h"

namespace orv {

namespace {

// The frame's GL error line ("Error: OpenGL 0x.., line: 10664") always carries this number,
// whatever code left the error: it names the end of the frame, not a line of a source file, and
// logs are compared against it.
constexpr int kFrameErrorLine = 10664;

} // namespace

void Engine::RunMainLoop() {
    loopClock_.Start = ClockSeconds();
    loopClock_.Simulated = 0.0;
    timedemoStart_ = ClockSeconds();
    for (;;) {
        RunPass();
    }
}

void Engine::RunPass() {
    if (window_->PumpEvents(input_, script_ == nullptr).QuitRequested || QuitSignalled()) {
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
    if (options_.FixedStep) {
        step(); // a virtual clock: exactly one step per pass
        frame();
    } else {
        RunCatchUpPass(loopClock_, ClockSeconds(), step, frame);
    }
    if (StepLimitReached()) {
        Shutdown();
    }
}

void Engine::RunStep() {
    if (script_) {
        script_->ApplyDue(steps_ + 1, input_);
    }
    StepWorld();
    audio_->MixStep(); // the step's sound, when it is mixed offline
    input_.EndStep();
    ++steps_;
    if (menu_ == MenuState::Playing) {
        world_.GameTime += kStepSeconds;
    }
}

void Engine::StepWorld() {
    if (!world_.PendingLevel.empty()) {
        LoadLevel(world_, world_.PendingLevel, true);
        world_.PendingLevel.clear();
    }
    if (menu_ == MenuState::Playing) {
        if (input_.KeyEdge(kKeyEscape)) {
            OpenMenu(MenuState::Main);
        }
        if (menu_ == MenuState::Playing) {
            // The generic update of every live actor, then the destroyed ones go.
            UpdateActors(world_, kStepDeltaTime);
            input_.DiscardChars(); // typed characters never pile up while playing
            return;
        }
    }
    // A menu is showing (perhaps opened a moment ago; the Escape that opened it is latched).
    MenuInput();
}

void Engine::RenderFrame() {
    FollowWindowSize();
    screenText_.clear();
    if (ConfigGetBool(config_, "ProceduralTextures")) {
        AdvanceProceduralTextures(res_, *uploader_);
    }
    UpdateFlicker(flicker_, world_.GameTime);
    if (ConfigGetBool(config_, "DynamicLights")) {
        // The dynamic lightmaps drawn in the last frame, relit (the world frame's first step).
        RelightWorldLightmaps(*renderer_, world_, *uploader_, flicker_.Table.data());
    }
    DrawWorldFrame();
    if (world_.PendingLevel.empty()) {
        if (menu_ == MenuState::Playing) {
            DrawHud();
        } else {
            DrawMenu();
        }
    }
    TakeDueScreenshots(steps_);
    window_->Present();
    CheckGlError(kFrameErrorLine);
    ++frames_;
}

void Engine::TakeDueScreenshots(int64_t step) {
    while (nextScreenshotStep_ < options_.ScreenshotSteps.size() && options_.ScreenshotSteps[nextScreenshotStep_] <= step) {
        ++screenshotsRequested_;
        ++nextScreenshotStep_;
    }
    // Taken before the frame is presented: after a swap the back buffer holds nothing certain.
    for (; screenshotsRequested_ > 0; --screenshotsRequested_) {
        TakeScreenshot(screenWidth_, screenHeight_, ConfigGetFloat(config_, "Gamma"));
    }
}

} // namespace orv
