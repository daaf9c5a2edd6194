// Demo 1 as the player sees it: the real program draws fixed views headless (SDL offscreen,
// Mesa llvmpipe) and saves them with --screenshot-at. The pictures are checked for what must
// hold in any frame (no clear colour where walls are, the sky through the court's sky portals)
// and compared with reference pictures within a tolerance.
#include "GameCopy.h"

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

TEST(Demo1Pictures, TheHallFromTheStartIsAllWallsAndLikeItsReference) {
    GameCopy game;
    REQUIRE_PROGRAM(game);
    const Image hall = DrawView(game, 96, 384, 40, 0, "", 20);
    ASSERT_FALSE(hall.IsEmpty());
    EXPECT_EQ(hall.Width, 320);
    EXPECT_LT(ClearFraction(hall), kSeamFraction); // a closed room: geometry everywhere
    ExpectLikeReference(hall, "demo1-hall");
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

} // namespace
} // namespace orv
