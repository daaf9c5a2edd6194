// The engine's answers to what the world asks for: the game over screen, screenshots, the window title, the
// projection's far plane and (as they land) sound, music and the renderer's per-level work.
#pragma once

#include "world/WorldServices.h"

namespace orv {

class Engine;

class EngineServices final : public WorldServices {
public:
    explicit EngineServices(Engine& engine) : engine_(engine) {}

    void GameOver() override;
    void TakeScreenshot() override;
    void PrepareLightmaps(World& world) override;
    void SetFarPlane(float farPlane) override;
    void SetWindowTitle(const std::string& title) override;

private:
    Engine& engine_;
};

} // namespace orv
