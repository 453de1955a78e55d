#include "color/flat/source_rows.h"

#include <stdlib.h>
#include <string.h>

#include "core/messages.h"
#include "lumacast_strings.h"
#include "zynlib.h"

extern "C" int source_open(HGLOBAL dib, SourceImage *src) {
    memset(src, 0, sizeof *src);
    BITMAPINFOHEADER info;
    if (!dib_open(dib, &src->dib)) {
        WORD bits = dib && ZYN_DIB_Info(dib, &info) ? info.biBitCount : 0;
        lc_message(MSG_ERROR, IDS_COLOR_BAD_DEPTH, (unsigned)bits);
        return 0;
    }
    WORD bpp = src->dib.bpp;
    if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 24 && bpp != 32) {
        lc_message(MSG_ERROR, IDS_COLOR_BAD_DEPTH, (unsigned)bpp);
        dib_close(&src->dib);
        return 0;
    }
    if (bpp <= 8) {
        DWORD count = src->dib.colors ? ZYN_DIB_NumColors(src->dib.header) : 0;
        if (count > (1u << bpp)) count = 1u << bpp;
        if (count) memcpy(src->table, src->dib.colors, count * sizeof(RGBQUAD));
        src->scratch = (BYTE *)malloc((size_t)src->dib.width * 3);
        if (!src->scratch) {
            lc_message(MSG_ERROR, IDS_OUT_OF_MEMORY);
            dib_close(&src->dib);
            return 0;
        }
    }
    return 1;
}

extern "C" void source_close(SourceImage *src) {
    free(src->scratch);
    src->scratch = NULL;
    dib_close(&src->dib);
}

static inline void put_entry(BYTE *out, const RGBQUAD *entry) {
    out[0] = entry->rgbBlue;
    out[1] = entry->rgbGreen;
    out[2] = entry->rgbRed;
}

extern "C" const BYTE *source_row(SourceImage *src, LONG y, int *step) {
    const BYTE *in = src->dib.bits + (size_t)y * src->dib.stride;
    LONG width = src->dib.width;
    switch (src->dib.bpp) {
        case 24: *step = 3; return in;
        case 32: *step = 4; return in;
        case 8:
            for (LONG x = 0; x < width; x++) put_entry(src->scratch + 3 * x, &src->table[in[x]]);
            break;
        case 4:
            for (LONG x = 0; x < width; x++)
                put_entry(src->scratch + 3 * x, &src->table[(in[x >> 1] >> ((x & 1) ? 0 : 4)) & 15]);
            break;
        default:
            for (LONG x = 0; x < width; x++)
                put_entry(src->scratch + 3 * x, &src->table[(in[x >> 3] >> (7 - (x & 7))) & 1]);
            break;
    }
    *step = 3;
    return src->scratch;
}

extern "C" void source_row_ints(SourceImage *src, LONG y, int *out) {
    int step;
    const BYTE *p = source_row(src, y, &step);
    for (LONG x = 0; x < src->dib.width; x++, p += step, out += 3) {
        out[0] = p[0];
        out[1] = p[1];
        out[2] = p[2];
    }
}
