// Row filters that take each pixel from somewhere else: Frazzle,
// Reflection, Kaleidoscope, Test Filter and Lens Flare.  Products of a
// coordinate and an amount are 64-bit: they pass 32 bits on large images.
#include "style_pixels.h"

namespace {

// Random displacement by up to amount / 16384 of half the image.
struct Frazzle {
    template <class S>
    static void row(const S &s, LONG y, int amount, BYTE *out) {
        if (y == 0) sty_srand(0);
        for (LONG x = 0; x < s.w; x++) {
            DWORD r1 = sty_rand(), r2 = sty_rand();
            int64_t dx = amount * ((int64_t)(r1 % (DWORD)s.w) - s.w / 2) / STY_FULL_AMOUNT;
            int64_t dy = amount * ((int64_t)(r2 % (DWORD)s.h) - s.h / 2) / STY_FULL_AMOUNT;
            StyPx p = s.at(sty_clamp((LONG)(x + dx), s.w - 1), sty_clamp((LONG)(y + dy), s.h - 1));
            if (S::kAlpha) {
                // The moved pixel over this one by its own alpha, and its alpha.
                StyPx own = s.at(x, y);
                const int na = 255 - p.a;
                p = {(p.b * p.a + own.b * na) / 255, (p.g * p.a + own.g * na) / 255, (p.r * p.a + own.r * na) / 255,
                     p.a};
            }
            sty_put_plain<S>(out + (size_t)x * S::kOut, p, p.a);
        }
    }
};

// Rows shifted by a random walk, each mixed with a shift half a row back.
int64_t g_offset;

struct Reflection {
    template <class S>
    static void row(const S &s, LONG y, int amount, BYTE *out) {
        if (y == 0) {
            g_offset = 0;
            sty_srand(0);
        }
        const int step = sty_params.p1 / 16;
        const int64_t previous = g_offset;
        g_offset += step - (int64_t)(sty_rand() % (DWORD)(2 * step + 1));
        // A shift past the width only repeats the edge pixel.
        if (g_offset > s.w) g_offset = s.w;
        if (g_offset < -(int64_t)s.w) g_offset = -(int64_t)s.w;
        const int64_t first = amount * ((previous + g_offset) / 2) / STY_FULL_AMOUNT;
        const int64_t second = amount * g_offset / STY_FULL_AMOUNT;
        for (LONG x = 0; x < s.w; x++) {
            StyPx a = s.at(sty_clamp((LONG)(x - first), s.w - 1), y);
            StyPx b = s.at(sty_clamp((LONG)(x - second), s.w - 1), y);
            StyPx v = {(a.b + b.b) >> 1, (a.g + b.g) >> 1, (a.r + b.r) >> 1, 255};
            sty_put<S>(out + (size_t)x * S::kOut, v, s.at(x, y));
        }
    }
};

// Folded into the lower-left quadrant and mirrored about its diagonal,
// then moved back toward (x, y) by (16384 - amount) / 16384.
void kaleidoscope_map(LONG x, LONG y, LONG w, LONG h, int amount, int64_t *mx, int64_t *my) {
    int64_t fx = x <= w / 2 ? x : (int64_t)w - x - 1;
    int64_t fy = y <= h / 2 ? y : (int64_t)h - y - 1;
    if ((int64_t)w * fy / h < fx) {
        int64_t column = h > 1 ? fy * (w - 1) / (h - 1) : 0;
        int64_t row = w > 1 ? fx * (h - 1) / (w - 1) : 0;
        fx = column;
        fy = row;
    }
    const int back = STY_FULL_AMOUNT - amount;
    *mx = fx + (x - fx) * back / STY_FULL_AMOUNT;
    *my = fy + (y - fy) * back / STY_FULL_AMOUNT;
}

struct Kaleidoscope {
    template <class S>
    static void row(const S &s, LONG y, int amount, BYTE *out) {
        for (LONG x = 0; x < s.w; x++) {
            int64_t mx, my;
            kaleidoscope_map(x, y, s.w, s.h, amount, &mx, &my);
            StyPx p = s.at(sty_clamp((LONG)mx, s.w - 1), sty_clamp((LONG)my, s.h - 1));
            sty_put<S>(out + (size_t)x * S::kOut, p, s.at(x, y));
        }
    }
};

// The Kaleidoscope mapping, checked, without the alpha handling.
struct TestFilter {
    template <class S>
    static void row(const S &s, LONG y, int amount, BYTE *out) {
        for (LONG x = 0; x < s.w; x++) {
            int64_t mx, my;
            kaleidoscope_map(x, y, s.w, s.h, amount, &mx, &my);
            if (mx < 0 || mx >= s.w || my < 0 || my >= s.h) {
                if (mx < 0 || mx >= s.w)
                    sty_message(IDS_STY_BAD_MX, (int)mx);
                else
                    sty_message(IDS_STY_BAD_MY, (int)my);
                // The rest of the row shows the source.
                for (; x < s.w; x++) sty_put_plain<S>(out + (size_t)x * S::kOut, s.at(x, y), s.at(x, y).a);
                return;
            }
            sty_put_plain<S>(out + (size_t)x * S::kOut, s.at((LONG)mx, (LONG)my), s.at(x, y).a);
        }
    }
};

// Magnified toward the centre.
struct LensFlare {
    template <class S>
    static void row(const S &s, LONG y, int amount, BYTE *out) {
        const int64_t dy = (int64_t)y - s.h / 2;
        const int64_t sy = dy - amount * dy / 100 + s.h / 2;
        const LONG row = (LONG)(sy < 0 ? 0 : sy >= s.h ? s.h - 1 : sy);
        for (LONG x = 0; x < s.w; x++) {
            const int64_t dx = (int64_t)x - s.w / 2;
            const int64_t sx = dx - amount * dx / 100 + s.w / 2;
            const LONG column = (LONG)(sx < 0 ? 0 : sx >= s.w ? s.w - 1 : sx);
            sty_put<S>(out + (size_t)x * S::kOut, s.at(column, row), s.at(x, y));
        }
    }
};

}  // namespace

STY_ROW_DEFS(sty_frazzle, Frazzle)
STY_ROW_DEFS(sty_reflection, Reflection)
STY_ROW_DEFS(sty_kaleidoscope, Kaleidoscope)
STY_ROW24_DEF(sty_test_filter, TestFilter)
STY_ROW24_DEF(sty_lens_flare, LensFlare)
