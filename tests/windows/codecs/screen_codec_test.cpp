// Clipboard files whose image is a device-dependent bitmap, and 16-bit BMP
// files: both depend on what the screen is, so they are checked here
// against Wine's real display instead of the native stand-in.
#include <gtest/gtest.h>
#include <stdint.h>
#include <string.h>

#include <string>
#include <vector>

#include "codecs/bmp/bmp.h"
#include "codecs/common/dib_build.h"
#include "lumacast_strings.h"
#include "zynlib.h"

namespace {

typedef std::vector<BYTE> Bytes;

std::vector<std::string> &shown() {
    static std::vector<std::string> v;
    return v;
}

int WINAPI record_message(HWND, LPCSTR text, LPCSTR, UINT) {
    shown().push_back(text ? text : "");
    return IDOK;
}

void put16(Bytes &b, unsigned v) {
    b.push_back((BYTE)v);
    b.push_back((BYTE)(v >> 8));
}
void put32(Bytes &b, uint32_t v) {
    put16(b, v & 0xFFFF);
    put16(b, v >> 16);
}

struct Screen {
    int planes, bits;
};

Screen screen() {
    HDC dc = GetDC(NULL);
    Screen s = {GetDeviceCaps(dc, PLANES), GetDeviceCaps(dc, BITSPIXEL)};
    ReleaseDC(NULL, dc);
    return s;
}

/* One clipboard file with one device-bitmap entry (format 2). */
Bytes clp_with_bitmap(const Bytes &entry) {
    Bytes b;
    put16(b, 0xC350);
    put16(b, 1);
    put16(b, 2);
    put32(b, (uint32_t)entry.size());
    put32(b, 4 + 89);
    b.resize(b.size() + 79, 0);  // the format's name
    b.insert(b.end(), entry.begin(), entry.end());
    return b;
}

/* The bitmap description (type, width, height, width bytes, planes, bits,
   bits pointer) and its rows, top-down. */
Bytes bitmap_entry(LONG width, LONG height, DWORD widthBytes, WORD planes, WORD bits, const Bytes &rows) {
    Bytes b;
    put32(b, 0);
    put32(b, (uint32_t)width);
    put32(b, (uint32_t)height);
    put32(b, widthBytes);
    put16(b, planes);
    put16(b, bits);
    put32(b, 0);
    b.insert(b.end(), rows.begin(), rows.end());
    return b;
}

/* Known colors in the layout of a true-color device of that depth: 16
   bits are 5-6-5, 24 bits blue-green-red, 32 bits the same and a spare
   byte.  Rows are padded to widthBytes with filler the reader must skip. */
const uint32_t kColors[3][4] = {
    {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF},
    {0x000000, 0x808080, 0xFF00FF, 0x00FFFF},
    {0x102030, 0xF0E0D0, 0x406080, 0xFFFF00},
};

void put_pixel(BYTE *p, int bits, uint32_t rgb) {
    BYTE r = (BYTE)(rgb >> 16), g = (BYTE)(rgb >> 8), b = (BYTE)rgb;
    if (bits == 16) {
        WORD v = (WORD)((r >> 3) << 11 | (g >> 2) << 5 | b >> 3);
        p[0] = (BYTE)v;
        p[1] = (BYTE)(v >> 8);
    } else {
        p[0] = b;
        p[1] = g;
        p[2] = r;
        if (bits == 32) p[3] = 0;
    }
}

/* What the color looks like after a trip through a device of that depth. */
uint32_t as_device_shows(int bits, uint32_t rgb) {
    if (bits != 16) return rgb;
    unsigned r = rgb >> 19 & 31, g = rgb >> 10 & 63, b = rgb >> 3 & 31;
    return (r << 3 | r >> 2) << 16 | (g << 2 | g >> 4) << 8 | (b << 3 | b >> 2);
}

/* 0xRRGGBB of pixel (x, y from the top) of any DIB. */
uint32_t dib_pixel(const DibParts &d, LONG x, LONG y) {
    const BYTE *row = dib_row_from_top(&d, y);
    switch (d.bpp) {
        case 32:
        case 24: {
            const BYTE *p = row + x * (d.bpp / 8);
            return (uint32_t)p[2] << 16 | p[1] << 8 | p[0];
        }
        case 16: {
            WORD v = (WORD)(row[2 * x] | row[2 * x + 1] << 8);
            unsigned r = v >> 10 & 31, g = v >> 5 & 31, b = v & 31;  // a BI_RGB 16-bit DIB is 5-5-5
            return (r << 3 | r >> 2) << 16 | (g << 3 | g >> 2) << 8 | (b << 3 | b >> 2);
        }
        default: {
            unsigned i = d.bpp == 8 ? row[x] : d.bpp == 4 ? (row[x / 2] >> (x % 2 ? 0 : 4)) & 15 : (row[x / 8] >> (7 - x % 8)) & 1;
            RGBQUAD q = d.colors[i];
            return (uint32_t)q.rgbRed << 16 | q.rgbGreen << 8 | q.rgbBlue;
        }
    }
}

class ScreenCodecs : public ::testing::Test {
protected:
    void SetUp() override {
        shown().clear();
        previous_ = ZYN_ERR_SetErrorMethod(record_message);
    }
    void TearDown() override { ZYN_ERR_SetErrorMethod(previous_); }

private:
    ZYN_ERRMETHOD previous_ = nullptr;
};

}  // namespace

TEST_F(ScreenCodecs, DeviceBitmapOfThisScreenLoadsToItsPixels) {
    Screen s = screen();
    ASSERT_EQ(s.planes, 1);
    if (s.bits < 16) GTEST_SKIP() << "a palette screen: device colors are not fixed";
    const LONG width = 4, height = 3;
    const DWORD widthBytes = (DWORD)((width * s.bits + 15) / 16 * 2) + 6;  // wider than needed
    Bytes rows(widthBytes * height, 0xA5);
    for (LONG y = 0; y < height; y++)
        for (LONG x = 0; x < width; x++) put_pixel(&rows[y * widthBytes + x * (s.bits / 8)], s.bits, kColors[y][x]);
    Bytes file = clp_with_bitmap(bitmap_entry(width, height, widthBytes, 1, (WORD)s.bits, rows));

    HGLOBAL dib = NULL;
    ASSERT_TRUE(clp_decode_memory(file.data(), file.size(), BMP_NO_IMAGE_LIMIT, &dib))
        << (shown().empty() ? "" : shown().back());
    DibParts d;
    ASSERT_TRUE(dib_open(dib, &d));
    EXPECT_EQ(d.width, width);
    EXPECT_EQ(d.height, height);
    for (LONG y = 0; y < height; y++)
        for (LONG x = 0; x < width; x++)
            EXPECT_EQ(dib_pixel(d, x, y), as_device_shows(s.bits, kColors[y][x])) << "pixel " << x << "," << y;
    dib_close(&d);
    GlobalFree(dib);
    EXPECT_TRUE(shown().empty());
}

TEST_F(ScreenCodecs, DeviceBitmapOfAnotherScreenIsRefused) {
    Screen s = screen();
    WORD other = s.bits == 4 ? 8 : 4;
    Bytes file = clp_with_bitmap(bitmap_entry(2, 2, 2, 1, other, Bytes(4, 0)));
    HGLOBAL dib = (HGLOBAL)1;
    EXPECT_FALSE(clp_decode_memory(file.data(), file.size(), BMP_NO_IMAGE_LIMIT, &dib));
    EXPECT_EQ(dib, nullptr);
    ASSERT_EQ(shown().size(), 1u);
    char want[256];
    ASSERT_GT(LoadStringA(GetModuleHandleA(NULL), IDS_CLP_DEVICE_BITMAP, want, sizeof want), 0);
    EXPECT_EQ(shown()[0], want);
}

TEST_F(ScreenCodecs, SixteenBitBmpLoadsOnThisScreen) {
    Screen s = screen();
    if (s.planes * s.bits < 16) GTEST_SKIP() << "the screen shows fewer than 16 bits";
    /* 2 x 1, 5-5-5: pure red, then a gray. */
    Bytes file = {'B', 'M'};
    put32(file, 14 + 40 + 4);
    put32(file, 0);
    put32(file, 14 + 40);
    put32(file, 40);
    put32(file, 2);
    put32(file, 1);
    put16(file, 1);
    put16(file, 16);
    put32(file, 0);
    put32(file, 4);
    for (int i = 0; i < 4; i++) put32(file, 0);
    put16(file, 31 << 10);
    put16(file, 16 << 10 | 16 << 5 | 16);
    HGLOBAL dib = NULL;
    ASSERT_TRUE(bmp_decode_memory(file.data(), file.size(), BMP_NO_IMAGE_LIMIT, &dib))
        << (shown().empty() ? "" : shown().back());
    DibParts d;
    ASSERT_TRUE(dib_open(dib, &d));
    EXPECT_EQ(d.bpp, 16);
    EXPECT_EQ(dib_pixel(d, 0, 0), 0xFF0000u);
    EXPECT_EQ(dib_pixel(d, 1, 0), 0x848484u);
    dib_close(&d);
    GlobalFree(dib);
}
