/* TIFF reader and writer (through libtiff): bilevel, gray, palette, RGB,
   RGBA and CMYK images, uncompressed, PackBits or CCITT coded. */
#ifndef LC_CODECS_TIFF_H
#define LC_CODECS_TIFF_H

#include <stddef.h>

#include "core/codec_api.h"

#ifdef __cplusplus
extern "C" {
#endif

int WINAPI TiffLoad(LPSTR path, HGLOBAL *out);
int WINAPI TiffSave(LPSTR path, HGLOBAL dib, WORD color, WORD compressed, WORD bpp);

/* The reader's work on a whole file held in memory: same contract as the
   loader (clears *out, reports its own failures). */
int TiffDecode(const BYTE *data, size_t size, HGLOBAL *out);

#ifdef __cplusplus
}
#endif

#endif
