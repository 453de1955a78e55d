// Pixel work of the screen conversion on displays of few colors: 24- and
// 32-bit rows reduced to the 3-3-2 palette with an ordered dither and the
// alpha display modes, and 8-bit rows turned into halftoned indices of the
// 16-color table.  Integer arithmetic only, as everywhere in the image code.
#include "dib_internal.h"

extern "C" const signed char zyn_dither_matrix[4][4] = {
    {-7, 1, -5, 3},
    {5, -3, 7, -1},
    {-4, 4, -6, 2},
    {8, 0, 6, -2},
};

extern "C" const BYTE zyn_halftone_index[64] = {
    0, 4,  12, 12, 2, 6, 6, 6,  10, 6, 7, 14, 10, 6, 14, 14, 1, 5, 5,  5,  3, 8, 8, 8,  3,  8, 7, 7,  3,  8,  7,  15,
    9, 5,  7,  13, 3, 8, 7, 7,  7,  7, 7, 7,  11, 7, 7,  15, 9, 5, 13, 13, 3, 8, 7, 15, 11, 7, 7, 15, 11, 15, 15, 15,
};

// Index: red, green, blue; 7 is the light gray and 8 the dark gray.
#define Q(r, g, b) {b, g, r, 0}
extern "C" const RGBQUAD zyn_default16[16] = {
    Q(0, 0, 0),       Q(128, 0, 0),   Q(0, 128, 0),   Q(128, 128, 0), Q(0, 0, 128),   Q(128, 0, 128),
    Q(0, 128, 128),   Q(192, 192, 192), Q(128, 128, 128), Q(255, 0, 0), Q(0, 255, 0),   Q(255, 255, 0),
    Q(0, 0, 255),     Q(255, 0, 255), Q(0, 255, 255), Q(255, 255, 255),
};
#undef Q

extern "C" void zyn_fill_332(RGBQUAD table[256]) {
    for (int i = 0; i < 256; ++i) {
        int r = i & 7, g = (i >> 3) & 7, b = i >> 6;
        table[i].rgbRed = (BYTE)(r * 36 + (r >> 1));
        table[i].rgbGreen = (BYTE)(g * 36 + (g >> 1));
        table[i].rgbBlue = (BYTE)(b * 85);
        table[i].rgbReserved = 0;
    }
}

namespace {

int clamp255(int v) { return v < 0 ? 0 : (v > 255 ? 255 : v); }

BYTE index_332(int r, int g, int b) { return (BYTE)((r >> 5) | ((g & 0xE0) >> 2) | (b & 0xC0)); }

}  // namespace

extern "C" int zyn_dither_luma(int r, int g, int b) {
    return r / 4 + r / 16 + (r >> 7) + g / 2 + g / 16 + g / 32 + b / 8 - r / 64 - b / 64;
}

extern "C" void zyn_reduce_row_332(const BYTE *src, int srcBits, BYTE *dst, LONG width, LONG row, int dither,
                                   int displayBits, int alphaMode) {
    const int step = srcBits == 32 ? 4 : 3;
    // A 4-bit display has fewer levels to spread: a doubled offset, from a
    // finer luminance step.
    const int shift = displayBits == 4 ? 4 : 5;
    const int scale = displayBits == 4 ? 2 : 1;
    for (LONG x = 0; x < width; ++x, src += step) {
        int b = src[0], g = src[1], r = src[2];
        if (dither == 1) {
            int t = zyn_dither_matrix[row & 3][x & 3] * scale;
            int offset = (zyn_dither_luma(r, g, b) >> shift) * t;
            b = clamp255(b + offset);
            g = clamp255(g + offset);
            r = clamp255(r + offset);
        }
        if (srcBits == 32) {
            int a = src[3];
            int full = 0;
            switch (alphaMode) {
            case 1: a = (a >> 1) | 0x80; break;           // never below half strength
            case 2: break;
            case 3: full = (x + row) % 3 == 0; break;     // every third diagonal stays visible
            default: full = 1; break;
            }
            if (!full) {
                b = b * a / 255;
                g = g * a / 255;
                r = r * a / 255;
            }
        }
        dst[x] = index_332(r, g, b);
    }
}

extern "C" void zyn_halftone_row_4(const BYTE *src, const RGBQUAD *table, DWORD tableCount, BYTE *dst, LONG width,
                                   LONG row) {
    for (LONG x = 0; x < width; ++x) {
        int r = 0, g = 0, b = 0;
        if (src[x] < tableCount) {
            const RGBQUAD &c = table[src[x]];
            r = c.rgbRed;
            g = c.rgbGreen;
            b = c.rgbBlue;
        }
        int offset = 2 * zyn_dither_matrix[row & 3][x & 3] * (zyn_dither_luma(r, g, b) >> 4);
        r = clamp255(r + offset);
        g = clamp255(g + offset);
        b = clamp255(b + offset);
        BYTE index = zyn_halftone_index[((r >> 6) << 4) | ((g >> 6) << 2) | (b >> 6)];
        if (x & 1)
            dst[x >> 1] |= index;
        else
            dst[x >> 1] = (BYTE)(index << 4);
    }
}
