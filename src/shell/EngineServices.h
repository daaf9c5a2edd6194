// The engine's answers to what the world asks for: sound and music, the game over screen, screenshots, the
// window title, the projection's far plane and the renderer's per-level work.
#pragma once

#include "world/WorldServices.h"

#include <fstream>

namespace orv {

class Engine;

class EngineServices final : public WorldServices {
public:
    explicit EngineServices(Engine& engine) : engine_(engine) {}

    // Played, and with --sound-log written down, each sound the world asks for.
    void PlayActorSound(Actor& actor, std::string_view soundName, float volume) override;
    void FreeAmbientSounds() override;
    void StartAmbientSounds(World& world) override;
    void PlayMusic(std::string_view song, int section) override;
    void ChangeMusic(std::string_view song, int section, bool silence) override;
    void FreeMusic() override;
    bool IsMusicLoaded() const override;
    void SetListener(const Vector& location, const Vector& front, const Vector& top) override;
    void SetUnderwater(bool underwater) override;
    void GameOver() override;
    void TakeScreenshot() override;
    void DrawLoadingScreen() override;
    void PrepareLightmaps(World& world) override;
    void SetFarPlane(float farPlane) override;
    void SetWindowTitle(const std::string& title) override;

private:
    Engine& engine_;
    std::ofstream soundLog_;
};

} // namespace orv
