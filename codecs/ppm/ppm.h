/* Portable pixmap reader and writer: gray (P2, P5) and colour (P3, P6)
   maps, text or binary, any maximum value up to 65535; written as binary
   8-bit gray or colour. */
#ifndef LC_CODECS_PPM_H
#define LC_CODECS_PPM_H

#include <stddef.h>

#include "core/codec_api.h"

#ifdef __cplusplus
extern "C" {
#endif

int WINAPI PpmLoad(LPSTR path, HGLOBAL *out);
int WINAPI PpmSave(LPSTR path, HGLOBAL dib, WORD color, WORD compressed, WORD bpp);

/* The reader's work on a whole file held in memory: same contract as the
   loader (clears *out, reports its own failures). */
int PpmDecode(const BYTE *data, size_t size, HGLOBAL *out);

#ifdef __cplusplus
}
#endif

#endif
