// Settings keys and the values of every kind, against Wine's registry.
#include <string.h>

#include "registry_support.h"

namespace {

class Values : public StoreTest {
protected:
    HKEY key = nullptr;
    std::string section;  // path of the section key under HKEY_CURRENT_USER

    void SetUp() override {
        StoreTest::SetUp();
        key = ZYN_REG_OpenSettings("Lumacast", "3.50", "Core");
        ASSERT_NE(key, nullptr);
        section = userCompany + "\\Lumacast\\3.50\\Core";
    }
    void TearDown() override {
        ZYN_REG_CloseSettings(key);
        StoreTest::TearDown();
    }
    std::string stored(const char *valueKey) { return default_text(HKEY_CURRENT_USER, section + "\\" + valueKey); }
};

TEST_F(Values, OpeningCreatesTheSectionKeyUnderTheCompany) {
    EXPECT_TRUE(key_exists(HKEY_CURRENT_USER, section));
    HKEY machine = ZYN_REG_OpenMachineSettings("Lumacast", "3.50", "Core");
    ASSERT_NE(machine, nullptr);
    EXPECT_TRUE(key_exists(HKEY_LOCAL_MACHINE, machineCompany + "\\Lumacast\\3.50\\Core"));
    char name[] = "where";
    ASSERT_EQ(ZYN_REG_SetValueInt(machine, name, 7), ERROR_SUCCESS);
    ZYN_REG_CloseSettings(machine);
    EXPECT_EQ(default_text(HKEY_LOCAL_MACHINE, machineCompany + "\\Lumacast\\3.50\\Core\\Where"), "7");
    EXPECT_EQ(stored("Where"), "<missing>") << "machine values stay out of the user's key";
    EXPECT_EQ(ZYN_REG_OpenSettings("Lumacast", "", "Core"), nullptr);
    EXPECT_EQ(ZYN_REG_OpenSettings(nullptr, "3.50", "Core"), nullptr);
}

TEST_F(Values, FormatFlagRewritesTheCallersName) {
    char name[] = "save_dither";
    ASSERT_EQ(ZYN_REG_SetValueInt(key, name, 1), ERROR_SUCCESS);
    EXPECT_STREQ(name, "Save Dither") << "rewritten in place";
    EXPECT_EQ(stored("Save Dither"), "1") << "a subkey whose default value holds the text";
    char again[] = "save_dither";
    int value = 0;
    ASSERT_TRUE(ZYN_REG_GetValueInt(key, again, &value));
    EXPECT_EQ(value, 1);
    EXPECT_STREQ(again, "Save Dither");
    char alpha[] = "alpha_display";
    ASSERT_EQ(ZYN_REG_SetValueInt(key, alpha, 3), ERROR_SUCCESS);
    EXPECT_STREQ(alpha, "alpha Display");
    EXPECT_EQ(stored("alpha Display"), "3");
}

TEST_F(Values, WithTheFlagOffNamesAreUsedUnchanged) {
    ZYN_REG_SetFormat(FALSE);
    char name[] = "save_dither";
    ASSERT_EQ(ZYN_REG_SetValueInt(key, name, 5), ERROR_SUCCESS);
    EXPECT_STREQ(name, "save_dither");
    EXPECT_EQ(stored("save_dither"), "5");
    // The registry ignores case, not underscores: the rewritten name is
    // another value.
    ZYN_REG_SetFormat(TRUE);
    char rewritten[] = "save_dither";
    int value = -7;
    EXPECT_FALSE(ZYN_REG_GetValueInt(key, rewritten, &value));
    EXPECT_EQ(value, -7);
}

TEST_F(Values, TextFormsOfEveryKind) {
    char n1[] = "big", n2[] = "hex", n3[] = "signed", n4[] = "word", n5[] = "long", n6[] = "flag", n7[] = "int";
    ASSERT_EQ(ZYN_REG_SetValueDWord(key, n1, 4294967295u), ERROR_SUCCESS);
    ASSERT_EQ(ZYN_REG_SetValueLHex(key, n2, 255), ERROR_SUCCESS);
    ASSERT_EQ(ZYN_REG_SetValueSInt(key, n3, -1), ERROR_SUCCESS);
    ASSERT_EQ(ZYN_REG_SetValueWord(key, n4, 65535), ERROR_SUCCESS);
    ASSERT_EQ(ZYN_REG_SetValueLong(key, n5, -2147483647 - 1), ERROR_SUCCESS);
    ASSERT_EQ(ZYN_REG_SetValueBool(key, n6, TRUE), ERROR_SUCCESS);
    ASSERT_EQ(ZYN_REG_SetValueInt(key, n7, -42), ERROR_SUCCESS);
    EXPECT_EQ(stored("Big"), "4294967295");
    EXPECT_EQ(stored("Hex"), "ff");
    EXPECT_EQ(stored("Signed"), "-1");
    EXPECT_EQ(stored("Word"), "65535");
    EXPECT_EQ(stored("Long"), "-2147483648");
    EXPECT_EQ(stored("Flag"), "1");
    EXPECT_EQ(stored("Int"), "-42");

    DWORD dw = 0, hex = 0;
    short sint = 0;
    WORD word = 0;
    LONG lng = 0;
    BOOL flag = FALSE;
    int i = 0;
    EXPECT_TRUE(ZYN_REG_GetValueDWord(key, n1, &dw));
    EXPECT_EQ(dw, 4294967295u);
    EXPECT_TRUE(ZYN_REG_GetValueLHex(key, n2, &hex));
    EXPECT_EQ(hex, 255u);
    EXPECT_TRUE(ZYN_REG_GetValueSInt(key, n3, &sint));
    EXPECT_EQ(sint, -1);
    EXPECT_TRUE(ZYN_REG_GetValueWord(key, n4, &word));
    EXPECT_EQ(word, 65535);
    EXPECT_TRUE(ZYN_REG_GetValueLong(key, n5, &lng));
    EXPECT_EQ(lng, -2147483647 - 1);
    EXPECT_TRUE(ZYN_REG_GetValueBool(key, n6, &flag));
    EXPECT_EQ(flag, TRUE);
    EXPECT_TRUE(ZYN_REG_GetValueInt(key, n7, &i));
    EXPECT_EQ(i, -42);
}

// Values written by hand (or by an older copy) are read by the same rules.
TEST_F(Values, ReadingTextWrittenByOthers) {
    set_default_raw(HKEY_CURRENT_USER, section + "\\Hex", "DeadBeef");
    set_default_raw(HKEY_CURRENT_USER, section + "\\Flag", "2");
    set_default_raw(HKEY_CURRENT_USER, section + "\\Off", "0");
    set_default_raw(HKEY_CURRENT_USER, section + "\\Signed", "40000");
    set_default_raw(HKEY_CURRENT_USER, section + "\\Word", "-1");
    set_default_raw(HKEY_CURRENT_USER, section + "\\Words", "12abc");
    set_default_raw(HKEY_CURRENT_USER, section + "\\Empty", "");
    char hexName[] = "hex", flagName[] = "flag", offName[] = "off", sName[] = "signed", wName[] = "word",
         wsName[] = "words", eName[] = "empty";
    DWORD hex = 0;
    BOOL flag = FALSE, off = TRUE;
    short s = 0;
    WORD w = 0;
    int words = 0, empty = 9;
    EXPECT_TRUE(ZYN_REG_GetValueLHex(key, hexName, &hex));
    EXPECT_EQ(hex, 0xDEADBEEFu);
    EXPECT_TRUE(ZYN_REG_GetValueBool(key, flagName, &flag));
    EXPECT_EQ(flag, TRUE) << "anything but 0 is true";
    EXPECT_TRUE(ZYN_REG_GetValueBool(key, offName, &off));
    EXPECT_EQ(off, FALSE);
    EXPECT_TRUE(ZYN_REG_GetValueSInt(key, sName, &s));
    EXPECT_EQ(s, (short)(40000 - 65536)) << "into 16 bits";
    EXPECT_TRUE(ZYN_REG_GetValueWord(key, wName, &w));
    EXPECT_EQ(w, 65535);
    EXPECT_TRUE(ZYN_REG_GetValueInt(key, wsName, &words));
    EXPECT_EQ(words, 12) << "digits up to the first other character";
    EXPECT_TRUE(ZYN_REG_GetValueInt(key, eName, &empty)) << "an empty text exists";
    EXPECT_EQ(empty, 0);
}

TEST_F(Values, AMissingValueLeavesTheCallersDefault) {
    char name[] = "never_written";
    DWORD dw = 123;
    int i = -5;
    WORD w = 9;
    char text[ZYN_REG_VALUE_BUFFER] = "default";
    EXPECT_FALSE(ZYN_REG_GetValueDWord(key, name, &dw));
    EXPECT_FALSE(ZYN_REG_GetValueInt(key, name, &i));
    EXPECT_FALSE(ZYN_REG_GetValueWord(key, name, &w));
    EXPECT_FALSE(ZYN_REG_GetValueString(key, name, text));
    EXPECT_EQ(dw, 123u);
    EXPECT_EQ(i, -5);
    EXPECT_EQ(w, 9);
    EXPECT_STREQ(text, "default");
    EXPECT_FALSE(key_exists(HKEY_CURRENT_USER, section + "\\Never Written")) << "reading creates nothing";
}

TEST_F(Values, OnlyStringDefaultValuesCount) {
    // A value key without a default value, and one whose default is a number.
    HKEY sub;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, (section + "\\Bare").c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, &sub, nullptr),
              ERROR_SUCCESS);
    RegCloseKey(sub);
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, (section + "\\Binary").c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, &sub, nullptr),
              ERROR_SUCCESS);
    DWORD number = 5;
    RegSetValueExA(sub, nullptr, 0, REG_DWORD, reinterpret_cast<const BYTE *>(&number), sizeof number);
    RegCloseKey(sub);
    char bare[] = "bare", binary[] = "binary";
    int v = 77;
    EXPECT_FALSE(ZYN_REG_GetValueInt(key, bare, &v));
    EXPECT_FALSE(ZYN_REG_GetValueInt(key, binary, &v));
    EXPECT_EQ(v, 77);
}

TEST_F(Values, StringsUpTo63CharactersCanBeRead) {
    std::string s63(63, 'x'), s64(64, 'y');
    char n63[] = "sixty_three", n64[] = "sixty_four";
    ASSERT_EQ(ZYN_REG_SetValueString(key, n63, s63.c_str(), (DWORD)s63.size()), ERROR_SUCCESS);
    ASSERT_EQ(ZYN_REG_SetValueString(key, n64, s64.c_str(), (DWORD)s64.size()), ERROR_SUCCESS);
    EXPECT_EQ(stored("Sixty Four"), s64) << "written whole";
    char buf[ZYN_REG_VALUE_BUFFER + 8];
    memset(buf, '#', sizeof buf);
    ASSERT_TRUE(ZYN_REG_GetValueString(key, n63, buf));
    EXPECT_EQ(std::string(buf), s63);
    EXPECT_EQ(buf[64], '#') << "nothing past 64 bytes";
    strcpy(buf, "kept");
    EXPECT_FALSE(ZYN_REG_GetValueString(key, n64, buf));
    EXPECT_STREQ(buf, "kept");
    int number = 3;
    std::string digits(70, '1');
    char nd[] = "digits";
    ASSERT_EQ(ZYN_REG_SetValueString(key, nd, digits.c_str(), (DWORD)digits.size()), ERROR_SUCCESS);
    EXPECT_FALSE(ZYN_REG_GetValueInt(key, nd, &number)) << "numbers obey the same limit";
    EXPECT_EQ(number, 3);
}

TEST_F(Values, StringWritesTheGivenLength) {
    char n1[] = "cut", n2[] = "short", n3[] = "none";
    ASSERT_EQ(ZYN_REG_SetValueString(key, n1, "PackBits", 4), ERROR_SUCCESS);
    EXPECT_EQ(stored("Cut"), "Pack");
    // A length past the text's end stops at its zero.
    ASSERT_EQ(ZYN_REG_SetValueString(key, n2, "abc", 1000), ERROR_SUCCESS);
    EXPECT_EQ(stored("Short"), "abc");
    ASSERT_EQ(ZYN_REG_SetValueString(key, n3, "abc", 0), ERROR_SUCCESS);
    EXPECT_EQ(stored("None"), "");
    char buf[ZYN_REG_VALUE_BUFFER] = "x";
    EXPECT_TRUE(ZYN_REG_GetValueString(key, n3, buf));
    EXPECT_STREQ(buf, "");
    // A text that is not closed within length is read only that far.
    const char unterminated[4] = {'w', 'x', 'y', 'z'};
    char n4[] = "four";
    ASSERT_EQ(ZYN_REG_SetValueString(key, n4, unterminated, 4), ERROR_SUCCESS);
    EXPECT_EQ(stored("Four"), "wxyz");
}

TEST_F(Values, OverwritingKeepsOneValue) {
    char name[] = "keep_undo";
    ASSERT_EQ(ZYN_REG_SetValueInt(key, name, 1), ERROR_SUCCESS);
    ASSERT_EQ(ZYN_REG_SetValueInt(key, name, 0), ERROR_SUCCESS);
    int v = 1;
    ASSERT_TRUE(ZYN_REG_GetValueInt(key, name, &v));
    EXPECT_EQ(v, 0);
    char list[4 * 65 + 1];
    EXPECT_EQ(ZYN_REG_GetEntries(key, list), 1u);
}

TEST_F(Values, BadArgumentsFailWithoutTouchingAnything) {
    char name[] = "x";
    char empty[] = "";
    int v = 4;
    EXPECT_NE(ZYN_REG_SetValueInt(nullptr, name, 1), ERROR_SUCCESS);
    EXPECT_FALSE(ZYN_REG_GetValueInt(nullptr, name, &v));
    EXPECT_NE(ZYN_REG_SetValueInt(key, nullptr, 1), ERROR_SUCCESS);
    EXPECT_FALSE(ZYN_REG_GetValueInt(key, nullptr, &v));
    EXPECT_FALSE(ZYN_REG_GetValueInt(key, name, nullptr));
    // An empty name would be the section key itself.
    EXPECT_NE(ZYN_REG_SetValueInt(key, empty, 1), ERROR_SUCCESS);
    EXPECT_EQ(default_text(HKEY_CURRENT_USER, section), "<missing>");
    EXPECT_FALSE(ZYN_REG_GetValueInt(key, empty, &v));
    EXPECT_EQ(v, 4);
    EXPECT_NE(ZYN_REG_SetValueString(key, name, nullptr, 3), ERROR_SUCCESS);
}

}  // namespace
