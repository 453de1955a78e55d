/* PCX reader: the 128-byte header, the color table by version and depth,
   then one run-length coded scan line per row, converted by plane layout
   into a 1-, 4-, 8- or 24-bit DIB. */
#include <stdlib.h>
#include <string.h>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include "codecs/common/byte_source.h"
#include "codecs/common/checked.h"
#include "codecs/common/codec_report.h"
#include "codecs/common/dib_build.h"
#include "codecs/pcx/pcx.h"
#include "codecs/pcx/pcx_rle.h"
#include "core/batch_state.h"
#include "core/lc_instance.h"
#include "core/load_panel.h"
#include "core/messages.h"
#include "lumacast_strings.h"
#include "zynlib.h"

namespace {

const size_t PALETTE_256_BYTES = 769; /* 0x0C and 256 triplets */

struct PcxHeader {
    BYTE manufacturer, version, encoding, bitsPerPlane;
    WORD xmin, ymin, xmax, ymax;
    BYTE palette[48];
    BYTE planes;
    WORD bytesPerLine;
};

int read_header(ByteSource *s, PcxHeader *h) {
    h->manufacturer = bs_u8(s);
    h->version = bs_u8(s);
    h->encoding = bs_u8(s);
    h->bitsPerPlane = bs_u8(s);
    h->xmin = bs_u16le(s);
    h->ymin = bs_u16le(s);
    h->xmax = bs_u16le(s);
    h->ymax = bs_u16le(s);
    bs_skip(s, 4); /* resolutions */
    bs_read(s, h->palette, sizeof h->palette);
    bs_skip(s, 1); /* reserved */
    h->planes = bs_u8(s);
    h->bytesPerLine = bs_u16le(s);
    bs_skip(s, 60); /* palette information, filler */
    return !s->overrun;
}

/* The layouts whose lines can be converted; one plane of another depth
   gives empty rows, as the format's old readers did. */
int layout_known(const PcxHeader *h) {
    if (h->planes == 1) return 1;
    return (h->planes == 4 && h->bitsPerPlane == 1) || (h->planes == 3 && h->bitsPerPlane == 8);
}

/* 1 -> 1; 2 to 4 -> 4; 5 to 8 -> 8; 9 to 24 -> 24; 0 for anything else. */
WORD dib_depth(unsigned bitsTotal) {
    if (bitsTotal == 1) return 1;
    if (bitsTotal >= 2 && bitsTotal <= 4) return 4;
    if (bitsTotal >= 5 && bitsTotal <= 8) return 8;
    if (bitsTotal >= 9 && bitsTotal <= 24) return 24;
    return 0;
}

void gray_ramp(RGBQUAD *table, unsigned entries, unsigned step) {
    for (unsigned i = 0; i < entries; i++) {
        BYTE v = (BYTE)(i * step);
        table[i].rgbRed = table[i].rgbGreen = table[i].rgbBlue = v;
        table[i].rgbReserved = 0;
    }
}

void triplets(RGBQUAD *table, const BYTE *rgb, unsigned entries) {
    for (unsigned i = 0; i < entries; i++, rgb += 3) {
        table[i].rgbRed = rgb[0];
        table[i].rgbGreen = rgb[1];
        table[i].rgbBlue = rgb[2];
        table[i].rgbReserved = 0;
    }
}

/* Fills the DIB's table; returns the gray mark. */
int build_color_table(const PcxHeader *h, const BYTE *file, size_t size, DibParts *dib) {
    unsigned bitsTotal = (unsigned)h->bitsPerPlane * h->planes;
    if (dib->bpp == 24) return 0;
    if (h->version == 3) { /* no palette in the file */
        gray_ramp(dib->colors, 1u << dib->bpp, dib->bpp == 1 ? 255 : dib->bpp == 4 ? 15 : 1);
        return 1;
    }
    if (bitsTotal == 8) {
        if (size >= PALETTE_256_BYTES && file[size - PALETTE_256_BYTES] == 0x0C) {
            triplets(dib->colors, file + size - PALETTE_256_BYTES + 1, 256);
            return 0;
        }
        gray_ramp(dib->colors, 256, 1);
        return 1;
    }
    if (bitsTotal == 1) {
        gray_ramp(dib->colors, 2, 255);
        return 1;
    }
    /* The header holds 16 entries; deeper one-plane files keep black past them. */
    unsigned entries = 1u << bitsTotal;
    triplets(dib->colors, h->palette, entries < 16 ? entries : 16);
    return 0;
}

/* ---- scan line to DIB row, by layout ------------------------------------ */

/* Each byte of four 2-bit pixels becomes two bytes of two 4-bit pixels. */
void convert_2bit(const BYTE *line, size_t bpl, BYTE *row, size_t rowBytes) {
    for (size_t i = 0; i < bpl && 2 * i < rowBytes; i++) {
        BYTE b = line[i];
        row[2 * i] = (BYTE)(((b >> 6) << 4) | ((b >> 4) & 3));
        if (2 * i + 1 < rowBytes) row[2 * i + 1] = (BYTE)((((b >> 2) & 3) << 4) | (b & 3));
    }
}

/* Eight pixels of one plane byte spread to eight nibbles (four bytes, the
   first pixel in the high nibble of the first byte), bit 0 of each. */
struct NibbleSpread {
    uint32_t of[256];
    NibbleSpread() {
        for (unsigned b = 0; b < 256; b++) {
            uint32_t v = 0;
            for (unsigned j = 0; j < 8; j++)
                if ((b >> (7 - j)) & 1) v |= (uint32_t)(j & 1 ? 0x01 : 0x10) << (8 * (j / 2));
            of[b] = v;
        }
    }
};

void convert_4planes(const BYTE *line, size_t bpl, BYTE *row, size_t rowBytes) {
    static const NibbleSpread spread;
    const BYTE *p0 = line, *p1 = line + bpl, *p2 = line + 2 * bpl, *p3 = line + 3 * bpl;
    for (size_t i = 0; i < bpl && 4 * i < rowBytes; i++) {
        uint32_t v = spread.of[p0[i]] | spread.of[p1[i]] << 1 | spread.of[p2[i]] << 2 | spread.of[p3[i]] << 3;
        BYTE out[4] = {(BYTE)v, (BYTE)(v >> 8), (BYTE)(v >> 16), (BYTE)(v >> 24)};
        size_t n = rowBytes - 4 * i < 4 ? rowBytes - 4 * i : 4;
        memcpy(row + 4 * i, out, n);
    }
}

inline uint32_t load4(const BYTE *p) {
    uint32_t v;
    memcpy(&v, p, 4);
    return v;
}

/* Four pixels of red, green and blue planes become twelve bytes b g r ...
   as three words built in registers. */
inline void interleave4(BYTE *row, uint32_t r, uint32_t g, uint32_t b) {
    uint32_t w[3] = {
        (b & 0xFF) | (g & 0xFF) << 8 | (r & 0xFF) << 16 | (b & 0xFF00) << 16,
        (g >> 8 & 0xFF) | (r >> 8 & 0xFF) << 8 | (b >> 16 & 0xFF) << 16 | (g >> 16 & 0xFF) << 24,
        (r >> 16 & 0xFF) | (b >> 24) << 8 | (g >> 24) << 16 | (r >> 24) << 24,
    };
    memcpy(row, w, 12);
}

#ifdef __SSE2__
/* Four pixels as b g r 0 words become twelve bytes at the bottom of the
   register: each half keeps its two pixels' six bytes, then the upper six
   move down next to the lower. */
inline __m128i pack_four(__m128i px) {
    __m128i first = _mm_and_si128(px, _mm_set_epi32(0, 0xFFFFFF, 0, 0xFFFFFF));
    __m128i second = _mm_and_si128(_mm_srli_epi64(px, 8), _mm_set_epi32(0xFFFF, (int)0xFF000000, 0xFFFF, (int)0xFF000000));
    __m128i halves = _mm_or_si128(first, second);
    return _mm_or_si128(_mm_and_si128(halves, _mm_set_epi32(0, 0, 0xFFFF, -1)),
                        _mm_and_si128(_mm_srli_si128(halves, 2), _mm_set_epi32(0, -1, (int)0xFFFF0000, 0)));
}

/* Sixteen pixels; each store writes four bytes past its twelve, which the
   next store (or the next pixels) overwrite, so the caller leaves two
   pixels of the row after the sixteen. */
inline void interleave16(BYTE *row, const BYTE *r, const BYTE *g, const BYTE *b) {
    __m128i zero = _mm_setzero_si128();
    __m128i vb = _mm_loadu_si128((const __m128i *)b), vg = _mm_loadu_si128((const __m128i *)g),
            vr = _mm_loadu_si128((const __m128i *)r);
    __m128i bgLow = _mm_unpacklo_epi8(vb, vg), bgHigh = _mm_unpackhi_epi8(vb, vg);
    __m128i rLow = _mm_unpacklo_epi8(vr, zero), rHigh = _mm_unpackhi_epi8(vr, zero);
    _mm_storeu_si128((__m128i *)row, pack_four(_mm_unpacklo_epi16(bgLow, rLow)));
    _mm_storeu_si128((__m128i *)(row + 12), pack_four(_mm_unpackhi_epi16(bgLow, rLow)));
    _mm_storeu_si128((__m128i *)(row + 24), pack_four(_mm_unpacklo_epi16(bgHigh, rHigh)));
    _mm_storeu_si128((__m128i *)(row + 36), pack_four(_mm_unpackhi_epi16(bgHigh, rHigh)));
}
#endif

void convert_3planes(const BYTE *line, size_t bpl, BYTE *row, size_t width) {
    const BYTE *r = line, *g = line + bpl, *b = line + 2 * bpl;
    size_t n = width < bpl ? width : bpl, x = 0;
#ifdef __SSE2__
    for (; x + 18 <= n; x += 16, row += 48) interleave16(row, r + x, g + x, b + x);
#endif
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
    for (; x + 4 <= n; x += 4, row += 12) interleave4(row, load4(r + x), load4(g + x), load4(b + x));
#endif
    for (; x < n; x++, row += 3) {
        row[0] = b[x];
        row[1] = g[x];
        row[2] = r[x];
    }
}

void convert_line(const PcxHeader *h, const BYTE *line, DibParts *dib, BYTE *row) {
    size_t bpl = h->bytesPerLine, rowBytes = dib->stride;
    if (h->planes == 1) {
        switch (h->bitsPerPlane) {
            case 1:
            case 4:
            case 8: memcpy(row, line, bpl < rowBytes ? bpl : rowBytes); break;
            case 2: convert_2bit(line, bpl, row, rowBytes); break;
            default: break; /* the row stays empty */
        }
    } else if (h->planes == 3) {
        convert_3planes(line, bpl, row, (size_t)dib->width);
    } else {
        convert_4planes(line, bpl, row, rowBytes);
    }
}

/* ---- the rows ---------------------------------------------------------- */

struct LineState {
    int asked;    /* the continue question was answered Yes */
    int refused;  /* ... or No */
};

/* The first cut run of a load asks whether to go on; No fails the line and,
   during an attended batch run, offers to cancel the batch. */
int accept_cut_run(LineState *state) {
    if (state->asked) return 1;
    if (codec_question(IDS_PCX_CONTINUE_LOAD) == IDYES) {
        state->asked = 1;
        return 1;
    }
    if (batch_running() && !batch_unattended() && lc_question(MSG_INFO, IDS_CANCEL_BATCH) == IDYES)
        batch_set_cancel(1);
    return 0;
}

/* 1 when every row was decoded; 0 after reporting, or after an abort or a
   refused question (nothing more to say). */
int decode_rows(ByteSource *s, const PcxHeader *h, DibParts *dib) {
    size_t lineBytes = (size_t)h->planes * h->bytesPerLine;
    BYTE *line = (BYTE *)calloc(lineBytes ? lineBytes : 1, 1);
    if (!line) return load_format_error(IDS_FMT_NO_MEMORY_LOAD);
    LineState state = {0, 0};
    int ok = 1;
    /* Lines of one plane that fit the row are the row's bytes already. */
    int direct = h->planes == 1 && (h->bitsPerPlane == 1 || h->bitsPerPlane == 4 || h->bitsPerPlane == 8) &&
                 lineBytes <= dib->stride;
    for (LONG y = 0; y < dib->height; y++) {
        if (!ZYN_EVT_Background()) {
            ok = 0; /* the user stopped the load */
            break;
        }
        DWORD done = (DWORD)y + 1;
        if (done % 16 == 0 || done == (DWORD)dib->height) load_panel_step(done);
        BYTE *row = dib_row_from_top(dib, y);
        PcxLineResult r = pcx_expand_line(s, direct ? row : line, lineBytes);
        if (r == PCX_LINE_SHORT) {
            ok = load_format_error(IDS_FMT_INCOMPLETE);
            break;
        }
        if (r == PCX_LINE_CUT && !accept_cut_run(&state)) {
            ok = 0;
            break;
        }
        if (!direct) convert_line(h, line, dib, row);
    }
    free(line);
    return ok;
}

/* Refusals that need only the header, in the order the fields are met. */
int check_header(const PcxHeader *h, int complete, size_t dataBytes) {
    if (h->manufacturer != 10) return load_format_error(IDS_FMT_NOT_LEGAL_FORMAT);
    if (h->version < 3) return load_format_error(IDS_FMT_UNSUPPORTED);
    if (!complete) return load_format_error(IDS_FMT_INCOMPLETE);
    if (h->xmax < h->xmin || h->ymax < h->ymin) return load_format_error(IDS_FMT_NOT_LEGAL_FORMAT);
    uint64_t width = (uint64_t)h->xmax - h->xmin + 1, height = (uint64_t)h->ymax - h->ymin + 1;
    if (width > LC_MAX_DIMENSION || height > LC_MAX_DIMENSION) return load_format_error(IDS_FMT_NO_MEMORY_LOAD);
    /* A line must hold the width: the DIB is then never much larger than
       what the data can fill. */
    if ((uint64_t)h->bytesPerLine * 8 < width * h->bitsPerPlane) return load_format_error(IDS_FMT_NOT_LEGAL_FORMAT);
    if (!dib_depth((unsigned)h->bitsPerPlane * h->planes) || !layout_known(h))
        return load_format_error(IDS_FMT_UNSUPPORTED);
    /* Two bytes expand to at most 63: data that cannot fill every line
       fails now instead of after allocating for it. */
    uint64_t needed = (uint64_t)h->planes * h->bytesPerLine * height;
    if (needed > (uint64_t)dataBytes * 32) return load_format_error(IDS_FMT_INCOMPLETE);
    return 1;
}

void set_load_info(const PcxHeader *h, int gray) {
    char creator[32];
    if (LoadStringA(lc_instance(), IDS_CREATOR_IBMPC, creator, (int)sizeof creator) <= 0) creator[0] = '\0';
    loadinfo_set_number(LI_PLANES, h->planes);
    loadinfo_set_number(LI_GRAY, (DWORD)gray);
    loadinfo_set_number(LI_COMPRESSED, 1);
    loadinfo_set_number(LI_BITS_PER_PIXEL, h->bitsPerPlane);
    loadinfo_set_number(LI_TYPE, 0);
    loadinfo_set_number(LI_VERSION, h->version);
    loadinfo_set_text(LI_CREATOR, creator);
}

}  // namespace

extern "C" int pcx_decode_memory(const BYTE *data, size_t size, HGLOBAL *out) {
    if (!out) return 0;
    *out = NULL;
    ByteSource s;
    bs_init(&s, data, size);
    PcxHeader h;
    int complete = read_header(&s, &h);
    if (!check_header(&h, complete, bs_remaining(&s))) return 0;
    LONG width = (LONG)h.xmax - h.xmin + 1, height = (LONG)h.ymax - h.ymin + 1;
    WORD bpp = dib_depth((unsigned)h.bitsPerPlane * h.planes);
    DWORD colors = ZYN_DIB_BitsToColors(bpp);
    BITMAPINFOHEADER header;
    DibParts dib;
    if (width > LC_MAX_DIMENSION || height > LC_MAX_DIMENSION || !MakeDibHeader(&header, width, height, bpp, colors) ||
        !dib_create(width, height, bpp, colors, &dib))
        return load_format_error(IDS_FMT_NO_MEMORY_LOAD);
    int gray = build_color_table(&h, data, size, &dib);
    load_panel_begin_progress(0, (DWORD)height);
    set_load_info(&h, gray);
    if (!decode_rows(&s, &h, &dib)) {
        dib_discard(&dib);
        return 0;
    }
    dib_close(&dib);
    *out = dib.handle;
    return 1;
}

extern "C" int WINAPI PcxLoad(LPSTR path, HGLOBAL *out) {
    return codec_load_whole_file(path, out, IDS_FMT_NO_MEMORY_LOAD, pcx_decode_memory);
}
