/* GIF reader (first image of a GIF87a or GIF89a stream, into a 1-, 4- or
   8-bit palette DIB) and writer (GIF87a, one image, global color table). */
#ifndef LC_CODEC_GIF_H
#define LC_CODEC_GIF_H

#include <stddef.h>
#include <stdint.h>

#include "platform.h"

#ifdef __cplusplus
extern "C" {
#endif

int WINAPI GifLoad(LPSTR path, HGLOBAL *out);
int WINAPI GifSave(LPSTR path, HGLOBAL dib, WORD color, WORD compressed, WORD bpp);

/* The reader's work on a file already in memory: clears *out, decodes,
   fills the load information and reports every failure as GifLoad does.
   maxPixels > 0 refuses images of more pixels as out of memory (the fuzz
   target bounds its allocations with it); 0 leaves only the DIB's limits. */
int gif_decode_memory(const BYTE *data, size_t size, uint64_t maxPixels, HGLOBAL *out);

#ifdef __cplusplus
}
#endif

#endif
