/* Internal DIB helpers: the checked layout of a DIB block, and the pixel
   work of the screen conversions that is independent of GDI (the reduction
   of 24- and 32-bit rows to the 3-3-2 palette and the halftone conversion of
   8-bit rows to the 16-color table).  Kept apart so they can be tested
   without a display. */
#ifndef ZYN_DIB_INTERNAL_H
#define ZYN_DIB_INTERNAL_H

#include <stdint.h>

#include "zynlib.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Where the pieces of a DIB block lie.  Header fields come from files, so
   every offset here has been checked against the size of the block. */
typedef struct ZynDibLayout {
    size_t block;         /* bytes the block really has */
    DWORD headerSize;     /* 12 (core form) or 40 and more */
    int core;             /* 1 for the 12-byte BITMAPCOREHEADER form */
    LONG width, height;   /* as stored */
    WORD bitCount;
    DWORD compression;    /* 0 for the core form */
    DWORD sizeImage;      /* as stored (0 for the core form) */
    DWORD colors;         /* color-table entries */
    size_t tableBytes;    /* colors x 4 (x 3 for the core form) */
    size_t bitsOffset;    /* header + table, never beyond the block */
} ZynDibLayout;

/* Reads and checks the header at the start of a block of blockSize bytes:
   the header and the color table must lie inside it.  0 when they do not,
   when the header size is neither 12 nor at least 40, or when the table
   would need more than 65535 entries. */
int zyn_dib_layout(const void *block, size_t blockSize, ZynDibLayout *out);

/* Row stride ((bits x width + 31) >> 5) x 4; 0 when width is negative. */
int zyn_dib_stride(LONG width, WORD bitCount, uint64_t *stride);

/* stride x |height| when that fits in 32 bits; 0 otherwise. */
int zyn_dib_packed_size(LONG width, LONG height, WORD bitCount, uint64_t *bytes);

/* Bytes of pixel data the DIB claims: biSizeImage, or for an uncompressed
   DIB that leaves it 0, stride x |height|.  0 when it cannot be worked out
   or when the pixels would not fit in the block. */
int zyn_dib_pixel_bytes(const ZynDibLayout *layout, uint64_t *bytes);

/* For a locked DIB about to be handed to GDI, which reads stride x |height|
   bytes of an uncompressed DIB whatever biSizeImage says: 1 when those rows
   lie inside the block (compressed DIBs are bounded by biSizeImage, which
   ZYN_DIB_LockPtrs has checked). */
int zyn_dib_rows_inside(HGLOBAL dib, const BITMAPINFOHEADER *header, const BYTE *bits);

/* ---- screen conversion pixel work ------------------------------------ */

/* The ordered-dither matrix, [row & 3][column & 3]. */
extern const signed char zyn_dither_matrix[4][4];

/* The halftone index table of the 16-color target, indexed by
   ((red >> 6) << 4) | ((green >> 6) << 2) | (blue >> 6). */
extern const BYTE zyn_halftone_index[64];

/* The luminance approximation of the ordered dither. */
int zyn_dither_luma(int red, int green, int blue);

/* Reduces one row of a 24- or 32-bit DIB (srcBits) to 3-3-2 indices.
   row is the row's storage index, which picks the matrix row; dither adds
   the ordered-dither offset (stronger on a 4-bit display); alphaMode applies
   to 32-bit rows only (1 half-transparent at most, 2 alpha, 3 alpha except
   every third diagonal, others none). */
void zyn_reduce_row_332(const BYTE *src, int srcBits, BYTE *dst, LONG width, LONG row, int dither, int displayBits,
                        int alphaMode);

/* Converts one 8-bit row to packed 4-bit indices of the default 16-color
   table with the ordered halftone; pixels beyond the color table count as
   black.  Two pixels a byte, the first in the high nibble. */
void zyn_halftone_row_4(const BYTE *src, const RGBQUAD *table, DWORD tableCount, BYTE *dst, LONG width, LONG row);

/* The default tables of the library. */
extern const RGBQUAD zyn_default16[16];
void zyn_fill_332(RGBQUAD table[256]);

#ifdef __cplusplus
}
#endif

#endif
