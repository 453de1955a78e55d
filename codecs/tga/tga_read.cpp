/* Targa reader.  The file is decoded from memory through a bounded byte
   source; TgaLoad only reads the file and hands it over. */
#include <stdlib.h>
#include <string.h>

#include "codecs/common/byte_source.h"
#include "codecs/common/checked.h"
#include "codecs/common/codec_report.h"
#include "codecs/common/dib_build.h"
#include "codecs/tga/tga.h"
#include "codecs/tga/tga_rle.h"
#include "core/batch_state.h"
#include "core/lc_instance.h"
#include "core/load_panel.h"
#include "core/messages.h"
#include "lumacast_strings.h"
#include "zynlib.h"

enum { TGA_MAPPED = 1, TGA_TRUE_COLOR = 2, TGA_GRAY = 3, TGA_RLE = 8 };

typedef struct TgaHeader {
    BYTE idLength, mapType, imageType;
    WORD mapFirst, mapLength;
    BYTE mapEntryBits;
    WORD width, height;
    BYTE depth, descriptor;
} TgaHeader;

/* The colour map as the pixels index it: entry i at colors[i], for every
   index a pixel of the file's depth can hold. */
typedef struct TgaMap {
    RGBQUAD *colors;
    BYTE *present; /* 1 where the file gave an entry */
    size_t slots;
} TgaMap;

/* Everything the row loop needs. */
typedef struct TgaRead {
    TgaHeader h;
    int base;         /* image type without the run-length bit */
    int rle;
    unsigned pixelBytes;
    TgaMap map;
    DibParts dib;
    BYTE *row;        /* one file row, when it cannot go straight to the DIB */
    int suspect;      /* ended inside a packet, or indexed past the map */
} TgaRead;

static void read_header(ByteSource *s, TgaHeader *h) {
    h->idLength = bs_u8(s);
    h->mapType = bs_u8(s);
    h->imageType = bs_u8(s);
    h->mapFirst = bs_u16le(s);
    h->mapLength = bs_u16le(s);
    h->mapEntryBits = bs_u8(s);
    bs_skip(s, 4); /* x and y origin: the image always starts at 0, 0 */
    h->width = bs_u16le(s);
    h->height = bs_u16le(s);
    h->depth = bs_u8(s);
    h->descriptor = bs_u8(s);
}

static int depth_known(BYTE depth) { return depth == 8 || depth == 15 || depth == 16 || depth == 24 || depth == 32; }

/* The checks in the order the reader makes them; 0 after reporting. */
static int header_acceptable(const TgaHeader *h) {
    int base = h->imageType & ~TGA_RLE;
    if (h->depth == 64) return codec_error(IDS_TGA_NO_64BIT), 0;
    if (h->depth == 8 && h->mapType == 1 && h->mapLength > 256) return codec_error(IDS_TGA_MAP_TOO_BIG), 0;
    if (!depth_known(h->depth)) return load_format_error(IDS_FMT_BAD_HEADER);
    if (base < TGA_MAPPED || base > TGA_GRAY || (h->imageType & ~(TGA_RLE | 3)) != 0)
        return load_format_error(IDS_FMT_BAD_HEADER);
    if (h->width == 0 || h->height == 0) return load_format_error(IDS_FMT_BAD_HEADER);
    int mapped = base == TGA_MAPPED || (base == TGA_GRAY && h->mapType == 1);
    /* Indices are 8 or 16 bits; a map entry is 15, 16, 24 or 32 bits. */
    if (mapped && h->depth != 8 && h->depth != 16) return load_format_error(IDS_FMT_BAD_HEADER);
    if (h->mapType == 1 && h->mapLength != 0 && h->mapEntryBits != 15 && h->mapEntryBits != 16 &&
        h->mapEntryBits != 24 && h->mapEntryBits != 32)
        return load_format_error(IDS_FMT_BAD_HEADER);
    return 1;
}

static void color_from_15bit(WORD w, BYTE *bgr) {
    bgr[0] = (BYTE)((w & 0x1F) * 8);
    bgr[1] = (BYTE)((w & 0x3E0) >> 2);
    bgr[2] = (BYTE)((w & 0x7C00) >> 7);
}

/* Reads the map entries into their slots; entries no pixel can index are
   read past.  0 when the data ends first. */
static int read_map(ByteSource *s, const TgaHeader *h, TgaMap *map) {
    unsigned entryBytes = (h->mapEntryBits + 7u) / 8u;
    for (size_t i = 0; i < h->mapLength; i++) {
        const BYTE *e = bs_take(s, entryBytes);
        if (!e) return 0;
        size_t slot = (size_t)h->mapFirst + i;
        if (slot >= map->slots) continue;
        BYTE bgr[3];
        if (entryBytes == 2)
            color_from_15bit((WORD)(e[0] | (e[1] << 8)), bgr);
        else
            memcpy(bgr, e, 3); /* blue, green, red; a fourth byte is skipped */
        RGBQUAD *q = &map->colors[slot];
        q->rgbBlue = bgr[0];
        q->rgbGreen = bgr[1];
        q->rgbRed = bgr[2];
        map->present[slot] = 1;
    }
    return 1;
}

static WORD dib_depth(const TgaRead *r) {
    if (r->base == TGA_MAPPED) return r->h.depth == 8 || r->h.mapLength <= 256 ? 8 : 24;
    if (r->h.depth == 8) return 8;
    return r->h.depth == 32 ? 32 : 24;
}

static void fill_load_info(const TgaRead *r) {
    char creator[32];
    loadinfo_set_number(LI_PLANES, 1);
    loadinfo_set_number(LI_GRAY, r->base == TGA_GRAY);
    loadinfo_set_number(LI_COMPRESSED, r->rle);
    loadinfo_set_number(LI_BITS_PER_PIXEL, r->h.depth);
    loadinfo_set_number(LI_TYPE, 0);
    loadinfo_set_number(LI_VERSION, 0);
    if (LoadStringA(lc_instance(), IDS_CREATOR_IBMPC, creator, (int)sizeof creator) <= 0) creator[0] = '\0';
    loadinfo_set_text(LI_CREATOR, creator);
}

/* The table of an 8-bit DIB: the map's entries, or a gray ramp. */
static void fill_table(TgaRead *r) {
    RGBQUAD *table = r->dib.colors;
    if (r->base == TGA_MAPPED) {
        memcpy(table, r->map.colors, 256 * sizeof(RGBQUAD));
        return;
    }
    for (int i = 0; i < 256; i++) table[i].rgbBlue = table[i].rgbGreen = table[i].rgbRed = (BYTE)i;
}

/* The DIB row that file row y fills: only a descriptor of exactly 0x20 or
   0x21 stores the top row first. */
static BYTE *dib_row(const TgaRead *r, LONG y) {
    int topFirst = r->h.descriptor == 0x20 || r->h.descriptor == 0x21;
    return topFirst ? dib_row_from_top(&r->dib, y) : r->dib.bits + (size_t)y * r->dib.stride;
}

/* Converts a decoded file row into the DIB row where they differ. */
static void convert_row(TgaRead *r, const BYTE *src, BYTE *dst) {
    LONG w = r->dib.width;
    if (r->base == TGA_MAPPED && r->h.depth == 16) {
        for (LONG x = 0; x < w; x++) {
            size_t index = (size_t)(src[2 * x] | (src[2 * x + 1] << 8));
            int known = index < r->map.slots && r->map.present[index];
            if (!known) r->suspect = 1;
            if (r->dib.bpp == 8) {
                dst[x] = known ? (BYTE)index : 0;
            } else {
                const RGBQUAD *q = known ? &r->map.colors[index] : NULL;
                dst[3 * x] = q ? q->rgbBlue : 0;
                dst[3 * x + 1] = q ? q->rgbGreen : 0;
                dst[3 * x + 2] = q ? q->rgbRed : 0;
            }
        }
        return;
    }
    for (LONG x = 0; x < w; x++) color_from_15bit((WORD)(src[2 * x] | (src[2 * x + 1] << 8)), dst + 3 * x);
}

static void check_indices(TgaRead *r, const BYTE *row) {
    for (LONG x = 0; x < r->dib.width; x++)
        if (!r->map.present[row[x]]) r->suspect = 1;
}

/* Reads and converts every row; 0 after reporting. */
static int read_rows(TgaRead *r, ByteSource *s) {
    TgaRleState rle = {0, 0, {0, 0, 0, 0}};
    size_t pixels = r->dib.width;
    LONG height = r->dib.height;
    for (LONG y = 0; y < height; y++) {
        if (!ZYN_EVT_Background()) return 0; /* the user stopped the load */
        BYTE *dst = dib_row(r, y);
        BYTE *into = r->row ? r->row : dst;
        int complete = r->rle ? tga_rle_decode(&rle, s, into, pixels, r->pixelBytes)
                              : bs_read(s, into, pixels * r->pixelBytes);
        if (!complete) return load_format_error(IDS_FMT_INCOMPLETE);
        if (r->row)
            convert_row(r, r->row, dst);
        else if (r->base == TGA_MAPPED)
            check_indices(r, dst);
        if ((y & 15) == 15 || y == height - 1) load_panel_step((DWORD)y + 1);
    }
    if (rle.left) r->suspect = 1;
    return 1;
}

static int make_map(TgaRead *r) {
    size_t slots = r->h.depth == 8 ? 256 : 65536;
    r->map.colors = (RGBQUAD *)calloc(slots, sizeof(RGBQUAD));
    r->map.present = (BYTE *)calloc(slots, 1);
    r->map.slots = slots;
    return r->map.colors && r->map.present;
}

static void free_read(TgaRead *r) {
    free(r->map.colors);
    free(r->map.present);
    free(r->row);
}

/* The damaged-data question; No discards the image. */
static int keep_suspect_image(void) {
    if (codec_question(IDS_CODEC_POSSIBLE_ERRORS) == IDYES) return 1;
    if (batch_running() && !batch_unattended()) lc_message_text(MSG_ERROR, "");
    return 0;
}

/* The fewest bytes that can hold the pixels: raw, every pixel; coded, one
   packet of 128 pixels at best per 1 + pixel bytes.  Checked before the DIB
   is allocated, so a small file cannot claim a huge image. */
static int data_can_hold_image(const TgaRead *r, const ByteSource *s) {
    uint64_t pixels = (uint64_t)r->h.width * r->h.height;
    uint64_t least = r->rle ? (pixels + 127) / 128 * (1 + r->pixelBytes) : pixels * r->pixelBytes;
    return least <= bs_remaining(s);
}

/* Header checked, map read: builds the DIB and reads the rows. */
static int decode_image(TgaRead *r, ByteSource *s) {
    WORD depth = dib_depth(r);
    DWORD colors = depth == 8 ? 256 : 0;
    if (!dib_size_ok(r->h.width, r->h.height, depth, colors, NULL)) return load_format_error(IDS_FMT_NO_MEMORY_LOAD);
    if (!data_can_hold_image(r, s)) return load_format_error(IDS_FMT_INCOMPLETE);
    load_panel_begin_progress(0, r->h.height);
    fill_load_info(r);
    BITMAPINFOHEADER info;
    if (!MakeDibHeader(&info, r->h.width, r->h.height, depth, colors) ||
        !dib_create(r->h.width, r->h.height, depth, colors, &r->dib))
        return load_format_error(IDS_FMT_NO_MEMORY_LOAD);
    if (colors) fill_table(r);
    if (r->pixelBytes == 2) {
        r->row = (BYTE *)malloc((size_t)r->h.width * 2);
        if (!r->row) return load_format_error(IDS_FMT_NO_MEMORY_LOAD);
    }
    if (!read_rows(r, s)) return 0;
    return !r->suspect || keep_suspect_image();
}

extern "C" int TgaDecode(const BYTE *data, size_t size, HGLOBAL *out) {
    if (!out) return 0;
    *out = NULL;
    ByteSource s;
    bs_init(&s, data, size);
    TgaRead r;
    memset(&r, 0, sizeof r);
    read_header(&s, &r.h);
    if (s.overrun) return load_format_error(IDS_FMT_INCOMPLETE);
    if (!header_acceptable(&r.h)) return 0;
    if (!bs_skip(&s, r.h.idLength)) return load_format_error(IDS_FMT_INCOMPLETE);
    r.rle = (r.h.imageType & TGA_RLE) != 0;
    r.base = r.h.imageType & ~TGA_RLE;
    if (r.base == TGA_GRAY && r.h.mapType == 1) r.base = TGA_MAPPED;
    r.pixelBytes = (r.h.depth + 7u) / 8u;
    int ok = 1;
    if (r.base == TGA_MAPPED && !make_map(&r)) ok = load_format_error(IDS_FMT_OUT_OF_MEMORY);
    if (ok && r.h.mapType == 1 && r.h.mapLength) {
        TgaMap none = {NULL, NULL, 0};
        if (!read_map(&s, &r.h, r.base == TGA_MAPPED ? &r.map : &none)) ok = load_format_error(IDS_FMT_INCOMPLETE);
    }
    if (ok) ok = decode_image(&r, &s);
    free_read(&r);
    return dib_finish(&r.dib, ok, out);
}

extern "C" int WINAPI TgaLoad(LPSTR path, HGLOBAL *out) {
    return codec_load_whole_file(path, out, IDS_FMT_NO_MEMORY_LOAD, TgaDecode);
}
