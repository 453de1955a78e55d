/* The free rotation behind img_rotate. */
#ifndef IMAGE_ROTATE_FREE_H
#define IMAGE_ROTATE_FREE_H

#include "ops_internal.h"

/* A turn by phi degrees in the resampler's sense (counter-clockwise as
   displayed), at low or high quality. */
int img_rotate_free(const ImgSource *src, int phi, int quality, const ImgColor *background,
                    const ImgProgress *progress, HGLOBAL *out);

#endif
