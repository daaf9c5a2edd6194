// Demo 1 as the player sees it: the real program draws fixed views headless (SDL offscreen,
// Mesa llvmpipe) and saves them with --screenshot-at. The pictures are checked for what must
// hold in any frame (no clear colour where walls are, the sky through the court's sky portals,
// a door as bright as its walls, monsters drawn and animating, additive sprites brightening)
// and compared with reference pictures within a tolerance.
#include "GameCopy.h"
#include "content/ProceduralTexture.h"
#include "core/BinaryReader.h"
#include "core/Vector.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace orv {
namespace {

namespace fs = std::filesystem;
using test::Channel;
using test::ExpectLikeReference;
using test::GameCopy;


// What a view where geometry covers the screen may show of the clear colour: a few pixels
// along the seams of polygons.
constexpr double kSeamFraction = 0.002;

// The fraction of pixels that are exactly the clear colour, black.
double ClearFraction(const Image& p) {
    const auto black = std::count_if(p.Pixels.begin(), p.Pixels.end(), [](uint32_t c) { return (c & 0xFFFFFF) == 0; });
    return double(black) / double(p.Pixels.size());
}

// Draws a view of Demo 1 from a start, after some steps of scripted keys.
Image DrawView(GameCopy& game, double x, double y, double z, int yaw, const std::string& script, int shotStep) {
    game.SetPlayerStart("Demo1", x, y, z, yaw);
    fs::remove(game.Path() / "Shot0000.png");
    game.Play("Demo1", shotStep + 1, script, "--screenshot-at " + std::to_string(shotStep));
    return test::LoadPicture(game.Path() / "Shot0000.png");
}

// Mean of the three channels over a rectangle of the picture.
double MeanLevel(const Image& p, int x0, int y0, int x1, int y1) {
    double sum = 0;
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) {
            sum += Channel(p.At(x, y), 0) + Channel(p.At(x, y), 1) + Channel(p.At(x, y), 2);
        }
    }
    return sum / (3.0 * (x1 - x0) * (y1 - y0));
}

TEST(Demo1Pictures, TheHallFromTheStartIsAllWallsItsDoorLitLikeThemAndLikeItsReference) {
    GameCopy game;
    REQUIRE_PROGRAM(game);
    const Image hall = DrawView(game, 96, 384, 40, 0, "", 20);
    ASSERT_FALSE(hall.IsEmpty());
    EXPECT_EQ(hall.Width, 320);
    EXPECT_LT(ClearFraction(hall), kSeamFraction); // a closed room: geometry everywhere
    // The closed door straight ahead against the wall on either side of it: as bright within a
    // factor, neither a dark slab nor glowing.
    const double door = MeanLevel(hall, 152, 110, 168, 128);
    const double walls = (MeanLevel(hall, 112, 85, 140, 130) + MeanLevel(hall, 178, 85, 198, 130)) / 2;
    EXPECT_GT(door, walls * 0.7) << "door " << door << ", walls " << walls;
    EXPECT_LT(door, walls * 1.6) << "door " << door << ", walls " << walls;
    ExpectLikeReference(hall, "demo1-hall");
}

// Every generated monster mesh in a row across the hall, facing the start, with a translucent
// sprite in front of the far wall and an explosion half-way between two of its frames.
TEST(Demo1Pictures, EveryMonsterInTheHallIsDrawnAndAnimatesSpritesAddLight) {
    GameCopy game;
    REQUIRE_PROGRAM(game);
    const char* monsters[] = {"Brute", "Skaarj", "Manta", "DevilFish", "Tentacle", "Bird1"};
    for (int i = 0; i < 6; ++i) {
        game.AddActor("Demo1", std::string("Begin Actor Class=") + monsters[i] + " Name=Lineup" + std::to_string(i) +
                                   "\n    Location=(X=420,Y=" + std::to_string(184 + 80 * i) +
                                   ",Z=60)\n    Rotation=(Yaw=32768)\nEnd Actor");
    }
    game.AddActor("Demo1", "Begin Actor Class=Actor Name=GlowSprite\n    Location=(X=250,Y=384,Z=160)\n"
                           "    Texture=UnrealShare.Effect1.FireEffect1u\n    Style=STY_Translucent\n    DrawScale=1.5\nEnd Actor");
    std::string blast = "Begin Actor Class=Explosion Name=Blast\n    Location=(X=250,Y=470,Z=160)\n    NumFrames=10\n"
                        "    Pause=0.5\n    SpriteTime=0.75\n    DrawScale=1.5\n    Style=STY_Translucent\n";
    for (int k = 0; k < 10; ++k) {
        blast += "    SpriteAnim(" + std::to_string(k) + ")=UnrealShare.DispExpl.dseb_A0" + std::to_string(k) + "\n";
    }
    game.AddActor("Demo1", blast + "End Actor");
    game.SetPlayerStart("Demo1", 96, 384, 40, 0);
    game.Play("Demo1", 41, "", "--screenshot-at 10 --screenshot-at 40");
    const Image a = test::LoadPicture(game.Path() / "Shot0000.png");
    const Image b = test::LoadPicture(game.Path() / "Shot0001.png");
    const Image hall = test::LoadPicture(test::SourceDir() / "tests" / "e2e" / "reference" / "demo1-hall.png");
    ASSERT_FALSE(a.IsEmpty() || b.IsEmpty() || hall.IsEmpty());
    // The row 324 units ahead: screen x = 160 + 160 * (Y - 384) / (324 * tan of half the 80 degree
    // field of view widened to 4:3).
    for (int i = 0; i < 6; ++i) {
        const int x = 160 + static_cast<int>(160.0 * (80 * i - 200) / (324 * 1.1188));
        EXPECT_GT(test::Differing(a, hall, x - 10, 70, x + 10, 170), 40) << monsters[i] << " not drawn";
        EXPECT_GT(test::Differing(a, b, x - 10, 70, x + 10, 170), 10) << monsters[i] << " the same in both frames";
    }
    // The additive sprite and explosion brighten the dark ceiling where they are.
    EXPECT_GT(MeanLevel(a, 145, 15, 175, 60), MeanLevel(hall, 145, 15, 175, 60) + 20);
    EXPECT_GT(MeanLevel(a, 220, 15, 260, 60), MeanLevel(hall, 220, 15, 260, 60) + 20);
    ExpectLikeReference(a, "demo1-lineup-a");
    ExpectLikeReference(b, "demo1-lineup-b");
}

TEST(Demo1Pictures, TheSkyShowsThroughTheCourtsSkyPortals) {
    GameCopy game;
    REQUIRE_PROGRAM(game);
    // In the court, looking steeply up (Delete raises the view 256 a step).
    const Image up = DrawView(game, 200, 1000, 40, 16384, "1 key Delete down\n44 key Delete up\n", 50);
    ASSERT_FALSE(up.IsEmpty());
    // The top third is the sky: bright and blue-white, never the clear colour.
    int sky = 0;
    const int rows = up.Height / 3;
    for (int y = 0; y < rows; ++y) {
        for (int x = 0; x < up.Width; ++x) {
            const uint32_t c = up.At(x, y);
            sky += Channel(c, 2) > 150 && Channel(c, 2) >= Channel(c, 0) && Channel(c, 2) >= Channel(c, 1);
        }
    }
    EXPECT_GT(sky, up.Width * rows / 4) << "sky pixels in the top third";
    EXPECT_LT(ClearFraction(up), kSeamFraction);
    ExpectLikeReference(up, "demo1-court-sky");
}

// Two views from one start, some steps apart, with the dynamic lights off (only procedural
// surfaces and caustics then change the picture) and the procedural textures as given.
std::pair<Image, Image> TwoViews(GameCopy& game, const Vector& at, int yaw, const std::string& script, int step,
                                 bool procedural) {
    std::string ini;
    ReadWholeFile((game.Path() / "Orvane.ini").string(), ini);
    // The first line of a key wins.
    game.Write("Orvane.ini", std::string("DynamicLights=0\nProceduralTextures=") + (procedural ? "1\n" : "0\n") + ini);
    game.SetPlayerStart("Demo1", at.X, at.Y, at.Z, yaw);
    for (const char* shot : {"Shot0000.png", "Shot0001.png"}) { // the next shots are numbered on
        fs::remove(game.Path() / shot);
    }
    game.Play("Demo1", step + 11, script,
              "--screenshot-at " + std::to_string(step) + " --screenshot-at " + std::to_string(step + 10));
    return {test::LoadPicture(game.Path() / "Shot0000.png"), test::LoadPicture(game.Path() / "Shot0001.png")};
}

// Whether two colours are the same but for rounding, within a tolerance per channel.
bool Near(uint32_t a, uint32_t b, int tolerance) {
    return std::abs(Channel(a, 0) - Channel(b, 0)) <= tolerance &&
           std::abs(Channel(a, 1) - Channel(b, 1)) <= tolerance && std::abs(Channel(a, 2) - Channel(b, 2)) <= tolerance;
}

// The pixels that change by more than a still view's frame-to-frame rounding.
std::vector<size_t> Changed(const std::pair<Image, Image>& views) {
    std::vector<size_t> changed;
    for (size_t i = 0; i < views.first.Pixels.size() && views.second.Pixels.size() == views.first.Pixels.size(); ++i) {
        if (!Near(views.first.Pixels[i], views.second.Pixels[i], 12)) {
            changed.push_back(i);
        }
    }
    return changed;
}

TEST(Demo1Pictures, TheTorchBurnsInItsPaletteAndThePoolRipplesWhileProceduralTexturesAreOn) {
    GameCopy game;
    REQUIRE_PROGRAM(game);
    const Vector torchView{1632, 600, 168};
    const auto torch = TwoViews(game, torchView, 16384, "1 key Delete down\n6 key Delete up\n", 200, true);
    auto reader = BinaryReader::OpenFile((game.Path() / "Textures/Orvane/Textures/Fire/Torch.firet").string()).value();
    const FireTextureFile fire = ReadFireTextureFile(reader);
    // The level introduction's white lines lie over the top quarter of the screen: the flames below.
    std::vector<size_t> flames = Changed(torch);
    std::erase_if(flames, [&](size_t i) { return i < size_t(torch.first.Width) * (torch.first.Height / 4); });
    EXPECT_GT(flames.size(), 150u) << "the fire moves";
    for (size_t i : flames) { // unlit: the texels keep their colours but for the doubling's rounding
        ASSERT_TRUE(std::ranges::any_of(fire.Palette, [&](uint32_t p) { return Near(torch.second.Pixels[i], p, 3); }))
            << "pixel " << i % torch.second.Width << "," << i / torch.second.Width;
    }
    ExpectLikeReference(torch.first, "demo1-torch");
    const auto pool = TwoViews(game, {1680, 448, 168}, 0, "1 key PageDown down\n20 key PageDown up\n", 60, true);
    EXPECT_GT(Changed(pool).size(), 100u) << "the water ripples";
    EXPECT_TRUE(Changed(TwoViews(game, torchView, 16384, "", 200, false)).empty()) << "switched off: still";
}

TEST(Demo1Pictures, CausticsPlayOverTheViewUnderWater) {
    GameCopy game;
    REQUIRE_PROGRAM(game);
    // Deep in the pool looking west (its dark walls below stay dark whatever multiplies them).
    const auto under = TwoViews(game, {2100, 448, 0}, 32768, "", 40, false);
    const std::vector<size_t> changed = Changed(under);
    ASSERT_GT(changed.size(), under.first.Pixels.size() / 20) << "the pattern runs over the view";
    ExpectLikeReference(under.first, "demo1-under-water");
}

} // namespace
} // namespace orv
