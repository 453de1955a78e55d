/* GIF writer: a GIF87a stream with one image, not interlaced, and a global
   color table, from a 1-, 4- or 8-bit DIB. */
#include <stdlib.h>
#include <string.h>

#include "codecs/common/byte_sink.h"
#include "codecs/common/codec_report.h"
#include "codecs/common/dib_build.h"
#include "codecs/gif/gif.h"
#include "codecs/gif/gif_lzw.h"
#include "core/messages.h"
#include "lumacast_strings.h"
#include "zynlib.h"

namespace {

/* The DIB's own row length (image size / height) when it is a sensible
   one, else the standard stride: rows are never read outside the block. */
DWORD row_length(const DibParts *d) {
    DWORD minimum = (DWORD)(((uint64_t)d->width * d->bpp + 7) / 8);
    DWORD stated = d->header->biSizeImage / (DWORD)d->height;
    return stated >= minimum && stated <= d->stride ? stated : d->stride;
}

/* One row as one pixel value per byte, leftmost first. */
void unpack_row(const BYTE *src, BYTE *px, LONG width, WORD bpp) {
    if (bpp == 8) {
        memcpy(px, src, (size_t)width);
    } else if (bpp == 4) {
        for (LONG x = 0; x < width; x++) px[x] = (BYTE)(x & 1 ? src[x >> 1] & 0x0F : src[x >> 1] >> 4);
    } else {
        for (LONG x = 0; x < width; x++) px[x] = (BYTE)((src[x >> 3] >> (7 - (x & 7))) & 1);
    }
}

void write_header(ByteSink *sink, const DibParts *d) {
    unsigned bits = d->bpp;
    sink_bytes(sink, "GIF87a", 6);
    sink_u16le(sink, (WORD)d->width);
    sink_u16le(sink, (WORD)d->height);
    sink_u8(sink, (BYTE)(0x80 | ((bits - 1) << 5) | (bits - 1)));
    sink_u8(sink, 0); /* background index */
    sink_u8(sink, 0); /* aspect */
}

/* 2^bits entries; entries the DIB's table does not have are black. */
void write_palette(ByteSink *sink, const DibParts *d) {
    unsigned entries = 1u << d->bpp;
    unsigned have = d->colors ? ZYN_DIB_NumColors(d->header) : 0;
    for (unsigned i = 0; i < entries; i++) {
        BYTE rgb[3] = {0, 0, 0};
        if (i < have) {
            rgb[0] = d->colors[i].rgbRed;
            rgb[1] = d->colors[i].rgbGreen;
            rgb[2] = d->colors[i].rgbBlue;
        }
        sink_bytes(sink, rgb, 3);
    }
}

void write_image_descriptor(ByteSink *sink, const DibParts *d) {
    sink_u8(sink, 0x2C);
    sink_u16le(sink, 0);
    sink_u16le(sink, 0);
    sink_u16le(sink, (WORD)d->width);
    sink_u16le(sink, (WORD)d->height);
    sink_u8(sink, 0);
    sink_u8(sink, (BYTE)(d->bpp == 1 ? 2 : d->bpp)); /* minimum code size */
}

/* Every row, top first, through the compressor. */
int write_pixels(ByteSink *sink, const DibParts *d) {
    int initBits = (d->bpp < 2 ? 2 : d->bpp) + 1;
    BYTE *px = (BYTE *)malloc((size_t)d->width);
    GifEncoder *e = px ? gif_encoder_create(initBits, sink) : NULL;
    if (!e) {
        free(px);
        return save_format_error(IDS_FMT_NO_MEMORY_SAVE);
    }
    DWORD rowBytes = row_length(d);
    const BYTE *top = d->bits + (size_t)rowBytes * (size_t)(d->height - 1);
    for (LONG y = 0; y < d->height; y++) {
        unpack_row(top - (size_t)rowBytes * (size_t)y, px, d->width, d->bpp);
        gif_encoder_pixels(e, px, (size_t)d->width);
        codec_row_done();
    }
    gif_encoder_finish(e);
    gif_encoder_free(e);
    free(px);
    return 1;
}

int write_stream(const char *path, const DibParts *d) {
    ByteSink *sink = (ByteSink *)malloc(sizeof(ByteSink));
    if (!sink) return save_format_error(IDS_FMT_NO_MEMORY_SAVE);
    int ok = 0;
    if (!sink_open(sink, path)) {
        save_format_error(IDS_FMT_WRITE_HEADER);
        free(sink);
        return 0;
    }
    write_header(sink, d);
    if (!sink_ok(sink)) {
        save_format_error(IDS_FMT_WRITE_HEADER);
    } else {
        write_palette(sink, d);
        if (!sink_ok(sink)) {
            save_format_error(IDS_FMT_WRITE_PALETTE);
        } else {
            write_image_descriptor(sink, d);
            if (write_pixels(sink, d)) {
                sink_u8(sink, 0);    /* block terminator */
                sink_u8(sink, 0x3B); /* trailer */
                ok = 1;
            }
        }
    }
    int closeFailed;
    ok = sink_finish(sink, path, ok, &closeFailed);
    if (closeFailed) codec_error(IDS_CODEC_WRITE_FILE);
    free(sink);
    return ok;
}

}  // namespace

extern "C" int WINAPI GifSave(LPSTR path, HGLOBAL dib, WORD color, WORD compressed, WORD bpp) {
    DibParts d;
    if (!dib_open(dib, &d) || (d.bpp != 1 && d.bpp != 4 && d.bpp != 8)) {
        if (d.handle) dib_close(&d);
        codec_error(IDS_GIF_CANNOT_SAVE_DEPTH, (unsigned)bpp);
        return 0;
    }
    int ok = write_stream(path, &d);
    dib_close(&d);
    return ok;
}
