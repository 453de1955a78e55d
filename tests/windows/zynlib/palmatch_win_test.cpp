// Palette matching with palette objects and the fast drawing, through the
// DLL.  The banded 3-3-2 path needs a display of 8 bits or fewer, which
// Wine does not offer; on a true-color display the DIB is drawn as it is.
#include "win_support.h"

namespace {

bool display_above_8_bits() {
    HDC screen = GetDC(nullptr);
    int bits = GetDeviceCaps(screen, BITSPIXEL) * GetDeviceCaps(screen, PLANES);
    ReleaseDC(nullptr, screen);
    return bits > 8;
}

class zynPalMatch : public ZynWinTest {};

TEST_F(zynPalMatch, CutToPaletteTakesThePaletteObjectsEntries) {
    struct {
        WORD version, count;
        PALETTEENTRY e[3];
    } lp = {0x300, 3, {{0, 0, 0, 0}, {255, 0, 0, 0}, {0, 0, 255, 0}}};
    HPALETTE pal = CreatePalette(reinterpret_cast<LOGPALETTE *>(&lp));
    ASSERT_NE(pal, nullptr);
    HGLOBAL dib = make_dib24(5, 1, 200);  // red 0, 30, 60, 90, 120 over blue 200
    HGLOBAL out = ZYN_DIB_CutToPalette(dib, pal);
    ASSERT_NE(out, nullptr);
    BITMAPINFOHEADER *h;
    RGBQUAD *table;
    BYTE *bits;
    ASSERT_TRUE(ZYN_DIB_LockPtrs(out, &h, &table, &bits));
    EXPECT_EQ(h->biBitCount, 4);
    EXPECT_EQ(h->biClrUsed, 3u);
    EXPECT_EQ(table[1].rgbRed, 255);
    EXPECT_EQ(table[2].rgbBlue, 255);
    // All nearest the blue entry: 55 + red away, against 255 - red + 200.
    EXPECT_EQ(bits[0], 0x22);
    EXPECT_EQ(bits[1], 0x22);
    EXPECT_EQ(bits[2], 0x20);
    GlobalUnlock(out);
    GlobalFree(out);
    EXPECT_EQ(ZYN_DIB_CutToPalette(dib, nullptr), nullptr);
    GlobalFree(dib);
    DeleteObject(pal);
}

TEST_F(zynPalMatch, FastDrawingOnATrueColorDisplayDrawsTheDibAsItIs) {
    if (!display_above_8_bits()) GTEST_SKIP() << "needs a true-color display";
    Surface s(8, 6);
    HGLOBAL dib = make_dib24(4, 3, 200);
    ZYN_DIB_FastPalDibBlt(s.dc, dib, 0, 1, 2);
    // Row 0 of the DIB is its bottom row: surface row 2.
    EXPECT_EQ(s.at(0, 2), RGB(0, 0, 200));
    EXPECT_EQ(s.at(3, 0), RGB(90, 80, 200));
    EXPECT_EQ(s.at(4, 0), RGB(10, 20, 30));  // outside the image
    EXPECT_EQ(s.at(0, 3), RGB(10, 20, 30));
    EXPECT_TRUE(shown().empty());
    GlobalFree(dib);
}

TEST_F(zynPalMatch, FastDrawingWithAnEmptyClipBoxOrNoContextDrawsNothing) {
    Surface s(8, 6);
    HGLOBAL dib = make_dib24(4, 3, 200);
    ZYN_DIB_FastPalDibBlt(nullptr, dib, 0, -1, -1);
    HRGN empty = CreateRectRgn(0, 0, 0, 0);
    SelectClipRgn(s.dc, empty);
    DeleteObject(empty);
    ZYN_DIB_FastPalDibBlt(s.dc, dib, 0, -1, -1);
    EXPECT_EQ(s.at(0, 0), RGB(10, 20, 30));
    EXPECT_EQ(s.at(0, 2), RGB(10, 20, 30));
    SelectClipRgn(s.dc, nullptr);
    GlobalFree(dib);
}

}  // namespace
