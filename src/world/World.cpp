// The world object, spatial registration of actors in the BSP, and reference clean-up.
#include "world/World.h"

#include "world/ActorBrush.h"
#include "world/ActorClasses.h"

#include <algorithm>

namespace orv {

namespace {

WorldServices& DoNothingServices() {
    static WorldServices services;
    return services;
}

// Files the actor in every leaf space its collision height reaches.
void RegisterInTree(Level& level, Actor& actor) {
    const LevelModel& model = level.Model;
    if (model.Nodes.IsEmpty()) {
        return;
    }
    // A model filled in place (tools and tests do so) gets its lists here.
    level.NodeActors.resize(static_cast<size_t>(model.Nodes.Num()));
    const float margin = actor.CollisionHeight;
    std::vector<int32_t> stack{0};
    while (!stack.empty()) {
        const int32_t index = stack.back();
        stack.pop_back();
        const BspNode& node = model.Nodes[index];
        NodeActorLists& lists = level.NodeActors[static_cast<size_t>(index)];
        const float d = node.NodePlane.Distance(actor.Location);
        // Push the front side first so the back side is handled first, as a recursion would.
        if (d >= -margin) {
            if (node.Front >= 0) {
                stack.push_back(node.Front);
            } else {
                lists.Positive.push_back(&actor);
                actor.RegisteredIn.emplace_back(index, uint8_t{1});
            }
        }
        if (d <= margin) {
            if (node.Back >= 0) {
                stack.push_back(node.Back);
            } else {
                lists.Negative.push_back(&actor);
                actor.RegisteredIn.emplace_back(index, uint8_t{0});
            }
        }
    }
}

void UnregisterFromTree(Level& level, Actor& actor) {
    for (const auto& [index, side] : actor.RegisteredIn) {
        if (index < 0 || static_cast<size_t>(index) >= level.NodeActors.size()) {
            continue;
        }
        NodeActorLists& lists = level.NodeActors[static_cast<size_t>(index)];
        std::vector<Actor*>& list = side ? lists.Positive : lists.Negative;
        auto it = std::find(list.begin(), list.end(), &actor);
        if (it != list.end()) {
            list.erase(it);
        }
    }
    actor.RegisteredIn.clear();
}

template <typename T>
void ForgetIn(Array<T*>& list, const Actor& gone) {
    for (int i = list.Num() - 1; i >= 0; --i) {
        if (static_cast<const Actor*>(list[i]) == &gone) {
            list.RemoveAt(i);
        }
    }
}

} // namespace

World::World(Resources& resources, ConfigTable& config)
    : Res(resources), Config(config), Services(&DoNothingServices()) {}

World::~World() = default;

void World::SetHudMessage(std::string_view message) {
    HudMessage = std::string(message);
    HudMessageTime = 8.0f;
}

Actor* Level::ZoneActor(int zone) const {
    if (zone == kNoZone || !ZoneActors.IsValidIndex(zone)) {
        return nullptr;
    }
    return ZoneActors[zone];
}

Actor* Level::NodeZone(int32_t node) const {
    Actor* zone = ZoneActor(Model.Nodes[node].SecondZone);
    return zone ? zone : Info;
}

void RegisterActor(Actor& actor) {
    if (actor.XLevel) {
        UnregisterFromTree(actor.XLevel->CurrentLevel, actor); // never filed twice
        RegisterInTree(actor.XLevel->CurrentLevel, actor);
    }
}

void UnregisterActor(Actor& actor) {
    if (actor.XLevel) {
        UnregisterFromTree(actor.XLevel->CurrentLevel, actor);
    }
}

void MoveActorTo(Actor& actor, const Vector& location) {
    UnregisterActor(actor);
    actor.Location = location;
    RegisterActor(actor);
}

void ClearReferencesTo(World& world, const Actor& gone) {
    for (const auto& actor : world.Actors) {
        if (actor->Owner == &gone) {
            actor->Owner = nullptr;
        }
        if (actor->Instigator == &gone) {
            actor->Instigator = nullptr;
        }
        const EngineClass c = actor->GetEngineClass();
        if (c == EngineClass::ScriptedPawn || c == EngineClass::Bird1) {
            auto& pawn = static_cast<ScriptedPawn&>(*actor);
            pawn.Target = pawn.Target == &gone ? nullptr : pawn.Target;
        }
    }
    if (PlayerPawn* player = world.Player) {
        ForgetIn(player->Inventory, gone);
        if (player->CurrentZone == &gone) {
            player->CurrentZone = nullptr;
        }
        if (player->ViewZone == &gone) {
            player->ViewZone = nullptr;
        }
    }
    Level& level = world.CurrentLevel;
    // Surface zones name only zone actors and the LevelInfo: the big array is scanned only when
    // one of those goes.
    bool zoneGoes = level.Info == &gone;
    if (level.SkyZone == &gone) {
        level.SkyZone = nullptr;
    }
    if (level.Info == &gone) {
        level.Info = nullptr;
    }
    ForgetIn(level.DynamicZones, gone);
    for (Actor*& light : level.LightActors) {
        light = light == &gone ? nullptr : light;
    }
    for (Actor*& zone : level.ZoneActors) {
        zoneGoes |= zone == &gone;
        zone = zone == &gone ? nullptr : zone;
    }
    if (zoneGoes) {
        for (Actor*& zone : level.SurfaceZones) {
            zone = zone == &gone ? level.Info : zone;
        }
    }
}

} // namespace orv
