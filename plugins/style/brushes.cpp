// The brush family (Pointillize, Rain, Triangles, Smudge): the output
// starts as the color and is stamped on a grid with two 6 x 6 brushes.
#include "style_brush.h"

namespace {

struct Brushes {
    int filter;
    short a[36], b[36];
};

const Brushes kBrushes[] = {
    {10,
     {0, 192, 256, 256, 192, 0, 192, 256, 256, 256, 256, 192, 256, 256, 256, 256, 256, 256,
      256, 256, 256, 256, 256, 256, 192, 256, 256, 256, 256, 192, 0, 192, 256, 256, 192, 0},
     {0, 0, 0, 0, 0, 0, 0, 0, 192, 192, 0, 0, 0, 192, 256, 256, 192, 0,
      0, 192, 256, 256, 192, 0, 0, 0, 192, 192, 0, 0, 0, 0, 0, 0, 0, 0}},
    {27,
     {0, 0, 0, 0, 256, 256, 0, 0, 0, 256, 256, 256, 0, 0, 192, 256, 256, 0,
      0, 128, 192, 192, 0, 0, 64, 128, 128, 0, 0, 0, 64, 64, 0, 0, 0, 0},
     {256, 256, 0, 0, 0, 0, 256, 256, 256, 0, 0, 0, 0, 256, 256, 192, 0, 0,
      0, 0, 192, 192, 128, 0, 0, 0, 0, 128, 128, 64, 0, 0, 0, 0, 64, 64}},
    {28,
     {256, 192, 0, 0, 0, 0, 256, 256, 256, 192, 0, 0, 256, 256, 256, 192, 256, 192,
      256, 256, 256, 256, 256, 192, 256, 256, 256, 192, 0, 0, 256, 192, 0, 0, 0, 0},
     {0, 0, 0, 0, 192, 256, 0, 0, 192, 256, 256, 256, 192, 256, 192, 256, 256, 256,
      192, 256, 256, 256, 256, 256, 0, 0, 192, 256, 256, 256, 0, 0, 0, 0, 192, 256}},
    {29,
     {0, 0, 128, 128, 192, 192, 0, 128, 128, 192, 192, 255, 0, 0, 128, 128, 192, 192,
      0, 128, 128, 192, 192, 255, 0, 0, 128, 128, 192, 192, 0, 128, 128, 192, 192, 255},
     {0, 0, 128, 128, 192, 192, 0, 128, 128, 192, 192, 255, 0, 0, 128, 128, 192, 192,
      0, 128, 128, 192, 192, 255, 0, 0, 128, 128, 192, 192, 0, 128, 128, 192, 192, 255}},
};

const Brushes *brushes_of(int filter) {
    for (const Brushes &b : kBrushes)
        if (b.filter == filter) return &b;
    return nullptr;
}

// The color; for 32-bit sources mixed with the source by its alpha.
template <class S>
void fill_with_color(const S &s, const StyJob *job) {
    const StyPx color = sty_color();
    for (LONG y = 0; y < s.h; y++) {
        BYTE *o = sty_job_out_row(job, y);
        for (LONG x = 0; x < s.w; x++, o += S::kOut) {
            StyPx v = color;
            if (S::kAlpha) {
                StyPx p = s.at(x, y);
                v = {(p.b * (255 - p.a) + color.b * p.a) >> 8, (p.g * (255 - p.a) + color.g * p.a) >> 8,
                     (p.r * (255 - p.a) + color.r * p.a) >> 8, p.a};
            }
            sty_put_plain<S>(o, v, v.a);
        }
    }
}

}  // namespace

extern "C" HGLOBAL sty_run_brush(int filter, HGLOBAL dib, int, int p1, int p2, int) {
    const Brushes *b = brushes_of(filter);
    StyJob job;
    if (!b || !sty_job_begin(dib, &job)) return nullptr;
    const LONG step = sty_brush_step(p1);
    const int jitter = sty_brush_jitter(p2);
    int stopped = 0;
    sty_with_source(&job, [&](const auto &s) {
        fill_with_color(s, &job);
        sty_srand(0);
        for (LONG y = 0; y < s.h && !stopped; y += step) {
            for (LONG x = 0; x < s.w; x += step) {
                sty_stamp(s, &job, b->a, 6, x, y, jitter);
                sty_stamp(s, &job, b->b, 6, x, y, jitter);
            }
            stopped = !sty_row_done();
        }
    });
    if (stopped) {
        sty_job_abort(&job);
        return nullptr;
    }
    return sty_job_end(&job);
}
