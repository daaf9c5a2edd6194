// A small world for tests: resource tables with hand-made class records, a fallback texture and
// mesh, and services that record what the world asked for.
#pragma once

#include "content/ClassScripts.h"
#include "content/WorldTriangle.h"
#include "core/ConfigFile.h"
#include "core/InputState.h"
#include "world/ActorClasses.h"
#include "world/World.h"

#include <algorithm>
#include <initializer_list>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace orv::test {

// Property lines as a level or a class's defaults write them: (name, text).
using Properties = std::vector<std::pair<std::string, std::string>>;

struct RecordingServices : WorldServices {
    void PlayActorSound(Actor&, std::string_view name, float) override { Sounds.emplace_back(name); }
    void GameOver() override { ++GameOvers; }
    void PlayMusic(std::string_view song, int section) override {
        Music.push_back(std::string(song) + "@" + std::to_string(section));
    }
    void SetWindowTitle(const std::string& title) override { Title = title; }
    void SetUnderwater(bool underwater) override { Underwater = underwater; }
    void PrepareLightmaps(World&) override { ++LightmapPreparations; }
    bool PlayedSound(const std::string& name) const { return std::ranges::count(Sounds, name) > 0; }
    std::vector<std::string> Sounds, Music;
    int GameOvers = 0, LightmapPreparations = 0;
    std::string Title;
    bool Underwater = false;
};

struct WorldFixture {
    WorldFixture() : world(res, config) {
        world.Services = &services;
        AddTexture("Zelkor.Missing");
        AddFallbackMesh(res);
    }

    Texture& AddTexture(const std::string& name) {
        Texture& texture = *res.Textures[res.Textures.Add(std::make_unique<Texture>())];
        texture.Name = name;
        return texture;
    }

    // A class record under a parent (which must exist unless it is empty).
    void AddClass(const std::string& name, const std::string& parent, const Properties& defaults = {}) {
        ClassRecord& record = *res.Classes[res.Classes.Add(std::make_unique<ClassRecord>())];
        record.Name = name;
        record.ParentName = parent;
        record.Parent = FindClass(res, parent);
        for (const auto& [k, v] : defaults) {
            record.Defaults.Append(k, v);
        }
    }

    // The engine's class tree, as far as the factory and the tests need it: "Parent:", then its
    // subclasses.
    void AddEngineClasses() {
        AddClass("Actor", "");
        std::istringstream words(
            "Actor: Pawn Inventory Projectile Effects Info Keypoint Brush Triggers NavigationPoint Light Decoration "
            "Pawn: ScriptedPawn PlayerPawn ScriptedPawn: Bird1 Inventory: Weapon Pickup Pickup: Health Brush: Mover "
            "Triggers: Counter Dispatcher Trigger SpecialEvent Keypoint: Earthquake ExplosionChain DynamicAmbientSound "
            "Info: ZoneInfo WavySurfaceInfo ZoneInfo: LevelInfo DynamicZoneInfo SkyZoneInfo WaterZone "
            "Light: TriggerLight Projectile: DispersionAmmo Effects: AnimSpriteEffect Emitter "
            "AnimSpriteEffect: Explosion DispersionAmmoHit NavigationPoint: PlayerStart Teleporter");
        for (std::string word, parent; words >> word;) {
            if (word.ends_with(':')) {
                parent = word.substr(0, word.size() - 1);
            } else {
                AddClass(word, parent);
            }
        }
    }

    // A mesh with one sequence per (name, first frame, frames, rate).
    Mesh& AddMesh(const std::string& package, const std::string& name, std::initializer_list<MeshSequence> sequences) {
        Mesh& mesh = *res.Meshes[res.Meshes.Add(std::make_unique<Mesh>())];
        mesh.Package = package;
        mesh.Name = name;
        mesh.Sequences = sequences;
        return mesh;
    }

    // Two world triangles (a, b, c) and (a, c, d), facing by their winding; FinishLevel files them
    // in the location hash.
    void AddQuad(Vector a, Vector b, Vector c, Vector d) {
        T3dPolygon quad;
        quad.Vertices = {a, b, c, d};
        quad.Normal = Normal(Cross(b - a, c - a));
        TriangulatePolygon(world.CurrentLevel.Triangles, quad);
    }
    void FinishLevel() { world.CurrentLevel.Hash.Build(world.CurrentLevel.Triangles); }

    // An actor made like the level reader makes one: class defaults, properties, ApplyProperties,
    // appended to the list (no BeginPlay).
    Actor& AddActor(const std::string& className, const std::string& name, const Properties& properties = {}) {
        std::unique_ptr<Actor> actor = CreateActor(world, className);
        actor->Name = name;
        ApplyClassDefaults(*actor);
        for (const auto& [k, v] : properties) {
            actor->SetProperty(k, v);
        }
        actor->ApplyProperties();
        return *world.Actors[world.Actors.Add(std::move(actor))];
    }

    Resources res;
    ConfigTable config;
    World world;
    RecordingServices services;
};

} // namespace orv::test
