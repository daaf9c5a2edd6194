// The text drawn over the world: the heads-up display (translator box, health, the fading
// message line, the level introduction) and the loading screen, with a record of every string
// drawn, which the state dump shows.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace orv {

struct Font;
struct Renderer;
struct World;

// The two fonts loaded at start-up.
struct HudFonts {
    const Font* Large = nullptr;  // titles, the main menu, health, "LOADING"
    const Font* Medium = nullptr; // lists, options, messages
};

// The strings drawn in one frame, in drawing order.
using ScreenText = std::vector<std::string>;

// Draws the text in the current overlay colour and keeps it in the record; nothing without a font.
void DrawScreenText(Renderer& renderer, const Font* font, std::string_view text, float x, float y, float rightEdge,
                    ScreenText& record);

// The text without one pair of enclosing double quotes (only when it is at least two long).
std::string WithoutEnclosingQuotes(std::string_view text);

// The four elements of the HUD over the world frame of a screen of the renderer's size. The
// message and introduction timers run down by 1/60 for every frame drawn here.
void DrawHudElements(Renderer& renderer, const HudFonts& fonts, World& world, ScreenText& record);

// A translucent blue screen with "LOADING" in the middle, on whole pixels of a 640 x 480 grid.
void DrawLoadingOverlay(Renderer& renderer, const HudFonts& fonts, ScreenText& record);

} // namespace orv
