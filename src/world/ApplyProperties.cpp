// Property text to typed fields, class by class; each class reads its parent's first.
#include "content/PropertyValues.h"
#include "core/Color.h"
#include "core/Text.h"
#include "world/ActorClasses.h"
#include "world/World.h"

#include <algorithm>

namespace orv {

namespace {

float FloatOr(const Actor& a, std::string_view key, std::string_view fallback) {
    return ParseFloat(a.GetPropertyOr(key, fallback));
}

bool BoolOr(const Actor& a, std::string_view key, std::string_view fallback) {
    return ParseBool(a.GetPropertyOr(key, fallback));
}

template <class E>
void ReadEnum(const Actor& a, std::string_view key, std::span<const char* const> names, E& field) {
    int32_t value = field;
    ParseEnumValue(a.GetProperty(key), names, value);
    field = static_cast<E>(value);
}

// A texture property: empty text is the fallback; anything else loads as a level texture.
Texture* TextureValue(World& world, std::string_view text, bool levelTexture = true) {
    if (text.empty()) {
        return world.Res.FallbackTexture();
    }
    return LoadTexture(world.Res, text, levelTexture);
}

Mesh* MeshValue(World& world, std::string_view text) {
    return FindMesh(world.Res, ParseClassRefValue(text));
}

std::string Indexed(std::string_view key, int i) { return std::string(key) + "(" + std::to_string(i) + ")"; }

} // namespace

void Actor::ApplyProperties() {
    World& world = *XLevel;
    UnregisterActor(*this);
    Location = ParseVectorValue(GetProperty("Location"));
    RegisterActor(*this);
    PrePivot = ParseVectorValue(GetProperty("PrePivot"));
    Rotation = ParseRotatorValue(GetProperty("Rotation"));
    RotationRate = ParseRotatorValue(GetProperty("RotationRate"));
    InitialState = ParseStateValue(GetProperty("InitialState"));
    bStatic = ParseBool(GetProperty("bStatic"));
    ReadEnum(*this, "Physics", kPhysicsNames, Physics);
    if (auto* mover = dynamic_cast<Mover*>(this)) {
        for (int i = 0; i < kMoverKeys; ++i) {
            const std::string& pos = GetProperty(Indexed("KeyPos", i));
            if (!pos.empty()) {
                mover->KeyPos[i] = ParseVectorValue(pos);
            }
            const std::string& rot = GetProperty(Indexed("KeyRot", i));
            if (!rot.empty()) {
                mover->KeyRot[i] = ParseRotatorValue(rot);
            }
        }
    }
    bHidden = ParseBool(GetProperty("bHidden"));
    SpriteProjForward = FloatOr(*this, "SpriteProjForward", "32");
    if (!MeshRef) {
        MeshRef = MeshValue(world, GetProperty("Mesh"));
    }
    if (!Tex) {
        Texture* t = TextureValue(world, GetProperty("Texture"));
        if (t != world.Res.FallbackTexture()) {
            Tex = t;
        }
    }
    ReadEnum(*this, "Style", kStyleNames, Style);
    for (int i = 0; i < kMultiSkins; ++i) {
        const std::string* value = PropertyList.Find(Indexed("MultiSkins", i));
        if (value) {
            Texture* t = TextureValue(world, *value);
            if (t != world.Res.FallbackTexture()) {
                MultiSkins[i] = t;
            }
        }
    }
    if (const std::string* skin = PropertyList.Find("Skin")) {
        Texture* t = TextureValue(world, *skin);
        if (t != world.Res.FallbackTexture()) {
            Skin = t;
            MultiSkins[0] = t;
        }
    }
    DrawScale = FloatOr(*this, "DrawScale", "1");
    bUnlit = ParseBool(GetProperty("bUnlit"));
    uint8_t* lightBytes[] = {&LightBrightness, &LightHue, &LightSaturation, &LightRadius, &LightPeriod, &LightPhase, &LightCone};
    const char* lightKeys[] = {"LightBrightness", "LightHue", "LightSaturation", "LightRadius", "LightPeriod", "LightPhase", "LightCone"};
    for (int i = 0; i < 7; ++i) {
        *lightBytes[i] = ParseByte(GetProperty(lightKeys[i]));
    }
    ReadEnum(*this, "LightEffect", kLightEffectNames, LightEffect);
    ReadEnum(*this, "LightType", kLightTypeNames, LightType);
    bSpecialLit = ParseBool(GetProperty("bSpecialLit"));
    CollisionHeight = FloatOr(*this, "CollisionHeight", "22");
    CollisionRadius = FloatOr(*this, "CollisionRadius", "22");
    bCollideActors = BoolOr(*this, "bCollideActors", "True");
    bBlockPlayers = BoolOr(*this, "bBlockPlayers", "False");
    bProjTarget = BoolOr(*this, "bProjTarget", "False");
}

void Mover::ApplyProperties() {
    Actor::ApplyProperties();
    MainScale = ParseVectorOrCurrent(GetProperty("MainScale"), MainScale);
    PostScale = ParseVectorOrCurrent(GetProperty("PostScale"), PostScale);
    NumKeys = static_cast<uint8_t>(ParseInt(GetPropertyOr("NumKeys", "2")));
    MoveTime = FloatOr(*this, "MoveTime", "1");
    StayOpenTime = FloatOr(*this, "StayOpenTime", "4");
}

void Dispatcher::ApplyProperties() {
    Actor::ApplyProperties();
    NumOutEvents = 0;
    for (int i = 0; i < 8; ++i) {
        OutDelays[i] = FloatOr(*this, Indexed("OutDelays", i), "0");
        OutEvents[i] = GetProperty(Indexed("OutEvents", i));
        if (!OutEvents[i].empty()) {
            NumOutEvents = i + 1;
        }
    }
}

void Earthquake::ApplyProperties() {
    Actor::ApplyProperties();
    magnitude = ParseFloat(GetProperty("magnitude"));
    duration = ParseFloat(GetProperty("duration"));
    radius = ParseFloat(GetProperty("radius"));
    remainingTime = ParseFloat(GetProperty("remainingTime"));
    bThrowPlayer = ParseBool(GetProperty("bThrowPlayer"));
}

void ExplosionChain::ApplyProperties() {
    Actor::ApplyProperties();
    bOnlyTriggerable = ParseBool(GetProperty("bOnlyTriggerable"));
    MomentumTransfer = ParseFloat(GetProperty("MomentumTransfer"));
    Damage = ParseFloat(GetProperty("Damage"));
    Size = ParseFloat(GetProperty("Size"));
    Delaytime = ParseFloat(GetProperty("Delaytime"));
    bExploding = ParseBool(GetProperty("bExploding"));
}

void DynamicAmbientSound::ApplyProperties() {
    Actor::ApplyProperties();
    for (int i = 0; i < 16; ++i) {
        Sounds[i] = GetProperty(Indexed("Sounds", i));
    }
    playProbability = ParseFloat(GetProperty("playProbability"));
    minReCheckTime = ParseFloat(GetProperty("minReCheckTime"));
    maxReCheckTime = ParseFloat(GetProperty("maxReCheckTime"));
    rePlayTime = ParseFloat(GetProperty("rePlayTime"));
    bInitiallyOn = ParseBool(GetProperty("bInitiallyOn"));
    bDontRepeat = ParseBool(GetProperty("bDontRepeat"));
    soundPlaying = ParseBool(GetProperty("soundPlaying"));
    numSounds = ParseInt(GetProperty("numSounds"));
    lastSound = ParseInt(GetProperty("lastSound"));
}

void ZoneInfo::ApplyProperties() {
    Actor::ApplyProperties();
    bWaterZone = BoolOr(*this, "bWaterZone", "False");
    AmbientBrightness = ParseInt(GetPropertyOr("AmbientBrightness", "0"));
    AmbientHue = ParseInt(GetPropertyOr("AmbientHue", "0"));
    AmbientSaturation = ParseInt(GetPropertyOr("AmbientSaturation", "0"));
    TexUPanSpeed = FloatOr(*this, "TexUPanSpeed", "1");
    TexVPanSpeed = FloatOr(*this, "TexVPanSpeed", "1");
    AmbientColor = PackOpaque(HsvToRgb(float(AmbientBrightness), float(AmbientHue), float(AmbientSaturation)));
}

void LevelInfo::ApplyProperties() {
    ZoneInfo::ApplyProperties();
    Brightness = FloatOr(*this, "Brightness", "1");
}

void DynamicZoneInfo::ApplyProperties() {
    ZoneInfo::ApplyProperties();
    CollisionHeight = FloatOr(*this, "CylinderSize", "250");
    CollisionRadius = FloatOr(*this, "SphereSize", "250");
    BoxMax = ParseVectorOrCurrent(GetProperty("BoxMax"), BoxMax);
    BoxMin = ParseVectorOrCurrent(GetProperty("BoxMin"), BoxMin);
}

void Projectile::ApplyProperties() {
    Actor::ApplyProperties();
    LifeSpan = FloatOr(*this, "LifeSpan", "10");
}

void AnimSpriteEffect::ApplyProperties() {
    Actor::ApplyProperties();
    NumFrames = std::clamp(ParseInt(GetProperty("NumFrames")), 0, kMaxSpriteFrames);
    Pause = ParseFloat(GetProperty("Pause"));
    for (int i = 0; i < NumFrames; ++i) {
        // Effect frames stay loaded across levels.
        SpriteAnim[i] = TextureValue(*XLevel, GetProperty(Indexed("SpriteAnim", i)), false);
    }
}

void WavySurfaceInfo::ApplyProperties() {
    Actor::ApplyProperties();
    XGridSpace = ParseFloat(GetProperty("XGridSpace"));
    YGridSpace = ParseFloat(GetProperty("YGridSpace"));
    TexXSize = ParseFloat(GetProperty("TexXSize"));
    TexYSize = ParseFloat(GetProperty("TexYSize"));
    static const char* const kTerms[6] = {"UFromX", "VFromX", "ZFromX", "UFromY", "VFromY", "ZFromY"};
    static const char* const kParts[4] = {"Wavelength", "Amplitude", "Phase", "Speed"};
    for (int part = 0; part < 4; ++part) {
        for (int term = 0; term < 6; ++term) {
            const float value = ParseFloat(GetProperty(std::string(kTerms[term]) + kParts[part]));
            WaveTerm& w = Waves[term];
            float* fields[4] = {&w.Wavelength, &w.Amplitude, &w.Phase, &w.Speed};
            *fields[part] = value;
        }
    }
    USpeed = ParseFloat(GetProperty("USpeed"));
    VSpeed = ParseFloat(GetProperty("VSpeed"));
}

void ScriptedPawn::ApplyProperties() {
    Actor::ApplyProperties();
    RangedProjectile = ParseClassRefValue(GetProperty("RangedProjectile"));
    Health = ParseInt(GetPropertyOr("Health", "100"));
    GroundSpeed = static_cast<float>(ParseInt(GetPropertyOr("GroundSpeed", "50")));
    AirSpeed = static_cast<float>(ParseInt(GetPropertyOr("AirSpeed", "50")));
}

void Bird1::ApplyProperties() {
    ScriptedPawn::ApplyProperties();
    CircleRadius = FloatOr(*this, "CircleRadius", "500");
}

void Inventory::ApplyProperties() {
    Actor::ApplyProperties();
    PlayerViewMesh = MeshValue(*XLevel, GetProperty("PlayerViewMesh"));
    PlayerViewOffset = ParseVectorOrCurrent(GetProperty("PlayerViewOffset"), PlayerViewOffset);
    PlayerViewScale = FloatOr(*this, "PlayerViewScale", "1");
}

} // namespace orv
