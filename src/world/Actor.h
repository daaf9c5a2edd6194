// The actor record every level object shares (player, monsters, doors, triggers, lights,
// effects), with the sixteen operations each engine class may override.
#pragma once

#include "content/PropertyList.h"
#include "content/Resources.h"
#include "core/Rotator.h"
#include "core/Vector.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace orv {

struct World;
struct ActorBrush;

// Unreal's enumerations of the actor record. A value's name is the text a property gives for it
// (any case), its number the value the field holds and the dump writes.
enum EPhysics : int32_t {
    phys_none,
    phys_walking,
    phys_falling,
    phys_swimming,
    phys_flying,
    phys_rotating,
    phys_projectile,
    phys_rolling,
    phys_interpolating,
    phys_movingbrush,
    phys_spider,
    phys_trailer,
};

enum EStyle : int32_t {
    sty_none,
    sty_normal,
    sty_masked,
    sty_translucent,
    sty_modulated,
    sty_alphablend,
};

// lt_none has no name in property text: only "0" selects it.
enum ELightType : int32_t {
    lt_none,
    lt_steady,
    lt_pulse,
    lt_blink,
    lt_flicker,
    lt_strobe,
    lt_backdroplight,
    lt_subtlepulse,
    lt_texturepaletteonce,
    lt_texturepaletteloop,
};

enum ELightEffect : int32_t {
    le_none,
    le_torchwaver,
    le_firewaver,
    le_wateryshimmer,
    le_searchlight,
    le_slowwave,
    le_fastwave,
    le_cloudcast,
    le_staticspot,
    le_shock,
    le_disco,
    le_warp,
    le_spotlight,
    le_nonincidence,
    le_shell,
    le_omnibumpmap,
    le_interference,
    le_cylinder,
    le_rotor,
    le_sunlight,
};

// The engine class of an actor: which record and operations it has.
enum class EngineClass {
    Actor,
    ScriptedPawn,
    Bird1,
    PlayerPawn,
    Mover,
    Counter,
    Dispatcher,
    TriggerLight,
    Earthquake,
    ExplosionChain,
    DynamicAmbientSound,
    ZoneInfo,
    DynamicZoneInfo,
    LevelInfo,
    Inventory,
    Weapon,
    Projectile,
    EnemyProjectile,
    DispersionAmmo,
    AnimSpriteEffect,
    Explosion,
    DispersionAmmoHit,
    Emitter,
    WavySurfaceInfo,
};

const char* EngineClassName(EngineClass c);

constexpr int kMultiSkins = 16; // MultiSkins(0) .. MultiSkins(15): one texture per mesh skin slot

struct Actor {
    Actor();
    virtual ~Actor();
    Actor(const Actor&) = delete;
    Actor& operator=(const Actor&) = delete;

    virtual EngineClass GetEngineClass() const { return EngineClass::Actor; }

    // The sixteen operations, in slot order (drawing is the renderer's, by engine class).
    virtual void AnimNotify(const MeshNotify& notify);
    virtual void AnimEnd();
    virtual void PostLoad();
    virtual void BeginPlay();
    void Destroy(); // the only implementation: marks, unregisters, turns collision off, clears "Tag"
    virtual void Tick(float deltaTime);
    virtual void Trigger(Actor* other, Actor* instigator);
    virtual void UnTrigger(Actor* other, Actor* instigator);
    virtual void Bump(Actor* other);   // null other: the player
    virtual void UnTouch(Actor* other); // null other: the player
    virtual void HitWall(const Vector& hitNormal, Actor* wall);
    virtual void Timer();
    virtual void TakeDamage(int damage, Actor* eventInstigator, const Vector& hitLocation, const Vector& momentum,
                            std::string_view damageType);
    virtual void ApplyProperties(); // reads the rows of the class's field table (ClassFields.cpp)
    virtual bool OverlapsPlayer() const;

    // Properties by name ("(0)" is the bare key; case-blind).
    const std::string& GetProperty(std::string_view name) const { return PropertyList.Get(name); }
    std::string GetPropertyOr(std::string_view name, std::string_view fallback) const {
        return PropertyList.GetOr(name, fallback);
    }
    void SetProperty(std::string_view name, std::string_view value) { PropertyList.Set(name, value); }

    // Timers: setting stores the period in TimerRate and TimerCounter and arms it (looping or not).
    void SetTimer(float period, bool loop);
    void StopTimer() { bTimerActive = 0; }

    World& GetWorld() const { return *XLevel; }

    // The fields. The value written here is what a new actor starts with; the text a level actor
    // reads when its properties say nothing is in its class's field table (ClassFields.cpp). The
    // two differ on purpose for a few fields (bCollideActors: off until the properties are read,
    // on when they do not mention it); the starting value is what counts for fields read
    // "unchanged" (Physics, Style, the keys of a mover), for run-time state, and for the player,
    // which reads no properties.

    World* XLevel = nullptr; // the world this actor lives in
    std::string Name;
    std::string Class;
    ClassRecord* ClassRec = nullptr;
    uint8_t bDeleteMe = 0;
    uint8_t bLevelBound = 1;
    Vector Location;
    Rotator Rotation;
    Rotator RotationRate;
    Vector Velocity;
    EPhysics Physics = phys_none;
    std::string InitialState;
    Actor* Owner = nullptr;
    Actor* Instigator = nullptr;
    uint8_t bStatic = 0;
    float CollisionRadius = 22.0f; // the collision cylinder, world units
    float CollisionHeight = 22.0f; // half its height
    uint8_t bCollideActors = 0;
    uint8_t bCollideWorld = 0;
    uint8_t bBlockPlayers = 0;
    uint8_t bProjTarget = 0;
    uint8_t bTouchingPlayer = 0;
    uint8_t bHidden = 0;
    EStyle Style = sty_normal;
    float DrawScale = 1.0f;
    float SpriteProjForward = 32.0f; // a sprite is drawn this much nearer the eye, clear of its wall
    uint8_t bUnlit = 0;
    Texture* Skin = nullptr;
    Texture* MultiSkins[kMultiSkins] = {};
    Texture* Tex = nullptr; // the sprite texture (Unreal's Texture property)
    uint8_t LightBrightness = 0;
    uint8_t LightHue = 0;
    uint8_t LightSaturation = 0;
    uint8_t LightRadius = 0;
    uint8_t LightPeriod = 0;
    uint8_t LightPhase = 0;
    uint8_t LightCone = 0;
    ELightEffect LightEffect = le_none;
    ELightType LightType = lt_none;
    uint8_t bSpecialLit = 0;
    uint8_t bLightOff = 0;
    std::unique_ptr<ActorBrush> Brush; // movers only; a brush marks a mover in actor tests
    Vector PrePivot;
    orv::PropertyList PropertyList;
    Mesh* MeshRef = nullptr; // Unreal's Mesh property
    const MeshSequence* CurrentSequence = nullptr;
    std::string AnimSequence;
    float AnimFrame = 0.0f;
    float AnimRate = 0.0f;
    uint64_t FiredNotifies = 0;
    uint8_t bTimerActive = 0;
    uint8_t bTimerLoop = 0;
    float TimerRate = 0.0f;
    float TimerCounter = 0.0f;
    // Collision and drawing state shared by several classes.
    float BrushRadius = 512.0f;     // radius about Location holding the brush (movers)
    uint8_t bLanded = 0;            // set when a pawn lands; cleared by its next tick
    uint8_t bTriggered = 0;         // a Trigger that the player's touch or a shot has fired
    // The BSP actor lists this actor is filed in: (node, 0 for the negative side or 1 for the
    // positive side). Unregistering takes it out of exactly these, whatever moved since.
    std::vector<std::pair<int32_t, uint8_t>> RegisteredIn;
    float Glow = 1.0f; // brightness factor of sprites
    float LightColor[3] = {0, 0, 0}; // red, green, blue
    uint8_t bLit = 0;
};

// Plays a sequence of the actor's mesh: an empty name stops animating; an unknown name changes
// nothing; a found one restarts at frame 0 with rate times the sequence's own rate.
void PlayAnim(Actor& actor, std::string_view sequenceName, float rate);

// Class-name tests through the class records of the actor's world.
bool IsA(const Actor& actor, std::string_view baseName);
bool IsSameOrA(const Actor& actor, std::string_view baseName);

} // namespace orv
