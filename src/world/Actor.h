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

enum EPhysics : int32_t {
    PHYS_None = 0,
    PHYS_Walking = 1,
    PHYS_Falling = 2,
    PHYS_Swimming = 3,
    PHYS_Flying = 4,
    PHYS_Rotating = 5,
    PHYS_Projectile = 6,
};

enum EStyle : int32_t {
    STY_None = 0,
    STY_Normal = 1,
    STY_Masked = 2,
    STY_Translucent = 3,
    STY_Modulated = 4,
    STY_AlphaBlend = 5,
};

enum ELightType : int32_t {
    LT_None = 0,
    LT_Steady = 1,
    LT_Pulse = 2,
    LT_Blink = 3,
    LT_Flicker = 4,
    LT_Strobe = 5,
    LT_BackdropLight = 6,
    LT_SubtlePulse = 7,
    LT_TexturePaletteOnce = 8,
    LT_TexturePaletteLoop = 9,
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
    virtual void ApplyProperties();
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
    int32_t Physics = PHYS_None;
    std::string InitialState;
    Actor* Owner = nullptr;
    Actor* Instigator = nullptr;
    uint8_t bStatic = 0;
    float CollisionRadius = 22.0f;
    float CollisionHeight = 22.0f;
    uint8_t bCollideActors = 0;
    uint8_t bCollideWorld = 0;
    uint8_t bBlockPlayers = 0;
    uint8_t bProjTarget = 0;
    uint8_t bTouchingPlayer = 0;
    uint8_t bHidden = 0;
    int32_t Style = STY_Normal;
    float DrawScale = 1.0f;
    float SpriteProjForward = 32.0f;
    uint8_t bUnlit = 0;
    Texture* Skin = nullptr;
    Texture* MultiSkins[16] = {};
    Texture* Tex = nullptr; // the sprite texture (Unreal's Texture property)
    uint8_t LightBrightness = 0;
    uint8_t LightHue = 0;
    uint8_t LightSaturation = 0;
    uint8_t LightRadius = 0;
    uint8_t LightPeriod = 0;
    uint8_t LightPhase = 0;
    uint8_t LightCone = 0;
    int32_t LightEffect = 0;
    int32_t LightType = LT_None;
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
    // The BSP actor lists this actor is filed in: (node, 0 for the negative side or 1 for the
    // positive side). Unregistering takes it out of exactly these, whatever moved since.
    std::vector<std::pair<int32_t, uint8_t>> RegisteredIn;
    float Glow = 1.0f;
    float LightColor[3] = {0, 0, 0};
    uint8_t bLit = 0;
};

// Plays a sequence of the actor's mesh: an empty name stops animating; an unknown name changes
// nothing; a found one restarts at frame 0 with rate times the sequence's own rate.
void PlayAnim(Actor& actor, std::string_view sequenceName, float rate);

// Class-name tests through the class records of the actor's world.
bool IsA(const Actor& actor, std::string_view baseName);
bool IsSameOrA(const Actor& actor, std::string_view baseName);

} // namespace orv
