// Test support for the depth, scaling and palette-matching operations:
// DIBs built pixel by pixel and read back as colors, independent of the
// library's own row code.
#ifndef ZYN_PIXEL_SUPPORT_H
#define ZYN_PIXEL_SUPPORT_H

#include <string.h>

#include <vector>

#include "zyn_test_support.h"

struct Bgra {
    BYTE b, g, r, a;
    bool operator==(const Bgra &o) const { return b == o.b && g == o.g && r == o.r && a == o.a; }
};

inline size_t test_stride(LONG width, WORD bits) { return (((size_t)bits * width + 31) >> 5) * 4; }

// A well-formed DIB: 2^bits table entries below 24 bits (or `colors`).
inline HGLOBAL new_image(LONG width, LONG height, WORD bits, DWORD colors = 0) {
    if (bits < 24 && colors == 0) colors = 1u << bits;
    size_t pixels = test_stride(width, bits) * height;
    HGLOBAL h = GlobalAlloc(GHND, sizeof(BITMAPINFOHEADER) + colors * sizeof(RGBQUAD) + pixels);
    BITMAPINFOHEADER *bi = static_cast<BITMAPINFOHEADER *>(GlobalLock(h));
    bi->biSize = sizeof *bi;
    bi->biWidth = width;
    bi->biHeight = height;
    bi->biPlanes = 1;
    bi->biBitCount = bits;
    bi->biSizeImage = (DWORD)pixels;
    bi->biClrUsed = colors;
    GlobalUnlock(h);
    return h;
}

struct Locked {
    HGLOBAL h;
    BITMAPINFOHEADER *bi;
    RGBQUAD *table;
    BYTE *bits;
    explicit Locked(HGLOBAL handle) : h(handle) {
        bi = static_cast<BITMAPINFOHEADER *>(GlobalLock(h));
        table = reinterpret_cast<RGBQUAD *>(reinterpret_cast<BYTE *>(bi) + bi->biSize);
        DWORD colors = bi->biClrUsed ? bi->biClrUsed : (bi->biBitCount < 16 ? 1u << bi->biBitCount : 0);
        bits = reinterpret_cast<BYTE *>(table) + colors * sizeof(RGBQUAD);
    }
    ~Locked() { GlobalUnlock(h); }
    BYTE *row(LONG y) const { return bits + test_stride(bi->biWidth, bi->biBitCount) * y; }
    BYTE index(LONG x, LONG y) const {
        const BYTE *r = row(y);
        switch (bi->biBitCount) {
        case 1: return (r[x >> 3] >> (7 - (x & 7))) & 1;
        case 4: return (x & 1) ? r[x >> 1] & 0x0F : r[x >> 1] >> 4;
        default: return r[x];
        }
    }
    void set_index(LONG x, LONG y, BYTE v) const {
        BYTE *r = row(y);
        switch (bi->biBitCount) {
        case 1: r[x >> 3] = (BYTE)((r[x >> 3] & ~(0x80 >> (x & 7))) | ((v & 1) << (7 - (x & 7)))); break;
        case 4: r[x >> 1] = (x & 1) ? (BYTE)((r[x >> 1] & 0xF0) | v) : (BYTE)((r[x >> 1] & 0x0F) | (v << 4)); break;
        default: r[x] = v;
        }
    }
    Bgra pixel(LONG x, LONG y) const {
        if (bi->biBitCount < 24) {
            RGBQUAD q = table[index(x, y)];
            return {q.rgbBlue, q.rgbGreen, q.rgbRed, 255};
        }
        const BYTE *p = row(y) + (bi->biBitCount / 8) * x;
        return {p[0], p[1], p[2], bi->biBitCount == 32 ? p[3] : (BYTE)255};
    }
    void set_pixel(LONG x, LONG y, Bgra c) const {
        BYTE *p = row(y) + (bi->biBitCount / 8) * x;
        p[0] = c.b, p[1] = c.g, p[2] = c.r;
        if (bi->biBitCount == 32) p[3] = c.a;
    }
};

// Fills every pixel and table entry with a pattern that depends on seed.
inline HGLOBAL patterned_image(LONG width, LONG height, WORD bits, unsigned seed = 1) {
    HGLOBAL h = new_image(width, height, bits);
    Locked l(h);
    unsigned s = seed * 2654435761u + 12345;
    auto next = [&s]() { return s = s * 1103515245u + 12345u, (BYTE)(s >> 16); };
    if (bits < 24)
        for (DWORD i = 0; i < (1u << bits); i++) l.table[i] = RGBQUAD{next(), next(), next(), 0};
    for (LONG y = 0; y < height; y++)
        for (LONG x = 0; x < width; x++) {
            if (bits < 24)
                l.set_index(x, y, (BYTE)(next() & ((1u << bits) - 1)));
            else
                l.set_pixel(x, y, {next(), next(), next(), next()});
        }
    return h;
}

inline int reference_gray(int r, int g, int b) {
    return r / 4 + r / 16 + (r >> 7) + g / 2 + g / 16 + g / 32 + b / 8 - r / 64 - b / 64;
}

// Padding bytes of every row are zero (new blocks must not leak garbage).
inline bool padding_clear(const Locked &l) {
    size_t used = ((size_t)l.bi->biBitCount * l.bi->biWidth + 7) / 8;
    size_t stride = test_stride(l.bi->biWidth, l.bi->biBitCount);
    size_t usedBits = (size_t)l.bi->biBitCount * l.bi->biWidth;
    for (LONG y = 0; y < l.bi->biHeight; y++) {
        const BYTE *r = l.row(y);
        if (usedBits % 8 && (r[used - 1] & (0xFF >> (usedBits % 8)))) return false;
        for (size_t k = used; k < stride; k++)
            if (r[k]) return false;
    }
    return true;
}

#endif
