/* Sun raster reader and writer: 1-, 8- and 24-bit rasters, with or without
   a colour map, raw or byte-encoded. */
#ifndef LC_CODECS_RAS_H
#define LC_CODECS_RAS_H

#include <stddef.h>

#include "core/codec_api.h"

#ifdef __cplusplus
extern "C" {
#endif

int WINAPI RasLoad(LPSTR path, HGLOBAL *out);
int WINAPI RasSave(LPSTR path, HGLOBAL dib, WORD color, WORD compressed, WORD bpp);

/* The reader's work on a whole file held in memory: same contract as the
   loader (clears *out, reports its own failures, asks its own question). */
int RasDecode(const BYTE *data, size_t size, HGLOBAL *out);

#ifdef __cplusplus
}
#endif

#endif
