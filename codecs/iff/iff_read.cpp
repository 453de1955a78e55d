/* IFF ILBM reader.  The chunks are walked once to find the header, the
   colour map, the display mode and the image; then the rows are decoded
   plane row by plane row and combined into the DIB. */
#include <stdlib.h>
#include <string.h>

#include "codecs/common/byte_source.h"
#include "codecs/common/checked.h"
#include "codecs/common/codec_report.h"
#include "codecs/common/dib_build.h"
#include "codecs/iff/iff.h"
#include "codecs/iff/iff_planes.h"
#include "core/lc_instance.h"
#include "core/load_panel.h"
#include "core/messages.h"
#include "lumacast_strings.h"
#include "zynlib.h"

#define IFF_ID(a, b, c, d) (((DWORD)(a) << 24) | ((DWORD)(b) << 16) | ((DWORD)(c) << 8) | (DWORD)(d))

enum { CAMG_EHB = 0x80, CAMG_HAM = 0x800 };
enum { MASK_PLANE = 1 };
enum IffLayout { LAYOUT_INDEXED, LAYOUT_GRAY, LAYOUT_HAM, LAYOUT_DEEP };

typedef struct IffHeader {
    WORD width, height;
    BYTE planes, masking, compression;
} IffHeader;

/* What the chunk walk found. */
typedef struct IffChunks {
    IffHeader h;
    int haveHeader;
    RGBQUAD cmap[256];
    size_t cmapCount;
    int haveCmap;
    DWORD camg;
    BYTE dcol[3]; /* bits of red, green and blue of a direct-colour image */
    int haveDcol;
    size_t imagePos; /* BODY or ABIT data */
    int haveBody, haveAbit;
} IffChunks;

typedef struct IffRead {
    IffChunks c;
    int layout;
    size_t rowBytes;        /* one plane row */
    unsigned planesPerRow;  /* colour planes and the mask plane */
    BYTE level[256];        /* component value of a gray or HAM datum */
    unsigned deepBits[3];   /* planes of red, green and blue */
    BYTE deepLevel[3][256];
    DibParts dib;
    BYTE *planeRows;        /* unpacked plane rows of one row */
    BYTE *values;           /* 3 x rowBytes x 8 pixel values */
} IffRead;

static int read_bmhd(ByteSource *s, IffHeader *h) {
    h->width = bs_u16be(s);
    h->height = bs_u16be(s);
    bs_skip(s, 4); /* position */
    h->planes = bs_u8(s);
    h->masking = bs_u8(s);
    h->compression = bs_u8(s);
    return !s->overrun;
}

static void read_cmap(ByteSource *s, size_t length, IffChunks *c) {
    size_t entries = length / 3;
    c->cmapCount = entries < 256 ? entries : 256;
    for (size_t i = 0; i < c->cmapCount; i++) {
        c->cmap[i].rgbRed = bs_u8(s);
        c->cmap[i].rgbGreen = bs_u8(s);
        c->cmap[i].rgbBlue = bs_u8(s);
        c->cmap[i].rgbReserved = 0;
    }
    c->haveCmap = 1;
}

/* Walks the chunks after the form type up to the form's end (or the data's
   end when the form claims more); stops at the image.  0 after reporting. */
static int walk_chunks(ByteSource *s, DWORD formLength, IffChunks *c) {
    uint64_t end = (uint64_t)formLength + 8;
    if (end > s->size) end = s->size;
    uint64_t pos = 12;
    while (pos + 8 <= end && !c->haveBody && !c->haveAbit) {
        bs_seek(s, (size_t)pos);
        DWORD id = bs_u32be(s);
        DWORD length = bs_u32be(s);
        uint64_t dataPos = pos + 8;
        uint64_t avail = end - dataPos < length ? end - dataPos : length;
        ByteSource chunk;
        bs_init(&chunk, s->data + dataPos, (size_t)avail);
        switch (id) {
            case IFF_ID('B', 'M', 'H', 'D'):
                if (!read_bmhd(&chunk, &c->h)) return load_format_error(IDS_FMT_INCOMPLETE);
                c->haveHeader = 1;
                break;
            case IFF_ID('C', 'M', 'A', 'P'):
                if (avail < length) return load_format_error(IDS_FMT_INCOMPLETE);
                read_cmap(&chunk, length, c);
                break;
            case IFF_ID('C', 'A', 'M', 'G'):
                c->camg = bs_u32be(&chunk);
                if (chunk.overrun) return load_format_error(IDS_FMT_INCOMPLETE);
                break;
            case IFF_ID('D', 'C', 'O', 'L'):
                bs_read(&chunk, c->dcol, 3);
                if (chunk.overrun) return load_format_error(IDS_FMT_INCOMPLETE);
                c->haveDcol = 1;
                break;
            case IFF_ID('B', 'O', 'D', 'Y'):
                c->imagePos = (size_t)dataPos;
                c->haveBody = 1;
                break;
            case IFF_ID('A', 'B', 'I', 'T'):
                c->imagePos = (size_t)dataPos;
                c->haveAbit = 1;
                break;
            default:
                break; /* GRAB, CRNG, DPPS, TEXT and the rest */
        }
        pos = dataPos + length + (length & 1);
    }
    return 1;
}

/* The form and its type; 0 after reporting. */
static int check_form(ByteSource *s, DWORD *formLength) {
    DWORD form = bs_u32be(s);
    *formLength = bs_u32be(s);
    DWORD type = bs_u32be(s);
    if (form != IFF_ID('F', 'O', 'R', 'M')) return load_format_error(IDS_FMT_UNKNOWN_FORMAT);
    if (s->overrun) return load_format_error(IDS_FMT_INCOMPLETE);
    if (type == IFF_ID('A', 'C', 'B', 'M')) return codec_error(IDS_IFF_ACBM), 0;
    if (type != IFF_ID('I', 'L', 'B', 'M')) return load_format_error(IDS_FMT_UNKNOWN_SUBFORMAT);
    return 1;
}

/* 24 planes of 8 bits each, or the components a DCOL chunk gives. */
static int is_direct_color(const IffChunks *c) {
    if (!c->haveDcol) return c->h.planes == 24;
    unsigned sum = 0;
    for (int i = 0; i < 3; i++) {
        if (c->dcol[i] == 0 || c->dcol[i] > 8) return 0;
        sum += c->dcol[i];
    }
    return sum == c->h.planes;
}

/* Chooses how pixels are built and checks the header; 0 after reporting. */
static int choose_layout(IffRead *r) {
    const IffHeader *h = &r->c.h;
    if (!r->c.haveBody && !r->c.haveAbit) return codec_error(IDS_IFF_NO_IMAGE), 0;
    if (!r->c.haveHeader || h->width == 0 || h->height == 0 || h->planes == 0)
        return load_format_error(IDS_FMT_BAD_HEADER);
    if (h->compression > 1) return load_format_error(IDS_FMT_UNKNOWN_COMPRESSION);
    if (is_direct_color(&r->c))
        r->layout = LAYOUT_DEEP;
    else if (h->planes > 8)
        return load_format_error(IDS_FMT_UNSUPPORTED);
    else if (r->c.camg & CAMG_HAM)
        r->layout = LAYOUT_HAM;
    else
        r->layout = r->c.haveCmap ? LAYOUT_INDEXED : LAYOUT_GRAY;
    if (r->layout == LAYOUT_HAM && h->planes != 6 && h->planes != 8) return load_format_error(IDS_FMT_UNSUPPORTED);
    r->rowBytes = ((size_t)h->width + 15) / 16 * 2;
    r->planesPerRow = h->planes + (h->masking == MASK_PLANE && !r->c.haveAbit ? 1u : 0u);
    return 1;
}

/* Colour map and level tables by display mode. */
static void set_up_colors(IffRead *r) {
    IffChunks *c = &r->c;
    unsigned planes = c->h.planes;
    if (r->layout == LAYOUT_HAM) {
        unsigned dataBits = planes - 2, shift = 10 - planes;
        for (size_t i = 0; i < c->cmapCount; i++) {
            c->cmap[i].rgbRed >>= shift;
            c->cmap[i].rgbGreen >>= shift;
            c->cmap[i].rgbBlue >>= shift;
        }
        /* Four data bits are scaled by 16; six bits do not fit that, so
           their top bits are repeated below them (63 gives 255). */
        for (unsigned v = 0; v < (1u << dataBits); v++)
            r->level[v] = (BYTE)(dataBits == 4 ? v * 16 : (v << 2) | (v >> 4));
    } else if (r->layout == LAYOUT_DEEP) {
        for (int i = 0; i < 3; i++) {
            unsigned bits = c->haveDcol ? c->dcol[i] : 8, top = (1u << bits) - 1;
            r->deepBits[i] = bits;
            for (unsigned v = 0; v <= top; v++) r->deepLevel[i][v] = (BYTE)(v * 255 / top);
        }
    } else if (r->layout == LAYOUT_GRAY) {
        unsigned top = (1u << planes) - 1;
        for (unsigned v = 0; v <= top; v++) r->level[v] = (BYTE)(v * 255 / top);
    } else if (r->layout == LAYOUT_INDEXED && (c->camg & CAMG_EHB)) {
        size_t half = (size_t)1 << (planes > 1 ? planes - 1 : 0);
        size_t n = c->cmapCount < half ? c->cmapCount : half;
        for (size_t i = 0; i < n; i++) {
            c->cmap[n + i].rgbRed = c->cmap[i].rgbRed >> 1;
            c->cmap[n + i].rgbGreen = c->cmap[i].rgbGreen >> 1;
            c->cmap[n + i].rgbBlue = c->cmap[i].rgbBlue >> 1;
            c->cmap[n + i].rgbReserved = 0;
        }
        c->cmapCount = 2 * n;
    }
}

/* Table entries of an 8-bit DIB: the map, widened to every index the
   planes can form so that no pixel points past the table. */
static DWORD table_size(const IffRead *r) {
    if (r->layout != LAYOUT_INDEXED) return 0;
    size_t reach = (size_t)1 << r->c.h.planes;
    size_t n = r->c.cmapCount > reach ? r->c.cmapCount : reach;
    return (DWORD)(n > 256 ? 256 : n);
}

/* The fewest bytes that can hold the image, checked before the DIB is
   allocated so that a small file cannot claim a huge image. */
static int data_can_hold_image(const IffRead *r, size_t available) {
    uint64_t perPlaneRow =
        r->c.h.compression && !r->c.haveAbit ? (r->rowBytes + 127) / 128 * 2 : r->rowBytes;
    uint64_t least;
    if (!lc_mul_u64((uint64_t)r->c.h.height * r->planesPerRow, perPlaneRow, &least)) return 0;
    return least <= available;
}

static void fill_load_info(const IffRead *r) {
    char creator[32];
    loadinfo_set_number(LI_PLANES, 1);
    loadinfo_set_number(LI_GRAY, 0);
    loadinfo_set_number(LI_COMPRESSED, 1);
    loadinfo_set_number(LI_BITS_PER_PIXEL, r->dib.bpp);
    loadinfo_set_number(LI_TYPE, 0);
    loadinfo_set_number(LI_VERSION, 1);
    if (LoadStringA(lc_instance(), IDS_CREATOR_AMIGA, creator, (int)sizeof creator) <= 0) creator[0] = '\0';
    loadinfo_set_text(LI_CREATOR, creator);
}

/* Builds one DIB row from the row's plane rows. */
static void combine_row(IffRead *r, const BYTE *const *planes, BYTE *dst) {
    size_t w = r->c.h.width, rb = r->rowBytes;
    BYTE *v = r->values;
    switch (r->layout) {
        case LAYOUT_INDEXED:
            iff_planes_to_values(planes, r->c.h.planes, rb, v);
            memcpy(dst, v, w);
            break;
        case LAYOUT_GRAY:
            iff_planes_to_values(planes, r->c.h.planes, rb, v);
            for (size_t x = 0; x < w; x++) dst[3 * x] = dst[3 * x + 1] = dst[3 * x + 2] = r->level[v[x]];
            break;
        case LAYOUT_HAM: {
            iff_planes_to_values(planes, r->c.h.planes, rb, v);
            unsigned dataBits = r->c.h.planes - 2u, mask = (1u << dataBits) - 1;
            BYTE red = 0, green = 0, blue = 0; /* every row starts from black */
            for (size_t x = 0; x < w; x++) {
                unsigned data = v[x] & mask;
                switch ((v[x] >> dataBits) & 3) {
                    case 0:
                        if (r->c.haveCmap && data < r->c.cmapCount) {
                            red = r->c.cmap[data].rgbRed;
                            green = r->c.cmap[data].rgbGreen;
                            blue = r->c.cmap[data].rgbBlue;
                        } else {
                            red = green = blue = (BYTE)data;
                        }
                        break;
                    case 1: blue = (BYTE)data; break;
                    case 2: red = (BYTE)data; break;
                    default: green = (BYTE)data; break;
                }
                dst[3 * x] = r->level[blue];
                dst[3 * x + 1] = r->level[green];
                dst[3 * x + 2] = r->level[red];
            }
            break;
        }
        default: {
            BYTE *red = v, *green = v + 8 * rb, *blue = v + 16 * rb;
            const unsigned *bits = r->deepBits;
            iff_planes_to_values(planes, (int)bits[0], rb, red);
            iff_planes_to_values(planes + bits[0], (int)bits[1], rb, green);
            iff_planes_to_values(planes + bits[0] + bits[1], (int)bits[2], rb, blue);
            if (bits[0] == 8 && bits[1] == 8 && bits[2] == 8) {
                for (size_t x = 0; x < w; x++) {
                    dst[3 * x] = blue[x];
                    dst[3 * x + 1] = green[x];
                    dst[3 * x + 2] = red[x];
                }
            } else {
                for (size_t x = 0; x < w; x++) {
                    dst[3 * x] = r->deepLevel[2][blue[x]];
                    dst[3 * x + 1] = r->deepLevel[1][green[x]];
                    dst[3 * x + 2] = r->deepLevel[0][red[x]];
                }
            }
        }
    }
}

/* Fetches the plane rows of row y into planes[]; 0 after reporting. */
static int fetch_planes(IffRead *r, ByteSource *s, LONG y, const BYTE **planes) {
    size_t rb = r->rowBytes;
    for (unsigned p = 0; p < r->planesPerRow; p++) {
        if (r->c.haveAbit) {
            /* Contiguous planes: plane p holds its rows top first. */
            planes[p] = s->data + r->c.imagePos + ((size_t)p * r->c.h.height + (size_t)y) * rb;
        } else if (r->c.h.compression == 0) {
            planes[p] = bs_take(s, rb);
            if (!planes[p]) return load_format_error(IDS_FMT_INCOMPLETE);
        } else {
            BYTE *into = r->planeRows + (size_t)p * rb;
            int result = iff_unpack_row(s, into, rb);
            if (result == IFF_ROW_SHORT) return load_format_error(IDS_FMT_INCOMPLETE);
            if (result == IFF_ROW_OVERRUN) return load_format_error(IDS_FMT_ERR_DECOMPRESS);
            planes[p] = into;
        }
    }
    return 1;
}

static int read_rows(IffRead *r, ByteSource *s) {
    const BYTE *planes[25];
    LONG height = r->dib.height;
    for (LONG y = 0; y < height; y++) {
        if (!ZYN_EVT_Background()) return 0; /* the user stopped the load */
        if (!fetch_planes(r, s, y, planes)) return 0;
        combine_row(r, planes, dib_row_from_top(&r->dib, y));
        if ((y & 15) == 15 || y == height - 1) load_panel_step((DWORD)y + 1);
    }
    return 1;
}

static int decode_image(IffRead *r, ByteSource *s) {
    if (!choose_layout(r)) return 0;
    set_up_colors(r);
    WORD depth = r->layout == LAYOUT_INDEXED ? 8 : 24;
    DWORD colors = table_size(r);
    LONG w = r->c.h.width, h = r->c.h.height;
    if (!dib_size_ok(w, h, depth, colors, NULL)) return load_format_error(IDS_FMT_NO_MEMORY_LOAD);
    if (!data_can_hold_image(r, s->size - r->c.imagePos)) return load_format_error(IDS_FMT_INCOMPLETE);
    bs_seek(s, r->c.imagePos);
    load_panel_begin_progress(0, (DWORD)h);
    BITMAPINFOHEADER info;
    if (!MakeDibHeader(&info, w, h, depth, colors) || !dib_create(w, h, depth, colors, &r->dib))
        return load_format_error(IDS_FMT_NO_MEMORY_LOAD);
    fill_load_info(r);
    if (colors) memcpy(r->dib.colors, r->c.cmap, colors * sizeof(RGBQUAD));
    r->planeRows = (BYTE *)malloc(r->rowBytes * r->planesPerRow);
    r->values = (BYTE *)malloc(r->rowBytes * 8 * 3);
    if (!r->planeRows || !r->values) return load_format_error(IDS_FMT_NO_MEMORY_LOAD);
    return read_rows(r, s);
}

extern "C" int IffDecode(const BYTE *data, size_t size, HGLOBAL *out) {
    if (!out) return 0;
    *out = NULL;
    ByteSource s;
    bs_init(&s, data, size);
    IffRead *r = (IffRead *)calloc(1, sizeof(IffRead));
    if (!r) return load_format_error(IDS_FMT_NO_MEMORY_LOAD);
    DWORD formLength;
    int ok = check_form(&s, &formLength) && walk_chunks(&s, formLength, &r->c) && decode_image(r, &s);
    free(r->planeRows);
    free(r->values);
    ok = dib_finish(&r->dib, ok, out);
    free(r);
    return ok;
}

extern "C" int WINAPI IffLoad(LPSTR path, HGLOBAL *out) {
    return codec_load_whole_file(path, out, IDS_FMT_NO_MEMORY_LOAD, IffDecode);
}
