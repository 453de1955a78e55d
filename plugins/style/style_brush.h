/* Stamping a brush, shared by the brush family and Bubbles: the mean
   color of the source under the brush's nonzero weights, blended into the
   output cell by cell by weight / 256. */
#ifndef STYLE_BRUSH_H
#define STYLE_BRUSH_H

#include "style_pixels.h"

/* Step between stamps and their jitter, from p1 and p2. */
static inline LONG sty_brush_step(int p1) { return (255 - p1) / 16 + 2; }
static inline int sty_brush_jitter(int p2) { return p2 >> 4; }

/* One stamp of a size x size brush (weights row by row) at (x, y),
   moved by the jitter r.  Stamps moved past the right or bottom edge are
   skipped; the others are clipped there. */
template <class S>
void sty_stamp(const S &s, const StyJob *job, const short *weights, int size, LONG x, LONG y, int r) {
    const DWORD spread = (DWORD)(2 * r + 1);
    const DWORD first = sty_rand(), second = sty_rand();
    int64_t ox = (int64_t)x + r - (int64_t)(first % spread), oy = (int64_t)y + r - (int64_t)(second % spread);
    if (ox < 0) ox = 0;
    if (oy < 0) oy = 0;
    if (ox >= s.w || oy >= s.h) return;
    const int cols = (int)(s.w - ox < size ? s.w - ox : size), rows = (int)(s.h - oy < size ? s.h - oy : size);
    int64_t sum[3] = {0, 0, 0}, count = 0;
    for (int i = 0; i < rows; i++)
        for (int j = 0; j < cols; j++) {
            if (!weights[i * size + j]) continue;
            StyPx p = s.at((LONG)ox + j, (LONG)oy + i);
            sum[0] += p.b, sum[1] += p.g, sum[2] += p.r;
            count++;
        }
    if (!count) return;
    const int mean[3] = {(int)(sum[0] / count), (int)(sum[1] / count), (int)(sum[2] / count)};
    for (int i = 0; i < rows; i++) {
        BYTE *o = sty_job_out_row(job, (LONG)oy + i) + (size_t)ox * S::kOut;
        for (int j = 0; j < cols; j++, o += S::kOut) {
            const int m = weights[i * size + j];
            for (int c = 0; c < 3; c++) o[c] = (BYTE)((mean[c] * m - o[c] * (m - 256)) >> 8);
            if (S::kAlpha) {
                StyPx p = s.at((LONG)ox + j, (LONG)oy + i);
                const int src[3] = {p.b, p.g, p.r};
                for (int c = 0; c < 3; c++) o[c] = (BYTE)((src[c] * (255 - p.a) + o[c] * p.a) >> 8);
            }
        }
    }
}

#endif
