#include "color/flat/kernels.h"

#include <stdlib.h>
#include <string.h>

/* Right shifts of negative values are arithmetic (they round down) and
   divisions truncate toward zero; both are part of each kernel's result. */
static inline void add_share(int *row, int width, int at, int blue, int green, int red) {
    if ((unsigned)at >= (unsigned)width) return;
    int *p = row + 3 * at;
    p[0] += blue;
    p[1] += green;
    p[2] += red;
}

#define SHARE(rowOffset, columnOffset, EXPR)                                               \
    do {                                                                                  \
        int e;                                                                            \
        e = eb;                                                                           \
        int b_ = (EXPR);                                                                  \
        e = eg;                                                                           \
        int g_ = (EXPR);                                                                  \
        e = er;                                                                           \
        int r_ = (EXPR);                                                                  \
        add_share(rows[rowOffset], width, position + (columnOffset), b_, g_, r_);         \
    } while (0)

static void floyd_steinberg(int *const *rows, int position, int, int width, int, int er, int eg, int eb) {
    SHARE(0, +1, (7 * e) >> 4);
    SHARE(1, -1, (3 * e) >> 4);
    SHARE(1, 0, (5 * e) >> 4);
    SHARE(1, +1, e >> 4);
}

static void stucki(int *const *rows, int position, int, int width, int, int er, int eg, int eb) {
    SHARE(0, +1, (8 * e) / 42);
    SHARE(0, +2, (4 * e) / 42);
    SHARE(1, -2, (2 * e) / 42);
    SHARE(1, -1, (4 * e) / 42);
    SHARE(1, 0, (8 * e) / 42);
    SHARE(1, +1, (4 * e) / 42);
    SHARE(1, +2, (2 * e) / 42);
    SHARE(2, -2, e / 42);
    SHARE(2, -1, (2 * e) / 42);
    SHARE(2, 0, (4 * e) / 42);
    SHARE(2, +1, (2 * e) / 42);
    SHARE(2, +2, e / 42);
}

static void burkes(int *const *rows, int position, int, int width, int, int er, int eg, int eb) {
    SHARE(0, +1, e >> 2);
    SHARE(0, +2, e >> 3);
    SHARE(1, -2, e >> 4);
    SHARE(1, -1, e >> 3);
    SHARE(1, 0, e >> 2);
    SHARE(1, +1, e >> 3);
    SHARE(1, +2, e >> 4);
}

static void sierra(int *const *rows, int position, int, int width, int, int er, int eg, int eb) {
    SHARE(0, +1, (5 * e) >> 5);
    SHARE(0, +2, (3 * e) >> 5);
    SHARE(1, -2, e >> 4);
    SHARE(1, -1, e >> 3);
    SHARE(1, 0, (5 * e) >> 5);
    SHARE(1, +1, e >> 3);
    SHARE(1, +2, e >> 4);
    SHARE(2, -1, e >> 4);
    SHARE(2, 0, (3 * e) >> 5);
    SHARE(2, +1, e >> 4);
}

static void jarvis_judice_ninke(int *const *rows, int position, int, int width, int, int er, int eg, int eb) {
    SHARE(0, +1, (7 * e) / 48);
    SHARE(0, +2, (5 * e) / 48);
    SHARE(1, -2, (3 * e) / 48);
    SHARE(1, -1, (5 * e) / 48);
    SHARE(1, 0, (7 * e) / 48);
    SHARE(1, +1, (5 * e) / 48);
    SHARE(1, +2, (3 * e) / 48);
    SHARE(2, -2, e / 48);
    SHARE(2, -1, (3 * e) / 48);
    SHARE(2, 0, (5 * e) / 48);
    SHARE(2, +1, (3 * e) / 48);
    SHARE(2, +2, e / 48);
}

static void stevenson_arce(int *const *rows, int position, int, int width, int, int er, int eg, int eb) {
    SHARE(0, +2, (32 * e) / 200);
    SHARE(1, -3, (12 * e) / 200);
    SHARE(1, -1, (26 * e) / 200);
    SHARE(1, +1, (30 * e) / 200);
    SHARE(1, +3, (16 * e) / 200);
    SHARE(2, -2, (12 * e) / 200);
    SHARE(2, 0, (26 * e) / 200);
    SHARE(2, +2, (12 * e) / 200);
    SHARE(3, -3, (5 * e) / 200);
    SHARE(3, -1, (12 * e) / 200);
    SHARE(3, +1, (12 * e) / 200);
    SHARE(3, +3, (5 * e) / 200);
}

static void fast_three(int *const *rows, int position, int, int width, int, int er, int eg, int eb) {
    SHARE(0, +1, e >> 1);
    SHARE(1, 0, e >> 2);
    SHARE(1, +1, e >> 2);
}

/* "e < 16" is a signed test: every negative error goes too. */
static void floyd_steinberg_large(int *const *rows, int position, int row, int width, int height, int er, int eg,
                                  int eb) {
    floyd_steinberg(rows, position, row, width, height, er < 16 ? 0 : er, eg < 16 ? 0 : eg, eb < 16 ? 0 : eb);
}

extern "C" const DitherKernelEntry dither_kernels[DITHER_KERNELS] = {
    {floyd_steinberg, 2}, {stucki, 3},         {burkes, 2},     {sierra, 3},
    {jarvis_judice_ninke, 3}, {stevenson_arce, 4}, {fast_three, 2}, {floyd_steinberg_large, 2}};

extern "C" int dither_kernel_of(int ditherType) {
    static const int kernel_of_value[9] = {DITHER_HALFTONE, 6, 0, 1, 2, 3, 4, 5, 7};
    if (ditherType < 0 || ditherType > 8) return 0;
    return kernel_of_value[ditherType];
}

extern "C" int error_rows_alloc(ErrorRows *rows, int count, int width) {
    memset(rows, 0, sizeof *rows);
    if (count < 1 || count > DITHER_MAX_ROWS || width < 1) return 0;
    rows->width = width;
    for (int i = 0; i < count; i++) {
        int *block = (int *)calloc(((size_t)width + 2 * DITHER_PAD) * 3, sizeof(int));
        if (!block) {
            error_rows_free(rows);
            return 0;
        }
        rows->row[i] = block + 3 * DITHER_PAD;
        rows->count = i + 1;
    }
    return 1;
}

extern "C" void error_rows_free(ErrorRows *rows) {
    for (int i = 0; i < DITHER_MAX_ROWS; i++)
        if (rows->row[i]) free(rows->row[i] - 3 * DITHER_PAD);
    memset(rows, 0, sizeof *rows);
}

extern "C" int *error_rows_rotate(ErrorRows *rows) {
    int *first = rows->row[0];
    for (int i = 1; i < rows->count; i++) rows->row[i - 1] = rows->row[i];
    rows->row[rows->count - 1] = first;
    return first;
}

static void reverse_pixels(int *row, int width) {
    for (int a = 0, b = width - 1; a < b; a++, b--) {
        int *pa = row + 3 * a, *pb = row + 3 * b;
        for (int c = 0; c < 3; c++) {
            int t = pa[c];
            pa[c] = pb[c];
            pb[c] = t;
        }
    }
}

extern "C" void error_rows_next_serpentine(ErrorRows *rows) {
    int *last = error_rows_rotate(rows);
    memset(last - 3 * DITHER_PAD, 0, ((size_t)rows->width + 2 * DITHER_PAD) * 3 * sizeof(int));
    for (int i = 0; i < rows->count - 1; i++) reverse_pixels(rows->row[i], rows->width);
}
