/* Palette mapping with dither.  The error rows hold the source values
   themselves, read ahead, and the kernels add their shares to them; rows
   run left to right. */
#include "color/flat/palette_map.h"

#include <stdlib.h>
#include <string.h>

#include "color/flat/flat_tables.h"
#include "color/flat/kernels.h"
#include "color/flat/kernels_inline.h"
#include "color/flat/source_rows.h"
#include "color/progress.h"
#include "core/messages.h"
#include "lumacast_strings.h"
#include "shell/settings/settings.h"
#include "zynlib.h"

#define CACHE_KEYS 32768

/* Entries in a search-friendly form, the optional 15-bit cache, and the
   candidate lists of the exact search: per 8 x 8 x 8 cell of colours, the
   entries that can be nearest to some colour of the cell, in index order. */
typedef struct Palette {
    int count;
    int red[256], green[256], blue[256];
    BYTE *known; /* 1 when cached[key] holds the answer */
    BYTE *cached;
    int *cellStart;   /* per key: offset into cellEntries, -1 not built yet */
    BYTE *cellEntries;
    size_t cellUsed, cellRoom;
} Palette;

extern "C" int palette_nearest(const RGBQUAD *table, int count, int red, int green, int blue) {
    int best = 0, bestDistance = 0x7FFFFFFF;
    for (int i = 0; i < count; i++) {
        int d = abs(red - table[i].rgbRed) + abs(green - table[i].rgbGreen) + abs(blue - table[i].rgbBlue);
        if (d < bestDistance) {
            bestDistance = d;
            best = i;
            if (d == 0) break;
        }
    }
    return best;
}

static int search_all(const Palette *pal, int red, int green, int blue) {
    int best = 0, bestDistance = 0x7FFFFFFF;
    for (int i = 0; i < pal->count; i++) {
        int d = abs(red - pal->red[i]) + abs(green - pal->green[i]) + abs(blue - pal->blue[i]);
        if (d < bestDistance) {
            bestDistance = d;
            best = i;
            if (d == 0) break;
        }
    }
    return best;
}

/* Distance from v to the cell's range lo..lo+7, nearest and farthest. */
static inline int near_range(int v, int lo) { return v < lo ? lo - v : v > lo + 7 ? v - lo - 7 : 0; }
static inline int far_range(int v, int lo) { return v - lo > lo + 7 - v ? v - lo : lo + 7 - v; }

/* An entry whose nearest distance to the cell exceeds the smallest
   farthest distance of any entry is beaten everywhere in the cell, so it
   can neither win nor tie; the others keep their index order, so the
   first-wins rule is kept too.  0 when memory is short. */
static int build_cell(Palette *pal, int key) {
    int r = (key >> 7) & 0xF8, g = (key >> 2) & 0xF8, b = (key << 3) & 0xF8;
    int bound = 0x7FFFFFFF;
    for (int i = 0; i < pal->count; i++) {
        int reach = far_range(pal->red[i], r) + far_range(pal->green[i], g) + far_range(pal->blue[i], b);
        if (reach < bound) bound = reach;
    }
    if (pal->cellRoom - pal->cellUsed < (size_t)pal->count + 1) {
        size_t room = pal->cellRoom ? pal->cellRoom * 2 : 65536;
        BYTE *grown = (BYTE *)realloc(pal->cellEntries, room);
        if (!grown) return 0;
        pal->cellEntries = grown;
        pal->cellRoom = room;
    }
    size_t start = pal->cellUsed, at = start + 1;
    for (int i = 0; i < pal->count; i++)
        if (near_range(pal->red[i], r) + near_range(pal->green[i], g) + near_range(pal->blue[i], b) <= bound)
            pal->cellEntries[at++] = (BYTE)i;
    pal->cellEntries[start] = (BYTE)(at - start - 2); /* entries - 1: never 0 entries */
    pal->cellStart[key] = (int)start;
    pal->cellUsed = at;
    return 1;
}

static int search(Palette *pal, int red, int green, int blue) {
    if (!pal->cellStart) return search_all(pal, red, green, blue);
    int key = ((red & 0xF8) << 7) | ((green & 0xF8) << 2) | (blue >> 3);
    if (pal->cellStart[key] < 0 && !build_cell(pal, key)) return search_all(pal, red, green, blue);
    const BYTE *list = pal->cellEntries + pal->cellStart[key];
    int n = list[0] + 1, best = list[1], bestDistance = 0x7FFFFFFF;
    for (int k = 1; k <= n; k++) {
        int i = list[k];
        int d = abs(red - pal->red[i]) + abs(green - pal->green[i]) + abs(blue - pal->blue[i]);
        if (d < bestDistance) {
            bestDistance = d;
            best = i;
        }
    }
    return best;
}

static inline int nearest(Palette *pal, int red, int green, int blue) {
    if (!pal->known) return search(pal, red, green, blue);
    int key = ((red & 0xF8) << 7) | ((green & 0xF8) << 2) | (blue >> 3);
    if (!pal->known[key]) {
        pal->cached[key] = (BYTE)search(pal, red, green, blue);
        pal->known[key] = 1;
    }
    return pal->cached[key];
}

static void palette_release(Palette *pal) {
    if (!pal) return;
    free(pal->known);
    free(pal->cached);
    free(pal->cellStart);
    free(pal->cellEntries);
    free(pal);
}

extern "C" PaletteSearch *palette_search_new(const RGBQUAD *table, int count) {
    if (count < 1 || count > 256) return NULL;
    Palette *pal = (Palette *)calloc(1, sizeof(Palette));
    if (!pal) return NULL;
    pal->count = count;
    for (int i = 0; i < count; i++) {
        pal->red[i] = table[i].rgbRed;
        pal->green[i] = table[i].rgbGreen;
        pal->blue[i] = table[i].rgbBlue;
    }
    pal->cellStart = (int *)malloc(CACHE_KEYS * sizeof(int));
    if (pal->cellStart) memset(pal->cellStart, 0xFF, CACHE_KEYS * sizeof(int));
    return (PaletteSearch *)pal;
}

extern "C" int palette_search_nearest(PaletteSearch *search_, int red, int green, int blue) {
    return search((Palette *)search_, red, green, blue);
}

extern "C" void palette_search_free(PaletteSearch *search_) { palette_release((Palette *)search_); }

static inline void put_index(BYTE *row, int bits, int x, int index) {
    if (bits == 8)
        row[x] = (BYTE)index;
    else if (bits == 4)
        row[x >> 1] = (BYTE)((x & 1) ? (row[x >> 1] & 0xF0) | index : (row[x >> 1] & 0x0F) | (index << 4));
    else
        row[x >> 3] = (BYTE)((row[x >> 3] & ~(0x80 >> (x & 7))) | (index << (7 - (x & 7))));
}

template <int K>
static void diffuse_row(Palette *pal, DibParts *out, ErrorRows *rows, int y) {
    BYTE *dst = out->bits + (size_t)y * out->stride;
    int width = (int)out->width, bits = out->bpp;
    int *const *errors = rows->row;
    int *values = rows->row[0];
    for (int x = 0; x < width; x++) {
        int blue = flat_clamp(values[3 * x]);
        int green = flat_clamp(values[3 * x + 1]);
        int red = flat_clamp(values[3 * x + 2]);
        int index = nearest(pal, red, green, blue);
        put_index(dst, bits, x, index);
        kernel_inline<K>(errors, x, red - pal->red[index], green - pal->green[index], blue - pal->blue[index]);
    }
}

static void halftone_row(Palette *pal, DibParts *out, ErrorRows *rows, int y) {
    BYTE *dst = out->bits + (size_t)y * out->stride;
    int width = (int)out->width, bits = out->bpp;
    const signed char *matrix = flat_dither_matrix[y & 3];
    int *values = rows->row[0];
    for (int x = 0; x < width; x++) {
        int blue = flat_clamp(values[3 * x]);
        int green = flat_clamp(values[3 * x + 1]);
        int red = flat_clamp(values[3 * x + 2]);
        int m = matrix[x & 3], luma = flat_luma(red, green, blue);
        int o = bits == 8 ? m * (luma >> 6) : 2 * m * (luma >> 4);
        put_index(dst, bits, x, nearest(pal, flat_clamp(red + o), flat_clamp(green + o), flat_clamp(blue + o)));
    }
}

static void map_row(Palette *pal, DibParts *out, ErrorRows *rows, int kernelIndex, int y) {
    if (kernelIndex == DITHER_HALFTONE) {
        halftone_row(pal, out, rows, y);
        return;
    }
    DITHER_DISPATCH(kernelIndex, diffuse_row, pal, out, rows, y);
}

static int load_palette(const DibParts *out, Palette *pal) {
    DWORD count = out->colors ? ZYN_DIB_NumColors(out->header) : 0;
    if (count > (1u << out->bpp)) count = 1u << out->bpp;
    if (!count) return 0;
    pal->count = (int)count;
    for (DWORD i = 0; i < count; i++) {
        pal->red[i] = out->colors[i].rgbRed;
        pal->green[i] = out->colors[i].rgbGreen;
        pal->blue[i] = out->colors[i].rgbBlue;
    }
    return 1;
}

extern "C" int palette_map_dither_with(HGLOBAL srcDib, HGLOBAL dstDib, int pass, int ditherType, int fastDither) {
    flat_tables_init();
    SourceImage src;
    if (!source_open(srcDib, &src)) return 0;
    DibParts out;
    if (!dib_open(dstDib, &out) || (out.bpp != 1 && out.bpp != 4 && out.bpp != 8) ||
        out.width != src.dib.width || out.height != src.dib.height) {
        lc_message(MSG_ERROR, IDS_COLOR_BAD_DEPTH, (unsigned)(out.header ? out.bpp : 0));
        if (out.header) dib_close(&out);
        source_close(&src);
        return 0;
    }
    Palette *pal = (Palette *)calloc(1, sizeof(Palette));
    ErrorRows rows;
    memset(&rows, 0, sizeof rows);
    int kernelIndex = dither_kernel_of(ditherType);
    int rowCount = kernelIndex == DITHER_HALFTONE ? 1 : dither_kernels[kernelIndex].rows;
    int ok = pal && error_rows_alloc(&rows, rowCount, (int)out.width);
    if (ok && !load_palette(&out, pal)) {
        /* a destination without a color table has nothing to map to */
        lc_message(MSG_ERROR, IDS_COLOR_BAD_DEPTH, (unsigned)out.bpp);
    } else if (ok) {
        if (fastDither) {
            pal->known = (BYTE *)calloc(CACHE_KEYS, 1);
            pal->cached = (BYTE *)malloc(CACHE_KEYS);
            if (!pal->known || !pal->cached) { /* carry on without the cache */
                free(pal->known);
                free(pal->cached);
                pal->known = pal->cached = NULL;
            }
        }
        if (!pal->known) {
            pal->cellStart = (int *)malloc(CACHE_KEYS * sizeof(int));
            if (pal->cellStart) memset(pal->cellStart, 0xFF, CACHE_KEYS * sizeof(int));
        }
        int height = (int)out.height, next = 0;
        for (; next < rowCount && next < height; next++) source_row_ints(&src, next, rows.row[next]);
        for (int y = 0; y < height; y++) {
            map_row(pal, &out, &rows, kernelIndex, y);
            /* the new last row starts from the next source row and clean pads */
            int *last = error_rows_rotate(&rows);
            memset(last - 3 * DITHER_PAD, 0, ((size_t)out.width + 2 * DITHER_PAD) * 3 * sizeof(int));
            if (next < height) source_row_ints(&src, next++, last);
            color_progress_row(y, height, pass * height);
        }
    } else {
        lc_message(MSG_ERROR, IDS_OUT_OF_MEMORY);
    }
    ok = ok && pal->count > 0;
    palette_release(pal);
    error_rows_free(&rows);
    dib_close(&out);
    source_close(&src);
    return ok;
}

extern "C" int palette_map_dither(HGLOBAL src, HGLOBAL dst, int pass) {
    return palette_map_dither_with(src, dst, pass, (int)settings_read(SET_DITHER_TYPE),
                                   (int)settings_read(SET_FAST_DITHER));
}
