// Text in HUD coordinates: the layout that drawing and measuring share (glyphs over two pages,
// wrapping mid-word, line feeds, codes without a glyph), centring on the 640 x 480 grid, and the
// unit square on a screen wider than 4:3.
#include "render/Text.h"

#include "GlTestSupport.h"
#include "render/GlState.h"
#include "render/Overlay.h"
#include "render/Renderer.h"

#include <gtest/gtest.h>

#include <cmath>

namespace orv {
namespace {

// Every code up to the last has a glyph of the given size, 'B' a larger one; codes 0..65 lie on
// the first page ('A' is its last), the rest on the second.
Font MakeFont(int lastCode, int size) {
    Font font;
    for (const auto& [first, last] : {std::pair{0, 65}, std::pair{66, lastCode}}) {
        FontPage& p = font.Pages.Emplace();
        for (int code = first; code <= last; ++code) {
            p.Characters.Add(code == 'B' ? FontCharacter{0, 0, 2 * size, size + 4} : FontCharacter{0, 0, size, size});
            font.Height = std::max(font.Height, p.Characters.Last().VSize);
        }
    }
    return font;
}

TEST(Text, LayoutWrapsMidWordStartsLinesAtLineFeedsAndSkipsCodesWithoutGlyphs) {
    const Font font = MakeFont('z', 10);
    std::vector<std::array<int, 3>> placed; // glyph width, pen x and y in pixels from the start
    LayoutText(font, "AB\nAAA\xC8" "A", 0.1f, 0.2f, 0.1f + 35.0f / 480.0f,
               [&](const FontPage&, const FontCharacter& glyph, float x, float y) {
                   placed.push_back({glyph.USize, int(std::lround((x - 0.1f) * 480)), int(std::lround((y - 0.2f) * 480))});
               });
    // Lines are the font's height (the tallest glyph, 14) apart; the fourth A passes the edge.
    const std::vector<std::array<int, 3>> want = {{10, 0, 0}, {20, 10, 0}, {10, 0, 14}, {10, 10, 14}, {10, 20, 14}, {10, 0, 28}};
    EXPECT_EQ(placed, want);

    const TextSize size = MeasureText(font, "AB\nA\xC8");
    EXPECT_FLOAT_EQ(size.Width * 480, 30.0f);
    EXPECT_FLOAT_EQ(size.Height * 480, 24.0f);
    EXPECT_EQ(MeasureText(font, "\xC8").Width, 0.0f);
}

TEST(Text, CentredTextStartsOnAWholePixelOfThe640GridAndIsCentred) {
    const Font font = MakeFont('z', 7);
    std::string text;
    for (int n = 0; n < 60; ++n, text += n % 3 ? "A" : "B") {
        const float x = CentreX(font, text);
        const float gridPixel = (x + 1.0f / 6.0f) * 480.0f; // the 4:3 area's 640 pixels span 4/3
        EXPECT_NEAR(gridPixel, std::round(gridPixel), 1e-3) << text;
        EXPECT_LE(std::abs(x + MeasureText(font, text).Width / 2 - 0.5f), 1.0f / 480.0f + 1e-6f) << text;
    }
}

// On a 16:9 screen the unit square is a centred square as wide as the screen is high (the
// menu tests' pictures show text centred on such a screen).
class WideOverlay : public test::GlTest {
protected:
    void SetUp() override { OpenContext(320, 180); }
};

TEST_F(WideOverlay, TheUnitSquareSitsInTheMiddle) {
    SetStartupGlState(320, 180, 90.0f);
    ClearFrame();
    std::unique_ptr<Renderer> renderer = CreateRenderer();
    BeginOverlay(*renderer, 320, 180, 90.0f);
    SetRenderMode(RenderMode::Opaque);
    FillRect(*renderer, 0.0f, 0.0f, 1.0f, 0.5f, 0xFFFF0000u);
    const Image frame = gl->ReadFrame();
    // (1 - 16/9) / 2 of the height left of x = 0: 70 of 180 pixels.
    const std::vector<int> edges = {test::Red(frame.At(69, 40)), test::Red(frame.At(70, 40)), test::Red(frame.At(249, 40)),
                                    test::Red(frame.At(250, 40)), test::Red(frame.At(100, 91))};
    EXPECT_EQ(edges, (std::vector<int>{0, 255, 255, 0, 0}));
}

} // namespace
} // namespace orv
