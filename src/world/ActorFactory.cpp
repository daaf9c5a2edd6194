// The class factory and the actor list: creating, placing, spawning and freeing actors.
#include "world/ActorClasses.h"
#include "world/World.h"

#include "core/Text.h"

#include <functional>

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
const FactoryRow* FactoryTable(size_t& count) {
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
    count = sizeof rows / sizeof rows[0];
    return rows;
}

} // namespace

PlayerPawn::PlayerPawn() {
    CollisionRadius = 17.0f;
    CollisionHeight = 39.0f;
    bCollideActors = 1;
}

EnemyProjectile::EnemyProjectile() {
    Style = sty_translucent;
    bCollideWorld = 1;
    CollisionRadius = 8.0f;
    CollisionHeight = 8.0f;
}

DispersionAmmo::DispersionAmmo() {
    Style = sty_translucent;
    bCollideWorld = 1;
    CollisionRadius = 8.0f;
    CollisionHeight = 8.0f;
}

Emitter::Emitter() { Style = sty_translucent; }

std::unique_ptr<Actor> CreateActor(World& world, std::string_view className) {
    size_t count = 0;
    const FactoryRow* rows = FactoryTable(count);
    std::unique_ptr<Actor> actor;
    for (size_t i = 0; i < count && !actor; ++i) {
        if (IsSameOrA(world.Res, className, rows[i].BaseName)) {
            actor = rows[i].Create();
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
