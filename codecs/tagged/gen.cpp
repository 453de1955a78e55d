/* GEN: a header line "width height" over raw rows of red, green, blue
   bytes, bottom row first. */
#include <stdlib.h>
#include <string.h>

#include "codecs/common/byte_sink.h"
#include "codecs/common/byte_source.h"
#include "codecs/common/codec_report.h"
#include "codecs/common/dib_build.h"
#include "codecs/tagged/tagged.h"
#include "codecs/tagged/load_info.h"
#include "core/load_panel.h"
#include "core/messages.h"
#include "lumacast_strings.h"
#include "zynlib.h"

/* Large enough to exceed any dimension, small enough never to overflow. */
#define GEN_NUMBER_LIMIT (1LL << 40)

/* Characters up to one of the stops, each taken as a decimal digit (the
   header is not checked further).  0 when the file ends first. */
static int read_header_number(ByteSource *s, const char *stops, long long *value) {
    long long v = 0;
    for (;;) {
        BYTE c = bs_u8(s);
        if (s->overrun) return 0;
        if (strchr(stops, c) && c) break;
        v = v * 10 + ((int)c - '0');
        if (v > GEN_NUMBER_LIMIT) v = GEN_NUMBER_LIMIT;
        if (v < -GEN_NUMBER_LIMIT) v = -GEN_NUMBER_LIMIT;
    }
    *value = v;
    return 1;
}

static LONG as_dimension(long long v) { return v > LC_MAX_DIMENSION ? LC_MAX_DIMENSION + 1 : (LONG)v; }

static int read_rows(ByteSource *s, DibParts *d) {
    size_t rowBytes = (size_t)d->width * 3;
    for (LONG y = 0; y < d->height; y++) {
        codec_row_done();
        const BYTE *rgb = bs_take(s, rowBytes);
        if (!rgb) return load_format_error(IDS_FMT_INCOMPLETE);
        BYTE *bgr = d->bits + (size_t)y * d->stride;
        for (size_t i = 0; i < rowBytes; i += 3) {
            bgr[i] = rgb[i + 2];
            bgr[i + 1] = rgb[i + 1];
            bgr[i + 2] = rgb[i];
        }
        if ((y & 31) == 31 || y == d->height - 1) load_panel_step((DWORD)y + 1);
    }
    return 1;
}

extern "C" int GenDecode(const BYTE *data, size_t size, HGLOBAL *out) {
    if (!out) return 0;
    *out = NULL;
    ByteSource s;
    bs_init(&s, data, size);
    long long width, height;
    if (!read_header_number(&s, " ", &width) || !read_header_number(&s, "\r\n", &height) || width <= 0 ||
        height <= 0)
        return load_format_error(IDS_FMT_BAD_HEADER);
    LONG w = as_dimension(width), h = as_dimension(height);
    if (!dib_size_ok(w, h, 24, 0, NULL)) return load_format_error(IDS_FMT_NO_MEMORY_LOAD);
    /* Checked before the DIB is allocated: a short file cannot claim a
       huge image. */
    if ((uint64_t)w * 3 * (uint64_t)h > bs_remaining(&s)) return load_format_error(IDS_FMT_INCOMPLETE);
    load_panel_begin_progress(0, (DWORD)h);
    tagged_load_info(24);
    BITMAPINFOHEADER info;
    DibParts d;
    if (!MakeDibHeader(&info, w, h, 24, 0) || !dib_create(w, h, 24, 0, &d))
        return load_format_error(IDS_FMT_NO_MEMORY_LOAD);
    if (!read_rows(&s, &d)) {
        dib_discard(&d);
        return 0;
    }
    dib_close(&d);
    *out = d.handle;
    return 1;
}

extern "C" int WINAPI GenLoad(LPSTR path, HGLOBAL *out) {
    return codec_load_whole_file(path, out, IDS_FMT_NO_MEMORY_LOAD, GenDecode);
}

/* The colour of a palette pixel; an index past the table is black. */
static void table_rgb(const DibParts *d, DWORD count, unsigned index, BYTE *rgb) {
    if (index >= count) {
        rgb[0] = rgb[1] = rgb[2] = 0;
        return;
    }
    rgb[0] = d->colors[index].rgbRed;
    rgb[1] = d->colors[index].rgbGreen;
    rgb[2] = d->colors[index].rgbBlue;
}

/* One DIB row as red, green, blue bytes. */
static void row_to_rgb(const DibParts *d, DWORD count, const BYTE *row, BYTE *rgb) {
    for (LONG x = 0; x < d->width; x++, rgb += 3) {
        switch (d->bpp) {
            case 1: table_rgb(d, count, (row[x >> 3] >> (7 - (x & 7))) & 1, rgb); break;
            case 4: table_rgb(d, count, (row[x >> 1] >> ((x & 1) ? 0 : 4)) & 15, rgb); break;
            case 8: table_rgb(d, count, row[x], rgb); break;
            default:
                rgb[0] = row[3 * x + 2];
                rgb[1] = row[3 * x + 1];
                rgb[2] = row[3 * x];
        }
    }
}

extern "C" int WINAPI GenSave(LPSTR path, HGLOBAL dib, WORD, WORD, WORD) {
    DibParts d;
    if (!dib_open(dib, &d)) return save_format_error(IDS_FMT_NO_MEMORY_SAVE);
    if (d.bpp != 1 && d.bpp != 4 && d.bpp != 8 && d.bpp != 24) {
        dib_close(&d);
        return save_format_error(IDS_FMT_UNSUPPORTED);
    }
    DWORD count = d.colors ? ZYN_DIB_NumColors(d.header) : 0;
    BYTE *rgb = (BYTE *)malloc((size_t)d.width * 3);
    ByteSink *s = (ByteSink *)malloc(sizeof(ByteSink));
    int ok = 0;
    if (!rgb || !s) {
        save_format_error(IDS_FMT_NO_MEMORY_SAVE);
    } else if (!sink_open(s, path)) {
        codec_error(IDS_CODEC_OPEN_OUTPUT);
    } else {
        sink_printf(s, "%d %d\n", (int)d.width, (int)d.height);
        for (LONG y = 0; y < d.height; y++) {
            row_to_rgb(&d, count, d.bits + (size_t)y * d.stride, rgb);
            sink_bytes(s, rgb, (size_t)d.width * 3);
            codec_row_done();
        }
        ok = sink_close(s);
        if (!ok) {
            remove(path);
            codec_error(IDS_CODEC_WRITE_FILE);
        }
    }
    free(s);
    free(rgb);
    dib_close(&d);
    return ok;
}
