// Attach and detach of the library in a process.
#include "zyn_internal.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    switch (reason) {
    case DLL_PROCESS_ATTACH:
        // Keeps the instance (messages come from its string table), the
        // system kind, the wait cursor, the system brushes, the dialog font
        // and the display depth.  The window classes of the controls are
        // registered here as well once those units exist.
        zyn_attach(instance);
        DisableThreadLibraryCalls(instance);
        break;
    case DLL_PROCESS_DETACH: zyn_detach(); break;
    default: break;
    }
    return TRUE;
}
