/* WordPerfect graphics (version 1) reader and writer: the first bitmap
   record of a file, 1, 2, 4 or 8 bits with its colour map, always
   run-length coded. */
#ifndef LC_CODECS_WPG_H
#define LC_CODECS_WPG_H

#include <stddef.h>
#include <stdint.h>

#include "core/codec_api.h"

#ifdef __cplusplus
extern "C" {
#endif

int WINAPI WpgLoad(LPSTR path, HGLOBAL *out);
int WINAPI WpgSave(LPSTR path, HGLOBAL dib, WORD color, WORD compressed, WORD bpp);

/* The reader's work on a whole file held in memory: same contract as the
   loader (clears *out, reports its own failures). */
int WpgDecode(const BYTE *data, size_t size, HGLOBAL *out);
/* The same with a cap on the DIB's pixel bytes: row repeats let a few
   bytes stand for gigabytes, so callers that take untrusted data in bulk
   (the fuzzer) bound what one file may ask for. */
int WpgDecodeCapped(const BYTE *data, size_t size, uint64_t maxImageBytes, HGLOBAL *out);

#ifdef __cplusplus
}
#endif

#endif
