// The common actor: defaults of its operations, animation playing, timers and class tests.
#include "world/Actor.h"

#include "content/Texture.h"
#include "world/ActorBrush.h"
#include "world/ActorClasses.h"
#include "world/Collision.h"
#include "world/Events.h"
#include "world/PlayerContact.h"
#include "world/World.h"

#include "core/Numbers.h"
#include "core/Text.h"

namespace orv {

const char* EngineClassName(EngineClass c) {
    switch (c) {
    case EngineClass::Actor: return "Actor";
    case EngineClass::ScriptedPawn: return "ScriptedPawn";
    case EngineClass::Bird1: return "Bird1";
    case EngineClass::PlayerPawn: return "PlayerPawn";
    case EngineClass::Mover: return "Mover";
    case EngineClass::Counter: return "Counter";
    case EngineClass::Dispatcher: return "Dispatcher";
    case EngineClass::TriggerLight: return "TriggerLight";
    case EngineClass::Earthquake: return "Earthquake";
    case EngineClass::ExplosionChain: return "ExplosionChain";
    case EngineClass::DynamicAmbientSound: return "DynamicAmbientSound";
    case EngineClass::ZoneInfo: return "ZoneInfo";
    case EngineClass::DynamicZoneInfo: return "DynamicZoneInfo";
    case EngineClass::LevelInfo: return "LevelInfo";
    case EngineClass::Inventory: return "Inventory";
    case EngineClass::Weapon: return "Weapon";
    case EngineClass::Projectile: return "Projectile";
    case EngineClass::EnemyProjectile: return "EnemyProjectile";
    case EngineClass::DispersionAmmo: return "DispersionAmmo";
    case EngineClass::AnimSpriteEffect: return "AnimSpriteEffect";
    case EngineClass::Explosion: return "Explosion";
    case EngineClass::DispersionAmmoHit: return "DispersionAmmoHit";
    case EngineClass::Emitter: return "Emitter";
    case EngineClass::WavySurfaceInfo: return "WavySurfaceInfo";
    }
    return "Actor";
}

Actor::Actor() = default;
Actor::~Actor() = default;

void Actor::AnimNotify(const MeshNotify&) {}
void Actor::AnimEnd() {}
void Actor::PostLoad() {}
void Actor::Tick(float) {}

void WavySurfaceInfo::PostLoad() {
    if (XLevel) {
        Tex = LoadTexture(XLevel->Res, "Zelkor.Logo", false);
    }
}
void WavySurfaceInfo::Tick(float deltaTime) { WaveTime += deltaTime; }

void Actor::UnTrigger(Actor*, Actor*) {}
void Actor::HitWall(const Vector&, Actor*) {}
void Actor::Timer() {}

void Actor::BeginPlay() {
    if (MeshRef) {
        const std::string& sequence = GetProperty("AnimSequence");
        if (!sequence.empty()) {
            std::string_view name = sequence;
            if (name.size() >= 2 && name.front() == '"' && name.back() == '"') {
                name = name.substr(1, name.size() - 2);
            }
            PlayAnim(*this, name, ClampToWorld(ParseFloat(GetProperty("AnimRate"))));
            AnimFrame = ClampToWorld(ParseFloat(GetProperty("AnimFrame")));
        } else {
            PlayAnim(*this, "Still", 1.0f);
        }
    }
    if (IsSameOrA(*this, "ExplodingWall")) {
        Tex = nullptr;
    }
}

void Actor::Destroy() {
    bDeleteMe = 1;
    UnregisterActor(*this);
    bCollideActors = 0;
    bCollideWorld = 0;
    bBlockPlayers = 0;
    SetProperty("Tag", "");
}

void Actor::Bump(Actor* other) {
    if (!other) {
        TouchedByPlayer(*this);
    }
}

void Actor::UnTouch(Actor*) {
    if (Class == "TranslatorEvent") {
        XLevel->TranslatorText.clear();
    } else if (Class == "Trigger") {
        UnTriggerEvent(*XLevel, GetProperty("Event"), this, Instigator);
    }
}

void Actor::Trigger(Actor* other, Actor* instigator) { DefaultTrigger(*this, other, instigator); }

void Actor::TakeDamage(int damage, Actor* eventInstigator, const Vector& hitLocation, const Vector& momentum,
                       std::string_view damageType) {
    DefaultTakeDamage(*this, damage, eventInstigator, hitLocation, momentum, damageType);
}

bool Actor::OverlapsPlayer() const {
    if (!bCollideActors || !XLevel || !XLevel->Player) {
        return false;
    }
    const Actor& player = *XLevel->Player;
    return CylindersOverlap(player.Location, player.CollisionHeight, player.CollisionRadius, Location, CollisionHeight,
                            CollisionRadius);
}

void Actor::SetTimer(float period, bool loop) {
    TimerRate = period;
    TimerCounter = period;
    bTimerActive = 1;
    bTimerLoop = loop ? 1 : 0;
}

void PlayAnim(Actor& actor, std::string_view sequenceName, float rate) {
    if (sequenceName.empty()) {
        actor.CurrentSequence = nullptr;
        actor.AnimSequence.clear();
        actor.AnimFrame = 0.0f;
        actor.FiredNotifies = 0;
        actor.AnimRate = 0.0f;
    }
    if (!actor.MeshRef) {
        return;
    }
    for (const MeshSequence& s : actor.MeshRef->Sequences) {
        if (SameText(s.Name, sequenceName)) {
            actor.CurrentSequence = &s;
            actor.AnimSequence = s.Name;
            actor.AnimFrame = 0.0f;
            actor.FiredNotifies = 0;
            actor.AnimRate = rate * s.Rate;
            return;
        }
    }
}

bool IsA(const Actor& actor, std::string_view baseName) { return IsA(actor.XLevel->Res, actor.Class, baseName); }

bool IsSameOrA(const Actor& actor, std::string_view baseName) {
    return IsSameOrA(actor.XLevel->Res, actor.Class, baseName);
}

} // namespace orv
