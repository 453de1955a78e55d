/* EPS writer.  Every line of the file comes from the string table, so the
   bytes are fixed; colour images go through `colorimage` (palette images
   through a look-up procedure), gray images through `image`. */
#include <stdlib.h>
#include <string.h>

#include "codecs/common/byte_sink.h"
#include "codecs/common/codec_report.h"
#include "codecs/common/dib_build.h"
#include "codecs/eps/eps.h"
#include "codecs/tagged/text_out.h"
#include "core/messages.h"
#include "core/pipeline.h"
#include "lumacast_strings.h"
#include "zynlib.h"

typedef struct EpsJob {
    DibParts d;
    int color;
    DWORD tableCount; /* entries in the DIB's table */
    size_t digits;    /* hexadecimal digits per row line */
} EpsJob;

/* Bytes of one row as the prologue's string reads it. */
static int gray_string_bytes(const DibParts *d) {
    if (d->bpp == 1) return (int)((d->width + 7) / 8);
    if (d->bpp == 4) return (int)((d->width + 1) / 2);
    return (int)d->width;
}

static size_t row_digits(const DibParts *d, int color) {
    size_t w = (size_t)d->width;
    if (color) return d->bpp == 24 ? 6 * w : 2 * w;
    if (d->bpp == 1) return 2 * ((w + 7) / 8);
    if (d->bpp == 4) return (w + 1) & ~(size_t)1;
    return 2 * w;
}

/* A palette entry; an index past the table gives black. */
static RGBQUAD entry(const EpsJob *j, unsigned index) {
    RGBQUAD none = {0, 0, 0, 0};
    return index < j->tableCount ? j->d.colors[index] : none;
}

static void write_palette(ByteSink *s, const EpsJob *j) {
    text_put_id(s, IDS_EPS_PAL_OPEN);
    for (DWORD i = 0; i < j->tableCount; i++) {
        char rgb[6];
        hex_pair(j->d.colors[i].rgbRed, rgb);
        hex_pair(j->d.colors[i].rgbGreen, rgb + 2);
        hex_pair(j->d.colors[i].rgbBlue, rgb + 4);
        text_put(s, rgb, 6);
    }
    text_put_id(s, IDS_EPS_PAL_CLOSE);
}

static void write_prologue(ByteSink *s, const EpsJob *j, const char *title) {
    int w = (int)j->d.width, h = (int)j->d.height;
    text_put_id(s, IDS_EPS_MAGIC);
    text_put_id(s, IDS_EPS_BOUNDING_BOX, 0, 0, w, h);
    text_put_id(s, IDS_EPS_CREATOR);
    text_put_id(s, IDS_EPS_TITLE, title);
    text_put_id(s, IDS_EPS_PRODUCT);
    for (UINT id = IDS_EPS_MAKER_1; id <= IDS_EPS_MAKER_3; id++) text_put_id(s, id);
    for (UINT id = IDS_EPS_DICT; id <= IDS_EPS_GRAY_STRING; id++) {
        if (id == IDS_EPS_SIZE)
            text_put_id(s, id, w, h);
        else
            text_put_id(s, id);
    }
    char count[16];
    int n = snprintf(count, sizeof count, "%d ", gray_string_bytes(&j->d));
    text_put(s, count, (size_t)n);
    text_put_id(s, IDS_EPS_STRING_DEF);
    text_put_id(s, IDS_EPS_SETUP);
    text_put_id(s, IDS_EPS_BEGIN_DATA, h);
    if (j->color && j->d.bpp != 24) write_palette(s, j);
    for (UINT id = IDS_EPS_LOOKUP_1; id <= IDS_EPS_READ24; id++) text_put_id(s, id);
    if (j->color) {
        text_put_id(s, IDS_EPS_COLOR_MATRIX, w, h, w, h, h);
        text_put_id(s, j->d.bpp == 24 ? IDS_EPS_PROC_READ24 : IDS_EPS_PROC_LOOKUP);
        text_put_id(s, IDS_EPS_COLORIMAGE);
    } else {
        /* `image` takes 1, 2, 4, 8 or 12 bits per sample: a 24-bit image
           is written as its blue bytes, 8 bits each. */
        int bits = j->d.bpp == 24 ? 8 : j->d.bpp;
        text_put_id(s, IDS_EPS_GRAY_MATRIX, w, h, bits, w, h, h);
        text_put_id(s, IDS_EPS_GRAY_IMAGE);
    }
}

static unsigned pixel_index(const BYTE *row, LONG x, WORD bpp) {
    if (bpp == 1) return (row[x >> 3] >> (7 - (x & 7))) & 1;
    if (bpp == 4) return (row[x >> 1] >> ((x & 1) ? 0 : 4)) & 15;
    return row[x];
}

/* Palette images in colour: every pixel as a two-digit index, which the
   look-up procedure reads one byte per pixel. */
static void encode_row(const EpsJob *j, const BYTE *row, char *out) {
    const DibParts *d = &j->d;
    LONG w = d->width;
    if (j->color && d->bpp == 24) {
        for (LONG x = 0; x < w; x++, out += 6) {
            hex_pair(row[3 * x + 2], out);
            hex_pair(row[3 * x + 1], out + 2);
            hex_pair(row[3 * x], out + 4);
        }
    } else if (j->color) {
        for (LONG x = 0; x < w; x++) hex_pair((BYTE)pixel_index(row, x, d->bpp), out + 2 * x);
    } else if (d->bpp == 1) {
        for (LONG i = 0; i < (w + 7) / 8; i++) hex_pair((BYTE)~row[i], out + 2 * i);
    } else if (d->bpp == 4) {
        static const char digits[] = "0123456789ABCDEF";
        for (LONG x = 0; x < w; x++) out[x] = digits[entry(j, pixel_index(row, x, 4)).rgbBlue >> 4];
        if (w & 1) out[w] = '0';
    } else if (d->bpp == 8) {
        for (LONG x = 0; x < w; x++) hex_pair(entry(j, row[x]).rgbBlue, out + 2 * x);
    } else {
        for (LONG x = 0; x < w; x++) hex_pair(row[3 * x], out + 2 * x);
    }
}

static int write_file(const char *path, EpsJob *j) {
    ByteSink *s = (ByteSink *)malloc(sizeof(ByteSink));
    if (!s) return save_format_error(IDS_FMT_NO_MEMORY_SAVE);
    if (!sink_open(s, path)) {
        free(s);
        return codec_error(IDS_CODEC_OPEN_OUTPUT), 0;
    }
    write_prologue(s, j, pipeline_save_target(path));
    char *line = (char *)malloc(j->digits + 1);
    if (!line) {
        sink_abandon(s, path);
        free(s);
        return save_format_error(IDS_FMT_NO_MEMORY_SAVE);
    }
    for (LONG y = 0; y < j->d.height; y++) {
        encode_row(j, dib_row_from_top(&j->d, y), line);
        line[j->digits] = '\n';
        text_put(s, line, j->digits + 1);
        codec_row_done();
    }
    text_put_id(s, IDS_EPS_END_DATA);
    text_put_id(s, IDS_EPS_TRAILER);
    int ok = sink_close(s);
    if (!ok) codec_error(IDS_CODEC_WRITE_FILE);
    free(line);
    free(s);
    return ok;
}

extern "C" int WINAPI EpsSave(LPSTR path, HGLOBAL dib, WORD color, WORD, WORD) {
    EpsJob j;
    if (!dib_open(dib, &j.d)) return save_format_error(IDS_FMT_NO_MEMORY_SAVE);
    WORD bits = j.d.bpp;
    int ok = 0;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 24) {
        codec_error(IDS_EPS_CANNOT_SAVE_DEPTH, (unsigned)bits);
    } else {
        j.color = color != 0;
        j.tableCount = j.d.colors ? ZYN_DIB_NumColors(j.d.header) : 0;
        j.digits = row_digits(&j.d, j.color);
        ok = write_file(path, &j);
    }
    dib_close(&j.d);
    return ok;
}
