// The player: turning, walking, swimming, jumping, firing, zone damage, touching, the eye and
// the listener, one step at a time.
#include "core/ConfigFile.h"
#include "core/Random.h"
#include "core/Numbers.h"
#include "core/Text.h"
#include "world/ActorClasses.h"
#include "world/Collision.h"
#include "core/InputState.h"
#include "world/World.h"
#include "world/Zones.h"

#include <algorithm>
#include <cmath>

namespace orv {

namespace {

// Speeds in world units per second, changes per step of 1/60 second.
constexpr float kJumpSpeed = 416.66666f;   // the upward speed of a jump
constexpr float kMaxSpeed = 2500.0f;       // the fastest the player falls or is thrown
constexpr float kGravityPerStep = 25.0f;   // 1500 units per second squared
constexpr float kAirDrag = 0.99f;          // horizontal speed kept per step in the air
constexpr float kWalkDrag = 0.85f;         // walking speed kept per step
constexpr float kWalkPush = 50.0f;         // walking speed a held key adds per step
constexpr float kSwimPush = 0.5f;          // a swimmer pushes at half the walking push
constexpr float kSwimStroke = 100.0f;      // upward speed a stroke of the jump key adds ...
constexpr float kSwimStrokeLimit = 150.0f; // ... while rising slower than this
constexpr float kWaterSink = 2.5f;         // the slow sinking per step in water
constexpr float kWaterDrag = 0.9f;         // speed kept per step in water
constexpr float kGodLift = 38.333333f;     // god mode: speed F adds per step
constexpr float kGodRise = 3.3333333f;     // god mode: distance G lifts per step

constexpr int32_t kTurnPerStep = 256;                   // turning keys, rotator units per step
constexpr int32_t kMaxPitch = kRotatorUnitsPerTurn / 4; // straight up or down
constexpr float kLevelViewKeep = 0.6f;                  // End keeps this much pitch and roll per step
constexpr double kFireInterval = 0.33;                  // seconds between shots
constexpr float kShotStart = 10.0f;                     // a shot starts this far along its flight
constexpr float kIntroSeconds = 8.0f;                   // F1 shows the level's introduction this long
constexpr float kEyeEase = 0.1875f;                     // the eye moves this part of the way back per step
constexpr float kFlashFadePerSecond = 3.0f;             // view flash and tint fade
constexpr float kHitLift = 50.0f;                       // upward speed a hit adds
constexpr float kFullFlashDamage = 200.0f;              // damage that flashes the view fully

bool IsWaterZone(const Actor* zone) {
    auto* z = dynamic_cast<const ZoneInfo*>(zone);
    return z && z->bWaterZone;
}

struct HeldInput {
    InputState* In;
    bool Key(int code) const { return In && In->KeyDown(code); }
    bool Button(MouseButton button) const { return In && In->ButtonDown(button); }
    bool KeyPressed(int code) const { return In && In->KeyEdge(code); }
    bool ButtonPressed(MouseButton button) const { return In && In->ButtonEdge(button); }
};

void TurnByKeys(PlayerPawn& p, const HeldInput& in) {
    if (in.Key(kKeyLeft)) p.Rotation.Yaw = WrapAdd(p.Rotation.Yaw, -kTurnPerStep);
    if (in.Key(kKeyRight)) p.Rotation.Yaw = WrapAdd(p.Rotation.Yaw, kTurnPerStep);
    if (in.Key(kKeyDelete)) p.Rotation.Pitch = WrapAdd(p.Rotation.Pitch, kTurnPerStep);
    if (in.Key(kKeyPageDown)) p.Rotation.Pitch = WrapAdd(p.Rotation.Pitch, -kTurnPerStep);
    if (in.Key(kKeyN)) p.Rotation.Roll = WrapAdd(p.Rotation.Roll, kTurnPerStep);
    if (in.Key(kKeyM)) p.Rotation.Roll = WrapAdd(p.Rotation.Roll, -kTurnPerStep);
    if (in.Key(kKeyEnd)) {
        p.Rotation.Pitch = SaturateToInt32(std::nearbyint(p.Rotation.Pitch * kLevelViewKeep));
        p.Rotation.Roll = SaturateToInt32(std::nearbyint(p.Rotation.Roll * kLevelViewKeep));
    }
}

// The yaw rounded to whole units. Turning on and on in one direction would leave 32 bits: whole
// multiples of 2^32 units are then dropped, which keeps the direction (2^32 is a whole number of
// turns).
int32_t TurnedYaw(float yaw) {
    constexpr double kWrap = 4294967296.0;
    const double rounded = std::nearbyint(static_cast<double>(yaw));
    if (!std::isfinite(rounded)) {
        return 0;
    }
    return static_cast<int32_t>(static_cast<uint32_t>(static_cast<int64_t>(std::fmod(rounded, kWrap))));
}

void MouseLook(PlayerPawn& p, World& world) {
    int dx = 0, dy = 0;
    if (!world.Input) {
        return;
    }
    world.Input->MouseLookDelta(dx, dy);
    const float sensitivity = ConfigGetFloat(world.Config, "MouseSensitivity");
    p.Rotation.Yaw = TurnedYaw(p.Rotation.Yaw + dx * sensitivity);
    const float pitch = std::nearbyint(p.Rotation.Pitch - dy * sensitivity);
    p.Rotation.Pitch = static_cast<int32_t>(std::clamp(pitch, float(-kMaxPitch), float(kMaxPitch)));
}

void Walk(PlayerPawn& p, const HeldInput& in, bool inWater) {
    p.WalkVelocity *= kWalkDrag;
    Vector wish;
    if (in.Key(kKeyA)) wish += Vector{0, -1, 0};
    if (in.Key(kKeyD)) wish += Vector{0, 1, 0};
    if (in.Key(kKeyW) || in.Key(kKeyUp) || in.Button(MouseButton::Middle)) wish += Vector{1, 0, 0};
    if (in.Key(kKeyS) || in.Key(kKeyDown)) wish += Vector{-1, 0, 0};
    wish *= kWalkPush;
    if (inWater) {
        wish = RotateVector(wish * kSwimPush, p.Rotation);
    } else {
        wish = RotateVector(wish, {0, p.Rotation.Yaw, p.Rotation.Roll});
    }
    p.WalkVelocity += wish;
    const float speed = Length(p.WalkVelocity);
    if (speed > p.GroundSpeed) {
        p.WalkVelocity *= p.GroundSpeed / speed;
    }
}

void JumpAndFall(PlayerPawn& p, World& world, const HeldInput& in, bool inWater) {
    if (!inWater) {
        if ((in.Key(kKeySpace) || in.Button(MouseButton::Right)) && p.bWasLanded) {
            p.Velocity += Vector{0, 0, kJumpSpeed};
            world.Services->PlayActorSound(p, "UnrealShare.Female.jump1fem", 1.0f);
        }
    } else if ((in.Key(kKeySpace) || in.ButtonPressed(MouseButton::Right)) && p.Velocity.Z < kSwimStrokeLimit) {
        p.Velocity += Vector{0, 0, kSwimStroke};
    }
    if (ConfigGetBool(world.Config, "GodMode")) {
        if (in.Key(kKeyF)) {
            p.Velocity += Vector{0, 0, kGodLift};
        }
        if (in.Key(kKeyG)) {
            MoveActorTo(p, p.Location + Vector{0, 0, kGodRise});
        }
    }
    if (!inWater) {
        p.Velocity += Vector{0, 0, -kGravityPerStep};
        p.Velocity.X *= kAirDrag;
        p.Velocity.Y *= kAirDrag;
    } else {
        p.Velocity += Vector{0, 0, -kWaterSink};
        p.Velocity *= kWaterDrag;
    }
    const float speed = Length(p.Velocity);
    if (speed > kMaxSpeed) {
        p.Velocity *= kMaxSpeed / speed;
    }
}

void Fire(PlayerPawn& p, World& world, const HeldInput& in) {
    if (!(in.Key(kKeyCtrl) || in.Button(MouseButton::Left)) || !(p.LastFireTime + kFireInterval < world.GameTime)) {
        return;
    }
    std::unique_ptr<Actor> shot = CreateActor(world, "DispersionAmmo");
    ApplyClassDefaults(*shot);
    shot->ApplyProperties();
    Actor* placed = PlaceActor(world, std::move(shot), &p, "", p.Location, p.Rotation);
    MoveActorTo(*placed, p.Location + Normal(placed->Velocity) * kShotStart);
    p.LastFireTime = static_cast<float>(world.GameTime);
}

void ZoneDamage(PlayerPawn& p, World& world) {
    if (!p.CurrentZone) {
        return;
    }
    const int damage = ParseInt(p.CurrentZone->GetProperty("DamagePerSec"));
    if (damage != 0 && world.GameTime > p.LastZoneDamageTime + 1.0) {
        p.TakeDamage(damage, &p, p.Location, {}, p.CurrentZone->GetProperty("DamageType"));
        p.LastZoneDamageTime = static_cast<float>(world.GameTime);
    }
}

void Touch(World& world) {
    for (int i = 0; i < world.Actors.Num(); ++i) {
        Actor& actor = *world.Actors[i];
        if (actor.Brush) {
            continue;
        }
        const bool overlaps = actor.OverlapsPlayer();
        if (overlaps && !actor.bTouchingPlayer) {
            actor.Bump(nullptr);
            actor.bTouchingPlayer = 1;
        } else if (!overlaps && actor.bTouchingPlayer) {
            actor.UnTouch(nullptr);
            actor.bTouchingPlayer = 0;
        }
    }
}

} // namespace

void PlayerPawn::Tick(float deltaTime) {
    World& world = GetWorld();
    HeldInput in{world.Input};
    if (Health < 1) {
        if (world.Services->IsMusicLoaded()) {
            world.Services->FreeMusic();
        }
        const char* sound = FRand() < 0.25f ? "UnrealShare.Female.death1dfem" : "UnrealShare.Female.death4cfem";
        world.Services->PlayActorSound(*this, sound, 1.0f);
        world.Services->GameOver();
    }
    bWasLanded = bLanded;
    bLanded = 0;
    TurnByKeys(*this, in);
    MouseLook(*this, world);
    const bool inWater = IsWaterZone(CurrentZone);
    Walk(*this, in, inWater);
    JumpAndFall(*this, world, in, inWater);
    MovePawn(*this, (WalkVelocity + Velocity) * deltaTime, 0);
    Fire(*this, world, in);
    if (in.KeyPressed(kKeyF1)) {
        world.LevelIntroTime = kIntroSeconds;
    }
    if (in.KeyPressed(kKeyF9)) {
        world.Services->TakeScreenshot();
    }
    ZoneDamage(*this, world);
    CurrentZone = ViewZone = world.CurrentLevel.Info;
    Touch(world);
    EyeHeight = (1.0f - kEyeEase) * EyeHeight + kEyeEase * BaseEyeHeight;
    CurrentZone = FindZoneAt(world, Location);
    ViewZone = FindZoneAt(world, Location + Vector{0, 0, EyeHeight});
    if (ViewFlash[0] > 0) {
        ViewFlash[0] -= kFlashFadePerSecond * deltaTime;
    }
    for (int i = 1; i < 4; ++i) {
        ViewFlash[i] = std::max(0.0f, ViewFlash[i] - kFlashFadePerSecond * deltaTime);
    }
    world.Services->SetListener(Location, RotateVector({1, 0, 0}, Rotation), {0, 0, 1});
    bViewUnderwater = IsWaterZone(ViewZone) ? 1 : 0;
    world.Services->SetUnderwater(bViewUnderwater != 0);
}

void PlayerPawn::TakeDamage(int damage, Actor*, const Vector&, const Vector& momentum, std::string_view) {
    World& world = GetWorld();
    if (!ConfigGetBool(world.Config, "GodMode")) {
        Health = SaturateInt32(int64_t{Health} - damage);
    }
    if (Health > 0) {
        const float r = FRand();
        const char* sound = r < 0.25f   ? "UnrealShare.Female.linjur1fem"
                            : r < 0.5f  ? "UnrealShare.Female.linjur2fem"
                            : r < 0.75f ? "UnrealShare.Female.linjur3fem"
                                        : "UnrealShare.Female.hinjur4fem";
        world.Services->PlayActorSound(*this, sound, 1.0f);
    }
    Velocity += Vector{momentum.X, momentum.Y, kHitLift};
    const float s = std::sqrt(std::max(0, damage) / kFullFlashDamage);
    ViewFlash[0] = std::min(1.0f, ViewFlash[0] + s);
    ViewFlash[1] = std::min(1.0f, ViewFlash[1] + s);
}

} // namespace orv
