/* The parser state shared by the opcode walk and the pixel-map decoder.
   Every step returns 1, or 0 after reporting its message once; the walk
   then stops and the loader frees what was allocated. */
#ifndef LC_CODECS_PICT_INTERNAL_H
#define LC_CODECS_PICT_INTERNAL_H

#include "codecs/common/byte_source.h"
#include "codecs/common/dib_build.h"

typedef struct PictParse {
    ByteSource s;
    size_t start;  /* offset of the picture size field: opcodes align to it */
    int version;   /* 1: one-byte opcodes; 2: two-byte, word-aligned */
    DibParts dib;  /* the image, once a bitmap opcode has made it */
} PictParse;

/* Reports the message with this id; returns 0. */
int pict_fail(UINT id);
/* Reports the end of the data when the source has run out; 0 then. */
int pict_data_ok(PictParse *p);
/* Skips n bytes; 0 (reported) when they are not there. */
int pict_skip(PictParse *p, size_t n);

/* Handles one opcode; *done is set once the image has been decoded.
   0 after reporting (including the end of the picture without a bitmap). */
int pict_opcode(PictParse *p, unsigned opcode, int *done);

/* Bitmap and pixel-map opcodes 0x90, 0x91, 0x98, 0x99, 0x9A, 0x9B. */
int pict_read_bits(PictParse *p, unsigned opcode);
/* Reads past a pixel pattern (BkPixPat, PnPixPat, FillPixPat). */
int pict_skip_pixpat(PictParse *p);

#endif
