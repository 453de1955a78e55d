// The fixed-ratio filters: doubling, point halving and quartering, and
// 2 x 2 averaging.  Trailing odd columns and rows are dropped.
#include <string.h>

#include "depth_internal.h"

namespace {

// Opens a source of one of the accepted depths (a bit mask of 8, 24, 32).
bool open_source(HGLOBAL dib, bool allowTrueColor, ZynImage *img) {
    if (!zyn_image_open(dib, img)) return false;
    if (img->bitCount == 8 || (allowTrueColor && (img->bitCount == 24 || img->bitCount == 32))) return true;
    zyn_image_close(img);
    return false;
}

// A new block of the source's depth and table; *stride gets its row stride.
BYTE *new_like(const ZynImage &img, LONG width, LONG height, WORD bits, HGLOBAL *out, size_t *stride) {
    DWORD colors = bits < 24 ? img.colors : 0;
    BITMAPINFOHEADER model = *img.header;
    if (bits != img.bitCount) model.biClrImportant = 0;
    BYTE *p = zyn_new_dib(&model, width, height, bits, colors, out);
    if (!p) return nullptr;
    memcpy(zyn_new_table(p), img.table, (size_t)colors * sizeof(RGBQUAD));
    uint64_t s;
    zyn_dib_stride(width, bits, &s);
    *stride = (size_t)s;
    return zyn_new_bits(p);
}

// Point sampling every step-th pixel of every step-th row.
HGLOBAL sample_down(HGLOBAL dib, LONG step, bool allowTrueColor) {
    ZynImage img;
    if (!open_source(dib, allowTrueColor, &img)) return nullptr;
    LONG w = img.width / step, h = img.height / step;
    HGLOBAL out = nullptr;
    size_t stride;
    BYTE *bits = new_like(img, w, h, img.bitCount, &out, &stride);
    if (bits) {
        size_t px = img.bitCount / 8;
        for (LONG y = 0; y < h; y++) {
            const BYTE *s = img.bits + (size_t)(y * step) * img.stride;
            BYTE *d = bits + (size_t)y * stride;
            if (px == 1) {
                for (LONG x = 0; x < w; x++) d[x] = s[x * step];
            } else if (px == 3) {
                for (LONG x = 0; x < w; x++, d += 3, s += 3 * step) d[0] = s[0], d[1] = s[1], d[2] = s[2];
            } else {
                for (LONG x = 0; x < w; x++, d += 4, s += 4 * step) memcpy(d, s, 4);
            }
        }
        GlobalUnlock(out);
    }
    zyn_image_close(&img);
    return out;
}

void double_row(const BYTE *s, BYTE *d, LONG width, size_t px, bool extraColumn) {
    if (px == 1) {
        for (LONG x = 0; x < width; x++, d += 2) d[0] = d[1] = s[x];
    } else {
        for (LONG x = 0; x < width; x++, s += px, d += 2 * px) {
            memcpy(d, s, px);
            memcpy(d + px, s, px);
        }
        s -= px;
    }
    if (extraColumn) memcpy(d, px == 1 ? s + width - 1 : s, px);
}

}  // namespace

extern "C" HGLOBAL WINAPI ZYN_DIB_DoubleDIB(HGLOBAL dib, BOOL extraColumn, BOOL extraRow) {
    ZynImage img;
    if (!open_source(dib, true, &img)) return nullptr;
    int64_t w = 2 * (int64_t)img.width + (extraColumn ? 1 : 0), h = 2 * (int64_t)img.height + (extraRow ? 1 : 0);
    HGLOBAL out = nullptr;
    size_t stride;
    BYTE *bits = w <= 0x7FFFFFFF && h <= 0x7FFFFFFF
                     ? new_like(img, (LONG)w, (LONG)h, img.bitCount, &out, &stride)
                     : nullptr;
    if (bits) {
        size_t px = img.bitCount / 8;
        for (LONG y = 0; y < img.height; y++) {
            BYTE *d = bits + (size_t)(2 * y) * stride;
            double_row(img.bits + (size_t)y * img.stride, d, img.width, px, extraColumn != 0);
            memcpy(d + stride, d, stride);
        }
        if (extraRow) memcpy(bits + (size_t)(h - 1) * stride, bits + (size_t)(h - 2) * stride, stride);
        GlobalUnlock(out);
    }
    zyn_image_close(&img);
    return out;
}

extern "C" HGLOBAL WINAPI ZYN_DIB_HalfDIB(HGLOBAL dib) { return sample_down(dib, 2, true); }
extern "C" HGLOBAL WINAPI ZYN_DIB_HalfSDIB8(HGLOBAL dib) { return sample_down(dib, 2, false); }
extern "C" HGLOBAL WINAPI ZYN_DIB_QuarterSDIB8(HGLOBAL dib) { return sample_down(dib, 4, false); }

extern "C" HGLOBAL WINAPI ZYN_DIB_HQHalfDIB(HGLOBAL dib) {
    ZynImage img;
    if (!open_source(dib, true, &img)) return nullptr;
    LONG w = img.width / 2, h = img.height / 2;
    WORD outBits = img.bitCount == 32 ? 32 : 24;
    HGLOBAL out = nullptr;
    size_t stride;
    BYTE *bits = new_like(img, w, h, outBits, &out, &stride);
    if (bits) {
        size_t px = img.bitCount / 8, opx = outBits / 8;
        for (LONG y = 0; y < h; y++) {
            const BYTE *a = img.bits + (size_t)(2 * y) * img.stride, *b = a + img.stride;
            BYTE *d = bits + (size_t)y * stride;
            if (px == 1) {
                for (LONG x = 0; x < w; x++, d += 3) {
                    RGBQUAD q[4] = {zyn_entry(img.table, img.colors, a[2 * x]),
                                    zyn_entry(img.table, img.colors, a[2 * x + 1]),
                                    zyn_entry(img.table, img.colors, b[2 * x]),
                                    zyn_entry(img.table, img.colors, b[2 * x + 1])};
                    d[0] = (BYTE)((q[0].rgbBlue + q[1].rgbBlue + q[2].rgbBlue + q[3].rgbBlue) >> 2);
                    d[1] = (BYTE)((q[0].rgbGreen + q[1].rgbGreen + q[2].rgbGreen + q[3].rgbGreen) >> 2);
                    d[2] = (BYTE)((q[0].rgbRed + q[1].rgbRed + q[2].rgbRed + q[3].rgbRed) >> 2);
                }
            } else {
                for (LONG x = 0; x < w; x++, a += 2 * px, b += 2 * px, d += opx)
                    for (size_t c = 0; c < opx; c++) d[c] = (BYTE)((a[c] + a[c + px] + b[c] + b[c + px]) >> 2);
            }
        }
        GlobalUnlock(out);
    }
    zyn_image_close(&img);
    return out;
}
