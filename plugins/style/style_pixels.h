/* Pixel access of the filters.  Each filter's arithmetic is written once
   over a source kind (8-bit through the color table, 24-bit, 32-bit) and
   instantiated for the table's 8-bit and 24/32-bit row routines, so the
   inner loops stay free of per-pixel branches on the depth. */
#ifndef STYLE_PIXELS_H
#define STYLE_PIXELS_H

#include <string.h>

#include "style_internal.h"

/* Blue, green, red, alpha as ints. */
struct StyPx {
    int b, g, r, a;
};

struct StySrc8 {
    static const int kBytes = 1;
    static const int kOut = 3;
    static const bool kAlpha = false;
    const BYTE *const *rows;
    const RGBQUAD *table;
    LONG w, h;
    StyPx at(LONG x, LONG y) const {
        const RGBQUAD &q = table[rows[y][x]];
        return {q.rgbBlue, q.rgbGreen, q.rgbRed, 255};
    }
};

struct StySrc24 {
    static const int kBytes = 3;
    static const int kOut = 3;
    static const bool kAlpha = false;
    const BYTE *const *rows;
    LONG w, h;
    StyPx at(LONG x, LONG y) const {
        const BYTE *p = rows[y] + (size_t)x * 3;
        return {p[0], p[1], p[2], 255};
    }
};

struct StySrc32 {
    static const int kBytes = 4;
    static const int kOut = 4;
    static const bool kAlpha = true;
    const BYTE *const *rows;
    LONG w, h;
    StyPx at(LONG x, LONG y) const {
        const BYTE *p = rows[y] + (size_t)x * 4;
        return {p[0], p[1], p[2], p[3]};
    }
};

static inline int sty_clamp255(int v) { return v < 0 ? 0 : v > 255 ? 255 : v; }
static inline LONG sty_clamp(LONG v, LONG high) { return v < 0 ? 0 : v > high ? high : v; }

/* The shift luminance; Y' adds G >> 8. */
static inline int sty_luma(int r, int g, int b) {
    return (r >> 2) + (r >> 4) + (r >> 7) + (g >> 1) + (g >> 4) + (g >> 5) + (b >> 3) - (r >> 6) - (b >> 6);
}
static inline int sty_luma_px(const StyPx &p) { return sty_luma(p.r, p.g, p.b); }
static inline int sty_luma2_px(const StyPx &p) { return sty_luma(p.r, p.g, p.b) + (p.g >> 8); }

/* The color argument as a pixel. */
static inline StyPx sty_color(void) {
    DWORD c = sty_params.color;
    return {(int)((c >> 16) & 0xFF), (int)((c >> 8) & 0xFF), (int)(c & 0xFF), 255};
}

/* Writes v at o.  32-bit sources: the alpha rule over the source pixel s
   (v x A + s x (255 - A)) / 255, and s's alpha byte. */
template <class S>
inline void sty_put(BYTE *o, const StyPx &v, const StyPx &s) {
    if (S::kAlpha) {
        const int a = s.a, na = 255 - s.a;
        o[0] = (BYTE)((v.b * a + s.b * na) / 255);
        o[1] = (BYTE)((v.g * a + s.g * na) / 255);
        o[2] = (BYTE)((v.r * a + s.r * na) / 255);
        o[3] = (BYTE)s.a;
    } else {
        o[0] = (BYTE)v.b;
        o[1] = (BYTE)v.g;
        o[2] = (BYTE)v.r;
    }
}

/* Writes v as it is, with alpha for 32-bit output. */
template <class S>
inline void sty_put_plain(BYTE *o, const StyPx &v, int alpha) {
    o[0] = (BYTE)v.b;
    o[1] = (BYTE)v.g;
    o[2] = (BYTE)v.r;
    if (S::kOut == 4) o[3] = (BYTE)alpha;
}

/* Calls f(x, sum, count) for every pixel of row y with the channel sums
   (blue, green, red) over its existing 3 x 3 neighbourhood and the number
   of pixels in it; each column is read once. */
template <class S, class F>
inline void sty_box3_row(const S &s, LONG y, F f) {
    const LONG y0 = y > 0 ? y - 1 : y, y1 = y + 1 < s.h ? y + 1 : y;
    const int rowsIn = (int)(y1 - y0 + 1);
    auto column = [&](LONG x, int c[3]) {
        c[0] = c[1] = c[2] = 0;
        for (LONG yy = y0; yy <= y1; yy++) {
            StyPx p = s.at(x, yy);
            c[0] += p.b, c[1] += p.g, c[2] += p.r;
        }
    };
    int left[3] = {0, 0, 0}, mid[3], right[3] = {0, 0, 0};
    column(0, mid);
    if (s.w > 1) column(1, right);
    for (LONG x = 0; x < s.w; x++) {
        int sum[3] = {left[0] + mid[0] + right[0], left[1] + mid[1] + right[1], left[2] + mid[2] + right[2]};
        int cols = 1 + (x > 0) + (x + 1 < s.w);
        f(x, sum, rowsIn * cols);
        memcpy(left, mid, sizeof mid);
        memcpy(mid, right, sizeof right);
        if (x + 2 < s.w)
            column(x + 2, right);
        else
            right[0] = right[1] = right[2] = 0;
    }
}

/* The table's two row routines of a filter F, a struct with
   template <class S> static void row(const S &src, LONG y, int amount, BYTE *out). */
template <class F>
inline void sty_rows8(LONG y, int amount, LONG w, LONG h, const BYTE *const *rows, BYTE *out, const RGBQUAD *table) {
    F::row(StySrc8{rows, table, w, h}, y, amount, out);
}
template <class F>
inline void sty_rows24(LONG y, int amount, LONG w, LONG h, const BYTE *const *rows, BYTE *out, int is32) {
    if (is32)
        F::row(StySrc32{rows, w, h}, y, amount, out);
    else
        F::row(StySrc24{rows, w, h}, y, amount, out);
}

/* x86 processors with AVX2 run a second build of each row routine: the
   same code, vectorised wider by the compiler.  flatten pulls the whole
   filter into that build. */
#if (defined(__x86_64__) || defined(__i386__)) && (defined(__GNUC__) || defined(__clang__))
#define STY_WIDE_ATTR __attribute__((target("avx2"), flatten))
#else
#define STY_WIDE_ATTR
#endif

/* Filters without an 8-bit routine (the driver copies those sources). */
#define STY_ROW24_DEF(name, F)                                                                               \
    STY_WIDE_ATTR static void name##_row24_wide(LONG y, int amount, LONG w, LONG h, const BYTE *const *rows,  \
                                                BYTE *out, int is32) {                                       \
        sty_rows24<F>(y, amount, w, h, rows, out, is32);                                                     \
    }                                                                                                        \
    extern "C" void name##_row24(LONG y, int amount, LONG w, LONG h, const BYTE *const *rows, BYTE *out,    \
                                 int is32) {                                                                 \
        if (sty_wide())                                                                                      \
            name##_row24_wide(y, amount, w, h, rows, out, is32);                                             \
        else                                                                                                 \
            sty_rows24<F>(y, amount, w, h, rows, out, is32);                                                 \
    }

#define STY_ROW_DEFS(name, F)                                                                                \
    extern "C" void name##_row8(LONG y, int amount, LONG w, LONG h, const BYTE *const *rows, BYTE *out,     \
                                const RGBQUAD *table) {                                                      \
        sty_rows8<F>(y, amount, w, h, rows, out, table);                                                     \
    }                                                                                                        \
    STY_ROW24_DEF(name, F)

/* Whole-image routines over the job's source, by kind. */
template <class Body>
inline void sty_with_source(const StyJob *job, Body body) {
    if (job->bytes == 1)
        body(StySrc8{job->rows, job->table, job->src.width, job->src.height});
    else if (job->bytes == 4)
        body(StySrc32{job->rows, job->src.width, job->src.height});
    else
        body(StySrc24{job->rows, job->src.width, job->src.height});
}

#endif
