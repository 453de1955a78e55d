/* GIF reader: the stream's blocks up to the first image, which becomes a
   1-, 4- or 8-bit palette DIB. */
#include <stdlib.h>
#include <string.h>

#include "codecs/common/byte_source.h"
#include "codecs/common/checked.h"
#include "codecs/common/codec_report.h"
#include "codecs/common/dib_build.h"
#include "codecs/common/file_view.h"
#include "codecs/gif/gif.h"
#include "codecs/gif/gif_lzw.h"
#include "core/load_panel.h"
#include "lumacast_strings.h"

namespace {

const BYTE INTRO_EXTENSION = 0x21, INTRO_IMAGE = 0x2C, INTRO_TRAILER = 0x3B;

struct Screen {
    unsigned tableBits; /* b: the table-size field + 1 */
    int hasGlobalTable;
    RGBQUAD global[256]; /* the global table, zero past its entries */
};

/* 1 bit stays 1; 2 to 4 become 4; 5 to 8 become 8. */
WORD dib_depth(unsigned tableBits) { return tableBits == 1 ? 1 : tableBits <= 4 ? 4 : 8; }

int read_color_table(ByteSource *s, RGBQUAD *table, unsigned entries) {
    const BYTE *rgb = bs_take(s, 3 * (size_t)entries);
    if (!rgb) return 0;
    for (unsigned i = 0; i < entries; i++, rgb += 3) {
        table[i].rgbRed = rgb[0];
        table[i].rgbGreen = rgb[1];
        table[i].rgbBlue = rgb[2];
        table[i].rgbReserved = 0;
    }
    return 1;
}

int read_signature(ByteSource *s) {
    const BYTE *sig = bs_take(s, 6);
    if (sig && memcmp(sig, "GIF87a", 6) == 0) return 87;
    if (sig && memcmp(sig, "GIF89a", 6) == 0) return 89;
    return 0;
}

int read_screen(ByteSource *s, Screen *screen) {
    bs_skip(s, 4); /* the logical screen's size does not shape the image */
    BYTE flags = bs_u8(s);
    bs_skip(s, 2); /* background index, aspect: neither affects the image */
    if (s->overrun) return load_format_error(IDS_FMT_INCOMPLETE);
    screen->tableBits = (flags & 7) + 1;
    screen->hasGlobalTable = (flags & 0x80) != 0;
    memset(screen->global, 0, sizeof screen->global);
    loadinfo_set_number(LI_PALETTE, screen->hasGlobalTable);
    loadinfo_set_number(LI_BITS_PER_PIXEL, dib_depth(screen->tableBits));
    if (screen->hasGlobalTable && !read_color_table(s, screen->global, 1u << screen->tableBits))
        return load_format_error(IDS_FMT_INCOMPLETE);
    return 1;
}

int skip_sub_blocks(ByteSource *s) {
    for (;;) {
        BYTE n = bs_u8(s);
        if (s->overrun) return 0;
        if (n == 0) return 1;
        if (!bs_skip(s, n)) return 0;
    }
}

/* Joins the image's data sub-blocks.  A file that ends inside them keeps
   what there is, marked truncated: the decoder fails only if it needs the
   missing part. */
int gather_codes(ByteSource *s, GifCodeStream *codes, size_t *capacity) {
    codes->size = 0;
    codes->truncated = 0;
    *capacity = bs_remaining(s) + GIF_CODE_PADDING;
    codes->bytes = (BYTE *)codec_scratch_alloc(*capacity);
    if (!codes->bytes) return 0;
    for (;;) {
        BYTE n = bs_u8(s);
        if (s->overrun) {
            codes->truncated = 1;
            break;
        }
        if (n == 0) break;
        size_t have = bs_remaining(s) < n ? bs_remaining(s) : n;
        memcpy(codes->bytes + codes->size, s->data + s->pos, have);
        codes->size += have;
        bs_skip(s, have);
        if (have < n) {
            codes->truncated = 1;
            break;
        }
    }
    memset(codes->bytes + codes->size, 0, GIF_CODE_PADDING);
    return 1;
}

/* Decoded rows land in the DIB: rows in stream order mapped through the
   interlace passes, packed to the DIB's depth. */
struct RowWriter {
    DibParts *dib;
    int interlaced;
    uint32_t pass2, pass3, pass4; /* stream rows where passes 2, 3, 4 begin */
    uint32_t done;
};

uint32_t image_row(const RowWriter *w, uint32_t r) {
    if (!w->interlaced) return r;
    if (r < w->pass2) return r * 8;
    if (r < w->pass3) return (r - w->pass2) * 8 + 4;
    if (r < w->pass4) return (r - w->pass3) * 4 + 2;
    return (r - w->pass4) * 2 + 1;
}

void pack_row(BYTE *dst, const BYTE *px, uint32_t width, WORD bpp) {
    if (bpp == 8) {
        memcpy(dst, px, width);
    } else if (bpp == 4) {
        uint32_t x = 0;
        for (; x + 1 < width; x += 2) *dst++ = (BYTE)((px[x] << 4) | px[x + 1]);
        if (x < width) *dst = (BYTE)(px[x] << 4);
    } else {
        uint32_t x = 0;
        for (; x + 8 <= width; x += 8, px += 8)
            *dst++ = (BYTE)((px[0] << 7) | (px[1] << 6) | (px[2] << 5) | (px[3] << 4) | (px[4] << 3) |
                            (px[5] << 2) | (px[6] << 1) | px[7]);
        BYTE last = 0;
        for (uint32_t bit = 7; x < width; x++, bit--) last |= (BYTE)(*px++ << bit);
        if (width & 7) *dst = last;
    }
}

void row_done(void *context, uint32_t r, const BYTE *pixels, int complete) {
    RowWriter *w = (RowWriter *)context;
    DibParts *d = w->dib;
    pack_row(dib_row_from_top(d, (LONG)image_row(w, r)), pixels, (uint32_t)d->width, d->bpp);
    if (!complete) return;
    codec_row_done();
    w->done++;
    if (w->done % 16 == 0 || w->done == (uint32_t)d->height) load_panel_step(w->done);
}

int decode_pixels(ByteSource *s, DibParts *dib, int interlaced, unsigned colors) {
    BYTE minCodeSize = bs_u8(s);
    if (s->overrun) return load_format_error(IDS_FMT_INCOMPLETE);
    if (minCodeSize < 1 || minCodeSize > GIF_MAX_BITS - 1) return load_format_error(IDS_FMT_READ_UNKNOWN);
    GifCodeStream codes;
    size_t capacity;
    if (!gather_codes(s, &codes, &capacity)) return load_format_error(IDS_FMT_OUT_OF_MEMORY);
    uint32_t h = (uint32_t)dib->height;
    RowWriter writer = {dib, interlaced, (h + 7) / 8, 0, 0, 0};
    writer.pass3 = writer.pass2 + (h + 3) / 8;
    writer.pass4 = writer.pass3 + (h + 1) / 4;
    GifPixelTarget target = {(uint32_t)dib->width, h, row_done, &writer};
    GifLzwResult result = gif_lzw_decode(&codes, minCodeSize, colors, &target);
    codec_scratch_free(codes.bytes, capacity);
    switch (result) {
        case GIF_LZW_DONE: return 1;
        case GIF_LZW_NO_MEMORY: return load_format_error(IDS_FMT_OUT_OF_MEMORY);
        case GIF_LZW_TRUNCATED: return load_format_error(IDS_FMT_INCOMPLETE);
        default: return load_format_error(IDS_FMT_READ_UNKNOWN);
    }
}

/* The image descriptor, its table and data.  The DIB's depth comes from the
   screen's table size, or from the local table when that one is larger, so
   that no color of the image is lost or indexed past the DIB's table. */
int read_image(ByteSource *s, const Screen *screen, uint64_t maxPixels, HGLOBAL *out) {
    bs_skip(s, 4); /* left, top */
    WORD width = bs_u16le(s), height = bs_u16le(s);
    BYTE flags = bs_u8(s);
    if (s->overrun) return load_format_error(IDS_FMT_INCOMPLETE);
    if (width == 0 || height == 0) return load_format_error(IDS_FMT_DAMAGED);
    if (maxPixels && (uint64_t)width * height > maxPixels) return load_format_error(IDS_FMT_OUT_OF_MEMORY);
    int hasLocal = (flags & 0x80) != 0, interlaced = (flags & 0x40) != 0;
    unsigned localBits = (flags & 7) + 1;
    unsigned tableBits = hasLocal && localBits > screen->tableBits ? localBits : screen->tableBits;
    WORD bpp = dib_depth(tableBits);
    DWORD colors = 1u << tableBits;
    BITMAPINFOHEADER header;
    if (!MakeDibHeader(&header, width, height, bpp, colors)) return load_format_error(IDS_FMT_OUT_OF_MEMORY);
    loadinfo_set_number(LI_PALETTE, screen->hasGlobalTable);
    loadinfo_set_number(LI_BITS_PER_PIXEL, bpp);
    DibParts dib;
    if (!dib_create(width, height, bpp, colors, &dib)) return load_format_error(IDS_FMT_OUT_OF_MEMORY);
    if (hasLocal) {
        if (!read_color_table(s, dib.colors, 1u << localBits)) {
            dib_discard(&dib);
            return load_format_error(IDS_FMT_INCOMPLETE);
        }
    } else {
        memcpy(dib.colors, screen->global, sizeof(RGBQUAD) * colors);
    }
    load_panel_begin_progress(0, height);
    if (!decode_pixels(s, &dib, interlaced, colors)) {
        dib_discard(&dib);
        return 0;
    }
    dib_close(&dib);
    *out = dib.handle;
    return 1;
}

}  // namespace

extern "C" int gif_decode_memory(const BYTE *data, size_t size, uint64_t maxPixels, HGLOBAL *out) {
    if (!out) return 0;
    *out = NULL;
    ByteSource s;
    bs_init(&s, data, size);
    int version = read_signature(&s);
    if (!version) return load_format_error(IDS_FMT_UNRECOGNIZED);
    loadinfo_set_number(LI_VERSION, (DWORD)version);
    loadinfo_set_number(LI_TYPE, 0);
    loadinfo_set_number(LI_PLANES, 1);
    loadinfo_set_number(LI_COMPRESSED, 1);
    loadinfo_set_number(LI_GRAY, 0);
    Screen *screen = (Screen *)malloc(sizeof(Screen));
    if (!screen) return load_format_error(IDS_FMT_OUT_OF_MEMORY);
    int ok = read_screen(&s, screen);
    while (ok) {
        BYTE intro = bs_u8(&s);
        if (s.overrun || intro == INTRO_TRAILER) {
            /* Nothing more, and no image was seen: there is nothing to show. */
            ok = load_format_error(IDS_FMT_INCOMPLETE);
        } else if (intro == INTRO_EXTENSION) {
            bs_u8(&s); /* label: no extension is used */
            if (!skip_sub_blocks(&s)) ok = load_format_error(IDS_FMT_DAMAGED);
        } else if (intro == INTRO_IMAGE) {
            ok = read_image(&s, screen, maxPixels, out);
            break; /* the first image is the one; later blocks are not read */
        } else {
            ok = load_format_error(IDS_FMT_DAMAGED);
        }
    }
    free(screen);
    return ok;
}

/* Files on disk are limited only by what a DIB can hold. */
static int decode_without_cap(const BYTE *data, size_t size, HGLOBAL *out) {
    return gif_decode_memory(data, size, 0, out);
}

extern "C" int WINAPI GifLoad(LPSTR path, HGLOBAL *out) {
    return codec_load_whole_file(path, out, IDS_FMT_OUT_OF_MEMORY, decode_without_cap);
}
