// Row filters over the brightness-sorted 3 x 3 neighbourhood: Stamp and
// Fresco.
#include "style_pixels.h"

namespace {

struct Neighbour {
    StyPx px;
    int y2; /* Y' */
};

// The existing neighbours of (x, y), sorted by brightness (ties keep the
// order read); the median is at position (count + 1) / 2, counted from 1.
template <class S>
Neighbour median(const S &s, LONG x, LONG y) {
    Neighbour n[9];
    int count = 0;
    for (LONG yy = y - 1; yy <= y + 1; yy++) {
        if (yy < 0 || yy >= s.h) continue;
        for (LONG xx = x - 1; xx <= x + 1; xx++) {
            if (xx < 0 || xx >= s.w) continue;
            Neighbour v = {s.at(xx, yy), 0};
            v.y2 = sty_luma2_px(v.px);
            int i = count++;
            for (; i > 0 && n[i - 1].y2 > v.y2; i--) n[i] = n[i - 1];
            n[i] = v;
        }
    }
    return n[(count + 1) / 2 - 1];
}

struct Stamp {
    template <class S>
    static void row(const S &s, LONG y, int, BYTE *out) {
        const StyPx color = sty_color();
        const StyPx inverse = {255 - color.b, 255 - color.g, 255 - color.r, 255};
        for (LONG x = 0; x < s.w; x++)
            sty_put<S>(out + (size_t)x * S::kOut, (median(s, x, y).y2 & 0x80) ? inverse : color, s.at(x, y));
    }
};

struct Fresco {
    template <class S>
    static void row(const S &s, LONG y, int amount, BYTE *out) {
        const int keep = STY_FULL_AMOUNT - amount;
        for (LONG x = 0; x < s.w; x++) {
            StyPx p = s.at(x, y), m = median(s, x, y).px;
            StyPx v = {(p.b * keep + amount * (m.b & 0xC0)) >> 14, (p.g * keep + amount * (m.g & 0xC0)) >> 14,
                       (p.r * keep + amount * (m.r & 0xC0)) >> 14, p.a};
            sty_put<S>(out + (size_t)x * S::kOut, v, p);
        }
    }
};

}  // namespace

STY_ROW_DEFS(sty_stamp, Stamp)
STY_ROW_DEFS(sty_fresco, Fresco)
