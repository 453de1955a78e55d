/* Mapping an image to a given palette with dither: the median cut's
   dithered mapping and the general "apply this palette" operation. */
#ifndef LC_PALETTE_MAP_H
#define LC_PALETTE_MAP_H

#include "platform.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Maps src (1, 4, 8, 24 or 32 bits) into dst (1, 4 or 8 bits, the same
   size, its color table already filled) with the dither_type and
   fast_dither settings.  pass places the progress: rows advance it to
   pass x height + row + 1.  1, or 0 after a report. */
int palette_map_dither(HGLOBAL src, HGLOBAL dst, int pass);

/* The same with explicit setting values. */
int palette_map_dither_with(HGLOBAL src, HGLOBAL dst, int pass, int ditherType, int fastDither);

/* The nearest entry by the sum of absolute channel differences; the
   first entry wins a tie. */
int palette_nearest(const RGBQUAD *table, int count, int red, int green, int blue);

/* The same answer as palette_nearest, through per-cell candidate lists
   built on first use (the search the mapping runs without the cache). */
typedef struct PaletteSearch PaletteSearch;
PaletteSearch *palette_search_new(const RGBQUAD *table, int count);
int palette_search_nearest(PaletteSearch *search, int red, int green, int blue);
void palette_search_free(PaletteSearch *search);

#ifdef __cplusplus
}
#endif

#endif
