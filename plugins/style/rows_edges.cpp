// Row filters that keep two rows of state between rows (edge flags,
// luminance or gray values of the row before): Find Edges, Contours and
// Charcoal.  Entry x + 1 of a row belongs to pixel x.
#include <stdlib.h>

#include "style_pixels.h"

namespace {

BYTE *g_flags[2];
WORD *g_sums; /* Find Edges: blue, green, red sums of each column's three rows */

// The row before in storage order is the row "above".
BYTE *this_row(LONG y) { return g_flags[y & 1]; }
BYTE *row_above(LONG y) { return g_flags[(y + 1) & 1]; }

template <class S>
void column_sums(const S &s, LONG y0, LONG y1, WORD *__restrict sums) {
    if (S::kBytes == 3) {
        const size_t n = (size_t)s.w * 3;
        const BYTE *a = s.rows[y0], *b = s.rows[(y0 + y1) / 2], *c = s.rows[y1];
        const bool three = y1 - y0 == 2;
        for (size_t i = 0; i < n; i++) sums[i] = (WORD)(a[i] + c[i] + (three ? b[i] : 0));
        return;
    }
    for (LONG x = 0; x < s.w; x++) {
        int sum[3] = {0, 0, 0};
        for (LONG yy = y0; yy <= y1; yy++) {
            StyPx p = s.at(x, yy);
            sum[0] += p.b, sum[1] += p.g, sum[2] += p.r;
        }
        for (int c = 0; c < 3; c++) sums[3 * x + c] = (WORD)sum[c];
    }
}

// (mean - value) x 32 over 160, 96, 192 for red, green, blue, with the
// mean an integer division: sum >= count x (value + 6, 4, 7).  Only
// pixels darker than their surroundings count.
inline BYTE is_edge(int sb, int sg, int sr, int count, const StyPx &p) {
    int edge = (sr >= count * (p.r + 6)) | (sg >= count * (p.g + 4)) | (sb >= count * (p.b + 7));
    return (BYTE)-edge;
}

// The inner columns of a 24-bit row in 16-bit lanes, for the vectoriser.
void edge_flags24(const BYTE *__restrict p, LONG w, unsigned short count, const WORD *__restrict sums,
                  BYTE *__restrict flag) {
    for (LONG x = 1; x + 1 < w; x++) {
        const WORD *q = sums + 3 * (x - 1);
        const BYTE *v = p + 3 * x;
        unsigned short sb = (unsigned short)(q[0] + q[3] + q[6]), sg = (unsigned short)(q[1] + q[4] + q[7]),
                       sr = (unsigned short)(q[2] + q[5] + q[8]);
        bool edge = (sr >= (unsigned short)(count * (v[2] + 6))) | (sg >= (unsigned short)(count * (v[1] + 4))) |
                    (sb >= (unsigned short)(count * (v[0] + 7)));
        flag[x] = edge ? 255 : 0;
    }
}

template <class S>
void edge_flags(const S &s, LONG y, int rowsIn, const WORD *__restrict sums, BYTE *__restrict flag) {
    const LONG w = s.w;
    auto box = [&](LONG x, LONG from, LONG to, int c) {
        int v = 0;
        for (LONG k = from; k <= to; k++) v += sums[3 * k + c];
        return v;
    };
    auto end = [&](LONG x) {
        LONG from = x > 0 ? x - 1 : 0, to = x + 1 < w ? x + 1 : x;
        int count = rowsIn * (int)(to - from + 1);
        flag[x] = is_edge(box(x, from, to, 0), box(x, from, to, 1), box(x, from, to, 2), count, s.at(x, y));
    };
    end(0);
    const int count = rowsIn * 3;
    if (S::kBytes == 3 && w > 2) {
        edge_flags24(s.rows[y], w, (unsigned short)count, sums, flag);
    } else {
        for (LONG x = 1; x + 1 < w; x++) {
            const WORD *q = sums + 3 * (x - 1);
            flag[x] = is_edge(q[0] + q[3] + q[6], q[1] + q[4] + q[7], q[2] + q[5] + q[8], count, s.at(x, y));
        }
    }
    if (w > 1) end(w - 1);
}

struct FindEdges {
    template <class S>
    static void row(const S &s, LONG y, int, BYTE *out) {
        BYTE *cur = this_row(y);
        const BYTE *above = row_above(y);
        const LONG y0 = y > 0 ? y - 1 : y, y1 = y + 1 < s.h ? y + 1 : y;
        column_sums(s, y0, y1, g_sums);
        edge_flags(s, y, (int)(y1 - y0 + 1), g_sums, cur + 1);
        const StyPx color = sty_color();
        for (LONG x = 0; x < s.w; x++) {
            // Kept: an edge, or next to one on the left, above or above-left.
            bool keep = cur[x + 1] || above[x + 1] || (x > 0 && (cur[x] || above[x]));
            StyPx p = s.at(x, y);
            sty_put<S>(out + (size_t)x * S::kOut, keep ? p : color, p);
        }
    }
};

// Bands of luminance (its top three bits) outlined in the image's own
// colors; the rest becomes the color.
struct Contours {
    template <class S>
    static void row(const S &s, LONG y, int, BYTE *out) {
        BYTE *cur = this_row(y);
        const BYTE *above = row_above(y);
        const StyPx color = sty_color();
        for (LONG x = 0; x < s.w; x++) {
            StyPx p = s.at(x, y);
            const int own = sty_luma_px(p);
            const int left = x == 0 ? own : cur[x];
            int v = y >= 2 ? (own + left + above[x + 1]) / 3 : own;
            cur[x + 1] = (BYTE)v;
            bool keep = y >= 3 && ((v & 0xE0) != (left & 0xE0) || (v & 0xE0) != (above[x + 1] & 0xE0));
            sty_put<S>(out + (size_t)x * S::kOut, keep ? p : color, p);
        }
    }
};

struct Charcoal {
    template <class S>
    static void row(const S &s, LONG y, int, BYTE *out) {
        if (y == 0 || y == s.h - 1) {
            for (LONG x = 0; x < s.w; x++) {
                StyPx p = s.at(x, y);
                sty_put_plain<S>(out + (size_t)x * S::kOut, p, p.a);
            }
            return;
        }
        BYTE *cur = this_row(y);
        const BYTE *above = row_above(y);
        sty_box3_row(s, y, [&](LONG x, const int *sum, int) {
            StyPx p = s.at(x, y), v;
            if (x == 0) {
                v = p;
            } else if (x == s.w - 1) {
                v = {255, 255, 255, p.a};
            } else {
                int db = sty_clamp255((sum[0] / 9 - p.b) * 32), dg = sty_clamp255((sum[1] / 9 - p.g) * 32),
                    dr = sty_clamp255((sum[2] / 9 - p.r) * 32);
                int g = (sty_luma2_px(StyPx{255 - db, 255 - dg, 255 - dr, 255}) + above[x] + above[x + 1] +
                         above[x + 2]) >> 2;
                cur[x + 1] = (BYTE)g;
                v = {g, g, g, p.a};
            }
            sty_put<S>(out + (size_t)x * S::kOut, v, p);
        });
    }
};

}  // namespace

extern "C" int sty_flag_rows_start(LONG width, LONG, int) {
    const size_t entries = (size_t)width + 1;
    g_flags[0] = static_cast<BYTE *>(malloc(2 * entries));
    g_sums = static_cast<WORD *>(malloc(3 * (size_t)width * sizeof(WORD)));
    if (!g_flags[0] || !g_sums) {
        sty_flag_rows_end();
        return 0;
    }
    g_flags[1] = g_flags[0] + entries;
    memset(g_flags[0], 255, 2 * entries);
    return 1;
}

extern "C" void sty_flag_rows_end(void) {
    free(g_flags[0]);
    free(g_sums);
    g_flags[0] = g_flags[1] = nullptr;
    g_sums = nullptr;
}

STY_ROW_DEFS(sty_find_edges, FindEdges)
STY_ROW_DEFS(sty_contours, Contours)
STY_ROW_DEFS(sty_charcoal, Charcoal)
