/* Decoding a JPEG stream (or the one inside a PIC) into rows of the depth
   the caller asked for. */
#include <stdlib.h>
#include <string.h>

#include "tavn13_internal.h"

/* Rows per step, so that the caller's progress display moves. */
#define ROWS_PER_STEP 64

typedef struct DecodeState {
    DWORD tag;
    struct jpeg_decompress_struct cinfo;
    TavnErrorTrap trap;
    int created;
    BYTE *plain; /* the stream taken out of a PIC */
    BYTE *row;   /* one row as libjpeg writes it, when it needs packing */
} DecodeState;

void tavn_decode_free(TavnRequest *r) {
    DecodeState *s = (DecodeState *)r->f.state;
    if (!s) return;
    if (s->created) jpeg_destroy_decompress(&s->cinfo);
    free(s->plain);
    free(s->row);
    free(s);
    r->f.state = NULL;
}

static int fail(TavnRequest *r, LONG status) {
    r->f.status = status;
    tavn_decode_free(r);
    return TAVN_FAILED;
}

static void keep_comment(TavnRequest *r, struct jpeg_decompress_struct *cinfo) {
    r->f.comment[0] = '\0';
    for (jpeg_saved_marker_ptr m = cinfo->marker_list; m; m = m->next) {
        if (m->marker != JPEG_COM) continue;
        size_t n = m->data_length < TAVN_COMMENT_MAX ? m->data_length : TAVN_COMMENT_MAX;
        memcpy(r->f.comment, m->data, n);
        r->f.comment[n] = '\0';
        /* A C-string writer may have stored its terminator too. */
        return;
    }
}

static void keep_resolution(TavnRequest *r, const struct jpeg_decompress_struct *cinfo) {
    r->f.dpiX = r->f.dpiY = 0;
    if (!cinfo->saw_JFIF_marker) return;
    if (cinfo->density_unit == 1) {
        r->f.dpiX = cinfo->X_density;
        r->f.dpiY = cinfo->Y_density;
    } else if (cinfo->density_unit == 2) { /* dots per centimetre */
        r->f.dpiX = (cinfo->X_density * 254u + 50) / 100;
        r->f.dpiY = (cinfo->Y_density * 254u + 50) / 100;
    }
}

/* Chooses libjpeg's output for the mode: the gray mode, and a gray file in
   a palette mode, give 256 grays; the colour palette modes quantise in two
   passes; the true-colour modes give blue, green, red even for gray files. */
static void choose_output(TavnRequest *r, struct jpeg_decompress_struct *cinfo) {
    DWORD mode = r->f.outputMode;
    int palette = mode == TAVN_OUT_COLORS16 || mode == TAVN_OUT_PALETTE8;
    int gray = mode == TAVN_OUT_GRAY8 || (cinfo->num_components == 1 && palette);
    cinfo->out_color_space = gray ? JCS_GRAYSCALE : JCS_EXT_BGR;
    if (mode == TAVN_OUT_COLORS16 || (mode == TAVN_OUT_PALETTE8 && !gray)) {
        cinfo->quantize_colors = TRUE;
        cinfo->two_pass_quantize = TRUE;
        cinfo->dither_mode = JDITHER_FS;
        cinfo->desired_number_of_colors = mode == TAVN_OUT_COLORS16 ? 16 : 236;
    }
    if (mode == TAVN_OUT_COLORS16) r->f.bitCount = 4;
    else if (palette || gray) r->f.bitCount = 8;
    else if (mode == TAVN_OUT_RGB16) r->f.bitCount = 16;
    else r->f.bitCount = 24;
}

static void fill_palette(TavnRequest *r, struct jpeg_decompress_struct *cinfo) {
    r->f.paletteSize = 0;
    if (r->f.bitCount > 8 || !r->f.palette) return;
    RGBQUAD *pal = r->f.palette;
    if (cinfo->quantize_colors) {
        int n = cinfo->actual_number_of_colors;
        for (int i = 0; i < n; i++) {
            BYTE a = cinfo->colormap[0][i];
            /* Gray maps have one component; BGR maps list blue first. */
            if (cinfo->out_color_components == 1) {
                pal[i].rgbBlue = pal[i].rgbGreen = pal[i].rgbRed = a;
            } else {
                pal[i].rgbBlue = a;
                pal[i].rgbGreen = cinfo->colormap[1][i];
                pal[i].rgbRed = cinfo->colormap[2][i];
            }
            pal[i].rgbReserved = 0;
        }
        r->f.paletteSize = (WORD)n;
    } else {
        for (int i = 0; i < 256; i++) {
            pal[i].rgbBlue = pal[i].rgbGreen = pal[i].rgbRed = (BYTE)i;
            pal[i].rgbReserved = 0;
        }
        r->f.paletteSize = 256;
    }
}

static int start(TavnRequest *r) {
    if (!r->f.outputMode || r->f.outputMode > TAVN_OUT_GRAY8) {
        r->f.status = TAVN_ERR_PARAM;
        return TAVN_FAILED;
    }
    DecodeState *s = (DecodeState *)calloc(1, sizeof *s);
    if (!s) {
        r->f.status = TAVN_ERR_NOMEM;
        return TAVN_FAILED;
    }
    s->tag = TAVN_STATE_DECODE;
    r->f.state = s;
    const BYTE *data;
    size_t size = tavn_input(r, &data);
    if (tavn_is_pic(data, size)) {
        LONG status = TAVN_OK;
        s->plain = tavn_pic_open(data, size, r->f.password, &size, &status);
        if (!s->plain) return fail(r, status);
        data = s->plain;
    }
    s->cinfo.err = &s->trap.pub;
    tavn_trap_errors(&s->trap);
    if (setjmp(s->trap.back)) return fail(r, s->trap.outOfMemory ? TAVN_ERR_NOMEM : TAVN_ERR_CORRUPT);
    jpeg_create_decompress(&s->cinfo);
    s->created = 1;
    jpeg_mem_src(&s->cinfo, data, (unsigned long)size);
    jpeg_save_markers(&s->cinfo, JPEG_COM, 0xFFFF);
    jpeg_read_header(&s->cinfo, TRUE);
    if (s->cinfo.num_components != 1 && s->cinfo.num_components != 3) return fail(r, TAVN_ERR_CORRUPT);
    if ((unsigned long long)s->cinfo.image_width * s->cinfo.image_height > tavn_pixel_limit())
        return fail(r, TAVN_ERR_TOOBIG);
    choose_output(r, &s->cinfo);
    jpeg_start_decompress(&s->cinfo);
    if (r->f.bitCount == 4 || r->f.bitCount == 16) {
        s->row = (BYTE *)malloc((size_t)s->cinfo.output_width * s->cinfo.output_components);
        if (!s->row) return fail(r, TAVN_ERR_NOMEM);
    }
    r->f.width = (LONG)s->cinfo.output_width;
    r->f.height = (LONG)s->cinfo.output_height;
    r->f.components = (DWORD)s->cinfo.num_components;
    r->f.progressive = s->cinfo.progressive_mode ? 1 : 0;
    r->f.rowsDone = 0;
    keep_resolution(r, &s->cinfo);
    keep_comment(r, &s->cinfo);
    fill_palette(r, &s->cinfo);
    r->f.event = TAVN_EVT_HEADER;
    return TAVN_CONTINUE;
}

static void pack_row(const TavnRequest *r, const BYTE *in, BYTE *out, JDIMENSION width) {
    if (r->f.bitCount == 4) {
        for (JDIMENSION x = 0; x < width; x += 2)
            out[x / 2] = (BYTE)((in[x] << 4) | (x + 1 < width ? in[x + 1] & 15 : 0));
        return;
    }
    for (JDIMENSION x = 0; x < width; x++, in += 3) { /* 5-5-5, blue lowest */
        WORD v = (WORD)((in[0] >> 3) | ((in[1] >> 3) << 5) | ((in[2] >> 3) << 10));
        out[2 * x] = (BYTE)v;
        out[2 * x + 1] = (BYTE)(v >> 8);
    }
}

static int rows(TavnRequest *r) {
    DecodeState *s = (DecodeState *)r->f.state;
    if (!r->f.dibBits) return fail(r, TAVN_ERR_PARAM);
    if (setjmp(s->trap.back)) return fail(r, s->trap.outOfMemory ? TAVN_ERR_NOMEM : TAVN_ERR_CORRUPT);
    struct jpeg_decompress_struct *c = &s->cinfo;
    for (int n = 0; n < ROWS_PER_STEP && c->output_scanline < c->output_height; n++) {
        JDIMENSION y = c->output_scanline;
        BYTE *target = r->f.dibBits + (ptrdiff_t)(c->output_height - 1 - y) * r->f.dibStride;
        JSAMPROW row = s->row ? s->row : target;
        jpeg_read_scanlines(c, &row, 1);
        if (s->row) pack_row(r, s->row, target, c->output_width);
    }
    r->f.rowsDone = (LONG)c->output_scanline;
    if (c->output_scanline < c->output_height) {
        r->f.event = TAVN_EVT_ROWS;
        return TAVN_CONTINUE;
    }
    jpeg_finish_decompress(c);
    tavn_decode_free(r);
    r->f.event = TAVN_EVT_NONE;
    r->f.status = TAVN_OK;
    return TAVN_DONE;
}

int tavn_decode_step(TavnRequest *r, DWORD) {
    if (!r->f.state) return start(r);
    if (*(DWORD *)r->f.state != TAVN_STATE_DECODE) {
        r->f.status = TAVN_ERR_PARAM;
        return TAVN_FAILED;
    }
    return rows(r);
}
