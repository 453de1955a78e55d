/* Pieces shared by the BMP and clipboard readers. */
#ifndef LC_CODEC_BMP_INTERNAL_H
#define LC_CODEC_BMP_INTERNAL_H

#include <stdint.h>

#include "codecs/common/byte_source.h"
#include "platform.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Outcome of reading an info header. */
enum BmpHeaderStatus {
    BMP_HEADER_OK,
    BMP_HEADER_NOT_DIB,      /* neither a 12- nor a complete 40-byte header */
    BMP_HEADER_ILLEGAL,      /* top-down, impossible sizes or depths */
    BMP_HEADER_UNSUPPORTED,  /* bit fields and other compressions */
    BMP_HEADER_TOO_LARGE     /* more than a DIB can address */
};

/* An info header as read from a file, widened to the 40-byte form. */
typedef struct BmpHeader {
    BITMAPINFOHEADER info;   /* biSizeImage and biClrUsed filled */
    DWORD foundSize;         /* 12 or 40, as in the file */
    size_t dataOffset;       /* from the file header; 0 without one */
    size_t start;            /* where the headers began */
    uint64_t rawBytes;       /* stride x height, uncompressed */
} BmpHeader;

/* Reads the optional file header and the info header, checks them (the
   largest dimension right away) and leaves the source at the color
   table. */
int bmp_read_info_header(ByteSource *s, BmpHeader *h);

/* Checks an info header already in the 40-byte form: depth, compression,
   sizes, color count. */
int bmp_check_header(const BITMAPINFOHEADER *info);

/* The fields both readers set before the header is known, with the
   creator's string id; progress of 5 steps begins. */
void bmp_begin_info(UINT creatorId);
/* The fields that follow from the header; marks the info ready. */
void bmp_header_info(const BITMAPINFOHEADER *info);

/* The normalisation every loaded DIB ends in: a compressed DIB expanded
   (the compressed block freed), rows padded, a 24-bit table dropped.
   Each returns the DIB to keep, or null after a report (input freed). */
HGLOBAL bmp_expand(HGLOBAL dib);
HGLOBAL bmp_fix(HGLOBAL dib);

/* Planes and bits per pixel of the screen (native build: a 24-bit one). */
void screen_depth(int *planes, int *bits);

/* A device-dependent bitmap of the screen's depth, rows top-down at
   widthBytes each, as a new DIB; null when memory is short or the bits
   are not of the screen's form. */
HGLOBAL clp_bitmap_to_dib(LONG width, LONG height, DWORD widthBytes, WORD planes, WORD bits, const BYTE *data);

#ifdef __cplusplus
}
#endif

#endif
