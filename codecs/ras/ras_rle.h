/* The byte encoding of Sun rasters: 0x80 0 is a single 0x80, 0x80 n v is
   n + 1 copies of v, any other byte stands for itself.  A run may go on
   from one row into the next. */
#ifndef LC_CODECS_RAS_RLE_H
#define LC_CODECS_RAS_RLE_H

#include <stddef.h>

#include "codecs/common/byte_source.h"

typedef struct RasRleState {
    size_t left; /* copies still due from the current run */
    BYTE value;
} RasRleState;

/* Fills exactly n bytes of dst; 0 when the data ends first. */
int ras_rle_decode(RasRleState *state, ByteSource *src, BYTE *dst, size_t n);

#endif
