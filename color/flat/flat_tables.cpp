#include "color/flat/flat_tables.h"

int flat_luma_red[512];
int flat_luma_green[512];
int flat_luma_blue[512];
BYTE flat_clamp_table[768];

/* trunc(weight x v +- 0.51) computed exactly in hundredths: in double,
   0.59 x 11 + 0.51 comes out just below 7. */
static int luma_share(int hundredths, int v) {
    return v >= 0 ? (hundredths * v + 51) / 100 : (hundredths * v - 51) / 100;
}

extern "C" void flat_tables_init(void) {
    static int filled;
    if (filled) return;
    for (int v = -256; v < 256; v++) {
        flat_luma_red[v + 256] = luma_share(30, v);
        flat_luma_green[v + 256] = luma_share(59, v);
        flat_luma_blue[v + 256] = luma_share(11, v);
    }
    for (int k = -256; k < 512; k++) flat_clamp_table[k + 256] = (BYTE)flat_clamp(k);
    filled = 1;
}

extern "C" const signed char flat_dither_matrix[4][4] = {
    {-7, 1, -5, 3}, {5, -3, 7, -1}, {-4, 4, -6, 2}, {8, 0, 6, -2}};

extern "C" const BYTE flat_index_halftone[64] = {
    0, 4, 12, 12, 2, 6, 6, 6, 10, 6, 7, 14, 10, 6, 14, 14, 1, 5, 5, 5, 3, 8, 8, 8,
    3, 8, 7, 7, 3, 8, 7, 15, 9, 5, 7, 13, 3, 8, 7, 7, 7, 7, 7, 7, 11, 7, 7, 15,
    9, 5, 13, 13, 3, 8, 7, 15, 11, 7, 7, 15, 11, 15, 15, 15};

extern "C" const BYTE flat_index_plain[64] = {
    0, 4, 4, 12, 2, 6, 6, 12, 2, 6, 6, 12, 10, 10, 14, 14, 1, 5, 5, 12, 3, 0, 4, 12,
    2, 2, 6, 12, 10, 10, 14, 14, 1, 5, 5, 13, 3, 1, 5, 13, 3, 3, 15, 15, 11, 11, 15, 14,
    9, 13, 13, 13, 11, 9, 13, 13, 11, 11, 15, 15, 11, 11, 15, 15};

/* RGBQUAD is blue, green, red, reserved. */
extern "C" const RGBQUAD flat_default16[16] = {
    {0, 0, 0, 0},       {0, 0, 128, 0},   {0, 128, 0, 0},   {0, 128, 128, 0},
    {128, 0, 0, 0},     {128, 0, 128, 0}, {128, 128, 0, 0}, {192, 192, 192, 0},
    {128, 128, 128, 0}, {0, 0, 255, 0},   {0, 255, 0, 0},   {0, 255, 255, 0},
    {255, 0, 0, 0},     {255, 0, 255, 0}, {255, 255, 0, 0}, {255, 255, 255, 0}};

extern "C" void flat_fill_332(RGBQUAD table[256]) {
    for (int i = 0; i < 256; i++) {
        int r = i & 7, g = (i >> 3) & 7;
        table[i].rgbRed = (BYTE)(r * 36 + (r >> 1));
        table[i].rgbGreen = (BYTE)(g * 36 + (g >> 1));
        table[i].rgbBlue = (BYTE)((i >> 6) * 85);
        table[i].rgbReserved = 0;
    }
}
