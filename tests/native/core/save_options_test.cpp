#include "core/save_as.h"
#include "core/save_options.h"
#include "engine_test_support.h"

namespace {

class SaveOptions : public CoreTest {
protected:
    const BYTE *caps(int index) { return catalogue_entry(index)->saveCaps; }
    static const int GIF = 10, PCX = 25, DIB = 7, EPS = 8, ICO = 12, TGA = 32;
};

TEST_F(SaveOptions, TwentyFourBitGifMovesDownTo256Colors) {
    SavePanelState s = save_panel_start(save_options_from_image(24, 1, 0));
    save_panel_apply(&s, caps(GIF), SP_OPEN, 0);
    EXPECT_EQ(s.enabled & SO_DEPTHS, SO_1BIT | SO_4BIT | SO_8BIT);
    EXPECT_EQ(s.checked & SO_DEPTHS, SO_8BIT);
    EXPECT_TRUE(s.enabled & SO_COLOR);
    EXPECT_TRUE(s.checked & SO_COMPRESSED) << "GIF always compresses";
    EXPECT_FALSE(s.enabled & SO_COMPRESSED);
    EXPECT_EQ(save_panel_word(&s), SO_8BIT | SO_COLOR | SO_COMPRESSED);
}

TEST_F(SaveOptions, MonochromePcxIsGrayAndCompressed) {
    SavePanelState s = save_panel_start(save_options_from_image(1, 1, 0));
    save_panel_apply(&s, caps(PCX), SP_OPEN, 0);
    EXPECT_FALSE(s.enabled & SO_COLOR);
    EXPECT_EQ(save_panel_word(&s), SO_1BIT | SO_GRAY | SO_COMPRESSED);
}

TEST_F(SaveOptions, CompressedDibOffersOnlyCompressibleDepths) {
    SavePanelState s = save_panel_start(save_options_from_image(24, 1, 0));
    save_panel_apply(&s, caps(DIB), SP_OPEN, 0);
    EXPECT_FALSE(s.enabled & SO_COMPRESSED) << "24-bit DIBs cannot compress";
    save_panel_apply(&s, caps(DIB), SP_COMPRESSED_CLICK, 0);
    EXPECT_FALSE(s.checked & SO_COMPRESSED) << "a disabled box takes no click";
    save_panel_apply(&s, caps(DIB), SP_DEPTH_CLICK, 2);
    EXPECT_TRUE(s.enabled & SO_COMPRESSED);
    save_panel_apply(&s, caps(DIB), SP_COMPRESSED_CLICK, 0);
    EXPECT_EQ(s.enabled & SO_DEPTHS, SO_1BIT | SO_4BIT | SO_8BIT);
    EXPECT_EQ(s.checked & SO_DEPTHS, SO_8BIT);
    EXPECT_TRUE(s.checked & SO_COMPRESSED);
    save_panel_apply(&s, caps(DIB), SP_GRAY_CLICK, 0);
    EXPECT_EQ(s.enabled & SO_DEPTHS, SO_1BIT | SO_4BIT | SO_8BIT) << "still compressed";
    save_panel_apply(&s, caps(DIB), SP_COMPRESSED_CLICK, 0);
    EXPECT_EQ(s.enabled & SO_DEPTHS, SO_1BIT | SO_4BIT | SO_8BIT | SO_24BIT | SO_32BIT);
}

TEST_F(SaveOptions, ClicksFollowTheCapsOfTheCheckedDepth) {
    SavePanelState s = save_panel_start(save_options_from_image(8, 1, 0));
    save_panel_apply(&s, caps(TGA), SP_OPEN, 0);
    EXPECT_TRUE(s.enabled & SO_COMPRESSED) << "TGA 8-bit: optional";
    EXPECT_FALSE(s.checked & SO_COMPRESSED);
    save_panel_apply(&s, caps(TGA), SP_DEPTH_CLICK, 0);
    EXPECT_EQ(s.checked & SO_DEPTHS, SO_8BIT) << "a click on a disabled depth does nothing";
    save_panel_apply(&s, caps(TGA), SP_COMPRESSED_CLICK, 0);
    save_panel_apply(&s, caps(TGA), SP_DEPTH_CLICK, 4);
    EXPECT_EQ(s.checked & SO_DEPTHS, SO_24BIT);
    EXPECT_TRUE(s.checked & SO_COMPRESSED) << "a depth click does not uncheck";
    save_panel_apply(&s, caps(TGA), SP_GRAY_CLICK, 0);
    EXPECT_EQ(s.checked & (SO_COLOR | SO_GRAY), SO_GRAY);
    save_panel_apply(&s, caps(TGA), SP_COLOR_CLICK, 0);
    EXPECT_EQ(s.checked & (SO_COLOR | SO_GRAY), SO_COLOR);
    /* A type whose depths cannot compress unchecks Compressed on change. */
    save_panel_apply(&s, caps(EPS), SP_TYPE_CHANGE, 0);
    EXPECT_FALSE(s.checked & SO_COMPRESSED);
    EXPECT_EQ(s.checked & SO_DEPTHS, SO_24BIT);
}

TEST_F(SaveOptions, CheckMovesUpBeforeDown) {
    /* TGA from 1 bit: 4 is disabled, the nearest enabled depth above is 8. */
    EXPECT_EQ(save_panel_settle(save_options_from_image(1, 1, 0), caps(TGA)) & SO_DEPTHS, SO_8BIT);
    /* ICO from 32 bits: nothing above, so down to 8. */
    EXPECT_EQ(save_panel_settle(save_options_from_image(32, 1, 0), caps(ICO)) & SO_DEPTHS, SO_8BIT);
    EXPECT_EQ(save_options_slot(SO_16BIT | SO_COLOR), 3);
    EXPECT_EQ(depth_slot_of_bits(16), 3);
    EXPECT_EQ(depth_slot_of_bits(2), -1);
    EXPECT_EQ(SO_CONTROL_ID(SO_COMPRESSED), 0xF100);
}

TEST_F(SaveOptions, NameChecksRefuseLongExtensionsAndNames) {
    EXPECT_EQ(save_name_problem("C:\\PICS\\NAME.TIFF"), 30240u);
    EXPECT_EQ(save_name_problem("name.tif"), 0u);
    EXPECT_EQ(save_name_problem("dir.long/name.gif"), 0u) << "dots in the directory do not count";
    EXPECT_EQ(save_name_problem("name.tar.gz"), 30240u) << "the extension runs from the first dot";
    EXPECT_EQ(save_name_problem("noext"), 0u);
    EXPECT_EQ(save_name_problem((std::string(128, 'a') + ".bmp").c_str()), 0u);
    EXPECT_EQ(save_name_problem((std::string(129, 'a') + ".bmp").c_str()), 30241u);
    EXPECT_EQ(save_name_problem(("/x/" + std::string(200, 'a')).c_str()), 30241u);
}

TEST_F(SaveOptions, NamesTakeTheTypesExtensionInTheirNamePartOnly) {
    char out[64];
    ASSERT_TRUE(save_name_with_extension("C:\\V1.2\\PHOTO.OLD.BMP", "GIF", out, sizeof out));
    EXPECT_STREQ(out, "C:\\V1.2\\PHOTO.GIF");
    ASSERT_TRUE(save_name_with_extension("IMAGE1", "DIB", out, sizeof out));
    EXPECT_STREQ(out, "IMAGE1.DIB");
    EXPECT_FALSE(save_name_with_extension("IMAGE1", "DIB", out, 10)) << "no room for the NUL";
    ASSERT_TRUE(save_name_default_extension("dir.d/name", "TIF", out, sizeof out));
    EXPECT_STREQ(out, "dir.d/name.TIF");
    ASSERT_TRUE(save_name_default_extension("name.x", "TIF", out, sizeof out));
    EXPECT_STREQ(out, "name.x");
}

TEST_F(SaveOptions, ColorLossRules) {
    EXPECT_TRUE(save_loses_color(24, 1, 8, 1, GIF));
    EXPECT_TRUE(save_loses_color(8, 1, 8, 0, GIF)) << "color saved as gray";
    EXPECT_FALSE(save_loses_color(8, 0, 8, 1, GIF));
    EXPECT_FALSE(save_loses_color(8, 1, 24, 1, DIB));
    EXPECT_FALSE(save_loses_color(32, 1, 8, 1, ICO)) << "a 32-bit icon keeps its alpha as the mask";
    EXPECT_TRUE(save_loses_color(24, 1, 8, 1, ICO));
    EXPECT_TRUE(save_loses_color(32, 1, 8, 1, DIB));
}

}  // namespace
