// Background events: long operations call ZYN_EVT_Background once per row
// so that the interface stays alive while they run.
#include "zyn_internal.h"

namespace {

bool g_on = false;
ZYN_BGCALLBACK g_callback = nullptr;

}  // namespace

extern "C" void WINAPI ZYN_EVT_StartBackground(ZYN_BGCALLBACK callback) {
    g_on = true;
    g_callback = callback;
}

extern "C" void WINAPI ZYN_EVT_StopBackground(void) {
    g_on = false;
    g_callback = nullptr;
}

extern "C" int WINAPI ZYN_EVT_Background(void) {
    if (!g_on) return 1;
#ifdef _WIN32
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
#endif
    // The callback may stop the operation (a Cancel button, Escape).
    return g_callback ? g_callback() : 1;
}
