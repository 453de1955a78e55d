#include "core/messages.h"

#include <stdio.h>
#include <string.h>

#include "core/batch_state.h"
#include "core/lc_instance.h"
#include "lumacast_strings.h"
#include "zynlib.h"

static const char PROGRAM_CAPTION[] = "Lumacast";

/* Loads string id and formats the arguments into it; a missing string
   gives the fallback pattern with the id instead. */
static void format_by_id(char *out, size_t size, UINT id, const char *missing, va_list args) {
    char pattern[256];
    if (LoadStringA(lc_instance(), id, pattern, (int)sizeof pattern) <= 0) {
        snprintf(out, size, missing, id);
        return;
    }
    vsnprintf(out, size, pattern, args);
}

/* The box is system-modal; while it is up the mouse must not stay captured
   by a window of ours, or the box could not be answered with the mouse. */
static int show_box(const char *text, const char *caption, UINT style) {
#ifdef _WIN32
    HWND captured = GetCapture();
    if (captured) ReleaseCapture();
    int answer = ZYN_ERR_Error(text, caption, NULL, style);
    if (captured) SetCapture(captured);
    return answer;
#else
    return ZYN_ERR_Error(text, caption, NULL, style);
#endif
}

static void load_caption(UINT id, char *buf, size_t size) {
    if (LoadStringA(lc_instance(), id, buf, (int)size) <= 0) buf[0] = '\0';
}

/* The caption of a kind; false for kinds that show nothing. */
static int caption_of_kind(int kind, char *buf, size_t size, const char **caption) {
    switch (kind) {
        case MSG_INFO: *caption = PROGRAM_CAPTION; return 1;
        case MSG_ERROR: *caption = NULL; return 1;
        case MSG_WARNING:
            load_caption(IDS_WARNING, buf, size);
            *caption = buf;
            return 1;
        default: return 0;
    }
}

extern "C" int lc_message_text(int kind, const char *text) {
    char captionBuf[64];
    const char *caption;
    if (!caption_of_kind(kind, captionBuf, sizeof captionBuf, &caption)) return 0;
    if (kind == MSG_ERROR && batch_running() && !batch_unattended()) {
        char joined[LC_MESSAGE_MAX + 64];
        char tail[64];
        load_caption(IDS_CANCEL_BATCH, tail, sizeof tail);
        snprintf(joined, sizeof joined, "%s%s", text ? text : "", tail);
        int answer = show_box(joined, NULL, MB_YESNO | MB_ICONQUESTION | MB_SYSTEMMODAL);
        if (answer == IDYES) batch_set_cancel(1);
        return answer;
    }
    return show_box(text ? text : "", caption, MB_OK | MB_ICONEXCLAMATION | MB_SYSTEMMODAL);
}

extern "C" int lc_message_v(int kind, UINT id, va_list args) {
    char text[LC_MESSAGE_MAX];
    format_by_id(text, sizeof text, id, "Internal error (id = %d)", args);
    return lc_message_text(kind, text);
}

extern "C" int lc_message(int kind, UINT id, ...) {
    va_list args;
    va_start(args, id);
    int answer = lc_message_v(kind, id, args);
    va_end(args);
    return answer;
}

static int question_v(int kind, UINT id, va_list args) {
    char captionBuf[64];
    const char *caption;
    if (!caption_of_kind(kind, captionBuf, sizeof captionBuf, &caption)) return 0;
    char text[LC_MESSAGE_MAX];
    format_by_id(text, sizeof text, id, "Internal query error (id = %d)", args);
    return show_box(text, caption, MB_YESNO | MB_ICONQUESTION | MB_SYSTEMMODAL);
}

extern "C" int lc_question(int kind, UINT id, ...) {
    va_list args;
    va_start(args, id);
    int answer = question_v(kind, id, args);
    va_end(args);
    return answer;
}

extern "C" int lc_ask_yes_no_cancel(const char *text) {
    return show_box(text ? text : "", PROGRAM_CAPTION, MB_YESNOCANCEL | MB_ICONQUESTION | MB_SYSTEMMODAL);
}

extern "C" int lc_message_plain(UINT id, ...) {
    char text[LC_MESSAGE_MAX];
    va_list args;
    va_start(args, id);
    format_by_id(text, sizeof text, id, "Internal error (id = %u)", args);
    va_end(args);
    return show_box(text, "", MB_OK | MB_TASKMODAL);
}

extern "C" int codec_error(UINT id, ...) {
    va_list args;
    va_start(args, id);
    int answer = lc_message_v(MSG_ERROR, id, args);
    va_end(args);
    return answer;
}

extern "C" int codec_question(UINT id, ...) {
    va_list args;
    va_start(args, id);
    int answer = question_v(MSG_WARNING, id, args);
    va_end(args);
    return answer;
}
