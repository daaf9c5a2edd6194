// The steps of the fire and water textures: in-place averaging, the heat sources and moving
// sparks, the water's drops, its wrapped sweep and a water without a source.
#include "content/ProceduralTexture.h"
#include "core/Random.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <tuple>

namespace orv {
namespace {

std::unique_ptr<FireTexture> Fire(int size, std::vector<FireSpark> sparks = {}) {
    FireTextureFile file{size, size, {}, 0, 250, 2, std::move(sparks)};
    std::iota(file.Palette.begin(), file.Palette.end(), 0xFF000000u);
    return MakeFireTexture(file);
}

uint16_t& Cell(FireTexture& f, int c, int r) { return f.Field[static_cast<size_t>(r) * f.Width() + c]; }

TEST(FireStep, AveragesInPlaceAndWraps) {
    auto f = Fire(4);
    Cell(*f, 1, 0) = 0x4000;
    f->Update(1 / 60.0f);
    // Row 0 in order: each cell sees the new value before it; the last one's right is the first.
    EXPECT_EQ(std::vector<int>({Cell(*f, 0, 0), Cell(*f, 2, 0), Cell(*f, 3, 0)}),
              std::vector<int>({0x1000, 0x100, (0x100 + 0x1000) >> 2}));
    EXPECT_EQ(f->Pixels.At(0, 0), 0xFF000010u) << "the high byte picks the colour";
}

TEST(FireStep, HeatSourcesPlotTheirShapes) {
    SeedRandom(3);
    // Each source alone, one step on a cold field: {type, heat, x, y, a, b}, how many cells it
    // heats (a cross, a line along x with its faded end cold, a spoke at some angle) and the
    // least heat of its first cell.
    const std::tuple<FireSpark, long, long, int> cases[] = {{{200, 0, 5, 5}, 4, 4, 1},
                                                            {{3, 0, 5, 5}, 4, 4, 128 * 256},
                                                            {{23, 200, 4, 4, 10, 2}, 11, 11, 100 * 256},
                                                            {{24, 200, 4, 4, 10, 2}, 10, 10, 100 * 256},
                                                            {{25, 240, 16, 16, 8}, 6, 8, 240 * 256}};
    for (const auto& [spark, minHot, maxHot, minFirst] : cases) {
        auto f = Fire(32, {spark});
        f->Update(1 / 60.0f);
        const long hot = static_cast<long>(f->Field.size()) - std::count(f->Field.begin(), f->Field.end(), 0);
        EXPECT_TRUE(hot >= minHot && hot <= maxHot) << int(spark.Type) << ": " << hot;
        EXPECT_GE(Cell(*f, spark.X, spark.Y), minFirst) << int(spark.Type);
    }
}

TEST(FireStep, EmittersLaunchEverySixteenthStepIntoFreeSlotsAndSparksMoveByType) {
    SeedRandom(5);
    auto f = Fire(64, {{7, 90, 10, 10}, {5, 0, 20, 40}, {8, 90, 50, 10}});
    const auto cold = [&] { return std::all_of(f->Field.begin(), f->Field.end(), [](uint16_t c) { return c == 0; }); };
    for (int i = 0; i < 15; ++i) {
        f->Update(1 / 60.0f);
    }
    EXPECT_TRUE(cold()) << "nothing before the 16th step";
    f->Update(1 / 60.0f);
    const FireMovingSpark& right = f->Moving[0];
    EXPECT_TRUE(right.Alive && right.X == 11.0f && (right.Y == 10.0f || right.Y == 11.0f));
    EXPECT_TRUE(f->Moving[1].Type == 5 && !f->Moving[1].Alive)
        << "the cold rising spark got heat 1, lost it in its first move and freed its slot; the third waited";
    EXPECT_FALSE(cold());
    for (int i = 0; i < 300 && right.Alive; ++i) {
        f->Update(1 / 60.0f);
    }
    EXPECT_EQ(right.Age, 255) << "sideways sparks die of age";
}

TEST(WetStep, DropsAndTheSweepWrapTheLinearIndexAndNoSourceLeavesThePicture) {
    Texture source;
    source.Pixels = Image(16, 8, 0xFF123456u);
    // The drop's X, masked to the height, picks the row (3), its Y the column (5); the raised
    // cell 0 couples to index 1, to the array's last index, and a row down and up (the last row).
    auto wet = MakeWetTexture({16, 8, "", 0, {{0, 200, 11, 21, 0, 0, 64, 0}}});
    wet->SourceTexture = &source;
    wet->WaveHeight[0] = 1 << 20;
    wet->Update(1 / 60.0f);
    for (size_t i : {0, 1, 16, 3 * 16 + 5, 112, 127}) {
        EXPECT_NE(wet->WaveSpeed[i], 0) << i;
    }
    EXPECT_EQ(std::count(wet->WaveSpeed.begin(), wet->WaveSpeed.end(), 0), 128 - 6);
    EXPECT_EQ(wet->Pixels.Pixels, source.Pixels.Pixels) << "only source texels";
    wet->SourceTexture = nullptr;
    const std::vector<int32_t> speed = wet->WaveSpeed;
    wet->Pixels.Pixels.assign(128, 0xFF000000u);
    wet->Update(1 / 60.0f);
    EXPECT_TRUE(wet->Pixels.Pixels == std::vector<uint32_t>(128, 0xFF000000u) && wet->WaveSpeed == speed)
        << "without a source nothing moves";
}

} // namespace
} // namespace orv
