/* Shared set-up of the engine tests: a fresh built-in catalogue, default
   settings, no batch run, and a message method that records every box
   instead of printing it. */
#ifndef ENGINE_TEST_SUPPORT_H
#define ENGINE_TEST_SUPPORT_H

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "codecs/registry.h"
#include "core/batch_state.h"
#include "core/catalogue.h"
#include "core/color_ops.h"
#include "core/host_messages.h"
#include "core/load_panel.h"
#include "core/pipeline.h"
#include "shell/settings/settings.h"
#include "zynlib.h"

struct Box {
    std::string text;
    std::string caption; /* "<null>" for no caption */
    UINT style;
};

inline std::vector<Box> &boxes() {
    static std::vector<Box> shown;
    return shown;
}
inline int &box_answer() {
    static int answer = IDOK;
    return answer;
}

inline int WINAPI record_box(HWND, LPCSTR text, LPCSTR caption, UINT style) {
    boxes().push_back({text ? text : "", caption ? caption : "<null>", style});
    return box_answer();
}

/* The text of the last box shown, for failure messages. */
inline const char *last_box_text(void) { return boxes().empty() ? "" : boxes().back().text.c_str(); }

class CoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        catalogue_free_all();
        ASSERT_EQ(catalogue_register_builtins(), 1);
        settings_set_store(nullptr);
        settings_reset_defaults();
        batch_set_running(0);
        batch_set_unattended(0);
        batch_set_cancel(0);
        color_ops_install(nullptr);
        load_panel_set_hooks(nullptr);
        load_panel_set_shown(1);
        host_set_hooks(nullptr);
        pipeline_set_host_module(nullptr);
        boxes().clear();
        box_answer() = IDOK;
        ZYN_ERR_SetErrorMethod(record_box);
    }
    void TearDown() override {
        ZYN_ERR_SetErrorMethod(nullptr);
        catalogue_free_all();
    }
    std::string last_text() const { return boxes().empty() ? "" : boxes().back().text; }
};

/* Empties one format's codec slot for the life of the object (and rebuilds
   the catalogue around it), so the tests of the empty-slot path do not
   depend on which codecs have landed. */
class EmptyCodecSlot {
public:
    explicit EmptyCodecSlot(const char *extension)
        : ext(extension), load(codec_loader(extension)), save(codec_writer(extension)) {
        codec_install(ext, CodecMissingLoad, CodecMissingSave);
        reregister();
    }
    ~EmptyCodecSlot() {
        codec_install(ext, load, save);
        reregister();
    }

private:
    static void reregister() {
        catalogue_free_all();
        catalogue_register_builtins();
    }
    const char *ext;
    FmtLoadProc load;
    FmtSaveProc save;
};

/* A scratch directory per test, removed afterwards. */
std::string make_scratch_dir(void);
void remove_tree(const std::string &dir);
std::string read_file(const std::string &path);
void write_file(const std::string &path, const std::string &contents);

/* A CoreTest with its own scratch directory, removed afterwards. */
class ScratchTest : public CoreTest {
public:
    std::string dir;

protected:
    void SetUp() override {
        CoreTest::SetUp();
        dir = make_scratch_dir();
    }
    void TearDown() override {
        remove_tree(dir);
        CoreTest::TearDown();
    }
};

/* Runs a program with arguments, standard output and error going to
   out.txt and err.txt in dir, no input; its exit status, or -1 when it
   did not exit. */
int run_program(const std::string &program, const std::string &args, const std::string &dir);

#endif
