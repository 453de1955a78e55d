// The hourglass shown during long commands.
#include "zyn_internal.h"

namespace {
HCURSOR g_wait = nullptr;
HCURSOR g_previous = nullptr;
}  // namespace

extern "C" void zyn_wait_init(void) { g_wait = LoadCursor(nullptr, IDC_WAIT); }

extern "C" void WINAPI ZYN_UTI_StartWait(void) {
    if (!g_wait) zyn_wait_init();
    g_previous = SetCursor(g_wait);
}

extern "C" void WINAPI ZYN_UTI_EndWait(void) { SetCursor(g_previous); }
