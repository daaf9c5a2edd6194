// Small levels built in memory for the renderer's tests and benchmarks: convex polygons are
// sorted into a BSP (split where they cross a splitter), every lit surface gets a lightmap that
// all lights reach, and a scene ties the model to a world with zones, lights and a player, and to
// a renderer prepared for it.
#pragma once

#include "content/LevelModel.h"
#include "content/Resources.h"
#include "core/ConfigFile.h"
#include "render/Renderer.h"
#include "world/ActorClasses.h"
#include "world/World.h"

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace orv::test {

struct SurfaceSpec {
    Texture* Tex = nullptr;
    uint32_t Flags = 0;
    bool Lit = true;             // gets a lightmap (unless the flags say unlit)
    float LightmapScale = 16.0f; // world units per lightmap texel
};

// A world with a level being built (LevelInfo, zone actors, lights and the player pawn) and the
// renderer that draws it.
struct TestScene {
    TestScene();

    // A texture in the table (image and flags), not yet uploaded.
    Texture* AddTexture(const std::string& name, Image image, uint32_t flags = 0);
    // A zone actor for zone number Zones.size() + 1; ambient as 0xFFRRGGBB.
    ZoneInfo* AddZone(uint32_t ambient, const std::string& className = "ZoneInfo");
    Actor* AddLight(const Vector& location, uint8_t brightness, uint8_t radius, uint8_t hue = 0,
                    uint8_t saturation = 255);

    // A convex polygon wound clockwise seen from its front, with a surface of its own; returns
    // the surface index.
    int AddPolygon(std::vector<Vector> points, const SurfaceSpec& spec, uint8_t zone);

    // Builds the model (the actor references name the lights, then the zones, numbered from 1; a
    // lightmap lists the lights whose radius reaches its polygon, with every shadow bit set),
    // resolves actors, makes world triangles, registers actors in the BSP, uploads the textures,
    // prepares the renderer (render bounds and lightmaps, without OpenGL error checks), sorts the
    // triangles and builds the sky box. Without an uploader nothing is uploaded.
    void Finish(TextureUploader& uploader, int atlasSize = 512);
    void Finish() { Finish(noUploads_); }

    // An actor of the level, in the list after the others.
    template <typename T>
    T* AddActor(const std::string& className, const std::string& name) {
        auto actor = std::make_unique<T>();
        actor->XLevel = &Scene;
        actor->Class = className;
        actor->Name = name;
        return static_cast<T*>(Scene.Actors[Scene.Actors.Add(std::move(actor))].get());
    }

    Resources Res;
    ConfigTable Config;
    World Scene;
    std::unique_ptr<Renderer> Render = CreateRenderer(); // multitexturing not started
    LevelInfo* Info = nullptr;
    PlayerPawn* Player = nullptr;
    std::vector<ZoneInfo*> Zones;
    std::vector<Actor*> Lights;

private:
    struct Polygon {
        std::vector<Vector> Points; // as added
        SurfaceSpec Spec;
        uint8_t Zone = kNoZone;
    };
    void Build(LevelModel& model) const;
    std::vector<Polygon> polygons_; // by surface index
    NullTextureUploader noUploads_;
};

// The demo room: a 1024 x 1024 x 256 room (zone 1) with a pillar, a poster on the far wall
// hidden behind the pillar from the west end, a sky portal over the eastern half of the
// ceiling, a translucent pane and a masked grate, two alpha-blended panels one behind the
// other, one light near the north wall, and a sky zone (zone 2) at (8000, 0, 0).
struct DemoRoom {
    explicit DemoRoom(TextureUploader& uploader, int atlasSize = 512);

    TestScene Scene;
    int PosterSurface = -1;
    int PortalSurface = -1;
    int NorthWall = -1; // +Y, near the light
    int SouthWall = -1; // -Y
    int PaneSurface = -1;
    int GrateSurface = -1;
    static constexpr uint32_t kSkyColour = 0xFF2040C0u;
};

// A grid of rooms like a real level's many nodes: rows x columns cells of 512 units, each with
// a pillar and doorways in its walls, for benchmarks.
void BuildRoomGrid(TestScene& scene, int rows, int columns);

// The surfaces of the polygons the view's last walk queued: the opaque ones bucket by bucket, then
// the see-through list in its order; or the see-through list alone.
std::vector<int> QueuedSurfaces(const RenderView& view, bool seeThroughOnly = false);
inline bool Queued(const RenderView& view, int surface) {
    return std::ranges::count(QueuedSurfaces(view), surface) > 0;
}

// A checkered image of 8-texel squares.
Image CheckerImage(int size, uint32_t a, uint32_t b);

} // namespace orv::test
