// Gray conversion, depth increase and alpha from a mask.
#include "pixel_support.h"

namespace {

class DepthTest : public ZynTest {};

HGLOBAL one_pixel_24(BYTE r, BYTE g, BYTE b) {
    HGLOBAL h = new_image(1, 1, 24);
    Locked(h).set_pixel(0, 0, {b, g, r, 0});
    return h;
}

BYTE gray_of_one_pixel(BYTE r, BYTE g, BYTE b) {
    HGLOBAL h = one_pixel_24(r, g, b);
    HGLOBAL gray = ZYN_DIB_DIBToGray(h);
    EXPECT_NE(gray, nullptr);
    BYTE v = Locked(gray).index(0, 0);
    GlobalFree(gray);
    GlobalFree(h);
    return v;
}

TEST_F(DepthTest, GrayValueOfWhiteIs253AndOfBlueIs28) {
    EXPECT_EQ(gray_of_one_pixel(255, 255, 255), 253);
    EXPECT_EQ(gray_of_one_pixel(0, 0, 255), 28);
    EXPECT_EQ(gray_of_one_pixel(0, 0, 0), 0);
    EXPECT_EQ(gray_of_one_pixel(255, 0, 0), 255 / 4 + 255 / 16 + 1 - 255 / 64);
    EXPECT_EQ(gray_of_one_pixel(128, 0, 0), 32 + 8 + 1 - 2);  // r >> 7 counts from 128
    EXPECT_EQ(gray_of_one_pixel(127, 0, 0), 31 + 7 - 1);
}

TEST_F(DepthTest, GrayOfTrueColorBuildsEightBitsOverTheRamp) {
    for (WORD bits : {24, 32})
        for (LONG w : {1, 3, 5, 7, 9}) {
            HGLOBAL src = patterned_image(w, 3, bits, w);
            std::vector<BYTE> before = block_bytes(src);
            HGLOBAL gray = ZYN_DIB_DIBToGray(src);
            ASSERT_NE(gray, nullptr);
            EXPECT_EQ(block_bytes(src), before);
            {
                Locked s(src), g(gray);
                EXPECT_EQ(g.bi->biBitCount, 8);
                EXPECT_EQ(g.bi->biClrUsed, 256u);
                EXPECT_EQ(g.bi->biClrImportant, 256u);
                EXPECT_EQ(g.bi->biSizeImage, test_stride(w, 8) * 3);
                EXPECT_EQ(GlobalSize(gray), 40 + 1024 + test_stride(w, 8) * 3);
                for (int i = 0; i < 256; i++) {
                    EXPECT_EQ(g.table[i].rgbRed, i);
                    EXPECT_EQ(g.table[i].rgbBlue, i);
                }
                for (LONG y = 0; y < 3; y++)
                    for (LONG x = 0; x < w; x++) {
                        Bgra c = s.pixel(x, y);
                        EXPECT_EQ(g.index(x, y), reference_gray(c.r, c.g, c.b));
                    }
                EXPECT_TRUE(padding_clear(g));
            }
            GlobalFree(gray);
            GlobalFree(src);
        }
}

TEST_F(DepthTest, GrayOfPaletteImageChangesOnlyTheTable) {
    for (WORD bits : {1, 4, 8}) {
        HGLOBAL src = patterned_image(5, 2, bits, bits);
        HGLOBAL gray = ZYN_DIB_DIBToGray(src);
        ASSERT_NE(gray, nullptr);
        std::vector<BYTE> a = block_bytes(src), b = block_bytes(gray);
        ASSERT_EQ(a.size(), b.size());
        size_t table = 40 + (4u << bits);
        EXPECT_TRUE(std::equal(a.begin(), a.begin() + 40, b.begin()));
        EXPECT_TRUE(std::equal(a.begin() + table, a.end(), b.begin() + table));
        {
            Locked s(src), g(gray);
            for (DWORD i = 0; i < (1u << bits); i++) {
                BYTE v = (BYTE)reference_gray(s.table[i].rgbRed, s.table[i].rgbGreen, s.table[i].rgbBlue);
                EXPECT_EQ(g.table[i].rgbRed, v);
                EXPECT_EQ(g.table[i].rgbGreen, v);
                EXPECT_EQ(g.table[i].rgbBlue, v);
            }
        }
        GlobalFree(gray);
        GlobalFree(src);
    }
}

TEST_F(DepthTest, GrayRefusesSixteenBitsAndNull) {
    HGLOBAL h = new_image(3, 3, 16);
    EXPECT_EQ(ZYN_DIB_DIBToGray(h), nullptr);
    EXPECT_EQ(ZYN_DIB_DIBToGray(nullptr), nullptr);
    EXPECT_TRUE(shown().empty());
    EXPECT_EQ(lock_count(h), 0u);
    GlobalFree(h);
}

TEST_F(DepthTest, IncreaseOneBitToFourKeepsTwoEntriesAndBlackensTheRest) {
    HGLOBAL src = new_image(9, 2, 1);
    {
        {
            Locked l(src);
            l.table[0] = RGBQUAD{10, 20, 30, 0};
            l.table[1] = RGBQUAD{40, 50, 60, 0};
            for (LONG x = 0; x < 9; x++) l.set_index(x, 1, (BYTE)(x % 3 == 0));
        }
    }
    HGLOBAL out = ZYN_DIB_IncreaseBpp(src, 4);
    ASSERT_NE(out, nullptr);
    {
        Locked o(out);
        EXPECT_EQ(o.bi->biBitCount, 4);
        EXPECT_EQ(o.bi->biClrUsed, 16u);
        EXPECT_EQ(o.table[0].rgbRed, 30);
        EXPECT_EQ(o.table[1].rgbBlue, 40);
        for (int i = 2; i < 16; i++) EXPECT_EQ(o.table[i].rgbRed | o.table[i].rgbGreen | o.table[i].rgbBlue, 0);
        // Row 1: 1 0 0 1 0 0 1 0 0 -> nibbles 0x10 0x01 0x00 0x10 0x00
        const BYTE want[] = {0x10, 0x01, 0x00, 0x10, 0x00};
        EXPECT_EQ(memcmp(o.row(1), want, sizeof want), 0);
        EXPECT_TRUE(padding_clear(o));
    }
    GlobalFree(out);
    GlobalFree(src);
}

TEST_F(DepthTest, IncreaseKeepsEveryColorOnEveryDepthAndOddWidth) {
    const WORD from[] = {1, 4, 8, 24};
    const UINT to[] = {4, 8, 16, 24, 32};
    for (WORD f : from)
        for (UINT t : to) {
            bool allowed = t >= 24 || (f != 24 && f <= t);
            for (LONG w : {1, 3, 5, 7, 9}) {
                HGLOBAL src = patterned_image(w, 2, f, w + t);
                std::vector<BYTE> before = block_bytes(src);
                HGLOBAL out = ZYN_DIB_IncreaseBpp(src, t);
                EXPECT_EQ(block_bytes(src), before);
                if (!allowed) {
                    EXPECT_EQ(out, nullptr) << f << "->" << t;
                    GlobalFree(src);
                    continue;
                }
                ASSERT_NE(out, nullptr) << f << "->" << t;
                {
                    Locked s(src), o(out);
                    WORD outBits = t == 16 ? 24 : (WORD)t;
                    EXPECT_EQ(o.bi->biBitCount, outBits);
                    EXPECT_EQ(o.bi->biClrUsed, outBits < 24 ? 1u << outBits : 0u);
                    EXPECT_EQ(o.bi->biSizeImage, test_stride(w, outBits) * 2);
                    for (LONG y = 0; y < 2; y++)
                        for (LONG x = 0; x < w; x++) {
                            Bgra a = s.pixel(x, y), b = o.pixel(x, y);
                            if (t == 16) a.b &= 0xF8, a.g &= 0xF8, a.r &= 0xF8;
                            a.a = 255;
                            if (t < 16) {
                                EXPECT_EQ(o.index(x, y), s.index(x, y));
                            }
                            EXPECT_TRUE(a == b) << f << "->" << t << " at " << x << "," << y;
                        }
                    EXPECT_TRUE(padding_clear(o));
                }
                GlobalFree(out);
                GlobalFree(src);
            }
        }
    // Every refusal was reported once.
    EXPECT_EQ(shown().size(), 4u * 5u);
}

TEST_F(DepthTest, AddAlphaTakesGrayOrAlphaOfTheMask) {
    HGLOBAL image = patterned_image(5, 3, 24, 7);
    HGLOBAL mask8 = patterned_image(5, 3, 8, 8);
    HGLOBAL mask24 = patterned_image(5, 3, 24, 9);
    HGLOBAL mask32 = patterned_image(5, 3, 32, 10);
    for (HGLOBAL mask : {mask8, mask24, mask32}) {
        HGLOBAL out = ZYN_DIB_AddAlpha(image, mask);
        ASSERT_NE(out, nullptr);
        {
            Locked i(image), m(mask), o(out);
            EXPECT_EQ(o.bi->biBitCount, 32);
            EXPECT_EQ(o.bi->biClrUsed, 0u);
            EXPECT_EQ(o.bi->biSizeImage, 5u * 3u * 4u);
            for (LONG y = 0; y < 3; y++)
                for (LONG x = 0; x < 5; x++) {
                    Bgra c = i.pixel(x, y), mc = m.pixel(x, y), r = o.pixel(x, y);
                    BYTE alpha = m.bi->biBitCount == 32 ? mc.a : (BYTE)reference_gray(mc.r, mc.g, mc.b);
                    EXPECT_TRUE((r == Bgra{c.b, c.g, c.r, alpha}));
                }
        }
        GlobalFree(out);
    }
    GlobalFree(image);
    GlobalFree(mask8);
    GlobalFree(mask24);
    GlobalFree(mask32);
}

TEST_F(DepthTest, AddAlphaScalesAMaskOfAnotherSizeFirst) {
    HGLOBAL image = patterned_image(4, 4, 8, 1);
    for (auto size : {std::pair<LONG, LONG>{2, 4}, {4, 2}, {3, 7}}) {
        HGLOBAL mask = patterned_image(size.first, size.second, 32, 2);
        HGLOBAL out = ZYN_DIB_AddAlpha(image, mask);
        ASSERT_NE(out, nullptr);
        {
            Locked i(image), m(mask), o(out);
            for (LONG y = 0; y < 4; y++)
                for (LONG x = 0; x < 4; x++) {
                    Bgra c = i.pixel(x, y);
                    BYTE alpha = m.pixel(x * size.first / 4, y * size.second / 4).a;
                    EXPECT_TRUE((o.pixel(x, y) == Bgra{c.b, c.g, c.r, alpha}));
                }
        }
        GlobalFree(out);
        GlobalFree(mask);
    }
    GlobalFree(image);
}

TEST_F(DepthTest, AddAlphaOnEveryDepthPairAndOddWidth) {
    for (WORD ib : {1, 4, 8, 24, 32})
        for (WORD mb : {1, 4, 8, 24, 32})
            for (LONG w : {1, 3, 5, 7, 9}) {
                HGLOBAL image = patterned_image(w, 2, ib, w + ib);
                HGLOBAL mask = patterned_image(w, 2, mb, w * mb);
                std::vector<BYTE> imageBytes = block_bytes(image), maskBytes = block_bytes(mask);
                HGLOBAL out = ZYN_DIB_AddAlpha(image, mask);
                ASSERT_NE(out, nullptr);
                EXPECT_EQ(block_bytes(image), imageBytes);
                EXPECT_EQ(block_bytes(mask), maskBytes);
                {
                    Locked i(image), m(mask), o(out);
                    ASSERT_EQ(GlobalSize(out), 40u + 4u * w * 2);
                    for (LONG y = 0; y < 2; y++)
                        for (LONG x = 0; x < w; x++) {
                            Bgra c = i.pixel(x, y), mc = m.pixel(x, y);
                            BYTE alpha = mb == 32 ? mc.a : (BYTE)reference_gray(mc.r, mc.g, mc.b);
                            ASSERT_TRUE((o.pixel(x, y) == Bgra{c.b, c.g, c.r, alpha}));
                        }
                }
                GlobalFree(out);
                GlobalFree(mask);
                GlobalFree(image);
            }
    EXPECT_TRUE(shown().empty());
}

}  // namespace
