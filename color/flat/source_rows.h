/* Reading the pixels of a source DIB as blue, green, red: palette images
   through their color table, 32-bit images with the alpha byte skipped. */
#ifndef LC_SOURCE_ROWS_H
#define LC_SOURCE_ROWS_H

#include "codecs/common/dib_build.h"
#include "platform.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef struct SourceImage {
    DibParts dib;
    RGBQUAD table[256]; /* entries the DIB lacks are black */
    BYTE *scratch;      /* width x 3 bytes for palette rows */
} SourceImage;

/* Opens an uncompressed DIB of 1, 4, 8, 24 or 32 bits.  Reports and
   returns 0 when it is not one or memory is short. */
int source_open(HGLOBAL dib, SourceImage *src);
void source_close(SourceImage *src);

/* Pixels of storage row y; *step is the distance between pixels (3 or 4).
   Valid until the next call. */
const BYTE *source_row(SourceImage *src, LONG y, int *step);

/* The same as three integers per pixel (blue, green, red). */
void source_row_ints(SourceImage *src, LONG y, int *out);

#ifdef __cplusplus
}
#endif

#endif
