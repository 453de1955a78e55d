// Error reporting by id, the error method, background events, the library's
// string table and configuration.
#include "zyn_internal.h"
#include "zyn_test_support.h"

namespace {

// A module of our own with the warning caption, as the program has.
const CompatStringEntry kEntries[] = {{7, "Seven"}, {19715, "Warning"}};
const CompatStringModule kProgram = {"program", kEntries, 2};

class zynErrors : public ZynTest {};

TEST_F(zynErrors, MissingIdShowsTheInternalErrorText) {
    g_method_answer = 42;
    EXPECT_EQ(ZYN_ERR_ErrorID(zyn_instance(), ZYN_ERR_LEVEL_ERROR, 12345), 42);
    ASSERT_EQ(shown().size(), 1u);
    EXPECT_EQ(shown()[0].text, "Internal error (id = 12345)");
    EXPECT_FALSE(shown()[0].hasCaption);
    EXPECT_EQ(shown()[0].style, 0u);
}

TEST_F(zynErrors, LevelsChooseTheCaption) {
    HINSTANCE program = COMPAT_MODULE_INSTANCE(kProgram);
    ZYN_ERR_ErrorID(program, ZYN_ERR_LEVEL_PLAIN, 7);
    ZYN_ERR_ErrorID(program, ZYN_ERR_LEVEL_ERROR, 7);
    ZYN_ERR_ErrorID(program, ZYN_ERR_LEVEL_WARNING, 7);
    // The library has no caption string of its own.
    ZYN_ERR_ErrorID(zyn_instance(), ZYN_ERR_LEVEL_WARNING, IDS_ZYN_BAD_ALIGNMENT);
    ASSERT_EQ(shown().size(), 4u);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(shown()[i].text, "Seven");
    EXPECT_TRUE(shown()[0].hasCaption);
    EXPECT_EQ(shown()[0].caption, "");
    EXPECT_FALSE(shown()[1].hasCaption);
    EXPECT_TRUE(shown()[2].hasCaption);
    EXPECT_EQ(shown()[2].caption, "Warning");
    EXPECT_EQ(shown()[3].text, "Correcting bad DIB alignment");
    EXPECT_FALSE(shown()[3].hasCaption);
}

TEST_F(zynErrors, LevelsOutsideOneToThreeShowNothing) {
    for (int level : {0, 4, -1, 100}) EXPECT_EQ(ZYN_ERR_ErrorID(zyn_instance(), level, IDS_ZYN_NOMEM), 0);
    EXPECT_TRUE(shown().empty());
}

TEST_F(zynErrors, ErrorPassesItsArgumentsToTheMethod) {
    g_method_answer = IDYES;
    EXPECT_EQ(ZYN_ERR_Error("text", "caption", nullptr, MB_YESNO), IDYES);
    ASSERT_EQ(shown().size(), 1u);
    EXPECT_EQ(shown()[0].text, "text");
    EXPECT_EQ(shown()[0].caption, "caption");
    EXPECT_EQ(shown()[0].style, (UINT)MB_YESNO);
}

TEST_F(zynErrors, SetErrorMethodReturnsThePreviousOne) {
    ZYN_ERRMETHOD mine = ZYN_ERR_SetErrorMethod(nullptr);  // back to the default
    EXPECT_EQ(mine, recording_method);
    ZYN_ERRMETHOD standard = ZYN_ERR_SetErrorMethod(recording_method);
    EXPECT_NE(standard, nullptr);
    EXPECT_NE(standard, recording_method);
    EXPECT_EQ(ZYN_ERR_SetErrorMethod(recording_method), recording_method);
}

TEST_F(zynErrors, FormattedMessageIsTaskModalWithoutCaption) {
    zyn_message(IDS_ZYN_NOMEM);
    zyn_message(4000000000u);
    ASSERT_EQ(shown().size(), 2u);
    EXPECT_EQ(shown()[0].text, "Not enough memory to perform operation");
    EXPECT_FALSE(shown()[0].hasCaption);
    EXPECT_EQ(shown()[0].style, (UINT)MB_TASKMODAL);
    EXPECT_EQ(shown()[1].text, "Internal error (id = 4000000000)");
}

TEST(zynStrings, DialogFontFromTheLibrarysTable) {
    EXPECT_STREQ(zyn_font_face(), "Arial");
    EXPECT_EQ(zyn_font_charset(), 0);
}

TEST(zynStrings, CharsetNames) {
    EXPECT_EQ(zyn_charset_from_name("ANSI"), 0);
    EXPECT_EQ(zyn_charset_from_name("SYMBOL"), 2);
    EXPECT_EQ(zyn_charset_from_name("SHIFTJIS"), 128);
    EXPECT_EQ(zyn_charset_from_name("OEM"), 255);
    EXPECT_EQ(zyn_charset_from_name("KLINGON"), 0);
    EXPECT_EQ(zyn_charset_from_name(""), 0);
    EXPECT_EQ(zyn_charset_from_name(nullptr), 0);
}

int g_calls = 0;
int WINAPI counting_callback(void) { return ++g_calls == 2 ? 0 : 5; }

TEST(zynBackground, OnlyCallsTheCallbackInBackgroundMode) {
    g_calls = 0;
    EXPECT_EQ(ZYN_EVT_Background(), 1);
    ZYN_EVT_StartBackground(counting_callback);
    EXPECT_EQ(ZYN_EVT_Background(), 5);
    EXPECT_EQ(ZYN_EVT_Background(), 0);  // the callback asks to stop
    ZYN_EVT_StopBackground();
    EXPECT_EQ(ZYN_EVT_Background(), 1);
    EXPECT_EQ(g_calls, 2);
    ZYN_EVT_StartBackground(nullptr);
    EXPECT_EQ(ZYN_EVT_Background(), 1);
    ZYN_EVT_StopBackground();
    EXPECT_EQ(g_calls, 2);
}

TEST(zynSystemKind, NativeIsPlainNt) { EXPECT_EQ(ZYN_MD_GetOS(), ZYN_OS_WINNT); }

}  // namespace
