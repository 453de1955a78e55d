// The debug trace: nothing without its log file; with one, the step lines
// of the driver under the switches of the switch file, which gets the
// defaults on first use.
#include <unistd.h>

#include "style_internal.h"
#include "style_test_support.h"

namespace {

class Trace : public StyleTest {
protected:
    void SetUp() override {
        StyleTest::SetUp();
        dir = make_scratch_dir();
        ini = dir + "/zyndebug.ini";
        log = dir + "/debug.log";
        sty_trace_set_files(ini.c_str(), log.c_str());
    }
    void TearDown() override {
        sty_trace_set_files((dir + "/none.ini").c_str(), (dir + "/none.log").c_str());
        remove_tree(dir);
        StyleTest::TearDown();
    }
    void run(int filter) {
        HGLOBAL dib = test_picture(24, 5, 3);
        HGLOBAL out = STY_CallFilter((DWORD)filter, dib, 16384, 0, 0, 0, 0);
        ASSERT_NE(out, nullptr);
        GlobalFree(out);
        GlobalFree(dib);
    }
    std::string dir, ini, log;
};

TEST_F(Trace, NothingIsWrittenWithoutTheLog) {
    run(9);
    EXPECT_NE(access(ini.c_str(), F_OK), 0);
    EXPECT_NE(access(log.c_str(), F_OK), 0);
}

TEST_F(Trace, TheDriverFlashesItsSteps) {
    write_file(log, "");
    run(9);
    std::string text = read_file(log);
    EXPECT_EQ(text.find("Flash: F: style_driver.cpp, L: "), 0u) << text;
    for (const char *step : {", Get struct pointers\n", ", Pixel Size = [Src: 3]\n", ", Width = 5, Height = 3\n",
                             ", Alloc DIB (size = 88)\n", ", Fill DIB header\n", ", bytes = [s:16 d:16]\n",
                             ", Loop through lines\n"})
        EXPECT_NE(text.find(step), std::string::npos) << step;
    EXPECT_EQ(text.find("Ent: "), std::string::npos) << "entry lines are off by default";
    std::string switches = read_file(ini);
    EXPECT_NE(switches.find("[STYDebug]\ninit=1\nEETrace=0\nTrace=0\nFlash=1\nAssert=1\nStack=0\nMonitor=0\n"),
              std::string::npos)
        << switches;
}

TEST_F(Trace, SwitchesChooseTheLines) {
    write_file(log, "");
    write_file(ini, "[STYDebug]\ninit=1\nEETrace=1\nFlash=0\n");
    run(0);
    std::string text = read_file(log);
    EXPECT_EQ(text.find("Flash: "), std::string::npos) << text;
    EXPECT_NE(text.find("Ent: F: style_entry.cpp, L: "), std::string::npos) << text;
    EXPECT_NE(text.find("Exi: F: style_entry.cpp, L: "), std::string::npos) << text;
    EXPECT_NE(text.find(", Not Implemented Yet\n"), std::string::npos) << "written whatever the switches";
    EXPECT_EQ(read_file(ini), "[STYDebug]\ninit=1\nEETrace=1\nFlash=0\n") << "a section with init is kept";
}

}  // namespace
