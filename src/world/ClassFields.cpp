// The field table of every engine class: each row names a field's property, its member, how its
// text reads and the text used when the property is absent. ApplyProperties reads the rows in
// order, a parent class's before its own; the dump writes them in the same order. A row without
// a syntax is run-time state: dumped, never read.
#include "world/ActorFields.h"

#include "content/PropertyValues.h"
#include "core/Color.h"
#include "core/Numbers.h"
#include "core/Text.h"
#include "world/ActorClasses.h"
#include "world/World.h"

#include <algorithm>

namespace orv {

namespace {

using namespace syntax;

// The readers of the rows that need more than their syntax.

// The actor leaves the BSP lists it is filed in and is filed again at its new place, with the
// collision height it has at that moment (CollisionHeight is read later).
void ReadLocation(Actor& a, const Field& row) { MoveActorTo(a, ClampToWorld(ParseVectorValue(row.Text(a)))); }

// Mesh and Texture are read only while unset: reading the properties again keeps what the first
// reading loaded.
void ReadMeshOnce(Actor& a, const Field& row) {
    if (!a.MeshRef) {
        ReadValue(a.MeshRef, Syntax::MeshName, row.Text(a), a.GetWorld());
    }
}

void ReadTextureOnce(Actor& a, const Field& row) {
    if (!a.Tex) {
        ReadValue(a.Tex, Syntax::TextureName, row.Text(a), a.GetWorld());
    }
}

// The skin is also the first of the mesh's skins.
void ReadSkin(Actor& a, const Field& row) {
    Texture* skin = nullptr;
    ReadValue(skin, Syntax::TextureName, row.Text(a), a.GetWorld());
    if (skin) {
        a.Skin = skin;
        a.MultiSkins[0] = skin;
    }
}

// 1 + the highest entry with an event; empty entries below it still count.
void CountOutEvents(Actor& a, const Field&) {
    auto& dispatcher = static_cast<Dispatcher&>(a);
    dispatcher.NumOutEvents = 0;
    for (int i = 0; i < kDispatcherEvents; ++i) {
        if (!dispatcher.OutEvents[i].empty()) {
            dispatcher.NumOutEvents = i + 1;
        }
    }
}

// The zone's ambient colour from the three ambient values, as light colours are made.
void MixAmbientColor(Actor& a, const Field&) {
    auto& zone = static_cast<ZoneInfo&>(a);
    zone.AmbientColor =
        PackOpaque(HsvToRgb(static_cast<float>(zone.AmbientBrightness), static_cast<float>(zone.AmbientHue),
                            static_cast<float>(zone.AmbientSaturation)));
}

void ReadFrameCount(Actor& a, const Field& row) {
    auto& effect = static_cast<AnimSpriteEffect&>(a);
    effect.NumFrames = std::clamp(ParseInt(row.Text(a)), 0, kMaxSpriteFrames);
}

// The first NumFrames frames, each the texture named or the fallback; effect frames stay loaded
// across levels.
void ReadSpriteFrames(Actor& a, const Field& row) {
    auto& effect = static_cast<AnimSpriteEffect&>(a);
    World& world = a.GetWorld();
    for (int i = 0; i < effect.NumFrames; ++i) {
        const std::string text = row.Text(a, i);
        effect.SpriteAnim[i] = text.empty() ? world.Res.FallbackTexture() : LoadTexture(world.Res, text, false);
    }
}

// One part of one of the six wave terms, which Waves holds in the order UFromX, VFromX, ZFromX,
// UFromY, VFromY, ZFromY.
template <int Term, float WaveTerm::*Part>
float& WavePart(WavySurfaceInfo& wavy) {
    return wavy.Waves[Term].*Part;
}

const Field kActorFields[] = {
    {"Class", &Actor::Class},
    {"Name", &Actor::Name},
    {"Location", &Actor::Location, Xyz, ReadLocation},
    {"PrePivot", &Actor::PrePivot, Xyz},
    {"Rotation", &Actor::Rotation, PitchYawRoll},
    {"RotationRate", &Actor::RotationRate, PitchYawRoll},
    {"InitialState", &Actor::InitialState, State},
    {"bStatic", &Actor::bStatic, Bool},
    {"Physics", &Actor::Physics, Enum},
    {"bHidden", &Actor::bHidden, Bool},
    {"SpriteProjForward", &Actor::SpriteProjForward, Float, "32"},
    {"Mesh", &Actor::MeshRef, MeshName, ReadMeshOnce},
    {"Texture", &Actor::Tex, TextureName, ReadTextureOnce},
    {"Style", &Actor::Style, Enum},
    {"MultiSkins", &Actor::MultiSkins, TextureName},
    {"Skin", &Actor::Skin, TextureName, ReadSkin},
    {"DrawScale", &Actor::DrawScale, Float, "1"},
    {"bUnlit", &Actor::bUnlit, Bool},
    {"LightBrightness", &Actor::LightBrightness, Byte},
    {"LightHue", &Actor::LightHue, Byte},
    {"LightSaturation", &Actor::LightSaturation, Byte},
    {"LightRadius", &Actor::LightRadius, Byte},
    {"LightPeriod", &Actor::LightPeriod, Byte},
    {"LightPhase", &Actor::LightPhase, Byte},
    {"LightCone", &Actor::LightCone, Byte},
    {"LightEffect", &Actor::LightEffect, Enum},
    {"LightType", &Actor::LightType, Enum},
    {"bSpecialLit", &Actor::bSpecialLit, Bool},
    {"CollisionHeight", &Actor::CollisionHeight, Float, "22"},
    {"CollisionRadius", &Actor::CollisionRadius, Float, "22"},
    {"bCollideActors", &Actor::bCollideActors, Bool, "True"},
    {"bBlockPlayers", &Actor::bBlockPlayers, Bool, "False"},
    {"bProjTarget", &Actor::bProjTarget, Bool, "False"},
    {"bDeleteMe", &Actor::bDeleteMe},
    {"bLevelBound", &Actor::bLevelBound},
    {"Velocity", &Actor::Velocity},
    {"Owner", &Actor::Owner},
    {"Instigator", &Actor::Instigator},
    {"bCollideWorld", &Actor::bCollideWorld},
    {"bTouchingPlayer", &Actor::bTouchingPlayer},
    {"bLightOff", &Actor::bLightOff},
    {"Brush", &Actor::Brush},
    {"BrushRadius", &Actor::BrushRadius},
    {"CurrentSequence", &Actor::CurrentSequence},
    {"AnimSequence", &Actor::AnimSequence},
    {"AnimFrame", &Actor::AnimFrame},
    {"AnimRate", &Actor::AnimRate},
    {"FiredNotifies", &Actor::FiredNotifies},
    {"bTimerActive", &Actor::bTimerActive},
    {"bTimerLoop", &Actor::bTimerLoop},
    {"TimerRate", &Actor::TimerRate},
    {"TimerCounter", &Actor::TimerCounter},
    {"bLanded", &Actor::bLanded},
    {"bTriggered", &Actor::bTriggered},
    {"Glow", &Actor::Glow},
    {"LightColor", &Actor::LightColor},
    {"bLit", &Actor::bLit},
};

const Field kScriptedPawnFields[] = {
    {"RangedProjectile", &ScriptedPawn::RangedProjectile, ClassRef},
    {"Health", &ScriptedPawn::Health, Int, "100"},
    {"GroundSpeed", &ScriptedPawn::GroundSpeed, Int, "50"},
    {"AirSpeed", &ScriptedPawn::AirSpeed, Int, "50"},
    {"bDead", &ScriptedPawn::bDead},
    {"SightRadius", &ScriptedPawn::SightRadius},
    {"LoseRadius", &ScriptedPawn::LoseRadius},
    {"MeleeRange", &ScriptedPawn::MeleeRange},
    {"bCanMove", &ScriptedPawn::bCanMove},
    {"bFlyer", &ScriptedPawn::bFlyer},
    {"IdleAnims", &ScriptedPawn::IdleAnims},
    {"MoveAnim", &ScriptedPawn::MoveAnim},
    {"MoveFireAnim", &ScriptedPawn::MoveFireAnim},
    {"RangedAnims", &ScriptedPawn::RangedAnims},
    {"MeleeAnims", &ScriptedPawn::MeleeAnims},
    {"DeathAnims", &ScriptedPawn::DeathAnims},
    {"bAlerted", &ScriptedPawn::bAlerted},
    {"bFalling", &ScriptedPawn::bFalling},
    {"AIState", &ScriptedPawn::AIState},
    {"Target", &ScriptedPawn::Target},
};

const Field kBird1Fields[] = {
    {"CircleRadius", &Bird1::CircleRadius, Float, "500"},
    {"HomeLocation", &Bird1::HomeLocation},
    {"FlightTime", &Bird1::FlightTime},
};

const Field kPlayerPawnFields[] = {
    {"Health", &PlayerPawn::Health},
    {"LastZoneDamageTime", &PlayerPawn::LastZoneDamageTime},
    {"Inventory", &PlayerPawn::Inventory},
    {"LastFireTime", &PlayerPawn::LastFireTime},
    {"GroundSpeed", &PlayerPawn::GroundSpeed},
    {"EyeHeight", &PlayerPawn::EyeHeight},
    {"BaseEyeHeight", &PlayerPawn::BaseEyeHeight},
    {"ViewFlash", &PlayerPawn::ViewFlash},
    {"WalkVelocity", &PlayerPawn::WalkVelocity},
    {"CurrentZone", &PlayerPawn::CurrentZone},
    {"ViewZone", &PlayerPawn::ViewZone},
    {"bViewUnderwater", &PlayerPawn::bViewUnderwater},
    {"bWasLanded", &PlayerPawn::bWasLanded},
};

const Field kMoverFields[] = {
    {"KeyPos", &Mover::KeyPos, Xyz, kUnchanged},
    {"KeyRot", &Mover::KeyRot, PitchYawRoll, kUnchanged},
    {"MainScale", &Mover::MainScale, XyzOrCurrent},
    {"PostScale", &Mover::PostScale, XyzOrCurrent},
    {"NumKeys", &Mover::NumKeys, Int, "2"},
    {"MoveTime", &Mover::MoveTime, Float, "1"},
    {"StayOpenTime", &Mover::StayOpenTime, Float, "4"},
    {"BasePos", &Mover::BasePos},
    {"BaseRot", &Mover::BaseRot},
    {"KeyAlpha", &Mover::KeyAlpha},
    {"bGlide", &Mover::bGlide},
    {"StayOpenCounter", &Mover::StayOpenCounter},
    {"bTimedClose", &Mover::bTimedClose},
    {"MoverState", &Mover::MoverState},
    {"bPawnOnTop", &Mover::bPawnOnTop},
    {"KeyNum", &Mover::KeyNum},
};

// The count lives in the property, which each trigger rewrites; the field mirrors it.
const Field kCounterFields[] = {
    {"NumToCount", &Counter::NumToCount, Int},
};

const Field kDispatcherFields[] = {
    {"OutDelays", &Dispatcher::OutDelays, Float, "0"},
    {"OutEvents", &Dispatcher::OutEvents, Text},
    {"NumOutEvents", &Dispatcher::NumOutEvents, None, CountOutEvents},
    {"bActive", &Dispatcher::bActive},
    {"Delay", &Dispatcher::Delay},
    {"OutIndex", &Dispatcher::OutIndex},
};

const Field kTriggerLightFields[] = {
    {"SavedBrightness", &TriggerLight::SavedBrightness},
};

const Field kEarthquakeFields[] = {
    {"magnitude", &Earthquake::magnitude, Float},
    {"duration", &Earthquake::duration, Float},
    {"radius", &Earthquake::radius, Float},
    {"remainingTime", &Earthquake::remainingTime, Float},
    {"bThrowPlayer", &Earthquake::bThrowPlayer, Bool},
};

const Field kExplosionChainFields[] = {
    {"bOnlyTriggerable", &ExplosionChain::bOnlyTriggerable, Bool},
    {"MomentumTransfer", &ExplosionChain::MomentumTransfer, Float},
    {"Damage", &ExplosionChain::Damage, Float},
    {"Size", &ExplosionChain::Size, Float},
    {"Delaytime", &ExplosionChain::Delaytime, Float},
    {"bExploding", &ExplosionChain::bExploding, Bool},
};

const Field kDynamicAmbientSoundFields[] = {
    {"Sounds", &DynamicAmbientSound::Sounds, Text},
    {"playProbability", &DynamicAmbientSound::playProbability, Float},
    {"minReCheckTime", &DynamicAmbientSound::minReCheckTime, Float},
    {"maxReCheckTime", &DynamicAmbientSound::maxReCheckTime, Float},
    {"rePlayTime", &DynamicAmbientSound::rePlayTime, Float},
    {"bInitiallyOn", &DynamicAmbientSound::bInitiallyOn, Bool},
    {"bDontRepeat", &DynamicAmbientSound::bDontRepeat, Bool},
    {"soundPlaying", &DynamicAmbientSound::soundPlaying, Bool},
    {"numSounds", &DynamicAmbientSound::numSounds, Int},
    {"lastSound", &DynamicAmbientSound::lastSound, Int},
};

const Field kZoneInfoFields[] = {
    {"bWaterZone", &ZoneInfo::bWaterZone, Bool, "False"},
    {"AmbientBrightness", &ZoneInfo::AmbientBrightness, Int, "0"},
    {"AmbientHue", &ZoneInfo::AmbientHue, Int, "0"},
    {"AmbientSaturation", &ZoneInfo::AmbientSaturation, Int, "0"},
    {"TexUPanSpeed", &ZoneInfo::TexUPanSpeed, Float, "1"},
    {"TexVPanSpeed", &ZoneInfo::TexVPanSpeed, Float, "1"},
    {"AmbientColor", &ZoneInfo::AmbientColor, None, MixAmbientColor},
};

// A dynamic zone's cylinder is its collision cylinder.
const Field kDynamicZoneInfoFields[] = {
    {"CylinderSize", &DynamicZoneInfo::CollisionHeight, Float, "250"},
    {"SphereSize", &DynamicZoneInfo::CollisionRadius, Float, "250"},
    {"BoxMax", &DynamicZoneInfo::BoxMax, XyzOrCurrent},
    {"BoxMin", &DynamicZoneInfo::BoxMin, XyzOrCurrent},
    {"bBoxShape", &DynamicZoneInfo::bBoxShape},
};

const Field kLevelInfoFields[] = {
    {"Brightness", &LevelInfo::Brightness, Float, "1"},
};

const Field kInventoryFields[] = {
    {"PlayerViewMesh", &Inventory::PlayerViewMesh, MeshName},
    {"PlayerViewOffset", &Inventory::PlayerViewOffset, XyzOrCurrent},
    {"PlayerViewScale", &Inventory::PlayerViewScale, Float, "1"},
    {"bPickedUp", &Inventory::bPickedUp},
};

const Field kProjectileFields[] = {
    {"LifeSpan", &Projectile::LifeSpan, Float, "10"},
};

const Field kAnimSpriteEffectFields[] = {
    {"NumFrames", &AnimSpriteEffect::NumFrames, Int, ReadFrameCount},
    {"Pause", &AnimSpriteEffect::Pause, Float},
    {"SpriteAnim", &AnimSpriteEffect::SpriteAnim, TextureName, ReadSpriteFrames},
    {"SpriteTime", &AnimSpriteEffect::SpriteTime},
};

const Field kEmitterFields[] = {
    {"FadeIn", &Emitter::FadeIn},
    {"FadeOut", &Emitter::FadeOut},
    {"ParticleCount", &Emitter::ParticleCount},
    {"LifetimeMin", &Emitter::LifetimeMin},
    {"LifetimeMax", &Emitter::LifetimeMax},
    {"bDestroyWhenEmpty", &Emitter::bDestroyWhenEmpty},
    {"StartOffsetMin", &Emitter::StartOffsetMin},
    {"StartOffsetMax", &Emitter::StartOffsetMax},
    {"VelocityMin", &Emitter::VelocityMin},
    {"VelocityMax", &Emitter::VelocityMax},
    {"AccelerationMin", &Emitter::AccelerationMin},
    {"AccelerationMax", &Emitter::AccelerationMax},
    {"SizeMin", &Emitter::SizeMin},
    {"SizeMax", &Emitter::SizeMax},
    {"Particles", &Emitter::Particles},
};

const Field kWavySurfaceInfoFields[] = {
    {"XGridSpace", &WavySurfaceInfo::XGridSpace, Float},
    {"YGridSpace", &WavySurfaceInfo::YGridSpace, Float},
    {"TexXSize", &WavySurfaceInfo::TexXSize, Float},
    {"TexYSize", &WavySurfaceInfo::TexYSize, Float},
    {"UFromXWavelength", WavePart<0, &WaveTerm::Wavelength>, Float},
    {"VFromXWavelength", WavePart<1, &WaveTerm::Wavelength>, Float},
    {"ZFromXWavelength", WavePart<2, &WaveTerm::Wavelength>, Float},
    {"UFromYWavelength", WavePart<3, &WaveTerm::Wavelength>, Float},
    {"VFromYWavelength", WavePart<4, &WaveTerm::Wavelength>, Float},
    {"ZFromYWavelength", WavePart<5, &WaveTerm::Wavelength>, Float},
    {"UFromXAmplitude", WavePart<0, &WaveTerm::Amplitude>, Float},
    {"VFromXAmplitude", WavePart<1, &WaveTerm::Amplitude>, Float},
    {"ZFromXAmplitude", WavePart<2, &WaveTerm::Amplitude>, Float},
    {"UFromYAmplitude", WavePart<3, &WaveTerm::Amplitude>, Float},
    {"VFromYAmplitude", WavePart<4, &WaveTerm::Amplitude>, Float},
    {"ZFromYAmplitude", WavePart<5, &WaveTerm::Amplitude>, Float},
    {"UFromXPhase", WavePart<0, &WaveTerm::Phase>, Float},
    {"VFromXPhase", WavePart<1, &WaveTerm::Phase>, Float},
    {"ZFromXPhase", WavePart<2, &WaveTerm::Phase>, Float},
    {"UFromYPhase", WavePart<3, &WaveTerm::Phase>, Float},
    {"VFromYPhase", WavePart<4, &WaveTerm::Phase>, Float},
    {"ZFromYPhase", WavePart<5, &WaveTerm::Phase>, Float},
    {"UFromXSpeed", WavePart<0, &WaveTerm::Speed>, Float},
    {"VFromXSpeed", WavePart<1, &WaveTerm::Speed>, Float},
    {"ZFromXSpeed", WavePart<2, &WaveTerm::Speed>, Float},
    {"UFromYSpeed", WavePart<3, &WaveTerm::Speed>, Float},
    {"VFromYSpeed", WavePart<4, &WaveTerm::Speed>, Float},
    {"ZFromYSpeed", WavePart<5, &WaveTerm::Speed>, Float},
    {"USpeed", &WavySurfaceInfo::USpeed, Float},
    {"VSpeed", &WavySurfaceInfo::VSpeed, Float},
    {"WaveTime", &WavySurfaceInfo::WaveTime},
    {"SizeX", &WavySurfaceInfo::SizeX},
    {"SizeY", &WavySurfaceInfo::SizeY},
};

// The class tree: each class's rows after its parent's.
const ClassFields kActorClass{nullptr, kActorFields};
const ClassFields kScriptedPawnClass{&kActorClass, kScriptedPawnFields};
const ClassFields kBird1Class{&kScriptedPawnClass, kBird1Fields};
const ClassFields kPlayerPawnClass{&kActorClass, kPlayerPawnFields};
const ClassFields kMoverClass{&kActorClass, kMoverFields};
const ClassFields kCounterClass{&kActorClass, kCounterFields};
const ClassFields kDispatcherClass{&kActorClass, kDispatcherFields};
const ClassFields kTriggerLightClass{&kActorClass, kTriggerLightFields};
const ClassFields kEarthquakeClass{&kActorClass, kEarthquakeFields};
const ClassFields kExplosionChainClass{&kActorClass, kExplosionChainFields};
const ClassFields kDynamicAmbientSoundClass{&kActorClass, kDynamicAmbientSoundFields};
const ClassFields kZoneInfoClass{&kActorClass, kZoneInfoFields};
const ClassFields kDynamicZoneInfoClass{&kZoneInfoClass, kDynamicZoneInfoFields};
const ClassFields kLevelInfoClass{&kZoneInfoClass, kLevelInfoFields};
const ClassFields kInventoryClass{&kActorClass, kInventoryFields};
const ClassFields kProjectileClass{&kActorClass, kProjectileFields};
const ClassFields kAnimSpriteEffectClass{&kActorClass, kAnimSpriteEffectFields};
const ClassFields kEmitterClass{&kActorClass, kEmitterFields};
const ClassFields kWavySurfaceInfoClass{&kActorClass, kWavySurfaceInfoFields};

} // namespace

const ClassFields& FieldsOf(EngineClass engineClass) {
    switch (engineClass) {
    case EngineClass::Actor: return kActorClass;
    case EngineClass::Counter: return kCounterClass;
    case EngineClass::ScriptedPawn: return kScriptedPawnClass;
    case EngineClass::Bird1: return kBird1Class;
    case EngineClass::PlayerPawn: return kPlayerPawnClass;
    case EngineClass::Mover: return kMoverClass;
    case EngineClass::Dispatcher: return kDispatcherClass;
    case EngineClass::TriggerLight: return kTriggerLightClass;
    case EngineClass::Earthquake: return kEarthquakeClass;
    case EngineClass::ExplosionChain: return kExplosionChainClass;
    case EngineClass::DynamicAmbientSound: return kDynamicAmbientSoundClass;
    case EngineClass::ZoneInfo: return kZoneInfoClass;
    case EngineClass::DynamicZoneInfo: return kDynamicZoneInfoClass;
    case EngineClass::LevelInfo: return kLevelInfoClass;
    case EngineClass::Inventory:
    case EngineClass::Weapon: return kInventoryClass;
    case EngineClass::Projectile:
    case EngineClass::EnemyProjectile:
    case EngineClass::DispersionAmmo: return kProjectileClass;
    case EngineClass::AnimSpriteEffect:
    case EngineClass::Explosion:
    case EngineClass::DispersionAmmoHit: return kAnimSpriteEffectClass;
    case EngineClass::Emitter: return kEmitterClass;
    case EngineClass::WavySurfaceInfo: return kWavySurfaceInfoClass;
    }
    return kActorClass;
}

} // namespace orv
