/* Loading: the whole file into memory, identified and decoded by the codec
   at the depth that suits the file and the display, into a new DIB. */
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "kojpeg_hooks.h"

typedef struct TypeKind {
    char code[5];
    int kind;
    DWORD request;
} TypeKind;

/* Kind 0 the PIC kind, 1 sequential colour, 2 progressive, 3 sequential
   gray; only the progressive kind has a request code of its own. */
static const TypeKind TYPES[] = {
    {"PIC0", 0, TAVN_RQ_DECODE}, {"PIC1", 0, TAVN_RQ_DECODE}, {"JPEG", 1, TAVN_RQ_DECODE},
    {"PROG", 2, TAVN_RQ_DECODE_MULTI}, {"PGRY", 2, TAVN_RQ_DECODE_MULTI}, {"GRAY", 3, TAVN_RQ_DECODE},
};

static const TypeKind *type_kind(const char *code) {
    for (const TypeKind &t : TYPES)
        if (memcmp(t.code, code, 4) == 0) return &t;
    return NULL;
}

static DWORD output_mode(int grayFile, int forceRgb24) {
    if (forceRgb24) return TAVN_OUT_RGB24;
    if (grayFile) return TAVN_OUT_GRAY8;
    switch (kojpeg_display_bits()) {
        case 4: return TAVN_OUT_COLORS16;
        case 8: return TAVN_OUT_PALETTE8;
        case 15:
        case 16: return TAVN_OUT_RGB16;
        default: return TAVN_OUT_RGB24;
    }
}

/* dpi as pixels per metre (a metre is 10000/254 inches), rounded. */
static LONG pels_per_metre(DWORD dpi) { return (LONG)(((uint64_t)dpi * 10000 + 127) / 254); }

typedef struct Target {
    HGLOBAL handle;
    BITMAPINFOHEADER *header;
    WORD bpp; /* of the DIB: a 16-bit decode lands in a 24-bit DIB */
} Target;

/* The DIB for the header event; 0 when memory is short or the size is
   not one a DIB can hold. */
static int make_target(TavnRequest *r, Target *t) {
    WORD bpp = r->f.bitCount == 16 ? 24 : r->f.bitCount;
    DWORD colors = bpp <= 8 ? r->f.paletteSize : 0;
    uint64_t stride = (((uint64_t)r->f.width * bpp + 31) / 32) * 4;
    uint64_t image = stride * (uint64_t)r->f.height;
    uint64_t total = sizeof(BITMAPINFOHEADER) + colors * sizeof(RGBQUAD) + image;
    if (r->f.width <= 0 || r->f.height <= 0 || image > 0x7FFFFFFF || total > 0x7FFFFFFF) return 0;
    /* Not zero-filled: the codec writes every row; only the header, the
       table and the padding at the row ends are cleared here. */
    t->handle = GlobalAlloc(GMEM_MOVEABLE, (size_t)total);
    if (!t->handle) return 0;
    t->header = (BITMAPINFOHEADER *)GlobalLock(t->handle);
    t->bpp = bpp;
    BITMAPINFOHEADER *h = t->header;
    memset(h, 0, sizeof *h + colors * sizeof(RGBQUAD));
    BYTE *bits = (BYTE *)(h + 1) + colors * sizeof(RGBQUAD);
    size_t used = ((size_t)r->f.width * bpp + 7) / 8;
    if (used < stride)
        for (LONG y = 0; y < r->f.height; y++) memset(bits + (size_t)y * stride + used, 0, (size_t)stride - used);
    h->biSize = sizeof *h;
    h->biWidth = r->f.width;
    h->biHeight = r->f.height;
    h->biPlanes = 1;
    h->biBitCount = bpp;
    h->biCompression = BI_RGB;
    h->biSizeImage = (DWORD)image;
    h->biXPelsPerMeter = pels_per_metre(r->f.dpiX);
    h->biYPelsPerMeter = pels_per_metre(r->f.dpiY);
    h->biClrUsed = colors;
    r->f.dibBits = (BYTE *)(h + 1) + colors * sizeof(RGBQUAD);
    r->f.dibStride = (LONG)stride;
    return 1;
}

/* A 16-bit decode wrote 5-5-5 pairs at the start of each 24-bit row;
   spread them out from the right, keeping 5 significant bits. */
static void widen_rows(const TavnRequest *r) {
    for (LONG y = 0; y < r->f.height; y++) {
        BYTE *row = r->f.dibBits + (size_t)y * r->f.dibStride;
        for (LONG x = r->f.width - 1; x >= 0; x--) {
            WORD v = (WORD)(row[2 * x] | (row[2 * x + 1] << 8));
            row[3 * x] = (BYTE)((v & 31) << 3);
            row[3 * x + 1] = (BYTE)(((v >> 5) & 31) << 3);
            row[3 * x + 2] = (BYTE)(((v >> 10) & 31) << 3);
        }
    }
}

static void report_status(LONG status) {
    if (status == TAVN_ERR_NOCODEC) return; /* reported where it was found */
    kojpeg_message(status == TAVN_ERR_NOMEM || status == TAVN_ERR_TOOBIG ? IDS_KJ_NO_MEMORY : IDS_KJ_CORRUPTED);
}

static void abandon(Target *t) {
    if (kojpeg_request()->f.state) kojpeg_codec_execute(TAVN_RQ_ABORT);
    if (t->handle) {
        GlobalUnlock(t->handle);
        GlobalFree(t->handle);
    }
    t->handle = NULL;
}

/* Runs the decode request to its end; the DIB in *out. */
static int run_decode(DWORD request, HGLOBAL *out) {
    static RGBQUAD palette[256];
    TavnRequest *r = kojpeg_request();
    r->f.palette = palette;
    Target t = {NULL, NULL, 0};
    for (;;) {
        int rc = kojpeg_codec_execute(request);
        if (rc == TAVN_DONE) break;
        if (rc != TAVN_CONTINUE) {
            report_status(r->f.status);
            abandon(&t);
            return 0;
        }
        if (r->f.event == TAVN_EVT_HEADER && !t.handle && !make_target(r, &t)) {
            kojpeg_message(IDS_KJ_NO_MEMORY);
            abandon(&t);
            return 0;
        }
    }
    if (!t.handle) {
        report_status(TAVN_ERR_CORRUPT);
        return 0;
    }
    if (t.bpp <= 8) memcpy(t.header + 1, palette, t.header->biClrUsed * sizeof(RGBQUAD));
    if (r->f.bitCount == 16) widen_rows(r);
    GlobalUnlock(t.handle);
    *out = t.handle;
    return 1;
}

extern "C" int kojpeg_decode(const BYTE *data, size_t size, int forceRgb24, HGLOBAL *out, int *bitCount) {
    *out = NULL;
    TavnRequest *r = kojpeg_request();
    r->f.inStart = r->f.inFront = (BYTE *)data;
    r->f.inRear = r->f.inEnd = (BYTE *)data + size;
    kojpeg_clear_request();
    int rc = kojpeg_codec_identify();
    if (r->f.status == TAVN_ERR_NOCODEC) return 0;
    const TypeKind *type = rc == 1 ? type_kind(r->f.typeCode) : NULL;
    if (!type) {
        kojpeg_message(IDS_KJ_NOT_RECOGNIZED);
        return 0;
    }
    if (memcmp(r->f.typeCode, "PIC1", 4) == 0) {
        /* A locked PIC: with the password the codec can also describe it. */
        char password[TAVN_PASSWORD_MAX + 1] = "";
        if (kojpeg_load_password(password)) {
            memcpy(r->f.password, password, sizeof password);
            kojpeg_codec_identify();
        }
    }
    r->f.outputMode = output_mode(r->f.components == 1, forceRgb24);
    int ok = run_decode(type->request, out);
    if (ok) *bitCount = r->f.bitCount == 16 ? 24 : r->f.bitCount;
    memset(r->f.password, 0, sizeof r->f.password);
    r->f.inStart = r->f.inFront = r->f.inRear = r->f.inEnd = NULL;
    return ok;
}

/* The whole file in a new malloc block. */
static BYTE *read_whole_file(const char *path, size_t *size) {
    FILE *f = fopen(path, "rb");
    if (!f) {
        kojpeg_message(IDS_KJ_UNABLE_TO_OPEN);
        return NULL;
    }
    long length = -1;
    if (fseek(f, 0, SEEK_END) == 0) length = ftell(f);
    if (length < 0 || fseek(f, 0, SEEK_SET) != 0) {
        fclose(f);
        kojpeg_message(IDS_KJ_READ_ERROR);
        return NULL;
    }
    BYTE *data = (BYTE *)malloc(length ? (size_t)length : 1);
    if (!data) {
        fclose(f);
        kojpeg_message(IDS_KJ_MEMORY_ERROR);
        return NULL;
    }
    if (fread(data, 1, (size_t)length, f) != (size_t)length) {
        fclose(f);
        free(data);
        kojpeg_message(IDS_KJ_READ_ERROR);
        return NULL;
    }
    fclose(f);
    *size = (size_t)length;
    return data;
}

static void report_info(HGLOBAL dib, int bitCount, size_t fileSize) {
    const BITMAPINFOHEADER *h = (const BITMAPINFOHEADER *)GlobalLock(dib);
    host_info_word(8, h->biWidth);
    host_info_word(12, h->biHeight);
    host_info_word(16, bitCount < 15);
    host_info_word(24, (int)h->biClrUsed);
    GlobalUnlock(dib);
    host_info_word(20, 1);
    host_info_word(28, 0);
    host_info_word(36, 1);
    host_info_word(40, 24);
    host_info_word(44, 0);
    host_info_word(48, 1);
    host_info_long(32, (long)fileSize);
    host_info_text(52, "Orvanta");
    host_info_done();
    host_progress_step(100);
}

extern "C" int WINAPI RQ_Fmt_Load(HMODULE host, LPSTR path, HGLOBAL *out) {
    host_bind(host);
    host_progress_range(0, 100);
    if (!out) return 0;
    *out = NULL;
    size_t size = 0;
    BYTE *data = path ? read_whole_file(path, &size) : NULL;
    if (!data) return 0;
    host_progress_step(50);
    int bitCount = 0;
    int ok = kojpeg_decode(data, size, 0, out, &bitCount);
    if (ok) report_info(*out, bitCount, size);
    free(data);
    return ok;
}

extern "C" int WINAPI FOR_LoadJPG(LPSTR path, HGLOBAL *out) {
    return RQ_Fmt_Load((HMODULE)kojpeg_instance(), path, out);
}

extern "C" int WINAPI MEM_LoadJPG(const BYTE *buffer, DWORD size, HGLOBAL *out) {
    if (!out) return 0;
    *out = NULL;
    if (!buffer) return 0;
    int bitCount = 0;
    return kojpeg_decode(buffer, size, 1, out, &bitCount);
}
