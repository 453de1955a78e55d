/* The color operations the save path and the batch conversion need.  The
   color-reduction unit fills the table; an operation that is still missing
   fails with a message that names it. */
#ifndef LC_COLOR_OPS_H
#define LC_COLOR_OPS_H

#include "platform.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Each returns a new DIB and leaves its input untouched, or null after
   reporting its own failure. */
typedef struct ColorOps {
    HGLOBAL (*to_gray)(HGLOBAL dib);
    /* level 4, 8, 16, 24 or 32; alpha for 32 (255 opaque) */
    HGLOBAL (*increase_depth)(HGLOBAL dib, int level, BYTE alpha);
    /* target 1, 4, 8, 16 or 24; gray: the image is not marked as color;
       dither only for 1, 4, 8 and 16 */
    HGLOBAL (*flat_cut)(HGLOBAL dib, int target, int gray, int dither);
    HGLOBAL (*optimized_cut)(HGLOBAL dib, DWORD colors, int dither);
} ColorOps;

/* Copies the table; null empties it. */
void color_ops_install(const ColorOps *ops);
const ColorOps *color_ops(void);
/* Installs the program's own operations (color/color_ops_table.cpp). */
void color_ops_install_builtin(void);

#ifdef __cplusplus
}
#endif

#endif
