// Row unpacking and new-block building shared by the depth, scaling and
// palette-matching operations.
#include <string.h>

#include "depth_internal.h"

extern "C" void zyn_unpack_indices(const BYTE *row, WORD bits, LONG width, BYTE *out) {
    LONG x = 0;
    if (bits == 8) {
        memcpy(out, row, (size_t)width);
    } else if (bits == 4) {
        for (; x + 1 < width; x += 2) {
            BYTE b = row[x >> 1];
            out[x] = (BYTE)(b >> 4);
            out[x + 1] = (BYTE)(b & 0x0F);
        }
        if (x < width) out[x] = (BYTE)(row[x >> 1] >> 4);
    } else {
        for (; x < width; x++) out[x] = (BYTE)((row[x >> 3] >> (7 - (x & 7))) & 1);
    }
}

extern "C" BYTE *zyn_new_dib(const BITMAPINFOHEADER *model, LONG width, LONG height, WORD bits, DWORD colors,
                             HGLOBAL *handle) {
    *handle = nullptr;
    uint64_t pixels;
    if (width <= 0 || height <= 0 || colors > 65535 || !zyn_dib_packed_size(width, height, bits, &pixels))
        return nullptr;
    size_t table = (size_t)colors * sizeof(RGBQUAD);
    HGLOBAL h = GlobalAlloc(GHND, sizeof(BITMAPINFOHEADER) + table + (size_t)pixels);
    BYTE *p = h ? static_cast<BYTE *>(GlobalLock(h)) : nullptr;
    if (!p) {
        if (h) GlobalFree(h);
        return nullptr;
    }
    BITMAPINFOHEADER bi;
    if (model) {
        bi = *model;
    } else {
        memset(&bi, 0, sizeof bi);
    }
    bi.biSize = sizeof bi;
    bi.biWidth = width;
    bi.biHeight = height;
    bi.biPlanes = 1;
    bi.biBitCount = bits;
    bi.biCompression = BI_RGB;
    bi.biSizeImage = (DWORD)pixels;
    bi.biClrUsed = colors;
    if (!model) bi.biClrImportant = colors;
    memcpy(p, &bi, sizeof bi);
    *handle = h;
    return p;
}
