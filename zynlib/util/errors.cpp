// Error reporting: one replaceable method that every message goes through,
// and the message-by-id convention all modules share.
#include <stdarg.h>
#include <stdio.h>

#include "zyn_internal.h"

namespace {

// Strings of the table are at most 255 characters.
const int kMaxText = 256;
// The caption of warnings, in the string table of the module that reports.
const UINT kWarningCaption = 19715;

int WINAPI default_method(HWND owner, LPCSTR text, LPCSTR caption, UINT style) {
#ifdef _WIN32
    return MessageBoxA(owner, text, caption, style);
#else
    return compat_message_box(owner, text, caption, style);
#endif
}

ZYN_ERRMETHOD g_method = default_method;

// A window holding the mouse would keep the message box from getting it.
HWND release_capture(void) {
#ifdef _WIN32
    HWND holder = GetCapture();
    if (holder) ReleaseCapture();
    return holder;
#else
    return nullptr;
#endif
}

void restore_capture(HWND holder) {
#ifdef _WIN32
    if (holder) SetCapture(holder);
#else
    (void)holder;
#endif
}

void load_text(HINSTANCE module, UINT id, const char *missingFormat, char *text) {
    if (LoadStringA(module, id, text, kMaxText) == 0) snprintf(text, kMaxText, missingFormat, id);
}

}  // namespace

extern "C" ZYN_ERRMETHOD WINAPI ZYN_ERR_SetErrorMethod(ZYN_ERRMETHOD method) {
    ZYN_ERRMETHOD previous = g_method;
    g_method = method ? method : default_method;
    return previous;
}

extern "C" int WINAPI ZYN_ERR_Error(LPCSTR text, LPCSTR caption, HWND owner, UINT style) {
    return g_method(owner, text, caption, style);
}

extern "C" int WINAPI ZYN_ERR_ErrorID(HINSTANCE module, int level, UINT id) {
    if (level < ZYN_ERR_LEVEL_PLAIN || level > ZYN_ERR_LEVEL_WARNING) return 0;
    char text[kMaxText];
    load_text(module, id, "Internal error (id = %d)", text);
    char caption[kMaxText];
    const char *shown = nullptr;  // the system's own caption
    if (level == ZYN_ERR_LEVEL_PLAIN)
        shown = "";
    else if (level == ZYN_ERR_LEVEL_WARNING && LoadStringA(module, kWarningCaption, caption, kMaxText) > 0)
        shown = caption;
    HWND holder = release_capture();
    int result = g_method(nullptr, text, shown, 0);
    restore_capture(holder);
    return result;
}

extern "C" void zyn_report(UINT id) { ZYN_ERR_ErrorID(zyn_instance(), ZYN_ERR_LEVEL_ERROR, id); }

extern "C" int zyn_message(UINT id, ...) {
    char format[kMaxText];
    char text[2 * kMaxText];
    if (LoadStringA(zyn_instance(), id, format, kMaxText) == 0) {
        snprintf(text, sizeof text, "Internal error (id = %u)", id);
    } else {
        va_list args;
        va_start(args, id);
        vsnprintf(text, sizeof text, format, args);
        va_end(args);
    }
    return g_method(nullptr, text, nullptr, MB_TASKMODAL);
}
