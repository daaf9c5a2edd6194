// Engine services for the world.
#include "shell/EngineServices.h"

#include "render/GlState.h"
#include "render/Renderer.h"
#include "shell/Engine.h"
#include "world/Actor.h"

namespace orv {

// The sound log has one line a sound: the step it was asked in, the actor, the sound and the volume.
void EngineServices::PlayActorSound(Actor& actor, std::string_view soundName, float volume) {
    if (const std::string& path = engine_.options_.SoundLog; !path.empty()) {
        if (!soundLog_.is_open()) {
            soundLog_.open(path, std::ios::trunc);
        }
        soundLog_ << engine_.steps_ + 1 << ' ' << actor.Name << ' ' << soundName << ' ' << volume << '\n';
        soundLog_.flush();
    }
    engine_.audio_->PlayActorSound(actor, soundName, volume);
}

void EngineServices::FreeAmbientSounds() { engine_.audio_->FreeAmbientSounds(); }

void EngineServices::StartAmbientSounds(World&) { engine_.audio_->StartAmbientSounds(); }

void EngineServices::PlayMusic(std::string_view song, int section) { engine_.audio_->PlayMusic(song, section, false); }

void EngineServices::ChangeMusic(std::string_view song, int section, bool silence) {
    engine_.audio_->PlayMusic(song, section, silence);
}

void EngineServices::FreeMusic() { engine_.audio_->FreeMusic(); }

bool EngineServices::IsMusicLoaded() const { return engine_.audio_->IsMusicLoaded(); }

void EngineServices::SetListener(const Vector& location, const Vector& front, const Vector& top) {
    engine_.audio_->SetListener(location, front, top);
}

void EngineServices::SetUnderwater(bool underwater) { engine_.audio_->SetUnderwater(underwater); }

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
