// Opening a source DIB for the effects: every effect reads whole rows, so
// all of them must lie inside the block whatever the header says.
#include <string.h>

#include "effects_internal.h"

extern "C" int zyn_image_open(HGLOBAL dib, ZynImage *img) {
    memset(img, 0, sizeof *img);
    if (!dib) return 0;
    const BYTE *p = static_cast<const BYTE *>(GlobalLock(dib));
    if (!p) return 0;
    ZynDibLayout l;
    uint64_t rows, stride;
    bool ok = zyn_dib_layout(p, GlobalSize(dib), &l) && !l.core && l.compression == BI_RGB && l.width > 0 &&
              l.height > 0 &&
              (l.bitCount == 1 || l.bitCount == 4 || l.bitCount == 8 || l.bitCount == 24 || l.bitCount == 32) &&
              zyn_dib_packed_size(l.width, l.height, l.bitCount, &rows) && rows <= l.block - l.bitsOffset &&
              zyn_dib_stride(l.width, l.bitCount, &stride);
    if (!ok) {
        GlobalUnlock(dib);
        return 0;
    }
    img->handle = dib;
    img->block = p;
    img->header = reinterpret_cast<const BITMAPINFOHEADER *>(p);
    img->table = reinterpret_cast<const RGBQUAD *>(p + l.headerSize);
    img->colors = l.colors;
    img->bits = p + l.bitsOffset;
    img->stride = (size_t)stride;
    img->width = l.width;
    img->height = l.height;
    img->bitCount = l.bitCount;
    return 1;
}

extern "C" void zyn_image_close(ZynImage *img) {
    if (img->handle) GlobalUnlock(img->handle);
    memset(img, 0, sizeof *img);
}
