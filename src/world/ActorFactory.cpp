// The class factory and the actor list: creating, placing, spawning and freeing actors.
#include "world/ActorClasses.h"
#include "world/World.h"

#include "core/Text.h"

#include <functional>
#include <span>

namespace orv {

namespace {

using Maker = std::function<std::unique_ptr<Actor>()>;

template <typename T>
Maker Make() {
    return [] { return std::make_unique<T>(); };
}

struct FactoryRow {
    const char* BaseName;
    Maker Create;
};

// Tested from the top, first match wins. Every row's test is "the same name or a subclass".
std::span<const FactoryRow> FactoryTable() {
    static const FactoryRow rows[] = {
        {"Bird1", Make<Bird1>()},
        {"ScriptedPawn", Make<ScriptedPawn>()},
        {"Weapon", Make<Weapon>()},
        {"Inventory", Make<Inventory>()},
        {"Mover", Make<Mover>()},
        {"Counter", Make<Counter>()},
        {"Dispatcher", Make<Dispatcher>()},
        {"Earthquake", Make<Earthquake>()},
        {"ExplosionChain", Make<ExplosionChain>()},
        {"DynamicAmbientSound", Make<DynamicAmbientSound>()},
        {"DynamicZoneInfo", Make<DynamicZoneInfo>()},
        {"LevelInfo", Make<LevelInfo>()},
        {"ZoneInfo", Make<ZoneInfo>()},
        {"TriggerLight", Make<TriggerLight>()},
        {"DispersionAmmo", Make<DispersionAmmo>()},
        {"Projectile", Make<EnemyProjectile>()}, // every other projectile flies as an enemy one
        {"Emitter", Make<Emitter>()},
        {"DispersionAmmoHit", Make<DispersionAmmoHit>()},
        {"Explosion", Make<Explosion>()},
        {"AnimSpriteEffect", Make<AnimSpriteEffect>()},
        {"WavySurfaceInfo", Make<WavySurfaceInfo>()},
    };
    return rows;
}

// The player's collision cylinder: it stands 39 units above a floor, its eye 23 above that.
constexpr float kPlayerRadius = 17.0f;
constexpr float kPlayerHalfHeight = 39.0f;

// Every flying shot is drawn translucent and collides with the world through a small cylinder.
constexpr float kShotSize = 8.0f;

void MakeShot(Actor& shot) {
    shot.Style = sty_translucent;
    shot.bCollideWorld = 1;
    shot.CollisionRadius = kShotSize;
    shot.CollisionHeight = kShotSize;
}

} // namespace

PlayerPawn::PlayerPawn() {
    CollisionRadius = kPlayerRadius;
    CollisionHeight = kPlayerHalfHeight;
    bCollideActors = 1;
}

EnemyProjectile::EnemyProjectile() { MakeShot(*this); }

DispersionAmmo::DispersionAmmo() { MakeShot(*this); }

Emitter::Emitter() { Style = sty_translucent; }

std::unique_ptr<Actor> CreateActor(World& world, std::string_view className) {
    std::unique_ptr<Actor> actor;
    for (const FactoryRow& row : FactoryTable()) {
        if (IsSameOrA(world.Res, className, row.BaseName)) {
            actor = row.Create();
            break;
        }
    }
    if (!actor) {
        actor = std::make_unique<Actor>();
    }
    actor->XLevel = &world;
    actor->Class = std::string(className);
    if (auto* emitter = dynamic_cast<Emitter*>(actor.get())) {
        emitter->Tex = LoadTexture(world.Res, "UnrealShare.Effect1.FireEffect1u", false);
    }
    return actor;
}

void ApplyClassDefaults(Actor& actor) {
    ClassRecord* record = ApplyClassDefaults(actor.XLevel->Res, actor.Class, actor.PropertyList);
    if (record) {
        actor.ClassRec = record;
    }
}

Actor* PlaceActor(World& world, std::unique_ptr<Actor> actor, Actor* owner, std::string_view tag,
                  const Vector& location, const Rotator& rotation) {
    if (!actor) {
        return nullptr;
    }
    if (owner) {
        actor->Owner = owner;
    }
    if (!tag.empty()) {
        actor->SetProperty("Tag", tag);
    }
    if (actor->Name.empty()) {
        // Run-time actors are named like the level's own, so the log and the dump can tell them apart.
        actor->Name = actor->Class + std::to_string(world.CurrentLevel.SpawnCount++);
    }
    MoveActorTo(*actor, location);
    actor->Rotation = rotation;
    Actor* placed = actor.get();
    world.Actors.Add(std::move(actor));
    placed->BeginPlay();
    return placed;
}

Actor* Spawn(World& world, std::string_view className, Actor* owner, std::string_view tag, const Vector& location,
             const Rotator& rotation) {
    std::unique_ptr<Actor> actor = CreateActor(world, className);
    ApplyClassDefaults(*actor);
    actor->ApplyProperties();
    return PlaceActor(world, std::move(actor), owner, tag, location, rotation);
}

PlayerPawn* CreatePlayerPawn(World& world) {
    auto player = std::make_unique<PlayerPawn>();
    player->XLevel = &world;
    player->Class = "PlayerPawn";
    player->Name = "Player";
    player->bLevelBound = 0;
    world.Player = player.get();
    world.Actors.Add(std::move(player));
    return world.Player;
}

void RemoveDestroyedActors(World& world) {
    for (int i = world.Actors.Num() - 1; i >= 0; --i) {
        if (world.Actors[i]->bDeleteMe) {
            Actor* gone = world.Actors[i].get();
            if (gone == world.Player) {
                world.Player = nullptr;
            }
            ClearReferencesTo(world, *gone);
            world.Actors.RemoveAt(i);
        }
    }
}

} // namespace orv
