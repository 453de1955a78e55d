// Free rotation into the larger canvas: nearest source pixel at low
// quality (depth and table kept), the mean of 2 x 2 samples at high
// quality (8-bit gray for a gray palette image, else 24 or 32 bits).
// Uncovered places take the background: the index for palette images at
// low quality, that entry's color at high quality (its red byte in gray
// output), alpha 0 in 32-bit output.
#include <string.h>

#include "image_strings.h"
#include "rotate_map.h"
#include "rotate_free.h"
#include "rotate_offsets.h"

namespace {

DWORD background_index(const ImgSource &s, const ImgColor &bg) { return bg.index < s.colors ? bg.index : 0; }

template <size_t PX>
void low_bytes(const ImgSource &s, ImgTarget &d, const RotateMap &m, const BYTE *bg) {
    for (LONG y = 0; y < d.height; y++) {
        BYTE *out = img_target_row(&d, y);
        for (LONG x = 0; x < d.width; x++, out += PX) {
            uint32_t col, row;
            rotate_map_source(&m, 0, 0, x, y, &col, &row);
            const BYTE *p = col < (uint32_t)s.width && row < (uint32_t)s.height
                                ? img_source_row(&s, (LONG)row) + (size_t)col * PX
                                : bg;
            memcpy(out, p, PX);
        }
    }
}

void low_packed(const ImgSource &s, ImgTarget &d, const RotateMap &m, BYTE bg) {
    for (LONG y = 0; y < d.height; y++) {
        BYTE *out = img_target_row(&d, y);
        for (LONG x = 0; x < d.width; x++) {
            uint32_t col, row;
            rotate_map_source(&m, 0, 0, x, y, &col, &row);
            BYTE v = col < (uint32_t)s.width && row < (uint32_t)s.height
                         ? zyn_index_at(img_source_row(&s, (LONG)row), s.bitCount, col)
                         : bg;
            if (v) zyn_index_put(out, s.bitCount, (size_t)x, v);
        }
    }
}

// Sample readers of the high quality: C channels of source pixel (col, row).
template <size_t PX>
struct Direct {
    const BYTE *bits;
    size_t stride;
    const BYTE *at(uint32_t col, uint32_t row) const { return bits + row * stride + col * PX; }
};

template <int C>
struct Indexed {
    const ImgSource *s;
    BYTE lookup[256][4];  // gray level, or blue, green, red
    void init(const ImgSource *src) {
        s = src;
        for (unsigned i = 0; i < 256; i++) {
            RGBQUAD q = img_entry(src, i);
            BYTE v[4] = {C == 1 ? q.rgbRed : q.rgbBlue, q.rgbGreen, q.rgbRed, 0};
            memcpy(lookup[i], v, 4);
        }
    }
    const BYTE *at(uint32_t col, uint32_t row) const {
        return lookup[zyn_index_at(img_source_row(s, (LONG)row), s->bitCount, col)];
    }
};

// The mean of the four samples of output pixel (x, y), each outside the
// source taking the background.
template <int C, class Reader>
inline void high_pixel(const Reader &r, const ImgSource &s, const RotateMap &m, const BYTE *bg, LONG x, LONG y,
                       BYTE *out) {
    unsigned sum[C] = {};
    for (int sy = 0; sy < 2; sy++)
        for (int sx = 0; sx < 2; sx++) {
            uint32_t col, row;
            rotate_map_source(&m, sx, sy, x, y, &col, &row);
            const BYTE *p = col < (uint32_t)s.width && row < (uint32_t)s.height ? r.at(col, row) : bg;
            for (int c = 0; c < C; c++) sum[c] += p[c];
        }
    for (int c = 0; c < C; c++) out[c] = (BYTE)(sum[c] >> 2);
}

// The run of output columns of row y where one coordinate of one sample,
// monotonic along the row, lies in [0, limit): two binary searches.
template <class F>
void clip_run(F f, LONG limit, LONG *lo, LONG *hi) {
    LONG n = *hi;
    if (n <= 0) return;
    bool rising = f(0) <= f(n - 1);
    auto first = [&](auto pred) {  // first x of [0, n) where pred holds, pred monotonic
        LONG a = 0, b = n;
        while (a < b) {
            LONG mid = a + (b - a) / 2;
            if (pred(f(mid))) b = mid;
            else a = mid + 1;
        }
        return a;
    };
    LONG a, b;
    if (rising) {
        a = first([](int64_t v) { return v >= 0; });
        b = first([&](int64_t v) { return v >= limit; });
    } else {
        a = first([&](int64_t v) { return v < limit; });
        b = first([](int64_t v) { return v < 0; });
    }
    if (a > *lo) *lo = a;
    if (b < *hi) *hi = b;
}

// The columns of row y whose four samples all lie inside the source
// ([lo, hi)), and those where any of them does ([anyLo, anyHi)); beyond
// the latter a pixel is all background.
struct RowRuns {
    LONG lo, hi, anyLo, anyHi;
};

RowRuns row_runs(const ImgSource &s, const RotateMap &m, LONG y, LONG width) {
    RowRuns r = {0, width, width, 0};
    for (int sy = 0; sy < 2; sy++)
        for (int sx = 0; sx < 2; sx++) {
            int32_t s2 = m.s2[sy][y], c2 = m.c2[sy][y];
            const int32_t *c1 = m.c1[sx], *s1 = m.s1[sx];
            LONG a = 0, b = width;
            clip_run([&](LONG x) { return (int64_t)((c1[x] + s2) >> 1) + m.srcWidth / 2; }, s.width, &a, &b);
            clip_run([&](LONG x) { return (int64_t)((c2 - s1[x]) >> 1) + m.srcHeight / 2; }, s.height, &a, &b);
            if (a > r.lo) r.lo = a;
            if (b < r.hi) r.hi = b;
            if (a < b && a < r.anyLo) r.anyLo = a;
            if (a < b && b > r.anyHi) r.anyHi = b;
        }
    if (r.hi < r.lo) r.hi = r.lo;
    if (r.anyHi < r.anyLo) r.anyLo = r.anyHi = 0;
    return r;
}

// The run of pixels whose samples all lie inside, with the tables in
// locals (the stores to out could otherwise alias them).
template <int C, class Reader>
void high_inside(const Reader &r, const RotateMap &m, LONG y, LONG lo, LONG hi, BYTE *out) {
    const int32_t *c1a = m.c1[0], *c1b = m.c1[1], *s1a = m.s1[0], *s1b = m.s1[1];
    const int32_t s2a = m.s2[0][y], s2b = m.s2[1][y], c2a = m.c2[0][y], c2b = m.c2[1][y];
    const int32_t hw = m.srcWidth / 2, hh = m.srcHeight / 2;
    for (LONG x = lo; x < hi; x++) {
        const int32_t ca = c1a[x], cb = c1b[x], sa = s1a[x], sb = s1b[x];
        const BYTE *p0 = r.at((uint32_t)(((ca + s2a) >> 1) + hw), (uint32_t)(((c2a - sa) >> 1) + hh));
        const BYTE *p1 = r.at((uint32_t)(((cb + s2a) >> 1) + hw), (uint32_t)(((c2a - sb) >> 1) + hh));
        const BYTE *p2 = r.at((uint32_t)(((ca + s2b) >> 1) + hw), (uint32_t)(((c2b - sa) >> 1) + hh));
        const BYTE *p3 = r.at((uint32_t)(((cb + s2b) >> 1) + hw), (uint32_t)(((c2b - sb) >> 1) + hh));
        BYTE *o = out + (size_t)x * C;
        for (int c = 0; c < C; c++) o[c] = (BYTE)(((unsigned)p0[c] + p1[c] + p2[c] + p3[c]) >> 2);
    }
}

template <int C, class Reader>
inline void inside_run(const Reader &r, const ImgSource &, const RotateMap &m, const RotateOffsets *, LONG y,
                       LONG lo, LONG hi, BYTE *out) {
    high_inside<C>(r, m, y, lo, hi, out);
}

template <int C>
inline void inside_run(const Direct<C> &r, const ImgSource &s, const RotateMap &m, const RotateOffsets *o, LONG y,
                       LONG lo, LONG hi, BYTE *out) {
    if (o)
        rotate_offsets_run(o, &m, &s, y, lo, hi, out);
    else
        high_inside<C>(r, m, y, lo, hi, out);
}

// Each sample's column and row move monotonically along an output row, so
// the pixels whose four samples all lie inside form one run, sampled
// without bounds checks; beyond the pixels any sample reaches lies plain
// background.  Rows go in bands whose runs are worked out first.
const LONG kBandRows = 8, kBandColumns = 4096;

template <int C, class Reader>
void high_rows(const Reader &r, const ImgSource &s, ImgTarget &d, const RotateMap &m, const BYTE *bg,
               const RotateOffsets *offsets, const ImgProgress *progress) {
    ImgRun run;
    img_run_start(&run, progress, IDS_IMG_HQ_ROTATION, d.height);
    RowRuns runs[kBandRows];
    for (LONG y0 = 0; y0 < d.height; y0 += kBandRows) {
        LONG rows = d.height - y0 < kBandRows ? d.height - y0 : kBandRows;
        for (LONG i = 0; i < rows; i++) runs[i] = row_runs(s, m, y0 + i, d.width);
        for (LONG x0 = 0; x0 < d.width; x0 += kBandColumns) {
            LONG x1 = d.width - x0 < kBandColumns ? d.width : x0 + kBandColumns;
            auto clamp = [&](LONG v) { return v < x0 ? x0 : v > x1 ? x1 : v; };
            for (LONG i = 0; i < rows; i++) {
                LONG y = y0 + i, anyLo = clamp(runs[i].anyLo), anyHi = clamp(runs[i].anyHi);
                LONG lo = clamp(runs[i].lo), hi = clamp(runs[i].hi);
                lo = lo < anyLo ? anyLo : lo > anyHi ? anyHi : lo;
                hi = hi > anyHi ? anyHi : hi < lo ? lo : hi;
                BYTE *out = img_target_row(&d, y);
                for (LONG x = x0; x < anyLo; x++) memcpy(out + (size_t)x * C, bg, C);
                for (LONG x = anyLo; x < lo; x++) high_pixel<C>(r, s, m, bg, x, y, out + (size_t)x * C);
                inside_run<C>(r, s, m, offsets, y, lo, hi, out);
                for (LONG x = hi; x < anyHi; x++) high_pixel<C>(r, s, m, bg, x, y, out + (size_t)x * C);
                for (LONG x = anyHi; x < x1; x++) memcpy(out + (size_t)x * C, bg, C);
            }
        }
        for (LONG i = 0; i < rows; i++) img_run_row(&run, y0 + i);
    }
    img_run_end(&run);
}

void rotate_low(const ImgSource &s, ImgTarget &d, const RotateMap &m, const ImgColor &bg) {
    BYTE color[4] = {bg.blue, bg.green, bg.red, 0};
    BYTE index = (BYTE)background_index(s, bg);
    switch (s.bitCount) {
        case 8: low_bytes<1>(s, d, m, &index); break;
        case 24: low_bytes<3>(s, d, m, color); break;
        case 32: low_bytes<4>(s, d, m, color); break;
        default: low_packed(s, d, m, index);
    }
}

void rotate_high(const ImgSource &s, ImgTarget &d, const RotateMap &m, const ImgColor &bg, int gray,
                 const ImgProgress *progress) {
    BYTE color[4] = {bg.blue, bg.green, bg.red, 0};
    if (s.bitCount <= 8) {
        RGBQUAD q = img_entry(&s, background_index(s, bg));
        BYTE entry[4] = {gray ? q.rgbRed : q.rgbBlue, q.rgbGreen, q.rgbRed, 0};
        memcpy(color, entry, 4);
    }
    if (s.bitCount >= 24) {
        RotateOffsets offsets;
        bool fast = rotate_offsets_init(&offsets, &m, &s) == IMG_OK;  // else the plain run, in less memory
        if (s.bitCount == 24)
            high_rows<3>(Direct<3>{s.bits, s.stride}, s, d, m, color, fast ? &offsets : nullptr, progress);
        else
            high_rows<4>(Direct<4>{s.bits, s.stride}, s, d, m, color, fast ? &offsets : nullptr, progress);
        rotate_offsets_free(&offsets);
    } else if (gray) {
        Indexed<1> reader;
        reader.init(&s);
        high_rows<1>(reader, s, d, m, color, nullptr, progress);
    } else {
        Indexed<3> reader;
        reader.init(&s);
        high_rows<3>(reader, s, d, m, color, nullptr, progress);
    }
}

}  // namespace

int img_rotate_free(const ImgSource *src, int phi, int quality, const ImgColor *bg, const ImgProgress *progress,
                    HGLOBAL *out) {
    RotateMap map;
    bool high = quality == IMG_QUALITY_HIGH;
    int status = rotate_map_init(&map, src->width, src->height, phi, high ? 2 : 1);
    int gray = high && img_table_gray(src);
    ImgTarget dst;
    memset(&dst, 0, sizeof dst);
    if (status == IMG_OK) {
        if (!high)
            status = img_target_like(src, map.width, map.height, &dst);
        else if (gray)
            status = img_target_gray(src, map.width, map.height, &dst);
        else
            status = img_target_new(src->header, map.width, map.height, src->bitCount == 32 ? 32 : 24, 0, &dst);
    }
    if (status == IMG_OK) {
        if (high)
            rotate_high(*src, dst, map, *bg, gray, progress);
        else
            rotate_low(*src, dst, map, *bg);
        status = img_target_finish(&dst, out);
    }
    rotate_map_free(&map);
    return status;
}
