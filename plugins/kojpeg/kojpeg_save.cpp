/* Saving: the options settled, the request filled, the codec run and its
   output queue written to the file as it fills. */
#include <ctype.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "kojpeg_hooks.h"

#define QUEUE_BYTES 65536
static const char DEFAULT_COMMENT[] = "Compression by Orvanta Imaging Corp.";

static BYTE *outputQueue;

/* JPEG when the lower-cased name contains ".jpg"; anything else is the
   codec's PIC kind. */
static int kind_of_name(const char *path) {
    char lower[8] = "";
    for (const char *p = path; *p; p++) {
        if (*p != '.') continue;
        size_t i = 0;
        for (; i < 4 && p[i]; i++) lower[i] = (char)tolower((unsigned char)p[i]);
        lower[i] = '\0';
        if (strcmp(lower, ".jpg") == 0) return KIND_SEQUENTIAL;
    }
    return KIND_PIC;
}

/* Locks a DIB whose header, table and rows lie inside its block. */
static const BITMAPINFOHEADER *open_dib(HGLOBAL dib) {
    if (!dib) return NULL;
    const BITMAPINFOHEADER *h = (const BITMAPINFOHEADER *)GlobalLock(dib);
    if (!h) return NULL;
    uint64_t block = GlobalSize(dib), need = 0;
    if (block >= sizeof *h && h->biSize >= sizeof *h && h->biSize <= block && h->biWidth > 0 &&
        h->biHeight != 0 && h->biHeight != INT32_MIN && h->biBitCount <= 32) {
        uint64_t colors = h->biBitCount <= 8 ? (h->biClrUsed ? h->biClrUsed : 1u << h->biBitCount) : 0;
        uint64_t rows = h->biHeight < 0 ? (uint64_t)-(int64_t)h->biHeight : (uint64_t)h->biHeight;
        uint64_t stride = (((uint64_t)h->biWidth * h->biBitCount + 31) / 32) * 4;
        need = h->biSize + colors * 4 + stride * rows;
        if (colors <= 256 && need <= block) return h;
    }
    GlobalUnlock(dib);
    return NULL;
}

/* The request of a save: clears it (but the queues) and fills in the
   options of the target kind.  0 when the scan script cannot be had. */
static int fill_request(int kind, const JpegOptions *o, const BITMAPINFOHEADER *dib, DWORD *code) {
    TavnRequest *r = kojpeg_request();
    kojpeg_clear_request();
    r->f.luminance = o->luminance;
    r->f.chrominance = o->chrominance;
    r->f.subsample = o->subsample <= TAVN_SUB_411 ? o->subsample : TAVN_SUB_411;
    r->f.dibHeader = dib;
    r->f.pic = kind == KIND_PIC;
    if (kind == KIND_PIC && o->wantPassword) memcpy(r->f.password, o->password, TAVN_PASSWORD_MAX);
    size_t n = strnlen(o->comment, TAVN_COMMENT_MAX);
    if (n)
        memcpy(r->f.comment, o->comment, n);
    else
        memcpy(r->f.comment, DEFAULT_COMMENT, sizeof DEFAULT_COMMENT);
    *code = TAVN_RQ_ENCODE;
    if (kind == KIND_PROGRESSIVE) {
        *code = TAVN_RQ_ENCODE_PROG;
        int level = o->scriptLevel <= 6 ? (int)o->scriptLevel : 1;
        if (!script_load(level, r)) return 0;
    }
    return 1;
}

static int queue_ready(void) {
    TavnRequest *r = kojpeg_request();
    if (!outputQueue) outputQueue = (BYTE *)malloc(QUEUE_BYTES);
    if (!outputQueue) {
        r->f.status = TAVN_ERR_NOMEM;
        return 0;
    }
    r->f.outStart = r->f.outFront = r->f.outRear = outputQueue;
    r->f.outEnd = outputQueue + QUEUE_BYTES;
    return 1;
}

/* Writes what the queue holds and empties it; 0 on a write error. */
static int drain(FILE *f) {
    TavnRequest *r = kojpeg_request();
    size_t n = (size_t)(r->f.outRear - r->f.outFront);
    int ok = n == 0 || fwrite(r->f.outFront, 1, n, f) == n;
    r->f.outFront = r->f.outRear = r->f.outStart;
    return ok;
}

static void report_save_status(LONG status) {
    if (status == TAVN_ERR_NOCODEC) return;
    kojpeg_message(status == TAVN_ERR_NOMEM ? IDS_KJ_NO_MEMORY : IDS_KJ_CORRUPTED);
}

/* Runs the encode into the file; 1 when the codec finished and every byte
   was written. */
static int run_encode(DWORD code, FILE *f) {
    TavnRequest *r = kojpeg_request();
    for (;;) {
        int rc = kojpeg_codec_execute(code);
        if (rc != TAVN_CONTINUE && rc != TAVN_DONE) {
            report_save_status(r->f.status);
            return 0;
        }
        if (!drain(f)) {
            if (r->f.state) kojpeg_codec_execute(TAVN_RQ_ABORT);
            kojpeg_message(IDS_KJ_WRITE_ERROR);
            return 0;
        }
        if (rc == TAVN_DONE) return 1;
    }
}

extern "C" int WINAPI RQ_Fmt_Save(HMODULE host, LPSTR path, HGLOBAL dib, WORD, WORD level, WORD mode) {
    host_bind(host);
    if (!path) return 0;
    int kind = kind_of_name(path);
    JpegOptions o;
    if (!options_settle(&kind, level, mode, &o)) return 0;
    const BITMAPINFOHEADER *h = open_dib(dib);
    if (!h) {
        kojpeg_message(IDS_KJ_CORRUPTED);
        return 0;
    }
    FILE *f = fopen(path, "wb");
    if (!f) {
        GlobalUnlock(dib);
        kojpeg_message(IDS_KJ_UNABLE_TO_OPEN);
        return 0;
    }
    DWORD code;
    int ok = 0;
    if (!fill_request(kind, &o, h, &code))
        kojpeg_message(IDS_KJ_CORRUPTED);
    else if (!queue_ready())
        kojpeg_message(IDS_KJ_NO_MEMORY);
    else
        ok = run_encode(code, f);
    if (fclose(f) != 0 && ok) {
        kojpeg_message(IDS_KJ_WRITE_ERROR);
        ok = 0;
    }
    GlobalUnlock(dib);
    kojpeg_request()->f.dibHeader = NULL;
    if (!ok) {
        remove(path); /* no half-written file */
        kojpeg_codec_unload();
    }
    return ok;
}

extern "C" int WINAPI FOR_SaveJPG(LPSTR path, HGLOBAL dib, WORD a, WORD b, WORD c) {
    return RQ_Fmt_Save((HMODULE)kojpeg_instance(), path, dib, a, b, c);
}

extern "C" int WINAPI MEM_SaveJPG(BYTE *buffer, DWORD *size, HGLOBAL dib, WORD level) {
    if (!size) return 0;
    DWORD room = *size;
    *size = 0;
    if (!buffer || room == 0) return 0;
    JpegOptions o;
    int kind = KIND_SEQUENTIAL;
    options_settle(&kind, level < KOJPEG_LEVELS ? level : KOJPEG_LEVELS - 1, 0xFFFF, &o);
    const BITMAPINFOHEADER *h = open_dib(dib);
    if (!h) return 0;
    DWORD code;
    fill_request(kind, &o, h, &code);
    TavnRequest *r = kojpeg_request();
    r->f.outStart = r->f.outFront = r->f.outRear = buffer;
    r->f.outEnd = buffer + room;
    int rc;
    do {
        rc = kojpeg_codec_execute(code);
    } while (rc == TAVN_CONTINUE && r->f.event != TAVN_EVT_QUEUE_FULL);
    if (rc == TAVN_CONTINUE && r->f.state) kojpeg_codec_execute(TAVN_RQ_ABORT);
    /* Output that filled the whole buffer may have been cut short. */
    if (rc == TAVN_DONE && r->f.outRear < r->f.outEnd) *size = (DWORD)(r->f.outRear - r->f.outStart);
    r->f.outStart = r->f.outFront = r->f.outRear = r->f.outEnd = NULL;
    r->f.dibHeader = NULL;
    GlobalUnlock(dib);
    return *size != 0;
}
