/* The weights of one axis of the high-quality scale: area averaging when
   shrinking (each source pixel weighs `to`, each output pixel has a budget
   of `from`), two taps with squared weights when enlarging, built once per
   pass. */
#ifndef IMAGE_SCALE_AXIS_H
#define IMAGE_SCALE_AXIS_H

#include "ops_internal.h"

enum { AXIS_SAME, AXIS_SHRINK, AXIS_ENLARGE };

typedef struct ScaleAxis {
    int kind;
    uint32_t from, to;
    /* shrink: output k sums count[k] taps from source first[k], weights
       weight[offset[k]...], and divides by `from` */
    uint32_t *first, *count, *offset, *weight;
    ImgDivider byFrom;
    /* from / to when it is whole: every output then sums that many
       pixels of weight `to`, and the mean is the plain sum over it */
    uint32_t ratio;
    ImgDivider byRatio;
    /* enlarge: output k blends source index[k] (weight a[k]) and the next
       (weight b[k], not read when 0) over a[k] + b[k] */
    uint32_t *index;
    uint64_t *a, *b;
    ImgDivider *bySum; /* one per output, or null: plain division */
} ScaleAxis;

/* IMG_OK or IMG_NO_MEMORY; the axis is released either way by axis_free. */
int axis_init(ScaleAxis *axis, uint32_t from, uint32_t to);
void axis_free(ScaleAxis *axis);

/* (x * a + y * b) / (a + b) of output k of an enlarging axis. */
static inline BYTE axis_blend(const ScaleAxis *axis, uint32_t k, unsigned x, unsigned y) {
    uint64_t wa = axis->a[k], wb = axis->b[k];
    uint64_t sum = (uint64_t)x * wa + (wb ? (uint64_t)y * wb : 0);
    return (BYTE)(axis->bySum ? img_divide(&axis->bySum[k], sum) : sum / (wa + wb));
}

#endif
