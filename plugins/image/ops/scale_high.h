/* The high-quality resampler behind img_scale. */
#ifndef IMAGE_SCALE_HIGH_H
#define IMAGE_SCALE_HIGH_H

#include "ops_internal.h"

/* A new width x height DIB: 8-bit gray when gray is set and the source is
   a palette image, else 24 bits (32 from a 32-bit source). */
int img_scale_high(const ImgSource *src, LONG width, LONG height, int gray, const ImgProgress *progress,
                   HGLOBAL *out);

#endif
