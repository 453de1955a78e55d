/* Row work of the run-length conversion: the RLE8/RLE4 row encoders and
   the decoder that walks a compressed stream row by row.  Kept apart from
   ZYN_DIB_Compress so the byte-level rules can be tested directly. */
#ifndef ZYN_RLE_INTERNAL_H
#define ZYN_RLE_INTERNAL_H

#include <stddef.h>

#include "zynlib.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Output of the encoders: a bounded buffer.  The capacity is worked out
   from the worst case, so an overflow means a wrong bound, never a write
   outside the block. */
typedef struct ZynRleOut {
    BYTE *data;
    size_t capacity;
    size_t used;
    int overflow;
} ZynRleOut;

/* Most bytes one row of `stride` bytes can need in either encoding,
   end-of-line included (every source byte costs at most two). */
size_t zyn_rle_row_bound(size_t stride);

/* RLE8 over all stride bytes of the row (padding included), then (0, 0). */
void zyn_rle8_encode_row(const BYTE *row, size_t stride, ZynRleOut *out);
/* RLE4 over the width's pixels taken as byte pairs, then (0, 0). */
void zyn_rle4_encode_row(const BYTE *row, size_t width, ZynRleOut *out);
/* Writes the end-of-bitmap code (0, 1). */
void zyn_rle_end_bitmap(ZynRleOut *out);

/* Walks one compressed stream.  Every run, absolute run, delta and
   end-of-line is checked against the row (stride bytes) and the image
   (rows); the stream itself is never read past its size. */
typedef struct ZynRleDecoder {
    const BYTE *src;
    size_t size;
    size_t pos;
    int nibbles;        /* 1 for RLE4, 0 for RLE8 */
    size_t stride;      /* bytes of one decoded row */
    size_t rowsLeft;    /* rows not yet decoded, the current one included */
    size_t blankRows;   /* rows a delta jumped over, still to hand out */
    size_t startUnit;   /* where the row after a delta starts (pixels) */
    int ended;          /* end-of-bitmap seen: the rest stays blank */
} ZynRleDecoder;

void zyn_rle_decoder_init(ZynRleDecoder *d, const BYTE *src, size_t size, int nibbles, size_t stride, size_t rows);
/* Decodes the next stored row into row (stride bytes, cleared first).
   0 when the stream is damaged. */
int zyn_rle_decode_row(ZynRleDecoder *d, BYTE *row);

#ifdef __cplusplus
}
#endif

#endif
