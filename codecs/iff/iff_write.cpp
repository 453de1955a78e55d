/* Deep ILBM writer: 24 uncompressed planes, red in planes 0-7, green in
   8-15, blue in 16-23, top row first. */
#include <stdlib.h>
#include <string.h>

#include "codecs/common/byte_sink.h"
#include "codecs/common/checked.h"
#include "codecs/common/codec_report.h"
#include "codecs/common/dib_build.h"
#include "codecs/iff/iff.h"
#include "codecs/iff/iff_planes.h"
#include "core/messages.h"
#include "lumacast_strings.h"
#include "zynlib.h"

enum { BMHD_BYTES = 20, CAMG_BYTES = 4, DEEP_PLANES = 24 };

typedef struct IffWrite {
    const DibParts *d;
    size_t rowBytes;
    BYTE *red, *green, *blue; /* rowBytes * 8 values each, padding zero */
    BYTE *planes;             /* 24 plane rows */
} IffWrite;

static void write_chunk_head(ByteSink *s, const char *id, DWORD length) {
    sink_bytes(s, id, 4);
    sink_u32be(s, length);
}

static void write_headers(ByteSink *s, const DibParts *d, DWORD formLength, DWORD bodyLength) {
    write_chunk_head(s, "FORM", formLength);
    sink_bytes(s, "ILBM", 4);
    write_chunk_head(s, "BMHD", BMHD_BYTES);
    sink_u16be(s, (WORD)d->width);
    sink_u16be(s, (WORD)d->height);
    sink_u16be(s, 0); /* x, y */
    sink_u16be(s, 0);
    sink_u8(s, DEEP_PLANES);
    sink_u8(s, 0); /* masking */
    sink_u8(s, 0); /* compression */
    sink_u8(s, 0); /* pad */
    sink_u16be(s, 0); /* transparent colour */
    sink_u8(s, 1);    /* aspect */
    sink_u8(s, 1);
    sink_u16be(s, 1); /* page size */
    sink_u16be(s, 1);
    write_chunk_head(s, "CAMG", CAMG_BYTES);
    sink_u32be(s, 0);
    write_chunk_head(s, "BODY", bodyLength);
}

static void put_color(IffWrite *w, size_t x, const RGBQUAD *q) {
    w->red[x] = q->rgbRed;
    w->green[x] = q->rgbGreen;
    w->blue[x] = q->rgbBlue;
}

/* Splits one DIB row into its three components. */
static void split_row(IffWrite *w, const BYTE *src) {
    const DibParts *d = w->d;
    static const RGBQUAD black = {0, 0, 0, 0};
    DWORD tableSize = d->colors ? ZYN_DIB_NumColors(d->header) : 0;
    for (LONG x = 0; x < d->width; x++) {
        switch (d->bpp) {
            case 24:
            case 32: {
                const BYTE *p = src + (size_t)x * (d->bpp / 8);
                w->blue[x] = p[0];
                w->green[x] = p[1];
                w->red[x] = p[2];
                break;
            }
            case 16: {
                unsigned v = src[2 * x] | (src[2 * x + 1] << 8);
                w->blue[x] = (BYTE)((v & 0x1F) << 3);
                w->green[x] = (BYTE)(((v >> 5) & 0x1F) << 3);
                w->red[x] = (BYTE)(((v >> 10) & 0x1F) << 3);
                break;
            }
            default: {
                unsigned i = d->bpp == 8 ? src[x]
                             : d->bpp == 4 ? (src[x / 2] >> (x & 1 ? 0 : 4)) & 15
                                           : (src[x / 8] >> (7 - (x & 7))) & 1;
                put_color(w, (size_t)x, i < tableSize ? &d->colors[i] : &black);
            }
        }
    }
}

static void write_rows(ByteSink *s, IffWrite *w) {
    size_t rb = w->rowBytes;
    BYTE *plane[DEEP_PLANES];
    for (int k = 0; k < DEEP_PLANES; k++) plane[k] = w->planes + (size_t)k * rb;
    for (LONG y = 0; y < w->d->height && sink_ok(s); y++) {
        split_row(w, dib_row_from_top(w->d, y));
        iff_values_to_planes(w->red, rb, plane);
        iff_values_to_planes(w->green, rb, plane + 8);
        iff_values_to_planes(w->blue, rb, plane + 16);
        sink_bytes(s, w->planes, DEEP_PLANES * rb);
        codec_row_done();
    }
}

static int write_file(const char *path, IffWrite *w, DWORD formLength, DWORD bodyLength) {
    ByteSink *s = (ByteSink *)malloc(sizeof(ByteSink));
    if (!s) return save_format_error(IDS_FMT_NO_MEMORY_SAVE);
    int ok = sink_open(s, path);
    if (!ok) {
        codec_error(IDS_CODEC_OPEN_OUTPUT);
    } else {
        write_headers(s, w->d, formLength, bodyLength);
        write_rows(s, w);
        ok = sink_close(s);
        if (!ok) {
            remove(path);
            codec_error(IDS_CODEC_WRITE_TO_DISK);
        }
    }
    free(s);
    return ok;
}

/* FORM and BODY lengths; 0 when the image is too large for 32-bit lengths. */
static int chunk_lengths(const DibParts *d, size_t rowBytes, DWORD *formLength, DWORD *bodyLength) {
    uint64_t body, form;
    if (!lc_mul_u64((uint64_t)d->height * DEEP_PLANES, rowBytes, &body)) return 0;
    form = 4 + (8 + BMHD_BYTES) + (8 + CAMG_BYTES) + 8 + body;
    if (form > 0xFFFFFFFFull) return 0;
    *formLength = (DWORD)form;
    *bodyLength = (DWORD)body;
    return 1;
}

extern "C" int WINAPI IffSave(LPSTR path, HGLOBAL dib, WORD, WORD, WORD) {
    DibParts d;
    if (!dib_open(dib, &d)) return save_format_error(IDS_FMT_NO_MEMORY_SAVE);
    IffWrite w;
    memset(&w, 0, sizeof w);
    w.d = &d;
    w.rowBytes = ((size_t)d.width + 15) / 16 * 2;
    DWORD formLength, bodyLength;
    int ok;
    if (!chunk_lengths(&d, w.rowBytes, &formLength, &bodyLength)) {
        ok = save_format_error(IDS_FMT_NO_MEMORY_SAVE);
    } else {
        w.red = (BYTE *)calloc(w.rowBytes * 8, 3);
        w.planes = (BYTE *)malloc(w.rowBytes * DEEP_PLANES);
        if (!w.red || !w.planes) {
            ok = save_format_error(IDS_FMT_NO_MEMORY_SAVE);
        } else {
            w.green = w.red + w.rowBytes * 8;
            w.blue = w.green + w.rowBytes * 8;
            ok = write_file(path, &w, formLength, bodyLength);
        }
    }
    free(w.red);
    free(w.planes);
    dib_close(&d);
    return ok;
}
