// Regressions of the faults mended in the entry point, the driver and the
// filters: unchecked numbers, unreadable sources, the output header, the
// allocation order, unbounded offsets and 32-bit products.
#include "colorkit.h"
#include "style_internal.h"
#include "style_test_support.h"

namespace {

using Faults = StyleTest;

const char kNoMemory[] = "Not enough memory to complete operation";
const char kIllegal[] = "Illegal image, cannot perform operation";

TEST_F(Faults, FilterNumbersPastTheTableGiveNothing) {
    HGLOBAL dib = test_picture(24, 5, 5);
    for (DWORD n : {39u, 40u, 0xFFFFu}) EXPECT_EQ(STY_CallFilter(n, dib, 16384, 0, 0, 0, 0), nullptr) << n;
    // Only the low 16 bits count: 0x10009 is Mosaic.
    Image high = filtered(dib, 0x10009, 5000), mosaic = filtered(dib, 9, 5000);
    EXPECT_TRUE(same_bytes(high, mosaic));
    GlobalFree(dib);
}

TEST_F(Faults, AmountAndParametersAreClamped) {
    HGLOBAL dib = test_picture(24, 21, 13);
    // Kaleidoscope sampled outside the image above 16384.
    for (int filter : {37, 9, 11, 20})
        EXPECT_TRUE(same_bytes(filtered(dib, filter, 40000), filtered(dib, filter, 16384))) << filter;
    EXPECT_TRUE(same_bytes(filtered(dib, 9, -7), filtered(dib, 9, 0)));
    // Posterize at p1 0xFFFF had 16-bit intermediates overflow; 0x10040 is 64.
    EXPECT_TRUE(same_bytes(filtered(dib, 32, 16384, 0xFFFF), filtered(dib, 32, 16384, 255)));
    EXPECT_TRUE(same_bytes(filtered(dib, 32, 16384, 0x10040), filtered(dib, 32, 16384, 64)));
    GlobalFree(dib);
    dib = build_dib(24, 1, 1, [](long, long) { return Px{200, 200, 200, 0}; });
    EXPECT_EQ(filtered(dib, 32, 16384, 0xFFFF).at(0, 0), (Px{191, 191, 191, 255})) << "16 levels: 200, 12, 191";
    GlobalFree(dib);
}

TEST_F(Faults, BrushStepsStayPositive) {
    // (255 - p1) / 16 + 2 was 0 for p1 287 to 302 (an endless loop) and
    // negative above.
    HGLOBAL dib = test_picture(24, 16, 16);
    for (int filter : {10, 27, 28, 29, 36})
        for (int p1 : {290, 302, 1000, 0xFFFF})
            EXPECT_TRUE(same_bytes(filtered(dib, filter, 16384, p1, 40), filtered(dib, filter, 16384, 255, 40)))
                << filter << " " << p1;
    GlobalFree(dib);
}

TEST_F(Faults, JitteredStampsNearTheEdgesStayInside) {
    // With jitter 15 most origins lie past the right or bottom edge.
    for (long side = 1; side <= 7; side++)
        for (int bits : {8, 24, 32}) {
            HGLOBAL dib = test_picture(bits, side, side + 1);
            for (int filter : {10, 27, 28, 29, 36}) {
                Image a = filtered(dib, filter, 16384, 255, 255), b = filtered(dib, filter, 16384, 255, 255);
                ASSERT_EQ(a.w(), side);
                EXPECT_TRUE(same_bytes(a, b));
            }
            GlobalFree(dib);
        }
}

TEST_F(Faults, LowDepthSourcesAreWidenedToEightBits) {
    // 1 and 4 bits would be read as three bytes a pixel.
    for (int bits : {1, 4}) {
        auto index = [&](long x, long y) { return Px{(int)(scramble(x, y) % (1u << bits)), 0, 0, 0}; };
        HGLOBAL low = build_dib(bits, 13, 6, index), eight = build_dib(8, 13, 6, index);
        for (int filter : {6, 9, 18, 32, 35})
            EXPECT_TRUE(same_bytes(filtered(low, filter, 9000, 100), filtered(eight, filter, 9000, 100)))
                << bits << " bits, filter " << filter;
        GlobalFree(low);
        GlobalFree(eight);
    }
}

// A 12-byte core header copy of a 40-byte DIB of 8 or 24 bits.
HGLOBAL core_copy(HGLOBAL dib) {
    Image img = read_image(dib);
    size_t table = img.h.biBitCount == 8 ? 256 * 3 : 0;
    HGLOBAL core = GlobalAlloc(GHND, 12 + table + img.bits.size());
    BYTE *p = (BYTE *)GlobalLock(core);
    BITMAPCOREHEADER c = {12, (WORD)img.w(), (WORD)img.height(), 1, img.h.biBitCount};
    memcpy(p, &c, 12);
    for (size_t i = 0; i < table / 3; i++) memcpy(p + 12 + 3 * i, &img.table[i], 3);
    memcpy(p + 12 + table, img.bits.data(), img.bits.size());
    GlobalUnlock(core);
    return core;
}

TEST_F(Faults, OutputHeadersAreFreshWhateverTheSourceHeader) {
    // A core header was overrun by a biSize-byte copy with 40-byte fields.
    for (int bits : {8, 24}) {
        HGLOBAL dib = test_picture(bits, 11, 5), core = core_copy(dib);
        Image fromCore = filtered(core, 13, 16384, 0, 0, RGB(1, 2, 3));
        Image fromInfo = filtered(dib, 13, 16384, 0, 0, RGB(1, 2, 3));
        EXPECT_TRUE(same_bytes(fromCore, fromInfo)) << bits;
        GlobalFree(dib);
        GlobalFree(core);
    }
    // A longer header: the output still has 40 bytes, no table and no
    // colors important; the resolution is kept.
    HGLOBAL big = build_dib(8, 7, 3, [](long x, long) { return Px{(int)x, 0, 0, 0}; }, nullptr, 124);
    BITMAPINFOHEADER *h = (BITMAPINFOHEADER *)GlobalLock(big);
    h->biClrImportant = 9;
    h->biXPelsPerMeter = 2835;
    GlobalUnlock(big);
    Image out = filtered(big, 11, 100);
    EXPECT_EQ(out.h.biSize, 40u);
    EXPECT_EQ(out.h.biClrUsed, 0u);
    EXPECT_EQ(out.h.biClrImportant, 0u);
    EXPECT_EQ(out.h.biXPelsPerMeter, 2835);
    EXPECT_EQ(out.block, 40 + out.h.biSizeImage);
    GlobalFree(big);
}

TEST_F(Faults, UnreadableSourcesAreRefusedWithAMessage) {
    HGLOBAL sixteen = build_dib(24, 4, 4, [](long, long) { return Px{1, 2, 3, 0}; });
    BITMAPINFOHEADER *h = (BITMAPINFOHEADER *)GlobalLock(sixteen);
    h->biBitCount = 16;
    GlobalUnlock(sixteen);
    HGLOBAL rle = test_picture(8, 4, 4);
    ((BITMAPINFOHEADER *)GlobalLock(rle))->biCompression = BI_RLE8;
    GlobalUnlock(rle);
    HGLOBAL tall = test_picture(24, 4, 4);  // rows past the block
    ((BITMAPINFOHEADER *)GlobalLock(tall))->biHeight = 4000;
    GlobalUnlock(tall);
    for (HGLOBAL dib : {sixteen, rle, tall, (HGLOBAL) nullptr}) {
        boxes().clear();
        EXPECT_EQ(STY_CallFilter(9, dib, 16384, 0, 0, 0, 0), nullptr);
        ASSERT_EQ(boxes().size(), 1u);
        EXPECT_EQ(boxes()[0].text, kIllegal);
        if (dib) GlobalFree(dib);
    }
}

int g_rowEnds;
void counting_end(void) { g_rowEnds++; }

TEST_F(Faults, ARowStartThatFailsFreesEverything) {
    // Row start used to allocate before the output and could not fail.
    StyFilter f = sty_filters[6];
    f.rowStart = [](LONG, LONG, int) { return 0; };
    f.rowEnd = counting_end;
    g_rowEnds = 0;
    HGLOBAL dib = test_picture(24, 9, 9);
    EXPECT_EQ(sty_drive_rows(&f, dib, 16384), nullptr);
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].text, kNoMemory);
    EXPECT_EQ(boxes()[0].style & MB_TASKMODAL, (UINT)MB_TASKMODAL);
    EXPECT_EQ(g_rowEnds, 0) << "nothing to end after a failed start";
    GlobalFree(dib);
}

HGLOBAL WINAPI nothing(HGLOBAL, DWORD, DWORD) { return nullptr; }

TEST_F(Faults, AMissingColourLibraryResultStopsTheChain) {
    // WaterColor and Glass passed a null result on.
    HGLOBAL dib = test_picture(24, 9, 9);
    const StyOutsideProc late[] = {CK_Soften, CK_Pigment, nothing, CK_Pigment};
    const StyOutsideProc first[] = {nothing};
    for (auto chain : {std::make_pair(late, 4), std::make_pair(first, 1)}) {
        boxes().clear();
        EXPECT_EQ(sty_outside_chain(dib, chain.first, chain.second), nullptr);
        ASSERT_EQ(boxes().size(), 1u);
        EXPECT_EQ(boxes()[0].text, kNoMemory);
    }
    GlobalFree(dib);
}

TEST_F(Faults, ReflectionsOffsetStaysWithinTheRow) {
    // The random walk of the offset was unbounded; each row must still show
    // only its own pixels.
    HGLOBAL dib = build_dib(24, 3, 5000, [](long, long y) { return Px{(int)(y & 255), (int)(y >> 8), 7, 0}; });
    Image src = read_image(dib), out = filtered(dib, 30, 16384, 255);
    EXPECT_TRUE(matches(src, out, [&](long x, long y) { return src.at(x, y); }));
    GlobalFree(dib);
}

// 64-bit products: these sizes pass 32 bits in the original arithmetic.
TEST_F(Faults, WideImagesKeepTheirArithmetic) {
    const long w = 140001;
    auto spread = [](long x, long y) { return Px{(int)(x & 255), (int)(x >> 8 & 255), (int)(x >> 16 | y << 4), 0}; };
    HGLOBAL dib = build_dib(24, w, 3, spread);
    Image src = read_image(dib);
    // Crosshair: dx * dx passes 2^31; with a radius of 1 every pixel is painted.
    EXPECT_TRUE(matches(src, filtered(dib, 34, 16384, 255, 0, RGB(9, 8, 7)),
                        [](long, long) { return color_px(RGB(9, 8, 7)); }));
    // Kaleidoscope: (x - fx) x (16384 - amount) passes 2^31.
    EXPECT_TRUE(matches(src, filtered(dib, 37, 8192), [&](long x, long y) {
        long long fx = x <= w / 2 ? x : w - x - 1, fy = y <= 1 ? y : 3 - y - 1;
        if (w * fy / 3 < fx) {
            long long c = fy * (w - 1) / 2, r = fx * 2 / (w - 1);
            fx = c, fy = r;
        }
        return src.at((long)(fx + (x - fx) * 8192 / 16384), (long)(fy + (y - fy) * 8192 / 16384));
    }));
    GlobalFree(dib);
    // Frazzle: amount x (r mod w - w / 2) passes 2^31 from w = 262144.
    const long wide = 300001;
    dib = build_dib(24, wide, 1, spread);
    src = read_image(dib);
    Image out = filtered(dib, 23, 16384);
    sty_srand(0);
    EXPECT_TRUE(matches(src, out, [&](long x, long) {
        long long r1 = sty_rand();
        sty_rand();
        long long sx = x + 16384 * (r1 % wide - wide / 2) / 16384;
        return src.at((long)(sx < 0 ? 0 : sx >= wide ? wide - 1 : sx), 0);
    }));
    GlobalFree(dib);
}

}  // namespace
