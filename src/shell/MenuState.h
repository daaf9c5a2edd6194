// The screens of the menus. The engine holds the one showing and owns every change between them;
// the world never sees it (the player's death reaches the engine as WorldServices::GameOver).
#pragma once

#include <cstdint>

namespace orv {

// The numbers are the "MenuState" values of the --dump state line.
enum class MenuState : int32_t {
    Playing = 0,     // no menu: the world runs and the game clock advances
    GameOver = 1,    // after the player's death; leaving it ends the program
    Main = 2,        // Escape while playing opens it, Escape again resumes play
    LevelSelect = 3,
    Options = 4,     // leaving it, for whatever screen, saves the settings
    Credits = 5,
};

} // namespace orv
