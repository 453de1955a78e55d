/* Test support of the stylize filters: sources built pixel by pixel in
   storage order (y = 0 is the first stored row), results read back the
   same way, and the reference formulas the filters must follow. */
#ifndef STYLE_TEST_SUPPORT_H
#define STYLE_TEST_SUPPORT_H

#include <stdint.h>
#include <string.h>

#include <functional>
#include <vector>

#include "engine_test_support.h"
#include "style.h"

struct Px {
    int b, g, r, a;
    bool operator==(const Px &o) const { return b == o.b && g == o.g && r == o.r && a == o.a; }
};

inline std::ostream &operator<<(std::ostream &os, const Px &p) {
    return os << "(b" << p.b << " g" << p.g << " r" << p.r << " a" << p.a << ")";
}

inline size_t stride_of(long w, int bits) { return (((size_t)bits * (size_t)w + 31) >> 5) * 4; }

/* A DIB of 1, 4, 8, 24 or 32 bits: value(x, y) is an index below 24 bits
   (table entries from color(i)), else the pixel.  headerSize 40 or more. */
inline HGLOBAL build_dib(int bits, long w, long h, std::function<Px(long, long)> value,
                         std::function<Px(int)> color = nullptr, DWORD headerSize = 40) {
    DWORD colors = bits <= 8 ? 1u << bits : 0;
    size_t stride = stride_of(w, bits), table = colors * 4;
    HGLOBAL dib = GlobalAlloc(GHND, headerSize + table + stride * (size_t)h);
    BYTE *p = (BYTE *)GlobalLock(dib);
    BITMAPINFOHEADER bi = {};
    bi.biSize = headerSize;
    bi.biWidth = (LONG)w;
    bi.biHeight = (LONG)h;
    bi.biPlanes = 1;
    bi.biBitCount = (WORD)bits;
    bi.biSizeImage = (DWORD)(stride * (size_t)h);
    bi.biClrUsed = colors;
    memcpy(p, &bi, sizeof bi);
    for (DWORD i = 0; i < colors; i++) {
        Px c = color ? color((int)i) : Px{(int)(i * 7 % 256), (int)(255 - i), (int)(i * 31 % 256), 0};
        BYTE *q = p + headerSize + 4 * i;
        q[0] = (BYTE)c.b, q[1] = (BYTE)c.g, q[2] = (BYTE)c.r;
    }
    BYTE *bitsAt = p + headerSize + table;
    for (long y = 0; y < h; y++) {
        BYTE *row = bitsAt + (size_t)y * stride;
        for (long x = 0; x < w; x++) {
            Px v = value(x, y);
            if (bits == 1) row[x / 8] |= (BYTE)((v.b & 1) << (7 - x % 8));
            if (bits == 4) row[x / 2] |= (BYTE)((v.b & 15) << (x % 2 ? 0 : 4));
            if (bits == 8) row[x] = (BYTE)v.b;
            if (bits >= 24) {
                BYTE *q = row + (size_t)x * (bits / 8);
                q[0] = (BYTE)v.b, q[1] = (BYTE)v.g, q[2] = (BYTE)v.r;
                if (bits == 32) q[3] = (BYTE)v.a;
            }
        }
    }
    GlobalUnlock(dib);
    return dib;
}

inline unsigned scramble(long x, long y, unsigned salt = 0) {
    uint32_t v = (uint32_t)x * 2654435761u ^ (uint32_t)y * 40503u ^ salt * 0x9E3779B9u;
    v ^= v >> 13;
    v *= 0x5bd1e995u;
    return v ^ (v >> 15);
}

/* A busy picture: smooth ramps with noise, alpha from 0 to 255 (and both
   ends present) for 32 bits, every index for 8 bits. */
inline HGLOBAL test_picture(int bits, long w, long h) {
    return build_dib(bits, w, h, [&](long x, long y) {
        unsigned n = scramble(x, y);
        if (bits <= 8) return Px{(int)(n % (1u << bits)), 0, 0, 0};
        int a = (x + y) % 5 == 0 ? 255 : (x * 3 + y) % 7 == 0 ? 0 : (int)(n >> 24);
        int blue = (int)((x * 255 / (w > 1 ? w - 1 : 1) + (n & 31)) % 256);
        int green = (int)((y * 255 / (h > 1 ? h - 1 : 1)) ^ (n >> 8 & 15));
        return Px{blue, green, (int)((n >> 16) & 255), a};
    });
}

/* A DIB read back: header, table and pixels in storage order. */
struct Image {
    BITMAPINFOHEADER h = {};
    size_t block = 0;
    std::vector<RGBQUAD> table;
    std::vector<BYTE> bits;
    size_t stride = 0;
    Px at(long x, long y) const {
        const BYTE *row = bits.data() + (size_t)y * stride;
        if (h.biBitCount <= 8) {
            unsigned i = h.biBitCount == 8 ? row[x] : h.biBitCount == 4 ? (x & 1 ? row[x / 2] & 15 : row[x / 2] >> 4)
                                                                        : (row[x / 8] >> (7 - x % 8)) & 1;
            RGBQUAD q = i < table.size() ? table[i] : RGBQUAD{0, 0, 0, 0};
            return {q.rgbBlue, q.rgbGreen, q.rgbRed, 255};
        }
        const BYTE *p = row + (size_t)x * (h.biBitCount / 8);
        return {p[0], p[1], p[2], h.biBitCount == 32 ? p[3] : 255};
    }
    long w() const { return h.biWidth; }
    long height() const { return h.biHeight; }
};

inline Image read_image(HGLOBAL dib) {
    Image img;
    const BYTE *p = (const BYTE *)GlobalLock(dib);
    img.block = GlobalSize(dib);
    memcpy(&img.h, p, sizeof img.h);
    DWORD colors = img.h.biClrUsed ? img.h.biClrUsed : img.h.biBitCount <= 8 ? 1u << img.h.biBitCount : 0;
    const RGBQUAD *t = (const RGBQUAD *)(p + img.h.biSize);
    img.table.assign(t, t + colors);
    img.stride = stride_of(img.h.biWidth, img.h.biBitCount);
    const BYTE *bits = p + img.h.biSize + colors * 4;
    img.bits.assign(bits, bits + img.stride * (size_t)img.h.biHeight);
    GlobalUnlock(dib);
    return img;
}

/* STY_CallFilter's result read back (width 0 for none); the source freed. */
inline Image filtered(HGLOBAL source, int filter, int amount, int p1 = 0, int p2 = 0, DWORD color = 0) {
    HGLOBAL out = STY_CallFilter((DWORD)filter, source, amount, (DWORD)p1, (DWORD)p2, 0, color);
    Image img;
    if (out) img = read_image(out);
    if (out) GlobalFree(out);
    return img;
}

inline bool same_bytes(const Image &a, const Image &b) {
    return a.block == b.block && memcmp(&a.h, &b.h, sizeof a.h) == 0 && a.bits == b.bits;
}

/* ---- reference formulas ------------------------------------------------ */

inline int ref_luma(const Px &p) {
    int r = p.r, g = p.g, b = p.b;
    return r / 4 + r / 16 + r / 128 + g / 2 + g / 16 + g / 32 + b / 8 - r / 64 - b / 64;
}

inline int ref_clamp(int v) { return v < 0 ? 0 : v > 255 ? 255 : v; }

/* The filtered value v over the source s: the alpha rule for 32 bits. */
inline Px ref_alpha(const Px &v, const Px &s, bool is32) {
    if (!is32) return {v.b, v.g, v.r, 255};
    int a = s.a;
    return {(v.b * a + s.b * (255 - a)) / 255, (v.g * a + s.g * (255 - a)) / 255, (v.r * a + s.r * (255 - a)) / 255,
            a};
}

inline Px color_px(DWORD color) { return {(int)(color >> 16 & 255), (int)(color >> 8 & 255), (int)(color & 255), 255}; }

/* Every pixel of the result against expect(x, y) (before the alpha rule,
   which the check applies itself for 32-bit sources). */
inline ::testing::AssertionResult matches(const Image &src, const Image &out, std::function<Px(long, long)> expect) {
    bool is32 = src.h.biBitCount == 32;
    if (out.w() != src.w() || out.height() != src.height()) return ::testing::AssertionFailure() << "size";
    for (long y = 0; y < src.height(); y++)
        for (long x = 0; x < src.w(); x++) {
            Px want = ref_alpha(expect(x, y), src.at(x, y), is32), got = out.at(x, y);
            if (!is32) got.a = 255;
            if (!(want == got))
                return ::testing::AssertionFailure()
                       << "at (" << x << ", " << y << "): want " << want << ", got " << got;
        }
    return ::testing::AssertionSuccess();
}

/* Records boxes and counts live blocks around each test. */
class StyleTest : public ::testing::Test {
protected:
    void SetUp() override {
        boxes().clear();
        ZYN_ERR_SetErrorMethod(record_box);
        blocks = compat_global_live_blocks();
    }
    void TearDown() override {
        ZYN_ERR_SetErrorMethod(nullptr);
        EXPECT_EQ(compat_global_live_blocks(), blocks) << "blocks leaked";
    }
    long blocks = 0;
};

#endif
