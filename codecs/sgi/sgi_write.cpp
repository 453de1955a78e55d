/* SGI image writer: run-length coded 8-bit samples, one gray channel or
   red, green and blue, bottom row first.  The row tables come before the
   rows but are known only after them, so they are written last, over the
   room kept for them. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "codecs/common/byte_sink.h"
#include "codecs/common/checked.h"
#include "codecs/common/codec_report.h"
#include "codecs/common/dib_build.h"
#include "codecs/sgi/sgi.h"
#include "codecs/sgi/sgi_rle.h"
#include "core/lc_instance.h"
#include "core/messages.h"
#include "lumacast_strings.h"
#include "zynlib.h"

#define SGI_HEADER_BYTES 512

typedef struct SgiWrite {
    const DibParts *d;
    unsigned channels;  /* 1 or 3 */
    DWORD tableCount;   /* entries of the DIB's colour table */
    BYTE *planes;       /* one row of each channel */
    BYTE *coded;        /* one coded channel row */
    DWORD *starts;      /* ysize x channels, then as many lengths */
} SgiWrite;

static void write_header(ByteSink *s, const SgiWrite *w) {
    char name[80];
    memset(name, 0, sizeof name);
    LoadStringA(lc_instance(), IDS_SGI_IMAGE_NAME, name, (int)sizeof name);
    sink_u16be(s, 474);
    sink_u8(s, 1); /* run-length coded */
    sink_u8(s, 1); /* one byte a sample */
    sink_u16be(s, (WORD)(w->channels == 1 ? 2 : 3));
    sink_u16be(s, (WORD)w->d->width);
    sink_u16be(s, (WORD)w->d->height);
    sink_u16be(s, (WORD)w->channels);
    sink_u32be(s, 0);   /* smallest sample */
    sink_u32be(s, 255); /* largest sample */
    sink_fill(s, 0, 4);
    sink_bytes(s, name, sizeof name);
    sink_u32be(s, 0); /* normal pixels */
    sink_fill(s, 0, 404);
}

/* DIB row y (from the bottom) as channel rows: red, green, blue, or the
   gray value (the table's red component, or a true-colour pixel's first
   byte, both gray in a gray image). */
static void split_row(const SgiWrite *w, LONG y) {
    const DibParts *d = w->d;
    const BYTE *src = d->bits + (size_t)y * d->stride;
    size_t n = (size_t)d->width;
    BYTE *r = w->planes, *g = r + n, *b = g + n;
    for (size_t x = 0; x < n; x++) {
        BYTE red, green, blue;
        if (d->bpp <= 8) {
            unsigned i = d->bpp == 8 ? src[x]
                         : d->bpp == 4 ? (src[x >> 1] >> (x & 1 ? 0 : 4)) & 15
                                       : (src[x >> 3] >> (7 - (x & 7))) & 1;
            RGBQUAD q = i < w->tableCount ? d->colors[i] : RGBQUAD{0, 0, 0, 0};
            red = q.rgbRed, green = q.rgbGreen, blue = q.rgbBlue;
        } else {
            const BYTE *p = src + x * (d->bpp / 8);
            blue = p[0], green = p[1], red = p[2];
            if (w->channels == 1) red = blue;
        }
        r[x] = red;
        if (w->channels == 3) {
            g[x] = green;
            b[x] = blue;
        }
    }
}

/* Codes every row; records each channel row's place and length. */
static int write_rows(ByteSink *s, SgiWrite *w, DWORD tableBytes) {
    const DibParts *d = w->d;
    size_t n = (size_t)d->width;
    DWORD rows = (DWORD)d->height;
    uint64_t offset = SGI_HEADER_BYTES + (uint64_t)tableBytes;
    for (LONG y = 0; y < d->height; y++) {
        split_row(w, y);
        for (unsigned c = 0; c < w->channels; c++) {
            size_t len = sgi_rle_encode_row(w->planes + c * n, n, w->coded);
            if (offset + len > 0xFFFFFFFFu) return 0; /* beyond what the tables can address */
            w->starts[c * rows + (DWORD)y] = (DWORD)offset;
            w->starts[(w->channels + c) * rows + (DWORD)y] = (DWORD)len;
            sink_bytes(s, w->coded, len);
            offset += len;
        }
        codec_row_done();
        if (!sink_ok(s)) return 0;
    }
    return 1;
}

/* Fills the room kept after the header with the finished tables. */
static int write_tables(const char *path, const SgiWrite *w, DWORD entries) {
    FILE *f = fopen(path, "r+b");
    if (!f) return 0;
    int ok = fseek(f, SGI_HEADER_BYTES, SEEK_SET) == 0;
    BYTE buf[4];
    for (DWORD i = 0; ok && i < entries; i++) {
        DWORD v = w->starts[i];
        buf[0] = (BYTE)(v >> 24), buf[1] = (BYTE)(v >> 16), buf[2] = (BYTE)(v >> 8), buf[3] = (BYTE)v;
        ok = fwrite(buf, 1, 4, f) == 4;
    }
    return fclose(f) == 0 && ok;
}

static int write_file(const char *path, SgiWrite *w) {
    const DibParts *d = w->d;
    DWORD entries = (DWORD)d->height * w->channels * 2;
    DWORD tableBytes = entries * 4;
    size_t n = (size_t)d->width;
    w->starts = (DWORD *)malloc((size_t)entries * sizeof(DWORD));
    w->coded = (BYTE *)malloc(sgi_rle_bound(n));
    if (!w->starts || !w->coded) return codec_error(IDS_SGI_NO_MEMORY_COMPRESSED), 0;
    w->planes = (BYTE *)malloc(n * w->channels);
    ByteSink *s = (ByteSink *)malloc(sizeof(ByteSink));
    if (!w->planes || !s) {
        free(s);
        return save_format_error(IDS_FMT_NO_MEMORY_SAVE);
    }
    int ok = sink_open(s, path);
    if (!ok) {
        free(s);
        return codec_error(IDS_CODEC_OPEN_OUTPUT), 0;
    }
    write_header(s, w);
    sink_fill(s, 0, tableBytes);
    int written = write_rows(s, w, tableBytes);
    int closeFailed;
    ok = sink_finish(s, path, written, &closeFailed);
    free(s);
    if (ok && !write_tables(path, w, entries)) {
        remove(path);
        ok = 0;
    }
    if (!ok) codec_error(IDS_CODEC_WRITE_FILE);
    return ok;
}

extern "C" int WINAPI SgiSave(LPSTR path, HGLOBAL dib, WORD color, WORD compressed, WORD bpp) {
    (void)compressed;
    (void)bpp;
    DibParts d;
    if (!dib_open(dib, &d)) return save_format_error(IDS_FMT_NO_MEMORY_SAVE);
    SgiWrite w;
    memset(&w, 0, sizeof w);
    w.d = &d;
    w.channels = color ? 3 : 1;
    w.tableCount = d.colors ? ZYN_DIB_NumColors(d.header) : 0;
    int ok = d.bpp == 16 ? save_format_error(IDS_FMT_UNSUPPORTED) : write_file(path, &w);
    free(w.planes);
    free(w.coded);
    free(w.starts);
    dib_close(&d);
    return ok;
}
