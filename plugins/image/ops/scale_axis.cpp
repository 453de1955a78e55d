// Weight tables of the high-quality scale.  All weights are exact
// integers; enlarging weights reach (to - 1)^2, so their sums are 64-bit
// (in 32 bits they overflow from 4,106 pixels on).
#include <stdlib.h>
#include <string.h>

#include "scale_axis.h"

namespace {

template <class T>
T *alloc_array(size_t count) {
    return static_cast<T *>(malloc(count * sizeof(T)));
}

// The budget rule: the first tap weighs what the shared pixel left over,
// then whole pixels while the budget lasts, then a shared part.
int shrink_init(ScaleAxis *x) {
    uint32_t W = x->from, w = x->to;
    x->first = alloc_array<uint32_t>(w);
    x->count = alloc_array<uint32_t>(w);
    x->offset = alloc_array<uint32_t>(w);
    x->weight = alloc_array<uint32_t>((size_t)W + w);
    if (!x->first || !x->count || !x->offset || !x->weight) return IMG_NO_MEMORY;
    if (!img_divider_init(&x->byFrom, W, 255ull * W)) return IMG_NO_MEMORY;
    if (W % w == 0 && img_divider_init(&x->byRatio, W / w, 255ull * (W / w))) x->ratio = W / w;
    uint64_t budget = W, source = 0, taps = 0;
    uint32_t f = w;
    for (uint32_t k = 0; k < w; k++) {
        uint64_t left = budget;
        x->first[k] = (uint32_t)source;
        x->offset[k] = (uint32_t)taps;
        x->weight[taps++] = f;
        left -= w;
        source++;
        while (left >= w) {
            x->weight[taps++] = w;
            left -= w;
            source++;
        }
        if (left > 0) x->weight[taps++] = (uint32_t)left;  // shared with the next output
        x->count[k] = (uint32_t)(taps - x->offset[k]);
        f = (uint32_t)(w - left);
        budget = budget % w + W;
    }
    return IMG_OK;
}

int enlarge_init(ScaleAxis *x) {
    uint32_t W = x->from, w = x->to;
    x->index = alloc_array<uint32_t>(w);
    x->a = alloc_array<uint64_t>(w);
    x->b = alloc_array<uint64_t>(w);
    x->bySum = alloc_array<ImgDivider>(w);
    if (!x->index || !x->a || !x->b) return IMG_NO_MEMORY;
    uint64_t span = w - 1, p = 0;
    uint32_t source = 0;
    for (uint32_t k = 0; k < w; k++) {
        x->index[k] = source;
        x->a[k] = (span - p) * (span - p);
        x->b[k] = p * p;
        p += W - 1;
        if (p >= span) {
            p -= span;
            source++;
        }
    }
    // Multiply-and-shift where every divisor allows it, else plain division.
    for (uint32_t k = 0; x->bySum && k < w; k++) {
        uint64_t sum = x->a[k] + x->b[k];
        if (sum > 0xFFFFFFFFu || !img_divider_init(&x->bySum[k], (uint32_t)sum, 255 * sum)) {
            free(x->bySum);
            x->bySum = nullptr;
        }
    }
    return IMG_OK;
}

}  // namespace

int axis_init(ScaleAxis *x, uint32_t from, uint32_t to) {
    memset(x, 0, sizeof *x);
    x->from = from;
    x->to = to;
    if (from == to) return IMG_OK;
    x->kind = to < from ? AXIS_SHRINK : AXIS_ENLARGE;
    return x->kind == AXIS_SHRINK ? shrink_init(x) : enlarge_init(x);
}

void axis_free(ScaleAxis *x) {
    free(x->first);
    free(x->count);
    free(x->offset);
    free(x->weight);
    free(x->index);
    free(x->a);
    free(x->b);
    free(x->bySum);
    memset(x, 0, sizeof *x);
}
