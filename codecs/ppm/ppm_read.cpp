/* Portable pixmap reader.  Header numbers and text samples are parsed
   with a bound on their value, so no digit string can overflow. */
#include <stdlib.h>
#include <string.h>

#include "codecs/common/byte_source.h"
#include "codecs/common/checked.h"
#include "codecs/common/codec_report.h"
#include "codecs/common/dib_build.h"
#include "codecs/ras/raster_input.h"
#include "codecs/ppm/ppm.h"
#include "codecs/ppm/ppm_pixels.h"
#include "core/load_panel.h"
#include "core/messages.h"
#include "lumacast_strings.h"
#include "zynlib.h"

#define PPM_MAX_SAMPLE 65535u

typedef struct PpmRead {
    int text;          /* P2, P3 */
    unsigned channels; /* 1 gray, 3 colour */
    DWORD width, height, maxval;
    BYTE *scale;       /* maxval + 1 entries: sample to 0..255 */
    DibParts dib;
} PpmRead;

static inline int is_space(BYTE c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

/* Skips white space and, in the header, comments up to the end of their
   line. */
static void skip_blank(ByteSource *s, int comments) {
    while (s->pos < s->size) {
        BYTE c = s->data[s->pos];
        if (is_space(c)) {
            s->pos++;
        } else if (comments && c == '#') {
            while (s->pos < s->size && s->data[s->pos] != '\n' && s->data[s->pos] != '\r') s->pos++;
        } else {
            break;
        }
    }
}

/* A decimal number no larger than limit; 0 when there is none or it is
   larger. */
static int read_number(ByteSource *s, int comments, DWORD limit, DWORD *out) {
    skip_blank(s, comments);
    DWORD v = 0;
    size_t start = s->pos;
    while (s->pos < s->size && s->data[s->pos] >= '0' && s->data[s->pos] <= '9') {
        v = v * 10 + (DWORD)(s->data[s->pos] - '0');
        if (v > limit) return 0;
        s->pos++;
    }
    if (s->pos == start) return 0;
    *out = v;
    return 1;
}

static void fill_load_info(const PpmRead *r) {
    loadinfo_set_number(LI_PLANES, 1);
    loadinfo_set_number(LI_GRAY, r->channels == 1);
    loadinfo_set_number(LI_COMPRESSED, 0);
    loadinfo_set_number(LI_BITS_PER_PIXEL, r->channels == 1 ? 8 : 24);
    loadinfo_set_number(LI_TYPE, 0);
    loadinfo_set_number(LI_VERSION, 1);
}

static BYTE *make_scale(DWORD maxval) {
    BYTE *t = (BYTE *)malloc((size_t)maxval + 1);
    if (t)
        for (DWORD v = 0; v <= maxval; v++) t[v] = (BYTE)(v * 255u / maxval);
    return t;
}

/* One text row of samples; 0 at a missing or malformed sample. */
static int read_text_row(PpmRead *r, ByteSource *s, BYTE *dst) {
    size_t n = (size_t)r->width * r->channels;
    for (size_t i = 0; i < n; i++) {
        DWORD v;
        if (!read_number(s, 0, PPM_MAX_SAMPLE, &v)) return 0;
        dst[i] = r->scale[v < r->maxval ? v : r->maxval];
    }
    return 1;
}

static int read_binary_row(PpmRead *r, ByteSource *s, BYTE *dst) {
    size_t n = (size_t)r->width * r->channels;
    unsigned bytes = r->maxval > 255 ? 2 : 1;
    const BYTE *src = bs_take(s, n * bytes);
    if (!src) return 0;
    if (bytes == 2) {
        for (size_t i = 0; i < n; i++) {
            DWORD v = (DWORD)(src[2 * i] << 8 | src[2 * i + 1]);
            dst[i] = r->scale[v < r->maxval ? v : r->maxval];
        }
    } else if (r->maxval == 255 && r->channels == 3) {
        swap_red_blue_copy(src, dst, r->width);
        return 1;
    } else if (r->maxval == 255) {
        memcpy(dst, src, n);
    } else {
        for (size_t i = 0; i < n; i++) dst[i] = r->scale[src[i] < r->maxval ? src[i] : r->maxval];
    }
    return 1;
}

static void swap_red_blue(BYTE *row, DWORD width) {
    for (DWORD x = 0; x < width; x++, row += 3) {
        BYTE t = row[0];
        row[0] = row[2];
        row[2] = t;
    }
}

static int read_rows(PpmRead *r, ByteSource *s) {
    LONG height = r->dib.height;
    for (LONG y = 0; y < height; y++) {
        if (!ZYN_EVT_Background()) return 0;
        BYTE *dst = dib_row_from_top(&r->dib, y);
        if (!(r->text ? read_text_row(r, s, dst) : read_binary_row(r, s, dst)))
            return load_format_error(IDS_FMT_NOT_LEGAL_FORMAT);
        if (r->channels == 3 && (r->text || r->maxval != 255)) swap_red_blue(dst, r->width);
        if ((y & 15) == 15 || y == height - 1) load_panel_step((DWORD)y + 1);
    }
    return 1;
}

static int decode_image(PpmRead *r, ByteSource *s) {
    WORD depth = (WORD)(r->channels == 1 ? 8 : 24);
    DWORD colors = depth == 8 ? 256 : 0;
    if (!dib_size_ok((LONG)r->width, (LONG)r->height, depth, colors, NULL))
        return load_format_error(IDS_FMT_NO_MEMORY_LOAD);
    /* The least the rest of the file must hold: a byte a sample binary,
       two (digit and separator) as text, less the last separator. */
    uint64_t samples = (uint64_t)r->width * r->height * r->channels;
    uint64_t least = r->text ? samples * 2 - 1 : samples * (r->maxval > 255 ? 2 : 1);
    if (least > bs_remaining(s)) return load_format_error(IDS_FMT_NOT_LEGAL_FORMAT);
    r->scale = make_scale(r->maxval);
    if (!r->scale) return load_format_error(IDS_FMT_NO_MEMORY_LOAD);
    load_panel_begin_progress(0, r->height);
    fill_load_info(r);
    BITMAPINFOHEADER info;
    if (!MakeDibHeader(&info, (LONG)r->width, (LONG)r->height, depth, colors) ||
        !dib_create((LONG)r->width, (LONG)r->height, depth, colors, &r->dib))
        return load_format_error(IDS_FMT_NO_MEMORY_LOAD);
    for (unsigned i = 0; i < colors; i++)
        r->dib.colors[i].rgbRed = r->dib.colors[i].rgbGreen = r->dib.colors[i].rgbBlue = (BYTE)i;
    return read_rows(r, s);
}

/* Magic, width, height and maximum value; 0 after reporting. */
static int read_header(PpmRead *r, ByteSource *s) {
    if (bs_u8(s) != 'P') return load_format_error(IDS_FMT_NOT_LEGAL);
    BYTE kind = bs_u8(s);
    if (kind != '2' && kind != '3' && kind != '5' && kind != '6') return load_format_error(IDS_FMT_NOT_LEGAL_FORMAT);
    r->text = kind == '2' || kind == '3';
    r->channels = kind == '3' || kind == '6' ? 3 : 1;
    /* Sizes past any DIB are read in full, so they fail as too large. */
    if (!read_number(s, 1, 0xFFFFFFFu, &r->width) || !read_number(s, 1, 0xFFFFFFFu, &r->height) ||
        !read_number(s, 1, PPM_MAX_SAMPLE, &r->maxval) || r->width == 0 || r->height == 0 || r->maxval == 0)
        return load_format_error(IDS_FMT_NOT_LEGAL_FORMAT);
    /* One white-space character ends the header of a binary map. */
    if (s->pos >= s->size || !is_space(s->data[s->pos])) return load_format_error(IDS_FMT_NOT_LEGAL_FORMAT);
    s->pos++;
    if (r->width > LC_MAX_DIMENSION || r->height > LC_MAX_DIMENSION) return load_format_error(IDS_FMT_NO_MEMORY_LOAD);
    return 1;
}

extern "C" int PpmDecode(const BYTE *data, size_t size, HGLOBAL *out) {
    if (!out) return 0;
    *out = NULL;
    ByteSource s;
    bs_init(&s, data, size);
    PpmRead r;
    memset(&r, 0, sizeof r);
    int ok = read_header(&r, &s) && decode_image(&r, &s);
    free(r.scale);
    return dib_finish(&r.dib, ok, out);
}

extern "C" int WINAPI PpmLoad(LPSTR path, HGLOBAL *out) {
    return raster_load_file(path, out, PpmDecode);
}
