#include <dirent.h>
#include <string.h>

#include "engine_test_support.h"

namespace {

class Pipeline : public CoreTest {
protected:
    void SetUp() override {
        CoreTest::SetUp();
        dir = make_scratch_dir();
        ASSERT_FALSE(dir.empty());
        calls = 0;
        seenPath.clear();
    }
    void TearDown() override {
        remove_tree(dir);
        CoreTest::TearDown();
    }
    std::vector<std::string> files_in_dir() const {
        std::vector<std::string> names;
        DIR *d = opendir(dir.c_str());
        while (struct dirent *e = readdir(d))
            if (e->d_name[0] != '.') names.push_back(e->d_name);
        closedir(d);
        return names;
    }
    std::string dir;

public:
    static int calls;
    static std::string seenPath;
    static int panelOpenDuringLoad;
    static std::string fileFieldDuringLoad;
    static int currentDuringLoad;
    static std::string targetDuringSave;
};
int Pipeline::calls;
std::string Pipeline::seenPath;
int Pipeline::panelOpenDuringLoad;
std::string Pipeline::fileFieldDuringLoad;
int Pipeline::currentDuringLoad;
std::string Pipeline::targetDuringSave;

int WINAPI recording_loader(LPSTR path, HGLOBAL *out) {
    Pipeline::calls++;
    Pipeline::seenPath = path;
    Pipeline::panelOpenDuringLoad = load_panel_is_open();
    Pipeline::fileFieldDuringLoad = loadinfo_text(LI_FILE);
    Pipeline::currentDuringLoad = catalogue_current_load();
    loadinfo_set_text(LI_CREATOR, "maker");
    *out = GlobalAlloc(GHND, 64);
    return 1;
}

int WINAPI leaking_failing_loader(LPSTR, HGLOBAL *out) {
    *out = GlobalAlloc(GHND, 64);
    return 0;
}

int WINAPI empty_success_loader(LPSTR, HGLOBAL *out) {
    *out = NULL;
    return 1;
}

int WINAPI writing_writer(LPSTR path, HGLOBAL, WORD, WORD, WORD) {
    Pipeline::seenPath = path;
    Pipeline::targetDuringSave = pipeline_save_target(path);
    FILE *f = fopen(path, "wb");
    fputs("new contents", f);
    fclose(f);
    return 1;
}

/* Writes half a file and gives up, as a writer does when the disk fills. */
int WINAPI failing_writer(LPSTR path, HGLOBAL, WORD, WORD, WORD) {
    FILE *f = fopen(path, "wb");
    fputs("half", f);
    fclose(f);
    return 0;
}

int register_test_format(const char *ext, FmtLoadProc load, FmtSaveProc save, const char *plugin = nullptr) {
    BYTE caps[6] = {1, 1, 1, 0, 1, 1};
    return catalogue_register(KIND_IMAGE, ext, "test", load, save, ValidateAlways, caps, plugin, 800);
}

TEST_F(Pipeline, WildCardLoadReportsAnUndetectableNameAsOneMessage) {
    catalogue_set_current_load(0);
    HGLOBAL dib = (HGLOBAL)1;
    char path[] = "C:\\IMAGES\\PHOTO.XYZ";
    EXPECT_EQ(LoadFile(path, &dib), 0);
    EXPECT_EQ(dib, nullptr);
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].text, "Unsupported file type for image:C:\\IMAGES\\PHOTO.XYZcannot load.");
    EXPECT_EQ(boxes()[0].caption, "<null>");
    char self[] = "loop.*";
    EXPECT_EQ(LoadFile(self, &dib), 0) << "the wild card must not load itself";
    EXPECT_EQ(boxes().size(), 2u);
}

TEST_F(Pipeline, WildCardLoadRunsTheDetectedLoaderAndComesBack) {
    int index = register_test_format("TST", recording_loader, SaveNone);
    catalogue_set_current_load(0);
    HGLOBAL dib = nullptr;
    char path[] = "picture.tst";
    ASSERT_EQ(LoadFile(path, &dib), 1);
    EXPECT_NE(dib, nullptr);
    EXPECT_EQ(currentDuringLoad, index);
    EXPECT_EQ(catalogue_detected_format(), index);
    EXPECT_EQ(catalogue_current_load(), 0);
    EXPECT_TRUE(boxes().empty());
    GlobalFree(dib);
}

TEST_F(Pipeline, LoadFileHandsThePathOverUnchangedWithThePanelOpen) {
    int index = register_test_format("TST", recording_loader, SaveNone);
    catalogue_set_current_load(index);
    char path[] = "/tmp/Bild-\xe4\xf6\xfc.tst";
    HGLOBAL dib = nullptr;
    ASSERT_EQ(LoadFile(path, &dib), 1);
    EXPECT_EQ(seenPath, "/tmp/Bild-\xe4\xf6\xfc.tst");
    EXPECT_STREQ(path, "/tmp/Bild-\xe4\xf6\xfc.tst") << "the caller's text is not converted either";
    EXPECT_EQ(panelOpenDuringLoad, 1);
    EXPECT_EQ(fileFieldDuringLoad, path);
    EXPECT_FALSE(load_panel_is_open());
    EXPECT_STREQ(loadinfo_text(LI_FILE), "") << "closing clears the texts";
    EXPECT_STREQ(loadinfo_text(LI_CREATOR), "");
    GlobalFree(dib);
}

TEST_F(Pipeline, FormatsThatCannotDoTheJobAreReportedOnceByName) {
    EmptyCodecSlot noBmp("BMP"), noEps("EPS");
    HGLOBAL dib = nullptr;
    char bmp[] = "a.bmp", img[] = "a.img";
    catalogue_set_current_load(3);
    EXPECT_EQ(LoadFile(bmp, &dib), 0);
    catalogue_set_current_load(14);
    EXPECT_EQ(LoadFile(img, &dib), 0);
    catalogue_set_current_save(8);
    std::string target = dir + "/a.eps";
    EXPECT_EQ(SaveFile((LPSTR)target.c_str(), nullptr, 1, 0, 8), 0);
    catalogue_set_current_save(-1);
    EXPECT_EQ(SaveFile((LPSTR)target.c_str(), nullptr, 1, 0, 8), 0);
    ASSERT_EQ(boxes().size(), 4u);
    EXPECT_EQ(boxes()[0].text, "No BMP codec is available in this build");
    EXPECT_EQ(boxes()[1].text, "IMG files cannot be read");
    EXPECT_EQ(boxes()[2].text, "No EPS codec is available in this build");
    EXPECT_EQ(boxes()[3].text, "No file format is selected");
    EXPECT_TRUE(files_in_dir().empty()) << "no temporary file left behind";
}

TEST_F(Pipeline, LoaderResultsAreMadeConsistent) {
    long before = compat_global_live_blocks();
    HGLOBAL dib = nullptr;
    char path[] = "x.tst";
    EXPECT_EQ(pipeline_load(register_test_format("TST", leaking_failing_loader, SaveNone), path, &dib), 0);
    EXPECT_EQ(dib, nullptr);
    EXPECT_EQ(compat_global_live_blocks(), before) << "a failed loader's block is freed";
    EXPECT_EQ(pipeline_load(register_test_format("TS2", empty_success_loader, SaveNone), path, &dib), 0);
    EXPECT_EQ(last_text(), "The TS2 reader returned no image");
}

TEST_F(Pipeline, SafeSaveKeepsTheOriginalWhenTheWriterFails) {
    std::string target = dir + "/keep.tst";
    write_file(target, "original");
    catalogue_set_current_save(register_test_format("TST", LoadNone, failing_writer));
    EXPECT_EQ(SaveFile((LPSTR)target.c_str(), nullptr, 1, 0, 24), 0);
    EXPECT_EQ(read_file(target), "original");
    EXPECT_EQ(files_in_dir(), std::vector<std::string>{"keep.tst"});
    EXPECT_TRUE(boxes().empty()) << "the writer reports its own failure";
}

TEST_F(Pipeline, SafeSaveReplacesTheTargetFromATemporaryFileBesideIt) {
    std::string target = dir + "/new.tst";
    write_file(target, "original");
    catalogue_set_current_save(register_test_format("TST", LoadNone, writing_writer));
    ASSERT_EQ(SaveFile((LPSTR)target.c_str(), nullptr, 1, 0, 24), 1);
    EXPECT_EQ(read_file(target), "new contents");
    EXPECT_NE(seenPath, target);
    EXPECT_EQ(seenPath.substr(0, dir.size() + 1), dir + "/") << "same directory, so the move is a rename";
    EXPECT_EQ(seenPath.substr(seenPath.size() - 4), ".tst") << "writers that go by extension see the target's";
    EXPECT_EQ(targetDuringSave, target);
    EXPECT_EQ(pipeline_save_target("other"), std::string("other"));
    EXPECT_EQ(files_in_dir(), std::vector<std::string>{"new.tst"});
}

TEST_F(Pipeline, SaveIntoAMissingDirectoryFailsWithAMessage) {
    catalogue_set_current_save(register_test_format("TST", LoadNone, writing_writer));
    std::string target = dir + "/no/such/dir/x.tst";
    EXPECT_EQ(SaveFile((LPSTR)target.c_str(), nullptr, 1, 0, 24), 0);
    EXPECT_EQ(last_text(), "Cannot create a temporary file beside " + target + ", nothing was saved");
}

TEST_F(Pipeline, PluginEntriesAreCalledThroughTheirLibrary) {
    pipeline_set_host_module((HMODULE)0x1234);
    int index = register_test_format("PLG", LoadByPlugin, SaveByPlugin, TEST_PLUGIN_PATH);
    catalogue_set_current_load(index);
    HGLOBAL dib = nullptr;
    char ok[] = "image.plg", bad[] = "fail.plg";
    ASSERT_EQ(LoadFile(ok, &dib), 1);
    BITMAPINFOHEADER *h = (BITMAPINFOHEADER *)GlobalLock(dib);
    EXPECT_EQ(h->biBitCount, 8);
    GlobalUnlock(dib);
    GlobalFree(dib);
    EXPECT_EQ(LoadFile(bad, &dib), 0);
    EXPECT_TRUE(boxes().empty()) << "the plug-in reports its own failures";

    catalogue_set_current_save(index);
    std::string target = dir + "/out.plg";
    ASSERT_EQ(SaveFile((LPSTR)target.c_str(), nullptr, 1, 0, 8), 1);
    char expected[64];
    snprintf(expected, sizeof expected, "host=%p color=1 compressed=0 bpp=8", (void *)0x1234);
    EXPECT_EQ(read_file(target), expected);
    char take[] = "take.plg", refuse[] = "other.plg";
    EXPECT_EQ(pipeline_validate(index, take), 1);
    EXPECT_EQ(pipeline_validate(index, refuse), 0);
}

TEST_F(Pipeline, MissingPluginLibraryOrExportFailsSilently) {
    int gone = register_test_format("GNE", LoadByPlugin, SaveByPlugin, "/nonexistent/plugin.so");
    int noExport = register_test_format("NEX", LoadByPlugin, SaveByPlugin, "libm.so.6");
    char path[] = "x.gne";
    HGLOBAL dib = nullptr;
    for (int index : {gone, noExport}) {
        EXPECT_EQ(pipeline_load(index, path, &dib), 0);
        EXPECT_EQ(pipeline_save(index, path, nullptr, 1, 0, 8), 0);
        EXPECT_EQ(pipeline_validate(index, path), 0);
    }
    EXPECT_TRUE(boxes().empty());
}

TEST_F(Pipeline, MakeDibHeaderFillsHeaderAndLoadInformation) {
    load_panel_open("Loading...", "f");
    BITMAPINFOHEADER h;
    ASSERT_EQ(MakeDibHeader(&h, 3, 5, 4, 16), 1);
    EXPECT_EQ(h.biSize, 40u);
    EXPECT_EQ(h.biPlanes, 1);
    EXPECT_EQ(h.biCompression, (DWORD)BI_RGB);
    EXPECT_EQ(h.biSizeImage, 4u * 5) << "3 pixels of 4 bits pad to 4 bytes";
    EXPECT_EQ(h.biClrUsed, 16u);
    EXPECT_EQ(h.biClrImportant, 16u);
    EXPECT_EQ(h.biXPelsPerMeter, 0);
    EXPECT_EQ(loadinfo_number(LI_WIDTH), 3u);
    EXPECT_EQ(loadinfo_number(LI_HEIGHT), 5u);
    EXPECT_EQ(loadinfo_number(LI_PALETTE), 1u);
    EXPECT_EQ(loadinfo_number(LI_COLORS), 16u);
    EXPECT_EQ(loadinfo_number(LI_MEMORY), 20u);
    EXPECT_TRUE(load_panel_info_is_ready());
    ASSERT_EQ(MakeDibHeader(&h, 1, 1, 24, 0), 1);
    EXPECT_EQ(loadinfo_number(LI_PALETTE), 0u);
    EXPECT_EQ(h.biSizeImage, 4u);
    EXPECT_EQ(MakeDibHeader(&h, 0x7FFFFFFF, 0x7FFFFFFF, 24, 0), 0) << "size beyond 32 bits";
    EXPECT_EQ(MakeDibHeader(&h, 65536, 65536, 32, 0), 0);
    EXPECT_EQ(MakeDibHeader(&h, -1, 5, 8, 0), 0);
    EXPECT_EQ(MakeDibHeader(&h, 5, 5, 0, 0), 0);
    load_panel_close();
}

int hookCalls;
void count_hook(const LoadInfo *) { hookCalls++; }
void count_progress(DWORD, DWORD) { hookCalls++; }

TEST_F(Pipeline, PanelSwitchOffKeepsTheRecordButDrawsNothing) {
    LoadPanelHooks hooks = {};
    hooks.info_ready = count_hook;
    hooks.progress = count_progress;
    load_panel_set_hooks(&hooks);
    hookCalls = 0;
    load_panel_set_shown(0);
    load_panel_open("t", "f");
    load_panel_begin_progress(0, 10);
    load_panel_step(3);
    EXPECT_EQ(loadinfo_set_number(LI_GRAY, 1), 1);
    EXPECT_EQ(loadinfo_set_number(LI_CREATOR, 1), 0) << "a text field";
    EXPECT_EQ(loadinfo_set_text(LI_WIDTH, "x"), 0) << "a numeric field";
    load_panel_info_ready();
    EXPECT_EQ(hookCalls, 0);
    EXPECT_EQ(load_panel_current_step(), 3u);
    EXPECT_EQ(load_panel_steps(), 10u);
    EXPECT_EQ(loadinfo_number(LI_GRAY), 1u);
    load_panel_set_shown(1);
    load_panel_step(4);
    EXPECT_EQ(hookCalls, 1);
    load_panel_close();
}

}  // namespace
