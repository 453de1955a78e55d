/* The kernels inlined into the row loops.  Error rows carry a pad of
   DITHER_PAD pixels on each side (see error_rows_alloc), so a share that
   falls outside the row lands in the pad, which is never read: it is
   dropped without a test per share. */
#ifndef LC_KERNELS_INLINE_H
#define LC_KERNELS_INLINE_H

#include "color/flat/kernels.h"

#define KSHARE(rowOffset, columnOffset, EXPR)                 \
    do {                                                      \
        int e = eb;                                           \
        int b_ = (EXPR);                                      \
        e = eg;                                               \
        int g_ = (EXPR);                                      \
        e = er;                                               \
        int r_ = (EXPR);                                      \
        int *q_ = rows[rowOffset] + 3 * (p + (columnOffset)); \
        q_[0] += b_;                                          \
        q_[1] += g_;                                          \
        q_[2] += r_;                                          \
    } while (0)

/* K is the kernel's index in dither_kernels. */
template <int K>
static inline void kernel_inline(int *const *rows, int p, int er, int eg, int eb) {
    if constexpr (K == 7) {
        er = er < 16 ? 0 : er;
        eg = eg < 16 ? 0 : eg;
        eb = eb < 16 ? 0 : eb;
    }
    if constexpr (K == 0 || K == 7) {
        KSHARE(0, +1, (7 * e) >> 4);
        KSHARE(1, -1, (3 * e) >> 4);
        KSHARE(1, 0, (5 * e) >> 4);
        KSHARE(1, +1, e >> 4);
    } else if constexpr (K == 1) {
        KSHARE(0, +1, (8 * e) / 42);
        KSHARE(0, +2, (4 * e) / 42);
        KSHARE(1, -2, (2 * e) / 42);
        KSHARE(1, -1, (4 * e) / 42);
        KSHARE(1, 0, (8 * e) / 42);
        KSHARE(1, +1, (4 * e) / 42);
        KSHARE(1, +2, (2 * e) / 42);
        KSHARE(2, -2, e / 42);
        KSHARE(2, -1, (2 * e) / 42);
        KSHARE(2, 0, (4 * e) / 42);
        KSHARE(2, +1, (2 * e) / 42);
        KSHARE(2, +2, e / 42);
    } else if constexpr (K == 2) {
        KSHARE(0, +1, e >> 2);
        KSHARE(0, +2, e >> 3);
        KSHARE(1, -2, e >> 4);
        KSHARE(1, -1, e >> 3);
        KSHARE(1, 0, e >> 2);
        KSHARE(1, +1, e >> 3);
        KSHARE(1, +2, e >> 4);
    } else if constexpr (K == 3) {
        KSHARE(0, +1, (5 * e) >> 5);
        KSHARE(0, +2, (3 * e) >> 5);
        KSHARE(1, -2, e >> 4);
        KSHARE(1, -1, e >> 3);
        KSHARE(1, 0, (5 * e) >> 5);
        KSHARE(1, +1, e >> 3);
        KSHARE(1, +2, e >> 4);
        KSHARE(2, -1, e >> 4);
        KSHARE(2, 0, (3 * e) >> 5);
        KSHARE(2, +1, e >> 4);
    } else if constexpr (K == 4) {
        KSHARE(0, +1, (7 * e) / 48);
        KSHARE(0, +2, (5 * e) / 48);
        KSHARE(1, -2, (3 * e) / 48);
        KSHARE(1, -1, (5 * e) / 48);
        KSHARE(1, 0, (7 * e) / 48);
        KSHARE(1, +1, (5 * e) / 48);
        KSHARE(1, +2, (3 * e) / 48);
        KSHARE(2, -2, e / 48);
        KSHARE(2, -1, (3 * e) / 48);
        KSHARE(2, 0, (5 * e) / 48);
        KSHARE(2, +1, (3 * e) / 48);
        KSHARE(2, +2, e / 48);
    } else if constexpr (K == 5) {
        KSHARE(0, +2, (32 * e) / 200);
        KSHARE(1, -3, (12 * e) / 200);
        KSHARE(1, -1, (26 * e) / 200);
        KSHARE(1, +1, (30 * e) / 200);
        KSHARE(1, +3, (16 * e) / 200);
        KSHARE(2, -2, (12 * e) / 200);
        KSHARE(2, 0, (26 * e) / 200);
        KSHARE(2, +2, (12 * e) / 200);
        KSHARE(3, -3, (5 * e) / 200);
        KSHARE(3, -1, (12 * e) / 200);
        KSHARE(3, +1, (12 * e) / 200);
        KSHARE(3, +3, (5 * e) / 200);
    } else {
        static_assert(K == 6, "eight kernels");
        KSHARE(0, +1, e >> 1);
        KSHARE(1, 0, e >> 2);
        KSHARE(1, +1, e >> 2);
    }
}

#undef KSHARE

/* Calls ROW<K>(args...) for a run-time kernel index. */
#define DITHER_DISPATCH(kernel, ROW, ...)           \
    switch (kernel) {                               \
        case 0: ROW<0>(__VA_ARGS__); break;         \
        case 1: ROW<1>(__VA_ARGS__); break;         \
        case 2: ROW<2>(__VA_ARGS__); break;         \
        case 3: ROW<3>(__VA_ARGS__); break;         \
        case 4: ROW<4>(__VA_ARGS__); break;         \
        case 5: ROW<5>(__VA_ARGS__); break;         \
        case 6: ROW<6>(__VA_ARGS__); break;         \
        default: ROW<7>(__VA_ARGS__); break;        \
    }

#endif
