/* PCX reader (one plane of 1, 2, 4 or 8 bits, four planes of 1 bit, three
   planes of 8 bits; PCC files the same way) and writer (1, 4, 8 and 24
   bits, always run-length coded). */
#ifndef LC_CODEC_PCX_H
#define LC_CODEC_PCX_H

#include <stddef.h>

#include "platform.h"

#ifdef __cplusplus
extern "C" {
#endif

int WINAPI PcxLoad(LPSTR path, HGLOBAL *out);
int WINAPI PcxSave(LPSTR path, HGLOBAL dib, WORD color, WORD compressed, WORD bpp);

/* The reader's work on a file already in memory: clears *out, decodes,
   fills the load information and reports (and asks) as PcxLoad does. */
int pcx_decode_memory(const BYTE *data, size_t size, HGLOBAL *out);

#ifdef __cplusplus
}
#endif

#endif
