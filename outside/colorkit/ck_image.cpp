// Opening colorkit's input and building its output.
#include "ck_internal.h"

// More than a 32-bit process could hand out in one block.
static const uint64_t kMaxBlock = 0x7FFFFFFF;

extern "C" int ck_open(HGLOBAL dib, int allow8, CkImage *img) {
    memset(img, 0, sizeof *img);
    if (!zyn_image_open(dib, &img->src)) return 0;
    WORD bits = img->src.bitCount;
    if (bits != 24 && bits != 32 && !(allow8 && bits == 8)) {
        zyn_image_close(&img->src);
        return 0;
    }
    img->bytes = bits / 8;
    if (bits == 8) {
        DWORD n = img->src.colors < 256 ? img->src.colors : 256;
        memcpy(img->table, img->src.table, n * sizeof(RGBQUAD));
    }
    return 1;
}

extern "C" void ck_close(CkImage *img) { zyn_image_close(&img->src); }

extern "C" int ck_new(const CkImage *img, CkOut *out) {
    memset(out, 0, sizeof *out);
    out->bytes = img->bytes == 4 ? 4 : 3;
    uint64_t stride, bytes;
    WORD bits = (WORD)(out->bytes * 8);
    if (!zyn_dib_stride(img->src.width, bits, &stride) ||
        !zyn_dib_packed_size(img->src.width, img->src.height, bits, &bytes) ||
        bytes > kMaxBlock - sizeof(BITMAPINFOHEADER))
        return 0;
    out->handle = GlobalAlloc(GHND, sizeof(BITMAPINFOHEADER) + (size_t)bytes);
    BYTE *p = out->handle ? static_cast<BYTE *>(GlobalLock(out->handle)) : nullptr;
    if (!p) {
        if (out->handle) GlobalFree(out->handle);
        out->handle = nullptr;
        return 0;
    }
    BITMAPINFOHEADER h = {};
    h.biSize = sizeof h;
    h.biWidth = img->src.width;
    h.biHeight = img->src.height;
    h.biPlanes = 1;
    h.biBitCount = bits;
    h.biCompression = BI_RGB;
    h.biSizeImage = (DWORD)bytes;
    memcpy(p, &h, sizeof h);
    out->bits = p + sizeof h;
    out->stride = (size_t)stride;
    return 1;
}

extern "C" HGLOBAL ck_finish(CkImage *img, CkOut *out) {
    GlobalUnlock(out->handle);
    ck_close(img);
    return out->handle;
}

extern "C" void ck_fail(CkImage *img, CkOut *out) {
    if (out->handle) {
        GlobalUnlock(out->handle);
        GlobalFree(out->handle);
    }
    ck_close(img);
}
