// Demo 1 as the player sees it: the real program draws fixed views headless (SDL offscreen,
// Mesa llvmpipe) and saves them with --screenshot-at. The pictures are checked for what must
// hold in any frame (no clear colour where walls are, the sky through the court's sky portals)
// and compared with reference pictures within a tolerance.
#include "GameCopy.h"
#include "content/ProceduralTexture.h"
#include "core/BinaryReader.h"
#include "core/Vector.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

namespace orv {
namespace {

namespace fs = std::filesystem;
using test::GameCopy;

// Channel c of a pixel: 0 red, 1 green, 2 blue.
int Channel(uint32_t pixel, int c) { return static_cast<int>(pixel >> (16 - 8 * c) & 0xFF); }

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

// A view a few pixels off here and there is still the same view: drivers round a little
// differently, but a wrong texture, light or wall changes far more than this.
constexpr int kChannelTolerance = 48;        // per channel, of 255
constexpr double kDifferingFraction = 0.01;  // of the pixels, beyond that tolerance

// Compares with tests/e2e/reference/<name>.png. ORV_UPDATE_REFERENCES=1 writes the picture as
// the new reference instead, after a change that is meant to alter what is drawn.
void ExpectLikeReference(const Image& p, const std::string& name) {
    const fs::path reference = test::SourceDir() / "tests" / "e2e" / "reference" / (name + ".png");
    if (std::getenv("ORV_UPDATE_REFERENCES")) {
        WritePngFile(reference.string(), p, false);
        return;
    }
    const Image want = test::LoadPicture(reference);
    ASSERT_FALSE(want.IsEmpty()) << "no reference picture " << reference << " (ORV_UPDATE_REFERENCES=1 makes it)";
    ASSERT_EQ(want.Width, p.Width);
    ASSERT_EQ(want.Height, p.Height);
    int differing = 0;
    double total = 0;
    for (size_t i = 0; i < p.Pixels.size(); ++i) {
        int worst = 0;
        for (int c = 0; c < 3; ++c) {
            const int d = std::abs(Channel(p.Pixels[i], c) - Channel(want.Pixels[i], c));
            worst = std::max(worst, d);
            total += d;
        }
        differing += worst > kChannelTolerance;
    }
    const double pixels = double(p.Pixels.size());
    EXPECT_LE(differing, pixels * kDifferingFraction)
        << name << ": " << differing << " of " << pixels << " pixels differ by more than " << kChannelTolerance
        << "; mean difference " << total / (pixels * 3);
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
    const std::vector<size_t> flames = Changed(torch);
    EXPECT_GT(flames.size(), 300u) << "the fire moves";
    for (size_t i : flames) { // unlit: the texels keep their colours but for the doubling's rounding
        ASSERT_TRUE(std::ranges::any_of(fire.Palette, [&](uint32_t p) { return Near(torch.second.Pixels[i], p, 3); }));
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
