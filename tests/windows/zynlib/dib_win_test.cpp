// Palettes, DIB <-> device bitmap conversions, drawing and system-colored
// bitmaps, through the DLL.
#include "win_support.h"

namespace {

const HPALETTE kNoPalette = reinterpret_cast<HPALETTE>(static_cast<LONG_PTR>(-1));

COLORREF dib_pixel(HGLOBAL dib, LONG x, LONG y) {
    BITMAPINFOHEADER *h;
    BYTE *bits;
    EXPECT_TRUE(ZYN_DIB_LockPtrs(dib, &h, nullptr, &bits));
    LONG stride = ((h->biWidth * h->biBitCount + 31) >> 5) * 4;
    const BYTE *px = bits + y * stride + x * (h->biBitCount / 8);
    COLORREF c = RGB(px[2], px[1], px[0]);
    GlobalUnlock(dib);
    return c;
}

std::vector<PALETTEENTRY> entries_of(HPALETTE palette) {
    UINT n = GetPaletteEntries(palette, 0, 0, nullptr);
    std::vector<PALETTEENTRY> e(n);
    if (n) GetPaletteEntries(palette, 0, n, e.data());
    return e;
}

bool display_above_8_bits() {
    HDC screen = GetDC(nullptr);
    int bits = GetDeviceCaps(screen, BITSPIXEL) * GetDeviceCaps(screen, PLANES);
    ReleaseDC(nullptr, screen);
    return bits > 8;
}

class zynPalette : public ZynWinTest {};

TEST_F(zynPalette, EightBitTableWithoutCountGives256Entries) {
    struct {
        BITMAPINFOHEADER h;
        RGBQUAD colors[256];
    } dib = {};
    dib.h.biSize = sizeof dib.h;
    dib.h.biBitCount = 8;
    for (int i = 0; i < 256; ++i) dib.colors[i] = {(BYTE)i, (BYTE)(255 - i), (BYTE)(i / 2), 0};
    HPALETTE pal = ZYN_DIB_CreateBIPalette(&dib.h);
    ASSERT_NE(pal, nullptr);
    std::vector<PALETTEENTRY> e = entries_of(pal);
    ASSERT_EQ(e.size(), 256u);
    // RGBQUAD is blue-first, PALETTEENTRY red-first.
    EXPECT_EQ(e[10].peBlue, 10);
    EXPECT_EQ(e[10].peGreen, 245);
    EXPECT_EQ(e[10].peRed, 5);
    EXPECT_EQ(e[10].peFlags, 0);
    EXPECT_TRUE(ZYN_DIB_DeletePalette(pal));
}

TEST_F(zynPalette, TrueColorGivesThe332Palette) {
    BITMAPINFOHEADER h = {};
    h.biSize = sizeof h;
    h.biBitCount = 24;
    HPALETTE pal = ZYN_DIB_CreateBIPalette(&h);
    ASSERT_NE(pal, nullptr);
    std::vector<PALETTEENTRY> e = entries_of(pal);
    ASSERT_EQ(e.size(), 256u);
    EXPECT_EQ(RGB(e[0].peRed, e[0].peGreen, e[0].peBlue), RGB(0, 0, 0));
    EXPECT_EQ(RGB(e[255].peRed, e[255].peGreen, e[255].peBlue), RGB(255, 255, 255));
    // Index bits: red 0-2, green 3-5, blue 6-7.
    EXPECT_EQ(RGB(e[0x49].peRed, e[0x49].peGreen, e[0x49].peBlue), RGB(36, 36, 85));
    ZYN_DIB_DeletePalette(pal);
    // 16 bits without a table has nothing to offer.
    h.biBitCount = 16;
    EXPECT_EQ(ZYN_DIB_CreateBIPalette(&h), nullptr);
}

TEST_F(zynPalette, FromAHandleAndForTheDisplay) {
    HGLOBAL dib = make_dib24(2, 2);
    HPALETTE pal = ZYN_DIB_CreatePalette(dib);
    ASSERT_NE(pal, nullptr);
    EXPECT_EQ(entries_of(pal).size(), 256u);
    EXPECT_EQ(GlobalFlags(dib) & GMEM_LOCKCOUNT, 0u);
    ZYN_DIB_DeletePalette(pal);
    GlobalFree(dib);
    EXPECT_EQ(ZYN_DIB_CreatePalette(nullptr), nullptr);
    if (display_above_8_bits()) {
        EXPECT_EQ(ZYN_DIB_GetCurrentPalette(), nullptr);
    }
}

// A compatible bitmap whose pixel (x, y), top-down, is colors[y * w + x].
HBITMAP make_bitmap(int w, int h, const std::vector<COLORREF> &colors) {
    HDC screen = GetDC(nullptr);
    HBITMAP bmp = CreateCompatibleBitmap(screen, w, h);
    HDC mem = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(mem, bmp);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) SetPixel(mem, x, y, colors[y * w + x]);
    SelectObject(mem, old);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    return bmp;
}

class zynConvert : public ZynWinTest {};

TEST_F(zynConvert, BitCount16GivesA24BitDib) {
    if (!display_above_8_bits()) GTEST_SKIP() << "needs a true-color display";
    std::vector<COLORREF> colors;
    for (int i = 0; i < 15; ++i) colors.push_back(RGB(i * 17, 255 - i * 9, (i * 53) & 0xFF));
    HBITMAP bmp = make_bitmap(5, 3, colors);
    HGLOBAL dib = ZYN_DIB_DIBFromBitmap(nullptr, bmp, BI_RGB, 16, nullptr, DIB_RGB_COLORS);
    ASSERT_NE(dib, nullptr);
    BITMAPINFOHEADER info;
    ASSERT_TRUE(ZYN_DIB_Info(dib, &info));
    EXPECT_EQ(info.biBitCount, 24);
    EXPECT_EQ(info.biWidth, 5);
    EXPECT_EQ(info.biHeight, 3);
    EXPECT_EQ(info.biSizeImage, 16u * 3);  // 15-byte rows padded to 16
    EXPECT_EQ(info.biClrUsed, 0u);
    EXPECT_EQ(GlobalSize(dib) >= sizeof info + 48, true);
    // Rows are bottom-up: DIB row 0 is the bitmap's last row.
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) EXPECT_EQ(dib_pixel(dib, x, 2 - y), colors[y * 5 + x]) << x << "," << y;
    EXPECT_EQ(GlobalFlags(dib) & GMEM_LOCKCOUNT, 0u);
    GlobalFree(dib);
    DeleteObject(bmp);
    EXPECT_TRUE(shown().empty());
}

TEST_F(zynConvert, EightBitDibKeepsItsOwnTableOnATrueColorDisplay) {
    if (!display_above_8_bits()) GTEST_SKIP() << "needs a true-color display";
    HBITMAP bmp = make_bitmap(2, 1, {RGB(255, 0, 0), RGB(0, 0, 255)});
    HGLOBAL dib = ZYN_DIB_DIBFromBitmap(nullptr, bmp, BI_RGB, 8, nullptr, DIB_RGB_COLORS);
    ASSERT_NE(dib, nullptr);
    BITMAPINFOHEADER *h;
    RGBQUAD *table;
    BYTE *bits;
    ASSERT_TRUE(ZYN_DIB_LockPtrs(dib, &h, &table, &bits));
    EXPECT_EQ(h->biBitCount, 8);
    EXPECT_EQ(h->biClrUsed, 256u);
    EXPECT_EQ(RGB(table[bits[0]].rgbRed, table[bits[0]].rgbGreen, table[bits[0]].rgbBlue), RGB(255, 0, 0));
    EXPECT_EQ(RGB(table[bits[1]].rgbRed, table[bits[1]].rgbGreen, table[bits[1]].rgbBlue), RGB(0, 0, 255));
    GlobalUnlock(dib);
    GlobalFree(dib);
    DeleteObject(bmp);
    EXPECT_EQ(ZYN_DIB_DIBFromBitmap(nullptr, nullptr, BI_RGB, 0, nullptr, DIB_RGB_COLORS), nullptr);
}

TEST_F(zynConvert, BitmapFromDibRoundTripsOnATrueColorDisplay) {
    if (!display_above_8_bits()) GTEST_SKIP() << "needs a true-color display";
    HGLOBAL dib = make_dib24(7, 5);
    HBITMAP bmp = ZYN_DIB_BitmapFromDIB(dib, nullptr, 0, TRUE, 0);
    ASSERT_NE(bmp, nullptr);
    EXPECT_EQ(GlobalFlags(dib) & GMEM_LOCKCOUNT, 0u);
    BITMAP bm;
    GetObjectA(bmp, sizeof bm, &bm);
    EXPECT_EQ(bm.bmWidth, 7);
    EXPECT_EQ(bm.bmHeight, 5);
    HGLOBAL back = ZYN_DIB_DIBFromBitmap(nullptr, bmp, BI_RGB, 24, kNoPalette, DIB_RGB_COLORS);
    ASSERT_NE(back, nullptr);
    for (LONG y = 0; y < 5; ++y)
        for (LONG x = 0; x < 7; ++x) EXPECT_EQ(dib_pixel(back, x, y), dib_pixel(dib, x, y)) << x << "," << y;
    GlobalFree(back);
    DeleteObject(bmp);
    GlobalFree(dib);
    EXPECT_TRUE(shown().empty());
}

TEST_F(zynConvert, BitmapFromALyingDibIsRefused) {
    HGLOBAL dib = make_dib24(7, 5);
    BITMAPINFOHEADER *h = static_cast<BITMAPINFOHEADER *>(GlobalLock(dib));
    h->biHeight = 5000;  // rows the block does not have
    GlobalUnlock(dib);
    EXPECT_EQ(ZYN_DIB_BitmapFromDIB(dib, nullptr, 0, FALSE, 0), nullptr);
    ASSERT_EQ(shown().size(), 1u);
    EXPECT_EQ(shown()[0].text, "Illegal image, cannot perform operation");
    EXPECT_EQ(GlobalFlags(dib) & GMEM_LOCKCOUNT, 0u);
    GlobalFree(dib);
}

class zynDraw : public ZynWinTest {};

TEST_F(zynDraw, BitmapsOntoAMemoryContext) {
    const COLORREF red = RGB(255, 0, 0);
    HBITMAP bmp = make_bitmap(2, 2, {red, red, red, red});
    Surface s(12, 12);
    EXPECT_TRUE(ZYN_DIB_DrawBitmap(s.dc, bmp, 1, 2, FALSE));
    EXPECT_EQ(s.at(1, 2), red);
    EXPECT_EQ(s.at(2, 3), red);
    EXPECT_EQ(s.at(3, 3), RGB(10, 20, 30));  // nothing beyond the bitmap
    EXPECT_TRUE(ZYN_DIB_DrawBitmap(s.dc, bmp, 5, 5, TRUE));
    EXPECT_EQ(s.at(6, 6), RGB(0, 255, 255));  // inverted source
    EXPECT_TRUE(ZYN_DIB_StretchBitmap(s.dc, bmp, 8, 0, FALSE));
    EXPECT_EQ(s.at(9, 1), red);
    EXPECT_EQ(s.at(10, 1), RGB(10, 20, 30));  // same size, not stretched
    s.clear(RGB(0, 0, 255));
    EXPECT_TRUE(ZYN_DIB_DrawBitmapEx(s.dc, 0, 0, bmp, SRCPAINT));
    EXPECT_EQ(s.at(0, 0), RGB(255, 0, 255));
    DeleteObject(bmp);
}

TEST_F(zynDraw, StretchDibBltScalesAndFills) {
    HGLOBAL dib = make_dib24(2, 2);
    Surface s(8, 8);
    EXPECT_EQ(ZYN_DIB_StretchDibBlt(s.dc, 0, 0, 8, 8, dib, 0, 0, 2, 2, SRCCOPY, DIB_RGB_COLORS), 2);
    // Bottom-up DIB: its row 1 is the top half.
    EXPECT_EQ(s.at(1, 1), dib_pixel(dib, 0, 1));
    EXPECT_EQ(s.at(6, 1), dib_pixel(dib, 1, 1));
    EXPECT_EQ(s.at(1, 6), dib_pixel(dib, 0, 0));
    EXPECT_EQ(s.at(6, 6), dib_pixel(dib, 1, 0));
    EXPECT_EQ(GlobalFlags(dib) & GMEM_LOCKCOUNT, 0u);
    // No DIB: the raster operation alone.
    EXPECT_NE(ZYN_DIB_StretchDibBlt(s.dc, 2, 2, 3, 3, nullptr, 0, 0, 0, 0, WHITENESS, DIB_RGB_COLORS), 0);
    EXPECT_EQ(s.at(3, 3), RGB(255, 255, 255));
    EXPECT_EQ(s.at(5, 5), dib_pixel(dib, 1, 0));
    GlobalFree(dib);
}

class zynLoadImage : public ZynWinTest {};

TEST_F(zynLoadImage, BitmapResourceOfTheCallersModule) {
    HINSTANCE exe = GetModuleHandleA(nullptr);
    EXPECT_EQ(ZYN_DIB_LoadImage(exe, MAKEINTRESOURCEA(999)), nullptr);
    HBITMAP bmp = ZYN_DIB_LoadImage(exe, MAKEINTRESOURCEA(101));
    ASSERT_NE(bmp, nullptr);
    BITMAP bm;
    GetObjectA(bmp, sizeof bm, &bm);
    EXPECT_EQ(bm.bmWidth, 8);
    EXPECT_EQ(bm.bmHeight, 2);
    Surface s(8, 2);
    ZYN_DIB_DrawBitmap(s.dc, bmp, 0, 0, FALSE);
    // Bottom row holds indices 0..7, top row 8..15.
    int kind = ZYN_MD_GetOS();
    bool recolored = kind == ZYN_OS_WIN95 || kind == ZYN_OS_WINNT4;
    EXPECT_EQ(s.at(1, 1), RGB(128, 0, 0));
    EXPECT_EQ(s.at(1, 0), RGB(255, 0, 0));
    EXPECT_EQ(s.at(7, 1), recolored ? GetSysColor(COLOR_BTNFACE) : RGB(192, 192, 192));
    EXPECT_EQ(s.at(0, 0), recolored ? GetSysColor(COLOR_BTNSHADOW) : RGB(128, 128, 128));
    EXPECT_EQ(s.at(7, 0), recolored ? GetSysColor(COLOR_BTNHIGHLIGHT) : RGB(255, 255, 255));
    DeleteObject(bmp);
}

// Wine takes a per-program Windows version from the registry.
bool set_probe_version(const char *version) {
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Wine\\AppDefaults\\zynlib_nt4_probe.exe", 0, nullptr, 0,
                        KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return false;
    LONG rc = version ? RegSetValueExA(key, "Version", 0, REG_SZ, reinterpret_cast<const BYTE *>(version),
                                       (DWORD)strlen(version) + 1)
                      : RegDeleteValueA(key, "Version");
    RegCloseKey(key);
    return rc == ERROR_SUCCESS;
}

TEST_F(zynLoadImage, RecolorsToButtonColorsOnNt4) {
    char exe[MAX_PATH];
    GetModuleFileNameA(nullptr, exe, sizeof exe);
    char *name = ZYN_UTI_SkipPath(exe);
    strcpy(name, "zynlib_nt4_probe.exe");
    ASSERT_TRUE(set_probe_version("nt40"));
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    // Wine now and then refuses a start while another process is starting.
    BOOL started = FALSE;
    DWORD startError = 0;
    for (int attempt = 0; attempt < 5 && !started; ++attempt) {
        started = CreateProcessA(exe, nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi);
        if (!started) {
            startError = GetLastError();
            Sleep(200);
        }
    }
    DWORD code = 1;
    if (started) {
        WaitForSingleObject(pi.hProcess, 60000);
        GetExitCodeProcess(pi.hProcess, &code);
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
    }
    set_probe_version(nullptr);
    ASSERT_TRUE(started) << exe << " error " << startError;
    if (code == 77) GTEST_SKIP() << "the system did not report Windows NT 4.0 to the probe";
    EXPECT_EQ(code, 0u) << "failed check " << code << " in nt4_probe.cpp";
}

}  // namespace
