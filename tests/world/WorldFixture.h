// A small world for tests: resource tables with hand-made class records, a fallback texture and
// mesh, and services that record what the world asked for.
#pragma once

#include "core/ConfigFile.h"
#include "world/ActorClasses.h"
#include "core/InputState.h"
#include "world/World.h"

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace orv::test {

struct RecordingServices : WorldServices {
    struct Sound {
        std::string Actor, Name;
        float Volume;
    };
    void PlayActorSound(Actor& actor, std::string_view name, float volume) override {
        Sounds.push_back({actor.Name, std::string(name), volume});
    }
    void GameOver() override { ++GameOvers; }
    void PlayMusic(std::string_view song, int section) override { Music.push_back(std::string(song) + "@" + std::to_string(section)); }
    void FreeMusic() override { ++MusicFreed; }
    void SetWindowTitle(const std::string& title) override { Title = title; }
    void SetUnderwater(bool underwater) override { Underwater = underwater; }
    void TakeScreenshot() override { ++Screenshots; }
    void PrepareLightmaps(World&) override { ++LightmapPreparations; }
    bool PlayedSound(const std::string& name) const {
        for (const Sound& s : Sounds) {
            if (s.Name == name) {
                return true;
            }
        }
        return false;
    }
    std::vector<Sound> Sounds;
    int GameOvers = 0;
    std::vector<std::string> Music;
    int MusicFreed = 0;
    int Screenshots = 0;
    int LightmapPreparations = 0;
    std::string Title;
    bool Underwater = false;
};

struct WorldFixture {
    WorldFixture() : world(res, config) {
        world.Services = &services;
        auto missing = std::make_unique<Texture>();
        missing->Name = "Zelkor.Missing";
        res.Textures.Add(std::move(missing));
        AddFallbackMesh(res);
    }

    // A class record under a parent (which must exist unless it is empty).
    ClassRecord& AddClass(const std::string& name, const std::string& parent,
                          std::vector<std::pair<std::string, std::string>> defaults = {}) {
        auto record = std::make_unique<ClassRecord>();
        record->Package = "Test";
        record->Name = name;
        record->ParentName = parent;
        for (const auto& [k, v] : defaults) {
            record->Defaults.Append(k, v);
        }
        for (const auto& existing : res.Classes) {
            if (existing->Name == parent) {
                record->Parent = existing.get();
            }
        }
        ClassRecord& ref = *record;
        res.Classes.Add(std::move(record));
        return ref;
    }

    // The engine's class tree, as far as the factory and the tests need it.
    void AddEngineClasses() {
        AddClass("Actor", "");
        for (const char* c : {"Pawn", "Inventory", "Projectile", "Effects", "Info", "Keypoint", "Brush", "Triggers",
                              "NavigationPoint", "Light", "Decoration"}) {
            AddClass(c, "Actor");
        }
        AddClass("ScriptedPawn", "Pawn");
        AddClass("PlayerPawn", "Pawn");
        AddClass("Bird1", "ScriptedPawn");
        AddClass("Weapon", "Inventory");
        AddClass("Pickup", "Inventory");
        AddClass("Health", "Pickup");
        AddClass("Mover", "Brush");
        AddClass("Counter", "Triggers");
        AddClass("Dispatcher", "Triggers");
        AddClass("Trigger", "Triggers");
        AddClass("SpecialEvent", "Triggers");
        AddClass("Earthquake", "Keypoint");
        AddClass("ExplosionChain", "Keypoint");
        AddClass("DynamicAmbientSound", "Keypoint");
        AddClass("ZoneInfo", "Info");
        AddClass("LevelInfo", "ZoneInfo");
        AddClass("DynamicZoneInfo", "ZoneInfo");
        AddClass("SkyZoneInfo", "ZoneInfo");
        AddClass("WaterZone", "ZoneInfo");
        AddClass("TriggerLight", "Light");
        AddClass("DispersionAmmo", "Projectile");
        AddClass("AnimSpriteEffect", "Effects");
        AddClass("Explosion", "AnimSpriteEffect");
        AddClass("DispersionAmmoHit", "AnimSpriteEffect");
        AddClass("Emitter", "Effects");
        AddClass("WavySurfaceInfo", "Info");
        AddClass("PlayerStart", "NavigationPoint");
        AddClass("Teleporter", "NavigationPoint");
    }

    // An actor made like the level reader makes one: class defaults, properties, ApplyProperties,
    // appended to the list (no BeginPlay).
    Actor& AddActor(const std::string& className, const std::string& name,
                    std::vector<std::pair<std::string, std::string>> properties = {}) {
        std::unique_ptr<Actor> actor = CreateActor(world, className);
        actor->Name = name;
        ApplyClassDefaults(*actor);
        for (const auto& [k, v] : properties) {
            actor->SetProperty(k, v);
        }
        actor->ApplyProperties();
        Actor& ref = *actor;
        world.Actors.Add(std::move(actor));
        return ref;
    }

    Resources res;
    ConfigTable config;
    World world;
    RecordingServices services;
};

} // namespace orv::test
