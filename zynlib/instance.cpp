// The library's own module: where its messages come from.
#include "zyn_internal.h"

#ifdef _WIN32
namespace {
HINSTANCE g_instance = nullptr;
int g_displayBits = 0;
}  // namespace

extern "C" HINSTANCE zyn_instance(void) {
    if (!g_instance) {
        // Linked statically into an executable there is no attach: use the
        // module that holds this code, whose resources carry the table.
        HMODULE self = nullptr;
        GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                           reinterpret_cast<LPCSTR>(&g_instance), &self);
        g_instance = self;
    }
    return g_instance;
}

extern "C" void zyn_display_init(void) {
    HDC screen = GetDC(nullptr);
    g_displayBits = screen ? GetDeviceCaps(screen, PLANES) * GetDeviceCaps(screen, BITSPIXEL) : 24;
    if (screen) ReleaseDC(nullptr, screen);
}

extern "C" int zyn_display_bits(void) {
    if (!g_displayBits) zyn_display_init();
    return g_displayBits;
}

extern "C" void zyn_attach(HINSTANCE instance) {
    g_instance = instance;
    zyn_os_init();
    zyn_wait_init();
    zyn_brushes_init();
    zyn_font_init();
    zyn_display_init();
}

extern "C" void zyn_detach(void) { zyn_brushes_free(); }
#else
extern "C" HINSTANCE zyn_instance(void) { return COMPAT_MODULE_INSTANCE(zynlib_strings); }
#endif
