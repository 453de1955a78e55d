/* Targa run-length packets, shared by the reader and the writer. */
#ifndef LC_CODECS_TGA_RLE_H
#define LC_CODECS_TGA_RLE_H

#include <stddef.h>

#include "codecs/common/byte_sink.h"
#include "codecs/common/byte_source.h"

/* A packet may run on from one row into the next, so the decoder keeps
   what is left of the current packet between rows. */
typedef struct TgaRleState {
    size_t left;   /* pixels still due from the current packet */
    int repeat;    /* the current packet repeats one pixel */
    BYTE pixel[4]; /* that pixel */
} TgaRleState;

/* Decodes `pixels` pixels of `bytesPerPixel` bytes into dst.  0 when the
   data ends first (the row is then incomplete). */
int tga_rle_decode(TgaRleState *state, ByteSource *src, BYTE *dst, size_t pixels, unsigned bytesPerPixel);

/* Codes one row into packets of at most 128 pixels. */
void tga_rle_encode(ByteSink *sink, const BYTE *row, size_t pixels, unsigned bytesPerPixel);

#endif
