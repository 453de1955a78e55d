/* Whether an image window may close, and what the answer to the
   unsaved-changes question does. */
#ifndef LC_CLOSE_RULE_H
#define LC_CLOSE_RULE_H

#include "platform.h"

#ifdef __cplusplus
extern "C" {
#endif

/* No question when Shift is held, the window is not modified, it is a
   media window, or a batch run is in progress. */
int close_needs_question(int shiftDown, DWORD flags, int batchRunning);

enum CloseAction { CLOSE_SAVE, CLOSE_SAVE_AS, CLOSE_DISCARD, CLOSE_KEEP };
/* answer: IDYES 6, IDNO 7, anything else keeps the window. */
int close_action(int answer, int formatSavable);

#ifdef __cplusplus
}
#endif

#endif
