// The "Icon Types/Sizes" dialog, driven through its controls while it runs:
// the lines and check box of both modes, the choice it answers, Cancel,
// the double click, and the batch run that never shows it.
#include <gtest/gtest.h>
#include <string.h>

#include <functional>
#include <string>
#include <vector>

#include "codecs/common/dib_build.h"
#include "codecs/ico/ico.h"
#include "codecs/ico/ico_dialog_res.h"
#include "codecs/ico/ico_dialog_win.h"
#include "core/batch_state.h"
#include "core/color_ops.h"
#include "zynlib.h"

namespace {

/* What the dialog showed when the script ran. */
struct Seen {
    std::string title;
    std::vector<std::string> lines;
    int selected = -1;
    std::string maskText;
    bool maskChecked = false;
    bool maskEnabled = false;
};

/* Reads the running dialog, then acts on it. */
std::function<void(HWND)> &script() {
    static std::function<void(HWND)> s;
    return s;
}
int &dialogs_shown() {
    static int n;
    return n;
}
Seen &seen() {
    static Seen s;
    return s;
}
std::vector<std::string> &messages() {
    static std::vector<std::string> v;
    return v;
}

int WINAPI record_message(HWND, LPCSTR text, LPCSTR, UINT) {
    messages().push_back(text ? text : "");
    return IDOK;
}

std::string text_of(HWND w) {
    char text[200] = "";
    GetWindowTextA(w, text, sizeof text);
    return text;
}

Seen read_dialog(HWND dialog) {
    Seen s;
    s.title = text_of(dialog);
    HWND list = GetDlgItem(dialog, IDC_ICO_LIST);
    int n = (int)SendMessageA(list, LB_GETCOUNT, 0, 0);
    for (int i = 0; i < n; i++) {
        char line[80] = "";
        SendMessageA(list, LB_GETTEXT, i, (LPARAM)line);
        s.lines.push_back(line);
    }
    s.selected = (int)SendMessageA(list, LB_GETCURSEL, 0, 0);
    HWND mask = GetDlgItem(dialog, IDC_ICO_MASK);
    s.maskText = text_of(mask);
    s.maskChecked = IsDlgButtonChecked(dialog, IDC_ICO_MASK) == BST_CHECKED;
    s.maskEnabled = IsWindowEnabled(mask) != 0;
    return s;
}

BOOL CALLBACK find_dialog(HWND w, LPARAM found) {
    char cls[16] = "";
    GetClassNameA(w, cls, sizeof cls);
    if (strcmp(cls, "#32770") != 0 || !IsWindowVisible(w)) return TRUE;
    *(HWND *)found = w;
    return FALSE;
}

/* A thread timer: the dialog's modal loop dispatches it. */
void CALLBACK drive(HWND, UINT, UINT_PTR id, DWORD) {
    HWND dialog = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), find_dialog, (LPARAM)&dialog);
    if (!dialog) return;
    KillTimer(nullptr, id);
    dialogs_shown()++;
    seen() = read_dialog(dialog);
    if (script()) script()(dialog);
}

void select_line(HWND dialog, int line) { SendDlgItemMessageA(dialog, IDC_ICO_LIST, LB_SETCURSEL, line, 0); }
void click(HWND dialog, int id) { SendMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }
void press(HWND dialog, int id) { PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }

struct IcoDialog : ::testing::Test {
    UINT_PTR timer = 0;
    ZYN_ERRMETHOD previous = nullptr;
    std::vector<std::string> temps;

    void SetUp() override {
        dialogs_shown() = 0;
        seen() = Seen();
        messages().clear();
        script() = nullptr;
        previous = ZYN_ERR_SetErrorMethod(record_message);
        color_ops_install_builtin(); /* the writer reduces colours */
        ico_dialog_install();
        timer = SetTimer(nullptr, 0, 20, drive);
    }
    void TearDown() override {
        KillTimer(nullptr, timer);
        ico_set_chooser(nullptr);
        ico_set_save_chooser(nullptr);
        batch_set_running(0);
        ZYN_ERR_SetErrorMethod(previous);
        for (const std::string &p : temps) DeleteFileA(p.c_str());
    }
    std::string fixture(const char *name) { return std::string(LC_SOURCE_DIR) + "/tests/fixtures/ico/" + name; }
    std::string temp_path() {
        char dir[MAX_PATH], path[MAX_PATH];
        GetTempPathA(sizeof dir, dir);
        GetTempFileNameA(dir, "ico", 0, path);
        temps.push_back(path);
        return path;
    }
    int load(const std::string &path, HGLOBAL *dib) { return IcoLoad((LPSTR)path.c_str(), dib); }
};

BITMAPINFOHEADER header_of(HGLOBAL dib) {
    BITMAPINFOHEADER h = *(BITMAPINFOHEADER *)GlobalLock(dib);
    GlobalUnlock(dib);
    return h;
}

/* A w x h 32-bit image, every pixel grey with the given alpha. */
HGLOBAL image32(LONG w, LONG h, BYTE alpha) {
    DibParts d;
    if (!dib_create(w, h, 32, 0, &d)) return nullptr;
    for (LONG y = 0; y < h; y++) {
        BYTE *row = dib_row_from_top(&d, y);
        for (LONG x = 0; x < w; x++) {
            row[4 * x] = row[4 * x + 1] = row[4 * x + 2] = 200;
            row[4 * x + 3] = alpha;
        }
    }
    HGLOBAL out = nullptr;
    dib_finish(&d, 1, &out);
    return out;
}

HGLOBAL image24(LONG w, LONG h) {
    DibParts d;
    if (!dib_create(w, h, 24, 0, &d)) return nullptr;
    for (LONG y = 0; y < h; y++) memset(dib_row_from_top(&d, y), 90, (size_t)w * 3);
    HGLOBAL out = nullptr;
    dib_finish(&d, 1, &out);
    return out;
}

TEST_F(IcoDialog, LoadModeListsTheImagesAndLoadsTheChosenOne) {
    script() = [](HWND d) {
        select_line(d, 1);
        click(d, IDC_ICO_MASK); /* off: keep the 4-bit image */
        press(d, IDOK);
    };
    HGLOBAL dib = nullptr;
    ASSERT_TRUE(load(fixture("ico_16_and_32.ico"), &dib));
    EXPECT_EQ(dialogs_shown(), 1);
    EXPECT_EQ(seen().title, "Icon Types/Sizes");
    EXPECT_EQ(seen().lines, (std::vector<std::string>{"16 x 16 16-Color", "32 x 32 16-Color"}));
    EXPECT_EQ(seen().selected, 0);
    EXPECT_EQ(seen().maskText, "Load icon mask to create 32-bit image");
    EXPECT_TRUE(seen().maskChecked);
    EXPECT_TRUE(seen().maskEnabled);
    BITMAPINFOHEADER h = header_of(dib);
    EXPECT_EQ(h.biWidth, 32);
    EXPECT_EQ(h.biHeight, 32);
    EXPECT_EQ(h.biBitCount, 4);
    GlobalFree(dib);
    EXPECT_TRUE(messages().empty());
}

TEST_F(IcoDialog, LeavingTheMaskCheckedGivesA32BitImage) {
    script() = [](HWND d) { press(d, IDOK); };
    HGLOBAL dib = nullptr;
    ASSERT_TRUE(load(fixture("ico_16_and_32.ico"), &dib));
    BITMAPINFOHEADER h = header_of(dib);
    EXPECT_EQ(h.biWidth, 16);
    EXPECT_EQ(h.biBitCount, 32);
    GlobalFree(dib);
}

TEST_F(IcoDialog, DoubleClickOnALineActsAsOk) {
    script() = [](HWND d) {
        select_line(d, 1);
        PostMessageA(d, WM_COMMAND, MAKEWPARAM(IDC_ICO_LIST, LBN_DBLCLK), (LPARAM)GetDlgItem(d, IDC_ICO_LIST));
    };
    HGLOBAL dib = nullptr;
    ASSERT_TRUE(load(fixture("ico_16_and_32.ico"), &dib));
    EXPECT_EQ(header_of(dib).biWidth, 32);
    GlobalFree(dib);
}

TEST_F(IcoDialog, CancelEndsTheLoadWithoutAMessage) {
    script() = [](HWND d) { press(d, IDCANCEL); };
    HGLOBAL dib = nullptr;
    EXPECT_FALSE(load(fixture("ico_16_and_32.ico"), &dib));
    EXPECT_EQ(dib, nullptr);
    EXPECT_EQ(dialogs_shown(), 1);
    EXPECT_TRUE(messages().empty());
}

TEST_F(IcoDialog, BatchRunChoosesWithoutShowingTheDialog) {
    batch_set_running(1);
    HGLOBAL dib = nullptr;
    ASSERT_TRUE(load(fixture("ico_16_and_32.ico"), &dib));
    EXPECT_EQ(dialogs_shown(), 0);
    BITMAPINFOHEADER h = header_of(dib);
    EXPECT_EQ(h.biWidth, 32); /* the widest 16-colour image, mask made alpha */
    EXPECT_EQ(h.biBitCount, 32);
    GlobalFree(dib);
}

TEST_F(IcoDialog, SaveModeOffersTheNineTypesWithTheMatchingOneSelected) {
    script() = [](HWND d) { press(d, IDOK); };
    HGLOBAL image = image32(48, 24, 255);
    ASSERT_NE(image, nullptr);
    std::string path = temp_path();
    ASSERT_TRUE(IcoSave((LPSTR)path.c_str(), image, 1, 0, 32));
    GlobalFree(image);
    EXPECT_EQ(seen().lines, (std::vector<std::string>{"16 x 16 Monochrome", "32 x 32 Monochrome", "64 x 64 Monochrome",
                                                      "16 x 16 16-Color", "32 x 32 16-Color", "64 x 64 16-Color",
                                                      "16 x 16 256-Color", "32 x 32 256-Color",
                                                      "64 x 64 256-Color"}));
    EXPECT_EQ(seen().selected, 7); /* "32 x 32 256-Color" */
    EXPECT_EQ(seen().maskText, "Use alpha channel to create icon mask");
    EXPECT_TRUE(seen().maskChecked);
    EXPECT_TRUE(seen().maskEnabled);
}

TEST_F(IcoDialog, SaveModeWritesTheChosenType) {
    script() = [](HWND d) {
        select_line(d, 2); /* "64 x 64 Monochrome" */
        press(d, IDOK);
    };
    HGLOBAL image = image24(48, 24);
    ASSERT_NE(image, nullptr);
    std::string path = temp_path();
    ASSERT_TRUE(IcoSave((LPSTR)path.c_str(), image, 1, 0, 24));
    GlobalFree(image);
    EXPECT_FALSE(seen().maskChecked); /* only 32-bit images offer the mask */
    EXPECT_FALSE(seen().maskEnabled);
    batch_set_running(1); /* read back without the dialog */
    HGLOBAL back = nullptr;
    ASSERT_TRUE(load(path, &back));
    BITMAPINFOHEADER h = header_of(back);
    EXPECT_EQ(h.biWidth, 64);
    EXPECT_EQ(h.biHeight, 64);
    GlobalFree(back);
}

TEST_F(IcoDialog, CancelEndsTheSaveWithoutAMessage) {
    script() = [](HWND d) { press(d, IDCANCEL); };
    HGLOBAL image = image24(16, 16);
    ASSERT_NE(image, nullptr);
    std::string path = temp_path();
    EXPECT_FALSE(IcoSave((LPSTR)path.c_str(), image, 1, 0, 24));
    GlobalFree(image);
    EXPECT_EQ(dialogs_shown(), 1);
    EXPECT_TRUE(messages().empty());
}

} // namespace
