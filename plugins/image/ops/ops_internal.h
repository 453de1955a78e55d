/* Shared by the operations: the source DIB opened and checked once, the
   result DIB built with checked sizes, the progress of long operations. */
#ifndef IMAGE_OPS_INTERNAL_H
#define IMAGE_OPS_INTERNAL_H

#include <stdint.h>

#include "dib/effects_internal.h" /* zyn_index_at, zyn_index_put */
#include "image_ops.h"
#include "zynlib.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef struct ImgSource {
    HGLOBAL handle;
    const BITMAPINFOHEADER *header;
    const RGBQUAD *table; /* the core's count of entries, possibly 0 */
    DWORD colors;
    const BYTE *bits; /* row 0 is the bottom row */
    size_t stride;
    LONG width, height;
    WORD bitCount;
} ImgSource;

/* Locks an uncompressed bottom-up DIB of 1, 4, 8, 24 or 32 bits with a
   header of 40 bytes or more, whose table (as the core counts it) and
   rows all lie inside the block.  IMG_OK, or IMG_BAD_IMAGE unlocked. */
int img_source_open(HGLOBAL dib, ImgSource *src);
void img_source_close(ImgSource *src);

static inline const BYTE *img_source_row(const ImgSource *s, LONG y) { return s->bits + (size_t)y * s->stride; }

/* The color of an index; indices beyond the table read as black. */
static inline RGBQUAD img_entry(const ImgSource *s, unsigned index) {
    if (index < s->colors) return s->table[index];
    RGBQUAD black = {0, 0, 0, 0};
    return black;
}

typedef struct ImgTarget {
    HGLOBAL handle;
    BITMAPINFOHEADER *header;
    RGBQUAD *table;
    BYTE *bits;
    size_t stride;
    LONG width, height;
    WORD bitCount;
} ImgTarget;

/* Row stride of a DIB row, 64-bit checked; 0 for a width below 1. */
int img_stride(LONG width, WORD bitCount, size_t *stride);

/* A new zeroed DIB, locked: a 40-byte header (resolutions from model when
   given), colors table entries, biSizeImage filled.  IMG_NO_MEMORY when a
   side is outside 1..IMG_MAX_SIDE, the pixels exceed 32 bits or memory
   is short. */
int img_target_new(const BITMAPINFOHEADER *model, LONG width, LONG height, WORD bitCount, DWORD colors,
                   ImgTarget *out);
/* The same depth as the source with its table (palette images only). */
int img_target_like(const ImgSource *src, LONG width, LONG height, ImgTarget *out);
/* 8 bits under the gray ramp 0..255. */
int img_target_gray(const ImgSource *src, LONG width, LONG height, ImgTarget *out);
static inline BYTE *img_target_row(const ImgTarget *t, LONG y) { return t->bits + (size_t)y * t->stride; }
/* Unlocks and hands the DIB out; returns IMG_OK. */
int img_target_finish(ImgTarget *t, HGLOBAL *out);
void img_target_discard(ImgTarget *t);

/* Progress of one long operation (any of the record's members may be
   missing, or the record itself). */
typedef struct ImgRun {
    const ImgProgress *progress;
    LONG last;
} ImgRun;
void img_run_start(ImgRun *run, const ImgProgress *progress, UINT captionId, LONG rows);
void img_run_row(const ImgRun *run, LONG row);
void img_run_to(const ImgRun *run, LONG position);
void img_run_end(ImgRun *run);

/* Packed 1- and 4-bit rows at any bit position, most significant bit
   first.  extract reads only the bytes holding the bits asked for and
   clears the rest of its last byte; insert keeps the bits around the
   place it writes. */
void img_bits_extract(const BYTE *src, size_t srcBit, size_t bits, BYTE *dst);
void img_bits_insert(BYTE *dst, size_t dstBit, const BYTE *src, size_t bits);

/* One row reversed left to right, at any depth (mirror.cpp). */
void img_mirror_row(const BYTE *src, BYTE *dst, LONG width, WORD bitCount);

/* Writes the first width pixels of a row at pixel `left` of a wider row. */
void img_place_row(const BYTE *src, BYTE *dst, size_t left, LONG width, WORD bitCount);

/* Is every table entry of a palette image a gray (red = green = blue)? */
int img_table_gray(const ImgSource *src);

/* x / d for x up to a known bound by one multiply and shift. */
typedef struct ImgDivider {
    uint64_t multiplier;
    unsigned shift;
} ImgDivider;
/* 0 when no multiplier fits 64 bits for numerators up to maxNumerator. */
int img_divider_init(ImgDivider *div, uint32_t divisor, uint64_t maxNumerator);
static inline uint32_t img_divide(const ImgDivider *div, uint64_t x) {
    return (uint32_t)((x * div->multiplier) >> div->shift);
}

#ifdef __cplusplus
}
#endif

#endif
