/* Sun raster reader.  The file is decoded from memory through a bounded
   byte source; RasLoad only reads the file and hands it over. */
#include <stdlib.h>
#include <string.h>

#include "codecs/common/byte_source.h"
#include "codecs/common/checked.h"
#include "codecs/common/codec_report.h"
#include "codecs/common/dib_build.h"
#include "codecs/ras/raster_input.h"
#include "codecs/ras/ras.h"
#include "codecs/ras/ras_rle.h"
#include "core/batch_state.h"
#include "core/lc_instance.h"
#include "core/load_panel.h"
#include "core/messages.h"
#include "lumacast_strings.h"
#include "zynlib.h"

#define RAS_MAGIC 0x59A66A95u

enum { RT_OLD = 0, RT_STANDARD = 1, RT_BYTE_ENCODED = 2, RT_FORMAT_RGB = 3 };
enum { RMT_NONE = 0, RMT_EQUAL_RGB = 1 };

typedef struct RasHeader {
    DWORD magic, width, height, depth, length, type, mapType, mapLength;
} RasHeader;

typedef struct RasRead {
    RasHeader h;
    int useMap;       /* the colour map gives the table */
    DWORD mapColors;
    WORD dibDepth;
    size_t rowBytes;  /* one file row */
    DibParts dib;
    BYTE *row;        /* one file row, when it cannot go straight to the DIB */
} RasRead;

static void read_header(ByteSource *s, RasHeader *h) {
    h->magic = bs_u32be(s);
    h->width = bs_u32be(s);
    h->height = bs_u32be(s);
    h->depth = bs_u32be(s);
    h->length = bs_u32be(s);
    h->type = bs_u32be(s);
    h->mapType = bs_u32be(s);
    h->mapLength = bs_u32be(s);
}

/* Works out the DIB depth and whether the map is used; 0 after reporting.
   A map on a 16- or 24-bit raster is announced and skipped. */
static int choose_depth(RasRead *r) {
    const RasHeader *h = &r->h;
    int hasMap = h->mapType == RMT_EQUAL_RGB && h->mapLength != 0;
    if (h->type != RT_OLD && h->type != RT_STANDARD && h->type != RT_BYTE_ENCODED && h->type != RT_FORMAT_RGB)
        return load_format_error(IDS_FMT_UNSUPPORTED);
    if (hasMap) {
        r->mapColors = h->mapLength / 3;
        if (h->depth == 1 || h->depth == 8) {
            if (h->mapLength > 3u * (1u << h->depth)) return load_format_error(IDS_FMT_BAD_COLORMAP);
            r->useMap = 1;
            r->dibDepth = (WORD)(r->mapColors == 256 ? 8 : h->depth);
            return 1;
        }
        if (h->depth == 24) {
            codec_error(IDS_RAS_IGNORE_MAP24);
            r->dibDepth = 24;
            return 1;
        }
        /* A 16-bit raster is known only with a full map: it loads as gray. */
        if (h->depth == 16 && r->mapColors == 256) {
            codec_error(IDS_RAS_IGNORE_MAP16);
            r->dibDepth = 8;
            return 1;
        }
        return load_format_error(IDS_FMT_UNSUPPORTED);
    }
    if (h->depth != 1 && h->depth != 8 && h->depth != 24) return load_format_error(IDS_FMT_UNSUPPORTED);
    r->dibDepth = (WORD)h->depth;
    return 1;
}

static void fill_load_info(const RasRead *r) {
    char creator[32];
    loadinfo_set_number(LI_PLANES, 1);
    loadinfo_set_number(LI_GRAY, r->h.depth == 1);
    loadinfo_set_number(LI_COMPRESSED, r->h.type == RT_BYTE_ENCODED);
    loadinfo_set_number(LI_BITS_PER_PIXEL, r->dibDepth);
    loadinfo_set_number(LI_TYPE, 0);
    loadinfo_set_number(LI_VERSION, 1);
    if (LoadStringA(lc_instance(), IDS_CREATOR_SUN, creator, (int)sizeof creator) <= 0) creator[0] = '\0';
    loadinfo_set_text(LI_CREATOR, creator);
}

/* The table: the map (all reds, then greens, then blues), white-on-black
   for a 1-bit raster without one, else a gray ramp. */
static void fill_table(RasRead *r, const BYTE *map) {
    RGBQUAD *t = r->dib.colors;
    DWORD entries = 1u << r->dibDepth;
    if (r->useMap) {
        DWORD n = r->mapColors < entries ? r->mapColors : entries;
        for (DWORD i = 0; i < n; i++) {
            t[i].rgbRed = map[i];
            t[i].rgbGreen = map[r->mapColors + i];
            t[i].rgbBlue = map[2 * r->mapColors + i];
        }
        return;
    }
    if (r->dibDepth == 1) {
        t[0].rgbRed = t[0].rgbGreen = t[0].rgbBlue = 255;
        return;
    }
    for (DWORD i = 0; i < entries; i++) t[i].rgbRed = t[i].rgbGreen = t[i].rgbBlue = (BYTE)i;
}

/* A file row into its DIB row where the two differ: 16-bit pixels (gray
   from their second byte) and 24-bit ones in red-green-blue order. */
static void convert_row(const RasRead *r, const BYTE *src, BYTE *dst) {
    LONG w = r->dib.width;
    if (r->h.depth == 16) {
        for (LONG x = 0; x < w; x++) {
            unsigned v = src[2 * x + 1] * 17u;
            dst[x] = (BYTE)(v > 255 ? 255 : v);
        }
        return;
    }
    for (LONG x = 0; x < w; x++) {
        dst[3 * x] = src[3 * x + 2];
        dst[3 * x + 1] = src[3 * x + 1];
        dst[3 * x + 2] = src[3 * x];
    }
}

/* Otherwise a file row is never longer than its DIB row and goes
   straight in. */
static int needs_conversion(const RasRead *r) {
    return r->h.depth == 16 || (r->h.depth == 24 && r->h.type == RT_FORMAT_RGB);
}

/* The damaged-data question; No discards the image. */
static int keep_suspect_image(void) {
    if (codec_question(IDS_CODEC_POSSIBLE_ERRORS) == IDYES) return 1;
    if (batch_running() && !batch_unattended()) lc_message_text(MSG_ERROR, "");
    return 0;
}

static int read_rows(RasRead *r, ByteSource *s) {
    RasRleState rle = {0, 0};
    int encoded = r->h.type == RT_BYTE_ENCODED;
    LONG height = r->dib.height;
    for (LONG y = 0; y < height; y++) {
        if (!ZYN_EVT_Background()) return 0; /* the user stopped the load */
        BYTE *dst = dib_row_from_top(&r->dib, y);
        BYTE *into = r->row ? r->row : dst;
        int complete = encoded ? ras_rle_decode(&rle, s, into, r->rowBytes) : bs_read(s, into, r->rowBytes);
        if (!complete) return load_format_error(IDS_FMT_INCOMPLETE);
        if (r->row) convert_row(r, r->row, dst);
        if ((y & 15) == 15 || y == height - 1) load_panel_step((DWORD)y + 1);
    }
    if (encoded && rle.left) return keep_suspect_image();
    return 1;
}

/* The fewest bytes that can hold the rows: raw, all of them; encoded, a
   run of 256 bytes at best per 3 bytes.  Checked before the DIB is made,
   so a small file cannot claim a huge image. */
static int data_can_hold_image(const RasRead *r, const ByteSource *s) {
    uint64_t total = (uint64_t)r->rowBytes * r->h.height;
    uint64_t least = r->h.type == RT_BYTE_ENCODED ? (total + 255) / 256 * 3 : total;
    return least <= bs_remaining(s);
}

static int decode_image(RasRead *r, ByteSource *s) {
    const BYTE *map = NULL;
    if (r->h.mapLength) {
        map = bs_take(s, r->h.mapLength);
        if (!map) return load_format_error(IDS_FMT_INCOMPLETE);
    }
    uint64_t rowBits;
    if (!lc_mad_u64(r->h.depth, r->h.width, 15, &rowBits)) return load_format_error(IDS_FMT_NO_MEMORY_LOAD);
    r->rowBytes = (size_t)(rowBits / 16 * 2);
    DWORD colors = r->dibDepth <= 8 ? 1u << r->dibDepth : 0;
    if (!dib_size_ok((LONG)r->h.width, (LONG)r->h.height, r->dibDepth, colors, NULL))
        return load_format_error(IDS_FMT_NO_MEMORY_LOAD);
    if (!data_can_hold_image(r, s)) return load_format_error(IDS_FMT_INCOMPLETE);
    load_panel_begin_progress(0, r->h.height);
    fill_load_info(r);
    BITMAPINFOHEADER info;
    if (!MakeDibHeader(&info, (LONG)r->h.width, (LONG)r->h.height, r->dibDepth, colors) ||
        !dib_create((LONG)r->h.width, (LONG)r->h.height, r->dibDepth, colors, &r->dib))
        return load_format_error(IDS_FMT_NO_MEMORY_LOAD);
    if (colors) fill_table(r, map);
    if (needs_conversion(r) && !(r->row = (BYTE *)malloc(r->rowBytes))) return load_format_error(IDS_FMT_NO_MEMORY_LOAD);
    return read_rows(r, s);
}

extern "C" int RasDecode(const BYTE *data, size_t size, HGLOBAL *out) {
    if (!out) return 0;
    *out = NULL;
    ByteSource s;
    bs_init(&s, data, size);
    RasRead r;
    memset(&r, 0, sizeof r);
    read_header(&s, &r.h);
    if (s.overrun || r.h.magic != RAS_MAGIC) return load_format_error(IDS_FMT_NOT_LEGAL);
    if (r.h.width == 0 || r.h.height == 0 || r.h.width > LC_MAX_DIMENSION || r.h.height > LC_MAX_DIMENSION) {
        /* Checked before the depth, so no message about the map comes first. */
        if (r.h.width == 0 || r.h.height == 0) return load_format_error(IDS_FMT_NOT_LEGAL);
        return load_format_error(IDS_FMT_NO_MEMORY_LOAD);
    }
    if (!choose_depth(&r)) return 0;
    int ok = decode_image(&r, &s);
    free(r.row);
    return dib_finish(&r.dib, ok, out);
}

extern "C" int WINAPI RasLoad(LPSTR path, HGLOBAL *out) {
    return raster_load_file(path, out, RasDecode);
}
