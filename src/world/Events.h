// Events between actors: an actor's "Event" names a tag, and firing it triggers every actor
// whose "Tag" equals that name.
#pragma once

#include "core/Vector.h"

#include <string_view>

namespace orv {

struct Actor;
struct World;

// Nothing for an empty event or "\"none\"" (any case, quotes included); else BroadcastTrigger.
void TriggerEvent(World& world, std::string_view event, Actor* other, Actor* instigator);
// Every actor (count read once) whose "Tag" equals event exactly, unless event is its class in
// double quotes, gets Trigger(other, instigator).
void BroadcastTrigger(World& world, std::string_view event, Actor* other, Actor* instigator);
// The same filter, calling UnTrigger.
void UnTriggerEvent(World& world, std::string_view event, Actor* other, Actor* instigator);
// The first actor whose "Tag" equals name ignoring case, or null.
Actor* FindActorByTag(World& world, std::string_view name);

// The behaviour of Trigger and TakeDamage for actors without an engine class of their own
// (special events, music events, exploding walls, trigger switches, shoot triggers).
void DefaultTrigger(Actor& self, Actor* other, Actor* instigator);
void DefaultTakeDamage(Actor& self, int damage, Actor* eventInstigator, const Vector& hitLocation,
                       const Vector& momentum, std::string_view damageType);

} // namespace orv
