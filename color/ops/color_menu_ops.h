/* The reductions of the Colors menu as plain operations: each takes the
   active window's DIB with its depth level and color flag, shows the
   progress thermometer while it runs, and on success returns the new DIB
   and updates the level and flag the window should record.  Null after a
   report, with level and flag untouched. */
#ifndef LC_COLOR_MENU_OPS_H
#define LC_COLOR_MENU_OPS_H

#include "platform.h"

#ifdef __cplusplus
extern "C" {
#endif

/* "Flat Cut" (dither 0) and "Flat Cut with Dither" (dither 1) to target
   1, 4, 8 or 16; target 24 is "Decrease color to 24-bit". */
HGLOBAL color_menu_flat_cut(HGLOBAL dib, int target, int dither, int *level, int *color);

/* "Optimized Cut" and "Optimized Cut with Dither" to 16 or 256 colors. */
HGLOBAL color_menu_optimized_cut(HGLOBAL dib, DWORD colors, int dither, int *level, int *color);

/* The Colors-menu reduction commands. */
#define REDUCE_CMD_MONO_FLAT 1809
#define REDUCE_CMD_MONO_FLAT_DITHER 1810
#define REDUCE_CMD_16_FLAT 1825
#define REDUCE_CMD_16_OPTIMIZED 1826
#define REDUCE_CMD_16_FLAT_DITHER 1827
#define REDUCE_CMD_16_OPTIMIZED_DITHER 1828
#define REDUCE_CMD_256_FLAT 1841
#define REDUCE_CMD_256_OPTIMIZED 1842
#define REDUCE_CMD_256_FLAT_DITHER 1843
#define REDUCE_CMD_256_OPTIMIZED_DITHER 1844
#define REDUCE_CMD_16BIT_FLAT 1857
#define REDUCE_CMD_16BIT_FLAT_DITHER 1858
#define REDUCE_CMD_DECREASE_24 1872

/* 1 for the ids above. */
int color_reduce_is_command(UINT id);

/* Runs one reduction command on a window's DIB, level and flag: 1 with
   *result the new DIB, or 0 after a report with nothing changed. */
int color_reduce_command(UINT id, HGLOBAL dib, int *level, int *color, HGLOBAL *result);

#ifdef __cplusplus
}
#endif

#endif
