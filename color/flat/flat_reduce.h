/* Flat colour reduction to a fixed palette, without and with dither. */
#ifndef LC_FLAT_REDUCE_H
#define LC_FLAT_REDUCE_H

#include "platform.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Target 1, 4, 8, 16 (a 24-bit DIB with 5 significant bits per channel)
   or 24 (copies blue, green, red out of any source).  gray: the window
   does not mark the image as color.  A new DIB, or null after a report. */
HGLOBAL flat_reduce(HGLOBAL dib, int target, int gray);

/* Targets 1, 4, 8 and 16, with the method the dither_type setting picks;
   target 24 gives the plain copy. */
HGLOBAL flat_reduce_dither(HGLOBAL dib, int target, int gray);

/* The same with an explicit dither_type value (0 halftone, 1..8 kernels). */
HGLOBAL flat_reduce_dither_type(HGLOBAL dib, int target, int gray, int ditherType);

/* The colour-operation table's form. */
HGLOBAL flat_cut(HGLOBAL dib, int target, int gray, int dither);

#ifdef __cplusplus
}
#endif

#endif
