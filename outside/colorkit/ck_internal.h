/* Shared by colorkit's effects: the input opened once with a full colour
   table, a fresh 24- or 32-bit output, and the separable blur. */
#ifndef CK_INTERNAL_H
#define CK_INTERNAL_H

#include <string.h>

#include "colorkit.h"
#include "effects_internal.h"

typedef struct CkImage {
    ZynImage src;
    int bytes;           /* 1, 3 or 4 a source pixel */
    RGBQUAD table[256];  /* 8 bits: indices past the table are black */
} CkImage;

typedef struct CkOut {
    HGLOBAL handle;
    BYTE *bits;
    size_t stride;
    int bytes; /* 3, or 4 for a 32-bit input */
} CkOut;

#ifdef __cplusplus
extern "C" {
#endif

/* Opens an uncompressed 24- or 32-bit DIB, or 8-bit when allow8 is set. */
int ck_open(HGLOBAL dib, int allow8, CkImage *img);
void ck_close(CkImage *img);
/* A locked, zeroed output of the input's size: a fresh 40-byte header,
   no table.  0 when memory is short. */
int ck_new(const CkImage *img, CkOut *out);
/* Unlocks both and returns the output. */
HGLOBAL ck_finish(CkImage *img, CkOut *out);
/* Unlocks both and frees the output. */
void ck_fail(CkImage *img, CkOut *out);
/* Blurs the input into out with the kernel (taps weights summing to
   1 << shift) across, then down; edges repeat their pixels.  Alpha is
   the source's.  0 when memory is short. */
int ck_blur(const CkImage *img, const int *weights, int taps, int shift, CkOut *out);

#ifdef __cplusplus
}
#endif

/* Blue, green, red, alpha of a pixel (alpha 255 below 32 bits). */
static inline void ck_pixel(const CkImage *img, LONG x, LONG y, BYTE px[4]) {
    const BYTE *row = img->src.bits + (size_t)y * img->src.stride;
    if (img->bytes == 1) {
        RGBQUAD q = img->table[row[x]];
        px[0] = q.rgbBlue, px[1] = q.rgbGreen, px[2] = q.rgbRed, px[3] = 255;
        return;
    }
    const BYTE *p = row + (size_t)x * (size_t)img->bytes;
    px[0] = p[0], px[1] = p[1], px[2] = p[2];
    px[3] = img->bytes == 4 ? p[3] : 255;
}

static inline LONG ck_clamp(LONG v, LONG high) { return v < 0 ? 0 : v > high ? high : v; }

#endif
