#include <gtest/gtest.h>

#include <set>
#include <tuple>

#include "color/mediancut/median_cut.h"
#include "color_images.h"
#include "engine_test_support.h"

class MedianCutTest : public CoreTest {
protected:
    Image cut(HGLOBAL src, DWORD colors, int dither = 0) {
        HGLOBAL out = nullptr;
        EXPECT_EQ(median_cut_reduce(src, &out, colors, dither), 1) << last_text();
        EXPECT_TRUE(boxes().empty()) << last_text();
        Image im = out ? read_image(out) : Image();
        if (out) GlobalFree(out);
        GlobalFree(src);
        return im;
    }
};

TEST_F(MedianCutTest, OneColorGivesOneEntryAndBlackRest) {
    Image im = cut(make_uniform(3, 2, {100, 150, 200}), 16);
    ASSERT_EQ(im.bits, 4);
    EXPECT_EQ(im.clrUsed, 16u);
    EXPECT_EQ(im.entry(0), (Rgb{96, 144, 200}));
    for (int i = 1; i < 16; i++) EXPECT_EQ(im.entry(i), (Rgb{0, 0, 0})) << i;
    EXPECT_EQ(im.index, std::vector<int>(6, 0));
    Image dithered = cut(make_uniform(5, 3, {100, 150, 200}), 256, 1);
    ASSERT_EQ(dithered.bits, 8);
    EXPECT_EQ(dithered.clrUsed, 256u);
    EXPECT_EQ(dithered.index, std::vector<int>(15, 0));
}

TEST_F(MedianCutTest, WhiteBecomes248AndFifthBitNeighboursShareAnEntry) {
    Image white = cut(make_uniform(2, 2, {255, 255, 255}), 256);
    EXPECT_EQ(white.entry(0), (Rgb{248, 248, 248}));
    Image close = cut(make_truecolor(2, 1, {{200, 0, 0}, {201, 0, 0}}), 16);
    EXPECT_EQ(close.entry(0), (Rgb{200, 0, 0}));
    EXPECT_EQ(close.entry(1), (Rgb{0, 0, 0}));
    EXPECT_EQ(close.index, (std::vector<int>{0, 0}));
}

TEST_F(MedianCutTest, PaletteFollowsThePriorityList) {
    /* reds 0, 8, 16, 24 (5-bit): the list ends as 8, 0, 24, 16 */
    Image im = cut(make_truecolor(4, 1, {{0, 0, 0}, {64, 0, 0}, {128, 0, 0}, {192, 0, 0}}), 16);
    EXPECT_EQ(im.entry(0), (Rgb{64, 0, 0}));
    EXPECT_EQ(im.entry(1), (Rgb{0, 0, 0}));
    EXPECT_EQ(im.entry(2), (Rgb{192, 0, 0}));
    EXPECT_EQ(im.entry(3), (Rgb{128, 0, 0}));
    EXPECT_EQ(im.entry(4), (Rgb{0, 0, 0}));
    EXPECT_EQ(im.index, (std::vector<int>{1, 0, 3, 2}));
}

TEST_F(MedianCutTest, EqualRangesSplitAlongBlue) {
    /* red, green and blue all span 10 levels: the blue split pairs
       (80,0,0) with (0,80,0) */
    Image im = cut(make_truecolor(4, 1, {{0, 80, 0}, {80, 0, 0}, {0, 0, 80}, {80, 80, 80}}), 2);
    ASSERT_EQ(im.bits, 4);
    EXPECT_EQ(im.clrUsed, 2u);
    EXPECT_EQ(im.entry(0), (Rgb{40, 40, 80}));
    EXPECT_EQ(im.entry(1), (Rgb{40, 40, 0}));
    EXPECT_EQ(im.index, (std::vector<int>{1, 1, 0, 0}));
}

TEST_F(MedianCutTest, SixteenDistinctKeysKeepOneEntryEach) {
    std::vector<Rgb> colors, px;
    for (int i = 0; i < 16; i++) colors.push_back({(i * 37) % 32 * 8, (i * 11) % 32 * 8, (i * 5) % 32 * 8});
    for (int i = 0; i < 16; i++)
        for (int n = 0; n <= i; n++) px.push_back(colors[i]);
    int width = (int)px.size();
    Image im = cut(make_truecolor(width, 1, px), 16);
    std::set<std::tuple<int, int, int>> entries;
    for (int i = 0; i < 16; i++) entries.insert(std::make_tuple(im.entry(i).r, im.entry(i).g, im.entry(i).b));
    EXPECT_EQ(entries.size(), 16u);
    for (int x = 0; x < width; x++) EXPECT_EQ(im.entry(im.at(x, 0)), px[x]) << x;
}

TEST_F(MedianCutTest, EightBitInputReadsItsTable) {
    Image im = cut(make_indexed(3, 1, 8, {{0, 0, 0}, {255, 255, 255}, {16, 32, 64}}, {2, 2, 2}), 16);
    EXPECT_EQ(im.entry(0), (Rgb{16, 32, 64}));
    EXPECT_EQ(im.index, (std::vector<int>{0, 0, 0}));
}

TEST_F(MedianCutTest, DitheredMappingUsesTheBuiltPalette) {
    /* two colors, each its own entry: no kernel has an error to spread */
    std::vector<Rgb> px;
    for (int i = 0; i < 15; i++) px.push_back(i % 3 ? Rgb{248, 0, 0} : Rgb{0, 0, 248});
    for (int type = 0; type <= 8; type++) {
        settings_write(SET_DITHER_TYPE, type);
        Image im = cut(make_truecolor(5, 3, px), 16, 1);
        for (int i = 0; i < 15; i++) EXPECT_EQ(im.entry(im.index[i]), px[i]) << type << " " << i;
    }
}

TEST_F(MedianCutTest, RejectsColorCountsOutsideOneTo256) {
    HGLOBAL src = make_uniform(2, 2, {1, 2, 3});
    HGLOBAL out = nullptr;
    EXPECT_EQ(median_cut_reduce(src, &out, 0, 0), 0);
    EXPECT_EQ(median_cut_reduce(src, &out, 257, 0), 0);
    EXPECT_EQ(out, nullptr);
    EXPECT_EQ(boxes().size(), 2u);
    GlobalFree(src);
}
