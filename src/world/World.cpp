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
void RegisterInTree(LevelModel& model, Actor& actor) {
    if (model.Nodes.IsEmpty()) {
        return;
    }
    const float margin = actor.CollisionHeight;
    std::vector<int32_t> stack{0};
    while (!stack.empty()) {
        const int32_t index = stack.back();
        stack.pop_back();
        BspNode& node = model.Nodes[index];
        const float d = node.NodePlane.Distance(actor.Location);
        // Push the front side first so the back side is handled first, as a recursion would.
        if (d >= -margin) {
            if (node.Front >= 0) {
                stack.push_back(node.Front);
            } else {
                node.PositiveActors.push_back(&actor);
                actor.RegisteredIn.emplace_back(index, uint8_t{1});
            }
        }
        if (d <= margin) {
            if (node.Back >= 0) {
                stack.push_back(node.Back);
            } else {
                node.NegativeActors.push_back(&actor);
                actor.RegisteredIn.emplace_back(index, uint8_t{0});
            }
        }
    }
}

void UnregisterFromTree(LevelModel& model, Actor& actor) {
    for (const auto& [index, side] : actor.RegisteredIn) {
        if (index < 0 || index >= model.Nodes.Num()) {
            continue;
        }
        std::vector<Actor*>& list = side ? model.Nodes[index].PositiveActors : model.Nodes[index].NegativeActors;
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

World::World(Resources& resources, ConfigTable& config) : Res(resources), Config(config), Services(&DoNothingServices()) {}

World::~World() = default;

void World::SetHudMessage(std::string_view message) {
    HudMessage = std::string(message);
    HudMessageTime = 8.0f;
}

void RegisterActor(Actor& actor) {
    if (actor.XLevel) {
        UnregisterFromTree(actor.XLevel->CurrentLevel.Model, actor); // never filed twice
        RegisterInTree(actor.XLevel->CurrentLevel.Model, actor);
    }
}

void UnregisterActor(Actor& actor) {
    if (actor.XLevel) {
        UnregisterFromTree(actor.XLevel->CurrentLevel.Model, actor);
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
    if (level.SkyZone == &gone) {
        level.SkyZone = nullptr;
    }
    if (level.Info == &gone) {
        level.Info = nullptr;
    }
    ForgetIn(level.DynamicZones, gone);
    // Level tables only name lights and zones; scan the big arrays only when they name this one.
    LevelModel& model = level.Model;
    bool named = false;
    for (Actor*& a : model.LightActors) {
        named |= a == &gone;
        a = a == &gone ? nullptr : a;
    }
    for (Actor*& a : model.ZoneActors) {
        named |= a == &gone;
        a = a == &gone ? nullptr : a;
    }
    for (LevelActorRef& ref : model.ActorRefs) {
        named |= ref.Resolved == &gone;
        ref.Resolved = ref.Resolved == &gone ? nullptr : ref.Resolved;
    }
    if (named) {
        Actor* fallback = level.Info;
        for (Surface& s : model.Surfaces) {
            s.Zone = s.Zone == &gone ? fallback : s.Zone;
        }
        for (WorldTriangle& t : level.Triangles) {
            t.Link = t.Link == &gone ? fallback : t.Link;
        }
        for (WorldTriangle& t : level.SkyTriangles) {
            t.Link = t.Link == &gone ? fallback : t.Link;
        }
    }
}

} // namespace orv
