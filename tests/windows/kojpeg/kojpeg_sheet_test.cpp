// The "Compression Options" sheet, driven through its controls while it
// runs: the pages per target, the slider filling the fields, the 255
// clamp, the advanced controls, the scan group and the batch sessions.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "kojpeg_hooks.h"

#include <commctrl.h>

#include "kojpeg_res.h"
#include "kojpeg_sheet_win.h"

namespace {

/* What the running sheet is checked for; true presses OK, false Cancel. */
std::function<bool(HWND)> &script() {
    static std::function<bool(HWND)> s;
    return s;
}
int &sheets_shown() {
    static int n;
    return n;
}

void CALLBACK drive(HWND sheet, UINT, UINT_PTR id, DWORD) {
    KillTimer(sheet, id);
    bool ok = script() ? script()(sheet) : true;
    PropSheet_PressButton(sheet, ok ? PSBTN_OK : PSBTN_CANCEL);
}

void observe(HWND sheet) {
    sheets_shown()++;
    SetTimer(sheet, 1, 10, drive);
}

std::vector<std::string> page_titles(HWND sheet) {
    HWND tabs = PropSheet_GetTabControl(sheet);
    std::vector<std::string> titles;
    int n = TabCtrl_GetItemCount(tabs);
    for (int i = 0; i < n; i++) {
        char text[64] = "";
        TCITEMA item = {};
        item.mask = TCIF_TEXT;
        item.pszText = text;
        item.cchTextMax = sizeof text;
        SendMessageA(tabs, TCM_GETITEMA, i, (LPARAM)&item);
        titles.push_back(text);
    }
    return titles;
}

HWND page(HWND sheet, int index) {
    PropSheet_SetCurSel(sheet, nullptr, index);
    return PropSheet_GetCurrentPageHwnd(sheet);
}

std::string text_of(HWND dialog, int id) {
    char text[300] = "";
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

void click(HWND dialog, int id) { SendMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

struct Sheet : ::testing::Test {
    JpegOptions o;
    void SetUp() override {
        options_defaults(&o);
        sheets_shown() = 0;
        script() = nullptr;
        kojpeg_set_sheet_observer(observe);
    }
    void TearDown() override { kojpeg_set_sheet_observer(nullptr); }
    int run(int kind) {
        int changed = 0;
        return kojpeg_sheet_default(kind, &o, &changed);
    }
};

TEST_F(Sheet, JpegTargetsGetTheJpegPageAndPicTargetsThePasswordPage) {
    std::vector<std::string> titles;
    script() = [&](HWND sheet) {
        titles = page_titles(sheet);
        return false;
    };
    EXPECT_EQ(run(KIND_SEQUENTIAL), 0);  // cancelled
    EXPECT_EQ(titles, (std::vector<std::string>{"Compression", "JPEG Options", "Comment"}));
    run(KIND_PROGRESSIVE);
    EXPECT_EQ(titles, (std::vector<std::string>{"Compression", "JPEG Options", "Comment"}));
    run(KIND_PIC);
    EXPECT_EQ(titles, (std::vector<std::string>{"Compression", "Password Option", "Comment"}));
    EXPECT_EQ(sheets_shown(), 3);
}

TEST_F(Sheet, TheSliderFillsTheFieldsAndTheFieldsHoldAt255) {
    o.optimumChoice = 25;  // out of range: the slider starts at 10
    int startPosition = -1;
    std::string startLabel, lum, chr, clamped, advancedText, advancedBack;
    bool sub411 = false, hiddenAtStart = false, shownAfterClick = false, focusBack = false;
    script() = [&](HWND sheet) {
        HWND p = page(sheet, 0);
        HWND slider = GetDlgItem(p, IDC_KJ_SLIDER);
        startPosition = (int)SendMessageA(slider, TBM_GETPOS, 0, 0);
        startLabel = text_of(p, IDC_KJ_LEVEL);
        hiddenAtStart = !IsWindowVisible(GetDlgItem(p, IDC_KJ_LUMINANCE));
        click(p, IDC_KJ_ADVANCED);
        shownAfterClick = IsWindowVisible(GetDlgItem(p, IDC_KJ_LUMINANCE)) != 0;
        advancedText = text_of(p, IDC_KJ_ADVANCED);
        SendMessageA(slider, TBM_SETPOS, TRUE, 11);
        SendMessageA(p, WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, 11), (LPARAM)slider);
        lum = text_of(p, IDC_KJ_LUMINANCE);
        chr = text_of(p, IDC_KJ_CHROMINANCE);
        sub411 = IsDlgButtonChecked(p, IDC_KJ_SUB_411) == BST_CHECKED;
        SetDlgItemTextA(p, IDC_KJ_LUMINANCE, "300");
        clamped = text_of(p, IDC_KJ_LUMINANCE);
        focusBack = GetFocus() == GetDlgItem(p, IDC_KJ_LUMINANCE);
        click(p, IDC_KJ_ADVANCED);
        advancedBack = text_of(p, IDC_KJ_ADVANCED);
        return true;
    };
    ASSERT_EQ(run(KIND_SEQUENTIAL), 1);
    EXPECT_EQ(startPosition, 10);
    EXPECT_EQ(startLabel, "11");
    EXPECT_TRUE(hiddenAtStart);
    EXPECT_TRUE(shownAfterClick);
    EXPECT_EQ(advancedText, "Advanced <<");
    EXPECT_EQ(advancedBack, "Advanced >>");
    EXPECT_EQ(lum, "38");  // level 11: 38, 32, 4/1/1
    EXPECT_EQ(chr, "32");
    EXPECT_TRUE(sub411);
    EXPECT_EQ(clamped, "255");
    EXPECT_TRUE(focusBack);
    /* OK takes the fields as they stand. */
    EXPECT_EQ(o.optimumChoice, 11u);
    EXPECT_EQ(o.luminance, 255u);
    EXPECT_EQ(o.chrominance, 32u);
    EXPECT_EQ(o.subsample, 2u);
}

TEST_F(Sheet, TheScanGroupFollowsTheJpegType) {
    o.scriptLevel = 5;  // shows as "Scan 3"
    bool enabledAtStart = true, enabledAfter = false, scan3 = false;
    script() = [&](HWND sheet) {
        HWND p = page(sheet, 1);
        scan3 = IsDlgButtonChecked(p, IDC_KJ_SCAN3) == BST_CHECKED;
        enabledAtStart = IsWindowEnabled(GetDlgItem(p, IDC_KJ_SCAN4)) != 0;
        click(p, IDC_KJ_PROGRESSIVE);
        enabledAfter = IsWindowEnabled(GetDlgItem(p, IDC_KJ_SCAN4)) != 0;
        click(p, IDC_KJ_SCAN5);
        HWND c = page(sheet, 2);
        SetDlgItemTextA(c, IDC_KJ_COMMENT, "from the sheet");
        return true;
    };
    ASSERT_EQ(run(KIND_SEQUENTIAL), 1);
    EXPECT_TRUE(scan3);
    EXPECT_FALSE(enabledAtStart);
    EXPECT_TRUE(enabledAfter);
    EXPECT_EQ(o.wantProgressive, 1u);
    EXPECT_EQ(o.scriptLevel, 3u);
    EXPECT_STREQ(o.comment, "from the sheet");
}

TEST_F(Sheet, ThePasswordPageKeepsEightCharacters) {
    int changed = 0;
    script() = [&](HWND sheet) {
        HWND p = page(sheet, 1);
        click(p, IDC_KJ_WANT_PASSWORD);
        SetDlgItemTextA(p, IDC_KJ_PASSWORD, "abcdefghijk");
        return true;
    };
    ASSERT_EQ(kojpeg_sheet_default(KIND_PIC, &o, &changed), 1);
    EXPECT_EQ(o.wantPassword, 1u);
    EXPECT_STREQ(o.password, "abcdefgh");
    EXPECT_EQ(changed, 1);
}

HGLOBAL small_dib(void) {
    HGLOBAL dib = GlobalAlloc(GHND, sizeof(BITMAPINFOHEADER) + 8 * 8 * 3);
    BITMAPINFOHEADER *bh = (BITMAPINFOHEADER *)GlobalLock(dib);
    *bh = BITMAPINFOHEADER{sizeof *bh, 8, 8, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    GlobalUnlock(dib);
    return dib;
}

TEST_F(Sheet, ABatchSessionShowsTheSheetOnce) {
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    std::string a = std::string(temp) + "kj_batch_a.jpg", b = std::string(temp) + "kj_batch_b.jpg";
    HGLOBAL dib = small_dib();
    /* The host: a module of its own with the batch services. */
    HMODULE host = LoadLibraryA("kojpeg_test_host.dll");
    ASSERT_NE(host, nullptr);
    auto set = (void (*)(int, int))(void *)GetProcAddress(host, "test_host_set");
    int session = (int)(GetTickCount() & 0x7FFFFFFF) | 1;  // one the store has not seen
    set(1, session);
    ASSERT_EQ(RQ_Fmt_Save(host, &a[0], dib, 1, 0, 24), 1);
    ASSERT_EQ(RQ_Fmt_Save(host, &b[0], dib, 1, 0, 24), 1);
    EXPECT_EQ(sheets_shown(), 1);
    set(1, session + 1);
    ASSERT_EQ(RQ_Fmt_Save(host, &a[0], dib, 1, 0, 24), 1);
    EXPECT_EQ(sheets_shown(), 2);
    /* Outside a batch: every save, and a cancelled sheet writes nothing. */
    set(0, 0);
    DeleteFileA(b.c_str());
    script() = [](HWND) { return false; };
    EXPECT_EQ(RQ_Fmt_Save(host, &b[0], dib, 1, 0, 24), 0);
    EXPECT_EQ(sheets_shown(), 3);
    EXPECT_EQ(GetFileAttributesA(b.c_str()), INVALID_FILE_ATTRIBUTES);
    DeleteFileA(a.c_str());
    GlobalFree(dib);
    FreeLibrary(host);
}

}  // namespace
