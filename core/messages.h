/* The message routine: every report of the program goes through here, by
   string id and kind, and is shown through zynlib's error method. */
#ifndef LC_MESSAGES_H
#define LC_MESSAGES_H

#include <stdarg.h>

#include "platform.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Kinds. */
#define MSG_INFO 1    /* caption "Lumacast" */
#define MSG_ERROR 2   /* no caption of its own; offers "Cancel Batch?" */
#define MSG_WARNING 3 /* caption "Warning" */

/* Largest text a message may have after formatting. */
#define LC_MESSAGE_MAX 1024

/* Formats string id with the arguments and shows it; returns the box's
   answer (0 for an unknown kind).  During an attended batch run a kind-2
   box asks "Cancel Batch?" and Yes sets the cancel flag. */
int lc_message(int kind, UINT id, ...);
int lc_message_v(int kind, UINT id, va_list args);
/* The same with a ready text. */
int lc_message_text(int kind, const char *text);
/* Yes/No question with the question icon; returns IDYES or IDNO. */
int lc_question(int kind, UINT id, ...);
/* Yes/No/Cancel question with a ready text, caption "Lumacast"; returns
   IDYES, IDNO or IDCANCEL. */
int lc_ask_yes_no_cancel(const char *text);
/* Task-modal box without caption or icon. */
int lc_message_plain(UINT id, ...);

/* The services codecs report through: an error (kind 2, so a batch run
   offers to cancel) and a question titled "Warning" that returns IDYES or
   IDNO.  Format messages with the extension go through
   catalogue_format_error. */
int codec_error(UINT id, ...);
int codec_question(UINT id, ...);

#ifdef __cplusplus
}
#endif

#endif
