/* Run-length coding of WPG bitmaps, a stream over the whole image, top row
   first.  A code byte with the high bit set repeats the next byte (low
   seven bits) times, or, with a count of 0, gives the next byte's number
   of 0xFF bytes; with the high bit clear it copies that many bytes, or,
   with a count of 0, repeats the row before the next byte's number of
   times. */
#ifndef LC_CODECS_WPG_RLE_H
#define LC_CODECS_WPG_RLE_H

#include <stddef.h>

#include "codecs/common/byte_sink.h"
#include "codecs/common/byte_source.h"

/* Receives each completed row, top first; returns 0 to stop. */
typedef int (*WpgRowProc)(void *context, const BYTE *row, size_t index);

/* Decodes `rows` rows of rowBytes bytes from src into the row buffer,
   handing each one on (bytes past the last row are dropped).  0 when the
   data ends first, a row repeat falls inside a row or comes first, or the
   receiver stops. */
int wpg_rle_decode(ByteSource *src, BYTE *row, BYTE *previous, size_t rowBytes, size_t rows, WpgRowProc proc,
                   void *context);

/* Codes one row; `previous` (null for the first row) lets an unchanged row
   be sent as a repeat: *pendingRepeats counts them and is flushed by the
   next row that differs, or by wpg_rle_flush. */
void wpg_rle_encode_row(ByteSink *sink, const BYTE *row, const BYTE *previous, size_t rowBytes,
                        unsigned *pendingRepeats);
void wpg_rle_flush(ByteSink *sink, unsigned *pendingRepeats);

#endif
