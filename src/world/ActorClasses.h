// The engine classes beyond Actor and their own fields. Behaviour lives in one file per class
// (PlayerPawn.cpp, Mover.cpp, ...); which property fills which field, in ClassFields.cpp.
#pragma once

#include "world/Actor.h"
#include "world/Mover.h"

#include "core/Array.h"

#include <string>

namespace orv {

struct ScriptedPawn : Actor {
    EngineClass GetEngineClass() const override { return EngineClass::ScriptedPawn; }
    void AnimNotify(const MeshNotify& notify) override;
    void AnimEnd() override;
    void BeginPlay() override;
    void Tick(float deltaTime) override;
    void HitWall(const Vector& hitNormal, Actor* wall) override;
    void TakeDamage(int damage, Actor* eventInstigator, const Vector& hitLocation, const Vector& momentum,
                    std::string_view damageType) override;

    int32_t Health = 100;
    uint8_t bDead = 0;
    float SightRadius = 256.0f; // the player nearer than this is attacked
    float LoseRadius = 1024.0f; // the player farther than this is forgotten
    std::string RangedProjectile;
    float MeleeRange = 96.0f; // nearer than this, melee instead of ranged attacks
    uint8_t bCanMove = 1;
    uint8_t bFlyer = 0;
    float GroundSpeed = 50.0f; // world units per second
    float AirSpeed = 50.0f;
    Array<std::string> IdleAnims;
    std::string MoveAnim;
    std::string MoveFireAnim;
    Array<std::string> RangedAnims;
    Array<std::string> MeleeAnims;
    Array<std::string> DeathAnims;
    uint8_t bAlerted = 0;
    uint8_t bFalling = 0;
    // What the dump shows of the behaviour: "idle", "alerted", "attacking", "dying" or "dead",
    // and the actor hunted (the player while alerted).
    std::string AIState = "idle";
    Actor* Target = nullptr;
};

struct Bird1 : ScriptedPawn {
    Bird1();
    EngineClass GetEngineClass() const override { return EngineClass::Bird1; }
    void BeginPlay() override;
    void Tick(float deltaTime) override;

    Vector HomeLocation;
    float CircleRadius = 500.0f; // the bird circles its home at this distance
    float FlightTime = 0.0f;
};

struct PlayerPawn : Actor {
    PlayerPawn();
    EngineClass GetEngineClass() const override { return EngineClass::PlayerPawn; }
    void Tick(float deltaTime) override;
    void TakeDamage(int damage, Actor* eventInstigator, const Vector& hitLocation, const Vector& momentum,
                    std::string_view damageType) override;

    int32_t Health = 100;
    float LastZoneDamageTime = 0.0f;
    Array<Actor*> Inventory;
    float LastFireTime = 0.0f;
    float GroundSpeed = 300.0f;  // the fastest walk, world units per second
    float EyeHeight = 23.0f;     // the eye above Location, lowered by a step up and easing back
    float BaseEyeHeight = 23.0f; // the eye height it eases back to
    // [0]: the kick of a hit, tipping the view up and fading; [1..3]: the red, green and blue
    // of the screen tint (pickups, pain), each fading to 0.
    float ViewFlash[4] = {0, 0, 0, 0};
    // The player's own movement and view state.
    Vector WalkVelocity;
    Actor* CurrentZone = nullptr;
    Actor* ViewZone = nullptr;
    uint8_t bViewUnderwater = 0;
    uint8_t bWasLanded = 0;
};

constexpr int kMoverKeys = 9; // KeyPos(0) .. KeyPos(8)

struct Mover : Actor {
    EngineClass GetEngineClass() const override { return EngineClass::Mover; }
    void BeginPlay() override;
    void Tick(float deltaTime) override;
    void Trigger(Actor* other, Actor* instigator) override;
    void UnTrigger(Actor* other, Actor* instigator) override;
    void Bump(Actor* other) override;

    Vector MainScale{1, 1, 1};
    Vector PostScale{1, 1, 1};
    Vector KeyPos[kMoverKeys];
    Rotator KeyRot[kMoverKeys];
    Vector BasePos;
    Rotator BaseRot;
    uint8_t NumKeys = 2;
    float MoveTime = 1.0f;     // seconds from one key to the next
    float StayOpenTime = 4.0f; // seconds a timed mover stays open
    float KeyAlpha = 0.0f;
    uint8_t bGlide = 1;
    float StayOpenCounter = 0.0f;
    uint8_t bTimedClose = 0;
    EMoverState MoverState = EMoverState::Closed;
    uint8_t bPawnOnTop = 0;
    int32_t KeyNum = 0; // the key the mover last left or reached: floor(KeyAlpha)
};

struct Counter : Actor {
    EngineClass GetEngineClass() const override { return EngineClass::Counter; }
    void Trigger(Actor* other, Actor* instigator) override;

    int32_t NumToCount = 0; // triggers still to come; the "NumToCount" property holds it too
};

constexpr int kDispatcherEvents = 8; // OutEvents(0) .. OutEvents(7), each with its delay

struct Dispatcher : Actor {
    EngineClass GetEngineClass() const override { return EngineClass::Dispatcher; }
    void Tick(float deltaTime) override;
    void Trigger(Actor* other, Actor* instigator) override;

    float OutDelays[kDispatcherEvents] = {};
    std::string OutEvents[kDispatcherEvents];
    int32_t NumOutEvents = 0;
    uint8_t bActive = 0;
    float Delay = 0.0f;
    int32_t OutIndex = -1; // the next out-event to fire; -1 while idle
};

struct TriggerLight : Actor {
    EngineClass GetEngineClass() const override { return EngineClass::TriggerLight; }
    void BeginPlay() override;
    void Trigger(Actor* other, Actor* instigator) override;
    void UnTrigger(Actor* other, Actor* instigator) override;

    uint8_t SavedBrightness = 0;
};

struct Earthquake : Actor {
    EngineClass GetEngineClass() const override { return EngineClass::Earthquake; }
    void Tick(float deltaTime) override;
    void Trigger(Actor* other, Actor* instigator) override;
    void Timer() override;

    float magnitude = 0.0f;
    float duration = 0.0f;
    float radius = 0.0f;
    uint8_t bThrowPlayer = 0;
    float remainingTime = 0.0f;
};

struct ExplosionChain : Actor {
    EngineClass GetEngineClass() const override { return EngineClass::ExplosionChain; }
    void BeginPlay() override;
    void Trigger(Actor* other, Actor* instigator) override;
    void Timer() override;
    void TakeDamage(int damage, Actor* eventInstigator, const Vector& hitLocation, const Vector& momentum,
                    std::string_view damageType) override;

    uint8_t bOnlyTriggerable = 0;
    float MomentumTransfer = 0.0f;
    float Damage = 0.0f;
    float Size = 0.0f;
    float Delaytime = 0.0f;
    uint8_t bExploding = 0;
};

constexpr int kAmbientSoundChoices = 16; // Sounds(0) .. Sounds(15)

struct DynamicAmbientSound : Actor {
    EngineClass GetEngineClass() const override { return EngineClass::DynamicAmbientSound; }
    void BeginPlay() override;
    void Timer() override;

    uint8_t bInitiallyOn = 0;
    std::string Sounds[kAmbientSoundChoices];
    float playProbability = 0.0f;
    float minReCheckTime = 0.0f;
    float maxReCheckTime = 0.0f;
    uint8_t bDontRepeat = 0;
    uint8_t soundPlaying = 0;
    float rePlayTime = 0.0f;
    int32_t numSounds = 0;
    int32_t lastSound = 0;
};

struct ZoneInfo : Actor {
    EngineClass GetEngineClass() const override { return EngineClass::ZoneInfo; }

    uint8_t bWaterZone = 0;
    int32_t AmbientBrightness = 0;
    int32_t AmbientHue = 0;
    int32_t AmbientSaturation = 0;
    float TexUPanSpeed = 1.0f;
    float TexVPanSpeed = 1.0f;
    uint32_t AmbientColor = 0xFF000000u; // 0xAARRGGBB from the three ambient values
};

struct DynamicZoneInfo : ZoneInfo {
    EngineClass GetEngineClass() const override { return EngineClass::DynamicZoneInfo; }
    void BeginPlay() override;

    Vector BoxMax;
    Vector BoxMin;
    uint8_t bBoxShape = 0;
};

struct LevelInfo : ZoneInfo {
    EngineClass GetEngineClass() const override { return EngineClass::LevelInfo; }

    float Brightness = 1.0f;
};

struct Inventory : Actor {
    EngineClass GetEngineClass() const override { return EngineClass::Inventory; }

    uint8_t bPickedUp = 0;
    Mesh* PlayerViewMesh = nullptr;
    Vector PlayerViewOffset;
    float PlayerViewScale = 1.0f;
};

struct Weapon : Inventory {
    EngineClass GetEngineClass() const override { return EngineClass::Weapon; }
};

struct Projectile : Actor {
    EngineClass GetEngineClass() const override { return EngineClass::Projectile; }
    void BeginPlay() override;
    void Tick(float deltaTime) override;
    void HitWall(const Vector& hitNormal, Actor* wall) override;

    float LifeSpan = 10.0f; // seconds until it is destroyed
};

struct EnemyProjectile : Projectile {
    EnemyProjectile();
    EngineClass GetEngineClass() const override { return EngineClass::EnemyProjectile; }
    void Bump(Actor* other) override;
    void HitWall(const Vector& hitNormal, Actor* wall) override;
};

struct DispersionAmmo : Projectile {
    DispersionAmmo();
    EngineClass GetEngineClass() const override { return EngineClass::DispersionAmmo; }
    void BeginPlay() override;
    void Bump(Actor* other) override;
    void HitWall(const Vector& hitNormal, Actor* wall) override;
};

// Frames an animated sprite can hold; NumFrames is clamped to it.
constexpr int kMaxSpriteFrames = 20;

struct AnimSpriteEffect : Actor {
    EngineClass GetEngineClass() const override { return EngineClass::AnimSpriteEffect; }
    void BeginPlay() override;
    void Tick(float deltaTime) override;

    int32_t NumFrames = 0;
    float Pause = 0.0f;
    Texture* SpriteAnim[kMaxSpriteFrames] = {};
    float SpriteTime = 0.0f;
};

struct Explosion : AnimSpriteEffect {
    EngineClass GetEngineClass() const override { return EngineClass::Explosion; }
    void BeginPlay() override;
};

struct DispersionAmmoHit : AnimSpriteEffect {
    EngineClass GetEngineClass() const override { return EngineClass::DispersionAmmoHit; }
    void BeginPlay() override;
};

struct Particle {
    uint8_t bAlive = 0;
    Vector Position;
    Vector Velocity;
    Vector Acceleration;
    float Lifetime = 0.0f;
    float Age = 0.0f;
    float Size = 0.0f;
};

struct Emitter : Actor {
    Emitter();
    EngineClass GetEngineClass() const override { return EngineClass::Emitter; }
    void Tick(float deltaTime) override;

    // A burst of sparks falling under their own gravity: each particle draws its life, start,
    // velocity, acceleration and size from these ranges (seconds, world units, per second).
    float FadeIn = 0.0f;  // fractions of a particle's life over which it fades in ...
    float FadeOut = 0.1f; // ... and out
    int32_t ParticleCount = 50;
    float LifetimeMin = 0.3f;
    float LifetimeMax = 0.4f;
    uint8_t bDestroyWhenEmpty = 1;
    Vector StartOffsetMin;
    Vector StartOffsetMax;
    Vector VelocityMin{-200, -200, -200};
    Vector VelocityMax{200, 200, 200};
    Vector AccelerationMin{0, 0, -250};
    Vector AccelerationMax{0, 0, -350};
    float SizeMin = 0.1f;
    float SizeMax = 0.3f;
    Array<Particle> Particles;
};

// One of the six wave terms of a wavy surface: U, V or Z driven by X or Y.
struct WaveTerm {
    float Wavelength = 0.0f;
    float Amplitude = 0.0f;
    float Phase = 0.0f;
    float Speed = 0.0f;
};

constexpr int kWaveTerms = 6; // U, V and Z, each driven by X and by Y

struct WavySurfaceInfo : Actor {
    EngineClass GetEngineClass() const override { return EngineClass::WavySurfaceInfo; }
    void PostLoad() override; // the grid shows the engine's logo texture
    void Tick(float deltaTime) override; // the waves' clock

    float XGridSpace = 0.0f;
    float YGridSpace = 0.0f;
    float TexXSize = 0.0f;
    float TexYSize = 0.0f;
    WaveTerm Waves[kWaveTerms]; // UFromX, VFromX, ZFromX, UFromY, VFromY, ZFromY
    float USpeed = 0.0f;
    float VSpeed = 0.0f;
    float WaveTime = 0.0f;
    int32_t SizeX = 16; // grid vertices along X and Y
    int32_t SizeY = 16;
};

} // namespace orv
