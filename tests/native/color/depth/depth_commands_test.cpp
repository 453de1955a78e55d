// The Colors-menu depth commands: results, depth level and color flag.
#include "color/depth/depth.h"
#include "engine_test_support.h"
#include "pixel_support.h"

namespace {

class DepthCommandTest : public CoreTest {
protected:
    void TearDown() override {
        CoreTest::TearDown();
        EXPECT_EQ(compat_global_live_blocks(), live_) << "memory blocks leaked";
    }
    long live_ = compat_global_live_blocks();
};

HGLOBAL gray_table_image(WORD bits) {
    HGLOBAL h = new_image(3, 2, bits);
    {
        Locked l(h);
        for (DWORD i = 0; i < (1u << bits); i++) l.table[i] = RGBQUAD{(BYTE)i, (BYTE)i, (BYTE)i, 0};
        return h;
    }
}

TEST_F(DepthCommandTest, GrayClearsTheColorFlagAndLowersTrueColorLevels) {
    HGLOBAL rgb = patterned_image(5, 3, 24);
    DepthState state = {24, 1};
    HGLOBAL result = nullptr;
    ASSERT_EQ(depth_command(DEPTH_CMD_GRAY, rgb, &state, &result), 1);
    ASSERT_NE(result, nullptr);
    EXPECT_EQ(state.level, 8);
    EXPECT_EQ(state.color, 0);
    EXPECT_EQ(header_of(result).biBitCount, 8);
    GlobalFree(result);

    HGLOBAL four = patterned_image(5, 3, 4);
    state = {4, 1};
    ASSERT_EQ(depth_command(DEPTH_CMD_GRAY, four, &state, &result), 1);
    EXPECT_EQ(state.level, 4);
    EXPECT_EQ(state.color, 0);
    EXPECT_EQ(header_of(result).biBitCount, 4);
    GlobalFree(result);

    // The 16-bit level is 24-bit data: it becomes 8 like 24 and 32.
    state = {16, 1};
    ASSERT_EQ(depth_command(DEPTH_CMD_GRAY, rgb, &state, &result), 1);
    EXPECT_EQ(state.level, 8);
    GlobalFree(result);
    GlobalFree(four);
    GlobalFree(rgb);
    EXPECT_TRUE(boxes().empty());
}

TEST_F(DepthCommandTest, GrayFailureIsReportedAndLeavesTheStateAlone) {
    HGLOBAL sixteen = new_image(3, 3, 16);
    DepthState state = {16, 1};
    HGLOBAL result = nullptr;
    EXPECT_EQ(depth_command(DEPTH_CMD_GRAY, sixteen, &state, &result), 0);
    EXPECT_EQ(result, nullptr);
    EXPECT_EQ(state.level, 16);
    EXPECT_EQ(state.color, 1);
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].text, "Not enough memory to convert to gray");
    GlobalFree(sixteen);
}

TEST_F(DepthCommandTest, MarkAsColorOnlySetsTheFlag) {
    DepthState state = {8, 0};
    HGLOBAL result = reinterpret_cast<HGLOBAL>(1);
    EXPECT_EQ(depth_command(DEPTH_CMD_COLOR, nullptr, &state, &result), 1);
    EXPECT_EQ(result, nullptr);
    EXPECT_EQ(state.color, 1);
    EXPECT_EQ(state.level, 8);
}

TEST_F(DepthCommandTest, SixteenBitLevelToTwentyFourChangesOnlyTheLevel) {
    HGLOBAL src = patterned_image(3, 3, 24);
    DepthState state = {16, 1};
    HGLOBAL result = reinterpret_cast<HGLOBAL>(1);
    EXPECT_EQ(depth_command(DEPTH_CMD_INCREASE_24, src, &state, &result), 1);
    EXPECT_EQ(result, nullptr);
    EXPECT_EQ(state.level, 24);
    GlobalFree(src);
}

TEST_F(DepthCommandTest, IncreaseToThirtyTwoCarriesTheChosenAlpha) {
    for (UINT id : {DEPTH_CMD_INCREASE_32_OPAQUE, DEPTH_CMD_INCREASE_32_TRANSPARENT})
        for (WORD bits : {1, 4, 8, 24}) {
            HGLOBAL src = patterned_image(7, 2, bits, bits);
            DepthState state = {bits, 1};
            HGLOBAL result = nullptr;
            ASSERT_EQ(depth_command(id, src, &state, &result), 1);
            EXPECT_EQ(state.level, 32);
            {
                Locked s(src), o(result);
                EXPECT_EQ(o.bi->biBitCount, 32);
                BYTE alpha = id == DEPTH_CMD_INCREASE_32_OPAQUE ? 255 : 0;
                for (LONG y = 0; y < 2; y++)
                    for (LONG x = 0; x < 7; x++) {
                        Bgra c = s.pixel(x, y);
                        EXPECT_TRUE((o.pixel(x, y) == Bgra{c.b, c.g, c.r, alpha}));
                    }
            }
            GlobalFree(result);
            GlobalFree(src);
        }
}

TEST_F(DepthCommandTest, EveryIncreaseOnEveryDepthAndOddWidth) {
    const struct {
        UINT id;
        int level;
    } commands[] = {{DEPTH_CMD_INCREASE_16, 4},
                    {DEPTH_CMD_INCREASE_256, 8},
                    {DEPTH_CMD_INCREASE_16BIT, 16},
                    {DEPTH_CMD_INCREASE_24, 24}};
    for (auto c : commands)
        for (WORD bits : {1, 4, 8, 24})
            for (LONG w : {1, 3, 5, 7, 9}) {
                HGLOBAL src = patterned_image(w, 3, bits, w * bits);
                std::vector<BYTE> before = block_bytes(src);
                DepthState state = {bits, 1};
                HGLOBAL result = nullptr;
                bool allowed = c.level >= 24 || (bits != 24 && bits <= c.level);
                boxes().clear();
                int ok = depth_command(c.id, src, &state, &result);
                EXPECT_EQ(block_bytes(src), before);
                if (!allowed) {
                    EXPECT_EQ(ok, 0);
                    EXPECT_EQ(state.level, bits);
                    ASSERT_EQ(boxes().size(), 1u);
                    GlobalFree(src);
                    continue;
                }
                ASSERT_EQ(ok, 1);
                EXPECT_EQ(state.level, c.level);
                {
                    Locked s(src), o(result);
                    WORD outBits = c.level == 16 ? 24 : (WORD)c.level;
                    EXPECT_EQ(o.bi->biBitCount, outBits);
                    EXPECT_EQ(o.bi->biClrUsed, outBits < 24 ? 1u << outBits : 0u);
                    EXPECT_EQ(o.bi->biSizeImage, test_stride(w, outBits) * 3);
                    if (outBits < 24) {
                        for (DWORD i = 1u << bits; i < (1u << outBits); i++)
                            EXPECT_EQ(o.table[i].rgbRed | o.table[i].rgbGreen | o.table[i].rgbBlue, 0);
                    }
                    for (LONG y = 0; y < 3; y++)
                        for (LONG x = 0; x < w; x++) {
                            Bgra want = s.pixel(x, y);
                            if (c.level == 16) want.b &= 0xF8, want.g &= 0xF8, want.r &= 0xF8;
                            ASSERT_TRUE(o.pixel(x, y) == want);
                        }
                    EXPECT_TRUE(padding_clear(o));
                }
                GlobalFree(result);
                GlobalFree(src);
            }
}

TEST_F(DepthCommandTest, RefusedIncreaseNamesTheDepth) {
    HGLOBAL rgb = patterned_image(3, 3, 24);
    EXPECT_EQ(depth_increase(rgb, 8, 0), nullptr);
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].text, "Cannot increase the colors of a 24-bit image to this depth");
    GlobalFree(rgb);
}

TEST_F(DepthCommandTest, ColorFlagIsRecomputedForPaletteImages) {
    for (WORD bits : {1, 4, 8}) {
        HGLOBAL gray = gray_table_image(bits);
        EXPECT_EQ(depth_color_after_install(1, gray), 0);
        EXPECT_EQ(depth_color_after_install(0, gray), 0);
        {
            {
                Locked l(gray);
                l.table[(1u << bits) - 1].rgbGreen ^= 1;  // the last entry is no longer gray
            }
        }
        EXPECT_EQ(depth_color_after_install(1, gray), 1);
        // A gray window stays gray whatever it receives.
        EXPECT_EQ(depth_color_after_install(0, gray), 0);
        GlobalFree(gray);
    }
    // Only the entries the table counts are looked at.
    HGLOBAL counted = new_image(3, 2, 8, 4);
    {
        {
            Locked l(counted);
            for (int i = 0; i < 4; i++) l.table[i] = RGBQUAD{(BYTE)(i * 80), (BYTE)(i * 80), (BYTE)(i * 80), 0};
            // Pixels right after the table would read as a colored entry.
            l.set_index(0, 0, 1), l.set_index(1, 0, 2), l.set_index(2, 0, 3);
        }
    }
    EXPECT_EQ(depth_color_after_install(1, counted), 0);
    GlobalFree(counted);
    HGLOBAL rgb = patterned_image(2, 2, 24);
    EXPECT_EQ(depth_color_after_install(1, rgb), 1);
    EXPECT_EQ(depth_color_after_install(0, rgb), 0);
    EXPECT_EQ(depth_level_of(rgb), 24);
    GlobalFree(rgb);
}

TEST_F(DepthCommandTest, TheColorOperationsTableAcceptsTheseFunctions) {
    ColorOps ops = {};
    ops.to_gray = depth_to_gray;
    ops.increase_depth = depth_increase;
    color_ops_install(&ops);
    HGLOBAL src = patterned_image(3, 3, 8);
    HGLOBAL out = color_ops()->increase_depth(src, 32, 255);
    ASSERT_NE(out, nullptr);
    EXPECT_EQ(header_of(out).biBitCount, 32);
    GlobalFree(out);
    GlobalFree(src);
    color_ops_install(nullptr);
}

}  // namespace
