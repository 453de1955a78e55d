/* The plug-in as a format plug-in of the pipeline: its records, a load
   through the library the pipeline opens for each call, and the program's
   own JPG, PIC and KQP entries. */
#include <dlfcn.h>

#include "core/host_messages.h"
#include "kojpeg_fixture.h"
#include "kojpeg_link.h"

namespace {

using KojpegPlugin = KojpegTest;

typedef int (*InitProc)(HMODULE, BYTE *);

TEST_F(KojpegPlugin, InitDescribesKqpJpgAndPicWithTheModulePath) {
    BYTE record[KOJPEG_RECORD_SIZE];
    memset(record, 0xAA, sizeof record);
    ASSERT_EQ(RQ_Fmt_Init(TEST_HOST, record), 1);
    ASSERT_EQ(host_log().registered.size(), 2u);
    const BYTE *kqp = host_log().registered[0].data(), *jpg = host_log().registered[1].data();
    EXPECT_STREQ((const char *)kqp, "KQP");
    EXPECT_STREQ((const char *)kqp + 4, "KQP - Konica");
    EXPECT_STREQ((const char *)jpg, "JPG");
    EXPECT_STREQ((const char *)jpg + 4, "JPG - Orvanta");
    EXPECT_STREQ((const char *)record, "PIC");
    EXPECT_STREQ((const char *)record + 4, "PIC - Orvanta");
    const PluginFormatRecord *pic = (const PluginFormatRecord *)record;
    EXPECT_EQ(pic->canLoad, 1u);
    EXPECT_EQ(pic->canSave, 1u);
    const BYTE caps[6] = {0, 0, 11, 0, 9, 0};
    EXPECT_EQ(memcmp(pic->saveCaps, caps, 6), 0);
    EXPECT_EQ(pic->formatCode, 152u);
    EXPECT_EQ(((const PluginFormatRecord *)kqp)->formatCode, 150u);
    EXPECT_EQ(((const PluginFormatRecord *)jpg)->formatCode, 151u);
    EXPECT_GT(strlen(pic->libraryPath), 0u);
    EXPECT_EQ(RQ_Fmt_Version(), 1);
    std::string any = "whatever.txt";
    EXPECT_EQ(RQ_Fmt_Validate(nullptr, &any[0]), 1);
}

TEST_F(KojpegPlugin, LoadingThroughThePluginPathGivesWhatTheDirectLinkGives) {
    void *module = dlopen(KOJPEG_MODULE_PATH, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(module, nullptr) << dlerror();
    InitProc init = (InitProc)dlsym(module, "RQ_Fmt_Init");
    ASSERT_NE(init, nullptr);
    PluginFormatRecord record;
    ASSERT_EQ(init(nullptr, (BYTE *)&record), 1);
    dlclose(module);
    EXPECT_STREQ(record.libraryPath, KOJPEG_MODULE_PATH);

    HostParamBlock block;
    memset(&block, 0, sizeof block);
    block.field[HPB_RECORD] = (ULONG_PTR)&record;
    int index = (int)hm_register_format(&block);
    ASSERT_GE(index, 0);
    ASSERT_TRUE(catalogue_is_plugin(index));

    pipeline_set_host_module(nullptr); /* no imagehost */
    for (const char *stem : {"baseline", "progressive", "gray"}) {
        SCOPED_TRACE(stem);
        std::string file = kJpegFixtures + stem + ".jpg";
        HGLOBAL viaPlugin = nullptr, direct = nullptr;
        catalogue_set_current_load(index);
        ASSERT_EQ(LoadFile(&file[0], &viaPlugin), 1) << last_box_text();
        ASSERT_EQ(FOR_LoadJPG(&file[0], &direct), 1);
        int w1, h1, w2, h2;
        EXPECT_TRUE(dib_rgb(viaPlugin, &w1, &h1) == dib_rgb(direct, &w2, &h2));
        EXPECT_EQ(GlobalSize(viaPlugin), GlobalSize(direct));
        GlobalFree(viaPlugin);
        GlobalFree(direct);
    }
    /* A bad file is reported once, from inside the plug-in. */
    spill(path("bad.pic"), Bytes{'n', 'o'});
    std::string bad = path("bad.pic");
    HGLOBAL dib = nullptr;
    catalogue_set_current_load(index);
    EXPECT_EQ(LoadFile(&bad[0], &dib), 0);
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].text, "Error - Not a Recognized File");
}

TEST_F(KojpegPlugin, TheProgramsEntriesLoadAndSaveThroughThePipeline) {
    kojpeg_install_slots(10);
    catalogue_free_all();
    ASSERT_EQ(catalogue_register_builtins(), 1);
    HGLOBAL dib = make_dib24(40, 30, test_picture(40, 30));
    for (std::string name : {"out.jpg", "out.pic", "out.kqp"}) {
        SCOPED_TRACE(name);
        std::string file = path(name);
        int index = detect_format(file.c_str());
        ASSERT_GE(index, 0);
        catalogue_set_current_save(index);
        ASSERT_EQ(SaveFile(&file[0], dib, 1, 0, 24), 1) << last_box_text();
        Bytes f = slurp(file);
        /* The temporary name the pipeline writes to does not change the kind. */
        EXPECT_EQ(f.size() > 2 && f[0] == 0xFF && f[1] == 0xD8, name == "out.jpg");
        catalogue_set_current_load(index);
        HGLOBAL back = nullptr;
        ASSERT_EQ(LoadFile(&file[0], &back), 1) << last_box_text();
        GlobalFree(back);
    }
    GlobalFree(dib);
    kojpeg_install_slots(-1);
}

}  // namespace
