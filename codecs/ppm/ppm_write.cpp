/* Portable pixmap writer: binary colour (P6) or gray (P5) maps with a
   maximum value of 255, top row first. */
#include <stdlib.h>
#include <string.h>

#include "codecs/common/byte_sink.h"
#include "codecs/common/codec_report.h"
#include "codecs/common/dib_build.h"
#include "codecs/common/row_writer.h"
#include "codecs/ppm/ppm.h"
#include "codecs/ppm/ppm_pixels.h"
#include "core/messages.h"
#include "lumacast_strings.h"
#include "zynlib.h"

typedef struct PpmWrite {
    const DibParts *d;
    int color;
    DWORD tableCount;
} PpmWrite;

static RGBQUAD table_entry(const PpmWrite *w, unsigned i) {
    return i < w->tableCount ? w->d->colors[i] : RGBQUAD{0, 0, 0, 0};
}

static unsigned index_at(const BYTE *row, WORD bpp, size_t x) {
    if (bpp == 8) return row[x];
    if (bpp == 4) return (row[x >> 1] >> (x & 1 ? 0 : 4)) & 15;
    return (row[x >> 3] >> (7 - (x & 7))) & 1;
}

/* One DIB row as the file holds it: red, green, blue per pixel, or one
   gray byte (the table's red component, or a true-colour pixel's first
   byte, both gray in a gray image). */
static void file_row(const PpmWrite *w, const BYTE *src, BYTE *dst) {
    const DibParts *d = w->d;
    size_t n = (size_t)d->width;
    if (d->bpp == 24) {
        if (w->color) {
            swap_red_blue_copy(src, dst, (DWORD)n);
        } else {
            for (size_t x = 0; x < n; x++) dst[x] = src[3 * x];
        }
        return;
    }
    for (size_t x = 0; x < n; x++) {
        RGBQUAD q = table_entry(w, index_at(src, d->bpp, x));
        if (w->color) {
            *dst++ = q.rgbRed;
            *dst++ = q.rgbGreen;
            *dst++ = q.rgbBlue;
        } else {
            *dst++ = q.rgbRed;
        }
    }
}

static int write_header(ByteSink *s, const void *ctx) {
    const PpmWrite *w = (const PpmWrite *)ctx;
    return sink_printf(s, "P%d\n%ld %ld\n%d\n", w->color ? 6 : 5, (long)w->d->width, (long)w->d->height, 255) > 0;
}

static void write_row(const void *ctx, const BYTE *src, BYTE *dst, size_t rowBytes) {
    (void)rowBytes;
    file_row((const PpmWrite *)ctx, src, dst);
}

static int write_file(const char *path, const PpmWrite *w) {
    size_t rowBytes = (size_t)w->d->width * (w->color ? 3 : 1);
    return row_writer_save(path, w->d, rowBytes, write_header, write_row, w);
}

extern "C" int WINAPI PpmSave(LPSTR path, HGLOBAL dib, WORD color, WORD compressed, WORD bpp) {
    (void)compressed;
    DibParts d;
    if (!dib_open(dib, &d)) return save_format_error(IDS_FMT_NO_MEMORY_SAVE);
    int ok;
    if (d.bpp == 32 || d.bpp == 16 || bpp == 32) {
        codec_error(IDS_PPM_CANNOT_SAVE_DEPTH, (unsigned)(bpp == 32 || bpp == 16 ? bpp : d.bpp));
        ok = 0;
    } else {
        PpmWrite w = {&d, color != 0, d.colors ? (DWORD)ZYN_DIB_NumColors(d.header) : 0};
        ok = write_file(path, &w);
    }
    dib_close(&d);
    return ok;
}
