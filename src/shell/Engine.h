// The engine: the one object that owns the engine-wide state (menu state, game clock, pending
// level, screen, flicker, gamma, on-screen texts), the settings table, the resource tables, the
// window and the input, and runs start-up, the fixed-step main loop, the frame and both exits.
// The world, the renderer, the menus and audio plug in at the places marked in Engine.cpp.
#pragma once

#include "content/Font.h"
#include "content/Resources.h"
#include "core/ConfigFile.h"
#include "core/InputState.h"
#include "platform/Window.h"
#include "render/Renderer.h"
#include "shell/Flicker.h"
#include "shell/HarnessOptions.h"
#include "shell/InputScript.h"
#include "shell/MainLoop.h"
#include "shell/MenuState.h"
#include "world/World.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace orv {

constexpr int kNumCausticFrames = 32;

class Engine {
public:
    Engine(HarnessOptions options, std::unique_ptr<Window> window);
    ~Engine();
    Engine(const Engine&) = delete;
    Engine& operator=(const Engine&) = delete;

    // --- Start-up, loop and exits ---
    void InitEngine();
    [[noreturn]] void RunMainLoop();
    // One main-loop pass: window events, the steps that are due, one frame; ends the program
    // through Shutdown once a --steps limit is reached.
    void RunPass();
    void StepWorld();
    void RenderFrame();
    [[noreturn]] void Shutdown();
    // The fatal path (installed as the FatalError handler): log, plain window, message box,
    // "Exiting.", gamma back, audio freed, exit code 0.
    [[noreturn]] void FatalErrorPath(const std::string& message);

    // --- Services the other subsystems use ---
    void SetScreenMode(int width, int height, int refreshRate, bool fullscreen, bool borderless);
    void ApplyGamma(float gamma);
    void RestoreGamma();
    bool KeyEdge(int scancode) { return Input.KeyEdge(scancode); }
    void MouseLookDelta(int& dx, int& dy) { Input.MouseLookDelta(dx, dy); }
    // Switches to another screen (Playing closes the menus); leaving Options saves the settings.
    void OpenMenu(MenuState state);
    // Saves the next drawn frame as a numbered PNG (F9 and --screenshot-at).
    void RequestScreenshot() { ++screenshotsRequested_; }

    // The first level: the level argument when there is one, else "Maps\" + "InitialLevel" + ".t3d".
    static std::string FirstLevelPath(const std::string& levelArgument, const ConfigTable& config);

    // --- Engine-wide state ---
    HarnessOptions Options;
    ConfigTable Config;
    std::unique_ptr<TextureUploader> Uploader;
    Resources Res; // textures, meshes and class records; uploads through Uploader
    std::unique_ptr<Window> ScreenWindow;
    InputState Input;
    // The actors, the loaded level, the game clock, the pending level and the on-screen texts.
    World GameWorld;
    MenuState Menu = MenuState::Playing;
    std::unique_ptr<WorldServices> Services; // what the world asks of the engine

    int ScreenWidth = 0;
    int ScreenHeight = 0;
    int RefreshRate = 0;
    float FOV = 0.0f; // vertical field of view, degrees, read at start-up

    FlickerSets Flicker;
    GammaRamp SavedGammaRamp;
    bool SavedGammaRampRead = false;

    int LightmapAtlasSize = 0;
    bool TraceMeshColor = false;
    std::unique_ptr<Renderer> WorldRenderer = CreateRenderer(); // the world renderer's state
    FrameHooks WorldHooks;                   // actors, caustics and 2D fills of the world frame
    std::array<uint32_t, kNumCausticFrames> CausticTextures{}; // 0 for a frame that did not load
    std::unique_ptr<Font> LargeFont;
    std::unique_ptr<Font> MediumFont;

    int64_t Steps = 0;  // simulation steps run
    int64_t Frames = 0; // frames drawn

    // The wall clock the main loop reads; tests put in their own.
    std::function<double()> Now;
    // How the process ends (code 0); tests throw from it instead.
    std::function<void(int)> ExitProcess;

private:
    void RunStep();
    std::string ConfigFileName() const { return Options.ConfigFile.empty() ? "Orvane.ini" : Options.ConfigFile; }
    bool StepLimitReached() const { return Options.Steps && Steps >= *Options.Steps; }
    void ConnectInput();
    void LoadCaustics();
    void TakeDueScreenshots();
    void AdvanceProceduralTextures();
    void WriteDumpIfAsked() const;
    void LogTimedemo() const;
    // The common end of Shutdown and the fatal path: timedemo and dump, "Exiting.", gamma back,
    // audio freed, log closed, window closed, exit code 0.
    [[noreturn]] void FinishExit();

    // Start-up steps and per-step work of subsystems that plug in later.
    void CreatePlayerPawn();
    void LoadFallbackTexture();
    void AddFallbackMesh();
    void LoadClassDefaults();
    void LoadFonts();
    void StartAudio();
    void FreeAudio();
    void LoadLevel(const std::string& path, bool showLoadingScreen);
    void UpdateActors();
    void MenuInput();
    void RelightDynamicLightmaps();
    void DrawWorldFrame();
    void DrawHud();
    void DrawMenu();

    std::unique_ptr<InputScript> script_;
    LoopClock loopClock_;
    double timedemoStart_ = 0.0;
    int screenshotsRequested_ = 0;
    size_t nextScreenshotStep_ = 0; // into the sorted Options.ScreenshotSteps
    int savedCursorX_ = 0;
    int savedCursorY_ = 0;
};

} // namespace orv
