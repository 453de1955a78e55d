/* The byte order swap between the file's pixels and the DIB's, shared by
   the reader and the writer. */
#ifndef LC_CODECS_PPM_PIXELS_H
#define LC_CODECS_PPM_PIXELS_H

#include <stdint.h>
#include <string.h>

#include "platform.h"

/* Pixels from red-green-blue order into blue-green-red or back (on the
   little-endian machines this builds for), a pixel at a time through one
   4-byte word: each store spills a byte into the next pixel, which the
   next store rewrites, so the two rows must not overlap; the last pixel
   goes by bytes so nothing is read or written past either row. */
static inline void swap_red_blue_copy(const BYTE *src, BYTE *dst, DWORD width) {
    DWORD x = 0;
    for (; x + 1 < width; x++, src += 3, dst += 3) {
        uint32_t w;
        memcpy(&w, src, 4);
        w = (w & 0x0000FF00u) | (w << 16 & 0x00FF0000u) | (w >> 16 & 0x000000FFu);
        memcpy(dst, &w, 4);
    }
    if (x < width) {
        dst[0] = src[2];
        dst[1] = src[1];
        dst[2] = src[0];
    }
}

#endif
