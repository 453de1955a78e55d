/* Targa reader and writer: colour-mapped, true-colour and gray images,
   raw or run-length coded. */
#ifndef LC_CODECS_TGA_H
#define LC_CODECS_TGA_H

#include <stddef.h>

#include "core/codec_api.h"

#ifdef __cplusplus
extern "C" {
#endif

int WINAPI TgaLoad(LPSTR path, HGLOBAL *out);
int WINAPI TgaSave(LPSTR path, HGLOBAL dib, WORD color, WORD compressed, WORD bpp);

/* The reader's work on a whole file held in memory: same contract as the
   loader (clears *out, reports its own failures, asks its own question). */
int TgaDecode(const BYTE *data, size_t size, HGLOBAL *out);

#ifdef __cplusplus
}
#endif

#endif
