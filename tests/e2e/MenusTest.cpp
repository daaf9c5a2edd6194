// The menus and the HUD through the real program, driven by scripted keys and clicks on a small
// level of their own: the HUD with a message and the translator, the main menu, the options and
// the loading screen like their reference pictures; a level chosen from the list loads; options
// changed with the arrows are in Orvane.ini after leaving, every other line as it was.
#include "GameCopy.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace orv {
namespace {

using test::ExpectLikeReference;
using test::GameCopy;
using test::ProgramRun;

constexpr const char* kIni = "; Settings of the menu tests\r\nScreenWidth=384\r\nScreenHeight=216\r\nScreenMode=Windowed\r\n"
                             "FOV=90\r\nGamma=1.0\r\nMouseSensitivity=40\r\nWhatever=kept\r\nGodMode=false\r\n\r\n"
                             "SoundVolume=0.8\r\nMusicVolume=0.6\r\nInitialLevel=Hall\r\n";

// A floor with a translator message and a trigger for a HUD message at the player start, and a
// second level beside it in the list.
void WriteLevels(const GameCopy& game) {
    test::WriteFloorModel(game, "Hall");
    test::WriteFloorModel(game, "Yard");
    game.Write("Maps/Yard.t3d", "Begin Map\nBegin Actor Class=LevelInfo Name=LevelInfo0\nEnd Actor\n"
                                "Begin Actor Class=PlayerStart Name=PlayerStart0\n    Location=(Z=48)\nEnd Actor\nEnd Map\n");
    game.Write("Maps/Hall.t3d", R"(Begin Map
Begin Actor Class=LevelInfo Name=LevelInfo0
    Title="The Menu Hall"
    Author="Ann Author"
    LevelEnterText="Press Escape for the menus"
End Actor
Begin Actor Class=PlayerStart Name=PlayerStart0
    Location=(Z=48)
End Actor
Begin Actor Class=TranslatorEvent Name=TranslatorEvent0
    Message="This translator message is long enough to wrap inside its box, mid-word where it must."
End Actor
Begin Actor Class=Trigger Name=Trigger0
    Event=shout
End Actor
Begin Actor Class=SpecialEvent Name=SpecialEvent0
    Tag=shout
    InitialState=DisplayMessage
    Message="You found the menu hall"
End Actor
End Map
)");
}

// Each key pressed for one step, from the first step on, four steps apart.
std::string Keys(int step, const std::vector<std::string>& keys) {
    std::string script;
    for (const std::string& key : keys) {
        script += std::to_string(step) + " key " + key + " down\n" + std::to_string(step + 1) + " key " + key + " up\n";
        step += 4;
    }
    return script;
}

class MenusRun : public ::testing::Test {
protected:
    void SetUp() override {
        REQUIRE_PROGRAM(game_);
        WriteLevels(game_);
        game_.Write("Orvane.ini", kIni);
    }
    Image Shot(int n) const { return test::LoadPicture(game_.Path() / ("Shot000" + std::to_string(n) + ".png")); }

    GameCopy game_{false};
};

TEST_F(MenusRun, HudMenusAndLoadingLookLikeTheirReferencesAndAClickedLevelLoads) {
    // The HUD at step 30; the main menu at 45; the options at 60; back, then NEW GAME clicked
    // (the pointer starts in the middle of the screen), Down to Yard and Enter: it loads at step 86.
    const std::string script = Keys(40, {"Escape"}) + Keys(50, {"Down", "Enter"}) + Keys(70, {"Escape"}) +
                               "75 mouse 0 -76\n76 button left down\n77 button left up\n" + Keys(81, {"Down", "Enter"});
    const ProgramRun run = game_.Play("Hall", 100, script,
                                      "--screenshot-at 30 --screenshot-at 45 --screenshot-at 60 --screenshot-at 86");
    ASSERT_EQ(run.ExitCode, 0) << run.Output << run.Errors;
    EXPECT_EQ(run.Dump.State["Level"], "Yard");
    EXPECT_EQ(run.Dump.State["MenuState"], 0);
    // The HUD over Yard: the health, then its introduction from the class defaults, quotes removed.
    const std::vector<std::string> hud = run.Dump.State["ScreenText"];
    ASSERT_GE(hud.size(), 4u);
    EXPECT_NE(std::find(hud.begin(), hud.end(), "+100"), hud.end());
    EXPECT_EQ(std::vector(hud.end() - 3, hud.end()), (std::vector<std::string>{"Map title: Untitled", "Author: Anonymous", ""}));

    ExpectLikeReference(Shot(0), "menus-hud");
    Image mainMenu = Shot(1);
    // The build stamp in the top-left corner changes with every build.
    std::fill(mainMenu.Pixels.begin(), mainMenu.Pixels.begin() + 12 * mainMenu.Width, 0xFF000000u);
    ExpectLikeReference(mainMenu, "menus-main");
    ExpectLikeReference(Shot(2), "menus-options");
    ExpectLikeReference(Shot(3), "menus-loading");
}

TEST_F(MenusRun, OptionsChangedWithTheArrowsAreSavedWithEveryOtherLineKept) {
    // To the options; the resolution changed (not saved by Escape), brightness up twice, the
    // field of view down, god mode on, the sound volume down; Escape; then the credits.
    const std::string script = Keys(10, {"Escape", "Down", "Enter", "Right", "Down", "Down", "Down", "Right", "Right", "Down",
                                         "Left", "Down", "Down", "Right", "Down", "Down", "Down", "Left", "Escape", "Down",
                                         "Down", "Enter"});
    const ProgramRun run = game_.Play("Hall", 110, script);
    ASSERT_EQ(run.ExitCode, 0) << run.Output << run.Errors;
    std::string ini;
    ASSERT_TRUE(ReadWholeFile((game_.Path() / "Orvane.ini").string(), ini));
    std::string want = kIni;
    for (const auto& [from, to] : {std::pair{"Gamma=1.0", "Gamma=1.2"}, std::pair{"FOV=90", "FOV=85"},
                                   std::pair{"GodMode=false", "GodMode=true"}, std::pair{"SoundVolume=0.8", "SoundVolume=0.7"}}) {
        want.replace(want.find(from), std::string(from).size(), to);
    }
    EXPECT_EQ(ini, want);

    EXPECT_EQ(run.Dump.State["MenuState"], 5);
    const nlohmann::json& credits = run.Dump.State["MenuItems"];
    ASSERT_FALSE(credits.empty());
    EXPECT_EQ(credits.back(), "     \"Ann Author\""); // the author as the level stores it
}

} // namespace
} // namespace orv
