// The module's instance (its string table) and its messages.
#include <stdio.h>

#include "style_internal.h"

#ifdef _WIN32
extern "C" HINSTANCE sty_instance(void) {
    static HMODULE self;
    // The DLL's own module, or the program the code is linked into.
    if (!self)
        GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                           reinterpret_cast<LPCSTR>(&sty_params), &self);
    return self;
}
#else
extern "C" HINSTANCE sty_instance(void) { return COMPAT_MODULE_INSTANCE(style_strings); }
#endif

namespace {

void load_text(UINT id, char *text, int size) {
    if (LoadStringA(sty_instance(), id, text, size) == 0) snprintf(text, (size_t)size, "Internal error (id = %u)", id);
}

}  // namespace

extern "C" void sty_report(UINT id) {
    char text[256];
    load_text(id, text, sizeof text);
    ZYN_ERR_Error(text, nullptr, nullptr, MB_TASKMODAL);
}

extern "C" void sty_report_nomem(void) { sty_report(IDS_STY_NOMEM); }

extern "C" void sty_message(UINT id, int value) {
    char format[256], text[300];
    load_text(id, format, sizeof format);
    snprintf(text, sizeof text, format, value);
    ZYN_ERR_Error(text, "", nullptr, MB_OK);
}
