// Monsters: one behaviour for every creature. A monster idles until the player comes near,
// then turns to face him, walks or flies closer, and attacks with the animations its mesh
// offers for melee and ranged attacks; the animations' notifies deal the blows and fire the
// shots. Hurt, it cries out; killed, it plays a death animation, falls and stays.
#include "core/Log.h"
#include "core/Random.h"
#include "core/Numbers.h"
#include "core/Text.h"
#include "world/ActorClasses.h"
#include "world/Collision.h"
#include "world/World.h"

#include <cmath>
#include <numbers>
#include <span>

namespace orv {

namespace {

// Speeds per step of 1/60 second, world units.
constexpr float kGravityPerStep = 25.0f; // 1500 units per second squared
constexpr float kAirDrag = 0.99f;        // horizontal speed a falling body keeps per step
constexpr float kMaxSpeed = 2500.0f;
constexpr float kChaseFactor = 0.5f; // a monster closes in at half its speed
constexpr float kChaseGap = 16.0f;   // it stops this far short of touching the player
constexpr float kMeleeReach = 18.0f; // a blow reaches this far beyond touching the player
constexpr int kMeleeDamage = 20;
constexpr float kMeleeKnock = 100.0f;          // the push of a blow
constexpr float kAimBelowEye = 0.9f;           // shots leave aimed this part of the player's half height low
constexpr float kScatter = 0.05f;              // a shot's random wobble, added to its velocity
constexpr float kTwinForward = 0.9f;           // twin shots start this part of the radius ahead and aside ...
constexpr float kTwinUp = 0.4f;                // ... and this part of the half height up
constexpr float kFlightPerSecond = 2293760.0f; // a bird's yaw advance times its circle radius
constexpr int32_t kQuarterTurn = kRotatorUnitsPerTurn / 4;

// The classes that fly (or swim) instead of walking.
constexpr const char* kFlyerClasses[] = {"fly",         "manta",   "giantmanta", "cavemanta", "gasbag",
                                         "giantgasbag", "warlord", "devilfish",  "hawk",      "nalicopter"};

// Which sequences a creature's mesh uses, by the start of the mesh's name. Lists are separated
// by spaces; "none" leaves the field empty.
struct AnimRow {
    const char* MeshKey;
    const char* Idle;
    const char* Move;
    const char* MoveFire;
    const char* Ranged;
    const char* Melee;
    const char* Death;
};

constexpr AnimRow kAnimTable[] = {
    {"skaarjw", "Breath Breath2", "Jog", "JogFire", "Firing", "claw spin lunge", "Death Death2 Death3 Death4"},
    {"sktrooper", "Breath Breath2", "Jog", "JogFire", "Firing", "claw", "Death Death2 Death3 Death4"},
    {"pupae1", "Fighter", "Crawl", "none", "none", "bite lunge Stab Tear", "Dead"},
    {"brute1", "Sleep", "Charge", "WalkFire", "StillFire GutShot", "PistolWhip Punch", "Dead1 Dead2 Dead3 Dead4"},
    {"tentacle1", "Waver", "Move2", "none", "Shoot", "Smack", "Dead2"},
    {"fish", "breathing", "Swimming", "none", "none", "bite1 bite2 bite3 fighter", "Dead1"},
    {"flym", "Flying", "Flying", "none", "none", "none", "none"},
    {"manta1", "Fly", "Fly", "none", "none", "Sting Whip", "Death"},
    {"slith1", "Breath", "Slither", "none", "Shoot1", "Punch Slash", "Dead1"},
    {"krallm", "Breath Breath2", "Run", "Shoot2", "Shoot1", "Strike1 Strike2 Strike3", "Die1 Die2 Die3 Die4"},
    {"gasbagm", "Float", "Float", "Belch", "Belch", "TwoPunch Pound", "Deflate Dead2"},
    {"merc", "Breath", "Walk", "WalkFire", "Shoot Spray", "Punch", "Death Dead2 Dead3 Dead4"},
    {"titan1", "TBrea001", "TWalk001", "none", "TThro001", "TPunc001 TSlap001", "TDeat001 TDeat002 TDeat003"},
    {"warlordm", "Fly", "Fly", "FlyFire", "FlyFire", "Strike", "Dead1"},
    {"skqueen", "Meditate", "Run", "none", "Shoot1", "Stab", "OutCold"},
};

// The mesh of the tentacle hangs where it is placed.
constexpr const char* kRootedMeshKey = "tentacle1";

void FillList(Array<std::string>& list, std::string_view names) {
    for (std::string_view name : SplitText(names, ' ')) {
        if (!name.empty() && name != "none") {
            list.Add(std::string(name));
        }
    }
}

std::string Single(std::string_view name) { return name == "none" ? std::string() : std::string(name); }

bool Contains(const Array<std::string>& list, std::string_view name) {
    for (const std::string& entry : list) {
        if (SameText(entry, name)) {
            return true;
        }
    }
    return false;
}

// floor((n - 1) * r): with two or more entries the last one is never taken.
const std::string& RandomEntry(const Array<std::string>& list) {
    const int index = static_cast<int>(std::floor((list.Num() - 1) * FRand()));
    return list[index];
}

void PlayRandom(Actor& pawn, const Array<std::string>& list) { PlayAnim(pawn, RandomEntry(list), 1.0f); }

// Plays a random entry unless one of the list already plays.
void PlayRandomUnlessPlaying(Actor& pawn, const Array<std::string>& list) {
    if (!list.IsEmpty() && !Contains(list, pawn.AnimSequence)) {
        PlayRandom(pawn, list);
    }
}

void PlayNamedSound(Actor& pawn, std::string_view property) {
    const std::string& sound = pawn.GetProperty(property);
    if (!sound.empty()) {
        pawn.GetWorld().Services->PlayActorSound(pawn, sound, 1.0f);
    }
}

void Alert(ScriptedPawn& pawn) {
    PlayNamedSound(pawn, "Acquire");
    pawn.bAlerted = 1;
}

void UpdateAIState(ScriptedPawn& pawn) {
    if (pawn.bDead) {
        const bool posed = pawn.AnimRate == 0.0f || !pawn.CurrentSequence || pawn.DeathAnims.IsEmpty();
        pawn.AIState = posed ? "dead" : "dying";
    } else if (!pawn.bAlerted) {
        pawn.AIState = "idle";
    } else if (Contains(pawn.MeleeAnims, pawn.AnimSequence) || Contains(pawn.RangedAnims, pawn.AnimSequence)) {
        pawn.AIState = "attacking";
    } else {
        pawn.AIState = "alerted";
    }
    pawn.Target = pawn.bAlerted && !pawn.bDead ? pawn.GetWorld().Player : nullptr;
}

// Gravity on a walker or a body; only a falling body is moved by it here. A landing ends the fall.
void Fall(ScriptedPawn& pawn, float deltaTime) {
    if (!((pawn.bCanMove && !pawn.bFlyer) || pawn.bFalling)) {
        return;
    }
    pawn.Velocity += Vector{0, 0, -kGravityPerStep};
    pawn.Velocity.X *= kAirDrag;
    pawn.Velocity.Y *= kAirDrag;
    const float speed = Length(pawn.Velocity);
    if (speed > kMaxSpeed) {
        pawn.Velocity *= kMaxSpeed / speed;
    }
    if (pawn.bFalling) {
        pawn.bLanded = 0;
        MovePawn(pawn, pawn.Velocity * deltaTime, 0, &pawn);
        if (pawn.bLanded) {
            pawn.HitWall({0, 0, 1}, nullptr);
        }
    }
}

// The blow of a melee notify: it lands only on a player nearer than MeleeRange.
void MeleeHit(ScriptedPawn& pawn, PlayerPawn& player) {
    const Vector toPlayer = player.Location - pawn.Location;
    if (Length(toPlayer) < pawn.MeleeRange) {
        player.TakeDamage(kMeleeDamage, nullptr, pawn.Location, Normal(toPlayer) * kMeleeKnock, "");
    }
}

// Where the player will be when a shot of speed s from the pawn arrives, by his walking alone.
Vector Lead(const ScriptedPawn& pawn, const PlayerPawn& player, float speed) {
    Vector flat = player.Location - pawn.Location;
    flat.Z = 0;
    return speed > 0.0f ? player.WalkVelocity * (Length(flat) / speed) : Vector{};
}

void AimAt(Actor& shot, const PlayerPawn& player, const Vector& lead, float speed) {
    shot.Velocity = Normal(player.Location - shot.Location + lead) * speed;
}

void OneShot(ScriptedPawn& pawn, PlayerPawn& player) {
    World& world = pawn.GetWorld();
    const Vector aim = (player.Location - pawn.Location) - Vector{0, 0, kAimBelowEye * player.CollisionHeight};
    Actor* shot = Spawn(world, pawn.RangedProjectile, nullptr, "", pawn.Location, DirectionToRotator(aim));
    const float speed = Length(shot->Velocity);
    AimAt(*shot, player, Lead(pawn, player, speed), speed);
    const float speed2 = Length(shot->Velocity);
    const float first = FRand(), second = FRand(), third = FRand();
    const Vector wobble{third * kScatter, second * kScatter, first * kScatter};
    const float half = kScatter / 2;
    shot->Velocity = Normal(shot->Velocity + wobble - Vector{half, half, half}) * speed2;
    shot->Rotation = DirectionToRotator(shot->Velocity);
}

void TwoShots(ScriptedPawn& pawn, PlayerPawn& player) {
    World& world = pawn.GetWorld();
    Vector x, y, z;
    GetAxes(pawn.Rotation, x, y, z);
    const float side = kTwinForward * pawn.CollisionRadius;
    const Vector start1 = pawn.Location + x * side + y * side + z * (kTwinUp * pawn.CollisionHeight);
    Actor* first = Spawn(world, pawn.RangedProjectile, &pawn, "", start1, pawn.Rotation);
    const float speed = Length(first->Velocity);
    const Vector lead = Lead(pawn, player, speed);
    AimAt(*first, player, lead, speed);
    const Vector start2 = start1 - y * (2 * side);
    Actor* second = Spawn(world, pawn.RangedProjectile, &pawn, "", start2, pawn.Rotation);
    AimAt(*second, player, lead, Length(first->Velocity));
}

void Chase(ScriptedPawn& pawn, const PlayerPawn& player, float distance, float deltaTime) {
    const Vector to = player.Location - pawn.Location;
    pawn.Rotation.Yaw =
        static_cast<int32_t>(std::nearbyint(std::atan2(to.Y, to.X) / (2 * std::numbers::pi) * kRotatorUnitsPerTurn));
    if (distance <= player.CollisionRadius + pawn.CollisionRadius + kChaseGap) {
        return;
    }
    // The pawn's own cylinder is no obstacle to its move.
    if (pawn.bCanMove && !pawn.bFlyer) {
        const Vector direction = Normal(Vector{to.X, to.Y, 0});
        MovePawn(pawn, (direction * (pawn.GroundSpeed * kChaseFactor) + pawn.Velocity) * deltaTime, 0, &pawn);
    } else if (pawn.bFlyer) {
        MovePawn(pawn, Normal(to) * (pawn.AirSpeed * kChaseFactor * deltaTime), 0, &pawn);
    }
}

} // namespace

void ScriptedPawn::BeginPlay() {
    Actor::BeginPlay();
    const std::string lowerClass = ToLowerAscii(Class);
    for (const char* flyer : kFlyerClasses) {
        if (lowerClass == flyer) {
            bFlyer = 1;
        }
    }
    if (!MeshRef) {
        Log("Warning: ScriptedPawn " + Name + " without a mesh.");
    } else {
        for (const AnimRow& row : kAnimTable) {
            if (StartsWithText(MeshRef->Name, row.MeshKey)) {
                FillList(IdleAnims, row.Idle);
                MoveAnim = Single(row.Move);
                MoveFireAnim = Single(row.MoveFire);
                FillList(RangedAnims, row.Ranged);
                FillList(MeleeAnims, row.Melee);
                FillList(DeathAnims, row.Death);
                if (std::string_view(row.MeshKey) == kRootedMeshKey) {
                    bCanMove = 0;
                }
                break;
            }
        }
        if (!IdleAnims.IsEmpty()) {
            PlayRandom(*this, IdleAnims);
        }
    }
    if (const PlayerPawn* player = GetWorld().Player) {
        MeleeRange = player->CollisionRadius + CollisionRadius + kMeleeReach;
    }
    UpdateAIState(*this);
}

void ScriptedPawn::Tick(float deltaTime) {
    Fall(*this, deltaTime);
    PlayerPawn* player = GetWorld().Player;
    if (Health <= 0 || !player) {
        UpdateAIState(*this);
        return;
    }
    const float distance = Length(player->Location - Location);
    if (distance < SightRadius) {
        PlayRandomUnlessPlaying(*this, distance < MeleeRange ? MeleeAnims : RangedAnims);
        if (!bAlerted) {
            Alert(*this);
        }
    } else if (distance > LoseRadius) {
        PlayRandomUnlessPlaying(*this, IdleAnims);
        bAlerted = 0;
        UpdateAIState(*this);
        return;
    }
    if (bAlerted) {
        Chase(*this, *player, distance, deltaTime);
    }
    UpdateAIState(*this);
}

void ScriptedPawn::TakeDamage(int damage, Actor*, const Vector&, const Vector&, std::string_view) {
    const PlayerPawn* player = GetWorld().Player;
    if (!player || Length(player->Location - Location) > LoseRadius) {
        return;
    }
    if (!bAlerted) {
        // A creature without a firing run keeps its animation rather than freezing.
        if (!MoveFireAnim.empty() && !SameText(AnimSequence, MoveFireAnim)) {
            PlayAnim(*this, MoveFireAnim, 1.0f);
        }
        Alert(*this);
    }
    Health = SaturateInt32(int64_t{Health} - damage);
    PlayNamedSound(*this, "HitSound1");
    if (Health <= 0 && !bDead) {
        bDead = 1;
        bFalling = 1;
        bCollideActors = 0;
        bBlockPlayers = 0;
        bProjTarget = 0;
        bCollideWorld = 1;
        if (!DeathAnims.IsEmpty()) {
            PlayNamedSound(*this, "Die");
            PlayRandom(*this, DeathAnims);
        }
    }
    UpdateAIState(*this);
}

void ScriptedPawn::AnimEnd() {
    if (Contains(DeathAnims, AnimSequence)) {
        AnimRate = 0.0f; // the body keeps the last frame
        AnimFrame = 0.999f;
    } else if (Contains(MeleeAnims, AnimSequence)) {
        PlayRandom(*this, MeleeAnims);
    }
    UpdateAIState(*this);
}

void ScriptedPawn::HitWall(const Vector&, Actor*) {
    if (bFalling) {
        bFalling = 0;
        bCollideWorld = 0;
    }
}

void ScriptedPawn::AnimNotify(const MeshNotify& notify) {
    PlayerPawn* player = GetWorld().Player;
    if (!bAlerted || !player) {
        return;
    }
    static const char* const kOneShot[] = {"spawnleftshot", "spawnrightshot", "spawnshot",
                                           "spawnbelch",    "shoottarget",    "spawnrock"};
    static const char* const kMelee[] = {"whipdamagetarget",  "spindamagetarget", "strikedamagetarget",
                                         "punchdamagetarget", "stabdamagetarget", "hitdamagetarget",
                                         "smacktarget"};
    const std::string function = ToLowerAscii(notify.Function);
    auto among = [&](std::span<const char* const> names) {
        for (const char* name : names) {
            if (function == name) {
                return true;
            }
        }
        return false;
    };
    if (among(kOneShot)) {
        if (!RangedProjectile.empty()) {
            OneShot(*this, *player);
        }
    } else if (function == "spawntwoshots") {
        TwoShots(*this, *player);
    } else if (among(kMelee)) {
        MeleeHit(*this, *player);
    }
}

Bird1::Bird1() { AnimSequence = "Flight"; }

void Bird1::BeginPlay() {
    ScriptedPawn::BeginPlay();
    HomeLocation = Location;
    // The bird's mesh has no row of its own: it flaps its wings from the start.
    if (IdleAnims.IsEmpty()) {
        PlayAnim(*this, "Flight", 1.0f);
    }
}

void Bird1::Tick(float deltaTime) {
    if (Health <= 0) {
        ScriptedPawn::Tick(deltaTime); // a shot bird drops
        return;
    }
    FlightTime += deltaTime;
    const float yaw = FlightTime / CircleRadius * kFlightPerSecond;
    const Rotator around{0, SaturateToInt32(std::nearbyint(yaw)), 0};
    MoveActorTo(*this, HomeLocation + RotateVector({CircleRadius, 0, 0}, around));
    Rotation.Yaw = WrapAdd(around.Yaw, kQuarterTurn);
}

} // namespace orv
