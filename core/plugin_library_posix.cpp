#include <dlfcn.h>

#include "core/plugin_library.h"

extern "C" LcLibrary lc_library_open(const char *path) { return dlopen(path, RTLD_NOW | RTLD_LOCAL); }

extern "C" LcSymbol lc_library_symbol(LcLibrary library, const char *name) {
    return (LcSymbol)dlsym(library, name);
}

extern "C" void lc_library_close(LcLibrary library) {
    if (library) dlclose(library);
}
