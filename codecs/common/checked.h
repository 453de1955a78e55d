/* Size arithmetic for numbers that come from files: every product or sum
   that reaches an allocation or an index goes through these. */
#ifndef LC_CHECKED_H
#define LC_CHECKED_H

#include <stddef.h>
#include <stdint.h>

static inline int lc_mul_u64(uint64_t a, uint64_t b, uint64_t *out) {
    if (a != 0 && b > UINT64_MAX / a) return 0;
    *out = a * b;
    return 1;
}

static inline int lc_add_u64(uint64_t a, uint64_t b, uint64_t *out) {
    if (b > UINT64_MAX - a) return 0;
    *out = a + b;
    return 1;
}

/* a * b + c, all three from a file. */
static inline int lc_mad_u64(uint64_t a, uint64_t b, uint64_t c, uint64_t *out) {
    uint64_t p;
    return lc_mul_u64(a, b, &p) && lc_add_u64(p, c, out);
}

/* A 64-bit count that must fit in size_t (i686 builds). */
static inline int lc_to_size(uint64_t v, size_t *out) {
    if (v > (uint64_t)SIZE_MAX) return 0;
    *out = (size_t)v;
    return 1;
}

#endif
