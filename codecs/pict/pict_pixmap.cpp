/* Bitmaps and pixel maps: the record, the colour table and the rows, raw or
   packed (PackBits on bytes, on 16-bit words, or per component plane). */
#include <stdlib.h>
#include <string.h>

#include "codecs/common/checked.h"
#include "codecs/common/codec_report.h"
#include "codecs/pict/pict_internal.h"
#include "core/load_panel.h"
#include "core/messages.h"
#include "lumacast_strings.h"
#include "zynlib.h"

enum { PACK_DEFAULT = 0, PACK_NONE = 1, PACK_WORDS = 3, PACK_PLANES = 4 };

typedef struct PixMap {
    WORD rowBytes;
    int isPixMap;
    short top, left, bottom, right;
    WORD packType, pixelSize, cmpCount;
    RGBQUAD table[256];
    int packing;     /* what the rows really hold, after defaults */
    size_t unpacked; /* bytes of one row once unpacked */
} PixMap;

static int read_rect(PictParse *p, short *top, short *left, short *bottom, short *right) {
    *top = (short)bs_u16be(&p->s);
    *left = (short)bs_u16be(&p->s);
    *bottom = (short)bs_u16be(&p->s);
    *right = (short)bs_u16be(&p->s);
    return pict_data_ok(p);
}

/* rowBytes has been read; the bounds and, for a pixel map, its fields. */
static int read_map_record(PictParse *p, PixMap *m) {
    if (!read_rect(p, &m->top, &m->left, &m->bottom, &m->right)) return 0;
    if (!m->isPixMap) {
        m->pixelSize = 1;
        m->cmpCount = 1;
        m->packType = PACK_DEFAULT;
        return 1;
    }
    bs_skip(&p->s, 2); /* version */
    m->packType = bs_u16be(&p->s);
    bs_skip(&p->s, 4 + 8 + 2); /* packSize, resolutions, pixelType */
    m->pixelSize = bs_u16be(&p->s);
    m->cmpCount = bs_u16be(&p->s);
    bs_skip(&p->s, 2 + 4 + 4 + 4); /* cmpSize, planeBytes, table, reserved */
    return pict_data_ok(p);
}

/* Entries land at their value, or at their position in a device table;
   those no pixel can index are read past. */
static int read_color_table(PictParse *p, PixMap *m) {
    bs_skip(&p->s, 4); /* seed */
    WORD flags = bs_u16be(&p->s);
    unsigned count = (unsigned)bs_u16be(&p->s) + 1;
    if (!pict_data_ok(p)) return 0;
    for (unsigned i = 0; i < count; i++) {
        const BYTE *e = bs_take(&p->s, 8);
        if (!e) return p->s.overrun = 1, pict_data_ok(p);
        unsigned index = flags & 0x8000 ? i : (unsigned)((e[0] << 8) | e[1]);
        if (index >= 256) continue;
        m->table[index].rgbRed = e[2];
        m->table[index].rgbGreen = e[4];
        m->table[index].rgbBlue = e[6];
    }
    return 1;
}

static int skip_region(PictParse *p) {
    WORD size = bs_u16be(&p->s);
    if (!pict_data_ok(p)) return 0;
    if (size < 2) return pict_fail(IDS_PICT_BAD_OPCODE);
    return pict_skip(p, (size_t)size - 2);
}

/* Checks depth, packing and rowBytes; settles what the rows hold.  The
   plain bits opcodes (0x90, 0x91) always store their rows unpacked. */
static int check_pixmap(PixMap *m, LONG width, int unpackedOpcode) {
    WORD size = m->pixelSize;
    int direct = size == 16 || size == 32;
    if (size != 1 && size != 2 && size != 4 && size != 8 && !direct) return pict_fail(IDS_PICT_BAD_DEPTH);
    WORD pack = m->packType;
    if (pack != PACK_DEFAULT && pack != PACK_NONE && pack != PACK_WORDS && pack != PACK_PLANES)
        return pict_fail(IDS_PICT_BAD_PACKING);
    if ((pack == PACK_WORDS && size != 16) || (pack == PACK_PLANES && size != 32))
        return pict_fail(IDS_PICT_BAD_PACKING);
    uint64_t need = ((uint64_t)width * size + 7) / 8;
    if (m->rowBytes < need) return pict_fail(IDS_PICT_BAD_ROWBYTES);
    m->unpacked = m->rowBytes;
    if (m->rowBytes < 8 || pack == PACK_NONE || unpackedOpcode) {
        m->packing = PACK_NONE;
    } else if (size == 16) {
        m->packing = PACK_WORDS;
    } else if (size == 32) {
        if (m->cmpCount != 3 && m->cmpCount != 4) return pict_fail(IDS_PICT_BAD_PACKING);
        m->packing = PACK_PLANES;
        m->unpacked = (size_t)width * m->cmpCount;
    } else {
        m->packing = PACK_DEFAULT;
    }
    return 1;
}

/* PackBits in units of one or two bytes; 1 when the row fills exactly. */
static int unpack_bits(const BYTE *src, size_t n, BYTE *dst, size_t want, size_t unit) {
    size_t in = 0, out = 0;
    while (in < n) {
        BYTE c = src[in++];
        if (c < 128) {
            size_t bytes = ((size_t)c + 1) * unit;
            if (bytes > n - in || bytes > want - out) return 0;
            memcpy(dst + out, src + in, bytes);
            in += bytes;
            out += bytes;
        } else if (c > 128) {
            size_t count = 257 - (size_t)c;
            if (unit > n - in || count * unit > want - out) return 0;
            for (size_t k = 0; k < count; k++, out += unit) memcpy(dst + out, src + in, unit);
            in += unit;
        }
        /* 128 is a no-op. */
    }
    return out == want;
}

/* One row as it is stored after unpacking; 0 after reporting. */
static int read_row(PictParse *p, const PixMap *m, BYTE *buffer, const BYTE **row) {
    if (m->packing == PACK_NONE) {
        *row = bs_take(&p->s, m->rowBytes);
        if (!*row) p->s.overrun = 1;
        return pict_data_ok(p);
    }
    size_t count = m->rowBytes > 250 ? bs_u16be(&p->s) : bs_u8(&p->s);
    const BYTE *packed = bs_take(&p->s, count);
    if (!packed) p->s.overrun = 1;
    if (!pict_data_ok(p)) return 0;
    if (!unpack_bits(packed, count, buffer, m->unpacked, m->packing == PACK_WORDS ? 2 : 1))
        return pict_fail(IDS_PICT_BAD_ROW);
    *row = buffer;
    return 1;
}

static BYTE five_to_eight(unsigned v) { return (BYTE)((v << 3) | (v >> 2)); }

/* A stored row into the DIB row. */
static void convert_row(const PixMap *m, const BYTE *src, BYTE *dst, LONG width) {
    switch (m->pixelSize) {
        case 1: memcpy(dst, src, ((size_t)width + 7) / 8); break;
        case 4: memcpy(dst, src, ((size_t)width + 1) / 2); break;
        case 8: memcpy(dst, src, (size_t)width); break;
        case 2:
            for (LONG x = 0; x < width; x++) {
                unsigned v = (src[x / 4] >> (6 - 2 * (x & 3))) & 3;
                dst[x / 2] |= (BYTE)(v << (x & 1 ? 0 : 4));
            }
            break;
        case 16:
            for (LONG x = 0; x < width; x++) {
                unsigned v = (src[2 * x] << 8) | src[2 * x + 1];
                dst[3 * x] = five_to_eight(v & 0x1F);
                dst[3 * x + 1] = five_to_eight((v >> 5) & 0x1F);
                dst[3 * x + 2] = five_to_eight((v >> 10) & 0x1F);
            }
            break;
        default:
            if (m->packing == PACK_PLANES) {
                const BYTE *red = src + (m->cmpCount == 4 ? width : 0);
                for (LONG x = 0; x < width; x++) {
                    dst[3 * x] = red[2 * (size_t)width + x];
                    dst[3 * x + 1] = red[width + x];
                    dst[3 * x + 2] = red[x];
                }
            } else {
                for (LONG x = 0; x < width; x++) {
                    dst[3 * x] = src[4 * x + 3];
                    dst[3 * x + 1] = src[4 * x + 2];
                    dst[3 * x + 2] = src[4 * x + 1];
                }
            }
    }
}

/* The fewest bytes the rows can take: raw, every byte; packed, a count and
   two bytes for each 128 bytes a run can give at most. */
static int data_can_hold_rows(const PictParse *p, const PixMap *m, LONG height) {
    uint64_t perRow = m->packing == PACK_NONE ? m->rowBytes
                                             : (m->rowBytes > 250 ? 2u : 1u) + (m->unpacked + 255) / 256 * 2;
    uint64_t least;
    return lc_mul_u64(perRow, (uint64_t)height, &least) && least <= bs_remaining(&p->s);
}

static WORD dib_depth(WORD pixelSize) { return pixelSize == 2 ? 4 : pixelSize > 8 ? 24 : pixelSize; }

static void fill_table(const PixMap *m, RGBQUAD *table, DWORD colors) {
    if (!m->isPixMap) {
        table[0].rgbRed = table[0].rgbGreen = table[0].rgbBlue = 255; /* 0 is white, 1 black */
        return;
    }
    memcpy(table, m->table, colors * sizeof(RGBQUAD));
}

static int decode_rows(PictParse *p, const PixMap *m) {
    LONG width = m->right - m->left, height = m->bottom - m->top;
    WORD depth = dib_depth(m->pixelSize);
    DWORD colors = depth <= 8 ? 1u << depth : 0;
    if (!dib_size_ok(width, height, depth, colors, NULL)) return pict_fail(IDS_PICT_NO_MEMORY);
    if (!data_can_hold_rows(p, m, height)) return pict_fail(IDS_PICT_EOF);
    load_panel_begin_progress(0, (DWORD)height);
    loadinfo_set_number(LI_PLANES, 1);
    loadinfo_set_number(LI_GRAY, 0);
    loadinfo_set_number(LI_COMPRESSED, m->packing != PACK_NONE);
    loadinfo_set_number(LI_BITS_PER_PIXEL, m->pixelSize);
    loadinfo_set_number(LI_TYPE, 0);
    loadinfo_set_number(LI_VERSION, (DWORD)p->version);
    BITMAPINFOHEADER info;
    if (!MakeDibHeader(&info, width, height, depth, colors) || !dib_create(width, height, depth, colors, &p->dib))
        return pict_fail(IDS_PICT_NO_MEMORY);
    if (colors) fill_table(m, p->dib.colors, colors);
    BYTE *buffer = (BYTE *)malloc(m->unpacked > m->rowBytes ? m->unpacked : m->rowBytes);
    if (!buffer) return pict_fail(IDS_PICT_NO_MEMORY);
    int ok = 1;
    for (LONG y = 0; ok && y < height; y++) {
        const BYTE *row;
        if (!ZYN_EVT_Background() || !read_row(p, m, buffer, &row)) {
            ok = 0;
            break;
        }
        convert_row(m, row, dib_row_from_top(&p->dib, y), width);
        if ((y & 15) == 15 || y == height - 1) load_panel_step((DWORD)y + 1);
    }
    free(buffer);
    return ok;
}

int pict_read_bits(PictParse *p, unsigned opcode) {
    PixMap *m = (PixMap *)calloc(1, sizeof(PixMap));
    if (!m) return pict_fail(IDS_PICT_NO_MEMORY);
    int direct = opcode == 0x9A || opcode == 0x9B;
    if (direct) bs_skip(&p->s, 4); /* base address */
    WORD rowBytes = bs_u16be(&p->s);
    m->isPixMap = (rowBytes & 0x8000) != 0 || direct;
    m->rowBytes = (WORD)(rowBytes & (p->version == 1 ? 0x7FFF : 0x3FFF));
    int ok = pict_data_ok(p) && read_map_record(p, m);
    if (ok && m->isPixMap && !direct) ok = read_color_table(p, m);
    if (ok) ok = pict_skip(p, 8 + 8 + 2); /* source and destination, mode */
    if (ok && (opcode & 1)) ok = skip_region(p);
    LONG width = (LONG)m->right - m->left, height = (LONG)m->bottom - m->top;
    if (ok && (width <= 0 || height <= 0)) ok = load_format_error(IDS_FMT_BAD_HEADER);
    if (ok) ok = check_pixmap(m, width, opcode == 0x90 || opcode == 0x91) && decode_rows(p, m);
    free(m);
    return ok;
}

/* A pattern: type 1 carries a pixel map of its own, type 2 a dither colour. */
int pict_skip_pixpat(PictParse *p) {
    WORD type = bs_u16be(&p->s);
    if (!pict_data_ok(p) || !pict_skip(p, 8)) return 0;
    if (type == 2) return pict_skip(p, 6);
    if (type != 1) return pict_fail(IDS_PICT_BAD_PATTERN);
    PixMap *m = (PixMap *)calloc(1, sizeof(PixMap));
    if (!m) return pict_fail(IDS_PICT_NO_MEMORY);
    m->rowBytes = (WORD)(bs_u16be(&p->s) & 0x3FFF);
    m->isPixMap = 1;
    int ok = pict_data_ok(p) && read_map_record(p, m) && read_color_table(p, m);
    LONG width = (LONG)m->right - m->left, height = (LONG)m->bottom - m->top;
    if (ok && (width <= 0 || height <= 0)) ok = pict_fail(IDS_PICT_BAD_PATTERN);
    if (ok) ok = check_pixmap(m, width, 0);
    if (ok && !data_can_hold_rows(p, m, height)) ok = pict_fail(IDS_PICT_EOF);
    BYTE *buffer = ok ? (BYTE *)malloc(m->unpacked > m->rowBytes ? m->unpacked : m->rowBytes) : NULL;
    if (ok && !buffer) ok = pict_fail(IDS_PICT_NO_MEMORY);
    for (LONG y = 0; ok && y < height; y++) {
        const BYTE *row;
        ok = read_row(p, m, buffer, &row);
    }
    free(buffer);
    free(m);
    return ok;
}
