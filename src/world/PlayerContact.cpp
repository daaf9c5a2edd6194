// The player-contact handler.
#include "world/PlayerContact.h"

#include "content/PropertyValues.h"
#include "core/Numbers.h"
#include "core/Text.h"
#include "world/ActorClasses.h"
#include "world/Events.h"
#include "world/World.h"

#include <algorithm>
#include <optional>
#include <string>

namespace orv {

namespace {

constexpr float kTeleportLift = 16.0f; // the player arrives this far above the destination's centre
constexpr int kMaxHealth = 100;        // health packs heal up to this ...
constexpr int kSuperHealth = 200;      // ... and super-heal ones up to this
constexpr float kPickupTint = 0.25f;   // the tint a pickup adds to each colour of the view

// The name of the level a teleporter's URL exits to, or nothing for a teleport within the level.
std::optional<std::string> ExitLevelOf(const std::string& url) {
    const size_t cut = url.find_first_of("/#");
    if (cut == std::string::npos) {
        return std::nullopt;
    }
    return std::string(TrimBlanks(std::string_view(url).substr(0, cut)));
}

void TouchTeleporter(World& world, PlayerPawn& player, const Actor& teleporter) {
    const std::string url = ParseStateValue(teleporter.GetProperty("URL"));
    if (const std::optional<std::string> name = ExitLevelOf(url)) {
        world.PendingLevel = "Maps\\" + *name + ".t3d";
        return;
    }
    Actor* destination = FindActorByTag(world, url);
    if (destination && destination != &teleporter) {
        MoveActorTo(player, destination->Location + Vector{0, 0, kTeleportLift});
        ArriveAmongTeleporters(world);
    }
}

void TouchHealth(World& world, PlayerPawn& player, Actor& pickup) {
    const int amount = ParseInt(pickup.GetProperty("HealingAmount"));
    const bool superHeal = ParseBool(pickup.GetProperty("bSuperHeal"));
    const int limit = superHeal ? kSuperHealth : kMaxHealth;
    if (player.Health > limit - 1) {
        return;
    }
    player.Health = SaturateInt32(std::min<int64_t>(int64_t{player.Health} + amount, limit));
    world.Services->PlayActorSound(player, "UnrealShare.Pickups.Health2", 0.8f);
    world.SetHudMessage(ParseStateValue(pickup.GetProperty("PickupMessage")) + std::to_string(amount));
    for (int i = 1; i <= 3; ++i) {
        player.ViewFlash[i] += kPickupTint;
    }
    pickup.Destroy();
}

} // namespace

void ArriveAmongTeleporters(World& world) {
    for (const auto& actor : world.Actors) {
        if (actor->Class == "Teleporter" && actor->OverlapsPlayer()) {
            actor->bTouchingPlayer = 1;
        }
    }
}

void ArriveAtLevelStart(World& world) {
    for (const auto& actor : world.Actors) {
        if (actor->Class == "Teleporter" && actor->OverlapsPlayer()) {
            const std::optional<std::string> name = ExitLevelOf(ParseStateValue(actor->GetProperty("URL")));
            actor->bTouchingPlayer = name && SameText(*name, world.CurrentLevel.Name) ? 1 : 0;
        }
    }
}

void TouchedByPlayer(Actor& actor) {
    World& world = actor.GetWorld();
    PlayerPawn* player = world.Player;
    if (!player) {
        return;
    }
    if (actor.Class == "TranslatorEvent") {
        const std::string* message = actor.PropertyList.Find("Message");
        // Text properties may come quoted from class defaults; the quotes are not part of the message.
        world.TranslatorText = ParseStateValue((message && !message->empty()) ? *message : actor.GetProperty("Hint"));
        world.Services->PlayActorSound(*player, "UnrealShare.Pickups.TransA3", 0.66f);
    } else if (actor.Class == "Trigger") {
        actor.bTriggered = 1;
        BroadcastTrigger(world, actor.GetProperty("Event"), &actor, actor.Instigator);
        if (ParseBool(actor.GetProperty("bTriggerOnceOnly"))) {
            actor.Destroy();
        }
    } else if (actor.Class == "Teleporter") {
        TouchTeleporter(world, *player, actor);
    } else if (IsSameOrA(actor, "Weapon")) {
        auto* item = dynamic_cast<Inventory*>(&actor);
        if (item && !item->bPickedUp) {
            player->Inventory.Add(item);
            item->bPickedUp = 1;
            item->MeshRef = item->PlayerViewMesh;
        }
    } else if (!actor.GetProperty("PickupMessage").empty() &&
               (IsSameOrA(actor, "Health") || IsA(actor, "NaliFruit"))) {
        TouchHealth(world, *player, actor);
    }
}

} // namespace orv
