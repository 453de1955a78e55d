/* PCX writer: version 5, run-length coded; 1- and 8-bit images as one
   plane, 4-bit images as four 1-bit planes, 24-bit images as three 8-bit
   planes (red, green, blue); 8-bit images end with their 256 colors. */
#include <stdlib.h>
#include <string.h>

#include "codecs/common/byte_sink.h"
#include "codecs/common/codec_report.h"
#include "codecs/common/dib_build.h"
#include "codecs/pcx/pcx.h"
#include "codecs/pcx/pcx_rle.h"
#include "core/messages.h"
#include "lumacast_strings.h"
#include "zynlib.h"

namespace {

struct Layout {
    BYTE bitsPerPlane, planes;
    size_t bytesPerLine;
};

Layout layout_of(const DibParts *d) {
    Layout l;
    l.bitsPerPlane = d->bpp == 1 || d->bpp == 4 ? 1 : 8;
    l.planes = d->bpp == 4 ? 4 : d->bpp == 24 ? 3 : 1;
    l.bytesPerLine = ((size_t)d->width * l.bitsPerPlane + 7) / 8;
    /* Even, as the format asks, unless that no longer fits its 16 bits. */
    if ((l.bytesPerLine & 1) && l.bytesPerLine < 0xFFFF) l.bytesPerLine++;
    return l;
}

/* The DIB's own row length (image size / height) when it is a sensible
   one, else the standard stride: rows are never read outside the block. */
DWORD row_length(const DibParts *d) {
    DWORD minimum = (DWORD)(((uint64_t)d->width * d->bpp + 7) / 8);
    DWORD stated = d->header->biSizeImage / (DWORD)d->height;
    return stated >= minimum && stated <= d->stride ? stated : d->stride;
}

void write_header(ByteSink *sink, const DibParts *d, const Layout *l) {
    BYTE palette[48] = {0};
    if (d->bpp == 1 || d->bpp == 4) {
        unsigned have = d->colors ? ZYN_DIB_NumColors(d->header) : 0;
        for (unsigned i = 0; i < (1u << d->bpp) && i < have; i++) {
            palette[3 * i] = d->colors[i].rgbRed;
            palette[3 * i + 1] = d->colors[i].rgbGreen;
            palette[3 * i + 2] = d->colors[i].rgbBlue;
        }
    }
    sink_u8(sink, 10); /* manufacturer */
    sink_u8(sink, 5);  /* version */
    sink_u8(sink, 1);  /* run-length coding */
    sink_u8(sink, l->bitsPerPlane);
    sink_u16le(sink, 0);
    sink_u16le(sink, 0);
    sink_u16le(sink, (WORD)(d->width - 1));
    sink_u16le(sink, (WORD)(d->height - 1));
    sink_u16le(sink, 0); /* resolutions */
    sink_u16le(sink, 0);
    sink_bytes(sink, palette, sizeof palette);
    sink_u8(sink, 0); /* reserved */
    sink_u8(sink, l->planes);
    sink_u16le(sink, (WORD)l->bytesPerLine);
    sink_u16le(sink, 2); /* palette information */
    sink_fill(sink, 0, 58);
}

/* Plane k holds bit k of each 4-bit pixel, the leftmost pixel in the most
   significant bit. */
void split_4bit(const BYTE *row, LONG width, BYTE *planes, size_t bpl) {
    memset(planes, 0, 4 * bpl);
    for (LONG x = 0; x < width; x++) {
        BYTE v = (BYTE)(x & 1 ? row[x >> 1] & 0x0F : row[x >> 1] >> 4);
        BYTE mask = (BYTE)(0x80 >> (x & 7));
        for (int k = 0; k < 4; k++)
            if (v & (1 << k)) planes[k * bpl + (x >> 3)] |= mask;
    }
}

void split_24bit(const BYTE *row, LONG width, BYTE *planes, size_t bpl) {
    BYTE *r = planes, *g = planes + bpl, *b = planes + 2 * bpl;
    for (LONG x = 0; x < width; x++, row += 3) {
        b[x] = row[0];
        g[x] = row[1];
        r[x] = row[2];
    }
}

/* The scan line of one DIB row: its planes one after the other. */
void build_planes(const DibParts *d, const Layout *l, const BYTE *row, BYTE *planes) {
    if (d->bpp == 4)
        split_4bit(row, d->width, planes, l->bytesPerLine);
    else if (d->bpp == 24)
        split_24bit(row, d->width, planes, l->bytesPerLine);
    else
        memcpy(planes, row, l->bytesPerLine); /* 1 and 8 bits as they are */
}

void write_palette_256(ByteSink *sink, const DibParts *d) {
    unsigned have = d->colors ? ZYN_DIB_NumColors(d->header) : 0;
    sink_u8(sink, 0x0C);
    for (unsigned i = 0; i < 256; i++) {
        BYTE rgb[3] = {0, 0, 0};
        if (i < have) {
            rgb[0] = d->colors[i].rgbRed;
            rgb[1] = d->colors[i].rgbGreen;
            rgb[2] = d->colors[i].rgbBlue;
        }
        sink_bytes(sink, rgb, 3);
    }
}

/* 1 when every row went out; 0 after reporting. */
int write_rows(ByteSink *sink, const DibParts *d, const Layout *l) {
    size_t lineBytes = l->planes * l->bytesPerLine;
    DWORD rowBytes = row_length(d);
    /* The row copy is as long as a plane line at least, so 1- and 8-bit
       rows can give bytesPerLine bytes even where the DIB row is shorter. */
    BYTE *rowCopy = (BYTE *)calloc(rowBytes > lineBytes ? rowBytes : lineBytes, 1);
    BYTE *planes = (BYTE *)calloc(lineBytes, 1);
    BYTE *encoded = (BYTE *)malloc(2 * lineBytes);
    int ok = rowCopy && planes && encoded;
    if (!ok) save_format_error(IDS_FMT_NO_MEMORY_SAVE);
    const BYTE *top = d->bits + (size_t)rowBytes * (size_t)(d->height - 1);
    for (LONG y = 0; ok && y < d->height; y++) {
        memcpy(rowCopy, top - (size_t)rowBytes * (size_t)y, rowBytes);
        build_planes(d, l, rowCopy, planes);
        sink_bytes(sink, encoded, pcx_encode(planes, lineBytes, encoded));
        codec_row_done();
        if (!sink_ok(sink)) {
            codec_error(IDS_CODEC_WRITE_FILE);
            ok = 0;
        }
    }
    free(rowCopy);
    free(planes);
    free(encoded);
    return ok;
}

int write_file(const char *path, const DibParts *d) {
    ByteSink *sink = (ByteSink *)malloc(sizeof(ByteSink));
    if (!sink) return save_format_error(IDS_FMT_NO_MEMORY_SAVE);
    if (!sink_open(sink, path)) {
        free(sink);
        codec_error(IDS_CODEC_OPEN_OUTPUT);
        return 0;
    }
    Layout l = layout_of(d);
    write_header(sink, d, &l);
    int ok = write_rows(sink, d, &l);
    if (ok && d->bpp == 8) write_palette_256(sink, d);
    int closeFailed;
    ok = sink_finish(sink, path, ok, &closeFailed);
    if (closeFailed) codec_error(IDS_CODEC_WRITE_FILE);
    free(sink);
    return ok;
}

}  // namespace

extern "C" int WINAPI PcxSave(LPSTR path, HGLOBAL dib, WORD color, WORD compressed, WORD bpp) {
    DibParts d;
    if (!dib_open(dib, &d) || (d.bpp != 1 && d.bpp != 4 && d.bpp != 8 && d.bpp != 24)) {
        if (d.handle) dib_close(&d);
        codec_error(IDS_PCX_CANNOT_SAVE_DEPTH, (unsigned)bpp);
        return 0;
    }
    int ok = write_file(path, &d);
    dib_close(&d);
    return ok;
}
