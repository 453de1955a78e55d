/* Macintosh PICT reader: walks a version 1 or 2 picture's opcodes and
   decodes the first bitmap or pixel map into a DIB. */
#ifndef LC_CODECS_PICT_H
#define LC_CODECS_PICT_H

#include <stddef.h>

#include "core/codec_api.h"

#ifdef __cplusplus
extern "C" {
#endif

int WINAPI PictLoad(LPSTR path, HGLOBAL *out);

/* The reader's work on a whole file in memory: same contract as the
   loader (clears *out, reports its own failures). */
int PictDecode(const BYTE *data, size_t size, HGLOBAL *out);

#ifdef __cplusplus
}
#endif

#endif
