#include "core/lc_instance.h"

#include "lumacast_strings.h"

extern "C" HINSTANCE lc_instance(void) {
#ifdef _WIN32
    return GetModuleHandle(NULL);
#else
    return COMPAT_MODULE_INSTANCE(lumacast_strings);
#endif
}
