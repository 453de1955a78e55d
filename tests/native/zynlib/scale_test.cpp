// The resampler and the fixed-ratio filters, on every depth they accept.
#include "pixel_support.h"

namespace {

class ScaleTest : public ZynTest {};

std::vector<BYTE> row_indices(HGLOBAL h, LONG y) {
    {
        Locked l(h);
        std::vector<BYTE> v;
        for (LONG x = 0; x < l.bi->biWidth; x++) v.push_back(l.index(x, y));
        return v;
    }
}

HGLOBAL counting_row(LONG width, WORD bits) {
    HGLOBAL h = new_image(width, 1, bits);
    {
        Locked l(h);
        for (LONG x = 0; x < width; x++) l.set_index(x, 0, (BYTE)(x % (1 << bits)));
        return h;
    }
}

TEST_F(ScaleTest, StretchPicksSourcePixelsByErrorAccumulation) {
    HGLOBAL ten = counting_row(10, 8);
    HGLOBAL four = ZYN_DIB_StretchDIB(ten, 4, 1);
    ASSERT_NE(four, nullptr);
    EXPECT_EQ(row_indices(four, 0), (std::vector<BYTE>{0, 2, 5, 7}));
    HGLOBAL src4 = counting_row(4, 8);
    HGLOBAL wide = ZYN_DIB_StretchDIB(src4, 10, 1);
    ASSERT_NE(wide, nullptr);
    EXPECT_EQ(row_indices(wide, 0), (std::vector<BYTE>{0, 0, 0, 1, 1, 2, 2, 2, 3, 3}));
    for (HGLOBAL h : {ten, four, src4, wide}) GlobalFree(h);
}

TEST_F(ScaleTest, StretchOfOneBitToTwiceTheWidthDoublesEveryPixel) {
    HGLOBAL src = new_image(7, 1, 1);
    Locked(src).row(0)[0] = 0xA6;  // 1 0 1 0 0 1 1
    HGLOBAL out = ZYN_DIB_StretchDIB(src, 14, 1);
    ASSERT_NE(out, nullptr);
    EXPECT_EQ(row_indices(out, 0), (std::vector<BYTE>{1, 1, 0, 0, 1, 1, 0, 0, 0, 0, 1, 1, 1, 1}));
    {
        Locked o(out);
        EXPECT_EQ(o.row(0)[0], 0xCC);
        EXPECT_EQ(o.row(0)[1], 0x3C);
    }
    GlobalFree(out);
    GlobalFree(src);
}

TEST_F(ScaleTest, StretchMatchesTheFloorFormulaOnEveryDepth) {
    for (WORD bits : {1, 4, 8, 24, 32})
        for (LONG w : {1, 3, 5, 7, 9})
            for (auto size : {std::pair<LONG, LONG>{1, 1}, {2, 3}, {w * 2 + 1, 5}, {17, 1}, {3, 11}}) {
                HGLOBAL src = patterned_image(w, 4, bits, w * bits);
                std::vector<BYTE> before = block_bytes(src);
                HGLOBAL out = ZYN_DIB_StretchDIB(src, size.first, size.second);
                ASSERT_NE(out, nullptr);
                EXPECT_EQ(block_bytes(src), before);
                EXPECT_EQ(lock_count(src), 0u);
                {
                    Locked s(src), o(out);
                    EXPECT_EQ(o.bi->biBitCount, bits);
                    EXPECT_EQ(o.bi->biSizeImage, test_stride(size.first, bits) * size.second);
                    if (bits < 24) {
                        EXPECT_EQ(memcmp(o.table, s.table, (4u << bits)), 0);
                    }
                    for (LONG y = 0; y < size.second; y++)
                        for (LONG x = 0; x < size.first; x++)
                            ASSERT_TRUE(o.pixel(x, y) == s.pixel(x * w / size.first, y * 4 / size.second))
                                << bits << " bits " << w << " -> " << size.first << "x" << size.second;
                    EXPECT_TRUE(padding_clear(o));
                }
                GlobalFree(out);
                GlobalFree(src);
            }
}

TEST_F(ScaleTest, StretchRefusesEmptySizesAndSixteenBits) {
    HGLOBAL src = patterned_image(3, 3, 8);
    EXPECT_EQ(ZYN_DIB_StretchDIB(src, 0, 3), nullptr);
    EXPECT_EQ(ZYN_DIB_StretchDIB(src, 3, -1), nullptr);
    EXPECT_EQ(ZYN_DIB_StretchDIB(src, (1 << 24) + 1, 1), nullptr);
    EXPECT_EQ(ZYN_DIB_StretchDIB(src, 0x7FFFFFFF, 0x7FFFFFFF), nullptr);
    HGLOBAL sixteen = new_image(3, 3, 16);
    EXPECT_EQ(ZYN_DIB_StretchDIB(sixteen, 6, 6), nullptr);
    EXPECT_TRUE(shown().empty());
    GlobalFree(sixteen);
    GlobalFree(src);
}

TEST_F(ScaleTest, DoubleWithBothExtrasMakesSevenByFive) {
    for (WORD bits : {8, 24, 32}) {
        HGLOBAL src = patterned_image(3, 2, bits, bits);
        HGLOBAL out = ZYN_DIB_DoubleDIB(src, TRUE, TRUE);
        ASSERT_NE(out, nullptr);
        {
            Locked s(src), o(out);
            EXPECT_EQ(o.bi->biWidth, 7);
            EXPECT_EQ(o.bi->biHeight, 5);
            for (LONG y = 0; y < 5; y++)
                for (LONG x = 0; x < 7; x++) {
                    LONG sx = x / 2 < 3 ? x / 2 : 2, sy = y / 2 < 2 ? y / 2 : 1;
                    EXPECT_TRUE(o.pixel(x, y) == s.pixel(sx, sy)) << bits << " at " << x << "," << y;
                }
            EXPECT_TRUE(padding_clear(o));
        }
        GlobalFree(out);
        GlobalFree(src);
    }
}

TEST_F(ScaleTest, DoubleWithoutExtrasAndOddWidths) {
    for (WORD bits : {8, 24, 32})
        for (LONG w : {1, 3, 5, 7, 9}) {
            HGLOBAL src = patterned_image(w, 3, bits, w);
            HGLOBAL out = ZYN_DIB_DoubleDIB(src, FALSE, FALSE);
            ASSERT_NE(out, nullptr);
            {
                Locked s(src), o(out);
                ASSERT_EQ(o.bi->biWidth, 2 * w);
                ASSERT_EQ(o.bi->biHeight, 6);
                for (LONG y = 0; y < 6; y++)
                    for (LONG x = 0; x < 2 * w; x++) ASSERT_TRUE(o.pixel(x, y) == s.pixel(x / 2, y / 2));
            }
            GlobalFree(out);
            GlobalFree(src);
        }
    HGLOBAL four = patterned_image(3, 3, 4);
    EXPECT_EQ(ZYN_DIB_DoubleDIB(four, FALSE, FALSE), nullptr);
    GlobalFree(four);
}

TEST_F(ScaleTest, PointHalvingAndQuarteringSampleTheLowerLeftPixel) {
    struct Case {
        HGLOBAL (*filter)(HGLOBAL);
        LONG step;
        bool trueColor;
    } cases[] = {{ZYN_DIB_HalfDIB, 2, true}, {ZYN_DIB_HalfSDIB8, 2, false}, {ZYN_DIB_QuarterSDIB8, 4, false}};
    for (const Case &c : cases)
        for (WORD bits : {1, 4, 8, 24, 32})
            for (LONG w : {4, 5, 7, 9, 13}) {
                HGLOBAL src = patterned_image(w, 9, bits, w + bits);
                HGLOBAL out = c.filter(src);
                bool accepted = bits == 8 || (c.trueColor && bits >= 24);
                if (!accepted) {
                    EXPECT_EQ(out, nullptr);
                    GlobalFree(src);
                    continue;
                }
                ASSERT_NE(out, nullptr);
                {
                    Locked s(src), o(out);
                    ASSERT_EQ(o.bi->biWidth, w / c.step);
                    ASSERT_EQ(o.bi->biHeight, 9 / c.step);
                    EXPECT_EQ(o.bi->biBitCount, bits);
                    for (LONG y = 0; y < o.bi->biHeight; y++)
                        for (LONG x = 0; x < o.bi->biWidth; x++)
                            ASSERT_TRUE(o.pixel(x, y) == s.pixel(c.step * x, c.step * y));
                    EXPECT_TRUE(padding_clear(o));
                }
                GlobalFree(out);
                GlobalFree(src);
            }
}

TEST_F(ScaleTest, HalvingFiveByFiveGivesTwoByTwo) {
    HGLOBAL src = patterned_image(5, 5, 24);
    HGLOBAL out = ZYN_DIB_HalfDIB(src);
    ASSERT_NE(out, nullptr);
    BITMAPINFOHEADER h = header_of(out);
    EXPECT_EQ(h.biWidth, 2);
    EXPECT_EQ(h.biHeight, 2);
    EXPECT_EQ(h.biSizeImage, 16u);
    GlobalFree(out);
    GlobalFree(src);
}

TEST_F(ScaleTest, AveragedHalvingRoundsTheSumDown) {
    HGLOBAL src = new_image(2, 2, 24);
    {
        {
            Locked l(src);
            l.set_pixel(0, 0, {0, 10, 255, 0});
            l.set_pixel(1, 0, {1, 10, 255, 0});
            l.set_pixel(0, 1, {2, 11, 254, 0});
            l.set_pixel(1, 1, {2, 10, 255, 0});
        }
    }
    HGLOBAL out = ZYN_DIB_HQHalfDIB(src);
    ASSERT_NE(out, nullptr);
    EXPECT_TRUE((Locked(out).pixel(0, 0) == Bgra{1, 10, 254, 255}));
    GlobalFree(out);
    GlobalFree(src);
}

TEST_F(ScaleTest, AveragedHalvingOnEveryDepth) {
    for (WORD bits : {8, 24, 32})
        for (LONG w : {2, 3, 5, 7, 9}) {
            HGLOBAL src = patterned_image(w, 5, bits, w);
            HGLOBAL out = ZYN_DIB_HQHalfDIB(src);
            ASSERT_NE(out, nullptr);
            {
                Locked s(src), o(out);
                EXPECT_EQ(o.bi->biBitCount, bits == 32 ? 32 : 24);
                EXPECT_EQ(o.bi->biClrUsed, 0u);
                EXPECT_EQ(o.bi->biClrImportant, 0u);
                EXPECT_EQ(GlobalSize(out), 40 + test_stride(w / 2, o.bi->biBitCount) * 2);
                for (LONG y = 0; y < 2; y++)
                    for (LONG x = 0; x < w / 2; x++) {
                        Bgra a = s.pixel(2 * x, 2 * y), b = s.pixel(2 * x + 1, 2 * y), c = s.pixel(2 * x, 2 * y + 1),
                             d = s.pixel(2 * x + 1, 2 * y + 1);
                        Bgra want = {(BYTE)((a.b + b.b + c.b + d.b) >> 2), (BYTE)((a.g + b.g + c.g + d.g) >> 2),
                                     (BYTE)((a.r + b.r + c.r + d.r) >> 2),
                                     bits == 32 ? (BYTE)((a.a + b.a + c.a + d.a) >> 2) : (BYTE)255};
                        ASSERT_TRUE(o.pixel(x, y) == want);
                    }
                EXPECT_TRUE(padding_clear(o));
            }
            GlobalFree(out);
            GlobalFree(src);
        }
}

TEST_F(ScaleTest, FiltersRefuseImagesTooSmallToShrink) {
    HGLOBAL one = patterned_image(1, 1, 8);
    EXPECT_EQ(ZYN_DIB_HalfDIB(one), nullptr);
    EXPECT_EQ(ZYN_DIB_QuarterSDIB8(one), nullptr);
    EXPECT_EQ(ZYN_DIB_HQHalfDIB(one), nullptr);
    EXPECT_EQ(lock_count(one), 0u);
    GlobalFree(one);
}

TEST_F(ScaleTest, ShrinkingFiltersOnOddWidthsDropTheLastColumn) {
    HGLOBAL (*const filters[])(HGLOBAL) = {ZYN_DIB_HalfDIB, ZYN_DIB_HQHalfDIB, ZYN_DIB_HalfSDIB8,
                                          ZYN_DIB_QuarterSDIB8};
    const LONG steps[] = {2, 2, 2, 4};
    for (int f = 0; f < 4; f++)
        for (WORD bits : {8, 24, 32})
            for (LONG w : {1, 3, 5, 7, 9}) {
                HGLOBAL src = patterned_image(w, 5, bits, w);
                HGLOBAL out = filters[f](src);
                bool accepted = bits == 8 || f < 2;
                if (!accepted || w / steps[f] == 0 || 5 / steps[f] == 0) {
                    EXPECT_EQ(out, nullptr);
                } else {
                    ASSERT_NE(out, nullptr);
                    BITMAPINFOHEADER h = header_of(out);
                    EXPECT_EQ(h.biWidth, w / steps[f]);
                    EXPECT_EQ(h.biHeight, 5 / steps[f]);
                    {
                        Locked o(out);
                        EXPECT_TRUE(padding_clear(o));
                    }
                    GlobalFree(out);
                }
                EXPECT_EQ(lock_count(src), 0u);
                GlobalFree(src);
            }
}

TEST_F(ScaleTest, EveryOperationRefusesRowsBeyondTheBlock) {
    for (WORD bits : {1, 4, 8, 24, 32}) {
        // The header claims 100 rows; the block holds a few bytes of them.
        HGLOBAL bad = make_dib(9, 100, bits, 0, 0, bits < 24 ? 1u << bits : 0, 16);
        std::vector<BYTE> before = block_bytes(bad);
        EXPECT_EQ(ZYN_DIB_StretchDIB(bad, 3, 3), nullptr);
        EXPECT_EQ(ZYN_DIB_DoubleDIB(bad, TRUE, TRUE), nullptr);
        EXPECT_EQ(ZYN_DIB_HalfDIB(bad), nullptr);
        EXPECT_EQ(ZYN_DIB_HQHalfDIB(bad), nullptr);
        EXPECT_EQ(ZYN_DIB_HalfSDIB8(bad), nullptr);
        EXPECT_EQ(ZYN_DIB_QuarterSDIB8(bad), nullptr);
        EXPECT_EQ(ZYN_DIB_AddAlpha(bad, bad), nullptr);
        HGLOBAL good = patterned_image(9, 100, 8);
        EXPECT_EQ(ZYN_DIB_AddAlpha(good, bad), nullptr);
        EXPECT_EQ(ZYN_DIB_AddAlpha(bad, good), nullptr);
        GlobalFree(good);
        if (bits >= 24) {
            EXPECT_EQ(ZYN_DIB_DIBToGray(bad), nullptr);
        }
        EXPECT_EQ(ZYN_DIB_IncreaseBpp(bad, 32), nullptr);
        LOGPALETTE pal = {0x300, 1, {{1, 2, 3, 0}}};
        EXPECT_EQ(ZYN_DIB_CutToPalette(bad, &pal), nullptr);
        EXPECT_EQ(block_bytes(bad), before);
        EXPECT_EQ(lock_count(bad), 0u);
        GlobalFree(bad);
    }
}

}  // namespace
