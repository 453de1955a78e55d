// The plug-in's texts, from its own string table: boxes without owner or
// caption, and the missing-string text every module shares.
#include <stdio.h>

#include "plugin.h"
#include "zynlib.h"

#ifndef MB_TASKMODAL
#define MB_TASKMODAL 0x00002000L
#endif

extern "C" void img_text(UINT id, char *out, size_t size) {
    if (!size) return;
    if (LoadStringA(img_instance(), id, out, (int)size) > 0) return;
    snprintf(out, size, "Internal error (id = %u)", id);
}

extern "C" void img_say(UINT id) {
    char text[256];
    img_text(id, text, sizeof text);
    ZYN_ERR_Error(text, "", nullptr, MB_OK | MB_TASKMODAL);
}
