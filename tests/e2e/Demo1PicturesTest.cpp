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
#include <regex>

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

// Two views from one start, a few steps apart, with the settings' options set as given; the
// dynamic lights stay off, so that only procedural surfaces and caustics change the picture.
std::pair<Image, Image> TwoViews(GameCopy& game, const Vector& at, int yaw, const std::string& script, int step,
                                 int gap, bool procedural) {
    std::string ini;
    ReadWholeFile((game.Path() / "Orvane.ini").string(), ini);
    ini = std::regex_replace(ini, std::regex("DynamicLights=\\w+"), "DynamicLights=false");
    ini = std::regex_replace(ini, std::regex("ProceduralTextures=\\w+"),
                             procedural ? "ProceduralTextures=true" : "ProceduralTextures=false");
    game.Write("Orvane.ini", ini);
    game.SetPlayerStart("Demo1", at.X, at.Y, at.Z, yaw);
    for (const char* shot : {"Shot0000.png", "Shot0001.png"}) {
        fs::remove(game.Path() / shot);
    }
    game.Play("Demo1", step + gap + 1, script,
              "--screenshot-at " + std::to_string(step) + " --screenshot-at " + std::to_string(step + gap));
    return {test::LoadPicture(game.Path() / "Shot0000.png"), test::LoadPicture(game.Path() / "Shot0001.png")};
}

// The pixels that differ by more than the frame-to-frame rounding of a still view.
std::vector<size_t> Changed(const Image& a, const Image& b) {
    constexpr int kStill = 12;
    std::vector<size_t> changed;
    for (size_t i = 0; i < a.Pixels.size() && a.Pixels.size() == b.Pixels.size(); ++i) {
        int worst = 0;
        for (int c = 0; c < 3; ++c) {
            worst = std::max(worst, std::abs(Channel(a.Pixels[i], c) - Channel(b.Pixels[i], c)));
        }
        if (worst > kStill) {
            changed.push_back(i);
        }
    }
    return changed;
}

// The pool room's torch, then its pool from the edge, looking down.
const Vector kTorchView{1632, 600, 168};
const std::string kTorchScript = "1 key Delete down\n6 key Delete up\n";
const Vector kPoolView{1680, 448, 168};
const std::string kPoolScript = "1 key PageDown down\n20 key PageDown up\n";

TEST(Demo1Pictures, TheTorchBurnsInItsPaletteAndThePoolRipplesUntilSwitchedOff) {
    GameCopy game;
    REQUIRE_PROGRAM(game);
    const auto [torch, torchLater] = TwoViews(game, kTorchView, 16384, kTorchScript, 200, 10, true);
    ASSERT_FALSE(torch.IsEmpty() || torchLater.IsEmpty());
    auto reader = BinaryReader::OpenFile((game.Path() / "Textures/Orvane/Textures/Fire/Torch.firet").string());
    ASSERT_TRUE(reader);
    const FireTextureFile fire = ReadFireTextureFile(*reader);
    // The torch is unlit: on screen its texels keep their colours, give or take the rounding of
    // the frame's doubling.
    auto inPalette = [&](uint32_t c) {
        return std::any_of(fire.Palette.begin(), fire.Palette.end(), [&](uint32_t p) {
            return std::abs(Channel(c, 0) - Channel(p, 0)) <= 3 && std::abs(Channel(c, 1) - Channel(p, 1)) <= 3 &&
                   std::abs(Channel(c, 2) - Channel(p, 2)) <= 3;
        });
    };
    const std::vector<size_t> flames = Changed(torch, torchLater);
    EXPECT_GT(flames.size(), 300u) << "the fire moves";
    for (size_t i : flames) {
        ASSERT_TRUE(inPalette(torch.Pixels[i]) && inPalette(torchLater.Pixels[i])) << "pixel " << i;
    }
    ExpectLikeReference(torch, "demo1-torch");

    const auto [pool, poolLater] = TwoViews(game, kPoolView, 0, kPoolScript, 60, 10, true);
    EXPECT_GT(Changed(pool, poolLater).size(), 100u) << "the water ripples";
    ExpectLikeReference(pool, "demo1-pool");

    const auto [still, stillLater] = TwoViews(game, kTorchView, 16384, kTorchScript, 200, 10, false);
    EXPECT_TRUE(Changed(still, stillLater).empty()) << "switched off, the fire stands still";
}

TEST(Demo1Pictures, CausticsPlayOverTheViewUnderWaterOnly) {
    GameCopy game;
    REQUIRE_PROGRAM(game);
    // Deep in the pool, looking west (the pool's walls below stay dark whatever multiplies them);
    // then at the room's west wall, above water.
    const auto [under, underLater] = TwoViews(game, {2100, 448, 0}, 32768, "", 40, 6, false);
    ASSERT_FALSE(under.IsEmpty() || underLater.IsEmpty());
    const std::vector<size_t> changed = Changed(under, underLater);
    EXPECT_GT(changed.size(), under.Pixels.size() / 20) << "the pattern runs over the view";
    EXPECT_LT(changed.front(), size_t(under.Width)) << "up to the top row";
    ExpectLikeReference(under, "demo1-under-water");
    const auto [dry, dryLater] = TwoViews(game, {1700, 448, 168}, 32768, "", 40, 6, false);
    EXPECT_TRUE(Changed(dry, dryLater).empty());
}

} // namespace
} // namespace orv
