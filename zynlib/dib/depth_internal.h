/* Shared by the depth, scaling and palette-matching units: the gray value of
   a color, unpacking rows to one byte per index, and the building of a new
   DIB block from a header. */
#ifndef ZYN_DEPTH_INTERNAL_H
#define ZYN_DEPTH_INTERNAL_H

#include "effects_internal.h"

/* Luminance of a color in integer steps; white gives 253. */
static inline BYTE zyn_gray_value(int red, int green, int blue) {
    return (BYTE)(red / 4 + red / 16 + (red >> 7) + green / 2 + green / 16 + green / 32 + blue / 8 - red / 64 -
                  blue / 64);
}

/* The table entry of an index; indices beyond the table count as black. */
static inline RGBQUAD zyn_entry(const RGBQUAD *table, DWORD colors, BYTE index) {
    if (index < colors) return table[index];
    RGBQUAD black = {0, 0, 0, 0};
    return black;
}

#ifdef __cplusplus
extern "C" {
#endif

/* Writes the indices of the first width pixels of a 1-, 4- or 8-bit row,
   one byte each. */
void zyn_unpack_indices(const BYTE *row, WORD bits, LONG width, BYTE *out);

/* A new locked DIB block: the 40-byte header with width, height, bit count
   and color count set (biSizeImage the packed size, no compression), room
   for colors table entries (zeroed) and the rows (zeroed).  The rest of the
   header is taken from model, or zero without one.  Null when the size does
   not fit or memory is short; *handle gets the block to unlock. */
BYTE *zyn_new_dib(const BITMAPINFOHEADER *model, LONG width, LONG height, WORD bits, DWORD colors,
                  HGLOBAL *handle);

/* Where the pieces of a block made by zyn_new_dib lie. */
static inline RGBQUAD *zyn_new_table(BYTE *block) { return (RGBQUAD *)(block + sizeof(BITMAPINFOHEADER)); }
static inline BYTE *zyn_new_bits(BYTE *block) {
    const BITMAPINFOHEADER *h = (const BITMAPINFOHEADER *)block;
    return block + sizeof(BITMAPINFOHEADER) + (size_t)h->biClrUsed * sizeof(RGBQUAD);
}

/* Builds the half-step table from a color table (count entries, at most 256)
   into table (65,536 bytes).  Nearest: the smallest sum of absolute
   differences, the lower index on a tie. */
void zyn_build_half_steps(const RGBQUAD *colors, DWORD count, BYTE *table);

/* The table of ZYN_DIB_InitHSMatch, or null outside Init/Exit. */
const BYTE *zyn_half_steps(void);

/* The nearest of count palette entries (red, green, blue order). */
BYTE zyn_nearest_entry(const PALETTEENTRY *entries, UINT count, int red, int green, int blue);

/* ZYN_DIB_CutToPalette on an entry array: both builds share it. */
HGLOBAL zyn_cut_to_entries(HGLOBAL dib, const PALETTEENTRY *entries, UINT count);

#ifdef __cplusplus
}
#endif

#endif
