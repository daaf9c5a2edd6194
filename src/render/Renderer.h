// The world renderer as the engine sees it: start-up, its preparation for each level (render
// bounds, lightmaps) and the relight, one world frame from the camera, and the timing figures of
// --timedemo. The renderer's state, its record of the loaded level included, lives in one
// Renderer object that the engine owns; the parts that draw actors, caustics and 2D rectangles
// plug into the frame through FrameHooks.
#pragma once

#include "content/Resources.h"
#include "render/ActorDrawState.h"
#include "render/Camera.h"
#include "render/RenderLevel.h"
#include "render/RenderState.h"
#include "render/RenderView.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace orv {

struct Actor;
struct World;

// The colour unlit surfaces draw at: lightmaps hold half the light the screen shows, and the
// frame doubles everything at its end.
constexpr float kUnlitColour = 0.5f;

constexpr int kNumCausticFrames = 32; // caust_a0 .. caust_a31, drawn in turn under water

// The three passes of the world frame, in order. Opaque: the solid world and actor parts;
// SeeThrough: the world's see-through polygons back to front and modulated actor parts;
// Translucent: translucent actor parts. The sky box draws its solid, modulated and translucent
// triangles in the same three.
enum class DrawPass : int { Opaque = 0, SeeThrough = 1, Translucent = 2 };

// Seconds spent per part of the world frame, summed over Frames frames.
struct RenderTimings {
    double WalkSeconds = 0.0;    // view set-up, BSP walk, span buffer, queueing
    double RelightSeconds = 0.0; // dynamic lightmaps and their uploads
    double TotalSeconds = 0.0;   // the whole world frame
    int64_t Frames = 0;

    // Everything that is neither walk nor relight: OpenGL submission and the hooks' drawing.
    double SubmitSeconds() const { return TotalSeconds - WalkSeconds - RelightSeconds; }
};

// "Renderer: N frames, walk A ms, relight B ms, GL submission C ms, total D ms per frame".
std::string TimedemoLine(const RenderTimings& timings);

struct Renderer {
    RenderView View;
    LevelRenderState LevelState; // the renderer's record of the loaded level
    TextureCache Cache;
    MultitextureEntryPoints Multitexture;
    bool SkyVisible = false; // a sky portal was drawn: the next frame draws the sky box
    std::vector<Actor*> VisibleActors; // this frame's, in actor-list order; kept for its storage
    RenderTimings Timings;
    ActorDrawState Actors; // the actor drawing's storage and figures
    // This frame's clock and screen, as RenderWorldFrame received them.
    double Time = 0.0;
    int ScreenWidth = 640;
    int ScreenHeight = 480;
    float FovDegrees = 90.0f; // vertical
    bool TraceMeshColor = false; // actor lighting skips lights that the world hides
    // The OpenGL textures of the underwater caustics frames; 0 for a frame that did not load.
    std::array<uint32_t, kNumCausticFrames> CausticTextures{};
};

// The renderer's state in one piece (the span buffer's pool makes it large: keep it on the heap).
std::unique_ptr<Renderer> CreateRenderer();

// Fetches the multitexture entry points through the platform's loader and keeps them. False
// when the driver lacks them (the engine then logs "Multitexturing not supported."; lightmaps
// are not drawn).
bool StartRenderer(Renderer& renderer, GlProcLoader getProc);

// The per-frame values the frame reads besides the world and the camera.
struct FrameSettings {
    int Width = 640;
    int Height = 480;
    float FovDegrees = 90.0f;            // vertical, as configured
    bool DynamicLights = true;           // the "DynamicLights" option, read every frame
    const float* FlickerTable = nullptr; // 256 factors for watery shimmer lights
    bool TraceMeshColor = false;         // the "TraceMeshColor" option, read at start-up
};

// What other drawing parts add to the world frame. Defaults: each actor draws itself the way its
// engine class does (DrawActor of ActorDraw.h); DrawCaustics draws the caustics pass (Caustics.h);
// FillScreen draws a full-screen rectangle through the HUD coordinates in the current mode.
class FrameHooks {
public:
    virtual ~FrameHooks() = default;
    virtual void DrawActor(Renderer& renderer, Actor& actor, DrawPass pass);
    virtual void DrawCaustics(Renderer& renderer, const CameraValues& camera);
    virtual void FillScreen(Renderer& renderer, uint32_t color);
};

// The full-screen rectangle in colour 0xAARRGGBB at the HUD plane (unit-0 texture unbound,
// culling off); the render mode is the caller's.
void FillScreenRect(Renderer& renderer, uint32_t color);

// Readies the renderer for the world's freshly loaded level: its record of the tree made anew
// (render bounds, marks cleared), then the atlas and the static lightmaps, with OpenGL errors
// checked around the atlas upload. A level drawn without it is drawn unlit.
void PrepareLevel(Renderer& renderer, const World& world, TextureUploader& uploader, int atlasSize,
                  const float* flickerTable = nullptr);

// The first step of the world frame on its own, for an engine that runs it separately: relights
// the lightmaps with dynamic lights drawn in the last frame. Its time counts as relight time.
int RelightWorldLightmaps(Renderer& renderer, World& world, TextureUploader& uploader, const float* flickerTable);

// One world frame: the dynamic relight (when settings.DynamicLights), clear, sky box, the
// opaque, see-through and translucent passes with the actors the walk reached drawn after each
// (in actor-list order), the doubling of the whole frame, caustics under water and the screen
// tint. The HUD and menus follow it; presenting is the caller's.
void RenderWorldFrame(Renderer& renderer, World& world, const CameraValues& camera, const FrameSettings& settings,
                      TextureUploader& uploader, FrameHooks& hooks);

} // namespace orv
