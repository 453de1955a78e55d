#include "color/progress.h"

#include <string.h>

static ColorProgressHooks hooks;
static int flag;

extern "C" void color_progress_install(const ColorProgressHooks *table) {
    if (table)
        hooks = *table;
    else
        memset(&hooks, 0, sizeof hooks);
}

extern "C" void color_progress_set_flag(int on) { flag = on != 0; }

extern "C" int color_progress_flag(void) { return flag; }

extern "C" void color_progress_begin(UINT text_id, int range) {
    if (flag && hooks.begin)
        hooks.begin(hooks.context, text_id, range);
}

extern "C" void color_progress_advance(int position) {
    if (flag && hooks.advance)
        hooks.advance(hooks.context, position);
}

extern "C" void color_progress_end(UINT final_text_id) {
    if (flag && hooks.end)
        hooks.end(hooks.context, final_text_id);
}

extern "C" void color_progress_row(int row, int rows, int base) {
    if (((row + 1) & 15) == 0 || row + 1 == rows)
        color_progress_advance(base + row + 1);
}
