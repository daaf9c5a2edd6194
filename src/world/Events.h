// Events between actors: an actor's "Event" names a tag, and firing it triggers every actor
// whose "Tag" equals that name.
#pragma once

#include "core/Vector.h"

#include <string_view>

namespace orv {

struct Actor;
struct World;

// A tag or event as a name: editors export names in double quotes (Tag="Door1") where levels
// written by hand leave them bare (Tag=Door1); one pair of enclosing quotes is not part of it.
std::string_view EventName(std::string_view text);
// Tag and event name the same thing: byte for byte (case counts), each without its quotes.
bool SameEventName(std::string_view tag, std::string_view event);

// An event fires nothing when it is empty or "\"none\"" (any case, quotes included), however it
// is fired; else every actor (count read once) whose "Tag" is the same name, unless the event is
// the actor's class in double quotes, gets Trigger(other, instigator).
void TriggerEvent(World& world, std::string_view event, Actor* other, Actor* instigator);
void BroadcastTrigger(World& world, std::string_view event, Actor* other, Actor* instigator);
// The same filter, calling UnTrigger.
void UnTriggerEvent(World& world, std::string_view event, Actor* other, Actor* instigator);
// The first actor whose "Tag" is the same name ignoring case, or null (also for an event that
// fires nothing).
Actor* FindActorByTag(World& world, std::string_view name);

// The behaviour of Trigger and TakeDamage for actors without an engine class of their own
// (special events, music events, exploding walls, trigger switches, shoot triggers).
void DefaultTrigger(Actor& self, Actor* other, Actor* instigator);
void DefaultTakeDamage(Actor& self, int damage, Actor* eventInstigator, const Vector& hitLocation,
                       const Vector& momentum, std::string_view damageType);

} // namespace orv
