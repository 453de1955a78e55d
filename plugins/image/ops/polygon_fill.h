/* Our own polygon fill for the native mask shapes: a pixel belongs to a
   polygon when its centre lies inside, by the even-odd (alternate) or the
   nonzero winding rule, as the metafile's fill mode says.  Window
   coordinates are stretched over the raster as GDI's anisotropic mapping
   does with the viewport set to the raster. */
#ifndef IMAGE_POLYGON_FILL_H
#define IMAGE_POLYGON_FILL_H

#include "ops_internal.h"

#define IMG_FILL_ALTERNATE 1
#define IMG_FILL_WINDING 2

/* One byte per pixel, rows bottom-up as in a DIB. */
typedef struct ImgRaster {
    BYTE *bits;
    size_t stride;
    LONG width, height;
} ImgRaster;

typedef struct ImgWindow {
    int32_t orgX, orgY, extX, extY;
} ImgWindow;

typedef struct ImgPoint {
    int32_t x, y;
} ImgPoint;

/* Paints value into every pixel inside the polygons (counts[i] points
   each, each closed back to its first point).  0 when memory is short. */
int img_fill_polygons(const ImgPoint *points, const uint32_t *counts, uint32_t polygons, int mode,
                      const ImgWindow *window, const ImgRaster *raster, BYTE value);

/* Plays a memory-form Windows metafile (type 1 or 2, header of 9 words)
   into the raster: window origin and extent, fill mode, brushes and the
   polygon records are followed; pens, text and every other record are
   skipped.  0 when the bytes are not such a metafile or memory is short. */
int img_metafile_play(const BYTE *data, size_t size, const ImgRaster *raster);

#endif
