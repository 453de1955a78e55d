/* Bit planes and ByteRun1, shared by the reader and the writer.  A plane
   row holds one bit of eight pixels per byte, the leftmost pixel in the
   most significant bit. */
#ifndef LC_CODECS_IFF_PLANES_H
#define LC_CODECS_IFF_PLANES_H

#include <stddef.h>

#include "codecs/common/byte_source.h"

enum IffRowResult { IFF_ROW_OK, IFF_ROW_SHORT, IFF_ROW_OVERRUN };

/* Unpacks one ByteRun1 plane row of exactly n bytes.  IFF_ROW_SHORT when
   the data ends first, IFF_ROW_OVERRUN when a run would pass the row's
   end (nothing is written past dst + n either way). */
int iff_unpack_row(ByteSource *s, BYTE *dst, size_t n);

/* Combines up to 8 plane rows of rowBytes bytes into one value per pixel:
   bit k of pixel x comes from planes[k].  out holds rowBytes * 8 values. */
void iff_planes_to_values(const BYTE *const *planes, int count, size_t rowBytes, BYTE *out);

/* The reverse for 8 planes: bit k of values[x] goes to planes[k]; values
   holds rowBytes * 8 entries. */
void iff_values_to_planes(const BYTE *values, size_t rowBytes, BYTE *const *planes);

#endif
