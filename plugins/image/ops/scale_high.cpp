// The high-quality scale: each source row the vertical rule needs is first
// taken to gray bytes or blue-green-red(-alpha) pixels, resampled across,
// and the rows so made are combined down.  Work rows are bytes, so the
// combined pass gives what a horizontal pass and then a vertical one give.
#include <stdlib.h>
#include <string.h>

#include "image_strings.h"
#include "scale_axis.h"
#include "scale_high.h"

namespace {

struct Pass {
    const ImgSource *src;
    ImgTarget *dst;
    int channels;
    int gray;
    ScaleAxis across, down;
    BYTE *expanded;  // one source row as work pixels, for palette sources
    BYTE *slot[2];   // source rows resampled across
    LONG slotRow[2];
    int lastSlot;
    uint32_t *sums;  // vertical shrink, one per channel and column
};

void expand_row(const Pass &p, const BYTE *row, BYTE *out) {
    const ImgSource *s = p.src;
    for (LONG x = 0; x < s->width; x++) {
        RGBQUAD q = img_entry(s, zyn_index_at(row, s->bitCount, (size_t)x));
        if (p.gray) {
            out[x] = q.rgbRed;
        } else {
            out[3 * x] = q.rgbBlue, out[3 * x + 1] = q.rgbGreen, out[3 * x + 2] = q.rgbRed;
        }
    }
}

// A whole ratio: (sum of ratio pixels) x to / from is the sum over ratio.
template <int C>
void shrink_across_whole(const ScaleAxis &a, const BYTE *in, BYTE *out) {
    const uint32_t n = a.ratio;
    for (uint32_t k = 0; k < a.to; k++, out += C) {
        uint32_t sum[C] = {};
        for (uint32_t t = 0; t < n; t++, in += C)
            for (int c = 0; c < C; c++) sum[c] += in[c];
        for (int c = 0; c < C; c++) out[c] = (BYTE)(n == 2 ? sum[c] >> 1 : img_divide(&a.byRatio, sum[c]));
    }
}

template <int C>
void shrink_across(const ScaleAxis &a, const BYTE *in, BYTE *out) {
    if (a.ratio) return shrink_across_whole<C>(a, in, out);
    for (uint32_t k = 0; k < a.to; k++) {
        const BYTE *p = in + (size_t)a.first[k] * C;
        const uint32_t *w = a.weight + a.offset[k];
        uint32_t sum[C] = {};
        for (uint32_t t = 0; t < a.count[k]; t++, p += C)
            for (int c = 0; c < C; c++) sum[c] += w[t] * p[c];
        for (int c = 0; c < C; c++) out[(size_t)k * C + c] = (BYTE)img_divide(&a.byFrom, sum[c]);
    }
}

template <int C>
void enlarge_across(const ScaleAxis &a, const BYTE *in, BYTE *out) {
    for (uint32_t k = 0; k < a.to; k++) {
        const BYTE *p = in + (size_t)a.index[k] * C;
        for (int c = 0; c < C; c++) out[(size_t)k * C + c] = axis_blend(&a, k, p[c], a.b[k] ? p[C + c] : 0);
    }
}

void resample_across(const Pass &p, const BYTE *in, BYTE *out) {
    bool shrink = p.across.kind == AXIS_SHRINK;
    switch (p.channels) {
        case 1: shrink ? shrink_across<1>(p.across, in, out) : enlarge_across<1>(p.across, in, out); break;
        case 3: shrink ? shrink_across<3>(p.across, in, out) : enlarge_across<3>(p.across, in, out); break;
        default: shrink ? shrink_across<4>(p.across, in, out) : enlarge_across<4>(p.across, in, out);
    }
}

// Source row y resampled across; the last two are kept, which is all that
// a shrink (one row shared by two outputs) or an enlarge (a pair) reuses.
const BYTE *work_row(Pass &p, LONG y) {
    for (int i = 0; i < 2; i++)
        if (p.slotRow[i] == y) return p.lastSlot = i, p.slot[i];
    const BYTE *row = img_source_row(p.src, y);
    bool direct = !p.expanded;
    if (p.across.kind == AXIS_SAME && direct) return row;
    int i = 1 - p.lastSlot;
    p.lastSlot = i;
    p.slotRow[i] = y;
    if (p.across.kind == AXIS_SAME) {
        expand_row(p, row, p.slot[i]);
    } else {
        if (!direct) expand_row(p, row, p.expanded), row = p.expanded;
        resample_across(p, row, p.slot[i]);
    }
    return p.slot[i];
}

void shrink_down_whole(Pass &p, uint32_t k, BYTE *out, size_t n) {
    const ScaleAxis &d = p.down;
    uint32_t *sums = p.sums;
    const BYTE *r = work_row(p, (LONG)(k * d.ratio));
    for (size_t i = 0; i < n; i++) sums[i] = r[i];
    for (uint32_t t = 1; t < d.ratio; t++) {
        r = work_row(p, (LONG)(k * d.ratio + t));
        for (size_t i = 0; i < n; i++) sums[i] += r[i];
    }
    if (d.ratio == 2)
        for (size_t i = 0; i < n; i++) out[i] = (BYTE)(sums[i] >> 1);
    else
        for (size_t i = 0; i < n; i++) out[i] = (BYTE)img_divide(&d.byRatio, sums[i]);
}

void shrink_down(Pass &p, uint32_t k, BYTE *out, size_t n) {
    const ScaleAxis &d = p.down;
    if (d.ratio) return shrink_down_whole(p, k, out, n);
    const uint32_t *w = d.weight + d.offset[k];
    const BYTE *r = work_row(p, (LONG)d.first[k]);
    for (size_t i = 0; i < n; i++) p.sums[i] = w[0] * r[i];
    for (uint32_t t = 1; t < d.count[k]; t++) {
        r = work_row(p, (LONG)(d.first[k] + t));
        uint32_t wt = w[t];
        for (size_t i = 0; i < n; i++) p.sums[i] += wt * r[i];
    }
    for (size_t i = 0; i < n; i++) out[i] = (BYTE)img_divide(&d.byFrom, p.sums[i]);
}

void enlarge_down(Pass &p, uint32_t k, BYTE *out, size_t n) {
    const BYTE *a = work_row(p, (LONG)p.down.index[k]);
    if (!p.down.b[k]) {
        memcpy(out, a, n);  // weight on one row only: (x * A) / A
        return;
    }
    // The second row goes to the other slot: the first stays valid.
    const BYTE *b = work_row(p, (LONG)p.down.index[k] + 1);
    for (size_t i = 0; i < n; i++) out[i] = axis_blend(&p.down, k, a[i], b[i]);
}

int pass_alloc(Pass &p) {
    size_t n = (size_t)p.dst->width * p.channels;
    if (p.src->bitCount <= 8) p.expanded = static_cast<BYTE *>(malloc((size_t)p.src->width * p.channels));
    p.slot[0] = static_cast<BYTE *>(malloc(n));
    p.slot[1] = static_cast<BYTE *>(malloc(n));
    p.sums = static_cast<uint32_t *>(malloc(n * sizeof(uint32_t)));
    p.slotRow[0] = p.slotRow[1] = -1;
    if ((p.src->bitCount <= 8 && !p.expanded) || !p.slot[0] || !p.slot[1] || !p.sums) return IMG_NO_MEMORY;
    int status = axis_init(&p.across, (uint32_t)p.src->width, (uint32_t)p.dst->width);
    return status == IMG_OK ? axis_init(&p.down, (uint32_t)p.src->height, (uint32_t)p.dst->height) : status;
}

void pass_free(Pass &p) {
    axis_free(&p.across);
    axis_free(&p.down);
    free(p.expanded);
    free(p.slot[0]);
    free(p.slot[1]);
    free(p.sums);
}

UINT caption_of(const Pass &p) {
    if (p.down.kind == AXIS_SAME) return IDS_IMG_HQ_HORIZONTAL;
    return p.across.kind == AXIS_SAME ? IDS_IMG_HQ_VERTICAL : IDS_IMG_HQ_SCALING;
}

void run_rows(Pass &p, const ImgProgress *progress) {
    size_t n = (size_t)p.dst->width * p.channels;
    ImgRun run;
    img_run_start(&run, progress, caption_of(p), p.dst->height);
    for (LONG y = 0; y < p.dst->height; y++) {
        BYTE *out = img_target_row(p.dst, y);
        if (p.down.kind == AXIS_SHRINK)
            shrink_down(p, (uint32_t)y, out, n);
        else if (p.down.kind == AXIS_ENLARGE)
            enlarge_down(p, (uint32_t)y, out, n);
        else
            memcpy(out, work_row(p, y), n);
        img_run_row(&run, y);
    }
    img_run_end(&run);
}

}  // namespace

int img_scale_high(const ImgSource *src, LONG width, LONG height, int gray, const ImgProgress *progress,
                   HGLOBAL *out) {
    Pass p;
    memset(&p, 0, sizeof p);
    p.src = src;
    p.gray = gray && src->bitCount <= 8;
    p.channels = p.gray ? 1 : src->bitCount == 32 ? 4 : 3;
    ImgTarget dst;
    int status = p.gray ? img_target_gray(src, width, height, &dst)
                        : img_target_new(src->header, width, height, (WORD)(p.channels * 8), 0, &dst);
    if (status != IMG_OK) return status;
    p.dst = &dst;
    status = pass_alloc(p);
    if (status == IMG_OK) run_rows(p, progress);
    pass_free(p);
    if (status != IMG_OK) {
        img_target_discard(&dst);
        return status;
    }
    return img_target_finish(&dst, out);
}
