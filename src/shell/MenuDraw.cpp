// The menu screens on the panel.
#include "shell/MenuDraw.h"

#include "content/Font.h"
#include "render/Overlay.h"
#include "render/Renderer.h"
#include "shell/Version.h"

#include <cmath>

namespace orv {

namespace {

// Positions are given in pixels of a 640 x 480 screen.
constexpr float Px(float pixels) { return pixels / kHudUnitPixels; }

// The panel: a translucent black band down the middle of a 4:3 screen, over its full height.
constexpr float kPanelX = Px(112);
constexpr float kPanelWidth = Px(256);
constexpr uint32_t kPanelColour = 0x80000000u;

constexpr float kRightEdge = 1.0f;

// Lines of every screen but the options, one font line apart.
constexpr float kLineX = Px(145);
constexpr float kFirstLineY = Px(58);

// The options: a label column and a value column, on rows 19 pixels apart.
constexpr float kLabelX = Px(120);
constexpr float kValueX = Px(280);
constexpr float kFirstRowY = Px(37);
constexpr float kRowHeight = Px(19);

constexpr float kStampMargin = Px(5); // from the screen's top-left corner

// The selected line white, the others grey.
constexpr float kUnselectedGrey = 0.5f;

struct Title {
    const char* Text;
    float X;
    float Y;
};

// The main menu and the game over screen have none.
const Title* TitleOf(MenuState state) {
    static constexpr Title kLevelSelect{"SELECT LEVEL", Px(164), Px(8)};
    static constexpr Title kOptions{"OPTIONS MENU", Px(150), 0.0f};
    static constexpr Title kCredits{"CREDITS", Px(184), Px(8)};
    switch (state) {
    case MenuState::LevelSelect: return &kLevelSelect;
    case MenuState::Options: return &kOptions;
    case MenuState::Credits: return &kCredits;
    default: return nullptr;
    }
}

// The main menu and game over in the large font, the lists in the medium one.
const Font* LineFont(MenuState state, const HudFonts& fonts) {
    return state == MenuState::Main || state == MenuState::GameOver ? fonts.Large : fonts.Medium;
}

void SetLineColour(MenuState state, const MenuScreen& screen, int line) {
    const bool white = state == MenuState::Credits || line == screen.Selection;
    const float c = white ? 1.0f : kUnselectedGrey;
    SetOverlayColor(c, c, c, 1.0f);
}

void DrawOptionRows(Renderer& renderer, const HudFonts& fonts, const MenuScreen& screen, const ConfigTable& config,
                    ScreenText& record) {
    for (int i = 0; i < static_cast<int>(screen.Items.size()) && i < kNumOptionRows; ++i) {
        const float y = static_cast<float>(i) * kRowHeight + kFirstRowY;
        SetLineColour(MenuState::Options, screen, i);
        DrawScreenText(renderer, fonts.Medium, screen.Items[i], kLabelX, y, kRightEdge, record);
        DrawScreenText(renderer, fonts.Medium, OptionValueText(screen.Options, config, static_cast<OptionRow>(i)), kValueX,
                       y, kRightEdge, record);
    }
}

void DrawLines(Renderer& renderer, const Font* font, MenuState state, const MenuScreen& screen, ScreenText& record) {
    if (!font) {
        return;
    }
    const float lineHeight = static_cast<float>(font->Height) / kHudUnitPixels;
    for (int i = 0; i < static_cast<int>(screen.Items.size()); ++i) {
        SetLineColour(state, screen, i);
        DrawScreenText(renderer, font, screen.Items[i], kLineX, static_cast<float>(i) * lineHeight + kFirstLineY,
                       kRightEdge, record);
    }
    if (state == MenuState::LevelSelect && screen.Items.empty()) {
        // Nothing to choose: say why rather than show an empty panel.
        SetOverlayColor(kUnselectedGrey, kUnselectedGrey, kUnselectedGrey, 1.0f);
        DrawScreenText(renderer, font, "No levels in the Maps folder", kLineX, kFirstLineY, kRightEdge, record);
    }
}

} // namespace

void DrawMenuOverlay(Renderer& renderer, const HudFonts& fonts, MenuState state, const MenuScreen& screen,
                     const ConfigTable& config, ScreenText& record) {
    SetRenderMode(RenderMode::AlphaBlend);
    FillRect(renderer, kPanelX, 0.0f, kPanelWidth, 1.0f, kPanelColour);
    if (const Title* title = TitleOf(state)) {
        SetOverlayColor(1.0f, 1.0f, 1.0f, 1.0f);
        DrawScreenText(renderer, fonts.Large, title->Text, title->X, title->Y, kRightEdge, record);
    }
    if (state == MenuState::Options) {
        DrawOptionRows(renderer, fonts, screen, config, record);
    } else {
        DrawLines(renderer, LineFont(state, fonts), state, screen, record);
    }
    if (state == MenuState::Main) {
        SetOverlayColor(1.0f, 1.0f, 1.0f, 1.0f);
        const float left = HudLeftEdge(renderer.ScreenWidth, renderer.ScreenHeight);
        DrawScreenText(renderer, fonts.Medium, BuildStamp(), left + kStampMargin, kStampMargin, kRightEdge, record);
    }
}

int MenuLineAt(MenuState state, const MenuScreen& screen, const HudFonts& fonts, float x, float y) {
    if (x < kPanelX || x >= kPanelX + kPanelWidth) {
        return -1;
    }
    float top = kFirstLineY;
    float height = kRowHeight;
    if (state == MenuState::Options) {
        top = kFirstRowY;
    } else if (const Font* font = LineFont(state, fonts); font && font->Height > 0) {
        height = static_cast<float>(font->Height) / kHudUnitPixels;
    } else {
        return -1;
    }
    const float line = std::floor((y - top) / height);
    return line >= 0.0f && line < static_cast<float>(screen.Items.size()) ? static_cast<int>(line) : -1;
}

} // namespace orv
