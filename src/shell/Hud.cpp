// The HUD and the loading screen.
#include "shell/Hud.h"

#include "render/Overlay.h"
#include "render/Renderer.h"
#include "render/Text.h"
#include "world/ActorClasses.h"
#include "world/World.h"

#include <algorithm>

namespace orv {

namespace {

// Positions are given in pixels of a 640 x 480 screen.
constexpr float Px(float pixels) { return pixels / kHudUnitPixels; }

// Text wraps here unless it has a box of its own: short of the right edge of a 4:3 screen.
constexpr float kRightEdge = 1.0f;

// The translator's box, in the middle of the screen, and its text inside with a margin.
constexpr float kTranslatorX = Px(112);
constexpr float kTranslatorY = Px(172);
constexpr float kTranslatorWidth = Px(256);
constexpr float kTranslatorHeight = Px(136);
constexpr float kTranslatorTextX = Px(130);
constexpr float kTranslatorTextY = Px(189);
constexpr float kTranslatorRightEdge = Px(351);
constexpr uint32_t kPanelColour = 0x80000000u; // black at half opacity

// Health, in the bottom-left corner whatever the screen's width.
constexpr float kHealthMargin = Px(24);
constexpr float kHealthY = Px(432);

constexpr float kMessageY = Px(420);
constexpr float kIntroTitleY = Px(51);
constexpr float kIntroAuthorY = Px(60);
constexpr float kIntroEnterTextY = Px(87);

// Both timers are drawn at full strength until their last two seconds, then fade out.
constexpr float kFadeAlphaPerSecond = 0.5f;
// The timers run down by one step's time per drawn frame, however fast frames come.
constexpr float kTimerPerFrame = 1.0f / 60.0f;

constexpr uint32_t kLoadingColour = 0x800080FFu; // a half-translucent blue

std::string InfoText(const World& world, std::string_view property) {
    const LevelInfo* info = world.CurrentLevel.Info;
    return WithoutEnclosingQuotes(info ? info->GetPropertyOr(property, "") : std::string());
}

void DrawCentred(Renderer& renderer, const Font* font, const std::string& text, float y, ScreenText& record) {
    if (font) {
        DrawScreenText(renderer, font, text, CentreX(*font, text), y, kRightEdge, record);
    }
}

} // namespace

void DrawScreenText(Renderer& renderer, const Font* font, std::string_view text, float x, float y, float rightEdge,
                    ScreenText& record) {
    if (!font) {
        return;
    }
    DrawText(renderer, *font, text, x, y, rightEdge);
    record.emplace_back(text);
}

std::string WithoutEnclosingQuotes(std::string_view text) {
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"') {
        text = text.substr(1, text.size() - 2);
    }
    return std::string(text);
}

void DrawHudElements(Renderer& renderer, const HudFonts& fonts, World& world, ScreenText& record) {
    if (!world.TranslatorText.empty()) {
        SetRenderMode(RenderMode::AlphaBlend);
        FillRect(renderer, kTranslatorX, kTranslatorY, kTranslatorWidth, kTranslatorHeight, kPanelColour);
        SetOverlayColor(1.0f, 1.0f, 1.0f, 1.0f);
        DrawScreenText(renderer, fonts.Medium, world.TranslatorText, kTranslatorTextX, kTranslatorTextY,
                       kTranslatorRightEdge, record);
    }
    if (world.Player && world.Player->Health > 0) {
        SetOverlayColor(1.0f, 1.0f, 1.0f, 1.0f);
        const float left = HudLeftEdge(renderer.ScreenWidth, renderer.ScreenHeight);
        DrawScreenText(renderer, fonts.Large, "+" + std::to_string(world.Player->Health), left + kHealthMargin, kHealthY,
                       kRightEdge, record);
    }
    if (world.HudMessageTime > 0.0f) {
        SetOverlayColor(1.0f, 1.0f, 1.0f, world.HudMessageTime * kFadeAlphaPerSecond);
        DrawCentred(renderer, fonts.Medium, world.HudMessage, kMessageY, record);
        world.HudMessageTime -= kTimerPerFrame;
    }
    if (world.LevelIntroTime > 0.0f) {
        SetOverlayColor(1.0f, 1.0f, 1.0f, world.LevelIntroTime * kFadeAlphaPerSecond);
        DrawCentred(renderer, fonts.Medium, "Map title: " + InfoText(world, "Title"), kIntroTitleY, record);
        DrawCentred(renderer, fonts.Medium, "Author: " + InfoText(world, "Author"), kIntroAuthorY, record);
        DrawCentred(renderer, fonts.Medium, InfoText(world, "LevelEnterText"), kIntroEnterTextY, record);
        world.LevelIntroTime -= kTimerPerFrame;
    }
}

void DrawLoadingOverlay(Renderer& renderer, const HudFonts& fonts, ScreenText& record) {
    const int width = renderer.ScreenWidth;
    const int height = renderer.ScreenHeight;
    SetRenderMode(RenderMode::AlphaBlend);
    FillRect(renderer, HudLeftEdge(width, height), 0.0f, static_cast<float>(width) / static_cast<float>(std::max(height, 1)),
             1.0f, kLoadingColour);
    if (!fonts.Large) {
        return;
    }
    static constexpr std::string_view kLoading = "LOADING";
    SetOverlayColor(1.0f, 1.0f, 1.0f, 1.0f);
    const float y = SnapToPixelRow(0.5f - MeasureText(*fonts.Large, kLoading).Height * 0.5f);
    DrawScreenText(renderer, fonts.Large, kLoading, CentreX(*fonts.Large, kLoading), y, kRightEdge, record);
}

} // namespace orv
