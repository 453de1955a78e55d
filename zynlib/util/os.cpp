// The system kind, worked out once (at attach on Windows).
#include "zyn_internal.h"

#ifdef _WIN32
namespace {
int g_kind = 0;

int detect_kind(void) {
    OSVERSIONINFOA v = {};
    v.dwOSVersionInfoSize = sizeof v;
    if (!GetVersionExA(&v)) return ZYN_OS_WINNT;
    switch (v.dwPlatformId) {
    case VER_PLATFORM_WIN32s: return ZYN_OS_WIN32S;
    case VER_PLATFORM_WIN32_WINDOWS: return ZYN_OS_WIN95;
    default: return v.dwMajorVersion == 4 && v.dwMinorVersion == 0 ? ZYN_OS_WINNT4 : ZYN_OS_WINNT;
    }
}
}  // namespace

extern "C" void zyn_os_init(void) { g_kind = detect_kind(); }

extern "C" int WINAPI ZYN_MD_GetOS(void) {
    if (!g_kind) zyn_os_init();
    return g_kind;
}
#else
// Natively there is no Windows family to tell apart: the plain NT kind.
extern "C" int WINAPI ZYN_MD_GetOS(void) { return ZYN_OS_WINNT; }
#endif
