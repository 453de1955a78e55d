/* The colour-operation table the save path and the batch use. */
#include "core/color_ops.h"

#include "color/depth/depth.h"
#include "color/flat/flat_reduce.h"
#include "color/flat/flat_tables.h"
#include "color/mediancut/median_cut.h"

extern "C" void color_ops_install_builtin(void) {
    flat_tables_init();
    ColorOps ops = {};
    ops.to_gray = depth_to_gray;
    ops.increase_depth = depth_increase;
    ops.flat_cut = flat_cut;
    ops.optimized_cut = optimized_cut;
    color_ops_install(&ops);
}
