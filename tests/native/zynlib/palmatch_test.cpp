// The half-step table and its file, the half-step filters, reduction to a
// palette with its cache, and the triangle transform.
#include <stdio.h>
#include <stdlib.h>
#include <unistd.h>

#include <array>
#include <string>

#include "depth_internal.h"
#include "pixel_support.h"

namespace {

class PalMatchTest : public ZynTest {
protected:
    void TearDown() override {
        ZYN_DIB_ExitHSMatch();
        ZynTest::TearDown();
    }
};

int sad(const RGBQUAD &q, int r, int g, int b) { return abs(q.rgbRed - r) + abs(q.rgbGreen - g) + abs(q.rgbBlue - b); }

BYTE reference_nearest(const RGBQUAD *t, int n, int r, int g, int b) {
    int best = 0;
    for (int k = 1; k < n; k++)
        if (sad(t[k], r, g, b) < sad(t[best], r, g, b)) best = k;
    return (BYTE)best;
}

std::string temp_path(const char *name) {
    char dir[] = "/tmp/zyn_hs_XXXXXX";
    std::string d = mkdtemp(dir);
    return d + "/" + name;
}

std::string file_contents(const std::string &path) {
    FILE *f = fopen(path.c_str(), "rb");
    if (!f) return "<missing>";
    std::string s;
    int c;
    while ((c = fgetc(f)) != EOF) s.push_back((char)c);
    fclose(f);
    return s;
}

TEST_F(PalMatchTest, HalfStepTableIsTheNearestToEachMeanAndSymmetric) {
    HGLOBAL pal = patterned_image(1, 1, 8, 3);
    ASSERT_TRUE(ZYN_DIB_InitHSMatch(pal, nullptr));
    const BYTE *hs = zyn_half_steps();
    ASSERT_NE(hs, nullptr);
    {
        Locked l(pal);
        for (int i = 0; i < 256; i++)
            for (int j = 0; j < 256; j += 7) {
                ASSERT_EQ(hs[i + 256 * j], hs[j + 256 * i]);
                int r = (l.table[i].rgbRed + l.table[j].rgbRed) >> 1;
                int g = (l.table[i].rgbGreen + l.table[j].rgbGreen) >> 1;
                int b = (l.table[i].rgbBlue + l.table[j].rgbBlue) >> 1;
                ASSERT_EQ(hs[i + 256 * j], reference_nearest(l.table, 256, r, g, b));
            }
    }
    GlobalFree(pal);
}

TEST_F(PalMatchTest, HalfStepTableTiesGoToTheLowerIndex) {
    HGLOBAL pal = new_image(1, 1, 8, 4);
    {
        {
            Locked l(pal);
            l.table[0] = RGBQUAD{0, 0, 0, 0};
            l.table[1] = RGBQUAD{0, 0, 100, 0};
            l.table[2] = RGBQUAD{0, 0, 40, 0};  // red 40: same distance to the mean 50 as 60 would be
            l.table[3] = RGBQUAD{0, 0, 60, 0};
        }
    }
    ASSERT_TRUE(ZYN_DIB_InitHSMatch(pal, nullptr));
    EXPECT_EQ(zyn_half_steps()[0 + 256 * 1], 2);
    EXPECT_EQ(zyn_half_steps()[1 + 256 * 0], 2);
    GlobalFree(pal);
}

TEST_F(PalMatchTest, TableFileIsWrittenReadAndRebuiltWhenItsLengthIsWrong) {
    std::string path = temp_path("pal.tab");
    HGLOBAL pal = patterned_image(1, 1, 8, 5);
    ASSERT_TRUE(ZYN_DIB_InitHSMatch(pal, path.c_str()));
    std::string written = file_contents(path);
    ASSERT_EQ(written.size(), 65536u);
    EXPECT_EQ(memcmp(written.data(), zyn_half_steps(), 65536), 0);
    ZYN_DIB_ExitHSMatch();
    EXPECT_EQ(zyn_half_steps(), nullptr);

    // An exact file is taken as it is, whatever the palette.
    std::string marked(65536, '\x07');
    FILE *f = fopen(path.c_str(), "wb");
    fwrite(marked.data(), 1, marked.size(), f);
    fclose(f);
    ASSERT_TRUE(ZYN_DIB_InitHSMatch(pal, path.c_str()));
    EXPECT_EQ(zyn_half_steps()[12345], 7);

    // Any other length is ignored, then rebuilt and rewritten.
    for (size_t length : {0u, 100u, 65535u, 65537u}) {
        f = fopen(path.c_str(), "wb");
        fwrite(marked.data(), 1, length < marked.size() ? length : marked.size(), f);
        if (length > marked.size()) fputc(0, f);
        fclose(f);
        ASSERT_TRUE(ZYN_DIB_InitHSMatch(pal, path.c_str()));
        EXPECT_EQ(file_contents(path), written) << length;
    }
    EXPECT_TRUE(shown().empty());
    remove(path.c_str());
    rmdir(path.substr(0, path.rfind('/')).c_str());
    GlobalFree(pal);
}

TEST_F(PalMatchTest, HalfStepHalvingCombinesRowPairsThroughTheTable) {
    HGLOBAL pal = patterned_image(1, 1, 8, 11);
    ASSERT_TRUE(ZYN_DIB_InitHSMatch(pal, nullptr));
    const BYTE *H = zyn_half_steps();
    for (LONG w : {2, 3, 5, 7, 9, 16}) {
        HGLOBAL src = patterned_image(w, 9, 8, w);
        HGLOBAL half = ZYN_DIB_HSHQHalfDIB8(src);
        HGLOBAL quarter = ZYN_DIB_HSHQQuarterDIB8(src);
        ASSERT_NE(half, nullptr);
        {
            Locked s(src), h(half);
            EXPECT_EQ(h.bi->biWidth, w / 2);
            EXPECT_EQ(h.bi->biHeight, 4);
            EXPECT_EQ(memcmp(h.table, s.table, 1024), 0);
            for (LONG y = 0; y < 4; y++)
                for (LONG x = 0; x < w / 2; x++) {
                    BYTE p0 = s.index(2 * x, 2 * y), p1 = s.index(2 * x + 1, 2 * y);
                    BYTE q0 = s.index(2 * x, 2 * y + 1), q1 = s.index(2 * x + 1, 2 * y + 1);
                    ASSERT_EQ(h.index(x, y), H[H[q0 + 256 * q1] + 256 * H[p0 + 256 * p1]]);
                }
            if (w < 4) {
                EXPECT_EQ(quarter, nullptr);
            } else {
                ASSERT_NE(quarter, nullptr);
                Locked q(quarter);
                EXPECT_EQ(q.bi->biWidth, w / 4);
                EXPECT_EQ(q.bi->biHeight, 2);
                auto R = [&](LONG row, LONG x) {
                    BYTE c0 = s.index(4 * x, row), c1 = s.index(4 * x + 1, row), c2 = s.index(4 * x + 2, row),
                         c3 = s.index(4 * x + 3, row);
                    return H[H[c2 + 256 * c3] + 256 * H[c0 + 256 * c1]];
                };
                for (LONG y = 0; y < 2; y++)
                    for (LONG x = 0; x < w / 4; x++)
                        ASSERT_EQ(q.index(x, y), H[R(4 * y + 3, x) + 256 * R(4 * y + 2, x)]);
            }
        }
        if (quarter) GlobalFree(quarter);
        GlobalFree(half);
        GlobalFree(src);
    }
    GlobalFree(pal);
}

TEST_F(PalMatchTest, HalfStepFiltersNeedTheTableAndEightBits) {
    HGLOBAL src = patterned_image(8, 8, 8);
    EXPECT_EQ(ZYN_DIB_HSHQHalfDIB8(src), nullptr);
    ASSERT_TRUE(ZYN_DIB_InitHSMatch(src, nullptr));
    HGLOBAL rgb = patterned_image(8, 8, 24);
    EXPECT_EQ(ZYN_DIB_HSHQHalfDIB8(rgb), nullptr);
    EXPECT_EQ(lock_count(rgb), 0u);
    GlobalFree(rgb);
    GlobalFree(src);
}

struct Palette {
    std::vector<BYTE> storage;
    Palette() = default;
    explicit Palette(std::initializer_list<std::array<BYTE, 3>> rgb) {
        storage.resize(sizeof(LOGPALETTE) + rgb.size() * sizeof(PALETTEENTRY));
        LOGPALETTE *p = get();
        p->palVersion = 0x300;
        p->palNumEntries = (WORD)rgb.size();
        int k = 0;
        for (auto &c : rgb) p->palPalEntry[k++] = PALETTEENTRY{c[0], c[1], c[2], 0};
    }
    LOGPALETTE *get() { return reinterpret_cast<LOGPALETTE *>(storage.data()); }
};

Palette gray_palette(int n) {
    Palette p;
    p.storage.resize(sizeof(LOGPALETTE) + n * sizeof(PALETTEENTRY));
    p.get()->palVersion = 0x300;
    p.get()->palNumEntries = (WORD)n;
    for (int k = 0; k < n; k++) {
        BYTE v = (BYTE)(k * 255 / (n > 1 ? n - 1 : 1));
        p.get()->palPalEntry[k] = PALETTEENTRY{v, v, v, 0};
    }
    return p;
}

TEST_F(PalMatchTest, CutToPalettePicksTheDepthFromTheEntryCount) {
    HGLOBAL src = patterned_image(9, 3, 24);
    for (auto c : {std::pair<int, WORD>{1, 1}, {2, 1}, {3, 4}, {16, 4}, {17, 8}, {256, 8}}) {
        Palette p = gray_palette(c.first);
        HGLOBAL out = ZYN_DIB_CutToPalette(src, p.get());
        ASSERT_NE(out, nullptr);
        {
            Locked o(out), s(src);
            EXPECT_EQ(o.bi->biBitCount, c.second) << c.first;
            EXPECT_EQ(o.bi->biClrUsed, (DWORD)c.first);
            EXPECT_EQ(o.bi->biClrImportant, (DWORD)c.first);
            EXPECT_EQ(o.bi->biXPelsPerMeter, 0);
            EXPECT_EQ(GlobalSize(out), 40 + 4u * c.first + test_stride(9, c.second) * 3);
            for (int k = 0; k < c.first; k++) EXPECT_EQ(o.table[k].rgbRed, p.get()->palPalEntry[k].peRed);
            EXPECT_TRUE(padding_clear(o));
        }
        GlobalFree(out);
    }
    GlobalFree(src);
}

TEST_F(PalMatchTest, CutToPaletteTiesGoToTheLowerIndex) {
    Palette p({{0, 0, 0}, {100, 0, 0}, {0, 100, 0}});
    HGLOBAL src = new_image(1, 1, 24);
    Locked(src).set_pixel(0, 0, {0, 52, 52, 0});  // distance 100 to both 1 and 2, 104 to 0
    HGLOBAL out = ZYN_DIB_CutToPalette(src, p.get());
    ASSERT_NE(out, nullptr);
    EXPECT_EQ(Locked(out).index(0, 0), 1);
    GlobalFree(out);
    GlobalFree(src);
}

TEST_F(PalMatchTest, CutToPaletteRemembersTheFirstAnswerOfEachKey) {
    // (64, 0, 0) and (67, 0, 0) share a key; the first is nearest entry 1
    // and the second, though nearer entry 2, gets entry 1 from the cache.
    // (0, 0, 0) and (3, 0, 0) share a key too, but the first maps to entry 0,
    // which marks an empty slot, so the second is searched and finds 3.
    Palette p({{0, 0, 0}, {64, 0, 0}, {68, 0, 0}, {3, 0, 0}});
    HGLOBAL src = new_image(4, 1, 24);
    {
        {
            Locked l(src);
            l.set_pixel(0, 0, {0, 0, 64, 0});
            l.set_pixel(1, 0, {0, 0, 67, 0});
            l.set_pixel(2, 0, {0, 0, 0, 0});
            l.set_pixel(3, 0, {0, 0, 3, 0});
        }
    }
    HGLOBAL out = ZYN_DIB_CutToPalette(src, p.get());
    ASSERT_NE(out, nullptr);
    {
        Locked o(out);
        EXPECT_EQ(o.index(0, 0), 1);
        EXPECT_EQ(o.index(1, 0), 1);
        EXPECT_EQ(o.index(2, 0), 0);
        EXPECT_EQ(o.index(3, 0), 3);
    }
    GlobalFree(out);
    GlobalFree(src);
}

TEST_F(PalMatchTest, CutToPaletteReadsEveryDepth) {
    Palette p = gray_palette(5);
    for (WORD bits : {1, 4, 8, 24, 32})
        for (LONG w : {1, 3, 5, 7, 9}) {
            HGLOBAL src = patterned_image(w, 2, bits, w * 3 + bits);
            HGLOBAL out = ZYN_DIB_CutToPalette(src, p.get());
            ASSERT_NE(out, nullptr);
            {
                Locked s(src), o(out);
                EXPECT_EQ(o.bi->biBitCount, 4);
                RGBQUAD t[5];
                for (int k = 0; k < 5; k++) t[k] = o.table[k];
                // The cache as a reference: the first answer per key, 0 never kept.
                std::vector<BYTE> cache(1 << 18, 0);
                for (LONG y = 0; y < 2; y++)
                    for (LONG x = 0; x < w; x++) {
                        Bgra c = s.pixel(x, y);
                        size_t key = ((size_t)(c.r >> 2) << 12) | ((c.g >> 2) << 6) | (c.b >> 2);
                        if (!cache[key]) cache[key] = reference_nearest(t, 5, c.r, c.g, c.b);
                        EXPECT_EQ(o.index(x, y), cache[key]);
                    }
                EXPECT_TRUE(padding_clear(o));
            }
            GlobalFree(out);
            GlobalFree(src);
        }
}

TEST_F(PalMatchTest, TransformMapsTheVerticesOfTheTriangle) {
    const double src[] = {1, 2, 5, 3, 2, 7};
    const double dst[] = {10, 10, 30, 12, -4, 40};
    for (int k = 0; k < 3; k++) {
        double x, y;
        ZYN_CT_Transform(src[2 * k], src[2 * k + 1], &x, &y, src, dst);
        EXPECT_NEAR(x, dst[2 * k], 1e-9);
        EXPECT_NEAR(y, dst[2 * k + 1], 1e-9);
    }
    // The first edge vertical: t comes from the second formula.
    const double upright[] = {0, 0, 0, 4, 3, 0};
    const double scaled[] = {0, 0, 0, 8, 6, 0};
    for (int k = 0; k < 3; k++) {
        double x, y;
        ZYN_CT_Transform(upright[2 * k], upright[2 * k + 1], &x, &y, upright, scaled);
        EXPECT_NEAR(x, scaled[2 * k], 1e-9);
        EXPECT_NEAR(y, scaled[2 * k + 1], 1e-9);
    }
    double x, y;
    ZYN_CT_Transform(1, 1, &x, &y, upright, scaled);
    EXPECT_NEAR(x, 2, 1e-9);
    EXPECT_NEAR(y, 2, 1e-9);
}

}  // namespace
