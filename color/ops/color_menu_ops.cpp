#include "color/ops/color_menu_ops.h"

#include "color/depth/depth.h"
#include "color/flat/flat_reduce.h"
#include "color/mediancut/median_cut.h"
#include "color/progress.h"

extern "C" HGLOBAL color_menu_flat_cut(HGLOBAL dib, int target, int dither, int *level, int *color) {
    color_progress_set_flag(1);
    HGLOBAL out = flat_cut(dib, target, !*color, dither);
    color_progress_set_flag(0);
    if (!out) return NULL;
    *level = target;
    *color = target == 1 ? 0 : depth_color_after_install(*color, out);
    return out;
}

extern "C" HGLOBAL color_menu_optimized_cut(HGLOBAL dib, DWORD colors, int dither, int *level, int *color) {
    color_progress_set_flag(1);
    HGLOBAL out = optimized_cut(dib, colors, dither);
    color_progress_set_flag(0);
    if (!out) return NULL;
    *level = colors <= 16 ? 4 : 8;
    *color = depth_color_after_install(*color, out);
    return out;
}

typedef struct ReduceCommand {
    UINT id;
    int optimized;
    int target; /* depth level, or colours for the optimized cut */
    int dither;
} ReduceCommand;

static const ReduceCommand commands[] = {
    {REDUCE_CMD_MONO_FLAT, 0, 1, 0},          {REDUCE_CMD_MONO_FLAT_DITHER, 0, 1, 1},
    {REDUCE_CMD_16_FLAT, 0, 4, 0},            {REDUCE_CMD_16_OPTIMIZED, 1, 16, 0},
    {REDUCE_CMD_16_FLAT_DITHER, 0, 4, 1},     {REDUCE_CMD_16_OPTIMIZED_DITHER, 1, 16, 1},
    {REDUCE_CMD_256_FLAT, 0, 8, 0},           {REDUCE_CMD_256_OPTIMIZED, 1, 256, 0},
    {REDUCE_CMD_256_FLAT_DITHER, 0, 8, 1},    {REDUCE_CMD_256_OPTIMIZED_DITHER, 1, 256, 1},
    {REDUCE_CMD_16BIT_FLAT, 0, 16, 0},        {REDUCE_CMD_16BIT_FLAT_DITHER, 0, 16, 1},
    {REDUCE_CMD_DECREASE_24, 0, 24, 0}};

static const ReduceCommand *find_command(UINT id) {
    for (const ReduceCommand &c : commands)
        if (c.id == id) return &c;
    return NULL;
}

extern "C" int color_reduce_is_command(UINT id) { return find_command(id) != NULL; }

extern "C" int color_reduce_command(UINT id, HGLOBAL dib, int *level, int *color, HGLOBAL *result) {
    *result = NULL;
    const ReduceCommand *c = find_command(id);
    if (!c) return 0;
    *result = c->optimized ? color_menu_optimized_cut(dib, (DWORD)c->target, c->dither, level, color)
                           : color_menu_flat_cut(dib, c->target, c->dither, level, color);
    return *result != NULL;
}
