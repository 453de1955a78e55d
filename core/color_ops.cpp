#include "core/color_ops.h"

#include <string.h>

static ColorOps installed;

extern "C" void color_ops_install(const ColorOps *ops) {
    if (ops)
        installed = *ops;
    else
        memset(&installed, 0, sizeof installed);
}

extern "C" const ColorOps *color_ops(void) { return &installed; }
