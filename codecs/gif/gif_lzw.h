/* The two LZW coders of the GIF codec: variable-length codes of at most 12
   bits, a 4096-entry table, codes packed least-significant bit first. */
#ifndef LC_GIF_LZW_H
#define LC_GIF_LZW_H

#include <stddef.h>
#include <stdint.h>

#include "codecs/common/byte_sink.h"
#include "platform.h"

#define GIF_MAX_BITS 12
#define GIF_MAX_CODES 4096

/* ---- decoding ---------------------------------------------------------- */

/* Where decoded pixels go: one byte per pixel, rows of `width` pixels in the
   order the stream delivers them.  The decoder keeps the whole image in
   `pixels` because a table entry is a reference to where its string was
   first written; row_done copies each finished row out. */
typedef struct GifPixelTarget {
    uint32_t width;
    uint32_t rows;
    /* Called once per row in stream order; `complete` is 0 for the last,
       partly decoded row when the end code comes early (the missing pixels
       are 0). */
    void (*row_done)(void *context, uint32_t row, const BYTE *pixels, int complete);
    void *context;
} GifPixelTarget;

typedef enum GifLzwResult {
    GIF_LZW_DONE,          /* end code, or every row filled */
    GIF_LZW_NO_MEMORY,     /* the pixel buffer could not be had */
    GIF_LZW_OUT_OF_DATA,   /* the data ended (its last sub-block was whole) */
    GIF_LZW_TRUNCATED,     /* the data ended inside a short sub-block */
    GIF_LZW_BAD_CODE       /* a code no table entry can answer */
} GifLzwResult;

/* The image's code stream with its sub-block lengths removed. */
typedef struct GifCodeStream {
    BYTE *bytes;   /* size + GIF_CODE_PADDING bytes, the padding zero */
    size_t size;
    int truncated; /* the file ended inside the sub-blocks */
} GifCodeStream;

#define GIF_CODE_PADDING 8

/* Decodes with minimum code size m (1..11); literal codes at or above
   colors are refused as bad (an index past the color table). */
GifLzwResult gif_lzw_decode(const GifCodeStream *codes, int minCodeSize, unsigned colors,
                            const GifPixelTarget *target);

/* ---- encoding ---------------------------------------------------------- */

typedef struct GifEncoder GifEncoder;

/* Null when the tables cannot be allocated.  initBits is the first code
   width (minimum code size + 1); bytes go to the sink in packets. */
GifEncoder *gif_encoder_create(int initBits, ByteSink *sink);
/* Feeds pixel values (each below 2^(initBits-1)), row after row. */
void gif_encoder_pixels(GifEncoder *e, const BYTE *pixels, size_t count);
/* Outputs the last prefix and the end code and flushes the bit buffer and
   the partial packet. */
void gif_encoder_finish(GifEncoder *e);
void gif_encoder_free(GifEncoder *e);

#endif
