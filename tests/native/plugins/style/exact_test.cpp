// The filters whose results are fixed exactly, against formulas
// of the test's own on 8-, 24- and 32-bit sources with odd widths, and
// against hand-computed pixels.
#include "style_test_support.h"

namespace {

struct Case {
    int bits;
    long w, h;
};

class Exact : public StyleTest, public ::testing::WithParamInterface<Case> {
protected:
    void SetUp() override {
        StyleTest::SetUp();
        dib = test_picture(GetParam().bits, GetParam().w, GetParam().h);
        src = read_image(dib);
    }
    void TearDown() override {
        GlobalFree(dib);
        EXPECT_TRUE(boxes().empty()) << last_box_text();
        StyleTest::TearDown();
    }
    Image run(int filter, int amount, int p1 = 0, DWORD color = 0) {
        Image out = filtered(dib, filter, amount, p1, 0, color);
        EXPECT_EQ(out.h.biBitCount, GetParam().bits == 32 ? 32 : 24);
        return out;
    }
    HGLOBAL dib = nullptr;
    Image src;
};

TEST_P(Exact, MosaicTakesEachBlocksFirstPixel) {
    for (int amount : {0, 1023, 1024, 5000, 16383, 16384}) {
        const long c = (amount >> 10) + 1;
        EXPECT_TRUE(matches(src, run(9, amount), [&](long x, long y) { return src.at(x - x % c, y - y % c); }))
            << amount;
    }
}

TEST_P(Exact, SolarizeInvertsFromTheThreshold) {
    for (int amount : {0, 3000, 8192, 12000, 16384}) {
        const int threshold = 255 - (amount * 255 >> 14);
        EXPECT_TRUE(matches(src, run(11, amount), [&](long x, long y) {
            Px p = src.at(x, y);
            return ref_luma(p) >= threshold ? Px{255 - p.b, 255 - p.g, 255 - p.r, p.a} : p;
        })) << amount;
    }
}

TEST_P(Exact, DarkStrokesMovesAwayFromMiddleGray) {
    for (int amount : {0, 1000, 9999, 16384}) {
        EXPECT_TRUE(matches(src, run(17, amount), [&](long x, long y) {
            Px p = src.at(x, y);
            long e = (long)amount * (ref_luma(p) - 127);
            e = e < 0 ? -(-e / 16384) : e / 16384;
            return Px{ref_clamp(p.b + (int)e), ref_clamp(p.g + (int)e), ref_clamp(p.r + (int)e), p.a};
        })) << amount;
    }
}

TEST_P(Exact, PosterizeQuantisesEachChannel) {
    for (int p1 : {0, 15, 16, 64, 128, 200, 255}) {
        const int b = p1 / 16 + 1;
        auto q = [&](int c) { return (b * c / 255) * 255 / b; };
        EXPECT_TRUE(matches(src, run(32, 16384, p1), [&](long x, long y) {
            Px p = src.at(x, y);
            return Px{q(p.b), q(p.g), q(p.r), p.a};
        })) << p1;
    }
}

TEST_P(Exact, SamplerOutlinesItsCells) {
    const DWORD color = RGB(10, 200, 30);
    for (int p1 : {0, 16, 40, 64, 255}) {
        const long last = p1 / 16, d = last + 1;
        EXPECT_TRUE(matches(src, run(33, 16384, p1, color), [&](long x, long y) {
            long xm = x % d, ym = y % d;
            bool keep = xm && ym && (xm == 1 || xm == last || ym == 1 || ym == last);
            return keep ? src.at(x, y) : color_px(color);
        })) << p1;
    }
}

TEST_P(Exact, CrosshairKeepsTheDiscOffTheCross) {
    const DWORD color = RGB(250, 0, 120);
    const long w = src.w(), h = src.height(), half = w < h ? w / 2 : h / 2;
    for (int p1 : {0, 100, 255}) {
        const long r2 = half * half * p1 / 255;
        EXPECT_TRUE(matches(src, run(34, 16384, p1, color), [&](long x, long y) {
            long dx = x - w / 2, dy = y - h / 2;
            bool cross = (dx > -2 && dx < 2) || (dy > -2 && dy < 2);
            return dx * dx + dy * dy <= r2 && !cross ? src.at(x, y) : color_px(color);
        })) << p1;
    }
}

struct Kernel {
    int filter, n;
    std::vector<int> k;
};

// The kernels as the filters define them, row by row.
// clang-format off
const Kernel kKernels[] = {
    {12, 8, {   0, -255, -255, -255, -255, -255, -255, -255,
             -255,   92,   92,   92,   92,   92,   92,    0,
             -255,   92,   32,    0,    0,    0,    0,  -92,
             -255,   92,   32,    0,    0,    0,  -32,  -92,
             -255,   92,   32,    0,    0,    0,  -32,  -92,
             -255,   92,   32,    0,    0,    0,  -32,  -92,
             -255,   92,    0,  -32,  -32,  -32,  -32,  -92,
             -255,    0,  -92,  -92,  -92,  -92,  -92,  -92}},
    {15, 8, {-255, -255, -255, -255, -255, -255, -255, -255,
             -255,    0,    0,    0,    0,    0,    0,    0,
             -255,    0,    0,    0,    0,    0,    0,    0,
             -255,    0,    0,    0,    0,    0,    0,    0,
             -255, -255, -255, -255, -255, -255, -255, -255,
                0,    0,    0,    0, -255,    0,    0,    0,
                0,    0,    0,    0, -255,    0,    0,    0,
                0,    0,    0,    0, -255,    0,    0,    0}},
    {16, 8, {   0,    0,   64,   64,   64,   32,    0,    0,
                0,   64,   64,   32,   16,    8,    0,    0,
               64,   64,   16,    8,    8,    0,   -8,  -32,
               64,   32,    8,    0,    0,   -8,  -16,  -64,
               64,   16,    8,    0,    0,   -8,  -32,  -64,
               32,    8,    0,   -8,   -8,  -16,  -64,  -64,
                0,    0,   -8,  -16,  -32,  -64,  -64,    0,
                0,    0,  -32,  -64,  -64,  -64,    0,    0}},
    {24, 6, {  10,  -10,  -32,  -64,  -32,  -10,
              -10,   10,    5,  -32,    5,   10,
              -32,    5,   10,    5,   10,    5,
              -64,  -32,    5,   10,    5,  -32,
              -32,    5,   10,    5,   10,    5,
              -10,   10,    5,  -32,    5,   10}},
    {25, 6, {  32,    0, -255, -255, -255,    0,
                0, -255,    0, -255,    0,   32,
             -255,    0,   32,    0, -255,    0,
             -255, -255,    0,   32,    0, -255,
             -255,    0, -255,    0,   32,    0,
                0,   32,    0, -255,    0, -255}},
};
// clang-format on

TEST_P(Exact, TexturesAddTheirKernelAndClamp) {
    for (const Kernel &t : kKernels) {
        ASSERT_EQ(t.k.size(), (size_t)(t.n * t.n));
        EXPECT_TRUE(matches(src, run(t.filter, 16384), [&](long x, long y) {
            Px p = src.at(x, y);
            int add = t.k[(size_t)(y % t.n * t.n + x % t.n)];
            return Px{ref_clamp(p.b + add), ref_clamp(p.g + add), ref_clamp(p.r + add), p.a};
        })) << t.filter;
    }
}

INSTANTIATE_TEST_SUITE_P(Depths, Exact,
                         ::testing::Values(Case{8, 13, 7}, Case{24, 13, 7}, Case{32, 13, 7}, Case{8, 1, 1},
                                           Case{24, 31, 9}, Case{32, 31, 9}, Case{24, 19, 20}),
                         [](const ::testing::TestParamInfo<Case> &i) {
                             return std::to_string(i.param.bits) + "bit_" + std::to_string(i.param.w) + "x" +
                                    std::to_string(i.param.h);
                         });

// ---- hand-computed pixels --------------------------------------------------

HGLOBAL flat(int bits, long w, long h, Px p) {
    return build_dib(bits, w, h, [&](long, long) { return p; });
}

Px only(HGLOBAL dib, int filter, int amount, int p1 = 0, long x = 0, long y = 0, DWORD color = 0) {
    Image out = filtered(dib, filter, amount, p1, 0, color);
    GlobalFree(dib);
    return out.at(x, y);
}

using Hand = StyleTest;

TEST_F(Hand, EdgeCasesOfTheDefinitions) {
    // Mosaic: 16383 gives 16-pixel blocks, 16384 gives 17.
    HGLOBAL ramp = build_dib(24, 40, 40, [](long x, long y) { return Px{(int)x, (int)y, 0, 255}; });
    Image m16 = filtered(ramp, 9, 16383), m17 = filtered(ramp, 9, 16384);
    EXPECT_EQ(m16.at(17, 33), (Px{16, 32, 0, 255}));
    EXPECT_EQ(m17.at(17, 33), (Px{17, 17, 0, 255}));
    GlobalFree(ramp);
    // Solarize: white (Y 253) stays at amount 0; black inverts at 16384.
    EXPECT_EQ(only(flat(24, 3, 1, {255, 255, 255, 0}), 11, 0), (Px{255, 255, 255, 255}));
    EXPECT_EQ(only(flat(24, 3, 1, {0, 0, 0, 0}), 11, 16384), (Px{255, 255, 255, 255}));
    // Posterize p1 0: one level; p1 64: five levels, 100 becomes 51.
    EXPECT_EQ(only(flat(24, 1, 1, {254, 255, 100, 0}), 32, 16384, 0), (Px{0, 255, 0, 255}));
    EXPECT_EQ(only(flat(24, 1, 1, {100, 100, 100, 0}), 32, 16384, 64), (Px{51, 51, 51, 255}));
    // Textures clamp: white under a -255 cell of Bricks becomes black.
    EXPECT_EQ(only(flat(24, 2, 2, {255, 255, 255, 0}), 15, 16384), (Px{0, 0, 0, 255}));
    // Dark Strokes: Y(200, 200, 200) = 200, so +73 at full amount, +36 at half;
    // Y(10, 10, 10) = 8, so -7 (truncated toward zero) at amount 1000.
    EXPECT_EQ(only(flat(24, 1, 1, {200, 200, 200, 0}), 17, 16384), (Px{255, 255, 255, 255}));
    EXPECT_EQ(only(flat(24, 1, 1, {200, 200, 200, 0}), 17, 8192), (Px{236, 236, 236, 255}));
    EXPECT_EQ(only(flat(24, 1, 1, {10, 10, 10, 0}), 17, 1000), (Px{3, 3, 3, 255}));
    // The alpha rule: black inverted to white at alpha 51 shows 51.
    EXPECT_EQ(only(flat(32, 1, 1, {0, 0, 0, 51}), 11, 16384), (Px{51, 51, 51, 51}));
}

TEST_F(Hand, SamplerAndCrosshairPixels) {
    const DWORD white = RGB(255, 255, 255);
    const Px keep = {9, 9, 9, 255}, paint = {255, 255, 255, 255};
    // Sampler p1 64: cells of 5, the image at offsets 1 and 4 of a column or row.
    for (auto xy : {std::make_pair(1, 1), std::make_pair(1, 3), std::make_pair(4, 2), std::make_pair(6, 9)})
        EXPECT_EQ(only(flat(24, 12, 12, keep), 33, 16384, 64, xy.first, xy.second, white), keep);
    for (auto xy : {std::make_pair(2, 2), std::make_pair(0, 1), std::make_pair(5, 3), std::make_pair(3, 7)})
        EXPECT_EQ(only(flat(24, 12, 12, keep), 33, 16384, 64, xy.first, xy.second, white), paint);
    // Crosshair 9 x 9 at p1 255: radius 4 around (4, 4), cross 3 pixels wide.
    EXPECT_EQ(only(flat(24, 9, 9, keep), 34, 16384, 255, 6, 6, white), keep);
    EXPECT_EQ(only(flat(24, 9, 9, keep), 34, 16384, 255, 7, 7, white), paint);
    EXPECT_EQ(only(flat(24, 9, 9, keep), 34, 16384, 255, 5, 8, white), paint);
    EXPECT_EQ(only(flat(24, 9, 9, keep), 34, 16384, 255, 2, 7, white), keep);
}

TEST_F(Hand, EightBitResultsHaveNoColorTable) {
    HGLOBAL dib = test_picture(8, 5, 3);
    Image out = filtered(dib, 11, 16384);
    GlobalFree(dib);
    EXPECT_EQ(out.h.biBitCount, 24);
    EXPECT_EQ(out.h.biClrUsed, 0u);
    EXPECT_EQ(out.block, 40 + out.h.biSizeImage);
}

}  // namespace
