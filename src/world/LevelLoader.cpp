// The level loading pipeline.
#include "world/LevelLoader.h"

#include "content/PropertyValues.h"
#include "core/Fatal.h"
#include "core/Log.h"
#include "core/Random.h"
#include "core/Text.h"
#include "core/Vfs.h"
#include "world/ActorClasses.h"
#include "world/PlayerContact.h"
#include "world/World.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>

namespace orv {

namespace {

constexpr float kSkyBoxReach = 1500.0f;

std::string LevelNameOf(std::string_view path) {
    const size_t slash = path.find_last_of("\\/");
    std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    const size_t dot = name.find_last_of('.');
    if (dot != std::string_view::npos) {
        name = name.substr(0, dot);
    }
    return std::string(name);
}

std::string ModelPathOf(std::string_view path) {
    const size_t slash = path.find_last_of("\\/");
    const size_t dot = path.find_last_of('.');
    if (dot != std::string_view::npos && (slash == std::string_view::npos || dot > slash)) {
        return std::string(path.substr(0, dot)) + ".bsp";
    }
    return std::string(path) + ".bsp";
}

void UnloadLevel(World& world) {
    for (int i = world.Actors.Num() - 1; i >= 0; --i) {
        Actor& actor = *world.Actors[i];
        if (actor.bLevelBound) {
            actor.Destroy();
            ClearReferencesTo(world, actor);
            world.Actors.RemoveAt(i);
        }
    }
    Level& level = world.CurrentLevel;
    level.SkyZone = nullptr;
    level.Info = nullptr;
    level.SkyTriangles.Clear();
    level.DynamicZones.Clear();
    level.Hash.Clear();
    level.Triangles.Clear();
    level.LightActors.Clear();
    level.ZoneActors.Clear();
    level.SurfaceZones.Clear();
    level.NodeActors.clear();
    level.SpawnCount = 0;
    for (const auto& survivor : world.Actors) {
        survivor->RegisteredIn.clear(); // those lists went with the old level
    }
    UnloadLevelTextures(world.Res);
    world.Services->FreeAmbientSounds();
}

LevelInfo* FindLevelInfo(World& world) {
    for (const auto& actor : world.Actors) {
        if (SameText(actor->Class, "LevelInfo")) {
            if (auto* info = dynamic_cast<LevelInfo*>(actor.get())) {
                return info;
            }
        }
    }
    return nullptr;
}

void PlacePlayer(World& world) {
    Array<Actor*> starts;
    for (const auto& actor : world.Actors) {
        if (actor->Class == "PlayerStart") {
            starts.Add(actor.get());
        }
    }
    if (starts.IsEmpty()) {
        FatalError("No PlayerStarts found.");
    }
    const int chosen = static_cast<int>(std::floor((starts.Num() - 1) * FRand()));
    const Actor& start = *starts[chosen];
    PlayerPawn* player = world.Player;
    if (!player) {
        return;
    }
    MoveActorTo(*player, start.Location + Vector{0, 0, 32});
    player->Rotation = start.Rotation;
    player->Velocity = {};
    player->WalkVelocity = {};
    ArriveAtLevelStart(world);
}

std::string WindowTitle(const World& world) {
    const LevelInfo* info = world.CurrentLevel.Info;
    std::string title = ParseStateValue(info ? info->GetPropertyOr("Title", "") : std::string());
    if (title == "Untitled") {
        title = world.CurrentLevel.Name;
    }
    return title + " - Orvane";
}

} // namespace

void ResolveModelActors(World& world) {
    Level& level = world.CurrentLevel;
    const LevelModel& model = level.Model;
    // Actors by lower-cased name, in list order; a reference takes the first whose class matches too.
    std::unordered_map<std::string, std::vector<Actor*>> byName;
    for (const auto& actor : world.Actors) {
        byName[ToLowerAscii(actor->Name)].push_back(actor.get());
    }
    std::vector<Actor*> resolved(static_cast<size_t>(model.ActorRefs.Num()), nullptr);
    for (int i = 0; i < model.ActorRefs.Num(); ++i) {
        const LevelActorRef& ref = model.ActorRefs[i];
        auto found = byName.find(ToLowerAscii(ref.Name));
        if (found == byName.end()) {
            continue;
        }
        for (Actor* candidate : found->second) {
            if (SameText(candidate->Class, ref.ClassName)) {
                resolved[static_cast<size_t>(i)] = candidate;
                break;
            }
        }
    }
    // Entries are 1-based references, 0 for none; the reader checked them against the references.
    auto resolveList = [&resolved](const Array<int32_t>& indices, Array<Actor*>& actors) {
        actors.Clear();
        for (int32_t k : indices) {
            actors.Add(k == 0 ? nullptr : resolved[static_cast<size_t>(k - 1)]);
        }
    };
    resolveList(model.LightIndices, level.LightActors);
    resolveList(model.ZoneIndices, level.ZoneActors);
    level.SurfaceZones.Clear();
    level.SurfaceZones.Resize(model.Surfaces.Num());
    for (int32_t i = 0; i < model.Nodes.Num(); ++i) {
        const int32_t surface = model.Nodes[i].Surface;
        if (surface >= 0) {
            level.SurfaceZones[surface] = level.NodeZone(i);
        }
    }
}

void SortWorldTriangles(Array<WorldTriangle>& triangles) {
    struct Group {
        uint32_t Key;
        const Texture* Tex;
        std::vector<int> Members;
    };
    std::vector<Group> groups;
    for (int i = 0; i < triangles.Num(); ++i) {
        const uint32_t key = triangles[i].Flags & 0x20146u;
        const Texture* tex = triangles[i].Tex;
        auto it = std::find_if(groups.begin(), groups.end(), [&](const Group& g) { return g.Key == key && g.Tex == tex; });
        if (it == groups.end()) {
            groups.push_back({key, tex, {}});
            it = groups.end() - 1;
        }
        it->Members.push_back(i);
    }
    Array<WorldTriangle> sorted;
    sorted.Reserve(triangles.Num());
    auto pass = [&](auto takes) {
        for (const Group& g : groups) {
            if (takes(g.Key)) {
                for (int i : g.Members) {
                    sorted.Add(triangles[i]);
                }
            }
        }
    };
    pass([](uint32_t k) { return (k & 0x20044u) == 0; });
    pass([](uint32_t k) { return (k & 0x40u) != 0; });
    pass([](uint32_t k) { return (k & 0x4u) != 0; });
    pass([](uint32_t k) { return (k & 0x20000u) != 0; });
    triangles = std::move(sorted);
}

void BuildSkyBox(World& world) {
    Level& level = world.CurrentLevel;
    level.SkyTriangles.Clear();
    level.SkyZone = nullptr;
    for (const auto& actor : world.Actors) {
        if (actor->Class == "SkyZoneInfo") {
            level.SkyZone = actor.get();
            break;
        }
    }
    if (!level.SkyZone) {
        return;
    }
    const Vector origin = level.SkyZone->Location;
    for (WorldTriangle& t : level.Triangles) {
        if (Length(t.Centre - origin) < kSkyBoxReach) {
            level.SkyTriangles.Add(t);
            t.Flags |= PF_Invisible | PF_NotSolid;
        }
    }
    for (WorldTriangle& t : level.SkyTriangles) {
        for (Vector& v : t.Vertices) {
            v -= origin;
        }
    }
}

void LoadLevel(World& world, std::string_view path, bool showLoadingScreen) {
    if (showLoadingScreen) {
        world.Services->DrawLoadingScreen();
    }
    Level& level = world.CurrentLevel;
    level.Name = LevelNameOf(path);
    world.Res.CurrentLevelName = level.Name;
    Log("Loading level \"" + std::string(path) + "\"...");
    if (!FileExists(path)) {
        FatalError("Can't load level \"" + std::string(path) + "\": file not found.");
    }
    if (ToLowerAscii(path.size() >= 4 ? path.substr(path.size() - 4) : path) != ".t3d") {
        FatalError("Bad level format (must be .t3d)");
    }
    Log("Unloading old assets...");
    UnloadLevel(world);
    Log("Loading the BSP...");
    FreeLevelModel(level.Model);
    LoadLevelModel(level.Model, ModelPathOf(path), LevelTextureResolver(world));
    Log("Loading the T3D...");
    ParseT3DActors(world, path);
    level.Info = FindLevelInfo(world);
    if (!level.Info) {
        FatalError("The map is missing LevelInfo (or you didn't set up Engine.u correctly).");
    }
    for (const auto& actor : world.Actors) {
        if (auto* zone = dynamic_cast<DynamicZoneInfo*>(actor.get())) {
            level.DynamicZones.Add(zone);
        }
    }
    ResolveModelActors(world);
    BuildWorldTriangles(level.Model, level.Triangles);
    for (int i = 0, n = world.Actors.Num(); i < n; ++i) {
        world.Actors[i]->PostLoad();
    }
    Log("Preparing lightmaps...");
    world.Services->PrepareLightmaps(world);
    Log("Sorting polygons...");
    SortWorldTriangles(level.Triangles);
    Log("Calculating location hash...");
    level.Hash.Build(level.Triangles);
    level.FarPlane = Length(level.Hash.Max() - level.Hash.Origin());
    world.Services->SetFarPlane(level.FarPlane);
    PlacePlayer(world);
    Log("Loading AmbientSounds...");
    world.Services->StartAmbientSounds(world);
    Log("Loading the music...");
    world.Services->FreeMusic();
    const std::string& song = level.Info->GetProperty("Song");
    if (!song.empty()) {
        world.Services->PlayMusic(song, ParseInt(level.Info->GetProperty("SongSection")));
    }
    Log("Creating skybox...");
    BuildSkyBox(world);
    Log("Calling BeginPlay...");
    for (int i = 0, n = world.Actors.Num(); i < n; ++i) {
        world.Actors[i]->BeginPlay();
    }
    world.LevelIntroTime = 8.0f;
    world.Services->SetWindowTitle(WindowTitle(world));
    Log("Finished loading level.");
}

} // namespace orv
