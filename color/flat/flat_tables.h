/* The fixed tables of colour reduction: luminance and clamp tables, the
   ordered-dither matrix, the 16-colour index tables and the two default
   palettes, plus the small colour rules built on them. */
#ifndef LC_FLAT_TABLES_H
#define LC_FLAT_TABLES_H

#include "platform.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Luminance shares of a channel value v (-256..255), each indexed v + 256. */
extern int flat_luma_red[512];
extern int flat_luma_green[512];
extern int flat_luma_blue[512];
/* Entry k + 256 is k clamped to 0..255, for k -256..511. */
extern BYTE flat_clamp_table[768];

/* Fills the tables above; the program calls it once at start, the
   operations call it again (it is cheap and idempotent). */
void flat_tables_init(void);

extern const signed char flat_dither_matrix[4][4];
/* 16-colour indices by ((r >> 6) << 4) | ((g >> 6) << 2) | (b >> 6):
   A for the halftone, B without dither and for error diffusion. */
extern const BYTE flat_index_halftone[64];
extern const BYTE flat_index_plain[64];

extern const RGBQUAD flat_default16[16];
void flat_fill_332(RGBQUAD table[256]);

static inline int flat_luma(int red, int green, int blue) {
    return flat_luma_red[red + 256] + flat_luma_green[green + 256] + flat_luma_blue[blue + 256];
}

/* Clamps any value to 0..255; the same as the clamp table where it reaches. */
static inline int flat_clamp(int v) { return v < 0 ? 0 : v > 255 ? 255 : v; }

static inline int flat_key64(int red, int green, int blue) {
    return ((red >> 6) << 4) | ((green >> 6) << 2) | (blue >> 6);
}

static inline BYTE flat_index_332(int red, int green, int blue) {
    return (BYTE)((red >> 5) | ((green & 0xE0) >> 2) | (blue & 0xC0));
}

/* A colour counts as gray for the 16-colour target when the squared
   channel differences (>> 2) sum to less than limit (50 plain, 200 with
   diffusion). */
static inline int flat_near_gray(int red, int green, int blue, int limit) {
    int d1 = (green - red) >> 2, d2 = (green - blue) >> 2, d3 = (blue - red) >> 2;
    return d1 * d1 + d2 * d2 + d3 * d3 < limit;
}

/* The gray rule of the 16-colour target: by red alone. */
static inline BYTE flat_gray16(int red) {
    return red < 64 ? 0 : red < 160 ? 8 : red >= 223 ? 15 : 7;
}

#ifdef __cplusplus
}
#endif

#endif
