#include "kojpeg_fixture.h"

namespace {

using KojpegOptions = KojpegTest;

struct SheetLog {
    int shown = 0;
    int lastKind = -1;
};
SheetLog &sheet_log() {
    static SheetLog log;
    return log;
}

int recording_sheet(int kind, JpegOptions *, int *) {
    sheet_log().shown++;
    sheet_log().lastKind = kind;
    return 1;
}

std::string stored(const char *name) {
    char value[300];
    store_read(name, "<absent>", value, sizeof value);
    return value;
}

TEST_F(KojpegOptions, TheSheetStartsFromTheStoredValuesAndWritesOnlyChanges) {
    JpegOptions read;
    options_read(&read);
    EXPECT_EQ(read.chrominance, 36u);
    EXPECT_EQ(read.luminance, 30u);
    EXPECT_EQ(read.subsample, 2u);
    EXPECT_EQ(read.scriptLevel, 1u);
    EXPECT_EQ(read.optimumChoice, 0u);
    EXPECT_STREQ(read.comment, "");

    JpegOptions chosen = read;
    chosen.luminance = 90;
    chosen.optimumChoice = 19;
    options_write_changes(&read, &chosen, 0);
    EXPECT_EQ(stored("LUMINANCE"), "90");
    EXPECT_EQ(stored("OPTIMUMCHOICE"), "19");
    for (const char *unchanged :
         {"CHROMINANCE", "SUBSAMPLE", "SCRIPTLEVEL", "WANTJPROG", "PASSWORD", "WANTPASSWORD", "COMMENTFIELD"})
        EXPECT_EQ(stored(unchanged), "<absent>") << unchanged;

    /* The password only when its page reports a change; an empty comment never. */
    chosen = read;
    snprintf(chosen.password, sizeof chosen.password, "%s", "abc");
    options_write_changes(&read, &chosen, 0);
    EXPECT_EQ(stored("PASSWORD"), "<absent>");
    options_write_changes(&read, &chosen, 1);
    EXPECT_EQ(stored("PASSWORD"), "abc");
    store_write("COMMENTFIELD", "old");
    options_read(&read);
    chosen = read;
    chosen.comment[0] = '\0';
    options_write_changes(&read, &chosen, 0);
    EXPECT_EQ(stored("COMMENTFIELD"), "old");
}

TEST_F(KojpegOptions, TwoSavesOfOneBatchSessionShowTheSheetOnce) {
    kojpeg_set_sheet_method(recording_sheet);
    sheet_log() = SheetLog();
    HGLOBAL dib = make_dib24(16, 16, test_picture(16, 16));
    host_log().inBatch = 1;
    host_log().session = 7;
    ASSERT_TRUE(save_sheet(path("a.jpg"), dib, TEST_HOST));
    ASSERT_TRUE(save_sheet(path("b.jpg"), dib, TEST_HOST));
    EXPECT_EQ(sheet_log().shown, 1);
    EXPECT_EQ(stored("BATCHSESSION"), "7");
    host_log().session = 8;
    ASSERT_TRUE(save_sheet(path("c.jpg"), dib, TEST_HOST));
    EXPECT_EQ(sheet_log().shown, 2);
    EXPECT_EQ(stored("BATCHSESSION"), "8");
    /* Outside a batch the sheet comes every time. */
    host_log().inBatch = 0;
    ASSERT_TRUE(save_sheet(path("d.jpg"), dib, TEST_HOST));
    ASSERT_TRUE(save_sheet(path("e.jpg"), dib, TEST_HOST));
    EXPECT_EQ(sheet_log().shown, 4);
    /* Without a host there is no batch to know of. */
    host_log().inBatch = 1;
    ASSERT_TRUE(save_sheet(path("f.jpg"), dib, nullptr));
    EXPECT_EQ(sheet_log().shown, 5);
    GlobalFree(dib);
}

TEST_F(KojpegOptions, LaterSavesOfASessionUseTheStoredChoices) {
    HGLOBAL dib = make_dib24(64, 64, test_picture(64, 64));
    host_log().inBatch = 1;
    host_log().session = 3;
    store_write("BATCHSESSION", "3");
    store_write("WANTJPROG", "1");
    store_write("SCRIPTLEVEL", "4"); /* the DC-only script */
    kojpeg_set_sheet_method(recording_sheet);
    sheet_log() = SheetLog();
    ASSERT_TRUE(save_sheet(path("s.jpg"), dib, TEST_HOST));
    EXPECT_EQ(sheet_log().shown, 0);
    Bytes f = slurp(path("s.jpg")), sof2 = {0xFF, 0xC2};
    EXPECT_NE(std::search(f.begin(), f.end(), sof2.begin(), sof2.end()), f.end());
    GlobalFree(dib);
}

TEST_F(KojpegOptions, TheTargetDecidesTheSheetsKind) {
    kojpeg_set_sheet_method(recording_sheet);
    HGLOBAL dib = make_dib24(16, 16, test_picture(16, 16));
    sheet_log() = SheetLog();
    ASSERT_TRUE(save_sheet(path("a.jpg"), dib));
    EXPECT_EQ(sheet_log().lastKind, KIND_SEQUENTIAL);
    ASSERT_TRUE(save_sheet(path("a.pic"), dib));
    EXPECT_EQ(sheet_log().lastKind, KIND_PIC);
    store_write("WANTJPROG", "1");
    ASSERT_TRUE(save_sheet(path("b.jpg"), dib));
    EXPECT_EQ(sheet_log().lastKind, KIND_PROGRESSIVE);
    ASSERT_TRUE(save_sheet(path("b.pic"), dib));
    EXPECT_EQ(sheet_log().lastKind, KIND_PIC);
    /* FOR_SaveJPG as the program's writer: the bit count is never 0xFFFF. */
    sheet_log().shown = 0;
    std::string name = path("c.jpg");
    ASSERT_TRUE(FOR_SaveJPG(&name[0], dib, 1, 0, 24));
    EXPECT_EQ(sheet_log().shown, 1);
    GlobalFree(dib);
}

TEST_F(KojpegOptions, TheSixScriptsParseIntoTheirScans) {
    const DWORD counts[7] = {0, 6, 6, 7, 1, 4, 7};
    for (int level = 1; level <= 6; level++) {
        SCOPED_TRACE(level);
        size_t length;
        const char *text = script_text(level, &length);
        ASSERT_NE(text, nullptr);
        TavnScan scans[TAVN_MAX_SCANS];
        DWORD count = 0;
        ASSERT_TRUE(script_parse(text, length, scans, &count));
        EXPECT_EQ(count, counts[level]);
        EXPECT_EQ(scans[0].count, 3); /* every script opens with the DC of all three */
        EXPECT_EQ(scans[0].ss, 0);
        EXPECT_EQ(scans[0].se, 0);
    }
    size_t length;
    TavnScan s[TAVN_MAX_SCANS];
    DWORD n;
    const char *t = script_text(3, &length);
    ASSERT_TRUE(script_parse(t, length, s, &n));
    EXPECT_EQ(s[5].component[0], 0);
    EXPECT_EQ(s[5].ss, 1);
    EXPECT_EQ(s[5].se, 30);
    EXPECT_EQ(s[5].ah, 1);
    EXPECT_EQ(s[5].al, 0);
    EXPECT_EQ(script_text(0, &length), nullptr);
    EXPECT_EQ(script_text(7, &length), nullptr);
}

TEST_F(KojpegOptions, MalformedScriptsAreRefused) {
    TavnScan s[TAVN_MAX_SCANS];
    DWORD n;
    auto parses = [&](const std::string &text) { return script_parse(text.data(), text.size(), s, &n) != 0; };
    EXPECT_TRUE(parses("# only a comment\n0: 0-0, 0, 0;\n\n  # another\n"));
    EXPECT_EQ(n, 1u);
    EXPECT_FALSE(parses(""));
    EXPECT_FALSE(parses("# nothing\n"));
    EXPECT_FALSE(parses("0: 0-0, 0, 0"));           /* no semicolon */
    EXPECT_FALSE(parses("0: 5-2, 0, 0;"));          /* backwards */
    EXPECT_FALSE(parses("0: 0-64, 0, 0;"));         /* past 63 */
    EXPECT_FALSE(parses("7: 0-0, 0, 0;"));          /* no such component */
    EXPECT_FALSE(parses("0,1,2,0,1: 0-0, 0, 0;"));  /* five components */
    EXPECT_FALSE(parses("0: 1-63, 0, 99999;"));
    EXPECT_FALSE(parses("x: 0-0, 0, 0;"));
    std::string many;
    for (int i = 0; i < TAVN_MAX_SCANS + 1; i++) many += "0: 0-0, 0, 0;\n";
    EXPECT_FALSE(parses(many));
}

TEST_F(KojpegOptions, ScriptLevelZeroReadsTheNamedFileElseTheFirstScript) {
    TavnRequest r;
    memset(&r, 0, sizeof r);
    std::string mine = "0,1,2: 0-0, 0, 0;\n0: 1-63, 0, 0;\n";
    spill(path("mine.txt"), Bytes(mine.begin(), mine.end()));
    store_write("SCRIPTFILE", path("mine.txt").c_str());
    ASSERT_TRUE(script_load(0, &r));
    EXPECT_EQ(r.f.scanCount, 2u);
    store_write("SCRIPTFILE", path("missing.txt").c_str());
    ASSERT_TRUE(script_load(0, &r));
    EXPECT_EQ(r.f.scanCount, 6u);
}

}  // namespace
