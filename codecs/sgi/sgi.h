/* Silicon Graphics image reader and writer: one to four channels of 8 or
   16 bits, verbatim or run-length coded; written as run-length coded 8-bit
   gray or RGB. */
#ifndef LC_CODECS_SGI_H
#define LC_CODECS_SGI_H

#include <stddef.h>

#include "core/codec_api.h"

#ifdef __cplusplus
extern "C" {
#endif

int WINAPI SgiLoad(LPSTR path, HGLOBAL *out);
int WINAPI SgiSave(LPSTR path, HGLOBAL dib, WORD color, WORD compressed, WORD bpp);

/* The reader's work on a whole file held in memory: same contract as the
   loader (clears *out, reports its own failures). */
int SgiDecode(const BYTE *data, size_t size, HGLOBAL *out);

#ifdef __cplusplus
}
#endif

#endif
