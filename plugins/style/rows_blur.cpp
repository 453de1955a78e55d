// Row filters that walk a digital line from each pixel: Motion Blur,
// Shake, Center Blur and Radial Blur.  Each step of the walk moves one
// column or one row, whichever keeps closer to the line, and stays inside
// the image.
#include <math.h>

#include "style_pixels.h"

namespace {

const int kMaxSteps = 31;
const double kPi = 3.1415926535979;

int sign(int64_t v) { return v > 0 ? 1 : v < 0 ? -1 : 0; }
int64_t magnitude(int64_t v) { return v < 0 ? -v : v; }

// One walk: column step sx over ax, row step sy over ay.
struct Walk {
    int sx, sy;
    int64_t ax, ay;
    int64_t ix, iy; /* steps taken each way */
    void step(LONG *x, LONG *y, LONG w, LONG h) {
        if (ax == 0 && ay == 0) return;
        if (ay == 0 || (ax != 0 && (2 * ix + 1) * ay < (2 * iy + 1) * ax)) {
            ix++;
            *x = sty_clamp(*x + sx, w - 1);
        } else {
            iy++;
            *y = sty_clamp(*y + sy, h - 1);
        }
    }
};

// The fixed direction of Motion Blur and Shake, from p1 (0..255 a turn);
// worked out at row 0 of each image, so the sine is taken once a call.
Walk g_direction;

Walk fixed_direction(LONG y) {
    if (y == 0) {
        double theta = sty_params.p1 / 255.0 * 2 * kPi;
        int across = (int)(15 * sin(theta)), down = (int)(15 * cos(theta));
        g_direction = {sign(across), sign(down), magnitude(across), magnitude(down), 0, 0};
    }
    return g_direction;
}

template <class S>
void add(int *sum, const StyPx &p) {
    sum[0] += p.b, sum[1] += p.g, sum[2] += p.r;
}

// The mean of the pixel and the n pixels the walk visits.
template <class S>
StyPx walk_mean(const S &s, LONG x, LONG y, Walk walk, int n) {
    int sum[3] = {0, 0, 0};
    add<S>(sum, s.at(x, y));
    for (int k = 0; k < n; k++) {
        walk.step(&x, &y, s.w, s.h);
        add<S>(sum, s.at(x, y));
    }
    return {sum[0] / (n + 1), sum[1] / (n + 1), sum[2] / (n + 1), 255};
}

struct MotionBlur {
    template <class S>
    static void row(const S &s, LONG y, int amount, BYTE *out) {
        const Walk walk = fixed_direction(y);
        const int n = (amount * 15) >> 14;
        for (LONG x = 0; x < s.w; x++) sty_put<S>(out + (size_t)x * S::kOut, walk_mean(s, x, y, walk, n), s.at(x, y));
    }
};

// A running mean along the walk, mixed with the pixel by its brightness.
struct Shake {
    template <class S>
    static void row(const S &s, LONG y, int amount, BYTE *out) {
        const Walk walk = fixed_direction(y);
        const int n = (amount * (sty_params.p2 / 8)) >> 14;
        for (LONG x = 0; x < s.w; x++) {
            const StyPx own = s.at(x, y);
            StyPx v = own;
            Walk w = walk;
            LONG wx = x, wy = y;
            for (int k = 0; k < n; k++) {
                w.step(&wx, &wy, s.w, s.h);
                StyPx p = s.at(wx, wy);
                v = {(7 * v.b + p.b) / 8, (7 * v.g + p.g) / 8, (7 * v.r + p.r) / 8, v.a};
            }
            const int c = sty_luma2_px(v), nc = 255 - c;
            StyPx mixed = {(own.b * c + v.b * nc) / 255, (own.g * c + v.g * nc) / 255, (own.r * c + v.r * nc) / 255,
                           own.a};
            sty_put<S>(out + (size_t)x * S::kOut, mixed, own);
        }
    }
};

// Away from the centre, along the line through it.
struct CenterBlur {
    template <class S>
    static void row(const S &s, LONG y, int amount, BYTE *out) {
        const int n = (amount * (sty_params.p1 / 8)) >> 14;
        const int64_t dy = (int64_t)y - s.h / 2;
        for (LONG x = 0; x < s.w; x++) {
            const int64_t dx = (int64_t)x - s.w / 2;
            Walk walk = {sign(dx), sign(dy), magnitude(dx), magnitude(dy), 0, 0};
            sty_put<S>(out + (size_t)x * S::kOut, walk_mean(s, x, y, walk, n), s.at(x, y));
        }
    }
};

// Across the line to the centre (a quarter turn from it), so the blur
// runs around the centre.
struct RadialBlur {
    template <class S>
    static void row(const S &s, LONG y, int amount, BYTE *out) {
        const int n = (amount * 15) >> 14;
        const int64_t dy = (int64_t)y - s.h / 2;
        for (LONG x = 0; x < s.w; x++) {
            const int64_t dx = (int64_t)x - s.w / 2;
            Walk walk = {sign(dy), -sign(dx), magnitude(dy), magnitude(dx), 0, 0};
            sty_put<S>(out + (size_t)x * S::kOut, walk_mean(s, x, y, walk, n), s.at(x, y));
        }
    }
};

static_assert(((STY_FULL_AMOUNT * (255 / 8)) >> 14) <= kMaxSteps, "walks stay short");

}  // namespace

STY_ROW_DEFS(sty_motion_blur, MotionBlur)
STY_ROW_DEFS(sty_shake, Shake)
STY_ROW_DEFS(sty_center_blur, CenterBlur)
STY_ROW_DEFS(sty_radial_blur, RadialBlur)
