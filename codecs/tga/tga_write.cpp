/* Targa writer: colour-mapped or gray 8-bit, true-colour 16, 24 and 32
   bits, raw or run-length coded, bottom row first. */
#include <stdlib.h>
#include <string.h>

#include "codecs/common/byte_sink.h"
#include "codecs/common/codec_report.h"
#include "codecs/common/dib_build.h"
#include "codecs/tga/tga.h"
#include "codecs/tga/tga_rle.h"
#include "core/messages.h"
#include "lumacast_strings.h"

/* The depth written: a 24-bit DIB may be packed into 16 bits on request;
   otherwise the DIB's own depth, whatever the argument says, so that the
   header always describes the rows that follow. */
static WORD written_depth(WORD dibBits, WORD requested) {
    return dibBits == 24 && requested == 16 ? 16 : dibBits;
}

static void write_header(ByteSink *s, const DibParts *d, WORD depth, int gray, int compressed) {
    int mapped = d->bpp == 8;
    BYTE type = (BYTE)(gray ? 3 : mapped ? 1 : 2);
    if (compressed) type |= 8;
    sink_u8(s, 0);                       /* no identification */
    sink_u8(s, (BYTE)mapped);            /* colour-map type */
    sink_u8(s, type);
    sink_u16le(s, 0);                    /* first map index */
    sink_u16le(s, (WORD)(mapped ? 256 : 0));
    sink_u8(s, 24);                      /* map entry size */
    sink_u16le(s, 0);                    /* x and y origin */
    sink_u16le(s, 0);
    sink_u16le(s, (WORD)d->width);
    sink_u16le(s, (WORD)d->height);
    sink_u8(s, (BYTE)depth);
    sink_u8(s, 0);                       /* bottom row first */
}

/* All 256 entries; those past the DIB's table are black. */
static void write_map(ByteSink *s, const DibParts *d) {
    DWORD have = d->colors ? d->header->biClrUsed : 0;
    if (d->colors && have == 0) have = 256;
    for (DWORD i = 0; i < 256; i++) {
        BYTE bgr[3] = {0, 0, 0};
        if (i < have) {
            bgr[0] = d->colors[i].rgbBlue;
            bgr[1] = d->colors[i].rgbGreen;
            bgr[2] = d->colors[i].rgbRed;
        }
        sink_bytes(s, bgr, 3);
    }
}

/* 24-bit pixels into little-endian 5-5-5 words. */
static void pack_15bit(const BYTE *bgr, BYTE *out, LONG width) {
    for (LONG x = 0; x < width; x++, bgr += 3, out += 2) {
        WORD w = (WORD)(((bgr[2] >> 3) << 10) | ((bgr[1] >> 3) << 5) | (bgr[0] >> 3));
        out[0] = (BYTE)w;
        out[1] = (BYTE)(w >> 8);
    }
}

static void write_rows(ByteSink *s, const DibParts *d, WORD depth, int compressed, BYTE *packed) {
    unsigned pixelBytes = depth / 8u;
    for (LONG y = 0; y < d->height; y++) {
        const BYTE *row = d->bits + (size_t)y * d->stride;
        if (packed) {
            pack_15bit(row, packed, d->width);
            row = packed;
        }
        if (compressed)
            tga_rle_encode(s, row, (size_t)d->width, pixelBytes);
        else
            sink_bytes(s, row, (size_t)d->width * pixelBytes);
        codec_row_done();
    }
}

static int refuse_depth(WORD bits) {
    if (bits == 1) return codec_error(IDS_TGA_NO_MONOCHROME), 0;
    if (bits == 4) return codec_error(IDS_TGA_NO_16COLOR), 0;
    if (bits != 8 && bits != 24 && bits != 32) return save_format_error(IDS_FMT_UNSUPPORTED);
    return 1;
}

static int write_file(const char *path, const DibParts *d, WORD depth, int gray, int compressed) {
    BYTE *packed = NULL;
    if (depth == 16 && !(packed = (BYTE *)malloc((size_t)d->width * 2))) return save_format_error(IDS_FMT_NO_MEMORY_SAVE);
    ByteSink *s = (ByteSink *)malloc(sizeof(ByteSink));
    if (!s) {
        free(packed);
        return save_format_error(IDS_FMT_NO_MEMORY_SAVE);
    }
    int ok = sink_open(s, path);
    if (!ok) {
        codec_error(IDS_CODEC_OPEN_OUTPUT);
    } else {
        write_header(s, d, depth, gray, compressed);
        if (d->bpp == 8) write_map(s, d);
        write_rows(s, d, depth, compressed, packed);
        ok = sink_close(s);
        if (!ok) {
            remove(path);
            codec_error(IDS_CODEC_WRITE_TO_DISK);
        }
    }
    free(s);
    free(packed);
    return ok;
}

extern "C" int WINAPI TgaSave(LPSTR path, HGLOBAL dib, WORD color, WORD compressed, WORD bpp) {
    DibParts d;
    if (!dib_open(dib, &d)) return save_format_error(IDS_FMT_NO_MEMORY_SAVE);
    int ok = refuse_depth(d.bpp) && write_file(path, &d, written_depth(d.bpp, bpp), !color, compressed != 0);
    dib_close(&d);
    return ok;
}
