// The event actors with engine classes of their own: counters, dispatchers, trigger lights,
// earthquakes, explosion chains, dynamic ambient sounds and dynamic zones.
#include "content/PropertyValues.h"
#include "core/Random.h"
#include "core/Numbers.h"
#include "core/Text.h"
#include "world/ActorClasses.h"
#include "world/Events.h"
#include "world/World.h"

#include <algorithm>
#include <cmath>

namespace orv {

namespace {

// An earthquake throws the player up at least this fast, so that a throw always lifts.
constexpr float kQuakeLift = 120.0f;
// The first throw when triggered and the later ones, as parts of the magnitude.
constexpr float kQuakeFirstThrow = 0.18f;
constexpr float kQuakeThrow = 0.15f;
// A quake shakes in steps of half a second, and only one that lasts longer than a step goes on.
constexpr float kQuakeStep = 0.5f;

// An explosion chain's blast stands this far above it, turned up (a quarter turn of pitch).
constexpr float kChainBlastLift = 16.0f;
constexpr int32_t kChainBlastPitch = kRotatorUnitsPerTurn / 4;

// The damage type that sets off a chain that only triggers may set off.
constexpr std::string_view kDetonated = "Detonated";

Vector QuakeThrow(float magnitude, float part) {
    Vector v = GlobalRandom().UnitVector() * (magnitude * part);
    v.Z = std::max(std::fabs(v.Z), kQuakeLift);
    return v;
}

bool PlayerOnGround(const PlayerPawn& player) { return player.bLanded || player.bWasLanded; }

// Class defaults write texts in quotes; the quotes are not part of the message.
std::string MessageText(const Actor& actor, std::string_view key) { return ParseStateValue(actor.GetProperty(key)); }

} // namespace

// --- Counter: fires its event on the last of NumToCount triggers ---

void Counter::Trigger(Actor*, Actor* instigator) {
    World& world = GetWorld();
    const int32_t remaining = SaturateInt32(int64_t{ParseInt(GetProperty("NumToCount"))} - 1);
    SetProperty("NumToCount", std::to_string(remaining));
    NumToCount = remaining;
    const bool showMessage = ParseBool(GetProperty("bShowMessage"));
    if (remaining > 0 && showMessage) {
        std::string message = MessageText(*this, "CountMessage");
        if (const size_t at = message.find("%i"); at != std::string::npos) {
            message.replace(at, 2, std::to_string(remaining));
        }
        world.SetHudMessage(message);
    } else if (remaining == 0) {
        TriggerEvent(world, GetProperty("Event"), this, instigator);
        if (showMessage) {
            world.SetHudMessage(MessageText(*this, "CompleteMessage"));
        }
    }
}

// --- Dispatcher: its out-events one after another, each after its own delay ---

void Dispatcher::Trigger(Actor*, Actor*) {
    if (bActive) {
        return;
    }
    OutIndex = 0;
    Delay = OutDelays[0];
    bActive = 1;
}

void Dispatcher::Tick(float deltaTime) {
    if (!bActive) {
        return;
    }
    Delay -= deltaTime;
    if (Delay >= 0.0f) {
        return;
    }
    // At most one out-event a step; what the delay overshot is not carried to the next one.
    // The dispatcher is still active while its event fires, so it cannot restart itself.
    const std::string event = OutEvents[OutIndex];
    BroadcastTrigger(GetWorld(), event, this, Instigator);
    ++OutIndex;
    if (OutIndex >= NumOutEvents) {
        bActive = 0;
        OutIndex = -1;
    } else {
        Delay = OutDelays[OutIndex];
    }
}

// --- TriggerLight: a light that triggers turn on, off or over ---

void TriggerLight::BeginPlay() {
    Actor::BeginPlay();
    bHidden = 1;
    SavedBrightness = LightBrightness;
    if (!ParseBool(GetProperty("bInitiallyOn"))) {
        LightBrightness = 0;
    }
}

void TriggerLight::Trigger(Actor*, Actor*) {
    const std::string state = ToLowerAscii(InitialState);
    if (state == "triggerturnson" || state == "triggercontrol") {
        LightBrightness = SavedBrightness;
    } else if (state == "triggerturnsoff") {
        LightBrightness = 0;
    } else if (state == "triggertoggle") {
        LightBrightness = LightBrightness != 0 ? 0 : SavedBrightness;
    }
}

void TriggerLight::UnTrigger(Actor*, Actor*) {
    if (SameText(InitialState, "TriggerControl")) {
        LightBrightness = SavedBrightness; // the light stays on
    }
}

// --- Earthquake: throws the player about and shakes the view ---

namespace {

PlayerPawn* PlayerWithin(const Earthquake& quake) {
    PlayerPawn* player = quake.GetWorld().Player;
    return player && Length(player->Location - quake.Location) <= quake.radius ? player : nullptr;
}

} // namespace

void Earthquake::Trigger(Actor*, Actor*) {
    if (!bThrowPlayer) {
        return;
    }
    const Vector thrown = QuakeThrow(magnitude, kQuakeFirstThrow);
    if (PlayerPawn* player = PlayerWithin(*this); player && PlayerOnGround(*player)) {
        player->Velocity += thrown;
    }
    if (duration > kQuakeStep) {
        remainingTime = duration;
        SetTimer(kQuakeStep, false);
    }
}

void Earthquake::Timer() {
    remainingTime -= kQuakeStep;
    const Vector thrown = QuakeThrow(magnitude, kQuakeThrow);
    if (PlayerPawn* player = PlayerWithin(*this)) {
        if (PlayerOnGround(*player)) {
            player->Velocity += thrown;
        }
        player->EyeHeight = std::min(player->BaseEyeHeight, player->EyeHeight * (0.5f + FRand()));
    }
    if (remainingTime > kQuakeStep) {
        SetTimer(kQuakeStep, false);
    }
}

void Earthquake::Tick(float) {
    if (remainingTime <= kQuakeStep || duration <= 0.0f) {
        return;
    }
    if (PlayerPawn* player = PlayerWithin(*this)) {
        const float shake = magnitude * remainingTime / duration;
        player->Rotation.Pitch =
            WrapAdd(player->Rotation.Pitch, SaturateToInt32(std::nearbyint((FRand() - 0.5f) * shake)));
        player->Rotation.Yaw = WrapAdd(player->Rotation.Yaw, SaturateToInt32(std::nearbyint((FRand() - 0.5f) * shake)));
    }
}

// --- ExplosionChain: blows up on a random fuse and sets off the next link ---

void ExplosionChain::BeginPlay() {
    Actor::BeginPlay();
    Tex = nullptr;
    bHidden = 0;
}

void ExplosionChain::TakeDamage(int, Actor* eventInstigator, const Vector&, const Vector&,
                                std::string_view damageType) {
    if (bExploding || (bOnlyTriggerable && damageType != kDetonated)) {
        return;
    }
    Instigator = eventInstigator;
    bExploding = 1;
    const float fuse = Delaytime * (1.0f + 2.0f * FRand());
    if (fuse > 0.0f) {
        SetTimer(fuse, false);
    } else {
        StopTimer(); // a chain without a fuse never goes off
    }
}

void ExplosionChain::Trigger(Actor*, Actor* instigator) { TakeDamage(0, instigator, Location, {}, kDetonated); }

void ExplosionChain::Timer() {
    World& world = GetWorld();
    Actor* blast = Spawn(world, "Explosion", nullptr, "", Location + Vector{0, 0, kChainBlastLift},
                         Rotator{kChainBlastPitch, 0, 0});
    const float r = FRand();
    if (blast) {
        blast->DrawScale = 2.0f * (Damage / 100.0f + 0.5f * r + 0.4f) * Size;
    }
    TriggerEvent(world, GetProperty("Event"), this, Instigator);
    Destroy();
}

// --- DynamicAmbientSound: one of its sounds now and then, at random ---

namespace {

void PlayOneOf(DynamicAmbientSound& ambient) {
    int32_t index = static_cast<int32_t>(FRand() * static_cast<float>(ambient.numSounds));
    if (ambient.bDontRepeat && ambient.numSounds > 1) {
        while (index == ambient.lastSound) {
            index = static_cast<int32_t>(FRand() * static_cast<float>(ambient.numSounds));
        }
    }
    ambient.GetWorld().Services->PlayActorSound(ambient, ambient.Sounds[index], 1.0f);
    ambient.lastSound = index;
}

void ArmAgain(DynamicAmbientSound& ambient) {
    ambient.rePlayTime = ambient.minReCheckTime + FRand() * (ambient.maxReCheckTime - ambient.minReCheckTime);
    if (ambient.rePlayTime > 0.0f) {
        ambient.SetTimer(ambient.rePlayTime, false);
    }
}

} // namespace

void DynamicAmbientSound::BeginPlay() {
    Actor::BeginPlay();
    numSounds = 0;
    while (numSounds < kAmbientSoundChoices && !Sounds[numSounds].empty()) {
        ++numSounds;
    }
    if (numSounds == 0) {
        return;
    }
    lastSound = -1;
    if (bInitiallyOn) {
        PlayOneOf(*this);
    }
    ArmAgain(*this);
}

void DynamicAmbientSound::Timer() {
    if (numSounds > 0 && FRand() <= playProbability) {
        PlayOneOf(*this);
    }
    ArmAgain(*this);
}

// --- DynamicZoneInfo: a zone of its own shape inside the level's zones ---

void DynamicZoneInfo::BeginPlay() {
    Actor::BeginPlay();
    bCollideActors = 1;
    const std::string shape = ToLowerAscii(GetProperty("ZoneAreaType"));
    bBoxShape = (shape.empty() || shape == "dzone_cube" || shape == "0") ? 1 : 0;
}

} // namespace orv
