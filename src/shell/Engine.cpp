// Start-up, the screen, gamma, and the places where later subsystems plug in.
#include "shell/Engine.h"

#include "content/ImageFile.h"
#include "core/Fatal.h"
#include "core/Log.h"
#include "core/Random.h"
#include "core/Text.h"
#include "core/Vfs.h"
#include "platform/System.h"
#include "render/GlState.h"
#include "render/GlTextureUploader.h"
#include "render/LogoSplash.h"
#include "world/ActorClasses.h"
#include "world/LevelLoader.h"
#include "shell/EngineServices.h"
#include "shell/Gamma.h"
#include "shell/Version.h"

#include <algorithm>
#include <cstdlib>

namespace orv {

namespace {

constexpr int kCausticUploadMode = kUploadMipmaps | kUploadKeepAlpha;

} // namespace

Engine::Engine(HarnessOptions options, std::unique_ptr<Window> window)
    : Options(std::move(options)), Uploader(std::make_unique<GlTextureUploader>()), ScreenWindow(std::move(window)),
      GameWorld(Res, Config), Services(std::make_unique<EngineServices>(*this)), Now(ClockSeconds),
      ExitProcess([](int code) { std::exit(code); }) {
    Res.Config = &Config;
    Res.Uploader = Uploader.get();
    GameWorld.Services = Services.get();
    GameWorld.Input = &Input;
    std::sort(Options.ScreenshotSteps.begin(), Options.ScreenshotSteps.end());
    // Both flicker sets are drawn here, before start-up seeds the generator: the first sets
    // are the same on every run.
    FillFlickerSets(Flicker);
}

Engine::~Engine() = default;

std::string Engine::FirstLevelPath(const std::string& levelArgument, const ConfigTable& config) {
    if (!levelArgument.empty()) {
        return levelArgument;
    }
    return "Maps\\" + ConfigGet(config, "InitialLevel") + ".t3d";
}

void Engine::InitEngine() {
    Log(BannerLine());
    Log("Don't close this window.");
    Log("");

    // Every content path is relative to the program's folder.
    if (const std::string folder = ExecutableFolder(); !folder.empty()) {
        SetWorkingDirectory(folder);
    }

    if (Options.Seed) {
        SeedRandom(*Options.Seed);
    } else {
        SeedRandomFromClock();
    }

    CreatePlayerPawn();

    ConfigLoad(Config, ConfigFileName());

    const std::string screenMode = ToLowerAscii(ConfigGet(Config, "ScreenMode"));
    const int refresh = ConfigGetInt(Config, "RefreshRate");
    const int height = ConfigGetInt(Config, "ScreenHeight");
    const int width = ConfigGetInt(Config, "ScreenWidth");
    SetScreenMode(width, height, refresh, screenMode == "fullscreen", screenMode == "borderless");
    ConnectInput();

    LoadFallbackTexture();
    AddFallbackMesh();

    if (!StartRenderer(*WorldRenderer, GlProcAddress)) {
        Log("Multitexturing not supported.");
    }

    ScreenWindow->SetTitle("Orvane");
    ScreenWindow->SetCursorHidden(true);
    ScreenWindow->SetCursorConfined(true);

    ShowLogoSplash(*Uploader, ScreenWidth, ScreenHeight, [this] { ScreenWindow->Present(); });

    LoadClassDefaults();

    FOV = ConfigGetFloat(Config, "FOV");
    SetStartupGlState(ScreenWidth, ScreenHeight, FOV);

    LightmapAtlasSize = ConfigGetInt(Config, "LightmapAtlasSize");
    TraceMeshColor = ConfigGetBool(Config, "TraceMeshColor");

    LoadFonts();
    LoadCaustics();
    StartAudio();

    // The logo stays on screen while the first level loads.
    LoadLevel(FirstLevelPath(Options.LevelPath, Config), false);

    int dx = 0, dy = 0;
    MouseLookDelta(dx, dy); // so that the first step sees no jump

    SavedGammaRampRead = ScreenWindow->GetGammaRamp(SavedGammaRamp);
    if (const float gamma = ConfigGetFloat(Config, "Gamma"); gamma != 0.0f) {
        ApplyGamma(gamma);
    }
}

void Engine::SetScreenMode(int width, int height, int refreshRate, bool fullscreen, bool borderless) {
    ScreenWidth = width;
    ScreenHeight = height;
    RefreshRate = refreshRate;
    ScreenSettings settings;
    settings.Width = width;
    settings.Height = height;
    settings.RefreshRate = refreshRate;
    settings.Fullscreen = fullscreen;
    settings.Borderless = borderless;
    settings.Vsync = !Options.Timedemo;
    if (const int error = ScreenWindow->Open(settings); error != kWindowOk) {
        FatalError("ScreenRes failed. Err=" + std::to_string(error));
    }
    if (borderless) {
        ScreenWidth = ScreenWindow->Width(); // the desktop size
        ScreenHeight = ScreenWindow->Height();
    }
}

void Engine::ConnectInput() {
    Input.SetMouseArea(ScreenWidth, ScreenHeight);
    if (Options.InputScript.empty()) {
        Input.SetWarp([this](int x, int y) { ScreenWindow->WarpMouse(x, y); });
        return;
    }
    // Scripted runs: the script is the only keyboard and mouse; its pointer starts centred
    // and is always there.
    script_ = std::make_unique<InputScript>(InputScript::Load(Options.InputScript));
    Input.SetMousePosition(ScreenWidth / 2, ScreenHeight / 2);
    Input.SetMouseAvailable(true);
}

void Engine::ApplyGamma(float gamma) { ScreenWindow->SetGammaRamp(GammaRampFor(gamma)); }

void Engine::RestoreGamma() {
    // The ramp found at start-up only once it has been read: a fatal error before that puts
    // back the linear ramp rather than an empty one.
    const bool custom = ConfigGetBool(Config, "RestoreCustomGamma") && SavedGammaRampRead;
    ScreenWindow->SetGammaRamp(custom ? SavedGammaRamp : LinearGammaRamp());
}

void Engine::LoadCaustics() {
    for (int i = 0; i < kNumCausticFrames; ++i) {
        Image image;
        const std::string path = "Textures\\Zelkor\\Textures\\caustics\\caust_a" + std::to_string(i) + ".png";
        CausticTextures[i] = DecodeImageFile(path, image) ? Uploader->UploadTexture(image, kCausticUploadMode) : 0;
    }
}

// --- Places where later subsystems plug in ---

// The PlayerPawn, not level-bound, becomes the first actor of the list and stays for the run.
void Engine::CreatePlayerPawn() { orv::CreatePlayerPawn(GameWorld); }

// "Zelkor.Missing" becomes texture 0, the fallback of every texture lookup.
void Engine::LoadFallbackTexture() { orv::LoadFallbackTexture(Res); }

// The empty mesh 0, the fallback of every mesh lookup.
void Engine::AddFallbackMesh() { orv::AddFallbackMesh(Res); }

// Every package's classes, default properties and meshes.
void Engine::LoadClassDefaults() { orv::LoadClassDefaults(Res); }

void Engine::LoadFonts() {
    LargeFont = LoadFont(Res, "Textures\\Zelkor\\Textures\\K_LargeFont.font");
    MediumFont = LoadFont(Res, "Textures\\Zelkor\\Textures\\K_MedFont.font");
}

// Waits for audio: the device, 3D factors, volumes and the looping underwater sound.
void Engine::StartAudio() {}

// Waits for audio: frees the device on the way out.
void Engine::FreeAudio() {}

void Engine::LoadLevel(const std::string& path, bool showLoadingScreen) {
    orv::LoadLevel(GameWorld, path, showLoadingScreen);
}

// The generic update of every live actor, then the destroyed ones go.
void Engine::UpdateActors() { orv::UpdateActors(GameWorld, kStepDeltaTime); }

// The way out of every screen, so a press of Escape never strands the player: from the game
// over screen the program ends, from the main menu play resumes, from the others the main menu
// comes back. Moving through the menu lines with the arrows and Enter waits for the menus.
void Engine::MenuInput() {
    if (!KeyEdge(kKeyEscape)) {
        return;
    }
    switch (Menu) {
    case MenuState::GameOver: Shutdown();
    case MenuState::Main: OpenMenu(MenuState::Playing); break;
    default: OpenMenu(MenuState::Main); break;
    }
}

// The dynamic lightmaps drawn in the last frame, relit (the world frame's first step).
void Engine::RelightDynamicLightmaps() {
    RelightWorldLightmaps(*WorldRenderer, GameWorld, *Uploader, Flicker.Table.data());
}

// The world frame from the player's eyes; the relight has run already.
void Engine::DrawWorldFrame() {
    if (!GameWorld.Player) {
        ClearFrame();
        return;
    }
    FrameSettings settings;
    settings.Width = ScreenWidth;
    settings.Height = ScreenHeight;
    settings.FovDegrees = FOV;
    settings.DynamicLights = false;
    settings.FlickerTable = Flicker.Table.data();
    const CameraValues camera = ComputeCamera(*GameWorld.Player, ScreenWidth, ScreenHeight, FOV);
    RenderWorldFrame(*WorldRenderer, GameWorld, camera, settings, *Uploader, WorldHooks);
}

// Waits for the HUD: translator box, health, message line and level introduction.
void Engine::DrawHud() {}

// Waits for the menus: the panel, title and lines of the menu that is showing.
void Engine::DrawMenu() {}

} // namespace orv
