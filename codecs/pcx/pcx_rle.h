/* PCX run-length coding: a byte of 0xC0 or more is a count (its low six
   bits) followed by the byte to repeat; any other byte stands for itself. */
#ifndef LC_PCX_RLE_H
#define LC_PCX_RLE_H

#include <stddef.h>

#include "codecs/common/byte_source.h"
#include "platform.h"

typedef enum PcxLineResult {
    PCX_LINE_OK,
    PCX_LINE_CUT,  /* filled, but a run went past the line's end and was cut */
    PCX_LINE_SHORT /* the data ended before the line was filled */
} PcxLineResult;

/* Expands runs from the source until n bytes of line are filled. */
PcxLineResult pcx_expand_line(ByteSource *s, BYTE *line, size_t n);

/* Encodes n bytes into out (room for 2 n bytes); returns the bytes used.
   Runs are cut at 63; a single byte of 0xC0 or more goes out as (0xC1,
   byte). */
size_t pcx_encode(const BYTE *in, size_t n, BYTE *out);

#endif
