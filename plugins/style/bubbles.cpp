// "*Bubbles [24]": the source stamped on the brush grid with one 20 x 20
// bubble, an opaque rim around a thin film.
#include "style_brush.h"

namespace {

const int kSize = 20;
// Squared distances from the centre in half pixels: the rim lies between
// radius 8.5 and 10 pixels.
const int kRimInner = 17 * 17, kRimOuter = 20 * 20;
const short kRim = 256, kFilm = 64;

short g_bubble[kSize * kSize];

void make_bubble(void) {
    if (g_bubble[kSize / 2 * kSize + kSize / 2]) return;
    for (int i = 0; i < kSize; i++)
        for (int j = 0; j < kSize; j++) {
            int dy = 2 * i - (kSize - 1), dx = 2 * j - (kSize - 1), d2 = dx * dx + dy * dy;
            g_bubble[i * kSize + j] = d2 > kRimOuter ? 0 : d2 >= kRimInner ? kRim : kFilm;
        }
}

template <class S>
void copy_source(const S &s, const StyJob *job) {
    for (LONG y = 0; y < s.h; y++) {
        BYTE *o = sty_job_out_row(job, y);
        for (LONG x = 0; x < s.w; x++, o += S::kOut) {
            StyPx p = s.at(x, y);
            sty_put_plain<S>(o, p, p.a);
        }
    }
}

}  // namespace

extern "C" HGLOBAL sty_run_bubbles(int, HGLOBAL dib, int, int p1, int p2, int) {
    StyJob job;
    if (!sty_job_begin(dib, &job)) return nullptr;
    make_bubble();
    const LONG step = sty_brush_step(p1);
    const int jitter = sty_brush_jitter(p2);
    int stopped = 0;
    sty_with_source(&job, [&](const auto &s) {
        copy_source(s, &job);
        sty_srand(0);
        for (LONG y = 0; y < s.h && !stopped; y += step) {
            for (LONG x = 0; x < s.w; x += step) sty_stamp(s, &job, g_bubble, kSize, x, y, jitter);
            stopped = !sty_row_done();
        }
    });
    if (stopped) {
        sty_job_abort(&job);
        return nullptr;
    }
    return sty_job_end(&job);
}
