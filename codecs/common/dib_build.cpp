#include "codecs/common/dib_build.h"

#include <string.h>

#include "codecs/common/checked.h"
#include "zynlib.h"

static int bpp_supported(WORD bpp) {
    return bpp == 1 || bpp == 4 || bpp == 8 || bpp == 16 || bpp == 24 || bpp == 32;
}

extern "C" DWORD dib_stride(LONG width, WORD bpp) {
    if (width <= 0 || width > LC_MAX_DIMENSION || !bpp_supported(bpp)) return 0;
    return (DWORD)((((uint64_t)bpp * (uint64_t)width + 31) >> 5) * 4);
}

extern "C" int dib_size_ok(LONG width, LONG height, WORD bpp, DWORD colors, uint64_t *blockBytes) {
    if (height <= 0 || height > LC_MAX_DIMENSION || colors > 256) return 0;
    DWORD stride = dib_stride(width, bpp);
    if (!stride) return 0;
    uint64_t image, block;
    if (!lc_mul_u64(stride, (uint64_t)height, &image)) return 0;
    if (!lc_add_u64(image, sizeof(BITMAPINFOHEADER) + 4ull * colors, &block)) return 0;
    /* biSizeImage is 32 bits, and the block must fit this process. */
    if (image > 0xFFFFFFFFull || block > (uint64_t)SIZE_MAX) return 0;
    if (blockBytes) *blockBytes = block;
    return 1;
}

extern "C" int dib_create(LONG width, LONG height, WORD bpp, DWORD colors, DibParts *out) {
    memset(out, 0, sizeof *out);
    uint64_t block;
    if (!dib_size_ok(width, height, bpp, colors, &block)) return 0;
    HGLOBAL h = GlobalAlloc(GHND, (size_t)block);
    if (!h) return 0;
    BITMAPINFOHEADER *hdr = (BITMAPINFOHEADER *)GlobalLock(h);
    if (!hdr) {
        GlobalFree(h);
        return 0;
    }
    out->handle = h;
    out->header = hdr;
    out->stride = dib_stride(width, bpp);
    out->width = width;
    out->height = height;
    out->bpp = bpp;
    hdr->biSize = sizeof(BITMAPINFOHEADER);
    hdr->biWidth = width;
    hdr->biHeight = height;
    hdr->biPlanes = 1;
    hdr->biBitCount = bpp;
    hdr->biCompression = BI_RGB;
    hdr->biSizeImage = out->stride * (DWORD)height;
    hdr->biClrUsed = colors;
    hdr->biClrImportant = colors;
    out->colors = colors ? (RGBQUAD *)(hdr + 1) : NULL;
    out->bits = (BYTE *)(hdr + 1) + 4 * (size_t)colors;
    return 1;
}

extern "C" int dib_open(HGLOBAL dib, DibParts *out) {
    memset(out, 0, sizeof *out);
    BITMAPINFOHEADER *hdr;
    RGBQUAD *colors;
    BYTE *bits;
    if (!dib || !ZYN_DIB_LockPtrs(dib, &hdr, &colors, &bits)) return 0;
    size_t block = GlobalSize(dib);
    DWORD stride = hdr->biSize >= sizeof(BITMAPINFOHEADER) && hdr->biCompression == BI_RGB
                       ? dib_stride(hdr->biWidth, hdr->biBitCount)
                       : 0;
    uint64_t rows;
    if (!stride || hdr->biHeight <= 0 || hdr->biHeight > LC_MAX_DIMENSION ||
        !lc_mul_u64(stride, (uint64_t)hdr->biHeight, &rows) ||
        (uint64_t)(bits - (BYTE *)hdr) + rows > (uint64_t)block) {
        GlobalUnlock(dib);
        return 0;
    }
    out->handle = dib;
    out->header = hdr;
    out->colors = ZYN_DIB_NumColors(hdr) ? colors : NULL;
    out->bits = bits;
    out->stride = stride;
    out->width = hdr->biWidth;
    out->height = hdr->biHeight;
    out->bpp = hdr->biBitCount;
    return 1;
}

extern "C" void dib_close(DibParts *d) {
    if (d->handle) GlobalUnlock(d->handle);
    d->header = NULL;
    d->colors = NULL;
    d->bits = NULL;
}

extern "C" void dib_discard(DibParts *d) {
    HGLOBAL h = d->handle;
    dib_close(d);
    if (h) GlobalFree(h);
    d->handle = NULL;
}

extern "C" int dib_finish(DibParts *d, int ok, HGLOBAL *out) {
    if (!ok) {
        dib_discard(d);
        return 0;
    }
    dib_close(d);
    *out = d->handle;
    return 1;
}
