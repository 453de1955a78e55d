/* Icon writer: the image fitted into one S x S icon type (scaled keeping
   its proportions, centred on black), reduced to the type's depth, and
   written as a one-image icon file whose AND mask comes from the alpha
   channel on request. */
#include <stdlib.h>
#include <string.h>

#include "codecs/common/byte_sink.h"
#include "codecs/common/codec_report.h"
#include "codecs/common/dib_build.h"
#include "codecs/ico/ico.h"
#include "core/color_ops.h"
#include "core/messages.h"
#include "lumacast_strings.h"
#include "shell/settings/settings.h"
#include "zynlib.h"

/* The work images of one save; each is owned here and freed at the end. */
typedef struct IcoWork {
    HGLOBAL icon;  /* S x S at the type's depth: what is written */
    HGLOBAL alpha; /* S x S 32-bit image the mask comes from, or null */
} IcoWork;

static void free_if(HGLOBAL *h) {
    if (*h) GlobalFree(*h);
    *h = NULL;
}

/* Replaces *current by next (freeing *current unless it is the caller's
   image); 0 when next is null. */
static int advance(HGLOBAL *current, HGLOBAL original, HGLOBAL next) {
    if (!next) return 0;
    if (*current != original) GlobalFree(*current);
    *current = next;
    return 1;
}

static int no_memory(void) { return save_format_error(IDS_FMT_NO_MEMORY_SAVE); }

/* A 32-bit copy in which every pixel whose alpha is below 128 is black;
   the alpha bytes stay. */
static HGLOBAL blackened_copy(const DibParts *src) {
    DibParts d;
    if (!dib_create(src->width, src->height, 32, 0, &d)) return NULL;
    for (LONG y = 0; y < src->height; y++) {
        const BYTE *in = src->bits + (size_t)y * src->stride;
        BYTE *out = d.bits + (size_t)y * d.stride;
        memcpy(out, in, (size_t)src->width * 4);
        for (LONG x = 0; x < src->width; x++)
            if (out[4 * x + 3] < 128) out[4 * x] = out[4 * x + 1] = out[4 * x + 2] = 0;
    }
    HGLOBAL h = d.handle;
    dib_close(&d);
    return h;
}

/* Position of a black entry of a palette image's table, or -1. */
static int black_index(HGLOBAL dib) {
    DibParts d;
    if (!dib_open(dib, &d)) return -1;
    int found = -1;
    DWORD count = d.colors ? (DWORD)ZYN_DIB_NumColors(d.header) : 0;
    for (DWORD i = 0; i < count && found < 0; i++)
        if (!d.colors[i].rgbRed && !d.colors[i].rgbGreen && !d.colors[i].rgbBlue) found = (int)i;
    dib_close(&d);
    return found;
}

/* The size the image takes inside S x S keeping its proportions; never
   below one pixel, however thin the image. */
static void fitted_size(LONG w, LONG h, LONG s, LONG *fw, LONG *fh) {
    if (w > h) {
        *fw = s;
        *fh = (LONG)((int64_t)h * s / w);
    } else {
        *fh = s;
        *fw = (LONG)((int64_t)w * s / h);
    }
    if (*fw < 1) *fw = 1;
    if (*fh < 1) *fh = 1;
}

/* Scales to fit and centres on a black S x S canvas (the odd spare pixel
   goes right and below).  A palette image without black in its table is
   widened to 24 bits first so that the border can be black. */
static int fit_and_center(HGLOBAL *current, HGLOBAL original, LONG s) {
    DibParts d;
    if (!dib_open(*current, &d)) return no_memory();
    LONG w = d.width, h = d.height;
    WORD bpp = d.bpp;
    dib_close(&d);
    LONG fw, fh;
    fitted_size(w, h, s, &fw, &fh);
    int fill = 0;
    if (bpp <= 8 && (fw < s || fh < s) && (fill = black_index(*current)) < 0) {
        if (!advance(current, original, ZYN_DIB_IncreaseBpp(*current, 24))) return 0; /* reported */
        fill = 0;
    }
    if (!advance(current, original, ZYN_DIB_StretchDIB(*current, (int)fw, (int)fh))) return no_memory();
    if (fw == s && fh == s) return 1;
    static const BYTE black[3] = {0, 0, 0};
    int left = (int)(s - fw) / 2, top = (int)(s - fh) / 2;
    HGLOBAL framed = ZYN_DIB_Frame(*current, left, (int)(s - fw) - left, top, (int)(s - fh) - top, fill, black);
    return advance(current, original, framed) || no_memory();
}

static int op_missing(const char *name) {
    lc_message(MSG_ERROR, IDS_COLOR_OP_MISSING, name);
    return 0;
}

/* To the type's depth: a palette image of fewer bits is widened, a deeper
   one reduced as Save As reduces (save_colorcut, save_dither). */
static int to_depth(HGLOBAL *current, HGLOBAL original, WORD bits, int gray) {
    DibParts d;
    if (!dib_open(*current, &d)) return no_memory();
    WORD have = d.bpp;
    dib_close(&d);
    if (have == bits) return 1;
    const ColorOps *ops = color_ops();
    HGLOBAL next;
    int dither = settings_read(SET_SAVE_DITHER) != 0;
    if (have < bits) {
        if (!ops->increase_depth) return op_missing("depth increase");
        next = ops->increase_depth(*current, bits, 255);
    } else if (settings_read(SET_SAVE_COLORCUT) && bits != 1) {
        if (!ops->optimized_cut) return op_missing("optimized cut");
        next = ops->optimized_cut(*current, (DWORD)1 << bits, dither);
    } else {
        if (!ops->flat_cut) return op_missing("flat cut");
        next = ops->flat_cut(*current, bits, gray, dither);
    }
    if (!advance(current, original, next)) return 0; /* reported */
    if (!dib_open(*current, &d)) return no_memory();
    have = d.bpp;
    dib_close(&d);
    return have == bits || save_format_error(IDS_FMT_UNSUPPORTED);
}

/* Steps 2 to 4 of a save: the S x S image at the type's depth, and the
   32-bit image of the mask when one is wanted. */
static int prepare(HGLOBAL dib, unsigned code, int useMask, int gray, IcoWork *work) {
    DibParts d;
    if (!dib_open(dib, &d)) return no_memory();
    if (d.bpp != 1 && d.bpp != 4 && d.bpp != 8 && d.bpp != 24 && d.bpp != 32) {
        dib_close(&d);
        return save_format_error(IDS_FMT_UNSUPPORTED);
    }
    HGLOBAL current = dib;
    int is32 = d.bpp == 32;
    if (is32) current = blackened_copy(&d);
    dib_close(&d);
    if (!current) return no_memory();
    LONG size = (LONG)ico_code_size(code);
    int ok = fit_and_center(&current, dib, size); /* always a new image */
    /* The mask is read from the fitted 32-bit image, which the reduction
       below leaves alone (it always makes a new image from 32 bits). */
    HGLOBAL keep = dib;
    if (ok && is32 && useMask) keep = work->alpha = current;
    ok = ok && to_depth(&current, keep, ico_code_bits(code), gray);
    if (!ok) {
        if (current != dib && current != work->alpha) GlobalFree(current);
        return 0;
    }
    work->icon = current;
    return 1;
}

/* One mask row: bit 1 (transparent) where alpha is below 128. */
static void mask_row(const BYTE *alphaRow, LONG width, BYTE *out, size_t bytes) {
    memset(out, 0, bytes);
    if (!alphaRow) return;
    for (LONG x = 0; x < width; x++)
        if (alphaRow[4 * x + 3] < 128) out[x / 8] |= (BYTE)(0x80 >> (x & 7));
}

static void write_icon(ByteSink *s, const DibParts *icon, const DibParts *alpha) {
    LONG size = icon->width;
    DWORD tableEntries = 1u << icon->bpp;
    size_t maskStride = ((size_t)size + 31) / 32 * 4;
    DWORD imageBytes = icon->stride * (DWORD)size;
    DWORD bytes = (DWORD)sizeof(BITMAPINFOHEADER) + 4 * tableEntries + imageBytes + (DWORD)(maskStride * size);
    sink_u16le(s, 0); /* directory: reserved, type 1, one image */
    sink_u16le(s, 1);
    sink_u16le(s, 1);
    sink_u8(s, (BYTE)size);
    sink_u8(s, (BYTE)size);
    sink_u8(s, (BYTE)(tableEntries == 256 ? 0 : tableEntries));
    sink_u8(s, 0);
    sink_u16le(s, 0); /* planes and bit count are left 0 */
    sink_u16le(s, 0);
    sink_u32le(s, bytes);
    sink_u32le(s, 22);
    BITMAPINFOHEADER h = *icon->header;
    h.biSize = sizeof h;
    h.biHeight = 2 * size;
    h.biCompression = BI_RGB;
    h.biSizeImage = imageBytes;
    h.biClrUsed = h.biClrImportant = 0; /* the full table follows */
    sink_u32le(s, h.biSize);
    sink_u32le(s, (DWORD)h.biWidth);
    sink_u32le(s, (DWORD)h.biHeight);
    sink_u16le(s, 1);
    sink_u16le(s, h.biBitCount);
    sink_u32le(s, h.biCompression);
    sink_u32le(s, h.biSizeImage);
    sink_u32le(s, (DWORD)h.biXPelsPerMeter);
    sink_u32le(s, (DWORD)h.biYPelsPerMeter);
    sink_u32le(s, 0);
    sink_u32le(s, 0);
    DWORD have = (DWORD)ZYN_DIB_NumColors(icon->header);
    for (DWORD i = 0; i < tableEntries; i++) {
        RGBQUAD q = {0, 0, 0, 0};
        if (i < have) q = icon->colors[i];
        q.rgbReserved = 0;
        sink_bytes(s, &q, 4);
    }
    for (LONG y = 0; y < size; y++) {
        sink_bytes(s, icon->bits + (size_t)y * icon->stride, icon->stride);
        codec_row_done();
    }
    BYTE row[8];
    for (LONG y = 0; y < size; y++) {
        mask_row(alpha ? alpha->bits + (size_t)y * alpha->stride : NULL, size, row, maskStride);
        sink_bytes(s, row, maskStride);
    }
}

static int write_file(const char *path, const IcoWork *work) {
    DibParts icon, alpha;
    memset(&alpha, 0, sizeof alpha);
    if (!dib_open(work->icon, &icon)) return no_memory();
    if (work->alpha && !dib_open(work->alpha, &alpha)) {
        dib_close(&icon);
        return no_memory();
    }
    ByteSink *s = (ByteSink *)malloc(sizeof(ByteSink));
    int ok = 0;
    if (!s) {
        no_memory();
    } else if (!sink_open(s, path)) {
        codec_error(IDS_CODEC_OPEN_OUTPUT);
    } else {
        write_icon(s, &icon, work->alpha ? &alpha : NULL);
        int closeFailed = 0;
        ok = sink_finish(s, path, 1, &closeFailed);
        if (!ok) codec_error(IDS_CODEC_WRITE_TO_DISK);
    }
    free(s);
    if (work->alpha) dib_close(&alpha);
    dib_close(&icon);
    return ok;
}

extern "C" int WINAPI IcoSave(LPSTR path, HGLOBAL dib, WORD color, WORD compressed, WORD bpp) {
    (void)compressed;
    (void)bpp; /* the DIB's own depth decides the starting type */
    DibParts d;
    if (!dib_open(dib, &d)) return no_memory();
    LONG width = d.width;
    WORD bits = d.bpp;
    dib_close(&d);
    int useMask = 0;
    int choice = ico_choose_save(width, bits, &useMask);
    if (choice < 0) return 0; /* Cancel: no message */
    IcoWork work = {NULL, NULL};
    int ok = prepare(dib, ico_type_code(choice), useMask, !color, &work) && write_file(path, &work);
    free_if(&work.icon);
    free_if(&work.alpha);
    return ok;
}
