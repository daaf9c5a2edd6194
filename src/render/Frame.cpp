// One world frame, in order: relight, clear, sky box, the three passes, the doubling of the
// frame, caustics and the screen tint.
#include "render/Renderer.h"

#include "render/ActorDraw.h"
#include "render/Caustics.h"
#include "render/GlState.h"
#include "render/Lightmaps.h"
#include "render/Overlay.h"
#include "render/SkyBox.h"
#include "render/WorldDraw.h"
#include "render/WorldWalk.h"
#include "world/ActorClasses.h"
#include "world/World.h"

#include <GL/gl.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>

namespace orv {

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

// Every pass starts white, untextured on unit 0, unblended, with the atlas on unit 1.
void BeginPass(Renderer& renderer, const Texture* atlas) {
    const MultitextureEntryPoints& multi = renderer.Multitexture;
    if (multi.Available()) {
        glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    } else {
        glColor4f(kUnlitColour, kUnlitColour, kUnlitColour, 1.0f); // no lightmaps: lit surfaces at the unlit level
    }
    BindTexture(renderer.Cache, nullptr);
    glDisable(GL_BLEND);
    if (multi.Available()) {
        multi.ActiveTexture(GL_TEXTURE1);
        glEnable(GL_TEXTURE_2D);
        glBindTexture(GL_TEXTURE_2D, atlas ? atlas->GLTexture : 0);
        multi.ActiveTexture(GL_TEXTURE0);
    }
}

void LightmapUnitOff(Renderer& renderer) {
    const MultitextureEntryPoints& multi = renderer.Multitexture;
    if (multi.Available()) {
        multi.ActiveTexture(GL_TEXTURE1);
        glBindTexture(GL_TEXTURE_2D, 0);
        glDisable(GL_TEXTURE_2D);
        multi.ActiveTexture(GL_TEXTURE0);
    }
}

// The actors the frame's walk reached, in actor-list order; actors spawned while drawing wait
// for the next frame's walk.
void CollectVisibleActors(Renderer& renderer, const World& world) {
    renderer.VisibleActors.clear();
    for (const auto& actor : world.Actors) {
        if (WalkReached(renderer.LevelState, *actor)) {
            renderer.VisibleActors.push_back(actor.get());
        }
    }
}

void DrawVisibleActors(Renderer& renderer, FrameHooks& hooks, DrawPass pass) {
    for (Actor* actor : renderer.VisibleActors) {
        hooks.DrawActor(renderer, *actor, pass);
    }
}

uint32_t TintByte(float value) {
    return static_cast<uint32_t>(std::lround(std::clamp(std::min(value, 1.0f), 0.0f, 1.0f) * 255.0f));
}

// The sky box sits at the eye, behind everything: drawn when a sky portal was drawn last frame.
void DrawSkyIfSeen(Renderer& renderer, const Level& level, const CameraValues& camera) {
    if (renderer.SkyVisible && level.SkyZone) {
        glPushMatrix();
        ApplyCameraRotation(camera);
        glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
        for (DrawPass pass : {DrawPass::Opaque, DrawPass::SeeThrough, DrawPass::Translucent}) {
            DrawSkybox(renderer, level, pass);
        }
        glPopMatrix();
        glDepthMask(GL_TRUE);
        glClear(GL_DEPTH_BUFFER_BIT);
    }
    renderer.SkyVisible = false;
}

// Opaque world and actors; see-through world back to front and modulated actors; translucent
// actors.
void DrawPasses(Renderer& renderer, const World& world, const FrameSettings& settings, FrameHooks& hooks) {
    const Level& level = world.CurrentLevel;
    const Texture* atlas = renderer.LevelState.Atlas.get();
    BeginPass(renderer, atlas);
    RenderWorld(renderer, level, settings.Width, settings.Height);
    LightmapUnitOff(renderer);
    CollectVisibleActors(renderer, world);
    DrawVisibleActors(renderer, hooks, DrawPass::Opaque);

    BeginPass(renderer, atlas);
    DrawTransparentPolygons(renderer, level);
    LightmapUnitOff(renderer);
    DrawVisibleActors(renderer, hooks, DrawPass::SeeThrough);

    BeginPass(renderer, atlas);
    LightmapUnitOff(renderer);
    DrawVisibleActors(renderer, hooks, DrawPass::Translucent);
    renderer.VisibleActors.clear(); // no pointer outlives the frame
}

// A level the renderer was not prepared for (tools, tests, benchmarks that skip PrepareLevel)
// still gets its tree record, so the walk never reads past it; without lightmap states every
// surface draws unlit.
void EnsureLevelState(Renderer& renderer, const LevelModel& model) {
    LevelRenderState& state = renderer.LevelState;
    const bool otherTree = state.Nodes.size() != static_cast<size_t>(model.Nodes.Num());
    if (otherTree) {
        PrepareRenderBounds(state, model);
    }
    if (otherTree || state.Lightmaps.size() != static_cast<size_t>(model.Lightmaps.Num())) {
        state.Lightmaps.clear();
    }
}

// After the camera's matrix is popped: the doubling, caustics under water, the view flash tint.
void DrawScreenOverlays(Renderer& renderer, const World& world, const CameraValues& camera, FrameHooks& hooks) {
    // Lightmaps hold half-intensity light and unlit surfaces draw at 0.5: double everything.
    glDepthMask(GL_TRUE);
    glClear(GL_DEPTH_BUFFER_BIT);
    glDepthMask(GL_FALSE);
    glDisable(GL_CULL_FACE);
    SetRenderMode(RenderMode::Modulated);
    hooks.FillScreen(renderer, 0xFFFFFFFFu);

    const PlayerPawn* player = world.Player;
    if (!player) {
        return;
    }
    if (const auto* zone = dynamic_cast<const ZoneInfo*>(player->CurrentZone); zone && zone->bWaterZone) {
        hooks.DrawCaustics(renderer, camera);
    }
    const float* flash = player->ViewFlash;
    if (flash[1] != 0.0f || flash[2] != 0.0f || flash[3] != 0.0f) {
        SetRenderMode(RenderMode::Translucent);
        hooks.FillScreen(renderer, 0xFF000000u | (TintByte(flash[1]) << 16) | (TintByte(flash[2]) << 8) | TintByte(flash[3]));
        SetRenderMode(RenderMode::Opaque);
    }
}

} // namespace

std::unique_ptr<Renderer> CreateRenderer() { return std::make_unique<Renderer>(); }

bool StartRenderer(Renderer& renderer, GlProcLoader getProc) {
    if (!getProc) {
        renderer.Multitexture = {};
        return false;
    }
    return SetMultitexture(renderer.Multitexture, getProc("glActiveTextureARB"), getProc("glMultiTexCoord2fARB"));
}

int RelightWorldLightmaps(Renderer& renderer, World& world, TextureUploader& uploader, const float* flickerTable) {
    const Clock::time_point start = Clock::now();
    EnsureLevelState(renderer, world.CurrentLevel.Model);
    const int relit =
        RelightDynamicLightmaps(renderer.LevelState, world.CurrentLevel, WorldLighting(world, flickerTable), uploader);
    const double seconds = Seconds(Clock::now() - start);
    renderer.Timings.RelightSeconds += seconds;
    renderer.Timings.TotalSeconds += seconds;
    return relit;
}

std::string TimedemoLine(const RenderTimings& timings) {
    const double frames = timings.Frames > 0 ? static_cast<double>(timings.Frames) : 1.0;
    auto ms = [frames](double seconds) { return seconds * 1000.0 / frames; };
    char line[200];
    std::snprintf(line, sizeof line,
                  "Renderer: %lld frames, walk %.3f ms, relight %.3f ms, GL submission %.3f ms, total %.3f ms per frame",
                  static_cast<long long>(timings.Frames), ms(timings.WalkSeconds), ms(timings.RelightSeconds),
                  ms(timings.SubmitSeconds()), ms(timings.TotalSeconds));
    return line;
}

void FrameHooks::DrawActor(Renderer& renderer, Actor& actor, DrawPass pass) { orv::DrawActor(renderer, actor, pass); }

void FrameHooks::DrawCaustics(Renderer& renderer, const CameraValues& camera) { DrawCausticsPass(renderer, camera); }

void FrameHooks::FillScreen(Renderer& renderer, uint32_t color) { FillScreenRect(renderer, color); }

void FillScreenRect(Renderer& renderer, uint32_t color) {
    const float aspect = static_cast<float>(renderer.ScreenWidth) / static_cast<float>(std::max(renderer.ScreenHeight, 1));
    FillRect(renderer, HudLeftEdge(renderer.ScreenWidth, renderer.ScreenHeight), 0.0f, aspect, 1.0f, color);
}

void PrepareLevel(Renderer& renderer, const World& world, TextureUploader& uploader, int atlasSize,
                  const float* flickerTable) {
    const Level& level = world.CurrentLevel;
    renderer.Actors.ReportedBrushes.clear();
    PrepareRenderBounds(renderer.LevelState, level.Model);
    PrepareLightmaps(renderer.LevelState, level, WorldLighting(world, flickerTable), uploader, atlasSize,
                     [](int place) { CheckGlError(place); });
}

void RenderWorldFrame(Renderer& renderer, World& world, const CameraValues& camera, const FrameSettings& settings,
                      TextureUploader& uploader, FrameHooks& hooks) {
    EnsureLevelState(renderer, world.CurrentLevel.Model);
    // Lightmaps drawn last frame whose lights move or change.
    if (settings.DynamicLights) {
        RelightWorldLightmaps(renderer, world, uploader, settings.FlickerTable);
    }
    const Clock::time_point start = Clock::now();
    renderer.Time = world.GameTime;
    renderer.ScreenWidth = settings.Width;
    renderer.ScreenHeight = settings.Height;
    renderer.FovDegrees = settings.FovDegrees;
    renderer.TraceMeshColor = settings.TraceMeshColor;

    // A clean frame in Unreal's axes.
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDepthMask(GL_TRUE);
    ApplyAxisSwap();
    glEnable(GL_TEXTURE_2D);
    // Textures may have gone with a level load since the last frame: bind nothing first, so
    // that a new texture at a freed one's address is never taken for bound.
    glBindTexture(GL_TEXTURE_2D, 0);
    ForgetBoundTexture(renderer.Cache);
    DrawSkyIfSeen(renderer, world.CurrentLevel, camera);

    glPushMatrix();
    ApplyCamera(camera);
    RenderView& view = renderer.View;
    view.Location = camera.Eye;
    view.Pitch = camera.Pitch;
    view.Yaw = camera.Yaw;
    view.Roll = camera.Roll;
    view.FieldOfView = camera.FieldOfView;
    DrawPasses(renderer, world, settings, hooks);
    glPopMatrix();

    DrawScreenOverlays(renderer, world, camera, hooks);
    renderer.Timings.TotalSeconds += Seconds(Clock::now() - start);
    ++renderer.Timings.Frames;
}

} // namespace orv
