// Small levels built in memory for the renderer's tests and benchmarks: convex polygons are
// sorted into a BSP (split where they cross a splitter), every lit surface gets a lightmap that
// all lights reach, and a scene ties the model to a world with zones, lights and a player.
#pragma once

#include "content/LevelModel.h"
#include "content/Resources.h"
#include "core/ConfigFile.h"
#include "render/Renderer.h"
#include "world/ActorClasses.h"
#include "world/World.h"

#include <memory>
#include <string>
#include <vector>

namespace orv::test {

struct SurfaceSpec {
    Texture* Tex = nullptr;
    uint32_t Flags = 0;
    bool Lit = true;            // gets a lightmap (unless the flags say unlit)
    float LightmapScale = 16.0f; // world units per lightmap texel
};

// Collects polygons, then writes the model's points, surfaces, nodes, lightmaps and light lists.
class LevelBuilder {
public:
    // A convex polygon wound clockwise seen from its front; one surface of its own. Returns the
    // surface index.
    int AddPolygon(std::vector<Vector> points, const SurfaceSpec& spec, uint8_t zone);
    // The six faces of a box, facing inward (a room) or outward (a pillar); returns the first
    // surface index (then -X, +X, -Y, +Y, -Z, +Z).
    int AddBox(const Vector& min, const Vector& max, bool inward, const SurfaceSpec& spec, uint8_t zone);

    // Fills the model. The actor references name the lights, then the zones (zone numbers from
    // 1), for ResolveModelActors; a lightmap lists the lights whose radius reaches its polygon.
    void Build(LevelModel& model, const std::vector<Actor*>& lights, const std::vector<ZoneInfo*>& zones) const;

private:
    struct Polygon {
        std::vector<Vector> Points;
        int Surface = 0;
        uint8_t Zone = kNoZone;
    };
    struct SurfaceEntry {
        SurfaceSpec Spec;
        std::vector<Vector> Points; // the polygon as added, for the lightmap's extent
    };
    std::vector<Polygon> polygons_;
    std::vector<SurfaceEntry> surfaces_;
};

// A world with a level being built (LevelInfo, zone actors, lights and the player pawn) and the
// renderer that draws it.
struct TestScene {
    TestScene();
    TestScene(const TestScene&) = delete;
    TestScene& operator=(const TestScene&) = delete;

    // A texture in the table (image and flags), not yet uploaded.
    Texture* AddTexture(const std::string& name, Image image, uint32_t flags = 0);
    // A zone actor for zone number Zones.size() + 1; ambient as 0xFFRRGGBB.
    ZoneInfo* AddZone(uint32_t ambient, const std::string& className = "ZoneInfo");
    Actor* AddLight(const Vector& location, uint8_t brightness, uint8_t radius, uint8_t hue = 0, uint8_t saturation = 255);

    // Builds the model, resolves actors, makes world triangles, registers actors in the BSP,
    // uploads the textures, prepares the renderer (render bounds and lightmaps, without OpenGL
    // error checks), sorts the triangles and builds the sky box.
    void Finish(TextureUploader& uploader, int atlasSize = 512);

    Resources Res;
    ConfigTable Config;
    World Scene;
    std::unique_ptr<Renderer> Render = CreateRenderer(); // multitexturing not started
    LevelInfo* Info = nullptr;
    PlayerPawn* Player = nullptr;
    std::vector<ZoneInfo*> Zones;
    std::vector<Actor*> Lights;
    LevelBuilder Builder;
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
    int NearPanel = -1;
    int FarPanel = -1;
    static constexpr uint32_t kSkyColour = 0xFF2040C0u;
    static constexpr uint32_t kPosterColour = 0xFFFFFF00u;
};

// A grid of rooms like a real level's many nodes: rows x columns cells of 512 units, each with
// a pillar and doorways in its walls, for benchmarks.
void BuildRoomGrid(TestScene& scene, int rows, int columns);

// Solid-colour and checkered images.
Image SolidImage(int size, uint32_t colour);
Image CheckerImage(int size, uint32_t a, uint32_t b);

} // namespace orv::test
