// The menus as the engine runs them: every change of screen (OpenMenu), the keys and clicks of a
// step (MenuInput), and the flat screens drawn over the world: the menus, the HUD and the loading
// screen.
#include "shell/Engine.h"

#include "core/ConfigFile.h"
#include "core/Log.h"
#include "render/Overlay.h"
#include "shell/MenuDraw.h"
#include "world/ActorClasses.h"

namespace orv {

namespace {

// The menus' sounds, played as the player's own.
constexpr const char* kSelectSound = "UnrealShare.Menu.Select4";
constexpr float kSelectVolume = 1.0f;
constexpr const char* kMoveSound = "UnrealShare.Menu.Updown3";
constexpr float kMoveVolume = 0.5f;

// The level's "Author" as stored, quotes and all; empty without a LevelInfo.
std::string LevelAuthor(const World& world) {
    const LevelInfo* info = world.CurrentLevel.Info;
    return info ? info->GetPropertyOr("Author", "") : std::string();
}

} // namespace

void Engine::OpenMenu(MenuState state) {
    if (state != MenuState::GameOver && world_.Player) {
        world_.Services->PlayActorSound(*world_.Player, kSelectSound, kSelectVolume);
    }
    if (state == MenuState::Playing) {
        // The pointer goes back where play left it, so the view does not jump.
        input_.SetMousePosition(savedCursorX_, savedCursorY_);
        window_->WarpMouse(savedCursorX_, savedCursorY_);
        window_->SetCursorHidden(true);
        window_->SetCursorConfined(true);
    } else {
        if (menu_ == MenuState::Playing) {
            savedCursorX_ = input_.MouseX();
            savedCursorY_ = input_.MouseY();
        }
        // The pointer stays hidden; the real one is put where the engine has it, so that the
        // highlight follows it from there (MenuPointer).
        window_->SetCursorConfined(false);
        window_->WarpMouse(input_.MouseX(), input_.MouseY());
    }
    // A new screen keeps its first line highlighted until the pointer moves.
    menuPointerX_ = input_.MouseX();
    menuPointerY_ = input_.MouseY();
    if (menu_ == MenuState::Options) {
        // The old file stays whole when the save fails; the player should still hear of it.
        if (!ConfigSave(config_, ConfigFileName())) {
            Log("Can't save the settings to \"" + ConfigFileName() + "\"; the file keeps its old contents.");
        }
    }
    menu_ = state;
    menus_.Selection = 0;
    if (state == MenuState::Options) {
        menus_.Options.DisplayModeList = BuildDisplayModes(window_->DisplayModes());
        PickOptionStarts(menus_.Options, config_);
    }
    menus_.Items = MenuLines(state, LevelAuthor(world_));
}

void Engine::PlayMenuMoveSound() {
    if (world_.Player) {
        world_.Services->PlayActorSound(*world_.Player, kMoveSound, kMoveVolume);
    }
}

void Engine::MenuInput() {
    for (const auto& [key, step] : {std::pair{kKeyUp, -1}, std::pair{kKeyDown, 1}}) {
        // An empty level list has no line to move to.
        if (input_.KeyEdge(key) && !menus_.Items.empty()) {
            PlayMenuMoveSound();
            menus_.Selection = MoveSelection(menus_.Selection, step, menus_.Items.size());
        }
    }
    MenuPointer();
    if (input_.KeyEdge(kKeyEnter)) {
        MenuEnter();
    }
    if (input_.KeyEdge(kKeyEscape)) {
        MenuEscape();
    }
    if (menu_ == MenuState::Options) {
        int step = 0;
        if (input_.KeyEdge(kKeyRight)) {
            step = 1;
        }
        if (input_.KeyEdge(kKeyLeft)) {
            step = -1; // both at once: Left wins
        }
        if (step != 0) {
            StepSelectedOption(step);
        }
    }
    MenuClick();
}

void Engine::MenuEnter() {
    switch (menu_) {
    case MenuState::GameOver: Shutdown();
    case MenuState::Main:
        switch (static_cast<MainMenuLine>(menus_.Selection)) {
        case MainMenuLine::NewGame: OpenMenu(MenuState::LevelSelect); break;
        case MainMenuLine::Options: OpenMenu(MenuState::Options); break;
        case MainMenuLine::Credits: OpenMenu(MenuState::Credits); break;
        case MainMenuLine::Exit: Shutdown();
        }
        break;
    case MenuState::LevelSelect:
        // An empty list has no level to load: Enter does nothing there.
        if (menus_.Selection >= 0 && menus_.Selection < static_cast<int32_t>(menus_.Items.size())) {
            world_.PendingLevel = "Maps\\" + menus_.Items[menus_.Selection] + ".t3d";
            OpenMenu(MenuState::Playing);
        }
        break;
    case MenuState::Options:
        // The screen settings take effect at the next start.
        WriteScreenSettings(menus_.Options, config_);
        OpenMenu(MenuState::Main);
        break;
    case MenuState::Credits: OpenMenu(MenuState::Main); break;
    case MenuState::Playing: break;
    }
}

void Engine::MenuEscape() {
    switch (menu_) {
    case MenuState::GameOver: Shutdown();
    case MenuState::Main: OpenMenu(MenuState::Playing); break;
    case MenuState::LevelSelect:
    case MenuState::Options:
    case MenuState::Credits: OpenMenu(MenuState::Main); break;
    case MenuState::Playing: break;
    }
}

void Engine::StepSelectedOption(int step) {
    if (menus_.Selection < 0 || menus_.Selection >= kNumOptionRows) {
        return;
    }
    switch (StepOption(menus_.Options, config_, static_cast<OptionRow>(menus_.Selection), step)) {
    case OptionEffect::ApplyGamma: ApplyGamma(menus_.Options.Gamma); break;
    case OptionEffect::SetSoundVolume: audio_->SetSoundVolume(menus_.Options.SoundVolume); break;
    case OptionEffect::SetMusicVolume: audio_->SetMusicVolume(menus_.Options.MusicVolume); break;
    case OptionEffect::None: break;
    }
}

// The pointer is hidden in the menus as in play, so the highlight shows where it is: moving it
// over a line highlights that line, with the sound of the arrow keys. A pointer at rest leaves
// the highlight to the keys.
void Engine::MenuPointer() {
    const int x = input_.MouseX();
    const int y = input_.MouseY();
    if (x == menuPointerX_ && y == menuPointerY_) {
        return;
    }
    menuPointerX_ = x;
    menuPointerY_ = y;
    const int line = PointedMenuLine();
    if (line >= 0 && line != menus_.Selection) {
        PlayMenuMoveSound();
        menus_.Selection = line;
    }
}

int Engine::PointedMenuLine() const {
    if (!input_.MouseAvailable() || screenHeight_ <= 0 || menu_ == MenuState::GameOver || menu_ == MenuState::Credits) {
        return -1;
    }
    const float height = static_cast<float>(screenHeight_);
    const float x = HudLeftEdge(screenWidth_, screenHeight_) + static_cast<float>(input_.MouseX()) / height;
    const float y = static_cast<float>(input_.MouseY()) / height;
    return MenuLineAt(menu_, menus_, Fonts(), x, y);
}

// A left click on a line acts as Enter on it; on an options row it steps the row like Right,
// a right click like Left. The credits go back with any left click; the game over screen waits
// for its key, so that a shot fired as the player dies does not end the program.
void Engine::MenuClick() {
    const bool left = input_.ButtonEdge(MouseButton::Left);
    const bool right = input_.ButtonEdge(MouseButton::Right);
    if ((!left && !right) || !input_.MouseAvailable() || menu_ == MenuState::GameOver || screenHeight_ <= 0) {
        return;
    }
    if (menu_ == MenuState::Credits) {
        if (left) {
            MenuEnter();
        }
        return;
    }
    const int line = PointedMenuLine();
    if (line < 0) {
        return;
    }
    menus_.Selection = line;
    if (menu_ == MenuState::Options) {
        StepSelectedOption(left ? 1 : -1);
    } else if (left) {
        MenuEnter();
    }
}

void Engine::DrawMenu() {
    BeginOverlay(*renderer_, screenWidth_, screenHeight_, fov_);
    DrawMenuOverlay(*renderer_, Fonts(), menu_, menus_, config_, screenText_);
}

void Engine::DrawHud() {
    BeginOverlay(*renderer_, screenWidth_, screenHeight_, fov_);
    DrawHudElements(*renderer_, Fonts(), world_, screenText_);
}

// Drawn by LoadLevel before the old level goes: that level's last view under a blue veil. It is
// a presented frame of the step that loads, so a screenshot due at that step shows it.
void Engine::DrawLoadingScreen() {
    if (!largeFont_) {
        return; // start-up has no fonts yet: the logo is still showing
    }
    FollowWindowSize();
    DrawWorldFrame();
    screenText_.clear();
    BeginOverlay(*renderer_, screenWidth_, screenHeight_, fov_);
    DrawLoadingOverlay(*renderer_, Fonts(), screenText_);
    TakeDueScreenshots(steps_ + 1);
    window_->Present();
}

} // namespace orv
