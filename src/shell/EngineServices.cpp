// Engine services for the world.
#include "shell/EngineServices.h"

#include "render/GlState.h"
#include "render/Renderer.h"
#include "shell/Engine.h"

namespace orv {

void EngineServices::GameOver() { engine_.OpenMenu(MenuState::GameOver); }

void EngineServices::TakeScreenshot() { ++engine_.screenshotsRequested_; }

void EngineServices::PrepareLightmaps(World& world) {
    PrepareLevel(*engine_.renderer_, world, *engine_.uploader_, engine_.lightmapAtlasSize_, engine_.flicker_.Table.data());
}

void EngineServices::SetFarPlane(float farPlane) {
    SetProjection(engine_.screenWidth_, engine_.screenHeight_, engine_.fov_, farPlane);
}

void EngineServices::SetWindowTitle(const std::string& title) { engine_.window_->SetTitle(title); }

} // namespace orv
