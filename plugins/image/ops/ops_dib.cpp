// Opening a source DIB and building a result.  The header, table and
// pixel places come from the DIB core (ZYN_DIB_LockPtrs, ZYN_DIB_NumColors),
// never from biSizeImage / height or biClrUsed alone; every size that
// reaches an allocation is checked in 64 bits.
#include <string.h>

#include "ops_internal.h"

namespace {

const uint64_t kMax32 = 0xFFFFFFFFu;

bool depth_supported(WORD bits) { return bits == 1 || bits == 4 || bits == 8 || bits == 24 || bits == 32; }

}  // namespace

extern "C" int img_stride(LONG width, WORD bitCount, size_t *stride) {
    if (width <= 0) return 0;
    uint64_t s = (((uint64_t)bitCount * (uint64_t)width + 31) >> 5) * 4;
    if (s > (uint64_t)SIZE_MAX) return 0;
    *stride = (size_t)s;
    return 1;
}

extern "C" int img_source_open(HGLOBAL dib, ImgSource *src) {
    memset(src, 0, sizeof *src);
    BITMAPINFOHEADER *h;
    RGBQUAD *table;
    BYTE *bits;
    if (!dib || !ZYN_DIB_LockPtrs(dib, &h, &table, &bits)) return IMG_BAD_IMAGE;
    size_t stride = 0;
    uint64_t offset = (uint64_t)(bits - reinterpret_cast<BYTE *>(h));
    bool ok = h->biSize >= sizeof(BITMAPINFOHEADER) && h->biCompression == BI_RGB && h->biWidth > 0 &&
              h->biHeight > 0 && depth_supported(h->biBitCount) && img_stride(h->biWidth, h->biBitCount, &stride);
    // Every row is read, whatever biSizeImage claims.
    if (ok) {
        uint64_t rows = (uint64_t)stride * (uint64_t)h->biHeight;  // < 2^47 * 2^31
        ok = stride <= kMax32 && rows <= (uint64_t)GlobalSize(dib) - offset;
    }
    if (!ok) {
        GlobalUnlock(dib);
        return IMG_BAD_IMAGE;
    }
    src->handle = dib;
    src->header = h;
    src->table = table;
    src->colors = ZYN_DIB_NumColors(h);
    src->bits = bits;
    src->stride = stride;
    src->width = h->biWidth;
    src->height = h->biHeight;
    src->bitCount = h->biBitCount;
    return IMG_OK;
}

extern "C" void img_source_close(ImgSource *src) {
    if (src->handle) GlobalUnlock(src->handle);
    memset(src, 0, sizeof *src);
}

extern "C" int img_target_new(const BITMAPINFOHEADER *model, LONG width, LONG height, WORD bitCount, DWORD colors,
                              ImgTarget *out) {
    memset(out, 0, sizeof *out);
    size_t stride;
    if (width < 1 || height < 1 || width > IMG_MAX_SIDE || height > IMG_MAX_SIDE || colors > 0xFFFF ||
        !img_stride(width, bitCount, &stride))
        return IMG_NO_MEMORY;
    uint64_t pixels = (uint64_t)stride * (uint64_t)height;
    uint64_t block = pixels + sizeof(BITMAPINFOHEADER) + (uint64_t)colors * sizeof(RGBQUAD);
    if (pixels > kMax32 || block > (uint64_t)SIZE_MAX) return IMG_NO_MEMORY;
    HGLOBAL handle = GlobalAlloc(GHND, (size_t)block);
    BYTE *p = handle ? static_cast<BYTE *>(GlobalLock(handle)) : nullptr;
    if (!p) {
        if (handle) GlobalFree(handle);
        return IMG_NO_MEMORY;
    }
    BITMAPINFOHEADER *h = reinterpret_cast<BITMAPINFOHEADER *>(p);
    h->biSize = sizeof *h;
    h->biWidth = width;
    h->biHeight = height;
    h->biPlanes = 1;
    h->biBitCount = bitCount;
    h->biCompression = BI_RGB;
    h->biSizeImage = (DWORD)pixels;
    if (model) {
        h->biXPelsPerMeter = model->biXPelsPerMeter;
        h->biYPelsPerMeter = model->biYPelsPerMeter;
    }
    h->biClrUsed = colors;
    h->biClrImportant = model && model->biClrImportant <= colors ? model->biClrImportant : 0;
    out->handle = handle;
    out->header = h;
    out->table = reinterpret_cast<RGBQUAD *>(p + sizeof *h);
    out->bits = p + sizeof *h + (size_t)colors * sizeof(RGBQUAD);
    out->stride = stride;
    out->width = width;
    out->height = height;
    out->bitCount = bitCount;
    return IMG_OK;
}

extern "C" int img_target_like(const ImgSource *src, LONG width, LONG height, ImgTarget *out) {
    DWORD colors = src->bitCount <= 8 ? src->colors : 0;
    int status = img_target_new(src->header, width, height, src->bitCount, colors, out);
    if (status == IMG_OK && colors) memcpy(out->table, src->table, (size_t)colors * sizeof(RGBQUAD));
    return status;
}

extern "C" int img_target_gray(const ImgSource *src, LONG width, LONG height, ImgTarget *out) {
    int status = img_target_new(src->header, width, height, 8, 256, out);
    if (status != IMG_OK) return status;
    for (int i = 0; i < 256; i++) out->table[i] = RGBQUAD{(BYTE)i, (BYTE)i, (BYTE)i, 0};
    return IMG_OK;
}

extern "C" int img_target_finish(ImgTarget *t, HGLOBAL *out) {
    GlobalUnlock(t->handle);
    *out = t->handle;
    memset(t, 0, sizeof *t);
    return IMG_OK;
}

extern "C" void img_target_discard(ImgTarget *t) {
    if (t->handle) {
        GlobalUnlock(t->handle);
        GlobalFree(t->handle);
    }
    memset(t, 0, sizeof *t);
}

extern "C" int img_table_gray(const ImgSource *src) {
    if (src->bitCount > 8) return 0;
    for (DWORD i = 0; i < src->colors; i++) {
        const RGBQUAD &q = src->table[i];
        if (q.rgbRed != q.rgbGreen || q.rgbGreen != q.rgbBlue) return 0;
    }
    return 1;
}

extern "C" int img_divider_init(ImgDivider *div, uint32_t divisor, uint64_t maxNumerator) {
    if (divisor == 0) return 0;
    // m = ceil(2^s / d) is exact for x <= max when max * (m d - 2^s) < 2^s.
    for (unsigned s = 0; s < 64; s++) {
        uint64_t two = (uint64_t)1 << s;
        uint64_t m = two / divisor + (two % divisor != 0);
        uint64_t excess = m * divisor - two;
        if (excess && maxNumerator > (two - 1) / excess) continue;
        if (m && maxNumerator > UINT64_MAX / m) return 0;
        div->multiplier = m;
        div->shift = s;
        return 1;
    }
    return 0;
}
