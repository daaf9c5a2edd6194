// Start-up, the screen, gamma, and the places where later subsystems plug in.
#include "shell/Engine.h"

#include "content/ImageFile.h"
#include "core/Fatal.h"
#include "core/Log.h"
#include "core/Random.h"
#include "core/Settings.h"
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

// The first level: the level argument when there is one, else "Maps\" + "InitialLevel" + ".t3d".
std::string FirstLevelPath(const std::string& levelArgument, const ConfigTable& config) {
    if (!levelArgument.empty()) {
        return levelArgument;
    }
    return "Maps\\" + ConfigGet(config, "InitialLevel") + ".t3d";
}

} // namespace

Engine::Engine(HarnessOptions options, std::unique_ptr<Window> window)
    : options_(std::move(options)), uploader_(std::make_unique<GlTextureUploader>()), window_(std::move(window)),
      world_(res_, config_), services_(std::make_unique<EngineServices>(*this)),
      audioDevice_(CreateOpenAlAudioDevice(options_.Headless || !options_.AudioOut.empty() ? AudioOutput::Offline
                                                                                            : AudioOutput::Speakers)),
      audio_(std::make_unique<Audio>(*audioDevice_, world_)),
      exitProcess_([](int code) { std::exit(code); }) {
    res_.Config = &config_;
    res_.Uploader = uploader_.get();
    world_.Services = services_.get();
    world_.Input = &input_;
    std::sort(options_.ScreenshotSteps.begin(), options_.ScreenshotSteps.end());
    // Both flicker sets are drawn here, before start-up seeds the generator: the first sets
    // are the same on every run.
    FillFlickerSets(flicker_);
}

Engine::~Engine() = default;

void Engine::InitEngine() {
    Log(BannerLine());
    Log("Don't close this window.");
    Log("");

    // Every content path is relative to the program's folder.
    if (const std::string folder = ExecutableFolder(); !folder.empty()) {
        SetWorkingDirectory(folder);
    }

    if (options_.Seed) {
        SeedRandom(*options_.Seed);
    } else {
        SeedRandomFromClock();
    }

    // The PlayerPawn, not level-bound, becomes the first actor of the list and stays for the run.
    CreatePlayerPawn(world_);

    ConfigLoad(config_, ConfigFileName());
    // From here on every reader of a number or a switch sees a value the engine can use.
    CheckSettings(config_, ConfigFileName());

    const std::string screenMode = ToLowerAscii(ConfigGet(config_, "ScreenMode"));
    const int refresh = ConfigGetInt(config_, "RefreshRate");
    const int height = ConfigGetInt(config_, "ScreenHeight");
    const int width = ConfigGetInt(config_, "ScreenWidth");
    SetScreenMode(width, height, refresh, screenMode == "fullscreen", screenMode == "borderless");
    ConnectInput();

    // "Zelkor.Missing" becomes texture 0 and the empty mesh 0: the fallbacks of every lookup.
    LoadFallbackTexture(res_);
    AddFallbackMesh(res_);

    if (!StartRenderer(*renderer_, GlProcAddress)) {
        Log("Multitexturing not supported.");
    }

    window_->SetTitle("Orvane");
    window_->SetCursorHidden(true);
    window_->SetCursorConfined(true);

    ShowLogoSplash(*uploader_, screenWidth_, screenHeight_, [this] { window_->Present(); });

    // Every package's classes, default properties and meshes.
    LoadClassDefaults(res_);

    fov_ = ConfigGetFloat(config_, "FOV");
    SetStartupGlState(screenWidth_, screenHeight_, fov_);

    lightmapAtlasSize_ = ConfigGetInt(config_, "LightmapAtlasSize");
    traceMeshColor_ = ConfigGetBool(config_, "TraceMeshColor");

    LoadFonts();
    LoadCaustics();
    StartAudio();

    // The logo stays on screen while the first level loads.
    LoadLevel(world_, FirstLevelPath(options_.LevelPath, config_), false);

    int dx = 0, dy = 0;
    input_.MouseLookDelta(dx, dy); // so that the first step sees no jump

    SaveGammaRamp();
    if (const float gamma = ConfigGetFloat(config_, "Gamma"); gamma != 0.0f) {
        ApplyGamma(gamma);
    }
}

void Engine::SetScreenMode(int width, int height, int refreshRate, bool fullscreen, bool borderless) {
    screenWidth_ = width;
    screenHeight_ = height;
    ScreenSettings settings;
    settings.Width = width;
    settings.Height = height;
    settings.RefreshRate = refreshRate;
    settings.Fullscreen = fullscreen;
    settings.Borderless = borderless;
    settings.Vsync = !options_.Timedemo;
    if (const WindowError error = window_->Open(settings); error != kWindowOk) {
        FatalError("ScreenRes failed. Err=" + std::to_string(error));
    }
    if (borderless) {
        screenWidth_ = window_->Width(); // the desktop size
        screenHeight_ = window_->Height();
    }
}

void Engine::FollowWindowSize() {
    const int width = window_->Width();
    const int height = window_->Height();
    if (width <= 0 || height <= 0 || (width == screenWidth_ && height == screenHeight_)) {
        return;
    }
    screenWidth_ = width;
    screenHeight_ = height;
    ResizeView(width, height, fov_, world_.CurrentLevel.FarPlane);
    input_.SetMouseArea(width, height);
}

void Engine::ConnectInput() {
    input_.SetMouseArea(screenWidth_, screenHeight_);
    if (options_.InputScript.empty()) {
        input_.SetWarp([this](int x, int y) { window_->WarpMouse(x, y); });
        return;
    }
    // Scripted runs: the script is the only keyboard and mouse; its pointer starts centred
    // and is always there.
    script_ = std::make_unique<InputScript>(InputScript::Load(options_.InputScript));
    input_.SetMousePosition(screenWidth_ / 2, screenHeight_ / 2);
    input_.SetMouseAvailable(true);
}

void Engine::SaveGammaRamp() { savedGammaRampRead_ = window_->GetGammaRamp(savedGammaRamp_); }

void Engine::ApplyGamma(float gamma) { window_->SetGammaRamp(GammaRampFor(gamma)); }

void Engine::RestoreGamma() {
    // The ramp found at start-up only once it has been read: a fatal error before that puts
    // back the linear ramp rather than an empty one.
    const bool custom = ConfigGetBool(config_, "RestoreCustomGamma") && savedGammaRampRead_;
    window_->SetGammaRamp(custom ? savedGammaRamp_ : LinearGammaRamp());
}

void Engine::LoadFonts() {
    largeFont_ = LoadFont(res_, "Textures\\Zelkor\\Textures\\K_LargeFont.font");
    mediumFont_ = LoadFont(res_, "Textures\\Zelkor\\Textures\\K_MedFont.font");
}

void Engine::LoadCaustics() {
    for (int i = 0; i < kNumCausticFrames; ++i) {
        Image image;
        const std::string path = "Textures\\Zelkor\\Textures\\caustics\\caust_a" + std::to_string(i) + ".png";
        renderer_->CausticTextures[i] = DecodeImageFile(path, image) ? uploader_->UploadTexture(image, kCausticUploadMode) : 0;
    }
}

// The world frame from the player's eyes; the relight has run already.
void Engine::DrawWorldFrame() {
    if (!world_.Player) {
        ClearFrame();
        return;
    }
    FrameSettings settings;
    settings.Width = screenWidth_;
    settings.Height = screenHeight_;
    settings.FovDegrees = fov_;
    settings.DynamicLights = false;
    settings.FlickerTable = flicker_.Table.data();
    settings.TraceMeshColor = traceMeshColor_;
    const CameraValues camera = ComputeCamera(*world_.Player, screenWidth_, screenHeight_, fov_);
    RenderWorldFrame(*renderer_, world_, camera, settings, *uploader_, frameHooks_);
}

void Engine::StartAudio() {
    if (!options_.AudioOut.empty()) {
        audio_->RecordMixTo(options_.AudioOut);
    }
    audio_->AudioStartup();
}

void Engine::FreeAudio() { audio_->AudioShutdown(); }

} // namespace orv
