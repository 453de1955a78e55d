/* The module: its instance, the one codec request record, and messages. */
#include <string.h>

#include "kojpeg_hooks.h"
#ifndef _WIN32
#include "zynlib.h"
#endif

static TavnRequest request;

extern "C" TavnRequest *kojpeg_request(void) { return &request; }

extern "C" void kojpeg_clear_request(void) {
    TavnRequestFields keep = request.f;
    memset(&request, 0, sizeof request);
    request.f.inStart = keep.inStart;
    request.f.inFront = keep.inFront;
    request.f.inRear = keep.inRear;
    request.f.inEnd = keep.inEnd;
    request.f.outStart = keep.outStart;
    request.f.outFront = keep.outFront;
    request.f.outRear = keep.outRear;
    request.f.outEnd = keep.outEnd;
    request.f.size = TAVN_RECORD_SIZE;
    request.f.version = TAVN_VERSION;
}

#ifdef _WIN32
extern "C" HINSTANCE kojpeg_instance(void) {
    static HMODULE self;
    if (!self)
        GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                           reinterpret_cast<LPCSTR>(&request), &self);
    return self;
}

extern "C" int kojpeg_show_box(const char *text, const char *caption, UINT style) {
    return MessageBoxA(NULL, text, caption, style);
}
#else
extern "C" HINSTANCE kojpeg_instance(void) { return COMPAT_MODULE_INSTANCE(kojpeg_strings); }

/* Natively boxes go through the library's message method, which the tools
   print and the tests record. */
extern "C" int kojpeg_show_box(const char *text, const char *caption, UINT style) {
    return ZYN_ERR_Error(text, caption, NULL, style);
}
#endif

static void load_text(UINT id, char *text, int size) {
    if (LoadStringA(kojpeg_instance(), id, text, size) == 0) strcpy(text, "?");
}

extern "C" void kojpeg_message(UINT id) {
    char text[256];
    load_text(id, text, sizeof text);
    kojpeg_show_box(text, NULL, MB_OK);
}

extern "C" void kojpeg_codec_message(UINT id) {
    char text[256], caption[128];
    load_text(id, text, sizeof text);
    load_text(IDS_KJ_CAPTION, caption, sizeof caption);
    kojpeg_show_box(text, caption, MB_OK | MB_ICONHAND);
}
