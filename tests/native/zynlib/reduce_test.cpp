// The pixel work of the screen conversion, on values worked out by hand.
#include <gtest/gtest.h>

#include <vector>

#include "dib_internal.h"

namespace {

std::vector<BYTE> reduce(std::vector<BYTE> src, int bits, LONG row, int dither, int display, int alpha) {
    LONG width = (LONG)(src.size() / (bits / 8));
    std::vector<BYTE> out(width + 1, 0xEE);  // a guard byte after the row
    zyn_reduce_row_332(src.data(), bits, out.data(), width, row, dither, display, alpha);
    EXPECT_EQ(out.back(), 0xEE) << "wrote past the row";
    out.pop_back();
    return out;
}

TEST(zynReduce332, EveryPaletteColorMapsBackToItsIndex) {
    RGBQUAD table[256];
    zyn_fill_332(table);
    EXPECT_EQ(table[0].rgbRed + table[0].rgbGreen + table[0].rgbBlue, 0);
    EXPECT_EQ(table[255].rgbRed, 255);
    EXPECT_EQ(table[255].rgbGreen, 255);
    EXPECT_EQ(table[255].rgbBlue, 255);
    const int levels3[8] = {0, 36, 73, 109, 146, 182, 219, 255};
    for (int r = 0; r < 8; ++r) EXPECT_EQ(table[r].rgbRed, levels3[r]);
    for (int g = 0; g < 8; ++g) EXPECT_EQ(table[g << 3].rgbGreen, levels3[g]);
    EXPECT_EQ(table[0xC0].rgbBlue, 255);
    EXPECT_EQ(table[0x80].rgbBlue, 170);

    std::vector<BYTE> row;
    for (const RGBQUAD &c : table) row.insert(row.end(), {c.rgbBlue, c.rgbGreen, c.rgbRed});
    std::vector<BYTE> idx = reduce(row, 24, 0, 0, 8, 0);
    for (int i = 0; i < 256; ++i) EXPECT_EQ(idx[i], i);
}

TEST(zynReduce332, OrderedDitherOffsetsByMatrixPosition) {
    // Mid gray 128: luminance 129, >> 5 = 4.  Row 0 column 0: t = -7, offset
    // -28, so 100 on every channel -> 3 | 0x18 | 0x40.  Row 3 column 0:
    // t = 8, +32 -> 160 -> 5 | 0x28 | 0x80.  Without dither: 0xA4.
    EXPECT_EQ(zyn_dither_luma(128, 128, 128), 129);
    EXPECT_EQ(zyn_dither_luma(255, 255, 255), 253);
    std::vector<BYTE> gray = {128, 128, 128};
    EXPECT_EQ(reduce(gray, 24, 0, 0, 8, 0)[0], 0xA4);
    EXPECT_EQ(reduce(gray, 24, 0, 1, 8, 0)[0], 0x5B);
    EXPECT_EQ(reduce(gray, 24, 3, 1, 8, 0)[0], 0xAD);
    EXPECT_EQ(reduce(gray, 24, 4, 1, 8, 0)[0], 0x5B);  // rows repeat every 4
    // Only flag value 1 dithers.
    EXPECT_EQ(reduce(gray, 24, 0, 2, 8, 0)[0], 0xA4);
    // Columns: the second pixel of row 0 has t = 1: offset 4 -> 132 -> 0xA4.
    std::vector<BYTE> two = {128, 128, 128, 128, 128, 128};
    EXPECT_EQ(reduce(two, 24, 0, 1, 8, 0), (std::vector<BYTE>{0x5B, 0xA4}));
}

TEST(zynReduce332, FourBitDisplayDoublesTheOffsetAndClamps) {
    // L >> 4 = 8.  Row 0 column 0: t = -14, -112 -> 16 -> index 0.
    // Row 3 column 0: t = 16, +128 -> 256, clamped to 255 -> 0xFF.
    std::vector<BYTE> gray = {128, 128, 128};
    EXPECT_EQ(reduce(gray, 24, 0, 1, 4, 0)[0], 0x00);
    EXPECT_EQ(reduce(gray, 24, 3, 1, 4, 0)[0], 0xFF);
}

TEST(zynReduce332, AlphaModesOf32BitPixels) {
    // 200 on each channel: 6 | 0x30 | 0xC0 = 0xF6 at full strength.
    std::vector<BYTE> clear = {200, 200, 200, 0};
    EXPECT_EQ(reduce(clear, 32, 0, 0, 8, 0)[0], 0xF6);  // mode 0: alpha ignored
    EXPECT_EQ(reduce(clear, 32, 0, 0, 8, 9)[0], 0xF6);  // unknown mode: ignored
    // Mode 1: alpha' = 0 | 0x80 = 128; 200 * 128 / 255 = 100 -> 0x5B.
    EXPECT_EQ(reduce(clear, 32, 0, 0, 8, 1)[0], 0x5B);
    EXPECT_EQ(reduce(clear, 32, 0, 0, 8, 2)[0], 0x00);
    // Mode 1 with alpha 128: alpha' = 192; 200 * 192 / 255 = 150 -> 0xA4.
    EXPECT_EQ(reduce({200, 200, 200, 128}, 32, 0, 0, 8, 1)[0], 0xA4);
    EXPECT_EQ(reduce({200, 200, 200, 255}, 32, 0, 0, 8, 2)[0], 0xF6);
    // Mode 3: full strength where column + row is a multiple of 3.
    std::vector<BYTE> three;
    for (int i = 0; i < 4; ++i) three.insert(three.end(), clear.begin(), clear.end());
    EXPECT_EQ(reduce(three, 32, 0, 0, 8, 3), (std::vector<BYTE>{0xF6, 0x00, 0x00, 0xF6}));
    EXPECT_EQ(reduce(three, 32, 1, 0, 8, 3), (std::vector<BYTE>{0x00, 0x00, 0xF6, 0x00}));
    // 24-bit rows have no alpha to apply.
    EXPECT_EQ(reduce({200, 200, 200}, 24, 0, 0, 8, 2)[0], 0xF6);
    // The dither comes first, then the alpha: nothing survives alpha 0.
    EXPECT_EQ(reduce(clear, 32, 3, 1, 8, 2)[0], 0x00);
}

TEST(zynHalftone16, EightBitRowsBecomeHalftonedNibbles) {
    RGBQUAD table[4] = {{0, 0, 0, 0}, {255, 255, 255, 0}, {128, 128, 128, 0}, {0, 0, 255, 0}};
    // Row 1 of the matrix: 5, -3, 7, -1 (then 5 again).
    //  white: L 253 >> 4 = 15, +150 -> 255 everywhere -> k 63 -> 15
    //  black: stays 0 -> 0
    //  gray:  L 129 >> 4 = 8, +112 -> 240 -> k 63 -> 15
    //  red:   L 76 >> 4 = 4, -8 -> (247, 0, 0) -> k 48 -> 9
    //  index 5 is past the table: black -> 0
    BYTE src[5] = {1, 0, 2, 3, 5};
    BYTE dst[4] = {0xEE, 0xEE, 0xEE, 0xEE};
    zyn_halftone_row_4(src, table, 4, dst, 5, 1);
    EXPECT_EQ(dst[0], 0xF0);
    EXPECT_EQ(dst[1], 0xF9);
    EXPECT_EQ(dst[2], 0x00);
    EXPECT_EQ(dst[3], 0xEE) << "wrote past the row";
    // Row 0 pulls white at column 0 all the way down: 253 >> 4 = 15, -210.
    zyn_halftone_row_4(src, table, 4, dst, 1, 0);
    EXPECT_EQ(dst[0] >> 4, 0);
}

}  // namespace
