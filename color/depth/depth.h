/* The depth and gray conversions of the Colors menu, and the depth level
   and color flag an image window keeps beside its DIB.  Every conversion
   returns a new DIB and leaves its input untouched, or null after reporting
   its own failure. */
#ifndef LC_COLOR_DEPTH_H
#define LC_COLOR_DEPTH_H

#include "platform.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Gray copy of any 1-, 4-, 8-, 24- or 32-bit DIB. */
HGLOBAL depth_to_gray(HGLOBAL dib);
/* Widening to level 4, 8, 16, 24 or 32; alpha is the alpha byte of level 32
   (255 opaque, 0 transparent) and is ignored otherwise.  Level 16 is built
   as 24 bits with the low three bits of every channel clear. */
HGLOBAL depth_increase(HGLOBAL dib, int level, BYTE alpha);

/* What the image window keeps: the depth the user sees (1, 4, 8, 16, 24,
   32) and whether the image counts as color (1) or gray (0). */
typedef struct DepthState {
    int level;
    int color;
} DepthState;

/* The level of a freshly loaded DIB: its bit count. */
int depth_level_of(HGLOBAL dib);
/* 1 when at least one entry of the DIB's color table (its color count) has
   red, green and blue not all equal; 0 for a DIB without a table. */
int depth_table_has_color(HGLOBAL dib);
/* The color flag after a window that had `color` receives dib: a color
   image getting 8 or fewer bits keeps the flag only if its table has color. */
int depth_color_after_install(int color, HGLOBAL dib);

/* The Colors-menu commands of this unit. */
#define DEPTH_CMD_COLOR 1280
#define DEPTH_CMD_GRAY 1281
#define DEPTH_CMD_INCREASE_16 1824
#define DEPTH_CMD_INCREASE_256 1840
#define DEPTH_CMD_INCREASE_16BIT 1856
#define DEPTH_CMD_INCREASE_24 1873
#define DEPTH_CMD_INCREASE_32_OPAQUE 1878
#define DEPTH_CMD_INCREASE_32_TRANSPARENT 1879

/* 1 for the ids above. */
int depth_is_command(UINT id);

/* Runs one command on a window's DIB and state.  Returns 1 on success with
   *result the new DIB for the window (null when only the state changed:
   marking as color, level 16 to 24); 0 after reporting, the state
   untouched. */
int depth_command(UINT id, HGLOBAL dib, DepthState *state, HGLOBAL *result);

/* The single commands behind depth_command. */
HGLOBAL depth_command_gray(HGLOBAL dib, DepthState *state);
void depth_command_mark_color(DepthState *state);
int depth_command_increase(HGLOBAL dib, DepthState *state, int level, BYTE alpha, HGLOBAL *result);

#ifdef __cplusplus
}
#endif

#endif
