// Event broadcast and the default event handlers.
#include "world/Events.h"

#include "content/PropertyValues.h"
#include "core/Text.h"
#include "world/Actor.h"
#include "world/ActorClasses.h"
#include "world/World.h"

namespace orv {

namespace {

constexpr int kKillDamage = 999999; // more than any actor's health

// A trigger's TriggerType when only shots set it off, by name or by its number in the enumeration.
constexpr std::string_view kShootName = "TT_Shoot";
constexpr std::string_view kShootNumber = "4";

bool IsNoneEvent(std::string_view event) { return ToLowerAscii(event) == "\"none\""; }

// An event that names nothing: empty, or "none" in quotes. Fired from anywhere, it reaches no one
// (an untagged actor must never answer a trigger without an event).
bool FiresNothing(std::string_view event) { return EventName(event).empty() || IsNoneEvent(event); }

bool IsClassInQuotes(const Actor& actor, std::string_view event) {
    return event.size() == actor.Class.size() + 2 && event.front() == '"' && event.back() == '"' &&
           event.substr(1, actor.Class.size()) == actor.Class;
}

template <typename Call>
void ForEachTagged(World& world, std::string_view event, Call call) {
    if (FiresNothing(event)) {
        return;
    }
    const int count = world.Actors.Num();
    for (int i = 0; i < count && i < world.Actors.Num(); ++i) {
        Actor& actor = *world.Actors[i];
        if (SameEventName(actor.GetProperty("Tag"), event) && !IsClassInQuotes(actor, event)) {
            call(actor);
        }
    }
}

} // namespace

std::string_view EventName(std::string_view text) {
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"') {
        return text.substr(1, text.size() - 2);
    }
    return text;
}

bool SameEventName(std::string_view tag, std::string_view event) { return EventName(tag) == EventName(event); }

void TriggerEvent(World& world, std::string_view event, Actor* other, Actor* instigator) {
    BroadcastTrigger(world, event, other, instigator);
}

void BroadcastTrigger(World& world, std::string_view event, Actor* other, Actor* instigator) {
    const std::string name(event); // the firing actor may change its own properties
    ForEachTagged(world, name, [&](Actor& a) { a.Trigger(other, instigator); });
}

void UnTriggerEvent(World& world, std::string_view event, Actor* other, Actor* instigator) {
    const std::string name(event);
    ForEachTagged(world, name, [&](Actor& a) { a.UnTrigger(other, instigator); });
}

Actor* FindActorByTag(World& world, std::string_view name) {
    if (FiresNothing(name)) {
        return nullptr;
    }
    const std::string lower = ToLowerAscii(EventName(name));
    for (const auto& actor : world.Actors) {
        if (ToLowerAscii(EventName(actor->GetProperty("Tag"))) == lower && !IsClassInQuotes(*actor, name)) {
            return actor.get();
        }
    }
    return nullptr;
}

void DefaultTrigger(Actor& self, Actor* other, Actor* instigator) {
    World& world = self.GetWorld();
    if (SameText(self.Class, "SpecialEvent")) {
        const std::string state = ToLowerAscii(self.InitialState);
        if (state == "damageinstigator" && other) {
            other->TakeDamage(ParseInt(self.GetProperty("Damage")), nullptr, self.Location, {},
                              self.GetProperty("DamageType"));
        } else if (state == "playsoundeffect") {
            world.Services->PlayActorSound(self, self.GetProperty("Sound"), 1.0f);
        } else if (state == "playersplaysoundeffect" && world.Player) {
            world.Services->PlayActorSound(*world.Player, self.GetProperty("Sound"), 1.0f);
        } else if (state == "killinstigator" && other) {
            other->TakeDamage(kKillDamage, nullptr, self.Location, {}, "");
        } else if (state == "displaymessage") {
            world.SetHudMessage(ParseStateValue(self.GetProperty("Message")));
        }
    } else if (SameText(self.Class, "MusicEvent")) {
        world.Services->ChangeMusic(self.GetProperty("Song"), ParseInt(self.GetProperty("SongSection")),
                                    ParseBool(self.GetProperty("bSilence")));
        if (ParseBool(self.GetProperty("bOnceOnly"))) {
            self.Destroy();
        }
    } else if (SameText(self.Class, "ExplodingWall") || SameText(self.Class, "BreakingGlass")) {
        Spawn(world, "Explosion", nullptr, "", self.Location, {});
        self.Destroy();
        TriggerEvent(world, self.GetProperty("Event"), &self, instigator);
    } else if (SameText(self.Class, "Trigger")) {
        if (self.InitialState == "OtherTriggerTurnsOff") {
            self.SetProperty("bInitiallyActive", "False");
        } else if (self.InitialState == "OtherTriggerTurnsOn") {
            self.SetProperty("bInitiallyActive", "True");
        } else if (self.InitialState == "OtherTriggerToggles") {
            self.SetProperty("bInitiallyActive", ParseBool(self.GetProperty("bInitiallyActive")) ? "false" : "true");
        }
    }
}

void DefaultTakeDamage(Actor& self, int, Actor* eventInstigator, const Vector&, const Vector&, std::string_view) {
    if (self.Class != "Trigger") {
        return;
    }
    const std::string& type = self.GetProperty("TriggerType");
    if ((type == kShootName || type == kShootNumber) && ParseBool(self.GetProperty("bInitiallyActive"))) {
        if (ParseBool(self.GetProperty("bTriggerOnceOnly"))) {
            self.Destroy();
        }
        self.bTriggered = 1;
        TriggerEvent(self.GetWorld(), self.GetProperty("Event"), &self, eventInstigator);
    }
}

} // namespace orv
