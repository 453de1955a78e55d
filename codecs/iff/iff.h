/* Amiga IFF interleaved bitmaps: colour-mapped images of up to 8 planes,
   extra-half-brite, hold-and-modify and deep 24-plane images, raw or
   ByteRun1; the writer makes deep 24-plane files. */
#ifndef LC_CODECS_IFF_H
#define LC_CODECS_IFF_H

#include <stddef.h>

#include "core/codec_api.h"

#ifdef __cplusplus
extern "C" {
#endif

int WINAPI IffLoad(LPSTR path, HGLOBAL *out);
int WINAPI IffSave(LPSTR path, HGLOBAL dib, WORD color, WORD compressed, WORD bpp);

/* The reader's work on a whole file in memory: same contract as the
   loader (clears *out, reports its own failures). */
int IffDecode(const BYTE *data, size_t size, HGLOBAL *out);

#ifdef __cplusplus
}
#endif

#endif
