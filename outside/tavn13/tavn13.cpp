/* The two entry points: identify a file image and run one step of a
   request. */
#include <stdlib.h>
#include <string.h>

#include "tavn13_internal.h"

static unsigned long long pixelLimit = 1ull << 28; /* 268 megapixels */

extern "C" unsigned long long tavn_set_pixel_limit(unsigned long long pixels) {
    unsigned long long old = pixelLimit;
    pixelLimit = pixels;
    return old;
}

unsigned long long tavn_pixel_limit(void) { return pixelLimit; }

static void trap_exit(j_common_ptr cinfo) {
    TavnErrorTrap *trap = (TavnErrorTrap *)cinfo->err;
    trap->outOfMemory = cinfo->err->msg_code == JERR_OUT_OF_MEMORY;
    longjmp(trap->back, 1);
}

/* Warnings (a damaged but decodable stream) are let pass, as djpeg does. */
static void trap_message(j_common_ptr) {}

void tavn_trap_errors(TavnErrorTrap *trap) {
    jpeg_std_error(&trap->pub);
    trap->pub.error_exit = trap_exit;
    trap->pub.output_message = trap_message;
    trap->outOfMemory = 0;
}

size_t tavn_input(const TavnRequest *r, const BYTE **data) {
    const BYTE *front = r->f.inFront, *rear = r->f.inRear;
    *data = front;
    return front && rear > front ? (size_t)(rear - front) : 0;
}

static void set_type(TavnRequest *r, const char *code) { memcpy(r->f.typeCode, code, 4); }

/* Reads a JPEG header to tell sequential from progressive and gray from
   colour; only 1- and 3-component streams are taken. */
static int identify_jpeg(TavnRequest *r, const BYTE *data, size_t size) {
    struct jpeg_decompress_struct cinfo;
    TavnErrorTrap trap;
    cinfo.err = &trap.pub;
    tavn_trap_errors(&trap);
    if (setjmp(trap.back)) {
        jpeg_destroy_decompress(&cinfo);
        r->f.status = trap.outOfMemory ? TAVN_ERR_NOMEM : TAVN_ERR_UNKNOWN;
        return 0;
    }
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, data, (unsigned long)size);
    jpeg_read_header(&cinfo, TRUE);
    int gray = cinfo.num_components == 1;
    int ok = gray || (cinfo.num_components == 3 && cinfo.jpeg_color_space == JCS_YCbCr) ||
             (cinfo.num_components == 3 && cinfo.jpeg_color_space == JCS_RGB);
    if (ok) {
        r->f.width = (LONG)cinfo.image_width;
        r->f.height = (LONG)cinfo.image_height;
        r->f.components = (DWORD)cinfo.num_components;
        r->f.progressive = jpeg_has_multiple_scans(&cinfo) ? 1 : 0;
        if (r->f.progressive)
            set_type(r, gray ? "PGRY" : "PROG");
        else
            set_type(r, gray ? "GRAY" : "JPEG");
    }
    jpeg_destroy_decompress(&cinfo);
    if (!ok) r->f.status = TAVN_ERR_UNKNOWN;
    return ok;
}

extern "C" int WINAPI TAVN_Identify(TavnRequest *r) {
    if (!r || r->f.size != TAVN_RECORD_SIZE || r->f.version != TAVN_VERSION) {
        if (r) r->f.status = TAVN_ERR_PARAM;
        return 0;
    }
    memset(r->f.typeCode, 0, sizeof r->f.typeCode);
    r->f.status = TAVN_OK;
    const BYTE *data;
    size_t size = tavn_input(r, &data);
    if (tavn_is_pic(data, size)) {
        /* The image inside is described when the password (if any) opens it. */
        const char *code = tavn_pic_locked(data) ? "PIC1" : "PIC0";
        LONG status = TAVN_OK;
        size_t jpegSize = 0;
        BYTE *jpeg = tavn_pic_open(data, size, r->f.password, &jpegSize, &status);
        if (jpeg) identify_jpeg(r, jpeg, jpegSize);
        free(jpeg);
        r->f.status = TAVN_OK;
        set_type(r, code);
        return 1;
    }
    if (size >= 4 && data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF) return identify_jpeg(r, data, size);
    r->f.status = TAVN_ERR_UNKNOWN;
    return 0;
}

/* Frees whatever a request left behind. */
static void abandon(TavnRequest *r) {
    if (!r->f.state) return;
    if (*(DWORD *)r->f.state == TAVN_STATE_DECODE)
        tavn_decode_free(r);
    else
        tavn_encode_free(r);
}


extern "C" int WINAPI TAVN_Execute(TavnRequest *r, DWORD code) {
    if (!r || r->f.size != TAVN_RECORD_SIZE || r->f.version != TAVN_VERSION) {
        if (r) r->f.status = TAVN_ERR_PARAM;
        return TAVN_FAILED;
    }
    switch (code) {
        case TAVN_RQ_DECODE:
        case TAVN_RQ_DECODE_MULTI: return tavn_decode_step(r, code);
        case TAVN_RQ_ENCODE:
        case TAVN_RQ_ENCODE_PROG: return tavn_encode_step(r, code);
        case TAVN_RQ_ABORT: abandon(r); return TAVN_DONE;
        default: r->f.status = TAVN_ERR_PARAM; return TAVN_FAILED;
    }
}
