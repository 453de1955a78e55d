/* Encoding a DIB as sequential or progressive JPEG, or as the PIC kind,
   and handing the bytes out through the caller's output queue. */
#include <stdlib.h>
#include <string.h>

#include "tavn13_internal.h"

/* The caller's factors scale the standard tables of the JPEG standard
   (Annex K): entry = standard entry x factor / 40, rounded, kept within
   1..255.  Factor 40 gives the standard tables themselves; a smaller
   factor gives finer steps (less compression, higher quality), a larger
   one coarser steps (more compression, lower quality).  The quality
   levels run from factor 8 (a fifth of the standard steps) to 90. */
static const unsigned int STD_LUMINANCE[64] = {
    16, 11, 10, 16, 24,  40,  51,  61,  12, 12, 14, 19, 26,  58,  60,  55,
    14, 13, 16, 24, 40,  57,  69,  56,  14, 17, 22, 29, 51,  87,  80,  62,
    18, 22, 37, 56, 68,  109, 103, 77,  24, 35, 55, 64, 81,  104, 113, 92,
    49, 64, 78, 87, 103, 121, 120, 101, 72, 92, 95, 98, 112, 100, 103, 99};
static const unsigned int STD_CHROMINANCE[64] = {
    17, 18, 24, 47, 99, 99, 99, 99, 18, 21, 26, 66, 99, 99, 99, 99,
    24, 26, 56, 99, 99, 99, 99, 99, 47, 66, 99, 99, 99, 99, 99, 99,
    99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99,
    99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99};
#define FACTOR_UNIT 40

typedef struct EncodeState {
    DWORD tag;
    BYTE *out;      /* the finished file image */
    size_t size, sent;
} EncodeState;

typedef struct EncodeJob {
    struct jpeg_compress_struct cinfo;
    TavnErrorTrap trap;
    unsigned char *mem;
    unsigned long memSize;
    BYTE *row;
} EncodeJob;

void tavn_encode_free(TavnRequest *r) {
    EncodeState *s = (EncodeState *)r->f.state;
    if (!s) return;
    free(s->out);
    free(s);
    r->f.state = NULL;
}

static int fail(TavnRequest *r, LONG status) {
    r->f.status = status;
    tavn_encode_free(r);
    return TAVN_FAILED;
}

/* The DIB as the encoder reads it. */
typedef struct DibView {
    const BYTE *bits;
    const RGBQUAD *colors;
    LONG width, height;
    int bottomUp;
    WORD bpp;
    size_t stride;
    int gray;
} DibView;

static int view_dib(const BITMAPINFOHEADER *h, DibView *v) {
    if (!h || h->biSize < 40 || h->biPlanes != 1 || h->biCompression != BI_RGB) return 0;
    WORD bpp = h->biBitCount;
    if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 24 && bpp != 32) return 0;
    if (h->biWidth <= 0 || h->biWidth > 65500 || h->biHeight == 0 || h->biHeight < -65500 || h->biHeight > 65500)
        return 0;
    DWORD colors = 0;
    if (bpp <= 8) {
        colors = h->biClrUsed ? h->biClrUsed : (1u << bpp);
        if (colors > (1u << bpp)) return 0;
    }
    v->width = h->biWidth;
    v->bottomUp = h->biHeight > 0;
    v->height = v->bottomUp ? h->biHeight : -h->biHeight;
    v->bpp = bpp;
    v->stride = (((size_t)v->width * bpp + 31) / 32) * 4;
    v->colors = (const RGBQUAD *)((const BYTE *)h + h->biSize);
    v->bits = (const BYTE *)(v->colors + colors);
    /* An image of gray table entries is coded with one component. */
    v->gray = bpp <= 8;
    for (DWORD i = 0; i < colors && v->gray; i++)
        v->gray = v->colors[i].rgbRed == v->colors[i].rgbGreen && v->colors[i].rgbGreen == v->colors[i].rgbBlue;
    return 1;
}

static BYTE index_at(const BYTE *row, WORD bpp, LONG x) {
    if (bpp == 8) return row[x];
    if (bpp == 4) return (BYTE)((row[x / 2] >> ((x & 1) ? 0 : 4)) & 15);
    return (BYTE)((row[x / 8] >> (7 - (x & 7))) & 1);
}

/* Row y from the top as gray or red, green, blue samples. */
static void read_row(const DibView *v, LONG y, BYTE *out) {
    const BYTE *row = v->bits + (size_t)(v->bottomUp ? v->height - 1 - y : y) * v->stride;
    if (v->bpp == 24 || v->bpp == 32) {
        int step = v->bpp / 8;
        for (LONG x = 0; x < v->width; x++, row += step, out += 3) {
            out[0] = row[2];
            out[1] = row[1];
            out[2] = row[0];
        }
        return;
    }
    for (LONG x = 0; x < v->width; x++) {
        const RGBQUAD *c = &v->colors[index_at(row, v->bpp, x)];
        if (v->gray) {
            *out++ = c->rgbRed;
        } else {
            *out++ = c->rgbRed;
            *out++ = c->rgbGreen;
            *out++ = c->rgbBlue;
        }
    }
}

static void set_tables(struct jpeg_compress_struct *c, DWORD luminance, DWORD chrominance) {
    unsigned int lum[64], chr[64];
    DWORD lf = luminance < 1 ? 1 : luminance > 255 ? 255 : luminance;
    DWORD cf = chrominance < 1 ? 1 : chrominance > 255 ? 255 : chrominance;
    for (int i = 0; i < 64; i++) {
        lum[i] = (STD_LUMINANCE[i] * lf + FACTOR_UNIT / 2) / FACTOR_UNIT;
        chr[i] = (STD_CHROMINANCE[i] * cf + FACTOR_UNIT / 2) / FACTOR_UNIT;
    }
    /* Scale 100 keeps the entries; baseline keeps them within 1..255. */
    jpeg_add_quant_table(c, 0, lum, 100, TRUE);
    jpeg_add_quant_table(c, 1, chr, 100, TRUE);
}

static void set_subsampling(struct jpeg_compress_struct *c, DWORD subsample) {
    if (c->num_components != 3) return;
    c->comp_info[0].h_samp_factor = subsample == TAVN_SUB_111 ? 1 : 2;
    c->comp_info[0].v_samp_factor = subsample == TAVN_SUB_411 ? 2 : 1;
    for (int i = 1; i < 3; i++) c->comp_info[i].h_samp_factor = c->comp_info[i].v_samp_factor = 1;
}

/* The caller's scan list as libjpeg's; a gray image keeps only what
   touches its one component.  0 when a scan is malformed. */
static int set_scans(TavnRequest *r, struct jpeg_compress_struct *c, jpeg_scan_info *scans) {
    DWORD count = r->f.scanCount;
    if (count == 0 || count > TAVN_MAX_SCANS) return 0;
    int n = 0;
    for (DWORD i = 0; i < count; i++) {
        const TavnScan *s = &r->f.scans[i];
        if (s->count < 1 || s->count > 4) return 0;
        jpeg_scan_info *t = &scans[n];
        t->comps_in_scan = 0;
        for (int k = 0; k < s->count; k++) {
            if (s->component[k] > 2) return 0;
            if (s->component[k] < c->num_components) t->component_index[t->comps_in_scan++] = s->component[k];
        }
        if (t->comps_in_scan == 0) continue;
        t->Ss = s->ss;
        t->Se = s->se;
        t->Ah = s->ah;
        t->Al = s->al;
        n++;
    }
    if (n == 0) return 0;
    c->scan_info = scans;
    c->num_scans = n;
    return 1;
}

static void free_job(EncodeJob *job) {
    jpeg_destroy_compress(&job->cinfo);
    free(job->mem);
    free(job->row);
}

/* Codes the whole image into memory; status set on failure. */
static int code_image(TavnRequest *r, const DibView *v, int progressive, BYTE **out, size_t *size) {
    EncodeJob *job = (EncodeJob *)calloc(1, sizeof *job);
    jpeg_scan_info *scans = (jpeg_scan_info *)calloc(TAVN_MAX_SCANS, sizeof *scans);
    if (!job || !scans) {
        free(job);
        free(scans);
        r->f.status = TAVN_ERR_NOMEM;
        return 0;
    }
    job->cinfo.err = &job->trap.pub;
    tavn_trap_errors(&job->trap);
    if (setjmp(job->trap.back)) {
        r->f.status = job->trap.outOfMemory ? TAVN_ERR_NOMEM : TAVN_ERR_PARAM;
        free_job(job);
        free(job);
        free(scans);
        return 0;
    }
    jpeg_create_compress(&job->cinfo);
    struct jpeg_compress_struct *c = &job->cinfo;
    jpeg_mem_dest(c, &job->mem, &job->memSize);
    c->image_width = (JDIMENSION)v->width;
    c->image_height = (JDIMENSION)v->height;
    c->input_components = v->gray ? 1 : 3;
    c->in_color_space = v->gray ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(c);
    set_tables(c, r->f.luminance, r->f.chrominance);
    set_subsampling(c, r->f.subsample);
    if (progressive && !set_scans(r, c, scans)) {
        r->f.status = TAVN_ERR_PARAM;
        free_job(job);
        free(job);
        free(scans);
        return 0;
    }
    job->row = (BYTE *)malloc((size_t)v->width * 3);
    if (!job->row) ERREXIT(c, JERR_OUT_OF_MEMORY);
    jpeg_start_compress(c, TRUE);
    size_t commentLength = strnlen(r->f.comment, TAVN_COMMENT_MAX);
    if (commentLength) jpeg_write_marker(c, JPEG_COM, (const JOCTET *)r->f.comment, (unsigned int)commentLength);
    for (LONG y = 0; y < v->height; y++) {
        read_row(v, y, job->row);
        JSAMPROW row = job->row;
        jpeg_write_scanlines(c, &row, 1);
    }
    jpeg_finish_compress(c);
    *out = job->mem;
    *size = job->memSize;
    job->mem = NULL;
    free_job(job);
    free(job);
    free(scans);
    return 1;
}

static int start(TavnRequest *r, DWORD code) {
    DibView v;
    if (!view_dib(r->f.dibHeader, &v)) {
        r->f.status = TAVN_ERR_PARAM;
        return TAVN_FAILED;
    }
    EncodeState *s = (EncodeState *)calloc(1, sizeof *s);
    if (!s) {
        r->f.status = TAVN_ERR_NOMEM;
        return TAVN_FAILED;
    }
    s->tag = TAVN_STATE_ENCODE;
    r->f.state = s;
    BYTE *jpeg;
    size_t size;
    if (!code_image(r, &v, code == TAVN_RQ_ENCODE_PROG, &jpeg, &size)) return fail(r, r->f.status);
    if (r->f.pic && code == TAVN_RQ_ENCODE) {
        char password[TAVN_PASSWORD_MAX + 1];
        memcpy(password, r->f.password, TAVN_PASSWORD_MAX);
        password[TAVN_PASSWORD_MAX] = '\0';
        s->out = tavn_pic_wrap(jpeg, size, password, &s->size);
        free(jpeg);
        if (!s->out) return fail(r, TAVN_ERR_NOMEM);
    } else {
        s->out = jpeg;
        s->size = size;
    }
    r->f.outputBytes = 0;
    return TAVN_CONTINUE;
}

/* Moves what fits from the coded image into the output queue. */
static int deliver(TavnRequest *r) {
    EncodeState *s = (EncodeState *)r->f.state;
    if (!r->f.outStart || !r->f.outRear || r->f.outEnd < r->f.outRear) return fail(r, TAVN_ERR_PARAM);
    size_t room = (size_t)(r->f.outEnd - r->f.outRear);
    size_t left = s->size - s->sent;
    size_t n = left < room ? left : room;
    memcpy(r->f.outRear, s->out + s->sent, n);
    r->f.outRear += n;
    s->sent += n;
    r->f.outputBytes = (DWORD)s->sent;
    if (s->sent == s->size) {
        tavn_encode_free(r);
        r->f.status = TAVN_OK;
        r->f.event = TAVN_EVT_NONE;
        return TAVN_DONE;
    }
    r->f.event = r->f.outRear == r->f.outEnd ? TAVN_EVT_QUEUE_FULL : TAVN_EVT_OUTPUT;
    return TAVN_CONTINUE;
}

int tavn_encode_step(TavnRequest *r, DWORD code) {
    if (!r->f.state) {
        int rc = start(r, code);
        if (rc != TAVN_CONTINUE) return rc;
    } else if (*(DWORD *)r->f.state != TAVN_STATE_ENCODE) {
        r->f.status = TAVN_ERR_PARAM;
        return TAVN_FAILED;
    }
    return deliver(r);
}
