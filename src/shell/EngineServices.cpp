// Engine services for the world.
#include "shell/EngineServices.h"

#include "render/GlState.h"
#include "render/Renderer.h"
#include "shell/Engine.h"
#include "world/Actor.h"

namespace orv {

// One line a sound: the step it was asked in, the actor, the sound and the volume.
void EngineServices::PlayActorSound(Actor& actor, std::string_view soundName, float volume) {
    const std::string& path = engine_.options_.SoundLog;
    if (path.empty()) {
        return;
    }
    if (!soundLog_.is_open()) {
        soundLog_.open(path, std::ios::trunc);
    }
    soundLog_ << engine_.steps_ + 1 << ' ' << actor.Name << ' ' << soundName << ' ' << volume << '\n';
    soundLog_.flush();
}

void EngineServices::GameOver() { engine_.OpenMenu(MenuState::GameOver); }

void EngineServices::TakeScreenshot() { ++engine_.screenshotsRequested_; }

void EngineServices::DrawLoadingScreen() { engine_.DrawLoadingScreen(); }

void EngineServices::PrepareLightmaps(World& world) {
    PrepareLevel(*engine_.renderer_, world, *engine_.uploader_, engine_.lightmapAtlasSize_, engine_.flicker_.Table.data());
}

void EngineServices::SetFarPlane(float farPlane) {
    SetProjection(engine_.screenWidth_, engine_.screenHeight_, engine_.fov_, farPlane);
}

void EngineServices::SetWindowTitle(const std::string& title) { engine_.window_->SetTitle(title); }

} // namespace orv
