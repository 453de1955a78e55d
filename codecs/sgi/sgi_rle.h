/* Run-length packets of SGI images, one channel row at a time: a count
   byte (low seven bits; 0 ends the row), high bit set for that many
   samples copied, clear for one sample repeated that many times. */
#ifndef LC_CODECS_SGI_RLE_H
#define LC_CODECS_SGI_RLE_H

#include <stddef.h>

#include "platform.h"

/* Decodes one row of n samples of bpc bytes (1 or 2, big-endian) from
   data[0..size) into 8-bit samples (16-bit ones rounded to 8).  0 when the
   packets overrun the row or the data, or end before the row is full. */
int sgi_rle_decode_row(const BYTE *data, size_t size, unsigned bpc, BYTE *dst, size_t n);

/* Largest coded size of a row of n 8-bit samples. */
size_t sgi_rle_bound(size_t n);
/* Codes one row of n 8-bit samples into dst (sgi_rle_bound(n) bytes);
   returns the coded length, the closing 0 included. */
size_t sgi_rle_encode_row(const BYTE *src, size_t n, BYTE *dst);

#endif
