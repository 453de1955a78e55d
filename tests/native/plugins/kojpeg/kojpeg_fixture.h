/* The set-up every kojpeg test starts from: the engine's recorded message
   boxes, an empty settings store, a recording host table, a 24-bit
   display, the codec bound. */
#ifndef KOJPEG_FIXTURE_H
#define KOJPEG_FIXTURE_H

#include <map>

#include "engine_test_support.h"
#include "jpeg_test_support.h"
#include "kojpeg_hooks.h"

/* A host that records what the plug-in tells it. */
struct HostLog {
    std::vector<std::pair<int, int>> progress; /* (0, high) for a range, (1, step) */
    std::map<int, long> info;
    std::string infoText;
    int infoDone = 0;
    std::vector<std::vector<BYTE>> registered;
    int inBatch = 0;
    int session = 0;
};

inline HostLog &host_log() {
    static HostLog log;
    return log;
}

inline const KojpegHostApi *recording_host() {
    static const KojpegHostApi api = {
        [](int, int high) { host_log().progress.push_back({0, high}); },
        [](int step) { host_log().progress.push_back({1, step}); },
        [](BYTE *record) { host_log().registered.push_back(std::vector<BYTE>(record, record + 232)); },
        [](int key, int value) { host_log().info[key] = value; },
        [](int key, long value) { host_log().info[key] = value; },
        [](int, const char *text) { host_log().infoText = text; },
        [] { host_log().infoDone++; },
        [] { return host_log().inBatch; },
        [] { return host_log().session; },
    };
    return &api;
}

/* Any handle that is neither null nor the plug-in's own module. */
#define TEST_HOST ((HMODULE)(void *)&host_log)

struct KojpegTest : CoreTest {
    std::string dir;
    void SetUp() override {
        CoreTest::SetUp();
        dir = make_scratch_dir();
        kojpeg_store_reset();
        kojpeg_set_sheet_method(nullptr);
        kojpeg_set_native_level(10);
        kojpeg_set_display_bits(24);
        kojpeg_set_load_password(nullptr);
        kojpeg_set_codec_fault(0);
        host_log() = HostLog();
        kojpeg_set_host_api(recording_host());
    }
    void TearDown() override {
        kojpeg_set_host_api(nullptr);
        remove_tree(dir);
        CoreTest::TearDown();
    }
    std::string path(const std::string &name) const { return dir + "/" + name; }
    /* Loads through RQ_Fmt_Load; null on failure. */
    HGLOBAL load(const std::string &file, HMODULE host = nullptr) {
        HGLOBAL dib = (HGLOBAL)1;
        std::string name = file;
        int ok = RQ_Fmt_Load(host, &name[0], &dib);
        EXPECT_EQ(ok != 0, dib != nullptr);
        return ok ? dib : nullptr;
    }
    /* Saves without the sheet at a quality level. */
    bool save_level(const std::string &file, HGLOBAL dib, int level) {
        std::string name = file;
        return RQ_Fmt_Save(nullptr, &name[0], dib, 0, (WORD)level, 0xFFFF) != 0;
    }
    /* Saves as the program does (a bit count in the mode: the sheet). */
    bool save_sheet(const std::string &file, HGLOBAL dib, HMODULE host = nullptr) {
        std::string name = file;
        return RQ_Fmt_Save(host, &name[0], dib, 1, 0, 24) != 0;
    }
};

#endif
