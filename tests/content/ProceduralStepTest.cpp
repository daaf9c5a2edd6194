// The steps of the fire and water textures: in-place averaging and the heat bias, every heat
// source's plot and the moving sparks, the water's drops, its wrapped sweep and its refraction.
#include "content/ProceduralTexture.h"
#include "core/Random.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <set>

namespace orv {
namespace {

std::unique_ptr<FireTexture> Fire(int size, uint8_t renderHeat, bool rising, std::vector<FireSpark> sparks = {},
                                  int32_t limit = 0) {
    FireTextureFile file;
    file.Width = file.Height = size;
    for (size_t i = 0; i < kFirePaletteSize; ++i) {
        file.Palette[i] = 0xFF000000u | static_cast<uint32_t>(i * 0x010203u);
    }
    file.RenderHeat = renderHeat;
    file.bRising = rising;
    file.Sparks = std::move(sparks);
    file.SparkLimit = limit;
    return MakeFireTexture(file);
}

uint16_t& Cell(FireTexture& f, int c, int r) { return f.Field[static_cast<size_t>(r) * f.Width() + c]; }
long Total(const FireTexture& f) { return std::accumulate(f.Field.begin(), f.Field.end(), 0L); }

TEST(FireStep, AveragesInPlaceWrapsAndTheBiasCoolsOrHeats) {
    auto plain = Fire(4, 250, false);
    Cell(*plain, 1, 0) = 0x4000;
    plain->Update(1 / 60.0f);
    // Row 0 in order: each cell sees the new value of the one before it, and the last cell's
    // right neighbour is the first cell, already new.
    EXPECT_EQ(Cell(*plain, 0, 0), 0x1000);
    EXPECT_EQ(Cell(*plain, 2, 0), 0x100);
    EXPECT_EQ(Cell(*plain, 3, 0), (0x100 + 0x1000) >> 2);
    EXPECT_EQ(plain->Pixels.At(0, 0), plain->Palette[0x10]) << "the high byte picks the colour";

    auto rising = Fire(8, 250, true);
    Cell(*rising, 2, 4) = 0xFF00;
    rising->Update(1 / 60.0f);
    EXPECT_GT(Cell(*rising, 2, 3), 0) << "heat moves up";
    EXPECT_EQ(Cell(*rising, 2, 5), 0) << "and never down";

    // From the same hot field: less than 250 cools faster, more keeps more heat; from a cold
    // field only more than 250 warms.
    std::vector<long> hot, cold;
    for (uint8_t heat : {240, 250, 255}) {
        auto f = Fire(16, heat, false);
        auto g = Fire(16, heat, false);
        std::fill(f->Field.begin(), f->Field.begin() + 64, 0x8000);
        for (int i = 0; i < 8; ++i) {
            f->Update(1 / 60.0f);
            g->Update(1 / 60.0f);
        }
        hot.push_back(Total(*f));
        cold.push_back(Total(*g));
    }
    EXPECT_TRUE(hot[0] < hot[1] && hot[1] < hot[2]);
    EXPECT_TRUE(cold[0] == 0 && cold[1] == 0 && cold[2] >= 16 * 16 * 44 * 8);
}

// The cells a single step of one heat source leaves hot on a cold 32 x 32 field.
std::vector<std::pair<int, int>> HotCells(const FireTexture& f) {
    std::vector<std::pair<int, int>> hot;
    for (int r = 0; r < f.Height(); ++r) {
        for (int c = 0; c < f.Width(); ++c) {
            if (f.Field[static_cast<size_t>(r) * f.Width() + c]) {
                hot.emplace_back(c, r);
            }
        }
    }
    return hot;
}

TEST(FireStep, EveryHeatSourcePlotsItsShape) {
    SeedRandom(3);
    using Cells = std::vector<std::pair<int, int>>;
    const Cells cross{{5, 4}, {4, 5}, {5, 5}, {6, 5}};
    for (uint8_t type : {0, 2, 3, 200}) {
        auto f = Fire(32, 250, false, {{type, 0, 5, 5}});
        f->Update(1 / 60.0f);
        EXPECT_EQ(HotCells(*f), cross) << int(type);
        EXPECT_GE(Cell(*f, 5, 5), type == 3 ? 128 * 256 : 0) << "sparkles are never below half heat";
    }
    for (uint8_t type : {23, 24}) { // even and fading lines along x from (4, 4) to (14, 6)
        auto f = Fire(32, 250, false, {{type, 200, 4, 4, 10, 2}});
        f->Update(1 / 60.0f);
        const Cells hot = HotCells(*f);
        EXPECT_EQ(hot.size(), type == 23 ? 11u : 10u) << "one cell per column, the faded end cold";
        EXPECT_GE(Cell(*f, 4, 4), 100 * 256);
        EXPECT_EQ(Cell(*f, 14, 6), type == 23 ? Cell(*f, 4, 4) : 0);
    }
    auto spoke = Fire(32, 250, false, {{25, 240, 16, 16, 8}});
    spoke->Update(1 / 60.0f);
    EXPECT_EQ(Cell(*spoke, 16, 16), 240 * 256);
    for (auto [c, r] : HotCells(*spoke)) {
        EXPECT_LE((c - 16) * (c - 16) + (r - 16) * (r - 16), 81) << "within the spoke's length";
    }
    for (int i = 0; i < 20; ++i) { // strays land in the source's row, up to 100 cells right (wrapped)
        auto stray = Fire(128, 250, false, {{1, 0, 100, 9}});
        stray->Update(1 / 60.0f);
        for (auto [c, r] : HotCells(*stray)) {
            EXPECT_TRUE((r == 9 || r == 8) && ((c - 99) & 127) <= 102) << c << "," << r;
        }
    }
}

TEST(FireStep, EmittersLaunchEverySixteenthStepIntoFreeSlotsAndSparksMoveByType) {
    SeedRandom(5);
    auto f = Fire(64, 250, false, {{7, 90, 10, 10}, {5, 0, 20, 40}, {8, 90, 50, 10}}, 2);
    for (int i = 0; i < 15; ++i) {
        f->Update(1 / 60.0f);
    }
    EXPECT_TRUE(HotCells(*f).empty()) << "nothing before the 16th step";
    f->Update(1 / 60.0f);
    const FireMovingSpark& right = f->Moving[0];
    EXPECT_TRUE(right.Alive && right.X == 11.0f && (right.Y == 10.0f || right.Y == 11.0f));
    EXPECT_TRUE(f->Moving[1].Type == 5 && !f->Moving[1].Alive)
        << "the cold rising spark got heat 1, lost it in its first move and freed its slot; the third waited";
    EXPECT_FALSE(HotCells(*f).empty());
    for (int i = 0; i < 300 && right.Alive; ++i) {
        f->Update(1 / 60.0f);
    }
    EXPECT_EQ(right.Age, 255) << "sideways sparks die of age";
}

std::unique_ptr<WetTexture> Water(int width, int height, Texture* source, std::vector<WetDrop> drops = {}) {
    WetTextureFile file;
    file.Width = width;
    file.Height = height;
    file.Drops = std::move(drops);
    auto wet = MakeWetTexture(file);
    wet->SourceTexture = source;
    return wet;
}

std::set<size_t> Moving(const std::vector<int32_t>& speed) {
    std::set<size_t> nonZero;
    for (size_t i = 0; i < speed.size(); ++i) {
        if (speed[i] != 0) {
            nonZero.insert(i);
        }
    }
    return nonZero;
}

TEST(WetStep, DropsDriveAWaveSweptOverTheWrappedIndexThatRefractsTheSource) {
    Texture source;
    source.Pixels = Image(16, 8);
    for (size_t i = 0; i < source.Pixels.Pixels.size(); ++i) {
        source.Pixels.Pixels[i] = 0xFF000000u | static_cast<uint32_t>(i * 77);
    }
    // A drop's X is masked to the height and picks the row, its Y the column.
    auto dropped = Water(16, 8, &source, {{0, 200, 11, 21, 0, 0, 64, 0}});
    dropped->Update(1 / 60.0f);
    EXPECT_EQ(Moving(dropped->WaveSpeed), std::set<size_t>{3 * 16 + 5});

    // One raised cell at index 0 couples to index 1, to the previous index (the array's last),
    // and a row down and up (the last row).
    auto swept = Water(16, 8, &source);
    swept->WaveHeight[0] = 1 << 20;
    swept->Update(1 / 60.0f);
    EXPECT_EQ(Moving(swept->WaveSpeed), (std::set<size_t>{0, 1, 16, 112, 127}));
    EXPECT_EQ(swept->WaveHeight[1], swept->WaveSpeed[1]);

    auto pool = Water(16, 16, &source, {{0, 255, 3, 4, 0, 0, 0, 0}, {0, 180, 12, 9, 0, 0, 99, 0}});
    const std::set<uint32_t> palette(source.Pixels.Pixels.begin(), source.Pixels.Pixels.end());
    Image before;
    for (int i = 0; i < 60; ++i) {
        before = pool->Pixels;
        pool->Update(1 / 60.0f);
    }
    EXPECT_NE(pool->Pixels.Pixels, before.Pixels) << "still moving after a second";
    for (uint32_t p : pool->Pixels.Pixels) {
        ASSERT_TRUE(palette.count(p)) << "only source texels, also from a source of another size";
    }

    auto dry = Water(16, 16, nullptr, {{0, 255, 3, 4, 0, 0, 0, 0}});
    const std::vector<uint32_t> black = dry->Pixels.Pixels;
    for (int i = 0; i < 30; ++i) {
        dry->Update(1 / 60.0f);
    }
    EXPECT_EQ(dry->Pixels.Pixels, black) << "without a source the picture stays";
    EXPECT_TRUE(Moving(dry->WaveSpeed).empty());
    EXPECT_NEAR(dry->Time, 0.5f, 1e-5f);
}

} // namespace
} // namespace orv
