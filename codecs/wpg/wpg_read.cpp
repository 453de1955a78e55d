/* WordPerfect graphics reader: walks the records of a version 1 file up to
   its first bitmap and decodes that one. */
#include <stdlib.h>
#include <string.h>

#include "codecs/common/byte_source.h"
#include "codecs/common/checked.h"
#include "codecs/common/codec_report.h"
#include "codecs/common/dib_build.h"
#include "codecs/ras/raster_input.h"
#include "codecs/wpg/wpg.h"
#include "codecs/wpg/wpg_rle.h"
#include "core/lc_instance.h"
#include "core/load_panel.h"
#include "core/messages.h"
#include "lumacast_strings.h"
#include "zynlib.h"

enum { REC_BITMAP1 = 0x0B, REC_COLORMAP = 0x0E, REC_START = 0x0F, REC_END = 0x10, REC_BITMAP2 = 0x14 };

typedef struct WpgRead {
    RGBQUAD map[256];
    int mapGiven;
    WORD width, height, depth;
    WORD dibDepth;
    size_t rowBytes;
    DibParts dib;
    BYTE *row, *previous;
    int stopped; /* the user stopped the load */
    uint64_t maxImageBytes;
} WpgRead;

/* A record's length: one byte, or after 0xFF a 16-bit word, or when that
   word has its high bit set a 31-bit value in two words. */
static DWORD record_length(ByteSource *s) {
    BYTE b = bs_u8(s);
    if (b != 0xFF) return b;
    WORD w = bs_u16le(s);
    if (!(w & 0x8000)) return w;
    return (DWORD)(w & 0x7FFF) << 16 | bs_u16le(s);
}

static void read_colormap(WpgRead *r, ByteSource *rec) {
    WORD first = bs_u16le(rec);
    WORD count = bs_u16le(rec);
    for (DWORD i = 0; i < count && !rec->overrun; i++) {
        BYTE red = bs_u8(rec), green = bs_u8(rec), blue = bs_u8(rec);
        DWORD slot = (DWORD)first + i;
        if (slot < 256 && !rec->overrun) {
            r->map[slot].rgbRed = red;
            r->map[slot].rgbGreen = green;
            r->map[slot].rgbBlue = blue;
        }
    }
    r->mapGiven = 1;
}

/* The sixteen colours of the standard display, for 4-bit bitmaps without
   a map of their own. */
static const BYTE kStandard16[16][3] = {
    {0, 0, 0}, {0, 0, 170}, {0, 170, 0}, {0, 170, 170}, {170, 0, 0}, {170, 0, 170}, {170, 85, 0}, {170, 170, 170},
    {85, 85, 85}, {85, 85, 255}, {85, 255, 85}, {85, 255, 255}, {255, 85, 85}, {255, 85, 255}, {255, 255, 85},
    {255, 255, 255}};

static void fill_table(WpgRead *r) {
    RGBQUAD *t = r->dib.colors;
    DWORD entries = 1u << r->dibDepth;
    if (r->mapGiven) {
        memcpy(t, r->map, entries * sizeof(RGBQUAD));
        return;
    }
    for (DWORD i = 0; i < entries; i++) {
        BYTE v;
        if (r->depth == 1) v = i ? 255 : 0;
        else if (r->depth == 2) v = (BYTE)(i < 4 ? i * 85 : 0);
        else if (r->depth == 4) {
            t[i].rgbRed = kStandard16[i][0];
            t[i].rgbGreen = kStandard16[i][1];
            t[i].rgbBlue = kStandard16[i][2];
            continue;
        } else v = (BYTE)i;
        t[i].rgbRed = t[i].rgbGreen = t[i].rgbBlue = v;
    }
}

static void fill_load_info(const WpgRead *r) {
    char creator[32];
    loadinfo_set_number(LI_PLANES, 1);
    loadinfo_set_number(LI_GRAY, 0);
    loadinfo_set_number(LI_COMPRESSED, 1);
    loadinfo_set_number(LI_BITS_PER_PIXEL, r->dibDepth);
    loadinfo_set_number(LI_TYPE, 0);
    loadinfo_set_number(LI_VERSION, 1);
    if (LoadStringA(lc_instance(), IDS_CREATOR_IBMPC, creator, (int)sizeof creator) <= 0) creator[0] = '\0';
    loadinfo_set_text(LI_CREATOR, creator);
}

/* A decoded file row into its DIB row; 2-bit pixels widen to 4. */
static int store_row(void *context, const BYTE *row, size_t y) {
    WpgRead *r = (WpgRead *)context;
    BYTE *dst = dib_row_from_top(&r->dib, (LONG)y);
    if (r->depth == 2) {
        for (WORD x = 0; x < r->width; x++) {
            BYTE v = (BYTE)((row[x >> 2] >> (6 - 2 * (x & 3))) & 3);
            dst[x >> 1] |= (BYTE)(x & 1 ? v : v << 4);
        }
    } else {
        memcpy(dst, row, r->rowBytes);
    }
    if ((y & 15) == 15 || y + 1 == r->height) load_panel_step((DWORD)y + 1);
    if (!ZYN_EVT_Background()) r->stopped = 1;
    return !r->stopped;
}

static int decode_bitmap(WpgRead *r, ByteSource *rec) {
    if (r->depth != 1 && r->depth != 2 && r->depth != 4 && r->depth != 8) return load_format_error(IDS_FMT_UNSUPPORTED);
    if (r->width == 0 || r->height == 0) return load_format_error(IDS_FMT_ILLEGAL_OR_UNSUPPORTED);
    r->dibDepth = r->depth == 2 ? 4 : r->depth;
    r->rowBytes = ((size_t)r->width * r->depth + 7) / 8;
    DWORD colors = 1u << r->dibDepth;
    uint64_t blockBytes;
    if (!dib_size_ok(r->width, r->height, r->dibDepth, colors, &blockBytes) || blockBytes > r->maxImageBytes)
        return load_format_error(IDS_FMT_NO_MEMORY_LOAD);
    /* At best one two-byte code per 127 bytes, or a row repeat per 255 rows. */
    if ((uint64_t)r->height / 256 * 2 > bs_remaining(rec)) return load_format_error(IDS_FMT_ERR_DECOMPRESS);
    load_panel_begin_progress(0, r->height);
    fill_load_info(r);
    BITMAPINFOHEADER info;
    if (!MakeDibHeader(&info, r->width, r->height, r->dibDepth, colors) ||
        !dib_create(r->width, r->height, r->dibDepth, colors, &r->dib))
        return load_format_error(IDS_FMT_NO_MEMORY_LOAD);
    fill_table(r);
    r->row = (BYTE *)malloc(r->rowBytes);
    r->previous = (BYTE *)calloc(r->rowBytes, 1);
    if (!r->row || !r->previous) return load_format_error(IDS_FMT_NO_MEMORY_LOAD);
    if (!wpg_rle_decode(rec, r->row, r->previous, r->rowBytes, r->height, store_row, r))
        return r->stopped ? 0 : load_format_error(IDS_FMT_ERR_DECOMPRESS);
    return 1;
}

/* The prefix, then records up to the first bitmap; 0 after reporting. */
static int read_records(WpgRead *r, ByteSource *s) {
    static const BYTE id[4] = {0xFF, 'W', 'P', 'C'};
    const BYTE *prefix = bs_take(s, 16);
    if (!prefix || memcmp(prefix, id, 4) != 0) return load_format_error(IDS_FMT_NOT_LEGAL);
    DWORD dataOffset = (DWORD)prefix[4] | (DWORD)prefix[5] << 8 | (DWORD)prefix[6] << 16 | (DWORD)prefix[7] << 24;
    if (prefix[9] != 0x16) return load_format_error(IDS_FMT_ILLEGAL_OR_UNSUPPORTED);
    if (prefix[10] != 1 || prefix[12] != 0 || prefix[13] != 0) return load_format_error(IDS_FMT_UNSUPPORTED);
    if (dataOffset < 16 || !bs_seek(s, dataOffset)) return load_format_error(IDS_FMT_ILLEGAL_OR_UNSUPPORTED);
    while (bs_remaining(s)) {
        BYTE type = bs_u8(s);
        DWORD length = record_length(s);
        if (s->overrun || length > bs_remaining(s)) return load_format_error(IDS_FMT_ILLEGAL_OR_UNSUPPORTED);
        ByteSource rec;
        bs_init(&rec, s->data + s->pos, length);
        s->pos += length;
        if (type == REC_END) break;
        if (type == REC_COLORMAP) {
            read_colormap(r, &rec);
        } else if (type == REC_BITMAP1 || type == REC_BITMAP2) {
            if (type == REC_BITMAP2) bs_skip(&rec, 10); /* angle and corners */
            r->width = bs_u16le(&rec);
            r->height = bs_u16le(&rec);
            r->depth = bs_u16le(&rec);
            bs_skip(&rec, 4); /* resolutions */
            if (rec.overrun) return load_format_error(IDS_FMT_ILLEGAL_OR_UNSUPPORTED);
            return decode_bitmap(r, &rec);
        }
    }
    return load_format_error(IDS_FMT_NOT_RASTER);
}

extern "C" int WpgDecode(const BYTE *data, size_t size, HGLOBAL *out) {
    return WpgDecodeCapped(data, size, UINT64_MAX, out);
}

extern "C" int WpgDecodeCapped(const BYTE *data, size_t size, uint64_t maxImageBytes, HGLOBAL *out) {
    if (!out) return 0;
    *out = NULL;
    ByteSource s;
    bs_init(&s, data, size);
    WpgRead *r = (WpgRead *)calloc(1, sizeof(WpgRead));
    if (!r) return load_format_error(IDS_FMT_NO_MEMORY_LOAD);
    r->maxImageBytes = maxImageBytes;
    int ok = read_records(r, &s);
    free(r->row);
    free(r->previous);
    ok = dib_finish(&r->dib, ok, out);
    free(r);
    return ok;
}

extern "C" int WINAPI WpgLoad(LPSTR path, HGLOBAL *out) {
    return raster_load_file(path, out, WpgDecode);
}
