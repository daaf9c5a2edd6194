// A T3D level, read by both of its readers and then played: the level compiler's map reader, the
// engine's level loader (over Demo 2's Level Model, so the world has floors, zones and lights),
// then two seconds of steps with the player walking, turning, jumping and firing, and visiting
// every actor in turn (so each trigger, pickup, teleporter and zone gets touched). Every number
// and class the text gives reaches the engine's classes. A non-finite actor position afterwards
// is a fault: numbers from files must be refused or clamped where they enter.
#include "FuzzSupport.h"

#include "content/ClassScripts.h"
#include "content/LevelModel.h"
#include "content/Resources.h"
#include "content/Texture.h"
#include "core/ConfigFile.h"
#include "core/FixedStep.h"
#include "core/InputState.h"
#include "core/Vfs.h"
#include "MapFile.h"
#include "world/ActorClasses.h"
#include "world/LevelLoader.h"
#include "world/World.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace {

using namespace orv;

constexpr int kPlaySteps = 120;
constexpr int kStepsPerVisit = 4;

struct Game {
    Game() {
        fuzz::Setup();
        fuzz::InGameTree inTree;
        ConfigLoad(config, "Orvane.ini");
        LoadFallbackTexture(res);
        LoadClassDefaults(res);
        levelPath = fuzz::ScratchDir() + "/FuzzLevel.t3d";
        // Demo 2's Level Model without its surfaces' textures: decoding pictures on every run
        // would take most of the time and test nothing the picture target does not.
        LevelModel model;
        LoadLevelModel(model, "Maps/Demo2.bsp", [](std::string_view) { return nullptr; });
        for (Surface& surface : model.Surfaces) {
            surface.TextureName.clear();
        }
        const std::vector<uint8_t> bytes = WriteLevelModel(model);
        WriteWholeFile(fuzz::ScratchDir() + "/FuzzLevel.bsp", std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
        FreeLevelModel(model);
    }
    Resources res;
    ConfigTable config;
    std::string levelPath;
};

bool Finite(const Vector& v) { return std::isfinite(v.X) && std::isfinite(v.Y) && std::isfinite(v.Z); }

void Play(World& world, InputState& input) {
    // The keys change every quarter second: forward, sideways, turning, jumping, firing.
    static constexpr int kKeys[] = {kKeyW, kKeyA, kKeyD, kKeyS, kKeyLeft, kKeyRight, kKeySpace, kKeyCtrl};
    for (int step = 0; step < kPlaySteps && world.PendingLevel.empty(); ++step) {
        if (step % 15 == 0) {
            input.ReleaseAll();
            input.SetKey(kKeys[(step / 15) % std::size(kKeys)], true);
            input.SetKey(kKeyW, true);
        }
        const int visit = step / kStepsPerVisit;
        if (step % kStepsPerVisit == 0 && world.Player && visit < world.Actors.Num()) {
            const Actor& actor = *world.Actors[visit];
            if (&actor != world.Player && !actor.bDeleteMe) {
                MoveActorTo(*world.Player, actor.Location);
            }
        }
        UpdateActors(world, kStepDeltaTime);
        input.EndStep();
        world.GameTime += kStepSeconds;
    }
    for (const auto& actor : world.Actors) {
        if (!Finite(actor->Location) || !Finite(actor->Velocity)) {
            std::fprintf(stderr, "%s (%s) ended at a non-finite place or speed\n", actor->Name.c_str(),
                         actor->Class.c_str());
            std::abort();
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static Game game;
    fuzz::InGameTree inTree;
    const std::string_view text = fuzz::AsText(data, size);
    fuzz::Guarded([&] { ParseMap(text, "FuzzLevel.t3d"); });
    if (!WriteWholeFile(game.levelPath, text)) {
        std::abort();
    }
    World world(game.res, game.config);
    WorldServices services;
    InputState input;
    world.Services = &services;
    world.Input = &input;
    fuzz::Guarded([&] {
        CreatePlayerPawn(world);
        LoadLevel(world, game.levelPath, false);
        Play(world, input);
    });
    return 0;
}
