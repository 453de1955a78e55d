// Row filters that look at one pixel (or one block) at a time: the copy
// of the unfilled filters, Mosaic, Solarize, Posterize, Dark Strokes,
// Sampler and Crosshair.
#include "style_pixels.h"

namespace {

struct Copy {
    template <class S>
    static void row(const S &s, LONG y, int, BYTE *out) {
        if (y == 0) STY_NOT_IMPLEMENTED();
        if (S::kBytes != 1) {
            memcpy(out, s.rows[y], (size_t)s.w * S::kBytes);
            return;
        }
        for (LONG x = 0; x < s.w; x++) {
            StyPx p = s.at(x, y);
            sty_put_plain<S>(out + (size_t)x * S::kOut, p, p.a);
        }
    }
};

// Blocks of (amount >> 10) + 1 pixels take their first pixel.
struct Mosaic {
    template <class S>
    static void row(const S &s, LONG y, int amount, BYTE *out) {
        const LONG c = (amount >> 10) + 1, top = y - y % c;
        for (LONG x = 0; x < s.w; x++) sty_put<S>(out + (size_t)x * S::kOut, s.at(x - x % c, top), s.at(x, y));
    }
};

// 24 bits: 16-bit lanes and a mask, which the compiler vectorises.
void solarize24(const BYTE *__restrict p, BYTE *__restrict o, LONG w, int threshold) {
    const unsigned short t = (unsigned short)threshold;
    for (LONG x = 0; x < w; x++) {
        unsigned short b = p[3 * x], g = p[3 * x + 1], r = p[3 * x + 2];
        unsigned short y = (unsigned short)((r >> 2) + (r >> 4) + (r >> 7) + (g >> 1) + (g >> 4) + (g >> 5) + (b >> 3) -
                                            (r >> 6) - (b >> 6));
        BYTE m = y >= t ? 255 : 0;
        o[3 * x] = (BYTE)(b ^ m);
        o[3 * x + 1] = (BYTE)(g ^ m);
        o[3 * x + 2] = (BYTE)(r ^ m);
    }
}

struct Solarize {
    template <class S>
    static void row(const S &s, LONG y, int amount, BYTE *out) {
        const int threshold = 255 - ((amount * 255) >> 14);
        if (S::kBytes == 3) return solarize24(s.rows[y], out, s.w, threshold);
        for (LONG x = 0; x < s.w; x++) {
            StyPx p = s.at(x, y), v = p;
            if (sty_luma_px(p) >= threshold) v = {255 - p.b, 255 - p.g, 255 - p.r, p.a};
            sty_put<S>(out + (size_t)x * S::kOut, v, p);
        }
    }
};

struct Posterize {
    template <class S>
    static void row(const S &s, LONG y, int, BYTE *out) {
        const int levels = sty_params.p1 / 16 + 1;
        BYTE map[256];
        for (int c = 0; c < 256; c++) map[c] = (BYTE)(levels * c / 255 * 255 / levels);
        for (LONG x = 0; x < s.w; x++) {
            StyPx p = s.at(x, y);
            sty_put<S>(out + (size_t)x * S::kOut, StyPx{map[p.b], map[p.g], map[p.r], p.a}, p);
        }
    }
};

// Dark pixels darker, light ones lighter, by amount x (Y - 127) / 16384.
struct DarkStrokes {
    template <class S>
    static void row(const S &s, LONG y, int amount, BYTE *out) {
        for (LONG x = 0; x < s.w; x++) {
            StyPx p = s.at(x, y);
            int e = amount * (sty_luma_px(p) - 127) / STY_FULL_AMOUNT;
            StyPx v = {sty_clamp255(p.b + e), sty_clamp255(p.g + e), sty_clamp255(p.r + e), p.a};
            sty_put<S>(out + (size_t)x * S::kOut, v, p);
        }
    }
};

// Cells of p1 / 16 + 1 pixels: the image shows through the cell outlines.
struct Sampler {
    template <class S>
    static void row(const S &s, LONG y, int, BYTE *out) {
        const LONG last = sty_params.p1 / 16, cell = last + 1, ym = y % cell;
        const StyPx color = sty_color();
        for (LONG x = 0; x < s.w; x++) {
            const LONG xm = x % cell;
            bool keep = xm != 0 && ym != 0 && (xm == 1 || xm == last || ym == 1 || ym == last);
            StyPx p = s.at(x, y);
            sty_put<S>(out + (size_t)x * S::kOut, keep ? p : color, p);
        }
    }
};

// A disc of the image around the centre, crossed by the color.
struct Crosshair {
    template <class S>
    static void row(const S &s, LONG y, int, BYTE *out) {
        const int64_t half = s.w < s.h ? s.w / 2 : s.h / 2;
        const int64_t r2 = half * half * sty_params.p1 / 255;
        const int64_t dy = (int64_t)y - s.h / 2;
        const StyPx color = sty_color();
        for (LONG x = 0; x < s.w; x++) {
            const int64_t dx = (int64_t)x - s.w / 2;
            bool onCross = dx > -2 && dx < 2 ? true : dy > -2 && dy < 2;
            bool keep = dx * dx + dy * dy <= r2 && !onCross;
            StyPx p = s.at(x, y);
            sty_put<S>(out + (size_t)x * S::kOut, keep ? p : color, p);
        }
    }
};

}  // namespace

STY_ROW_DEFS(sty_copy, Copy)
STY_ROW_DEFS(sty_mosaic, Mosaic)
STY_ROW_DEFS(sty_solarize, Solarize)
STY_ROW_DEFS(sty_posterize, Posterize)
STY_ROW_DEFS(sty_dark_strokes, DarkStrokes)
STY_ROW_DEFS(sty_sampler, Sampler)
STY_ROW_DEFS(sty_crosshair, Crosshair)
