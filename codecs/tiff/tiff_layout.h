/* What the reader makes of a TIFF's first directory: the tags it reads,
   the DIB depth and colour count they give, how each scan line becomes a
   DIB row, and the colour table. */
#ifndef LC_CODECS_TIFF_LAYOUT_H
#define LC_CODECS_TIFF_LAYOUT_H

#include <stddef.h>
#include <stdint.h>

#include <tiffio.h>

#include "platform.h"

/* How a decoded scan line (or, in planes, one sample's line) becomes a
   DIB row. */
typedef enum TiffRowKind {
    TIFF_ROW_COPY,       /* 1, 4 and 8 bits: as it is */
    TIFF_ROW_WIDEN_2BIT, /* 2-bit samples into 4-bit pixels */
    TIFF_ROW_GRAY16,     /* 16-bit gray: the high byte */
    TIFF_ROW_RGB555,     /* one 16-bit word of 5-5-5 colour */
    TIFF_ROW_RGB,        /* r, g, b into b, g, r */
    TIFF_ROW_RGBA,       /* r, g, b, a into b, g, r, a */
    TIFF_ROW_CMYK,       /* c, m, y, k into b, g, r */
    TIFF_ROW_PLANE       /* one plane of an RGB(A) image stored in planes */
} TiffRowKind;

typedef struct TiffLayout {
    uint32_t width, height;
    uint16_t bitsPerSample, samples, planar, photometric, compression;
    uint16_t responseUnit;
    int hasCurve;            /* a GrayResponseCurve of 2^bits entries */
    uint16_t curve[256];
    uint16_t *map[3];        /* ColorMap red, green, blue; or null */
    WORD depth;              /* DIB bits per pixel */
    DWORD colors;            /* DIB table entries */
    unsigned passes;         /* 1, or one per sample for planes */
    int gray;
    TiffRowKind kind;
} TiffLayout;

enum { TIFF_PHOTO_WHITE_IS_ZERO = 0, TIFF_PHOTO_BLACK_IS_ZERO = 1, TIFF_PHOTO_RGB = 2, TIFF_PHOTO_PALETTE = 3,
       TIFF_PHOTO_SEPARATED = 5 };

/* Reads the tags of the open directory and decides the layout; 0 after
   reporting a file this reader does not take. */
int tiff_read_layout(TIFF *tif, const BYTE *file, size_t fileSize, TiffLayout *l);

/* Fills `colors` entries of a DIB table; 0 after reporting when the work
   arrays cannot be had. */
int tiff_fill_table(const TiffLayout *l, RGBQUAD *table);

/* Converts one decoded line into the DIB row (pass = the plane). */
void tiff_convert_row(const TiffLayout *l, unsigned pass, const BYTE *src, BYTE *dst);

#endif
