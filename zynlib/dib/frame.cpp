// ZYN_DIB_Frame: the image inside margins of a fill color.  Every row is
// filled first, then the image's rows are copied into place; 1- and 4-bit
// rows move pixel by pixel so that the frame pixels beside them keep the
// fill.
#include <string.h>

#include "effects_internal.h"

namespace {

const LONG kMaxSide = 65535;

void fill_row(BYTE *row, size_t stride, WORD bits, int index, const BYTE *color) {
    BYTE bgr[3] = {0, 0, 0};
    if (color) memcpy(bgr, color, 3);
    switch (bits) {
    case 1: memset(row, index == 1 ? 0xFF : 0x00, stride); break;
    case 4: memset(row, (BYTE)(((index & 0x0F) << 4) | (index & 0x0F)), stride); break;
    case 8: memset(row, (BYTE)index, stride); break;
    default: {
        size_t px = bits / 8;
        memset(row, 0, stride);
        for (size_t x = 0; x + px <= stride; x += px) memcpy(row + x, bgr, 3);  // alpha stays 0
    }
    }
}

void place_row(const ZynImage &img, const BYTE *src, BYTE *dst, size_t left) {
    if (img.bitCount >= 8) {
        size_t px = img.bitCount / 8;
        memcpy(dst + left * px, src, (size_t)img.width * px);
        return;
    }
    for (size_t x = 0; x < (size_t)img.width; x++)
        zyn_index_put(dst, img.bitCount, left + x, zyn_index_at(src, img.bitCount, x));
}

}  // namespace

extern "C" HGLOBAL WINAPI ZYN_DIB_Frame(HGLOBAL dib, int left, int right, int top, int bottom, int fillIndex,
                                         const BYTE *fillColor) {
    if (left < 0 || right < 0 || top < 0 || bottom < 0) return nullptr;
    ZynImage img;
    if (!zyn_image_open(dib, &img)) return nullptr;
    int64_t width = (int64_t)left + img.width + right, height = (int64_t)bottom + img.height + top;
    uint64_t pixels, stride;
    HGLOBAL out = nullptr;
    BYTE *p = nullptr;
    size_t tableBytes = (size_t)img.colors * sizeof(RGBQUAD);
    if (width <= kMaxSide && height <= kMaxSide &&
        zyn_dib_packed_size((LONG)width, (LONG)height, img.bitCount, &pixels) &&
        zyn_dib_stride((LONG)width, img.bitCount, &stride)) {
        out = GlobalAlloc(GMEM_MOVEABLE, sizeof(BITMAPINFOHEADER) + tableBytes + (size_t)pixels);
        p = out ? static_cast<BYTE *>(GlobalLock(out)) : nullptr;
    }
    if (!p) {
        if (out) GlobalFree(out);
        zyn_image_close(&img);
        return nullptr;
    }
    BITMAPINFOHEADER h = *img.header;
    h.biSize = sizeof h;
    h.biWidth = (LONG)width;
    h.biHeight = (LONG)height;
    h.biCompression = BI_RGB;
    h.biSizeImage = (DWORD)pixels;
    h.biClrUsed = img.colors;
    memcpy(p, &h, sizeof h);
    memcpy(p + sizeof h, img.table, tableBytes);
    BYTE *bits = p + sizeof h + tableBytes;
    fill_row(bits, (size_t)stride, img.bitCount, fillIndex, fillColor);
    for (int64_t y = 1; y < height; y++) memcpy(bits + (size_t)y * stride, bits, (size_t)stride);
    for (LONG y = 0; y < img.height; y++)
        place_row(img, img.bits + (size_t)y * img.stride, bits + (size_t)(bottom + y) * stride, (size_t)left);
    GlobalUnlock(out);
    zyn_image_close(&img);
    return out;
}
