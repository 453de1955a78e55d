/* The arithmetic of the operations' dialogs, apart from their windows:
   the scale dialog's units, the crop and frame dialogs' margins, the tile
   dialog's counts.  Every number a user types is checked before it is
   stored or multiplied. */
#ifndef IMAGE_DIALOGS_H
#define IMAGE_DIALOGS_H

#include <stddef.h>

#include "image_ops.h"

#ifdef __cplusplus
extern "C" {
#endif

#define IMG_UNITS_PIXELS 0
#define IMG_UNITS_PERCENT 1
#define IMG_UNITS_INCHES 2
#define IMG_UNITS_CENTIMETERS 3

/* The size a typed percentage gives: (p x old + 99) / 100, raised until it
   reads back as p.  0 when old is 0 or the size would pass IMG_MAX_SIDE. */
DWORD img_scale_from_percent(DWORD old, DWORD percent);
/* new x 100 / old, 0 for an old size of 0. */
DWORD img_scale_percent_of(DWORD size, DWORD old);
/* The other side with "Maintain Aspect", rounded up; 0 when it would pass
   IMG_MAX_SIDE or oldThis is 0. */
DWORD img_scale_follow_aspect(DWORD size, DWORD oldThis, DWORD oldOther);
/* Pixels of a typed inch or centimeter value at a resolution; the width
   adds 0.0009 before truncating, the height does not. */
DWORD img_scale_from_length(double value, int units, int resolution, int isWidth);
/* The edit's text for a size in the units: integers for pixels and
   percentage, three truncated decimals for inches and centimeters (the
   factor 2.7 per inch, as the dialog always had). */
void img_scale_format(DWORD size, DWORD old, int units, int resolution, char *text, size_t max);

/* A typed final size split into two margins: the lower one rounded down,
   the upper one the rest.  Crop: old - size (right and top low); frame:
   size - old (left and top low).  Either gives 0 when the difference is
   negative. */
void img_crop_margins(DWORD old, DWORD size, DWORD *right, DWORD *left);
void img_frame_margins(DWORD old, DWORD size, DWORD *left, DWORD *right);
/* A crop margin typed beside the opposite one: cut back so both fit. */
DWORD img_crop_clamp_margin(DWORD old, DWORD typed, DWORD opposite);

/* A tile count as typed: digits only, 1 to IMG_TILE_MAX_SIDE; 0 when not. */
int img_tile_count_parse(const char *text, DWORD *count);

#ifdef __cplusplus
}
#endif

#endif
