/* The error-diffusion kernels and the error rows they write into.  Each
   row holds blue, green, red as signed integers per pixel, indexed by the
   position in scan order; row 0 is the current row. */
#ifndef LC_DITHER_KERNELS_H
#define LC_DITHER_KERNELS_H

#include "platform.h"

#ifdef __cplusplus
extern "C" {
#endif

#define DITHER_MAX_ROWS 4
#define DITHER_KERNELS 8
/* Pixels of pad on each side of an error row: the widest reach. */
#define DITHER_PAD 3
#define DITHER_HALFTONE (-1)

/* Adds shares of the three errors forward of position; shares that fall
   outside the row are dropped. */
typedef void (*DitherKernel)(int *const *rows, int position, int row, int width, int height, int redError,
                             int greenError, int blueError);

typedef struct DitherKernelEntry {
    DitherKernel apply;
    int rows; /* error rows the kernel spans */
} DitherKernelEntry;

/* In the table's own order: Floyd-Steinberg, Stucki, Burkes, Sierra,
   Jarvis-Judice-Ninke, Stevenson-Arce, fast three-neighbour, and
   Floyd-Steinberg without small errors. */
extern const DitherKernelEntry dither_kernels[DITHER_KERNELS];

/* The kernel a dither_type value selects, or DITHER_HALFTONE for 0.
   Values outside 0..8 select Floyd-Steinberg, the default. */
int dither_kernel_of(int ditherType);

typedef struct ErrorRows {
    int *row[DITHER_MAX_ROWS];
    int count;
    int width;
} ErrorRows;

/* count rows of width pixels, zeroed, each with DITHER_PAD pixels of pad
   on both sides; 0 when memory is short (no message). */
int error_rows_alloc(ErrorRows *rows, int count, int width);
void error_rows_free(ErrorRows *rows);
/* Row 0 moves to the end; returns that row (for the caller to refill). */
int *error_rows_rotate(ErrorRows *rows);
/* After a serpentine row: rotate, clear the new last row and reverse the
   others pixel by pixel so they read in the next row's direction. */
void error_rows_next_serpentine(ErrorRows *rows);

#ifdef __cplusplus
}
#endif

#endif
