// Name rewriting, key paths and text forms of the settings store.
#include <gtest/gtest.h>
#include <string.h>

#include <string>

#include "settings/settings_internal.h"

namespace {

std::string rewritten(const char *name) {
    char buf[128];
    snprintf(buf, sizeof buf, "%s", name);
    zyn_reg_rewrite_name(buf);
    return buf;
}

TEST(RegNames, UnderscoresBecomeSpacesAndWordsAreRaised) {
    EXPECT_EQ(rewritten("save_dither"), "Save Dither");
    EXPECT_EQ(rewritten("tif_1_bit_compression"), "Tif 1 Bit Compression");
    EXPECT_EQ(rewritten("save_warn_colorloss"), "Save Warn Colorloss");
    EXPECT_EQ(rewritten("cap_file_num_len"), "Cap File Num Len");
}

TEST(RegNames, AAndZAreNeverRaised) {
    EXPECT_EQ(rewritten("alpha_display"), "alpha Display");
    EXPECT_EQ(rewritten("zoom_amount"), "zoom amount");
    EXPECT_EQ(rewritten("b_y"), "B Y");
}

TEST(RegNames, OnlyLowercaseLettersChange) {
    EXPECT_EQ(rewritten("Session"), "Session");
    EXPECT_EQ(rewritten("_x"), " X");
    EXPECT_EQ(rewritten("a__b"), "a  B") << "the second underscore follows the first";
    EXPECT_EQ(rewritten("end_"), "End ");
    EXPECT_EQ(rewritten("x_9_\xe9"), "X 9 \xe9");
    EXPECT_EQ(rewritten(""), "");
    zyn_reg_rewrite_name(nullptr);
}

TEST(RegNames, FormatFlagSwitchesTheRewriting) {
    ASSERT_TRUE(zyn_reg_name_format()) << "on from the start";
    char name[] = "keep_undo";
    zyn_reg_set_name_format(FALSE);
    zyn_reg_apply_name_format(name);
    EXPECT_STREQ(name, "keep_undo");
    zyn_reg_set_name_format(TRUE);
    zyn_reg_apply_name_format(name);
    EXPECT_STREQ(name, "Keep Undo");
}

class RegPaths : public ::testing::Test {
protected:
    void TearDown() override { zyn_reg_set_company("OrvantaImaging"); }
};

TEST_F(RegPaths, SettingsKeyFromCompanyProductVersionSection) {
    char path[ZYN_REG_PATH_MAX];
    EXPECT_STREQ(zyn_reg_company(), "OrvantaImaging");
    ASSERT_TRUE(zyn_reg_key_path(path, sizeof path, "Software", "Lumacast", "3.50", "Core"));
    EXPECT_STREQ(path, "Software\\OrvantaImaging\\Lumacast\\3.50\\Core");
    ASSERT_TRUE(zyn_reg_key_path(path, sizeof path, "SOFTWARE", "Lumacast", "3.50", "Capture"));
    EXPECT_STREQ(path, "SOFTWARE\\OrvantaImaging\\Lumacast\\3.50\\Capture");
    // The parents the delete operations open.
    ASSERT_TRUE(zyn_reg_key_path(path, sizeof path, "Software", "Lumacast", nullptr, nullptr));
    EXPECT_STREQ(path, "Software\\OrvantaImaging\\Lumacast");
    ASSERT_TRUE(zyn_reg_key_path(path, sizeof path, "Software", nullptr, "ignored", "ignored"));
    EXPECT_STREQ(path, "Software\\OrvantaImaging");
}

TEST_F(RegPaths, EmptyPartsAndPathsTooLongAreRefused) {
    char path[40];
    EXPECT_FALSE(zyn_reg_key_path(path, sizeof path, "Software", "", "3.50", "Core"));
    EXPECT_STREQ(path, "");
    EXPECT_FALSE(zyn_reg_key_path(path, sizeof path, "Software", "Lumacast", "3.50", "A_very_long_section"));
    EXPECT_STREQ(path, "") << "never a cut path, which would name another key";
    // Exactly full: 39 characters and the zero.
    EXPECT_TRUE(zyn_reg_key_path(path, sizeof path, "Software", "Lumacast", "3.50", "0"));
    EXPECT_EQ(strlen(path), 39u);
    EXPECT_FALSE(zyn_reg_key_path(path, sizeof path, "Software", "Lumacast", "3.50", "01"));
}

TEST_F(RegPaths, CompanyIsCutTo255Characters) {
    std::string longName(300, 'c');
    zyn_reg_set_company(longName.c_str());
    EXPECT_EQ(strlen(zyn_reg_company()), 255u);
    zyn_reg_set_company(nullptr);
    EXPECT_EQ(strlen(zyn_reg_company()), 255u) << "null leaves the name alone";
    zyn_reg_set_company("Acme");
    char path[ZYN_REG_PATH_MAX];
    ASSERT_TRUE(zyn_reg_key_path(path, sizeof path, "Software", "P", "1.00", "S"));
    EXPECT_STREQ(path, "Software\\Acme\\P\\1.00\\S");
    zyn_reg_set_company("");
    EXPECT_FALSE(zyn_reg_key_path(path, sizeof path, "Software", "P", "1.00", "S"));
}

TEST(RegText, WrittenForms) {
    char t[ZYN_REG_NUMBER_TEXT];
    zyn_reg_format_dword(t, 4294967295u);
    EXPECT_STREQ(t, "4294967295");
    zyn_reg_format_long(t, -2147483647 - 1);
    EXPECT_STREQ(t, "-2147483648");
    zyn_reg_format_int(t, -1);
    EXPECT_STREQ(t, "-1");
    zyn_reg_format_lhex(t, 255);
    EXPECT_STREQ(t, "ff");
    zyn_reg_format_lhex(t, 0xDEADBEEFu);
    EXPECT_STREQ(t, "deadbeef");
    zyn_reg_format_sint(t, -1);
    EXPECT_STREQ(t, "-1");
    zyn_reg_format_sint(t, 0x18000);
    EXPECT_STREQ(t, "-32768") << "low 16 bits, signed";
    zyn_reg_format_word(t, 65535);
    EXPECT_STREQ(t, "65535");
    zyn_reg_format_word(t, 0x12345);
    EXPECT_STREQ(t, "9029") << "low 16 bits";
    zyn_reg_format_bool(t, 1);
    EXPECT_STREQ(t, "1");
    zyn_reg_format_bool(t, 7);
    EXPECT_STREQ(t, "7");
}

TEST(RegText, DecimalConversion) {
    EXPECT_EQ(zyn_reg_parse_decimal("4294967295"), 4294967295u);
    EXPECT_EQ(zyn_reg_parse_decimal("-1"), 4294967295u);
    EXPECT_EQ((LONG)zyn_reg_parse_decimal("-2147483648"), -2147483647 - 1);
    EXPECT_EQ(zyn_reg_parse_decimal("  +42xyz"), 42u);
    EXPECT_EQ(zyn_reg_parse_decimal("4294967296"), 0u) << "wraps at 32 bits";
    EXPECT_EQ(zyn_reg_parse_decimal("abc"), 0u);
    EXPECT_EQ(zyn_reg_parse_decimal(""), 0u);
    EXPECT_EQ(zyn_reg_parse_decimal("-"), 0u);
    EXPECT_EQ(zyn_reg_parse_decimal(nullptr), 0u);
    EXPECT_EQ(zyn_reg_parse_decimal("99999999999"), (DWORD)(99999999999ull % 4294967296ull));
}

TEST(RegText, HexConversion) {
    EXPECT_EQ(zyn_reg_parse_hex("ff"), 255u);
    EXPECT_EQ(zyn_reg_parse_hex("FF"), 255u);
    EXPECT_EQ(zyn_reg_parse_hex("DeadBeef"), 0xDEADBEEFu);
    EXPECT_EQ(zyn_reg_parse_hex("12g4"), 0x12u) << "stops at the first other character";
    EXPECT_EQ(zyn_reg_parse_hex("0x10"), 0u);
    EXPECT_EQ(zyn_reg_parse_hex("123456789"), 0x23456789u) << "the top digit is shifted out";
    EXPECT_EQ(zyn_reg_parse_hex(""), 0u);
    EXPECT_EQ(zyn_reg_parse_hex(nullptr), 0u);
}

// Every value a kind can hold comes back from its own text form.
TEST(RegText, RoundTripsAtTheLimits) {
    char t[ZYN_REG_NUMBER_TEXT];
    for (DWORD v : {0u, 1u, 255u, 65535u, 0x7FFFFFFFu, 0x80000000u, 0xFFFFFFFFu}) {
        zyn_reg_format_dword(t, v);
        EXPECT_EQ(zyn_reg_parse_decimal(t), v);
        zyn_reg_format_long(t, (LONG)v);
        EXPECT_EQ(zyn_reg_parse_decimal(t), v);
        zyn_reg_format_lhex(t, v);
        EXPECT_EQ(zyn_reg_parse_hex(t), v);
    }
    for (int v : {-32768, -1, 0, 32767}) {
        zyn_reg_format_sint(t, v);
        EXPECT_EQ((short)(WORD)zyn_reg_parse_decimal(t), v);
    }
    for (UINT v : {0u, 1u, 65535u}) {
        zyn_reg_format_word(t, v);
        EXPECT_EQ((WORD)zyn_reg_parse_decimal(t), v);
    }
}

}  // namespace
