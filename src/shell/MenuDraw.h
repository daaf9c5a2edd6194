// Drawing the menu screens over the world (a translucent panel, the title, the lines, the
// options' values, the build stamp on the main menu) and finding the line under the pointer.
#pragma once

#include "core/ConfigFile.h"
#include "shell/Hud.h"
#include "shell/MenuScreens.h"
#include "shell/MenuState.h"

namespace orv {

struct Renderer;

// Draws the screen showing (anything but Playing) for the renderer's screen size.
void DrawMenuOverlay(Renderer& renderer, const HudFonts& fonts, MenuState state, const MenuScreen& screen,
                     const ConfigTable& config, ScreenText& record);

// The line of the screen drawn at HUD point (x, y), or -1 outside the panel or past the lines.
int MenuLineAt(MenuState state, const MenuScreen& screen, const HudFonts& fonts, float x, float y);

} // namespace orv
