#include <gtest/gtest.h>

#include <stdlib.h>

#include "color/flat/flat_reduce.h"
#include "color/flat/flat_tables.h"
#include "color_images.h"
#include "engine_test_support.h"

class FlatTest : public CoreTest {
protected:
    void SetUp() override {
        CoreTest::SetUp();
        flat_tables_init();
    }
    /* Reduces and reads back; every reduction here must succeed quietly. */
    Image reduce(HGLOBAL src, int target, int gray, int dither, int ditherType = 2) {
        settings_write(SET_DITHER_TYPE, ditherType);
        HGLOBAL out = flat_cut(src, target, gray, dither);
        EXPECT_NE(out, nullptr) << last_text();
        EXPECT_TRUE(boxes().empty()) << last_text();
        Image im = out ? read_image(out) : Image();
        if (out) GlobalFree(out);
        GlobalFree(src);
        return im;
    }
};

TEST_F(FlatTest, LuminanceTablesRoundHalfAwayFromZero) {
    EXPECT_EQ(flat_luma_red[255 + 256], 77);
    EXPECT_EQ(flat_luma_green[255 + 256], 150);
    EXPECT_EQ(flat_luma_blue[255 + 256], 28);
    EXPECT_EQ(flat_luma(255, 255, 255), 255);
    EXPECT_EQ(flat_luma_red[-255 + 256], -77);
    EXPECT_EQ(flat_luma_green[-256 + 256], -151);
    EXPECT_EQ(flat_luma_blue[0 + 256], 0);
    /* 0.59 x 11 + 0.51 is exactly 7 (floating point would give 6.99...) */
    EXPECT_EQ(flat_luma_green[11 + 256], 7);
    EXPECT_EQ(flat_luma_green[-11 + 256], -7);
    EXPECT_EQ(flat_luma_red[100 + 256] + flat_luma_green[100 + 256] + flat_luma_blue[100 + 256], 100);
    EXPECT_EQ(flat_clamp_table[0], 0);
    EXPECT_EQ(flat_clamp_table[256 + 100], 100);
    EXPECT_EQ(flat_clamp_table[767], 255);
}

TEST_F(FlatTest, MonochromeThresholdAt128) {
    Image im = reduce(make_truecolor(3, 1, {{255, 255, 255}, {128, 128, 128}, {127, 127, 127}}), 1, 0, 0);
    ASSERT_EQ(im.bits, 1);
    EXPECT_EQ(im.clrUsed, 2u);
    EXPECT_EQ(im.entry(0), (Rgb{0, 0, 0}));
    EXPECT_EQ(im.entry(1), (Rgb{255, 255, 255}));
    EXPECT_EQ(im.index, (std::vector<int>{1, 1, 0}));
}

TEST_F(FlatTest, SixteenColorsGrayRuleAndTable) {
    Image im = reduce(make_truecolor(6, 1,
                                     {{128, 128, 128}, {200, 200, 200}, {230, 230, 230}, {40, 40, 40},
                                      {255, 0, 0}, {128, 128, 160}}),
                      4, 0, 0);
    ASSERT_EQ(im.bits, 4);
    EXPECT_EQ(im.clrUsed, 16u);
    EXPECT_EQ(im.entry(7), (Rgb{192, 192, 192}));
    EXPECT_EQ(im.entry(9), (Rgb{255, 0, 0}));
    /* saturated red by table B; (128,128,160) has s = 128 >= 50: table B[42] */
    EXPECT_EQ(im.index, (std::vector<int>{8, 7, 15, 0, 9, 15}));
}

TEST_F(FlatTest, SixteenColorsGrayFlagUsesRedAlone) {
    Image im = reduce(make_truecolor(2, 1, {{255, 0, 0}, {100, 255, 255}}), 4, 1, 0);
    EXPECT_EQ(im.index, (std::vector<int>{15, 8}));
}

TEST_F(FlatTest, DiffusionGrayTestUsesTwoHundred) {
    /* s = 128: a color without dither, a gray (by red 128) with it */
    Image im = reduce(make_truecolor(1, 1, {{128, 128, 160}}), 4, 0, 1);
    EXPECT_EQ(im.index, (std::vector<int>{8}));
}

TEST_F(FlatTest, Table332AndWhite) {
    Image im = reduce(make_truecolor(3, 1, {{255, 255, 255}, {0, 0, 0}, {100, 200, 150}}), 8, 0, 0);
    ASSERT_EQ(im.bits, 8);
    EXPECT_EQ(im.clrUsed, 256u);
    EXPECT_EQ(im.entry(255), (Rgb{255, 255, 255}));
    EXPECT_EQ(im.entry(9), (Rgb{36, 36, 0}));
    EXPECT_EQ(im.entry(1 + 8 * 4 + 64 * 2), (Rgb{36, 146, 170}));
    EXPECT_EQ(im.index, (std::vector<int>{255, 0, 3 | (192 >> 2) | 128}));
}

TEST_F(FlatTest, Diffusion332ErrorIsMeasuredAgainstTheCut) {
    /* white pushes 31, 31, 63 (against 224, 224, 192): the next pixel
       (20, 20, 180) becomes (33, 33, 207) */
    Image im = reduce(make_truecolor(2, 1, {{255, 255, 255}, {20, 20, 180}}), 8, 0, 1);
    EXPECT_EQ(im.index, (std::vector<int>{255, 1 | 8 | 192}));
}

TEST_F(FlatTest, SecondRowRunsRightToLeft) {
    /* row 1 scanned right to left gives 1, 0, 0; left to right would give 0, 1, 0 */
    Image im = reduce(make_truecolor(3, 2, {{0, 0, 0}, {0, 0, 0}, {0, 0, 0},
                                            {100, 100, 100}, {100, 100, 100}, {30, 30, 30}}),
                      1, 0, 1);
    EXPECT_EQ(im.index, (std::vector<int>{0, 0, 0, 1, 0, 0}));
}

TEST_F(FlatTest, HalftoneRowsRunLeftToRight) {
    Image im = reduce(make_uniform(4, 2, {100, 100, 100}), 8, 0, 1, 0);
    EXPECT_EQ(im.index, (std::vector<int>{82, 91, 82, 91, 91, 82, 91, 91}));
    Image mono = reduce(make_uniform(4, 2, {128, 128, 128}), 1, 0, 1, 0);
    EXPECT_EQ(mono.index, (std::vector<int>{0, 1, 0, 1, 1, 0, 1, 0}));
}

TEST_F(FlatTest, HalftoneSixteenColors) {
    /* L = 100, o = 2 m 6: row 0 offsets -84, 12, -60, 36 */
    Image im = reduce(make_uniform(4, 1, {100, 100, 100}), 4, 1, 1, 0);
    EXPECT_EQ(im.index, (std::vector<int>{0, 8, 0, 8}));
    Image color = reduce(make_uniform(4, 1, {100, 100, 100}), 4, 0, 1, 0);
    /* shifted grays 16, 112, 40, 136: keys 0, 21, 0, 42 in table A */
    EXPECT_EQ(color.index, (std::vector<int>{0, 8, 0, 7}));
}

TEST_F(FlatTest, SixteenBitLevelKeepsFiveBits) {
    Image im = reduce(make_truecolor(1, 1, {{255, 7, 130}}), 16, 0, 0);
    ASSERT_EQ(im.bits, 24);
    EXPECT_EQ(im.clrUsed, 0u);
    EXPECT_EQ(im.rgb(0, 0), (Rgb{248, 0, 128}));
    Image dithered = reduce(make_truecolor(2, 1, {{7, 7, 7}, {245, 245, 245}}), 16, 0, 1);
    EXPECT_EQ(dithered.rgb(1, 0), (Rgb{248, 248, 248}));
}

TEST_F(FlatTest, TwentyFourBitsDropsAlpha) {
    Image im = reduce(make_truecolor(2, 1, {{1, 2, 3}, {250, 128, 9}}, 32), 24, 0, 1);
    ASSERT_EQ(im.bits, 24);
    EXPECT_EQ(im.rgb(0, 0), (Rgb{1, 2, 3}));
    EXPECT_EQ(im.rgb(1, 0), (Rgb{250, 128, 9}));
}

TEST_F(FlatTest, LargeErrorFloydSteinbergDropsSmallAndNegativeErrors) {
    /* every 3-3-2 error below 16: the result is the plain flat cut */
    srand(5);
    std::vector<Rgb> px;
    for (int i = 0; i < 9 * 7; i++)
        px.push_back({(rand() % 8) * 32 + rand() % 16, (rand() % 8) * 32 + rand() % 16, (rand() % 4) * 64 + rand() % 16});
    Image plain = reduce(make_truecolor(9, 7, px), 8, 0, 0);
    Image large = reduce(make_truecolor(9, 7, px), 8, 0, 1, 8);
    EXPECT_EQ(plain.index, large.index);
    Image normal = reduce(make_truecolor(9, 7, px), 8, 0, 1, 2);
    EXPECT_NE(plain.index, normal.index);
    /* monochrome errors toward white are all negative */
    std::vector<Rgb> light(25, Rgb{140, 140, 140});
    EXPECT_EQ(reduce(make_truecolor(5, 5, light), 1, 0, 1, 8).index, std::vector<int>(25, 1));
}

TEST_F(FlatTest, PaletteSourcesReadThroughTheirTable) {
    Image im = reduce(make_indexed(3, 1, 4, {{0, 0, 0}, {255, 255, 255}, {40, 40, 40}}, {1, 2, 0}), 4, 0, 0);
    EXPECT_EQ(im.index, (std::vector<int>{15, 0, 0}));
    /* an index beyond the table counts as black */
    Image beyond = reduce(make_indexed(2, 1, 8, {{255, 255, 255}}, {0, 7}), 1, 0, 0);
    EXPECT_EQ(beyond.index, (std::vector<int>{1, 0}));
}

TEST_F(FlatTest, RejectsUnknownTargetsAndDepths) {
    HGLOBAL src = make_uniform(3, 3, {1, 2, 3});
    EXPECT_EQ(flat_cut(src, 2, 0, 0), nullptr);
    EXPECT_EQ(boxes().size(), 1u);
    GlobalFree(src);
    DibParts d;
    ASSERT_TRUE(dib_create(2, 2, 16, 0, &d));
    HGLOBAL h = d.handle;
    dib_close(&d);
    EXPECT_EQ(flat_cut(h, 8, 0, 0), nullptr);
    EXPECT_EQ(boxes().size(), 2u);
    GlobalFree(h);
}
