// Engine services for the world.
#include "shell/EngineServices.h"

#include "render/GlState.h"
#include "render/Renderer.h"
#include "shell/Engine.h"

namespace orv {

void EngineServices::OpenMenu(int state) { engine_.OpenMenu(state); }

void EngineServices::TakeScreenshot() { engine_.RequestScreenshot(); }

void EngineServices::PrepareLightmaps(World& world) {
    PrepareLevel(*engine_.WorldRenderer, world, *engine_.Uploader, engine_.LightmapAtlasSize,
                 engine_.Flicker.Table.data());
}

void EngineServices::SetFarPlane(float farPlane) {
    SetProjection(engine_.ScreenWidth, engine_.ScreenHeight, engine_.FOV, farPlane);
}

void EngineServices::SetWindowTitle(const std::string& title) { engine_.ScreenWindow->SetTitle(title); }

} // namespace orv
