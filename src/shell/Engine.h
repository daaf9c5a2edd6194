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
#include "shell/Audio.h"
#include "shell/Flicker.h"
#include "shell/HarnessOptions.h"
#include "shell/Hud.h"
#include "shell/InputScript.h"
#include "shell/MainLoop.h"
#include "shell/MenuScreens.h"
#include "shell/MenuState.h"
#include "world/World.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace orv {

// How the process ends. Every run ends with kExitOk, through the fatal path too (its message is
// in the log and the message box); a command line that cannot be read ends with
// kExitBadCommandLine before anything starts.
enum ExitCode : int {
    kExitOk = 0,
    kExitBadCommandLine = 2,
};

class Engine {
public:
    Engine(HarnessOptions options, std::unique_ptr<Window> window);
    ~Engine();
    Engine(const Engine&) = delete;
    Engine& operator=(const Engine&) = delete;

    // --- Start-up, loop and exits ---
    void InitEngine();
    [[noreturn]] void RunMainLoop();
    // One simulation step's work: a pending level change, then the world's update while
    // playing, or the menu input while a menu shows.
    void StepWorld();
    [[noreturn]] void Shutdown();
    // The fatal path (installed as the FatalError handler): log, plain window, message box,
    // "Exiting.", gamma back, audio freed, kExitOk.
    [[noreturn]] void FatalErrorPath(const std::string& message);

    // --- Services of the engine ---
    void SetScreenMode(int width, int height, int refreshRate, bool fullscreen, bool borderless);
    // Keeps the display's own ramp for the way out (start-up, once the window is open).
    void SaveGammaRamp();
    void ApplyGamma(float gamma);
    // The saved ramp when "RestoreCustomGamma" asks for it and one was read, else the linear one.
    void RestoreGamma();
    // Switches to another screen (Playing closes the menus); leaving Options saves the settings.
    void OpenMenu(MenuState state);

    // --- What tests look at and set ---
    ConfigTable& Config() { return config_; }
    InputState& Input() { return input_; }
    World& GameWorld() { return world_; }
    MenuState Menu() const { return menu_; }
    const MenuScreen& Menus() const { return menus_; }
    int ScreenWidth() const { return screenWidth_; }
    int ScreenHeight() const { return screenHeight_; }
    // How the process ends (std::exit with an ExitCode by default); tests throw from it instead.
    void SetExitProcess(std::function<void(int)> exitProcess) { exitProcess_ = std::move(exitProcess); }

private:
    friend class EngineServices; // the engine's side of what the world asks for

    // One main-loop pass: window events, the steps that are due, one frame; ends the program
    // through Shutdown once a --steps limit is reached.
    void RunPass();
    void RunStep();
    void RenderFrame();
    std::string ConfigFileName() const { return options_.ConfigFile.empty() ? "Orvane.ini" : options_.ConfigFile; }
    bool StepLimitReached() const { return options_.Steps && steps_ >= *options_.Steps; }
    void ConnectInput();
    void LoadFonts();
    void LoadCaustics();
    // Saves the frames that --screenshot-at asks for up to the given step, and those F9 asked for.
    void TakeDueScreenshots(int64_t step);
    void DrawWorldFrame();
    // A window that took another size than the one asked for (Alt+Enter, the desktop): the
    // viewport, projection and screen size follow it from this frame on.
    void FollowWindowSize();
    void WriteDumpIfAsked() const;
    void LogTimedemo() const;
    // The common end of Shutdown and the fatal path: timedemo and dump, "Exiting.", gamma back,
    // audio freed, log closed, window closed, exit code 0.
    [[noreturn]] void FinishExit();

    // The menus and the other flat screens (EngineMenus.cpp).
    void MenuInput();
    void MenuEnter();
    void MenuEscape();
    void MenuPointer();
    void MenuClick();
    // The line under the pointer, or -1 (also on the screens that have no lines to pick).
    int PointedMenuLine() const;
    void PlayMenuMoveSound();
    void StepSelectedOption(int step);
    void DrawHud();
    void DrawMenu();
    void DrawLoadingScreen();
    HudFonts Fonts() const { return {largeFont_.get(), mediumFont_.get()}; }

    // Audio: the device and its start-up (--audio-out records the mix), and freeing it on the way out.
    void StartAudio();
    void FreeAudio();

    HarnessOptions options_;
    ConfigTable config_;
    std::unique_ptr<TextureUploader> uploader_;
    Resources res_; // textures, meshes and class records; uploads through uploader_
    std::unique_ptr<Window> window_;
    InputState input_;
    // The actors, the loaded level, the game clock, the pending level and the on-screen texts.
    World world_;
    std::unique_ptr<WorldServices> services_; // what the world asks of the engine
    // Offline (mixed a step at a time) for headless runs and --audio-out, else the speakers.
    std::unique_ptr<AudioDevice> audioDevice_;
    // Sound and music on audioDevice_. The menus' sounds are the player pawn's own:
    // audio_->PlayActorSound(*world_.Player, name, volume); the options set SetSoundVolume and
    // SetMusicVolume.
    std::unique_ptr<Audio> audio_;
    MenuState menu_ = MenuState::Playing;
    MenuScreen menus_;       // the lines, selection and option choices of the menu showing
    ScreenText screenText_;  // the strings the last frame drew over the world

    int screenWidth_ = 0;
    int screenHeight_ = 0;
    float fov_ = 0.0f; // vertical field of view, degrees, read at start-up

    FlickerSets flicker_;
    GammaRamp savedGammaRamp_;
    bool savedGammaRampRead_ = false;

    int lightmapAtlasSize_ = 0;
    bool traceMeshColor_ = false; // actor lighting traces each light through the world
    std::unique_ptr<Renderer> renderer_ = CreateRenderer(); // the world renderer's state
    FrameHooks frameHooks_; // actors, caustics and 2D fills of the world frame
    std::unique_ptr<Font> largeFont_;
    std::unique_ptr<Font> mediumFont_;

    int64_t steps_ = 0;  // simulation steps run
    int64_t frames_ = 0; // frames drawn

    std::function<void(int)> exitProcess_;
    std::unique_ptr<InputScript> script_;
    LoopClock loopClock_;
    double timedemoStart_ = 0.0;
    int screenshotsRequested_ = 0; // F9 and --screenshot-at: the next drawn frame is saved
    size_t nextScreenshotStep_ = 0; // into the sorted options_.ScreenshotSteps
    int savedCursorX_ = 0;
    int savedCursorY_ = 0;
    // Where the menus last saw the pointer: only a pointer that moves changes the highlight.
    int menuPointerX_ = 0;
    int menuPointerY_ = 0;
};

} // namespace orv
