/* WordPerfect graphics writer: a version 1 file with a start record, the
   colour map, one run-length coded bitmap record and the end record.  The
   bitmap's length is known only after its rows, so it is written last,
   over the room kept for it. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "codecs/common/byte_sink.h"
#include "codecs/common/codec_report.h"
#include "codecs/common/dib_build.h"
#include "codecs/wpg/wpg.h"
#include "codecs/wpg/wpg_rle.h"
#include "core/messages.h"
#include "lumacast_strings.h"
#include "zynlib.h"

enum { REC_BITMAP1 = 0x0B, REC_COLORMAP = 0x0E, REC_START = 0x0F, REC_END = 0x10 };

#define WPG_DPI 75
/* Where the bitmap record's 31-bit length goes: after the prefix (16),
   the start record (8), the colour map (8 + 3 x colours), and the bitmap's
   type byte and 0xFF. */
static long bitmap_length_offset(DWORD colors) { return 16 + 8 + 8 + 3 * (long)colors + 2; }

static void write_prefix(ByteSink *s) {
    static const BYTE prefix[16] = {0xFF, 'W', 'P', 'C', 16, 0, 0, 0, 1, 0x16, 1, 0, 0, 0, 0, 0};
    sink_bytes(s, prefix, sizeof prefix);
}

/* The picture's size in 1/1200 inch, as far as a word holds it. */
static WORD picture_units(LONG pixels) {
    long units = (long)pixels * (1200 / WPG_DPI);
    return (WORD)(units > 0xFFFF ? 0xFFFF : units);
}

static void write_start(ByteSink *s, const DibParts *d) {
    sink_u8(s, REC_START);
    sink_u8(s, 6);
    sink_u8(s, 1); /* version */
    sink_u8(s, 0); /* flags */
    sink_u16le(s, picture_units(d->width));
    sink_u16le(s, picture_units(d->height));
}

/* Its length in the long form, so the offsets above hold. */
static void write_colormap(ByteSink *s, const DibParts *d, DWORD colors, DWORD have) {
    sink_u8(s, REC_COLORMAP);
    sink_u8(s, 0xFF);
    sink_u16le(s, (WORD)(4 + 3 * colors));
    sink_u16le(s, 0);
    sink_u16le(s, (WORD)colors);
    for (DWORD i = 0; i < colors; i++) {
        RGBQUAD q = i < have ? d->colors[i] : RGBQUAD{0, 0, 0, 0};
        sink_u8(s, q.rgbRed);
        sink_u8(s, q.rgbGreen);
        sink_u8(s, q.rgbBlue);
    }
}

static void write_bitmap_head(ByteSink *s, const DibParts *d) {
    sink_u8(s, REC_BITMAP1);
    sink_u8(s, 0xFF);
    sink_u16le(s, 0x8000); /* the length, filled in at the end */
    sink_u16le(s, 0);
    sink_u16le(s, (WORD)d->width);
    sink_u16le(s, (WORD)d->height);
    sink_u16le(s, d->bpp);
    sink_u16le(s, WPG_DPI);
    sink_u16le(s, WPG_DPI);
}

static void write_rows(ByteSink *s, const DibParts *d) {
    size_t rowBytes = ((size_t)d->width * d->bpp + 7) / 8;
    unsigned repeats = 0;
    for (LONG y = 0; y < d->height && sink_ok(s); y++) {
        const BYTE *row = dib_row_from_top(d, y);
        wpg_rle_encode_row(s, row, y ? dib_row_from_top(d, y - 1) : NULL, rowBytes, &repeats);
        codec_row_done();
    }
    wpg_rle_flush(s, &repeats);
}

/* Fills in the bitmap record's length: what lies between its length field
   and the end record (the file's last two bytes). */
static int patch_length(const char *path, long lengthAt) {
    FILE *f = fopen(path, "r+b");
    if (!f) return 0;
    long size = fseek(f, 0, SEEK_END) == 0 ? ftell(f) : -1;
    unsigned long length = size > lengthAt + 6 ? (unsigned long)(size - 2 - (lengthAt + 4)) : 0;
    BYTE b[4] = {(BYTE)(length >> 16), (BYTE)(0x80 | length >> 24), (BYTE)length, (BYTE)(length >> 8)};
    int ok = length && length <= 0x7FFFFFFFul && fseek(f, lengthAt, SEEK_SET) == 0 && fwrite(b, 1, 4, f) == 4;
    return fclose(f) == 0 && ok;
}

static int write_file(const char *path, const DibParts *d) {
    DWORD colors = 1u << d->bpp;
    DWORD have = d->colors ? ZYN_DIB_NumColors(d->header) : 0;
    ByteSink *s = (ByteSink *)malloc(sizeof(ByteSink));
    if (!s) return save_format_error(IDS_FMT_NO_MEMORY_SAVE);
    if (!sink_open(s, path)) {
        free(s);
        return codec_error(IDS_CODEC_OPEN_OUTPUT), 0;
    }
    write_prefix(s);
    write_start(s, d);
    write_colormap(s, d, colors, have);
    write_bitmap_head(s, d);
    if (!sink_ok(s)) {
        sink_abandon(s, path);
        free(s);
        return codec_error(IDS_CODEC_WRITE_FILE_HEADER), 0;
    }
    write_rows(s, d);
    sink_u8(s, REC_END);
    sink_u8(s, 0);
    int closeFailed;
    int ok = sink_finish(s, path, 1, &closeFailed) && patch_length(path, bitmap_length_offset(colors));
    free(s);
    if (!ok) {
        remove(path);
        codec_error(IDS_CODEC_WRITE_FILE);
    }
    return ok;
}

extern "C" int WINAPI WpgSave(LPSTR path, HGLOBAL dib, WORD color, WORD compressed, WORD bpp) {
    (void)color;
    (void)compressed;
    (void)bpp;
    DibParts d;
    if (!dib_open(dib, &d)) return save_format_error(IDS_FMT_NO_MEMORY_SAVE);
    int ok = d.bpp == 1 || d.bpp == 4 || d.bpp == 8 ? write_file(path, &d) : save_format_error(IDS_FMT_UNSUPPORTED);
    dib_close(&d);
    return ok;
}
