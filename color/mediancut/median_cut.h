/* Median cut ("Optimized Cut"): a palette of 16 or 256 colours built from
   a 5-bits-per-channel histogram of the image, then the mapping. */
#ifndef LC_MEDIAN_CUT_H
#define LC_MEDIAN_CUT_H

#include "platform.h"

#ifdef __cplusplus
extern "C" {
#endif

/* src: 1, 4, 8, 24 or 32 bits.  colors: 1..256; the new DIB has 4 bits
   for at most 16 colours, else 8, and biClrUsed = colors.  dither maps
   through the palette mapping with dither (dither_type, fast_dither).
   1 with *out set, or 0 after a report. */
int median_cut_reduce(HGLOBAL src, HGLOBAL *out, DWORD colors, int dither);

/* The colour-operation table's form. */
HGLOBAL optimized_cut(HGLOBAL dib, DWORD colors, int dither);

#ifdef __cplusplus
}
#endif

#endif
