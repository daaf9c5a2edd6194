// The engine's answers to what the world asks for: the game over screen, screenshots, the window title, the
// projection's far plane and (as they land) sound, music and the renderer's per-level work.
#pragma once

#include "world/WorldServices.h"

#include <fstream>

namespace orv {

class Engine;

class EngineServices final : public WorldServices {
public:
    explicit EngineServices(Engine& engine) : engine_(engine) {}

    // Sounds are not played yet; with --sound-log each one the world asks for is written down.
    void PlayActorSound(Actor& actor, std::string_view soundName, float volume) override;
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
