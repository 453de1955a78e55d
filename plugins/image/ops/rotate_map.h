/* The geometry of a free rotation: the larger canvas and the per-column
   and per-row tables that map an output pixel back into the source.  The
   tables hold trunc(2 cos t (v - n/2 + offset)) and the sine likewise, so
   the mapping itself is integer adds and one shift. */
#ifndef IMAGE_ROTATE_MAP_H
#define IMAGE_ROTATE_MAP_H

#include "ops_internal.h"

typedef struct RotateMap {
    LONG srcWidth, srcHeight;  /* W, H */
    LONG width, height;        /* the canvas */
    int samples;               /* 1 (offset 0.5) or 2 (0.25 and 0.75) per axis */
    int32_t *c1[2], *s1[2];    /* per output column */
    int32_t *c2[2], *s2[2];    /* per output row */
} RotateMap;

/* The canvas of a turn by phi degrees (the resampler's sense), and the
   tables.  IMG_NO_MEMORY when the canvas is too large or memory short;
   rotate_map_free either way. */
int rotate_map_init(RotateMap *map, LONG width, LONG height, int phi, int samples);
void rotate_map_free(RotateMap *map);

/* Source column and row of sample (sx, sy) of output pixel (x, y); out of
   the source when not below W and H as unsigned. */
static inline void rotate_map_source(const RotateMap *m, int sx, int sy, LONG x, LONG y, uint32_t *col,
                                     uint32_t *row) {
    *col = (uint32_t)(((m->c1[sx][x] + m->s2[sy][y]) >> 1) + m->srcWidth / 2);
    *row = (uint32_t)(((m->c2[sy][y] - m->s1[sx][x]) >> 1) + m->srcHeight / 2);
}

#endif
