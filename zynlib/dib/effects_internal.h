/* Shared by the whole-image effects: an uncompressed source DIB opened and
   checked once, and pixel access by column for every supported depth. */
#ifndef ZYN_EFFECTS_INTERNAL_H
#define ZYN_EFFECTS_INTERNAL_H

#include "dib_internal.h"

typedef struct ZynImage {
    HGLOBAL handle;
    const BYTE *block;
    const BITMAPINFOHEADER *header; /* the first 40 bytes */
    const RGBQUAD *table;
    DWORD colors;
    const BYTE *bits;
    size_t stride;
    LONG width, height;
    WORD bitCount;
} ZynImage;

/* Locks an uncompressed bottom-up DIB of 1, 4, 8, 24 or 32 bits whose
   rows all lie inside its block; 0 (unlocked) otherwise. */
#ifdef __cplusplus
extern "C" {
#endif
int zyn_image_open(HGLOBAL dib, ZynImage *img);
void zyn_image_close(ZynImage *img);
#ifdef __cplusplus
}
#endif

/* Index of pixel x of a 1-, 4- or 8-bit row. */
static inline BYTE zyn_index_at(const BYTE *row, WORD bits, size_t x) {
    if (bits == 8) return row[x];
    if (bits == 4) return (x & 1) ? (BYTE)(row[x >> 1] & 0x0F) : (BYTE)(row[x >> 1] >> 4);
    return (BYTE)((row[x >> 3] >> (7 - (x & 7))) & 1);
}

static inline void zyn_index_put(BYTE *row, WORD bits, size_t x, BYTE value) {
    if (bits == 8) {
        row[x] = value;
    } else if (bits == 4) {
        BYTE *b = row + (x >> 1);
        *b = (x & 1) ? (BYTE)((*b & 0xF0) | (value & 0x0F)) : (BYTE)((*b & 0x0F) | (value << 4));
    } else {
        BYTE mask = (BYTE)(0x80 >> (x & 7));
        row[x >> 3] = value & 1 ? (BYTE)(row[x >> 3] | mask) : (BYTE)(row[x >> 3] & ~mask);
    }
}

#endif
