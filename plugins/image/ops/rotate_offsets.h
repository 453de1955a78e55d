/* The high-quality rotation of 24- and 32-bit sources inside the image:
   each sample's byte offset is a per-row base plus a per-column table
   entry.  ((a + b) >> 1) is (a >> 1) + (b >> 1) + (a & b & 1), so each
   column keeps four entries, one for each pair of the row's low bits. */
#ifndef IMAGE_ROTATE_OFFSETS_H
#define IMAGE_ROTATE_OFFSETS_H

#include <stddef.h>

#include "rotate_map.h"

typedef struct RotateOffsets {
    ptrdiff_t *column[2][4]; /* [sample][low bit of s2 | low bit of c2 << 1] */
    size_t stride, px;
} RotateOffsets;

/* IMG_NO_MEMORY (with nothing held) when the tables would be too large. */
int rotate_offsets_init(RotateOffsets *o, const RotateMap *m, const ImgSource *src);
void rotate_offsets_free(RotateOffsets *o);
/* Output pixels lo..hi-1 of row y, whose samples all lie inside. */
void rotate_offsets_run(const RotateOffsets *o, const RotateMap *m, const ImgSource *src, LONG y, LONG lo, LONG hi,
                        BYTE *out);

#endif
