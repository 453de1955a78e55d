/* Progress reporting of the long colour operations.  The operations call
   the color_progress_* procedures; they do nothing unless the progress
   flag is on and a hook table is installed (the shell installs one that
   drives the thermometer).  Texts are string ids of the program's table. */
#ifndef LC_COLOR_PROGRESS_H
#define LC_COLOR_PROGRESS_H

#include "platform.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef struct ColorProgressHooks {
    /* Shows the thermometer titled by text_id with steps 0 .. range. */
    void (*begin)(void *context, UINT text_id, int range);
    /* Moves the bar to position (0 .. range). */
    void (*advance)(void *context, int position);
    /* Shows a closing text (0 for none) and closes the thermometer. */
    void (*end)(void *context, UINT final_text_id);
    void *context;
} ColorProgressHooks;

/* Copies the table; null removes it. */
void color_progress_install(const ColorProgressHooks *hooks);

/* The progress flag: the menu actions set it before an operation and
   clear it after; the save path and batch leave it off. */
void color_progress_set_flag(int on);
int color_progress_flag(void);

/* Called by the operations; each is a no-op while the flag is off or no
   hooks are installed. */
void color_progress_begin(UINT text_id, int range);
void color_progress_advance(int position);
void color_progress_end(UINT final_text_id);

/* Advances on every 16th row and on the last one: row counts from 0,
   base is added to (row + 1). */
void color_progress_row(int row, int rows, int base);

#ifdef __cplusplus
}
#endif

#endif
