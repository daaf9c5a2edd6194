// Movers: brush placement, their start, the state changes by trigger, bump and landing, and the
// move between keys that carries or pushes the player.
#include "world/Mover.h"

#include "content/PropertyValues.h"
#include "core/Text.h"
#include "world/ActorBrush.h"
#include "world/ActorClasses.h"
#include "world/Collision.h"
#include "world/Events.h"
#include "world/World.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <utility>

namespace orv {

namespace {

// A brush never counts as smaller than this around its location, whatever its corners say.
constexpr float kMinBrushRadius = 512.0f;
// An opening mover rests this short of its last key, so that its segment stays the one before it.
constexpr float kOpenShortOfLastKey = 0.001f;

// The states in which a mover closes again by itself (unless it triggers only once), by the
// lowered InitialState; the empty state is the class's own default, bump-open.
bool ClosesByItself(std::string_view loweredState) {
    return loweredState.empty() || loweredState == "bumpopentimed" || loweredState == "bumpbutton" ||
           loweredState == "standopentimed" || loweredState == "triggeropentimed";
}

} // namespace

BrushTransform ActorBrushTransform(const Actor& actor) {
    BrushTransform t;
    t.Location = actor.Location;
    t.Rotation = actor.Rotation;
    t.PrePivot = actor.PrePivot;
    if (auto* mover = dynamic_cast<const Mover*>(&actor)) {
        t.MainScale = mover->MainScale;
        t.PostScale = mover->PostScale;
    }
    return t;
}

void SetMoverState(Mover& mover, EMoverState state) {
    // The property naming each state's sound, by state.
    static const char* const kSounds[] = {"ClosedSound", "OpeningSound", "OpenedSound", "ClosingSound"};
    const std::string& sound = mover.GetProperty(kSounds[static_cast<int>(state)]);
    if (!sound.empty()) {
        mover.GetWorld().Services->PlayActorSound(mover, sound, 1.0f);
    }
    mover.MoverState = state;
}

void Mover::BeginPlay() {
    Actor::BeginPlay();
    BasePos = Location;
    BaseRot = Rotation;
    const std::string& glide = GetProperty("MoverGlideType");
    if (SameText(glide, "MV_MoveByTime") || glide == "0") {
        bGlide = 0;
    }
    if (ClosesByItself(ToLowerAscii(InitialState))) {
        bTimedClose = ParseBool(GetProperty("bTriggerOnceOnly")) ? 0 : 1;
    }
    if (!Brush) {
        return;
    }
    const BrushTransform placed = ActorBrushTransform(*this);
    float radius = kMinBrushRadius;
    for (const WorldTriangle& t : Brush->Triangles) {
        for (const Vector& corner : t.Vertices) {
            radius = std::max(radius, Length(BrushVertexToWorld(placed, corner) - Location));
        }
    }
    BrushRadius = radius;
    // A mirrored brush turns its faces inside out: swapping two corners keeps them facing out.
    const float handedness = MainScale.X * MainScale.Y * MainScale.Z * PostScale.X * PostScale.Y * PostScale.Z;
    if (handedness < 0.0f) {
        for (WorldTriangle& t : Brush->Triangles) {
            std::swap(t.Vertices[0], t.Vertices[2]);
            std::swap(t.TexCoords[0], t.TexCoords[2]);
        }
    }
}

void Mover::Trigger(Actor*, Actor*) {
    if (InitialState == "TriggerOpenTimed") {
        if (MoverState == EMoverState::Closed) {
            SetMoverState(*this, EMoverState::Opening);
        }
    } else if (InitialState == "TriggerControl") {
        if (MoverState != EMoverState::Open) {
            SetMoverState(*this, EMoverState::Opening); // an opening mover starts its sound again
        }
    } else if (InitialState == "TriggerToggle") {
        const bool shut = MoverState == EMoverState::Closed || MoverState == EMoverState::Closing;
        SetMoverState(*this, shut ? EMoverState::Opening : EMoverState::Closing);
    }
}

void Mover::UnTrigger(Actor*, Actor*) {
    if (InitialState == "TriggerControl" && MoverState != EMoverState::Closed) {
        SetMoverState(*this, EMoverState::Closing);
    }
}

void Mover::Bump(Actor*) {
    const bool opensOnBump = InitialState.empty() || InitialState == "BumpOpenTimed" || InitialState == "BumpButton" ||
                             InitialState == "StandOpenTimed";
    if (opensOnBump && MoverState == EMoverState::Closed) {
        SetMoverState(*this, EMoverState::Opening);
    }
}

void Mover::Tick(float deltaTime) {
    if (MoverState == EMoverState::Closed) {
        return;
    }
    if (MoverState == EMoverState::Open && bTimedClose) {
        if (StayOpenCounter > 0.0f) {
            StayOpenCounter -= deltaTime;
            return;
        }
        StayOpenCounter = 0.0f;
        SetMoverState(*this, EMoverState::Closing);
    }
    MoveStep(*this, deltaTime);
}

void MoveStep(Mover& mover, float deltaTime) {
    World& world = mover.GetWorld();
    const float direction = mover.MoverState == EMoverState::Opening   ? 1.0f
                            : mover.MoverState == EMoverState::Closing ? -1.0f
                                                                       : 0.0f;
    if (direction != 0.0f) {
        mover.KeyAlpha += direction * deltaTime / mover.MoveTime;
    }
    const float lastKey = static_cast<float>(mover.NumKeys) - 1.0f;
    if (mover.MoverState == EMoverState::Opening && !(mover.KeyAlpha <= lastKey)) {
        mover.KeyAlpha = lastKey - kOpenShortOfLastKey;
        TriggerEvent(world, mover.GetProperty("Event"), &mover, mover.Instigator);
        SetMoverState(mover, EMoverState::Open);
        if (mover.bTimedClose) {
            mover.StayOpenCounter = mover.StayOpenTime;
        }
    }
    if (mover.MoverState == EMoverState::Closing && !(mover.KeyAlpha >= 0.0f)) {
        SetMoverState(mover, EMoverState::Closed);
        mover.KeyAlpha = 0.0f;
    }
    // A key count outside the slots (or a broken move time) keeps the segment inside them.
    const float alpha =
        std::clamp(std::isfinite(mover.KeyAlpha) ? mover.KeyAlpha : 0.0f, 0.0f, static_cast<float>(kMoverKeys - 1));
    const int key = std::min(static_cast<int>(std::floor(alpha)), kMoverKeys - 2);
    float f = alpha - static_cast<float>(key);
    if (mover.bGlide) {
        f = (1.0f - std::cos(std::numbers::pi_v<float> * f)) / 2.0f; // eased: still at both keys
    }
    mover.KeyNum = key;
    const Vector oldLocation = mover.Location;
    const Vector newLocation = mover.BasePos + mover.KeyPos[key] * (1.0f - f) + mover.KeyPos[key + 1] * f;
    MoveActorTo(mover, newLocation);
    mover.Rotation = AddRotators(
        mover.BaseRot, AddRotators(ScaleRotator(mover.KeyRot[key], 1.0f - f), ScaleRotator(mover.KeyRot[key + 1], f)));
    // Carrying and pushing: the player is swept against the brush at its new place, along the
    // move reversed; a hit, or a pawn that landed on it, moves the player with it. The mover is
    // no obstacle to that move: a fast lift's step can be deeper than its floor is thick, and
    // the player must ride it rather than catch on its underside.
    PlayerPawn* player = world.Player;
    const Vector delta = newLocation - oldLocation;
    if (player && !player->bDeleteMe && !(delta == Vector{})) {
        const bool inTheWay = SweepMover(mover, player->Location + delta, player->Location, player->CollisionRadius,
                                         player->CollisionHeight) != nullptr;
        if (inTheWay || mover.bPawnOnTop) {
            MovePawn(*player, delta, 0, &mover);
        }
    }
    mover.bPawnOnTop = 0;
}

} // namespace orv
