/* SGI image reader.  The file is decoded from memory; every offset of a
   run-length table is checked against the file before it is used. */
#include <stdlib.h>
#include <string.h>

#include "codecs/common/byte_source.h"
#include "codecs/common/checked.h"
#include "codecs/common/codec_report.h"
#include "codecs/common/dib_build.h"
#include "codecs/ras/raster_input.h"
#include "codecs/sgi/sgi.h"
#include "codecs/sgi/sgi_rle.h"
#include "core/lc_instance.h"
#include "core/load_panel.h"
#include "core/messages.h"
#include "lumacast_strings.h"
#include "zynlib.h"

#define SGI_MAGIC 474
#define SGI_HEADER_BYTES 512

enum { CMAP_NORMAL = 0, CMAP_DITHERED = 1, CMAP_SCREEN = 2 };

typedef struct SgiHeader {
    WORD magic;
    BYTE storage, bpc;
    WORD dimension, xsize, ysize, zsize;
    DWORD colormap;
} SgiHeader;

typedef struct SgiRead {
    SgiHeader h;
    unsigned channels; /* channels read: 1 (gray), 3 (RGB) or 4 (RGBA) */
    WORD dibDepth;
    DibParts dib;
    BYTE *planes;      /* one row of each channel read, 8-bit samples */
} SgiRead;

static void read_header(ByteSource *s, SgiHeader *h) {
    h->magic = bs_u16be(s);
    h->storage = bs_u8(s);
    h->bpc = bs_u8(s);
    h->dimension = bs_u16be(s);
    h->xsize = bs_u16be(s);
    h->ysize = bs_u16be(s);
    h->zsize = bs_u16be(s);
    bs_skip(s, 4 + 4 + 4 + 80); /* pixmin, pixmax, dummy, image name */
    h->colormap = bs_u32be(s);
}

/* The checks in order; 0 after reporting. */
static int header_acceptable(SgiRead *r) {
    SgiHeader *h = &r->h;
    if (h->storage > 1 || (h->bpc != 1 && h->bpc != 2) || h->dimension < 1 || h->dimension > 3 || h->xsize == 0)
        return load_format_error(IDS_FMT_NOT_LEGAL_FORMAT);
    if (h->dimension == 1) h->ysize = 1;
    if (h->dimension < 3) h->zsize = 1;
    if (h->ysize == 0 || h->zsize == 0) return load_format_error(IDS_FMT_NOT_LEGAL_FORMAT);
    if (h->colormap == CMAP_DITHERED && (h->zsize != 1 || h->bpc != 1))
        return load_format_error(IDS_FMT_UNRECOGNIZED);
    if (h->colormap != CMAP_NORMAL && h->colormap != CMAP_DITHERED && h->colormap != CMAP_SCREEN)
        return load_format_error(IDS_FMT_UNRECOGNIZED);
    r->channels = h->zsize >= 4 ? 4 : h->zsize >= 3 ? 3 : 1;
    r->dibDepth = (WORD)(r->channels == 4 ? 32 : r->channels == 3 ? 24 : 8);
    return 1;
}

static void fill_load_info(const SgiRead *r) {
    char creator[32];
    loadinfo_set_number(LI_PLANES, r->h.zsize);
    loadinfo_set_number(LI_GRAY, r->channels == 1 && r->h.colormap != CMAP_DITHERED);
    loadinfo_set_number(LI_COMPRESSED, r->h.storage);
    loadinfo_set_number(LI_BITS_PER_PIXEL, r->dibDepth);
    loadinfo_set_number(LI_TYPE, 0);
    loadinfo_set_number(LI_VERSION, 1);
    if (LoadStringA(lc_instance(), IDS_CREATOR_IRIS, creator, (int)sizeof creator) <= 0) creator[0] = '\0';
    loadinfo_set_text(LI_CREATOR, creator);
}

/* Gray ramp, or for dithered images red in the low three bits, green in
   the next three and blue in the top two. */
static void fill_table(SgiRead *r) {
    RGBQUAD *t = r->dib.colors;
    for (unsigned i = 0; i < 256; i++) {
        if (r->h.colormap == CMAP_DITHERED) {
            t[i].rgbRed = (BYTE)((i & 7) * 255 / 7);
            t[i].rgbGreen = (BYTE)(((i >> 3) & 7) * 255 / 7);
            t[i].rgbBlue = (BYTE)((i >> 6) * 255 / 3);
        } else {
            t[i].rgbRed = t[i].rgbGreen = t[i].rgbBlue = (BYTE)i;
        }
    }
}

/* The channel rows of DIB row y (row 0 at the bottom, as in the file)
   into the DIB's pixel order. */
static void interleave(const SgiRead *r, LONG y) {
    BYTE *dst = r->dib.bits + (size_t)y * r->dib.stride;
    size_t w = r->h.xsize;
    const BYTE *p = r->planes;
    if (r->channels == 1) {
        memcpy(dst, p, w);
        return;
    }
    unsigned step = r->channels;
    for (size_t x = 0; x < w; x++, dst += step) {
        dst[0] = p[2 * w + x];
        dst[1] = p[w + x];
        dst[2] = p[x];
        if (step == 4) dst[3] = p[3 * w + x];
    }
}

static void step_progress(LONG y, LONG height) {
    if ((y & 15) == 15 || y == height - 1) load_panel_step((DWORD)y + 1);
}

static int read_verbatim(SgiRead *r, const BYTE *data, size_t size) {
    size_t w = r->h.xsize, rowBytes = w * r->h.bpc;
    uint64_t need;
    if (!lc_mad_u64((uint64_t)rowBytes * r->h.ysize, r->channels, SGI_HEADER_BYTES, &need) || need > size)
        return load_format_error(IDS_FMT_INCOMPLETE);
    size_t planeBytes = rowBytes * r->h.ysize;
    for (LONG y = 0; y < (LONG)r->h.ysize; y++) {
        if (!ZYN_EVT_Background()) return 0;
        for (unsigned c = 0; c < r->channels; c++) {
            const BYTE *src = data + SGI_HEADER_BYTES + c * planeBytes + (size_t)y * rowBytes;
            BYTE *dst = r->planes + c * w;
            if (r->h.bpc == 1) {
                memcpy(dst, src, w);
            } else {
                for (size_t x = 0; x < w; x++) {
                    unsigned v = (unsigned)(src[2 * x] << 8 | src[2 * x + 1]);
                    dst[x] = (BYTE)((v * 255u + 32767u) / 65535u);
                }
            }
        }
        interleave(r, y);
        step_progress(y, r->h.ysize);
    }
    return 1;
}

static DWORD u32be_at(const BYTE *p) { return (DWORD)p[0] << 24 | (DWORD)p[1] << 16 | (DWORD)p[2] << 8 | p[3]; }

/* The tables follow the header: ysize x zsize start offsets, then as many
   lengths; entry y + c * ysize belongs to row y of channel c.  Rows are
   decoded from their start up to the end of the file, so a wrong length
   cannot lead outside it. */
static int read_rle(SgiRead *r, const BYTE *data, size_t size) {
    uint64_t entries = (uint64_t)r->h.ysize * r->h.zsize, tableEnd;
    if (!lc_mad_u64(entries, 8, SGI_HEADER_BYTES, &tableEnd) || tableEnd > size)
        return load_format_error(IDS_FMT_INCOMPLETE);
    const BYTE *starts = data + SGI_HEADER_BYTES;
    size_t w = r->h.xsize;
    for (LONG y = 0; y < (LONG)r->h.ysize; y++) {
        if (!ZYN_EVT_Background()) return 0;
        for (unsigned c = 0; c < r->channels; c++) {
            DWORD start = u32be_at(starts + 4 * ((size_t)c * r->h.ysize + (size_t)y));
            if (start < SGI_HEADER_BYTES || start >= size ||
                !sgi_rle_decode_row(data + start, size - start, r->h.bpc, r->planes + c * w, w))
                return load_format_error(IDS_FMT_DAMAGED);
        }
        interleave(r, y);
        step_progress(y, r->h.ysize);
    }
    return 1;
}

static int decode_image(SgiRead *r, const BYTE *data, size_t size) {
    DWORD colors = r->dibDepth == 8 ? 256 : 0;
    if (!dib_size_ok(r->h.xsize, r->h.ysize, r->dibDepth, colors, NULL)) return load_format_error(IDS_FMT_NO_MEMORY_LOAD);
    /* The least a file of this size can hold: two bytes a channel row. */
    if ((uint64_t)r->h.ysize * r->channels * 2 > size) return load_format_error(IDS_FMT_INCOMPLETE);
    load_panel_begin_progress(0, r->h.ysize);
    fill_load_info(r);
    BITMAPINFOHEADER info;
    if (!MakeDibHeader(&info, r->h.xsize, r->h.ysize, r->dibDepth, colors) ||
        !dib_create(r->h.xsize, r->h.ysize, r->dibDepth, colors, &r->dib))
        return load_format_error(IDS_FMT_NO_MEMORY_LOAD);
    if (colors) fill_table(r);
    r->planes = (BYTE *)malloc((size_t)r->h.xsize * r->channels);
    if (!r->planes) return load_format_error(IDS_FMT_NO_MEMORY_LOAD);
    return r->h.storage ? read_rle(r, data, size) : read_verbatim(r, data, size);
}

extern "C" int SgiDecode(const BYTE *data, size_t size, HGLOBAL *out) {
    if (!out) return 0;
    *out = NULL;
    ByteSource s;
    bs_init(&s, data, size);
    SgiRead r;
    memset(&r, 0, sizeof r);
    read_header(&s, &r.h);
    if (size < 2 || r.h.magic != SGI_MAGIC) return load_format_error(IDS_FMT_NOT_LEGAL);
    if (size < SGI_HEADER_BYTES) return load_format_error(IDS_FMT_INCOMPLETE);
    if (!header_acceptable(&r)) return 0;
    int ok = decode_image(&r, data, size);
    free(r.planes);
    return dib_finish(&r.dib, ok, out);
}

extern "C" int WINAPI SgiLoad(LPSTR path, HGLOBAL *out) {
    return raster_load_file(path, out, SgiDecode);
}
