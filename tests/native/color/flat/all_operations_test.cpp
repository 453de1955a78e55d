/* Every reduction on every input depth it takes, with odd widths, so the
   sanitizers see the row ends and the packing of partial bytes. */
#include <gtest/gtest.h>

#include "color/flat/flat_reduce.h"
#include "color/flat/palette_map.h"
#include "color/mediancut/median_cut.h"
#include "color/ops/color_menu_ops.h"
#include "color/progress.h"
#include "core/color_ops.h"
#include "core/conversion.h"
#include "color_images.h"
#include "engine_test_support.h"

static HGLOBAL make_input(int bits, int width, int height) {
    std::vector<Rgb> table;
    std::vector<int> indices;
    std::vector<Rgb> px;
    for (int i = 0; i < (1 << (bits < 8 ? bits : 8)); i++) table.push_back({(i * 37) & 255, (i * 91) & 255, (i * 13) & 255});
    for (int y = 0; y < height; y++)
        for (int x = 0; x < width; x++) {
            indices.push_back((x * 7 + y * 3) % (int)table.size());
            px.push_back({(x * 53 + y * 17) & 255, (x * 29 + y * 71) & 255, (x * 11 + y * 113) & 255});
        }
    return bits <= 8 ? make_indexed(width, height, bits, table, indices) : make_truecolor(width, height, px, bits);
}

static int progress_calls;
static int progress_last;
static void count_begin(void *, UINT, int) { progress_calls++; }
static void count_advance(void *, int position) { progress_calls++, progress_last = position; }
static void count_end(void *, UINT) { progress_calls++; }

class AllOperations : public CoreTest {};

TEST_F(AllOperations, EveryDepthAndOddWidth) {
    const int inputs[] = {1, 4, 8, 24, 32};
    const int widths[] = {1, 3, 5, 7, 9};
    for (int bits : inputs)
        for (int width : widths) {
            HGLOBAL src = make_input(bits, width, 5);
            ASSERT_NE(src, nullptr);
            SCOPED_TRACE(testing::Message() << bits << " bits, width " << width);
            for (int target : {1, 4, 8, 16, 24})
                for (int type = 0; type <= 8; type++) {
                    settings_write(SET_DITHER_TYPE, type);
                    for (int dither = 0; dither < 2; dither++) {
                        HGLOBAL out = flat_cut(src, target, type & 1, dither);
                        ASSERT_NE(out, nullptr) << last_text();
                        Image im = read_image(out);
                        EXPECT_EQ(im.bits, target >= 16 ? 24 : target);
                        EXPECT_EQ(im.width, width);
                        GlobalFree(out);
                    }
                }
            for (DWORD colors : {16u, 256u})
                for (int fast = 0; fast < 2; fast++)
                    for (int type = 0; type <= 8; type += 4) {
                        settings_write(SET_FAST_DITHER, fast);
                        settings_write(SET_DITHER_TYPE, type);
                        for (int dither = 0; dither < 2; dither++) {
                            HGLOBAL out = optimized_cut(src, colors, dither);
                            ASSERT_NE(out, nullptr) << last_text();
                            Image im = read_image(out);
                            EXPECT_EQ(im.bits, colors == 16 ? 4 : 8);
                            EXPECT_EQ(im.clrUsed, colors);
                            GlobalFree(out);
                        }
                    }
            GlobalFree(src);
        }
    EXPECT_TRUE(boxes().empty()) << last_text();
}

TEST_F(AllOperations, MenuCommandsRecordLevelAndFlagAndShowProgress) {
    ColorProgressHooks hooks = {count_begin, count_advance, count_end, nullptr};
    color_progress_install(&hooks);
    HGLOBAL src = make_input(24, 9, 40);
    int level = 24, color = 1;
    HGLOBAL out = nullptr;
    progress_calls = 0;
    ASSERT_EQ(color_reduce_command(REDUCE_CMD_MONO_FLAT_DITHER, src, &level, &color, &out), 1);
    EXPECT_EQ(level, 1);
    EXPECT_EQ(color, 0);
    /* begin, rows 16, 32 and 40, end */
    EXPECT_EQ(progress_calls, 5);
    EXPECT_EQ(progress_last, 40);
    GlobalFree(out);
    level = 24, color = 1;
    progress_calls = 0;
    ASSERT_EQ(color_reduce_command(REDUCE_CMD_256_OPTIMIZED_DITHER, src, &level, &color, &out), 1);
    EXPECT_EQ(level, 8);
    EXPECT_EQ(color, 1);
    /* begin, histogram rows 16 and 32, mapping 56, 72 and 80, end */
    EXPECT_EQ(progress_calls, 7);
    EXPECT_EQ(progress_last, 80);
    EXPECT_EQ(color_progress_flag(), 0);
    GlobalFree(out);
    /* outside the menu the flag is off and nothing is shown */
    progress_calls = 0;
    HGLOBAL quiet = flat_cut(src, 4, 0, 0);
    EXPECT_EQ(progress_calls, 0);
    GlobalFree(quiet);
    color_progress_install(nullptr);
    level = 24, color = 1;
    ASSERT_EQ(color_reduce_command(REDUCE_CMD_16BIT_FLAT, src, &level, &color, &out), 1);
    EXPECT_EQ(level, 16);
    EXPECT_EQ(color, 1);
    GlobalFree(out);
    EXPECT_EQ(color_reduce_is_command(1281), 0);
    EXPECT_EQ(color_reduce_command(1281, src, &level, &color, &out), 0);
    GlobalFree(src);
    /* a gray optimized palette clears the flag */
    HGLOBAL gray = make_uniform(3, 3, {90, 90, 90});
    level = 24, color = 1;
    ASSERT_EQ(color_reduce_command(REDUCE_CMD_16_OPTIMIZED, gray, &level, &color, &out), 1);
    EXPECT_EQ(level, 4);
    EXPECT_EQ(color, 0);
    GlobalFree(out);
    GlobalFree(gray);
}

TEST_F(AllOperations, SavePathRunsThroughTheInstalledTable) {
    color_ops_install_builtin();
    ASSERT_NE(color_ops()->flat_cut, nullptr);
    ASSERT_NE(color_ops()->optimized_cut, nullptr);
    HGLOBAL src = make_input(24, 7, 6);
    /* batch: 24 bits to 8 with the optimized cut and dither */
    ConversionPlan plan;
    plan_batch(24, 1, 8, 0, 1, 1, &plan);
    HGLOBAL out = nullptr;
    ASSERT_EQ(conversion_execute(&plan, src, &out), 1) << last_text();
    Image im = read_image(out);
    EXPECT_EQ(im.bits, 8);
    EXPECT_EQ(im.clrUsed, 256u);
    GlobalFree(out);
    /* save as: to monochrome by the flat cut, marked gray */
    plan_save_as(24, 1, 1, 1, 0, 1, 1, &plan);
    ASSERT_EQ(conversion_execute(&plan, src, &out), 1) << last_text();
    EXPECT_EQ(read_image(out).bits, 1);
    GlobalFree(out);
    GlobalFree(src);
    EXPECT_TRUE(boxes().empty()) << last_text();
}
