// A small world for tests: resource tables with hand-made class records, a fallback texture and
// mesh, and services that record what the world asked for.
#pragma once

#include "content/ClassScripts.h"
#include "core/ConfigFile.h"
#include "world/ActorClasses.h"
#include "core/InputState.h"
#include "world/World.h"

#include <algorithm>
#include <array>
#include <initializer_list>
#include <memory>
#include <set>
#include <sstream>
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
    void AddClass(const std::string& name, const std::string& parent,
                  std::vector<std::pair<std::string, std::string>> defaults = {}) {
        auto record = std::make_unique<ClassRecord>();
        record->Package = "Test";
        record->Name = name;
        record->ParentName = parent;
        record->Parent = FindClass(res, parent);
        for (const auto& [k, v] : defaults) {
            record->Defaults.Append(k, v);
        }
        res.Classes.Add(std::move(record));
    }

    // The engine's class tree, as far as the factory and the tests need it: each line a class, then
    // its subclasses.
    void AddEngineClasses() {
        AddClass("Actor", "");
        for (const char* line :
             {"Actor Pawn Inventory Projectile Effects Info Keypoint Brush Triggers NavigationPoint Light Decoration",
              "Pawn ScriptedPawn PlayerPawn", "ScriptedPawn Bird1", "Inventory Weapon Pickup", "Pickup Health",
              "Brush Mover", "Triggers Counter Dispatcher Trigger SpecialEvent",
              "Keypoint Earthquake ExplosionChain DynamicAmbientSound", "Info ZoneInfo WavySurfaceInfo",
              "ZoneInfo LevelInfo DynamicZoneInfo SkyZoneInfo WaterZone", "Light TriggerLight",
              "Projectile DispersionAmmo", "Effects AnimSpriteEffect Emitter",
              "AnimSpriteEffect Explosion DispersionAmmoHit", "NavigationPoint PlayerStart Teleporter"}) {
            std::istringstream words(line);
            std::string parent, name;
            words >> parent;
            while (words >> name) {
                AddClass(name, parent);
            }
        }
    }

    // A mesh with one sequence per (name, first frame, frames, rate).
    Mesh& AddMesh(const std::string& package, const std::string& name, std::initializer_list<MeshSequence> sequences) {
        auto mesh = std::make_unique<Mesh>();
        mesh->Package = package;
        mesh->Name = name;
        for (const MeshSequence& s : sequences) {
            mesh->Sequences.Add(s);
        }
        return *res.Meshes[res.Meshes.Add(std::move(mesh))];
    }

    // Two world triangles (a, b, c) and (a, c, d), facing by their winding; FinishLevel files them
    // in the location hash.
    void AddQuad(Vector a, Vector b, Vector c, Vector d) {
        for (const auto& tri : {std::array<Vector, 3>{a, b, c}, std::array<Vector, 3>{a, c, d}}) {
            WorldTriangle& t = world.CurrentLevel.Triangles.Emplace();
            for (int i = 0; i < 3; ++i) {
                t.Vertices[i] = tri[i];
            }
            t.Normal = Normal(Cross(tri[1] - tri[0], tri[2] - tri[0]));
            t.Centre = (tri[0] + tri[1] + tri[2]) * (1.0f / 3.0f);
            t.Radius = std::max({Length(tri[0] - t.Centre), Length(tri[1] - t.Centre), Length(tri[2] - t.Centre)});
            t.Index = world.CurrentLevel.Triangles.Num() - 1;
        }
    }
    void FinishLevel() { world.CurrentLevel.Hash.Build(world.CurrentLevel.Triangles); }

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
