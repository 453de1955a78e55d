/* Sun raster writer: standard (unencoded) rasters of 1, 8 or 24 bits,
   top row first, with an equal-RGB colour map for palette images. */
#include <stdlib.h>
#include <string.h>

#include "codecs/common/byte_sink.h"
#include "codecs/common/codec_report.h"
#include "codecs/common/dib_build.h"
#include "codecs/common/row_writer.h"
#include "codecs/ras/ras.h"
#include "core/messages.h"
#include "lumacast_strings.h"

/* The depth written: the DIB's own, except that 4-bit images widen to 8
   and 32-bit ones drop their alpha, the nearest depths a raster has. */
static WORD raster_depth(WORD dibBits) {
    if (dibBits == 4) return 8;
    if (dibBits == 32) return 24;
    return dibBits;
}

static size_t raster_row_bytes(WORD depth, LONG width) { return ((size_t)depth * (size_t)width + 15) / 16 * 2; }

static DWORD table_size(const DibParts *d) {
    if (!d->colors) return 0;
    DWORD n = d->header->biClrUsed ? d->header->biClrUsed : 1u << d->bpp;
    return n > (1u << d->bpp) ? 1u << d->bpp : n;
}

static void write_header(ByteSink *s, const DibParts *d, WORD depth, size_t rowBytes) {
    DWORD mapLength = depth == 24 ? 0 : table_size(d) * 3;
    sink_u32be(s, 0x59A66A95u);
    sink_u32be(s, (DWORD)d->width);
    sink_u32be(s, (DWORD)d->height);
    sink_u32be(s, depth);
    sink_u32be(s, (DWORD)(rowBytes * (size_t)d->height));
    sink_u32be(s, 1);                   /* standard type */
    sink_u32be(s, depth == 24 ? 0 : 1); /* equal-RGB map */
    sink_u32be(s, mapLength);
}

static void write_map(ByteSink *s, const DibParts *d) {
    DWORD n = table_size(d);
    for (DWORD i = 0; i < n; i++) sink_u8(s, d->colors[i].rgbRed);
    for (DWORD i = 0; i < n; i++) sink_u8(s, d->colors[i].rgbGreen);
    for (DWORD i = 0; i < n; i++) sink_u8(s, d->colors[i].rgbBlue);
}

/* One DIB row as the raster holds it, padded with zeros to rowBytes. */
static void raster_row(const void *ctx, const BYTE *src, BYTE *dst, size_t rowBytes) {
    const DibParts *d = (const DibParts *)ctx;
    LONG w = d->width;
    memset(dst, 0, rowBytes);
    switch (d->bpp) {
        case 1: memcpy(dst, src, ((size_t)w + 7) / 8); break;
        case 4:
            for (LONG x = 0; x < w; x++) dst[x] = (BYTE)(x & 1 ? src[x >> 1] & 15 : src[x >> 1] >> 4);
            break;
        case 8: memcpy(dst, src, (size_t)w); break;
        case 24: memcpy(dst, src, (size_t)w * 3); break;
        default:
            for (LONG x = 0; x < w; x++) memcpy(dst + 3 * x, src + 4 * x, 3);
    }
}

/* The header and, below 24 bits, the map. */
static int write_head(ByteSink *s, const void *ctx) {
    const DibParts *d = (const DibParts *)ctx;
    WORD depth = raster_depth(d->bpp);
    write_header(s, d, depth, raster_row_bytes(depth, d->width));
    if (depth != 24) write_map(s, d);
    return sink_ok(s);
}

static int write_file(const char *path, const DibParts *d) {
    size_t rowBytes = raster_row_bytes(raster_depth(d->bpp), d->width);
    return row_writer_save(path, d, rowBytes, write_head, raster_row, d);
}

extern "C" int WINAPI RasSave(LPSTR path, HGLOBAL dib, WORD color, WORD compressed, WORD bpp) {
    (void)color;
    (void)compressed;
    (void)bpp;
    DibParts d;
    if (!dib_open(dib, &d)) return save_format_error(IDS_FMT_NO_MEMORY_SAVE);
    int ok = d.bpp == 16 ? save_format_error(IDS_FMT_UNSUPPORTED) : write_file(path, &d);
    dib_close(&d);
    return ok;
}
