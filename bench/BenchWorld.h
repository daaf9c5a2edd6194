// Worlds for the benchmarks: a level of the built game tree loaded as the program loads it, and
// the timing of level loads from a folder of the benchmark's own.
#pragma once

#include "content/Resources.h"
#include "core/ConfigFile.h"
#include "core/Log.h"
#include "core/Vfs.h"
#include "render/Renderer.h"
#include "world/ActorClasses.h"
#include "world/LevelLoader.h"
#include "world/World.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace orv::bench {

constexpr int kBenchAtlasSize = 2048;

struct GameLevel {
    Resources Res;
    ConfigTable Config;
    std::unique_ptr<World> Scene;
    std::unique_ptr<Renderer> Render; // with an uploader only: the level prepared for drawing
};

// Maps\<level>.t3d of the built game tree with its class scripts and the player, the settings
// given set first; with an uploader its textures go to OpenGL and the renderer prepares the level
// (a 2048-texel lightmap atlas). Null when the build has not generated that level.
inline std::unique_ptr<GameLevel> LoadBuiltLevel(const std::string& level,
                                                 const std::vector<std::pair<std::string, std::string>>& settings = {},
                                                 TextureUploader* uploader = nullptr) {
    std::error_code ec;
    if (!std::filesystem::exists(std::filesystem::path(ORV_GAME_DIR) / "Maps" / (level + ".bsp"), ec)) {
        return nullptr;
    }
    SetWorkingDirectory(ORV_GAME_DIR);
    auto d = std::make_unique<GameLevel>();
    if (uploader) {
        d->Res.Uploader = uploader;
        d->Res.Config = &d->Config;
    }
    d->Scene = std::make_unique<World>(d->Res, d->Config);
    for (const auto& [key, value] : settings) {
        ConfigSet(d->Config, key, value);
    }
    SetLogToConsole(false);
    LoadFallbackTexture(d->Res);
    AddFallbackMesh(d->Res);
    LoadClassDefaults(d->Res);
    CreatePlayerPawn(*d->Scene);
    LoadLevel(*d->Scene, "Maps\\" + level + ".t3d", false);
    if (uploader) {
        d->Render = CreateRenderer();
        PrepareLevel(*d->Render, *d->Scene, *uploader, kBenchAtlasSize);
    }
    SetLogToConsole(true);
    return d;
}

// Times LoadLevel of dir/Maps/<name>.t3d (written by the caller with its .bsp) in a bare world,
// then removes dir.
inline void TimeLevelLoads(benchmark::State& state, const std::filesystem::path& dir, const std::string& name) {
    Resources res;
    ConfigTable config;
    World world(res, config);
    CreatePlayerPawn(world);
    const std::string path = (dir / "Maps" / (name + ".t3d")).string();
    SetLogToConsole(false);
    for (auto _ : state) {
        LoadLevel(world, path, false);
        benchmark::DoNotOptimize(world.Actors.Num());
    }
    SetLogToConsole(true);
    state.counters["actors"] = world.Actors.Num();
    std::filesystem::remove_all(dir);
}

} // namespace orv::bench
