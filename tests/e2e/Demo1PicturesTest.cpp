// Demo 1 as the player sees it: the real program draws fixed views headless (SDL offscreen,
// Mesa llvmpipe) and saves them with --screenshot-at. The pictures are checked for what must
// hold in any frame (no clear colour where walls are, the sky through the court's sky portals)
// and compared with reference pictures within a tolerance.
#include "DemoGame.h"

#include <gtest/gtest.h>

#include "content/ImageFile.h"

#include <cmath>
#include <cstdlib>
#include <filesystem>

namespace orv {
namespace {

namespace fs = std::filesystem;
using test::DemoGame;

struct Picture {
    int Width = 0, Height = 0;
    std::vector<uint8_t> Rgb;
    bool Ok() const { return Width > 0; }
    const uint8_t* At(int x, int y) const { return &Rgb[(static_cast<size_t>(y) * Width + x) * 3]; }
};

Picture Load(const fs::path& path) {
    Picture p;
    Image image;
    if (!DecodeImageFile(path.string(), image)) {
        return p;
    }
    p.Width = image.Width;
    p.Height = image.Height;
    for (uint32_t c : image.Pixels) {
        p.Rgb.insert(p.Rgb.end(), {uint8_t(c >> 16), uint8_t(c >> 8), uint8_t(c)});
    }
    return p;
}

void Save(const Picture& p, const fs::path& path) {
    Image image(p.Width, p.Height);
    for (size_t i = 0; i < image.Pixels.size(); ++i) {
        const uint8_t* c = &p.Rgb[i * 3];
        image.Pixels[i] = 0xFF000000u | (uint32_t(c[0]) << 16) | (uint32_t(c[1]) << 8) | c[2];
    }
    WritePngFile(path.string(), image, false);
}

// The fraction of pixels in rows [y0, y1) that are exactly the clear colour, black.
double ClearFraction(const Picture& p, int y0, int y1) {
    int black = 0;
    for (int y = y0; y < y1; ++y) {
        for (int x = 0; x < p.Width; ++x) {
            const uint8_t* c = p.At(x, y);
            black += c[0] == 0 && c[1] == 0 && c[2] == 0;
        }
    }
    return double(black) / double(p.Width * (y1 - y0));
}

// Draws a view of Demo 1 from a start, after some steps of scripted keys.
Picture DrawView(DemoGame& game, double x, double y, double z, int yaw, const std::string& script, int shotStep) {
    game.SetPlayerStart("Demo1", x, y, z, yaw);
    for (const auto& entry : fs::directory_iterator(game.Path())) {
        if (entry.path().extension() == ".png") {
            fs::remove(entry.path());
        }
    }
    game.Run("Demo1", shotStep + 1, script, "--screenshot-at " + std::to_string(shotStep));
    return Load(game.Path() / "Shot0000.png");
}

// Compares with tests/e2e/reference/<name>.png: close when at most 1% of the pixels differ by
// more than 48 in a channel. ORV_UPDATE_REFERENCES=1 writes the picture as the new reference.
void ExpectLikeReference(const Picture& p, const std::string& name) {
    const fs::path reference = test::SourceDir() / "tests" / "e2e" / "reference" / (name + ".png");
    if (std::getenv("ORV_UPDATE_REFERENCES")) {
        fs::create_directories(reference.parent_path());
        Save(p, reference);
        return;
    }
    const Picture want = Load(reference);
    ASSERT_TRUE(want.Ok()) << "no reference picture " << reference << " (ORV_UPDATE_REFERENCES=1 makes it)";
    ASSERT_EQ(want.Width, p.Width);
    ASSERT_EQ(want.Height, p.Height);
    int differing = 0;
    double total = 0;
    for (size_t i = 0; i < p.Rgb.size(); i += 3) {
        int worst = 0;
        for (int c = 0; c < 3; ++c) {
            const int d = std::abs(int(p.Rgb[i + c]) - int(want.Rgb[i + c]));
            worst = std::max(worst, d);
            total += d;
        }
        differing += worst > 48;
    }
    const double pixels = double(p.Width) * p.Height;
    EXPECT_LE(differing, pixels * 0.01) << name << ": " << differing << " of " << pixels
                                        << " pixels differ by more than 48; mean difference "
                                        << total / (pixels * 3);
}

TEST(Demo1Pictures, TheHallFromTheStartIsAllWallsAndLikeItsReference) {
    DemoGame game;
    if (!game.Ready()) {
        GTEST_SKIP() << "the orvane program or the demo levels are not built (game/)";
    }
    const Picture hall = DrawView(game, 96, 384, 40, 0, "", 20);
    ASSERT_TRUE(hall.Ok());
    EXPECT_EQ(hall.Width, 320);
    EXPECT_LT(ClearFraction(hall, 0, hall.Height), 0.002); // a closed room: geometry everywhere
    ExpectLikeReference(hall, "demo1-hall");
}

TEST(Demo1Pictures, TheSkyShowsThroughTheCourtsSkyPortals) {
    DemoGame game;
    if (!game.Ready()) {
        GTEST_SKIP() << "the orvane program or the demo levels are not built (game/)";
    }
    // In the court, looking steeply up (Delete raises the view 256 a step).
    const Picture up = DrawView(game, 200, 1000, 40, 16384, "1 key Delete down\n44 key Delete up\n", 50);
    ASSERT_TRUE(up.Ok());
    // The top third is the sky: bright and blue-white, never the clear colour.
    int sky = 0;
    const int rows = up.Height / 3;
    for (int y = 0; y < rows; ++y) {
        for (int x = 0; x < up.Width; ++x) {
            const uint8_t* c = up.At(x, y);
            sky += c[2] > 150 && c[2] >= c[0] && c[2] >= c[1];
        }
    }
    EXPECT_GT(sky, up.Width * rows / 4) << "sky pixels in the top third";
    EXPECT_LT(ClearFraction(up, 0, up.Height), 0.002);
    ExpectLikeReference(up, "demo1-court-sky");
}

} // namespace
} // namespace orv
