// ZYN_DIB_DIBToGray: a palette image keeps its pixels and gets a gray
// table; a true-color image becomes 8 bits over the gray ramp.
#include <string.h>

#include "depth_internal.h"

namespace {

HGLOBAL gray_table_copy(HGLOBAL dib) {
    HGLOBAL copy = ZYN_DIB_Copy(dib);
    if (!copy) return nullptr;
    BYTE *p = static_cast<BYTE *>(GlobalLock(copy));
    ZynDibLayout l;
    if (!p || !zyn_dib_layout(p, GlobalSize(copy), &l)) {
        if (p) GlobalUnlock(copy);
        GlobalFree(copy);
        return nullptr;
    }
    BYTE *entry = p + l.headerSize;
    size_t step = l.core ? sizeof(RGBTRIPLE) : sizeof(RGBQUAD);
    for (DWORD i = 0; i < l.colors; i++, entry += step) {
        BYTE g = zyn_gray_value(entry[2], entry[1], entry[0]);
        entry[0] = entry[1] = entry[2] = g;
    }
    GlobalUnlock(copy);
    return copy;
}

HGLOBAL gray_from_true_color(HGLOBAL dib) {
    ZynImage img;
    if (!zyn_image_open(dib, &img)) return nullptr;
    HGLOBAL out;
    BITMAPINFOHEADER model = *img.header;
    model.biClrImportant = 256;
    BYTE *p = zyn_new_dib(&model, img.width, img.height, 8, 256, &out);
    if (p) {
        RGBQUAD *ramp = zyn_new_table(p);
        for (int i = 0; i < 256; i++) ramp[i] = RGBQUAD{(BYTE)i, (BYTE)i, (BYTE)i, 0};
        BYTE *bits = zyn_new_bits(p);
        size_t stride = ((size_t)img.width + 3) & ~(size_t)3;
        size_t px = img.bitCount / 8;
        for (LONG y = 0; y < img.height; y++) {
            const BYTE *s = img.bits + (size_t)y * img.stride;
            BYTE *d = bits + (size_t)y * stride;
            for (LONG x = 0; x < img.width; x++, s += px) d[x] = zyn_gray_value(s[2], s[1], s[0]);
        }
        GlobalUnlock(out);
    }
    zyn_image_close(&img);
    return out;
}

}  // namespace

extern "C" HGLOBAL WINAPI ZYN_DIB_DIBToGray(HGLOBAL dib) {
    BITMAPINFOHEADER h;
    if (!dib || !ZYN_DIB_Info(dib, &h)) return nullptr;
    if (h.biBitCount == 1 || h.biBitCount == 4 || h.biBitCount == 8) return gray_table_copy(dib);
    if (h.biBitCount == 24 || h.biBitCount == 32) return gray_from_true_color(dib);
    return nullptr;
}
