#include "core/conversion.h"
#include "engine_test_support.h"

namespace {

class Conversion : public CoreTest {};

TEST_F(Conversion, SaveAsPlans) {
    ConversionPlan p;
    plan_save_as(24, 1, 8, 1, 0, 0, 0, &p);
    EXPECT_EQ(p.step, CONV_FLAT_CUT) << "24-bit GIF: flat cut to 8 bits";
    EXPECT_EQ(p.target, 8);
    EXPECT_EQ(p.dither, 0);
    plan_save_as(24, 1, 8, 1, 0, 1, 1, &p);
    EXPECT_EQ(p.step, CONV_OPTIMIZED_CUT);
    EXPECT_EQ(p.colors, 256u);
    EXPECT_EQ(p.dither, 1);
    plan_save_as(24, 1, 1, 1, 0, 1, 1, &p);
    EXPECT_EQ(p.step, CONV_FLAT_CUT) << "optimized cut only for 4 and 8 bits";
    EXPECT_EQ(p.dither, 1);
    plan_save_as(32, 1, 24, 1, 0, 0, 1, &p);
    EXPECT_EQ(p.step, CONV_FLAT_CUT);
    EXPECT_EQ(p.dither, 0) << "a reduction to 24 bits never dithers";
    plan_save_as(24, 1, 24, 0, 0, 0, 0, &p);
    EXPECT_TRUE(p.toGray);
    EXPECT_EQ(p.step, CONV_INCREASE) << "gray works at 8 bits, then back up to 24";
    EXPECT_EQ(p.resultColor, 0);
    plan_save_as(8, 0, 8, 1, 0, 0, 0, &p);
    EXPECT_TRUE(p.markColor);
    EXPECT_EQ(p.step, CONV_NONE);
    EXPECT_EQ(p.resultColor, 1);
    plan_save_as(32, 1, 8, 1, 1, 0, 0, &p);
    EXPECT_EQ(p.step, CONV_NONE) << "32-bit icons are written as they are";
    EXPECT_EQ(p.resultBits, 32);
    plan_save_as(8, 1, 32, 1, 0, 0, 0, &p);
    EXPECT_EQ(p.step, CONV_INCREASE);
    EXPECT_EQ(p.alpha, 255);
}

TEST_F(Conversion, BatchPlans) {
    ConversionPlan p;
    plan_batch(24, 1, 8, 0, 1, 1, &p);
    EXPECT_EQ(p.step, CONV_OPTIMIZED_CUT) << "256 colors, optimized cut with dither";
    EXPECT_EQ(p.colors, 256u);
    EXPECT_EQ(p.dither, 1);
    plan_batch(24, 1, 16, 0, 1, 0, &p);
    EXPECT_EQ(p.step, CONV_FLAT_CUT) << "no optimized cut to the 16-bit level";
    plan_batch(24, 1, 1, 0, 1, 0, &p);
    EXPECT_EQ(p.step, CONV_FLAT_CUT);
    EXPECT_EQ(p.resultColor, 0);
    plan_batch(32, 1, 24, 0, 1, 0, &p);
    EXPECT_EQ(p.step, CONV_OPTIMIZED_CUT);
    EXPECT_EQ(p.colors, 1u << 24);
    plan_batch(8, 0, 8, 1, 0, 0, &p);
    EXPECT_FALSE(p.toGray) << "already gray";
    EXPECT_EQ(p.step, CONV_NONE);
    plan_batch(4, 1, 32, 0, 0, 0, &p);
    EXPECT_EQ(p.step, CONV_INCREASE);
    EXPECT_EQ(p.alpha, 255);
}

int opCalls;
HGLOBAL fake_gray(HGLOBAL) {
    opCalls++;
    return GlobalAlloc(GHND, 8);
}
HGLOBAL fake_flat(HGLOBAL, int target, int gray, int dither) {
    opCalls++;
    return target == 4 ? nullptr : GlobalAlloc(GHND, 8);
}

TEST_F(Conversion, ExecutionRunsTheTableAndFreesIntermediates) {
    long before = compat_global_live_blocks();
    HGLOBAL dib = GlobalAlloc(GHND, 8), out = nullptr;
    ConversionPlan p;
    plan_batch(24, 1, 8, 1, 0, 0, &p); /* gray only: 24 -> 8 gray */
    EXPECT_EQ(conversion_execute(&p, dib, &out), 0) << "no gray conversion installed";
    EXPECT_EQ(last_text(), "The gray conversion color operation is not available in this build");
    ColorOps ops = {};
    ops.to_gray = fake_gray;
    color_ops_install(&ops);
    plan_batch(24, 1, 4, 1, 0, 0, &p);
    opCalls = 0;
    EXPECT_EQ(conversion_execute(&p, dib, &out), 0) << "flat cut missing: checked before anything runs";
    EXPECT_EQ(opCalls, 0);
    EXPECT_EQ(last_text(), "The flat cut color operation is not available in this build");
    ops.flat_cut = fake_flat;
    color_ops_install(&ops);
    EXPECT_EQ(conversion_execute(&p, dib, &out), 0) << "the operation reports its own failure";
    EXPECT_EQ(out, nullptr);
    plan_batch(24, 1, 1, 1, 0, 0, &p);
    ASSERT_EQ(conversion_execute(&p, dib, &out), 1);
    ASSERT_NE(out, nullptr);
    EXPECT_NE(out, dib);
    GlobalFree(out);
    plan_batch(24, 1, 24, 0, 0, 0, &p);
    ASSERT_EQ(conversion_execute(&p, dib, &out), 1);
    EXPECT_EQ(out, nullptr) << "nothing to do";
    GlobalFree(dib);
    EXPECT_EQ(compat_global_live_blocks(), before);
}

}  // namespace
