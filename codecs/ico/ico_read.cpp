/* Icon reader: the directory, the choice of one image, its colour bits
   and, on request, its AND mask as the alpha channel of a 32-bit image. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "codecs/common/byte_source.h"
#include "codecs/common/checked.h"
#include "codecs/common/codec_report.h"
#include "codecs/common/dib_build.h"
#include "codecs/ico/ico.h"
#include "core/lc_instance.h"
#include "core/load_panel.h"
#include "core/messages.h"
#include "lumacast_strings.h"
#include "zynlib.h"

typedef struct IcoDirEntry {
    unsigned width, height, colors;
    DWORD bytes, offset;
} IcoDirEntry;

typedef struct IcoList {
    IcoListEntry *lines;
    int *entryOf; /* directory position of each line */
    int count;
    int reported; /* an entry was refused with a message */
} IcoList;

static int premature_end(void) {
    codec_error(IDS_CODEC_PREMATURE_END);
    return 0;
}

static int read_directory(ByteSource *s, IcoDirEntry **entries, unsigned *count) {
    WORD reserved = bs_u16le(s), type = bs_u16le(s);
    *count = bs_u16le(s);
    if (s->overrun) return premature_end();
    if (reserved != 0 || type != 1 || *count == 0) return load_format_error(IDS_FMT_NOT_LEGAL);
    *entries = (IcoDirEntry *)calloc(*count, sizeof(IcoDirEntry));
    if (!*entries) return load_format_error(IDS_FMT_NO_MEMORY_LOAD);
    for (unsigned i = 0; i < *count; i++) {
        IcoDirEntry *e = &(*entries)[i];
        const BYTE *raw = bs_take(s, 16);
        if (!raw) return premature_end();
        e->width = raw[0] ? raw[0] : 256;
        e->height = raw[1] ? raw[1] : 256;
        e->colors = raw[2] ? raw[2] : 256;
        e->bytes = (DWORD)raw[8] | ((DWORD)raw[9] << 8) | ((DWORD)raw[10] << 16) | ((DWORD)raw[11] << 24);
        e->offset = (DWORD)raw[12] | ((DWORD)raw[13] << 8) | ((DWORD)raw[14] << 16) | ((DWORD)raw[15] << 24);
    }
    return 1;
}

/* Compressed (PNG) images are not DIBs: such entries are left out. */
static int holds_png(const ByteSource *s, const IcoDirEntry *e) {
    static const BYTE signature[4] = {0x89, 'P', 'N', 'G'};
    return e->offset <= s->size && s->size - e->offset >= 4 && memcmp(s->data + e->offset, signature, 4) == 0;
}

static UINT list_text_id(unsigned colors) {
    return colors == 2 ? IDS_ICO_LIST_MONOCHROME : colors == 16 ? IDS_ICO_LIST_16_COLOR : IDS_ICO_LIST_256_COLOR;
}

/* One line per entry with 2, 16 or 256 colours; others are reported. */
static int build_list(const ByteSource *s, const IcoDirEntry *entries, unsigned count, IcoList *list) {
    list->lines = (IcoListEntry *)calloc(count, sizeof(IcoListEntry));
    list->entryOf = (int *)calloc(count, sizeof(int));
    if (!list->lines || !list->entryOf) return load_format_error(IDS_FMT_NO_MEMORY_LOAD);
    for (unsigned i = 0; i < count; i++) {
        const IcoDirEntry *e = &entries[i];
        if (holds_png(s, e)) continue;
        if (e->colors != 2 && e->colors != 16 && e->colors != 256) {
            load_format_error(IDS_FMT_UNSUPPORTED);
            list->reported = 1;
            continue;
        }
        char format[40];
        if (LoadStringA(lc_instance(), list_text_id(e->colors), format, (int)sizeof format) <= 0) format[0] = '\0';
        IcoListEntry *line = &list->lines[list->count];
        snprintf(line->text, sizeof line->text, format, e->width, e->height);
        line->width = e->width;
        line->colors = e->colors;
        list->entryOf[list->count++] = (int)i;
    }
    return 1;
}

typedef struct IcoImage {
    const BYTE *data; /* the entry's bytes */
    size_t size;
    LONG width, height;
    WORD bpp;
    DWORD colors;
    DWORD stride;
    size_t tableAt, bitsAt, maskAt;
} IcoImage;

/* Places the parts of the chosen entry and checks they are there. */
static int locate_image(const ByteSource *s, const IcoDirEntry *e, IcoImage *im) {
    if (e->offset > s->size || s->size - e->offset < e->bytes || e->bytes < sizeof(BITMAPINFOHEADER))
        return premature_end();
    im->data = s->data + e->offset;
    im->size = e->bytes;
    ByteSource h;
    bs_init(&h, im->data, im->size);
    DWORD headerSize = bs_u32le(&h);
    LONG width = (LONG)bs_u32le(&h);
    bs_skip(&h, 4 + 2); /* height (twice the icon's), planes */
    WORD bpp = bs_u16le(&h);
    DWORD compression = bs_u32le(&h);
    bs_skip(&h, 12);
    DWORD used = bs_u32le(&h);
    if (headerSize < sizeof(BITMAPINFOHEADER) || compression != BI_RGB ||
        (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 24 && bpp != 32))
        return load_format_error(IDS_FMT_UNSUPPORTED);
    DWORD reach = bpp <= 8 ? 1u << bpp : 0;
    im->colors = used && used < reach ? used : reach;
    im->width = width;
    im->height = (LONG)e->height;
    im->bpp = bpp;
    if (!dib_size_ok(im->width, im->height, bpp, im->colors, NULL)) return load_format_error(IDS_FMT_UNSUPPORTED);
    im->stride = dib_stride(im->width, bpp);
    im->tableAt = headerSize;
    uint64_t bitsAt = (uint64_t)headerSize + 4ull * im->colors, end;
    if (!lc_mad_u64(im->stride, (uint64_t)im->height, bitsAt, &end) || end > im->size) return premature_end();
    im->bitsAt = (size_t)bitsAt;
    im->maskAt = (size_t)end;
    return 1;
}

static void fill_load_info(const IcoImage *im, WORD bpp) {
    char creator[32];
    loadinfo_set_number(LI_PLANES, 1);
    loadinfo_set_number(LI_GRAY, 0);
    loadinfo_set_number(LI_COMPRESSED, 0);
    loadinfo_set_number(LI_BITS_PER_PIXEL, bpp);
    loadinfo_set_number(LI_TYPE, 0);
    loadinfo_set_number(LI_VERSION, 0);
    if (LoadStringA(lc_instance(), IDS_CREATOR_WINDOWS, creator, (int)sizeof creator) <= 0) creator[0] = '\0';
    loadinfo_set_text(LI_CREATOR, creator);
}

/* The colour image as it is stored. */
static int copy_image(const IcoImage *im, DibParts *d) {
    if (!dib_create(im->width, im->height, im->bpp, im->colors, d)) return load_format_error(IDS_FMT_NO_MEMORY_LOAD);
    for (DWORD i = 0; i < im->colors; i++) {
        memcpy(&d->colors[i], im->data + im->tableAt + 4 * i, 4);
        d->colors[i].rgbReserved = 0;
    }
    memcpy(d->bits, im->data + im->bitsAt, (size_t)im->stride * im->height);
    return 1;
}

static void color_at(const IcoImage *im, const BYTE *row, LONG x, BYTE *bgr) {
    if (im->bpp >= 24) {
        memcpy(bgr, row + (size_t)x * (im->bpp / 8), 3);
        return;
    }
    unsigned i = im->bpp == 8 ? row[x] : im->bpp == 4 ? (row[x / 2] >> (x & 1 ? 0 : 4)) & 15 : (row[x / 8] >> (7 - (x & 7))) & 1;
    const BYTE *q = im->data + im->tableAt + 4 * (size_t)i;
    if (i < im->colors) memcpy(bgr, q, 3);
    else bgr[0] = bgr[1] = bgr[2] = 0;
}

/* 32 bits a pixel, the fourth byte 255 where the mask is 0 (opaque) and 0
   where it is 1; all 0 when the entry is too short to hold the mask. */
static int image_with_mask_alpha(const IcoImage *im, DibParts *d) {
    if (!dib_create(im->width, im->height, 32, 0, d)) return load_format_error(IDS_FMT_NO_MEMORY_LOAD);
    size_t maskStride = ((size_t)im->width + 31) / 32 * 4;
    int haveMask = im->maskAt <= im->size && (im->size - im->maskAt) / maskStride >= (size_t)im->height;
    for (LONG y = 0; y < im->height; y++) {
        if (!ZYN_EVT_Background()) return 0; /* the user stopped the load */
        const BYTE *src = im->data + im->bitsAt + (size_t)y * im->stride;
        const BYTE *mask = haveMask ? im->data + im->maskAt + (size_t)y * maskStride : NULL;
        BYTE *dst = d->bits + (size_t)y * d->stride;
        for (LONG x = 0; x < im->width; x++) {
            color_at(im, src, x, dst + 4 * x);
            dst[4 * x + 3] = mask && !((mask[x / 8] >> (7 - (x & 7))) & 1) ? 255 : 0;
        }
    }
    return 1;
}

static int load_entry(const ByteSource *s, const IcoDirEntry *e, int useMask, DibParts *d) {
    IcoImage im;
    memset(&im, 0, sizeof im);
    if (!locate_image(s, e, &im)) return 0;
    WORD bpp = useMask ? 32 : im.bpp;
    DWORD colors = useMask ? 0 : im.colors;
    BITMAPINFOHEADER info;
    MakeDibHeader(&info, im.width, im.height, bpp, colors);
    fill_load_info(&im, bpp);
    return useMask ? image_with_mask_alpha(&im, d) : copy_image(&im, d);
}

extern "C" int IcoDecode(const BYTE *data, size_t size, HGLOBAL *out) {
    if (!out) return 0;
    *out = NULL;
    ByteSource s;
    bs_init(&s, data, size);
    IcoDirEntry *entries = NULL;
    unsigned count = 0;
    IcoList list;
    memset(&list, 0, sizeof list);
    DibParts d;
    memset(&d, 0, sizeof d);
    int ok = read_directory(&s, &entries, &count) && build_list(&s, entries, count, &list);
    if (ok && list.count == 0) {
        /* Nothing to offer: say so unless an entry was already reported. */
        if (!list.reported) load_format_error(IDS_FMT_UNSUPPORTED);
        ok = 0;
    }
    int useMask = 1;
    int choice = ok ? ico_choose(list.lines, list.count, &useMask) : -1;
    ok = ok && choice >= 0 && ZYN_EVT_Background() && load_entry(&s, &entries[list.entryOf[choice]], useMask, &d);
    free(entries);
    free(list.lines);
    free(list.entryOf);
    return dib_finish(&d, ok, out);
}

extern "C" int WINAPI IcoLoad(LPSTR path, HGLOBAL *out) {
    return codec_load_whole_file(path, out, IDS_FMT_NO_MEMORY_LOAD, IcoDecode);
}
