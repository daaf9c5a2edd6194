// Building blocks for hand-made levels: boxes, wedges and sheets as brush faces, and the pieces
// a level is made of (rooms, corridors, stairs, ramps, ledges, doors, lifts, pools, windows,
// lights), each written into a MapWriter as the brushes and actors it needs.
#pragma once

#include "MapWriter.h"

#include <string>

namespace orv::mapgen {

// Polygon flags the pieces use.
constexpr uint32_t kTwoSided = 0x00000100u;
constexpr uint32_t kMasked = 0x00000002u;
constexpr uint32_t kTranslucent = 0x00000004u;
constexpr uint32_t kNotSolid = 0x00000008u;
constexpr uint32_t kSkyPortal = 0x00000080u;
constexpr uint32_t kAutoUPan = 0x00000200u;
constexpr uint32_t kAutoVPan = 0x00000400u;
constexpr uint32_t kSmallWavy = 0x00002000u;
constexpr uint32_t kAlphaBlend = 0x00020000u;
constexpr uint32_t kUnlit = 0x00400000u;
constexpr uint32_t kHighShadowDetail = 0x00800000u;
constexpr uint32_t kZonePortal = 0x04000000u;

// Textures and flags of a box's floor, ceiling and walls.
struct Skin {
    std::string Floor, Ceiling, Walls;
    uint32_t FloorFlags = 0, CeilingFlags = 0, WallFlags = 0;
    float TexelSize = 1.0f;
};

Skin Plain(const std::string& texture, uint32_t flags = 0);

// The six faces of an axis-aligned box, wound outwards.
Faces BoxFaces(const Vector& min, const Vector& max, const Skin& skin);

// Which way a wedge rises.
enum class Rise { PlusX, MinusX, PlusY, MinusY };

// A wedge over the box's floor rectangle: height 0 at one end, the box's full height at the other.
Faces WedgeFaces(const Vector& min, const Vector& max, Rise rise, const Skin& skin);

// A flat rectangle: horizontal (min.Z == max.Z) facing up, or vertical in X (facing +Y, or -Y with
// faceBack) or in Y (facing +X, or -X with faceBack).
Face SheetFace(const Vector& min, const Vector& max, bool faceBack, const std::string& texture, uint32_t flags);

// --- Pieces ---

void Room(MapWriter& map, const Vector& min, const Vector& max, const Skin& skin);
void Block(MapWriter& map, const Vector& min, const Vector& max, const Skin& skin);
void Ramp(MapWriter& map, const Vector& min, const Vector& max, Rise rise, const Skin& skin);

// Steps climbing along +X from `start` (the first step's floor corner at its low Y): each step
// `run` long and `rise` higher than the last, with `headroom` above every step.
void StairsUpX(MapWriter& map, const Vector& start, int steps, float run, float rise, float width, float headroom,
               const Skin& skin);

// A sheet brush (not solid) with one face; zone portals add kZonePortal to polyFlags.
void Sheet(MapWriter& map, const Face& face, uint32_t polyFlags = kNotSolid);

// A door slab that slides up by `lift` when opened.
struct DoorSpec {
    Vector Min, Max;
    float Lift = 0;
    std::string InitialState; // "BumpOpenTimed", "TriggerOpenTimed", "TriggerToggle", ...
    std::string Tag;          // for triggered doors
    std::string Texture = "Orvane.Metal.Door";
};
std::string Door(MapWriter& map, const DoorSpec& door);

// A platform that rides up by `travel` when stood on.
std::string Lift(MapWriter& map, const Vector& min, const Vector& max, float travel, float moveTime,
                 const std::string& texture);

// A liquid pool sunk into a floor: the basin, the zone portal at its surface (a little below the
// floor, wider than the basin so that the compile trims it to the opening) and the zone actor.
struct PoolSpec {
    Vector Min, Max;   // the basin; Max.Z is the surrounding floor
    float SurfaceDrop; // how far below the floor the surface lies
    Skin Basin;
    std::string SurfaceTexture;
    uint32_t SurfaceFlags = 0; // on top of two-sided
    std::string ZoneClass;     // "WaterZone", "LavaZone", ...
    Properties ZoneProperties;
};
std::string Pool(MapWriter& map, const PoolSpec& pool);

// An opening through a wall between two rooms, closed by a see-through sheet in its middle.
// The opening spans min..max; the sheet lies across its thinner horizontal axis.
void Window(MapWriter& map, const Vector& min, const Vector& max, const Skin& frame, const std::string& pane,
            uint32_t paneFlags);

// A light actor of the given class with its light properties.
std::string Light(MapWriter& map, const std::string& className, const Vector& at, int brightness, int hue,
                  int saturation, int radius, Properties more = {});

} // namespace orv::mapgen
