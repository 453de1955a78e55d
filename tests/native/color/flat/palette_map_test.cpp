#include <gtest/gtest.h>

#include "color/flat/flat_tables.h"
#include "color/flat/palette_map.h"
#include "color_images.h"
#include "engine_test_support.h"

class PaletteMapTest : public CoreTest {
protected:
    /* An empty destination of the source's size with the given table. */
    HGLOBAL destination(int width, int height, int bits, const std::vector<Rgb> &table) {
        return make_indexed(width, height, bits, table, std::vector<int>((size_t)width * height, 0));
    }
    Image map(HGLOBAL src, HGLOBAL dst, int ditherType, int fast) {
        EXPECT_EQ(palette_map_dither_with(src, dst, 0, ditherType, fast), 1) << last_text();
        Image im = read_image(dst);
        GlobalFree(src);
        GlobalFree(dst);
        return im;
    }
    static std::vector<Rgb> grays(int count, int step) {
        std::vector<Rgb> t;
        for (int i = 0; i < count; i++) t.push_back({i * step, i * step, i * step});
        return t;
    }
};

TEST_F(PaletteMapTest, NearestBySumOfDifferencesFirstWinsTie) {
    const RGBQUAD table[3] = {{0, 0, 10, 0}, {0, 10, 0, 0}, {5, 5, 5, 0}};
    EXPECT_EQ(palette_nearest(table, 2, 5, 5, 0), 0);
    EXPECT_EQ(palette_nearest(table, 3, 5, 5, 0), 2);
    EXPECT_EQ(palette_nearest(table, 3, 0, 12, 0), 1);
}

TEST_F(PaletteMapTest, CellSearchAgreesWithTheFullSearch) {
    /* random tables with repeated and clustered entries, so ties and close
       calls happen; every 3rd level of every channel is asked */
    unsigned seed = 3;
    for (int count : {1, 2, 16, 100, 256}) {
        std::vector<RGBQUAD> table(count);
        for (int i = 0; i < count; i++) {
            seed = seed * 1103515245u + 12345u;
            int pick = (int)(seed >> 16);
            if (i > 0 && pick % 5 == 0) {
                table[i] = table[pick % i];
            } else {
                table[i].rgbRed = (BYTE)((pick & 0x3F) * 4);
                table[i].rgbGreen = (BYTE)(((pick >> 6) & 0x1F) * 8);
                table[i].rgbBlue = (BYTE)(((pick >> 3) & 0x7F) * 2);
            }
        }
        PaletteSearch *search = palette_search_new(table.data(), count);
        ASSERT_NE(search, nullptr);
        for (int r = 0; r < 256; r += 3)
            for (int g = 0; g < 256; g += 3)
                for (int b = 0; b < 256; b += 3)
                    ASSERT_EQ(palette_search_nearest(search, r, g, b), palette_nearest(table.data(), count, r, g, b))
                        << count << ": " << r << "," << g << "," << b;
        palette_search_free(search);
    }
}

TEST_F(PaletteMapTest, FifteenBitCacheReusesTheFirstAnswer) {
    /* (0,0,0) and (7,7,7) share a key: with the cache the second takes the
       first's entry, without it its own nearest */
    std::vector<Rgb> px = {{0, 0, 0}, {7, 7, 7}};
    std::vector<Rgb> table = {{0, 0, 0}, {6, 6, 6}};
    Image cached = map(make_truecolor(2, 1, px), destination(2, 1, 1, table), 2, 1);
    EXPECT_EQ(cached.index, (std::vector<int>{0, 0}));
    Image exact = map(make_truecolor(2, 1, px), destination(2, 1, 1, table), 2, 0);
    EXPECT_EQ(exact.index, (std::vector<int>{0, 1}));
}

TEST_F(PaletteMapTest, RowsRunLeftToRight) {
    std::vector<Rgb> px = {{0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {100, 100, 100}, {100, 100, 100}, {30, 30, 30}};
    Image im = map(make_truecolor(3, 2, px), destination(3, 2, 1, {{0, 0, 0}, {255, 255, 255}}), 2, 1);
    EXPECT_EQ(im.index, (std::vector<int>{0, 0, 0, 0, 1, 0}));
}

TEST_F(PaletteMapTest, HalftoneOffsetsByDestinationDepth) {
    Image eight = map(make_uniform(4, 1, {100, 100, 100}), destination(4, 1, 8, grays(256, 1)), 0, 0);
    EXPECT_EQ(eight.index, (std::vector<int>{93, 101, 95, 103}));
    /* with the cache 95 and 103 take the answers of 93 and 101 (same keys) */
    Image cached = map(make_uniform(4, 1, {100, 100, 100}), destination(4, 1, 8, grays(256, 1)), 0, 1);
    EXPECT_EQ(cached.index, (std::vector<int>{93, 101, 93, 101}));
    Image four = map(make_uniform(4, 1, {100, 100, 100}), destination(4, 1, 4, grays(16, 17)), 0, 0);
    EXPECT_EQ(four.index, (std::vector<int>{1, 7, 2, 8}));
}

TEST_F(PaletteMapTest, ErrorsAreCarriedAsValues) {
    /* 8 pixels of 128 against black and white alternate, 4 whites */
    Image im = map(make_uniform(8, 1, {128, 128, 128}), destination(8, 1, 1, {{0, 0, 0}, {255, 255, 255}}), 2, 0);
    EXPECT_EQ(im.index, (std::vector<int>{1, 0, 1, 0, 1, 0, 1, 0}));
}

TEST_F(PaletteMapTest, RejectsMismatchedDestination) {
    HGLOBAL src = make_uniform(3, 2, {1, 2, 3});
    HGLOBAL dst = destination(2, 2, 8, grays(4, 80));
    EXPECT_EQ(palette_map_dither_with(src, dst, 0, 2, 1), 0);
    EXPECT_EQ(boxes().size(), 1u);
    GlobalFree(src);
    GlobalFree(dst);
}
