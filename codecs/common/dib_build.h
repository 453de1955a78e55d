/* Building and reading DIBs in the codecs: every size is checked before a
   block is allocated, and a loaded DIB is opened through the same checks
   as one a writer receives. */
#ifndef LC_DIB_BUILD_H
#define LC_DIB_BUILD_H

#include <stdint.h>

#include "platform.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Largest width or height a reader accepts, checked right after the
   header; the block size is checked separately against what a DIB can
   address (biSizeImage is 32 bits). */
#define LC_MAX_DIMENSION 65535

typedef struct DibParts {
    HGLOBAL handle;
    BITMAPINFOHEADER *header;
    RGBQUAD *colors; /* null when the DIB has no table */
    BYTE *bits;      /* row 0 is the bottom row */
    DWORD stride;
    LONG width, height;
    WORD bpp;
} DibParts;

/* Row stride of an uncompressed DIB; 0 when width or bpp is out of range. */
DWORD dib_stride(LONG width, WORD bpp);

/* 1 when a width x height DIB of bpp bits with that many table entries can
   be built: both sides 1..LC_MAX_DIMENSION, bpp 1, 4, 8, 16, 24 or 32, the
   table at most 256 entries and the whole block addressable.  The total
   block size goes to *blockBytes when given. */
int dib_size_ok(LONG width, LONG height, WORD bpp, DWORD colors, uint64_t *blockBytes);

/* Allocates a zero-filled DIB with its header filled (biSizeImage set,
   biClrUsed = colors) and keeps it locked in *out.  0 when the size is not
   ok or memory is short; no message (the codec reports in its own words). */
int dib_create(LONG width, LONG height, WORD bpp, DWORD colors, DibParts *out);

/* Locks an existing uncompressed DIB for reading and checks that its
   header, table and rows lie inside the block.  0 (unlocked) otherwise. */
int dib_open(HGLOBAL dib, DibParts *out);

/* Pointer to row y counted from the top of the image. */
static inline BYTE *dib_row_from_top(const DibParts *d, LONG y) {
    return d->bits + (size_t)(d->height - 1 - y) * d->stride;
}

/* Unlocks; the handle stays valid. */
void dib_close(DibParts *d);
/* Unlocks and frees. */
void dib_discard(DibParts *d);
/* Ends a decode: when ok, unlocks and hands the handle to *out and returns
   1; otherwise frees the DIB and returns 0. */
int dib_finish(DibParts *d, int ok, HGLOBAL *out);

#ifdef __cplusplus
}
#endif

#endif
