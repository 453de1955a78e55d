#include <stddef.h>
#include <string.h>

#include "engine_test_support.h"

namespace {

class HostMessages : public CoreTest {
protected:
    HostParamBlock block{};
    LRESULT send(UINT message) {
        LRESULT result = -12345;
        EXPECT_EQ(host_format_message(message, &block, &result), 1);
        return result;
    }
    void SetUp() override {
        CoreTest::SetUp();
        memset(&block, 0, sizeof block);
        dir = make_scratch_dir();
    }
    void TearDown() override {
        remove_tree(dir);
        CoreTest::TearDown();
    }
    std::string dir;
};

TEST_F(HostMessages, LayoutMatchesWhatPluginsWrite) {
    EXPECT_EQ(sizeof(PluginFormatRecord), 232u);
    EXPECT_EQ(offsetof(PluginFormatRecord, formatCode), 228u);
    EXPECT_EQ(offsetof(HostParamBlock, path), 14 * sizeof(ULONG_PTR));
    if (sizeof(void *) == 4) {
        EXPECT_EQ(offsetof(HostParamBlock, path), 56u);
    }
    EXPECT_EQ(HM_BASE + 27, HM_REGISTER_FORMAT);
    EXPECT_EQ(HM_BASE + 31, HM_OPEN_WINDOW);
    EXPECT_EQ(HM_BASE + 38, HM_LOAD_FILE);
    EXPECT_EQ(HM_BASE + 47, HM_SAVE_FILE);
    EXPECT_EQ(HM_BASE + 62, HM_SAVE_FLAG_TEST);
}

TEST_F(HostMessages, RegisterFormatFromARecordWithoutTerminators) {
    PluginFormatRecord r;
    memset(&r, 'Q', sizeof r); /* no NUL anywhere: fields are cut at their ends */
    r.canLoad = 0;
    r.canSave = 1;
    memcpy(r.saveCaps, "\x01\x00\x03\x00\x05\x00", 6);
    r.formatCode = 555;
    block.field[HPB_RECORD] = (ULONG_PTR)&r;
    LRESULT index = send(HM_REGISTER_FORMAT);
    ASSERT_EQ(index, 36);
    const FormatEntry *e = catalogue_entry(36);
    EXPECT_STREQ(e->extension, "QQQQ");
    EXPECT_EQ(strlen(e->displayName), 80u);
    EXPECT_EQ(e->load, (FmtLoadProc)LoadNone);
    EXPECT_EQ(e->save, (FmtSaveProc)SaveByPlugin);
    EXPECT_EQ(e->validate, (FmtValidateProc)ValidateAlways);
    EXPECT_EQ(e->saveCaps[4], 5);
    EXPECT_EQ(e->kinds, KIND_IMAGE);
    EXPECT_TRUE(catalogue_listed_for_save(36));
}

TEST_F(HostMessages, CatalogueQueries) {
    block.field[HPB_CODE] = 113;
    EXPECT_EQ(send(HM_CODE_TO_INDEX), 33);
    block.field[HPB_CODE] = 9999;
    EXPECT_EQ(send(HM_CODE_TO_INDEX), -1);
    block.field[HPB_INDEX] = 25;
    EXPECT_EQ(send(HM_INDEX_TO_CODE), 81);
    block.field[HPB_INDEX] = 36;
    EXPECT_EQ(send(HM_INDEX_TO_CODE), 0);
    block.field[HPB_INDEX] = 0xFFFFFFFFu;
    EXPECT_EQ(send(HM_INDEX_TO_CODE), 0);
    block.field[HPB_INDEX] = 8;
    EXPECT_EQ(send(HM_HAS_LOADER), 0);
    block.field[HPB_INDEX] = 14;
    EXPECT_EQ(send(HM_HAS_LOADER), 1);
    block.field[HPB_INDEX] = 7;
    block.field[HPB_ARG8] = 0;
    block.field[HPB_ARG9] = SC_COMPRESS_OPTION;
    EXPECT_EQ(send(HM_SAVE_FLAG_TEST), 1);
    block.field[HPB_ARG8] = 4;
    EXPECT_EQ(send(HM_SAVE_FLAG_TEST), 0);
    char ext[8] = "XXXXXXX";
    block.field[HPB_PATH] = (ULONG_PTR)ext;
    block.field[HPB_CODE] = 47;
    send(HM_CODE_TO_EXT);
    EXPECT_STREQ(ext, "GIF");
    block.field[HPB_PATH] = (ULONG_PTR) "a.tar.TGA";
    EXPECT_EQ(send(HM_DETECT), 32);
    catalogue_set_current_load(10);
    catalogue_set_current_save(33);
    send(HM_CURRENT_CODES);
    EXPECT_EQ(block.field[HPB_ARG8], 47u);
    EXPECT_EQ(block.field[HPB_ARG9], 113u);
    EXPECT_EQ(host_format_message(HM_BASE + 4, &block, nullptr), 0) << "not ours";
}

TEST_F(HostMessages, FilterMessagesFillBufferAndCodes) {
    std::vector<char> buf(36 * 128, '\x7f');
    std::vector<DWORD> codes(37, 0);
    block.field[HPB_ARG8] = (ULONG_PTR)buf.data();
    block.field[HPB_ARG9] = (ULONG_PTR)codes.data();
    EXPECT_EQ(send(HM_OPEN_FILTER), 26);
    EXPECT_STREQ(buf.data(), "* - List all files");
    EXPECT_EQ(codes[0], 3u);
    block.field[HPB_ARG8] = 0;
    EXPECT_EQ(send(HM_SAVE_FILTER), 19) << "codes only";
    EXPECT_EQ(codes[0], 9u);
}

TEST_F(HostMessages, LoadFileDetectsAndReportsTheFormat) {
    EmptyCodecSlot noBmp("BMP");
    std::string path = dir + "/pic.bmp";
    write_file(path, "BM");
    char buffer[HOST_PATH_SIZE];
    snprintf(buffer, sizeof buffer, "%s", path.c_str());
    block.field[HPB_PATH] = (ULONG_PTR)buffer;
    block.field[HPB_CODE] = HPB_NO_CODE;
    EXPECT_EQ(send(HM_LOAD_FILE), 0) << "no BMP codec";
    EXPECT_EQ(block.field[HPB_INDEX], 3u);
    EXPECT_EQ(block.field[HPB_CODE], 9u);
    EXPECT_EQ(catalogue_current_load(), 3);
    EXPECT_EQ(last_text(), "No BMP codec is available in this build");
    size_t shown = boxes().size();
    snprintf(buffer, sizeof buffer, "%s/absent.bmp", dir.c_str());
    block.field[HPB_CODE] = HPB_NO_CODE;
    EXPECT_EQ(send(HM_LOAD_FILE), 0);
    EXPECT_EQ(boxes().size(), shown) << "a missing file fails without a box";
    buffer[0] = '\0';
    EXPECT_EQ(send(HM_LOAD_FILE), 0) << "no Open dialog hook";
}

int dialogCalls;
int fake_open_dialog(char *buffer, size_t size) {
    dialogCalls++;
    snprintf(buffer, size, "%s", "/nonexistent/chosen.gif");
    return 1;
}
HWND fake_open_window(const char *, int index) { return (HWND)(ULONG_PTR)(0x100 + index); }

TEST_F(HostMessages, EmptyPathAsksTheOpenDialogStartingOnTheRequestedFormat) {
    HostHooks hooks = {fake_open_dialog, fake_open_window};
    host_set_hooks(&hooks);
    char buffer[HOST_PATH_SIZE] = "";
    block.field[HPB_PATH] = (ULONG_PTR)buffer;
    block.field[HPB_CODE] = 81;
    dialogCalls = 0;
    EXPECT_EQ(send(HM_LOAD_FILE), 0) << "the chosen file does not exist";
    EXPECT_EQ(dialogCalls, 1);
    EXPECT_STREQ(buffer, "/nonexistent/chosen.gif");
    EXPECT_EQ(catalogue_current_load(), 25);
}

TEST_F(HostMessages, OpenWindowNeedsAnExistingFileAndAFormat) {
    HostHooks hooks = {nullptr, fake_open_window};
    host_set_hooks(&hooks);
    std::string path = dir + "/pic.gif";
    write_file(path, "GIF89a");
    block.field[HPB_PATH] = (ULONG_PTR)path.c_str();
    block.field[HPB_CODE] = HPB_NO_CODE;
    EXPECT_EQ(send(HM_OPEN_WINDOW), 0x100 + 10);
    EXPECT_EQ(block.field[HPB_INDEX], 10u);
    block.field[HPB_CODE] = 113;
    EXPECT_EQ(send(HM_OPEN_WINDOW), 0x100 + 33) << "the code wins over detection";
    block.field[HPB_CODE] = 4242;
    EXPECT_EQ(send(HM_OPEN_WINDOW), 0);
    std::string absent = dir + "/absent.gif";
    block.field[HPB_PATH] = (ULONG_PTR)absent.c_str();
    block.field[HPB_CODE] = HPB_NO_CODE;
    EXPECT_EQ(send(HM_OPEN_WINDOW), 0);
}

int WINAPI recording_writer(LPSTR path, HGLOBAL, WORD color, WORD compressed, WORD bpp) {
    FILE *f = fopen(path, "wb");
    fprintf(f, "%u %u %u", color, compressed, bpp);
    fclose(f);
    return 1;
}

TEST_F(HostMessages, SaveFileClearsCompressionTheFormatCannotDo) {
    BYTE caps[6] = {5, 1, 1, 0, 8, 0};
    int index = catalogue_register(KIND_IMAGE, "TSV", "t", LoadNone, recording_writer, ValidateAlways, caps,
                                   nullptr, 808);
    std::string path = dir + "/out.tsv";
    block.field[HPB_PATH] = (ULONG_PTR)path.c_str();
    block.field[HPB_CODE] = HPB_NO_CODE;
    block.field[HPB_COLOR] = 1;
    block.field[HPB_COMPRESSED] = 1;
    block.field[HPB_ARG9] = 4;
    EXPECT_EQ(send(HM_SAVE_FILE), 1);
    EXPECT_EQ(catalogue_current_save(), index);
    EXPECT_EQ(block.field[HPB_COMPRESSED], 0u);
    EXPECT_EQ(read_file(path), "1 0 4");
    block.field[HPB_COMPRESSED] = 1;
    block.field[HPB_ARG9] = 24;
    EXPECT_EQ(send(HM_SAVE_FILE), 1);
    EXPECT_EQ(read_file(path), "1 1 24") << "always-compressed counts as compressible";
    block.field[HPB_COMPRESSED] = 1;
    block.field[HPB_ARG9] = 1;
    block.field[HPB_CODE] = 808;
    EXPECT_EQ(send(HM_SAVE_FILE), 1);
    EXPECT_EQ(read_file(path), "1 1 1");
}

TEST_F(HostMessages, LoadPanelMessagesAddressFieldsByTheir32BitOffsets) {
    load_panel_open("t", "f");
    block.field[HPB_OFFSET] = 4 * LI_BITS_PER_PIXEL;
    block.field[HPB_ARG8] = 24;
    send(HM_LOADINFO_NUMBER);
    EXPECT_EQ(loadinfo_number(LI_BITS_PER_PIXEL), 24u);
    block.field[HPB_OFFSET] = 4 * LI_VERSION;
    block.field[HPB_ARG8] = 3;
    send(HM_LOADINFO_NUMBER2);
    EXPECT_EQ(loadinfo_number(LI_VERSION), 3u);
    block.field[HPB_OFFSET] = 4 * LI_CREATOR;
    block.field[HPB_PATH] = (ULONG_PTR) "Plug-in maker";
    send(HM_LOADINFO_TEXT);
    EXPECT_STREQ(loadinfo_text(LI_CREATOR), "Plug-in maker");
    block.field[HPB_OFFSET] = 4 * 20; /* beyond the record */
    send(HM_LOADINFO_NUMBER);
    block.field[HPB_ARG8] = 2;
    block.field[HPB_ARG9] = 9;
    send(HM_LOADINFO_PROGRESS);
    EXPECT_EQ(load_panel_steps(), 9u);
    block.field[HPB_ARG8] = 5;
    send(HM_LOADINFO_STEP);
    EXPECT_EQ(load_panel_current_step(), 5u);
    send(HM_LOADINFO_READY);
    EXPECT_TRUE(load_panel_info_is_ready());
    block.field[HPB_COLOR] = 0;
    send(HM_LOADINFO_SWITCH);
    EXPECT_FALSE(load_panel_shown());
    block.field[HPB_COLOR] = 1;
    send(HM_LOADINFO_SWITCH);
    EXPECT_TRUE(load_panel_shown());
    load_panel_close();
}

}  // namespace
