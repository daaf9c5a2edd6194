// The simulation's state: the actor list, the loaded level's geometry and the game-facing
// engine state (clock, menu state, pending level, messages). The engine owns one World; tests
// build their own.
#pragma once

#include "content/LevelModel.h"
#include "content/Resources.h"
#include "content/WorldTriangle.h"
#include "core/Array.h"
#include "core/FixedStep.h"
#include "world/Actor.h"
#include "world/LocationHash.h"
#include "world/WorldServices.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace orv {

struct ConfigTable;
class InputState;
struct PlayerPawn;
struct LevelInfo;
struct DynamicZoneInfo;

// The actors filed in the leaf spaces at one BSP node: the space behind its plane where it has
// no back child, and the space in front where it has no front child.
struct NodeActorLists {
    std::vector<Actor*> Negative;
    std::vector<Actor*> Positive;
};

// What belongs to the loaded level and goes at the next load.
struct Level {
    std::string Name; // the T3D file name without folder and extension
    LevelModel Model;
    Array<WorldTriangle> Triangles; // sorted into draw-group order
    LocationHash Hash;
    Array<WorldTriangle> SkyTriangles; // relative to the sky zone's location
    Actor* SkyZone = nullptr;
    LevelInfo* Info = nullptr;
    Array<DynamicZoneInfo*> DynamicZones;
    float FarPlane = 0.0f; // the length of the level's bounding-box diagonal
    int32_t SpawnCount = 0; // actors placed at run time: each is named its class and this number

    // The model's actor tables resolved against the level's actors (null where none matches).
    Array<Actor*> LightActors;  // beside Model.LightIndices
    Array<Actor*> ZoneActors;   // beside Model.ZoneIndices: by zone number
    Array<Actor*> SurfaceZones; // beside Model.Surfaces: the zone whose pan speeds apply
    // Beside Model.Nodes, the actors filed in the tree (RegisterActor).
    std::vector<NodeActorLists> NodeActors;

    // The zone actor of a zone number, or null (kNoZone, beyond the table or an empty slot).
    Actor* ZoneActor(int zone) const;
    // The zone of a node's polygon: the actor of its front zone, else the LevelInfo.
    Actor* NodeZone(int32_t node) const;
};

struct World {
    World(Resources& resources, ConfigTable& config);
    ~World();
    World(const World&) = delete;
    World& operator=(const World&) = delete;

    Resources& Res;
    ConfigTable& Config;
    WorldServices* Services = nullptr; // never null once set up; a do-nothing one by default
    InputState* Input = nullptr;       // null: no keys held, no mouse motion

    Array<std::unique_ptr<Actor>> Actors; // creation order; owns every actor
    PlayerPawn* Player = nullptr;
    Level CurrentLevel;

    double GameTime = 0.0;
    std::string PendingLevel;
    std::string HudMessage;
    float HudMessageTime = 0.0f;
    std::string TranslatorText;
    float LevelIntroTime = 0.0f;

    // Sets the HUD message and shows it for 8 seconds.
    void SetHudMessage(std::string_view message);
};

// --- The actor list ---

// A new, unregistered actor of the engine class the factory picks for className.
std::unique_ptr<Actor> CreateActor(World& world, std::string_view className);
// Fills the actor's property list from its class chain's defaults and stores its class record.
void ApplyClassDefaults(Actor& actor);
// Sets owner and tag, moves it to location, sets rotation, appends it to the list, BeginPlay.
Actor* PlaceActor(World& world, std::unique_ptr<Actor> actor, Actor* owner, std::string_view tag,
                  const Vector& location, const Rotator& rotation);
// CreateActor, ApplyClassDefaults, ApplyProperties, PlaceActor.
Actor* Spawn(World& world, std::string_view className, Actor* owner, std::string_view tag, const Vector& location,
             const Rotator& rotation);
// Creates the one player pawn (not level-bound) as the first actor of the list.
PlayerPawn* CreatePlayerPawn(World& world);
// Frees every actor marked destroyed, from the last to the first.
void RemoveDestroyedActors(World& world);
// Forgets every reference to an actor that is about to be freed (owners, instigators, the
// player's inventory and zones, the level's zone and light tables).
void ClearReferencesTo(World& world, const Actor& gone);

// --- Spatial registration in the level's BSP (nothing happens while no level is loaded) ---
// An actor is filed in every leaf space its CollisionHeight reaches around its Location, and
// taken out of exactly the lists it was filed in.
void RegisterActor(Actor& actor);
void UnregisterActor(Actor& actor);
// Unregisters, sets Location, registers again.
void MoveActorTo(Actor& actor, const Vector& location);

// --- The generic per-step update ---
void UpdateActor(Actor& actor, float deltaTime);
// Updates every actor that existed at the start (skipping destroyed ones), then frees the
// destroyed ones.
void UpdateActors(World& world, float deltaTime);

} // namespace orv
