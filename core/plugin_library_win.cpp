#include <windows.h>

#include "core/plugin_library.h"

extern "C" LcLibrary lc_library_open(const char *path) {
    /* A missing plug-in fails silently: no system error box. */
    UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    HMODULE module = LoadLibraryA(path);
    SetErrorMode(oldMode);
    return (LcLibrary)module;
}

extern "C" LcSymbol lc_library_symbol(LcLibrary library, const char *name) {
    return (LcSymbol)(void *)GetProcAddress((HMODULE)library, name);
}

extern "C" void lc_library_close(LcLibrary library) {
    if (library) FreeLibrary((HMODULE)library);
}
