// ZYN_DIB_Fade: a weighted blend of two images of the same size, in units
// of 1/16384.  Paletted images blend through their color tables; a 24-bit
// image counts as opaque and a paletted one as fully transparent next to
// a 32-bit image.
#include <string.h>

#include "effects_internal.h"

namespace {

const int kFull = 16384;
const int kShift = 14;

bool paletted(const ZynImage &img) { return img.bitCount <= 8; }

// Blue, green, red, alpha of pixel x (alpha 255 where the depth has none).
void fetch(const ZynImage &img, const BYTE *row, size_t x, BYTE out[4]) {
    if (paletted(img)) {
        BYTE i = zyn_index_at(row, img.bitCount, x);
        RGBQUAD c = {0, 0, 0, 0};  // an index past the table shows black
        if (i < img.colors) c = img.table[i];
        out[0] = c.rgbBlue;
        out[1] = c.rgbGreen;
        out[2] = c.rgbRed;
        out[3] = 255;
        return;
    }
    size_t bytes = img.bitCount / 8;
    memcpy(out, row + x * bytes, 3);
    out[3] = bytes == 4 ? row[x * 4 + 3] : 255;
}

BYTE mix(int a, int b, int w1, int w2) { return (BYTE)((a * w1 + b * w2) >> kShift); }

// The alpha of the output: both 32-bit blend; a 32-bit first image next to
// a 24-bit one blends with opaque; a 32-bit second image next to a paletted
// one keeps its own share only.
enum AlphaRule { ALPHA_NONE, ALPHA_BOTH, ALPHA_FIRST_OPAQUE_SECOND, ALPHA_SECOND_ONLY };

HGLOBAL blend(const ZynImage &a, const ZynImage &b, int t, WORD outBits, AlphaRule rule) {
    const int w1 = kFull - t, w2 = t;
    uint64_t bytes;
    zyn_dib_packed_size(a.width, a.height, outBits, &bytes);  // <= 4/3 of a checked size
    HGLOBAL out = GlobalAlloc(GMEM_MOVEABLE, sizeof(BITMAPINFOHEADER) + (size_t)bytes);
    BYTE *p = out ? static_cast<BYTE *>(GlobalLock(out)) : nullptr;
    if (!p) {
        if (out) GlobalFree(out);
        return nullptr;
    }
    BITMAPINFOHEADER h = {};
    h.biSize = sizeof h;
    h.biWidth = a.width;
    h.biHeight = a.height;
    h.biPlanes = 1;
    h.biBitCount = outBits;
    h.biCompression = BI_RGB;
    h.biSizeImage = (DWORD)bytes;
    h.biXPelsPerMeter = a.header->biXPelsPerMeter;
    h.biYPelsPerMeter = a.header->biYPelsPerMeter;
    memcpy(p, &h, sizeof h);
    BYTE *bits = p + sizeof h;
    const size_t outStride = (size_t)bytes / (size_t)a.height, pixelBytes = outBits / 8;
    for (LONG y = 0; y < a.height; y++) {
        const BYTE *ra = a.bits + (size_t)y * a.stride, *rb = b.bits + (size_t)y * b.stride;
        BYTE *d = bits + (size_t)y * outStride;
        memset(d, 0, outStride);
        for (size_t x = 0; x < (size_t)a.width; x++, d += pixelBytes) {
            BYTE pa[4], pb[4];
            fetch(a, ra, x, pa);
            fetch(b, rb, x, pb);
            for (int c = 0; c < 3; c++) d[c] = mix(pa[c], pb[c], w1, w2);
            if (rule == ALPHA_BOTH) d[3] = mix(pa[3], pb[3], w1, w2);
            if (rule == ALPHA_FIRST_OPAQUE_SECOND) d[3] = mix(pa[3], 255, w1, w2);
            if (rule == ALPHA_SECOND_ONLY) d[3] = (BYTE)((pb[3] * t) >> kShift);
        }
    }
    GlobalUnlock(out);
    return out;
}

HGLOBAL fade(const ZynImage &first, const ZynImage &second, int t) {
    const ZynImage *a = &first, *b = &second;
    if (!paletted(*a) && !paletted(*b)) {
        // The 32-bit image goes first so its alpha leads.
        if (a->bitCount == 24 && b->bitCount == 32) {
            const ZynImage *s = a;
            a = b;
            b = s;
            t = kFull - t;
        }
        AlphaRule rule = a->bitCount == 24 ? ALPHA_NONE : b->bitCount == 32 ? ALPHA_BOTH : ALPHA_FIRST_OPAQUE_SECOND;
        return blend(*a, *b, t, a->bitCount, rule);
    }
    // The paletted image goes first.
    if (paletted(*b) && !paletted(*a)) {
        const ZynImage *s = a;
        a = b;
        b = s;
        t = kFull - t;
    }
    WORD outBits = b->bitCount == 32 ? 32 : 24;
    return blend(*a, *b, t, outBits, outBits == 32 ? ALPHA_SECOND_ONLY : ALPHA_NONE);
}

}  // namespace

extern "C" HGLOBAL WINAPI ZYN_DIB_Fade(HGLOBAL first, HGLOBAL second, int t) {
    if (t < 0) t = 0;
    if (t > kFull) t = kFull;
    ZynImage a, b;
    if (!zyn_image_open(first, &a)) return nullptr;
    if (!zyn_image_open(second, &b)) {
        zyn_image_close(&a);
        return nullptr;
    }
    // Images of different sizes would read the smaller one out of bounds.
    HGLOBAL out = nullptr;
    if (a.width == b.width && a.height == b.height) out = fade(a, b, t);
    zyn_image_close(&b);
    zyn_image_close(&a);
    return out;
}
