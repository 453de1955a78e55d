/* The byte order swap between the file's pixels and the DIB's, shared by
   the reader and the writer. */
#ifndef LC_CODECS_PPM_PIXELS_H
#define LC_CODECS_PPM_PIXELS_H

#include "platform.h"

#ifdef __cplusplus
extern "C" {
#endif

/* width pixels from red-green-blue order into blue-green-red or back.  The
   rows must not overlap; nothing is read or written past either row. */
void swap_red_blue_copy(const BYTE *src, BYTE *dst, DWORD width);

#ifdef __cplusplus
}
#endif

#endif
