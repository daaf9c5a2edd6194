// Shots and what they leave behind: projectiles fly straight at a constant speed and hurt what
// they hit; explosions and hit flashes play their frames and go; a spark burst flies under its
// own gravity until the last spark dies.
#include "core/Random.h"
#include "core/Numbers.h"
#include "core/Text.h"
#include "world/ActorClasses.h"
#include "world/Collision.h"
#include "world/World.h"

#include <cmath>
#include <string>

namespace orv {

namespace {

constexpr float kOneStep = 0.016666668f; // a hit flash appears one step back along the flight
constexpr float kOwnerShotVolume = 0.5f; // a shot's sound from the gun that fires it
constexpr float kShotKnock = 0.2f;       // an enemy shot pushes with this part of its velocity
constexpr int kDispersionDamage = 15;

constexpr int kExplosionFrames = 8;
constexpr float kExplosionPause = 0.083333336f; // twelve frames a second
constexpr int kExplosionVariants = 5;
constexpr float kExplosionScale = 2.0f;
constexpr int kHitFrames = 10;
constexpr float kHitPause = 0.05f;
constexpr float kHitScale = 1.3f;

// The factory makes a monster of every class that is or derives from ScriptedPawn, and a
// projectile of every one that is or derives from Projectile, so the engine class tells.
bool IsMonster(const Actor& actor) {
    return actor.GetEngineClass() == EngineClass::ScriptedPawn || actor.GetEngineClass() == EngineClass::Bird1;
}

// After each move of a projectile: both sides of every overlap are told, movers excepted; it
// also meets actors that only projectiles hit. Actors spawned meanwhile wait for the next step.
void TouchOverlapping(Actor& self) {
    if (!self.bCollideActors) {
        return;
    }
    World& world = self.GetWorld();
    const int count = world.Actors.Num();
    for (int i = 0; i < count; ++i) {
        Actor& other = *world.Actors[i];
        if (&other == &self || other.Brush || other.bDeleteMe) {
            continue;
        }
        if (!other.bCollideActors && !other.bProjTarget) {
            continue;
        }
        if (!CylindersOverlap(self.Location, self.CollisionHeight, self.CollisionRadius, other.Location,
                              other.CollisionHeight, other.CollisionRadius)) {
            continue;
        }
        self.Bump(&other);
        other.Bump(&self);
        self.UnTouch(&other);
        other.UnTouch(&self);
        if (self.bDeleteMe) {
            return;
        }
    }
}

// Frame i is the texture named namePrefix followed by i.
void ShowFrames(AnimSpriteEffect& effect, int frames, float pause, float scale, const std::string& namePrefix) {
    World& world = effect.GetWorld();
    effect.NumFrames = frames;
    effect.Pause = pause;
    for (int i = 0; i < frames; ++i) {
        effect.SpriteAnim[i] = LoadTexture(world.Res, namePrefix + std::to_string(i), false);
    }
    effect.Tex = effect.SpriteAnim[0];
    effect.DrawScale = scale;
    effect.Style = sty_translucent;
}

} // namespace

// --- Projectiles ---

void Projectile::BeginPlay() {
    Actor::BeginPlay();
    if (!Tex) {
        Tex = LoadTexture(GetWorld().Res, "Zelkor.Projectile", false);
    }
    const float speed = ClampToWorld(ParseFloat(GetPropertyOr("speed", "1000")));
    Velocity = RotateVector({1, 0, 0}, Rotation) * speed;
}

void Projectile::Tick(float deltaTime) {
    LifeSpan -= deltaTime;
    if (LifeSpan <= 0.0f) {
        Destroy();
        return;
    }
    MoveActor(*this, Velocity * deltaTime);
    TouchOverlapping(*this);
}

void Projectile::HitWall(const Vector&, Actor*) {
    Spawn(GetWorld(), "Emitter", nullptr, "", Location, {});
    Destroy();
}

void EnemyProjectile::HitWall(const Vector&, Actor*) {
    Spawn(GetWorld(), "Explosion", nullptr, "", Location, {});
    Destroy();
}

// Monster shots hurt only the player; they fly through monsters and everything else.
void EnemyProjectile::Bump(Actor* other) {
    World& world = GetWorld();
    if (!other || other != world.Player) {
        return;
    }
    const int damage = ParseInt(GetPropertyOr("Damage", "20"));
    other->TakeDamage(damage, nullptr, Location, Velocity * kShotKnock, "");
    Spawn(world, "Explosion", nullptr, "", Location, {});
    Destroy();
}

void DispersionAmmo::BeginPlay() {
    Projectile::BeginPlay();
    World& world = GetWorld();
    constexpr const char* kShot = "UnrealShare.Dispersion.DispShot";
    if (Owner) {
        world.Services->PlayActorSound(*Owner, kShot, kOwnerShotVolume);
    } else {
        world.Services->PlayActorSound(*this, kShot, 1.0f);
    }
}

void DispersionAmmo::HitWall(const Vector&, Actor*) {
    Spawn(GetWorld(), "DispersionAmmoHit", nullptr, "", Location - Velocity * kOneStep, {});
    Destroy();
}

// The player's shots hurt only monsters.
void DispersionAmmo::Bump(Actor* other) {
    if (!other || !IsMonster(*other)) {
        return;
    }
    Spawn(GetWorld(), "DispersionAmmoHit", nullptr, "", Location, {});
    other->TakeDamage(kDispersionDamage, nullptr, Location, {}, "jolted");
    Destroy();
}

// --- Animated sprites ---

void AnimSpriteEffect::BeginPlay() {
    Actor::BeginPlay();
    Tex = SpriteAnim[0];
}

void AnimSpriteEffect::Tick(float deltaTime) {
    SpriteTime += deltaTime;
    // A zero pause gives an endless index: the effect goes at once.
    const double frame = std::floor(double(SpriteTime) / double(Pause));
    if (frame >= 0.0 && frame < NumFrames) {
        Tex = SpriteAnim[static_cast<int>(frame)];
    } else {
        Destroy();
    }
}

void Explosion::BeginPlay() {
    Actor::BeginPlay();
    // One of five looks, the same for all its frames: e1_a00 .. e5_a07.
    const float r = FRand();
    int variant = 1;
    while (variant < kExplosionVariants && r >= variant / float(kExplosionVariants)) {
        ++variant;
    }
    ShowFrames(*this, kExplosionFrames, kExplosionPause, kExplosionScale,
               "UnrealShare.MainEffect.e" + std::to_string(variant) + "_a0");
    GetWorld().Services->PlayActorSound(*this, "UnrealShare.General.Explo1", 1.0f);
}

void DispersionAmmoHit::BeginPlay() {
    Actor::BeginPlay();
    ShowFrames(*this, kHitFrames, kHitPause, kHitScale, "UnrealShare.DispExpl.dseb_A0");
    GetWorld().Services->PlayActorSound(*this, "UnrealShare.General.DispEX1", 1.0f);
}

// --- Particles ---

namespace {

float Between(float lo, float hi) { return lo + (hi - lo) * FRand(); }

Vector Between(const Vector& lo, const Vector& hi) {
    const float x = Between(lo.X, hi.X);
    const float y = Between(lo.Y, hi.Y);
    const float z = Between(lo.Z, hi.Z);
    return {x, y, z};
}

// The random draws in a fixed order: start offset X, Y, Z, life, velocity X, Y, Z, acceleration
// X, Y, Z, size.
void StartParticle(const Emitter& emitter, Particle& p) {
    p.bAlive = 1;
    p.Position = Between(emitter.StartOffsetMin, emitter.StartOffsetMax) + emitter.Location;
    p.Lifetime = Between(emitter.LifetimeMin, emitter.LifetimeMax);
    p.Age = 0.0f;
    p.Velocity = Between(emitter.VelocityMin, emitter.VelocityMax);
    p.Acceleration = Between(emitter.AccelerationMin, emitter.AccelerationMax);
    p.Size = Between(emitter.SizeMin, emitter.SizeMax);
}

} // namespace

void Emitter::Tick(float deltaTime) {
    if (Particles.Num() != ParticleCount) {
        Particles.Clear();
        Particles.Resize(ParticleCount);
        for (Particle& p : Particles) {
            StartParticle(*this, p);
        }
    }
    bool anyAlive = false;
    for (Particle& p : Particles) {
        if (!p.bAlive) {
            continue;
        }
        p.Velocity += p.Acceleration * deltaTime;
        p.Position += p.Velocity * deltaTime;
        p.Age += deltaTime;
        if (p.Lifetime < p.Age) {
            p.bAlive = 0;
        }
        anyAlive |= p.bAlive != 0;
    }
    if (bDestroyWhenEmpty && !anyAlive) {
        Destroy();
    }
}

} // namespace orv
