// Speed of the flat screens: one frame of the full options screen and one of the HUD with 200
// characters of text (the translator box, health, a message and the level introduction), drawn
// with the generated game tree's fonts into a headless GL context (SDL offscreen, Mesa llvmpipe)
// at 640 x 480. The CPU time per frame is what counts: the clear and the finish of the frame before
// are outside the timing, the flush of this one inside. llvmpipe transforms vertices on the
// calling thread, so its figures include driver work that a graphics card does itself.
#include "BenchSupport.h"
#include "HeadlessGl.h"
#include "content/Font.h"
#include "content/Texture.h"
#include "core/ConfigFile.h"
#include "core/Vfs.h"
#include "render/GlState.h"
#include "render/GlTextureUploader.h"
#include "render/Overlay.h"
#include "render/Renderer.h"
#include "shell/Hud.h"
#include "shell/MenuDraw.h"
#include "world/ActorClasses.h"
#include "world/World.h"

#include <GL/gl.h>
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

namespace {

using namespace orv;

constexpr int kWidth = 640;
constexpr int kHeight = 480;
constexpr float kFov = 80.0f;

// Everything a flat screen draws with, kept for the whole run.
struct OverlayScene {
    ConfigTable Config;
    Resources Res;
    GlTextureUploader Uploader;
    std::unique_ptr<Font> Large;
    std::unique_ptr<Font> Medium;
    std::unique_ptr<Renderer> Render;
    std::unique_ptr<World> Scene;
    std::string Problem; // why the scene cannot be drawn, empty when it can
};

OverlayScene& Scene() {
    static auto scene = [] {
        auto s = std::make_unique<OverlayScene>();
        test::GlTestContext& gl = test::GlTestContext::Get(kWidth, kHeight);
        if (!gl.Ok()) {
            s->Problem = "no headless OpenGL: " + gl.Reason();
            return s;
        }
        if (bench::GameDir().empty() || !SetWorkingDirectory(bench::GameDir())) {
            s->Problem = "the game tree is not generated";
            return s;
        }
        SetStartupGlState(kWidth, kHeight, kFov);
        ConfigParse(s->Config, "FOV=90\nMouseSensitivity=40\nGamma=1.2\nSoundVolume=0.8\nMusicVolume=0.5\nGodMode=true");
        s->Res.Config = &s->Config;
        s->Res.Uploader = &s->Uploader;
        LoadFallbackTexture(s->Res);
        s->Large = LoadFont(s->Res, "Textures\\Zelkor\\Textures\\K_LargeFont.font");
        s->Medium = LoadFont(s->Res, "Textures\\Zelkor\\Textures\\K_MedFont.font");
        s->Render = CreateRenderer();
        if (!StartRenderer(*s->Render, &test::GlTestContext::GetProc)) {
            s->Problem = "no multitexturing";
        }
        s->Scene = std::make_unique<World>(s->Res, s->Config);
        CreatePlayerPawn(*s->Scene);
        return s;
    }();
    return *scene;
}

void BM_OptionsScreen(benchmark::State& state) {
    OverlayScene& s = Scene();
    if (!s.Problem.empty()) {
        state.SkipWithError(s.Problem.c_str());
        return;
    }
    MenuScreen screen;
    screen.Options.DisplayModeList = BuildDisplayModes({{640, 480, 60, 32}, {1920, 1080, 144, 32}});
    PickOptionStarts(screen.Options, s.Config);
    screen.Items = MenuLines(MenuState::Options, "");
    screen.Selection = 3;
    const HudFonts fonts{s.Large.get(), s.Medium.get()};
    ScreenText record;
    for (auto _ : state) {
        state.PauseTiming();
        ClearFrame();
        glFinish();
        record.clear();
        state.ResumeTiming();
        BeginOverlay(*s.Render, kWidth, kHeight, kFov);
        DrawMenuOverlay(*s.Render, fonts, MenuState::Options, screen, s.Config, record);
        glFlush();
    }
    state.counters["strings"] = static_cast<double>(record.size());
}
BENCHMARK(BM_OptionsScreen)->Unit(benchmark::kMicrosecond);

void BM_HudWith200Characters(benchmark::State& state) {
    OverlayScene& s = Scene();
    if (!s.Problem.empty()) {
        state.SkipWithError(s.Problem.c_str());
        return;
    }
    World& world = *s.Scene;
    // 4 of health ("+100"), 19 of the introduction (no LevelInfo: the labels alone), 40 of the
    // message and 137 of the translator: 200.
    world.HudMessage = "You picked up the Dispersion Pistol ammo";
    world.TranslatorText = std::string(
        "The creatures of this place have taken the station. Seek the lift beyond the court, then the hall of the seal.");
    world.TranslatorText.resize(137, '.');
    const HudFonts fonts{s.Large.get(), s.Medium.get()};
    ScreenText record;
    size_t characters = 0;
    for (auto _ : state) {
        state.PauseTiming();
        world.HudMessageTime = 8.0f;
        world.LevelIntroTime = 8.0f;
        ClearFrame();
        glFinish();
        record.clear();
        state.ResumeTiming();
        BeginOverlay(*s.Render, kWidth, kHeight, kFov);
        DrawHudElements(*s.Render, fonts, world, record);
        glFlush();
    }
    for (const std::string& text : record) {
        characters += text.size();
    }
    state.counters["characters"] = static_cast<double>(characters);
}
BENCHMARK(BM_HudWith200Characters)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
