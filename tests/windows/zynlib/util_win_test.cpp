// Utilities that act on windows, devices and the file system.
#include <stdio.h>

#include <algorithm>

#include "win_support.h"

namespace {

class zynScroll : public ZynWinTest {
protected:
    void SetUp() override {
        ZynWinTest::SetUp();
        parent_ = message_window();
        bar_ = CreateWindowExA(0, "SCROLLBAR", "", WS_CHILD | SBS_HORZ, 0, 0, 100, 16, parent_, nullptr, nullptr,
                               nullptr);
        ASSERT_NE(bar_, nullptr);
    }
    void TearDown() override {
        DestroyWindow(parent_);
        ZynWinTest::TearDown();
    }
    void setup(int min, int max, int pos) {
        SetScrollRange(bar_, SB_CTL, min, max, FALSE);
        SetScrollPos(bar_, SB_CTL, pos, FALSE);
    }
    int pos() { return GetScrollPos(bar_, SB_CTL); }
    HWND parent_ = nullptr, bar_ = nullptr;
};

TEST_F(zynScroll, LineUpNearTheStartSnapsToZero) {
    setup(0, 16384, 200);
    EXPECT_EQ(ZYN_UTI_Scroll(nullptr, SB_LINEUP, bar_, FALSE), 0);  // 200 - 163 = 37, snapped
    EXPECT_EQ(pos(), 0);
    EXPECT_EQ(ZYN_UTI_Scroll(nullptr, SB_LINEUP, bar_, FALSE), -1);  // no change
    EXPECT_EQ(ZYN_UTI_Scroll(nullptr, SB_PAGEDOWN, bar_, FALSE), 3276);
    EXPECT_EQ(pos(), 3276);
}

TEST_F(zynScroll, ThumbCodesCarryThePositionInTheHighWord) {
    setup(0, 1000, 10);
    EXPECT_EQ(ZYN_UTI_Scroll(nullptr, MAKEWPARAM(SB_THUMBTRACK, 600), bar_, FALSE), -1);
    EXPECT_EQ(pos(), 10);
    EXPECT_EQ(ZYN_UTI_Scroll(nullptr, MAKEWPARAM(SB_THUMBTRACK, 600), bar_, TRUE), 600);
    EXPECT_EQ(ZYN_UTI_Scroll(nullptr, MAKEWPARAM(SB_THUMBPOSITION, 900), bar_, FALSE), 900);
    EXPECT_EQ(pos(), 900);
    EXPECT_EQ(ZYN_UTI_Scroll(nullptr, SB_ENDSCROLL, bar_, FALSE), -1);
    // The caller's steps.
    EXPECT_EQ(ZYN_UTI_ScrollEx(nullptr, SB_LINEDOWN, bar_, FALSE, 7, 50), 907);
    EXPECT_EQ(ZYN_UTI_ScrollEx(nullptr, SB_PAGEDOWN, bar_, FALSE, 7, 50), 957);
    EXPECT_EQ(ZYN_UTI_ScrollEx(nullptr, SB_PAGEDOWN, bar_, FALSE, 7, 50), 1000);
    EXPECT_EQ(pos(), 1000);
}

TEST(zynSysBrush, StockBrushesOrButtonColorsByKind) {
    int kind = ZYN_MD_GetOS();
    bool button = kind == ZYN_OS_WIN95 || kind == ZYN_OS_WINNT4;
    const COLORREF stock[3] = {RGB(255, 255, 255), RGB(192, 192, 192), RGB(128, 128, 128)};
    const int sys[3] = {COLOR_BTNHIGHLIGHT, COLOR_BTNFACE, COLOR_BTNSHADOW};
    for (int i = 0; i < 3; ++i) {
        EXPECT_NE(ZYN_UTI_GetSysBrush(i), nullptr);
        EXPECT_EQ(ZYN_UTI_GetSysColor(i), button ? GetSysColor(sys[i]) : stock[i]) << i;
    }
    if (!button) {
        EXPECT_EQ(ZYN_UTI_GetSysBrush(1), GetStockObject(LTGRAY_BRUSH));
    }
    EXPECT_EQ(ZYN_UTI_GetSysBrush(3), nullptr);
    EXPECT_EQ(ZYN_UTI_GetSysBrush(-1), nullptr);
    ZYN_UTI_UpdateSysColors();
    EXPECT_EQ(ZYN_UTI_GetSysColor(2), button ? GetSysColor(COLOR_BTNSHADOW) : stock[2]);
}

TEST(zynFormatDate, UsesTheUsersShortDatePattern) {
    char saved[64];
    GetProfileStringA("intl", "sShortDate", "", saved, sizeof saved);
    ASSERT_TRUE(WriteProfileStringA("intl", "sShortDate", "dd.MM.yyyy"));
    char out[ZYN_DATE_MAX];
    ZYN_UTI_FormatDate(out, 97, 3, 4);
    WriteProfileStringA("intl", "sShortDate", saved[0] ? saved : nullptr);
    EXPECT_STREQ(out, "04.03.1997");
}

TEST(zynDialogUnits, MapAndFontSizes) {
    LONG units = GetDialogBaseUnits();
    RECT r = {4, 8, 40, 16};
    ZYN_UTI_MapDlgRect(&r);
    EXPECT_EQ(r.left, LOWORD(units));
    EXPECT_EQ(r.top, HIWORD(units));
    EXPECT_EQ(r.right, 10 * LOWORD(units));
    EXPECT_EQ(r.bottom, 2 * HIWORD(units));
    EXPECT_EQ(ZYN_UTI_NormalizeFont(10, 0), 10);
    EXPECT_EQ(ZYN_UTI_NormalizeFont(16, 1), 2 * HIWORD(units));
    HDC screen = GetDC(nullptr);
    int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    EXPECT_EQ(ZYN_UTI_NormalizeFont(72, 2), -dpi);
}

TEST(zynDrawing, SunkBorderAroundAControl) {
    HWND dialog = message_window();
    HWND control =
        CreateWindowExA(0, "STATIC", "", WS_CHILD, 10, 10, 20, 20, dialog, (HMENU)(INT_PTR)5, nullptr, nullptr);
    ASSERT_NE(control, nullptr);
    Surface s(40, 40);
    ZYN_UTI_DrawSunkBorder(s.dc, dialog, 5);
    const COLORREF shadow = ZYN_UTI_GetSysColor(2), highlight = ZYN_UTI_GetSysColor(0);
    EXPECT_EQ(s.at(15, 8), shadow);       // top, 2 pixels out
    EXPECT_EQ(s.at(8, 15), shadow);       // left
    EXPECT_EQ(s.at(15, 9), RGB(0, 0, 0)); // black, 1 pixel out
    EXPECT_EQ(s.at(9, 15), RGB(0, 0, 0));
    EXPECT_EQ(s.at(15, 30), highlight);   // bottom, 1 and 2 pixels out
    EXPECT_EQ(s.at(15, 31), highlight);
    EXPECT_EQ(s.at(30, 15), highlight);   // right
    EXPECT_EQ(s.at(31, 15), highlight);
    EXPECT_EQ(s.at(15, 15), RGB(10, 20, 30));  // the control itself untouched
    DestroyWindow(dialog);
}

TEST(zynDrawing, ShadowWindowInDialogUnits) {
    LONG units = GetDialogBaseUnits();
    int bw = LOWORD(units), bh = HIWORD(units);
    Surface s(12 * bw + 10, 5 * bh + 10);
    RECT dlg = {4, 8, 40, 32};  // pixels: (bw, bh) to (10 bw, 4 bh)
    ZYN_UTI_DrawDlgShadowWindow(s.dc, &dlg, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    EXPECT_EQ(s.at(bw, bh), RGB(0, 0, 0));                 // frame
    EXPECT_EQ(s.at(bw + 2, bh + 2), RGB(255, 255, 255));   // fill
    EXPECT_EQ(s.at(10 * bw + 1, 2 * bh), ZYN_UTI_GetSysColor(2));  // right shadow
    EXPECT_EQ(s.at(5 * bw, 4 * bh + 1), ZYN_UTI_GetSysColor(2));   // bottom shadow
    EXPECT_EQ(s.at(10 * bw + 1, bh), RGB(10, 20, 30));     // the shadow starts 1 pixel down
}

TEST(zynFiles, DeleteFileAndLongNamesInAList) {
    char dir[MAX_PATH];
    GetTempPathA(sizeof dir, dir);
    char path[MAX_PATH];
    snprintf(path, sizeof path, "%szyn long file name.txt", dir);
    HANDLE f = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(f, INVALID_HANDLE_VALUE);
    CloseHandle(f);
    char shortPath[MAX_PATH];
    ASSERT_GT(GetShortPathNameA(path, shortPath, sizeof shortPath), 0u);

    HWND dialog = message_window();
    HWND list = CreateWindowExA(0, "LISTBOX", "", WS_CHILD, 0, 0, 100, 100, dialog, (HMENU)(INT_PTR)7, nullptr,
                                nullptr);
    ASSERT_NE(list, nullptr);
    char cwd[MAX_PATH];
    GetCurrentDirectoryA(sizeof cwd, cwd);
    SetCurrentDirectoryA(dir);
    SendMessageA(list, LB_ADDSTRING, 0, (LPARAM) "[..]");
    SendMessageA(list, LB_ADDSTRING, 0, (LPARAM)ZYN_UTI_SkipPath(shortPath));
    SendMessageA(list, LB_ADDSTRING, 0, (LPARAM) "[-c-]");
    ZYN_UTI_TransShortLBFiles(dialog, 7);
    SetCurrentDirectoryA(cwd);
    char text[MAX_PATH];
    std::vector<std::string> items;
    for (int i = 0; i < 3; ++i) {
        SendMessageA(list, LB_GETTEXT, i, (LPARAM)text);
        items.push_back(text);
    }
    EXPECT_EQ(items[0], "[..]");
    EXPECT_NE(std::find(items.begin(), items.end(), "zyn long file name.txt"), items.end());
    EXPECT_NE(std::find(items.begin(), items.end(), "[-c-]"), items.end());
    DestroyWindow(dialog);

    EXPECT_TRUE(ZYN_UTI_DeleteFile(path));
    EXPECT_EQ(GetFileAttributesA(path), INVALID_FILE_ATTRIBUTES);
    EXPECT_FALSE(ZYN_UTI_DeleteFile(path));
}

TEST(zynWait, HourglassAndBack) {
    HCURSOR arrow = LoadCursor(nullptr, IDC_ARROW);
    SetCursor(arrow);
    ZYN_UTI_StartWait();
    EXPECT_EQ(GetCursor(), LoadCursor(nullptr, IDC_WAIT));
    ZYN_UTI_EndWait();
    EXPECT_EQ(GetCursor(), arrow);
}

}  // namespace

namespace {

// An in-memory dialog template: a child dialog with two buttons.
std::vector<WORD> dialog_template() {
    std::vector<WORD> t;
    auto dword = [&](DWORD v) {
        t.push_back(LOWORD(v));
        t.push_back(HIWORD(v));
    };
    auto align = [&] {
        if (t.size() % 2) t.push_back(0);
    };
    dword(WS_CHILD | DS_SETFONT);
    dword(0);
    t.insert(t.end(), {2, 0, 0, 200, 100});  // items, x, y, cx, cy
    t.insert(t.end(), {0, 0, 0});            // no menu, default class, no title
    t.push_back(8);
    for (const char *c = "MS Shell Dlg"; *c; ++c) t.push_back((WORD)*c);
    t.push_back(0);
    const short items[2][4] = {{10, 10, 50, 14}, {70, 40, 90, 14}};
    for (int i = 0; i < 2; ++i) {
        align();
        dword(WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON);
        dword(0);
        for (short v : items[i]) t.push_back((WORD)v);
        t.push_back((WORD)(100 + i));
        t.insert(t.end(), {0xFFFF, 0x0080, 0, 0});  // button class, no title, no data
    }
    return t;
}

INT_PTR CALLBACK plain_dialog(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

RECT child_rect(HWND dialog, HWND child) {
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT *>(&r), 2);
    return r;
}

int width_of(HWND w) {
    RECT r;
    GetWindowRect(w, &r);
    return r.right - r.left;
}

TEST(zynDialogs, FixDialogSizeRescalesWidthsToBaseSeven) {
    HWND parent = message_window();
    std::vector<WORD> t = dialog_template();
    HWND dialog = CreateDialogIndirectParamA(nullptr, reinterpret_cast<LPCDLGTEMPLATEA>(t.data()), parent,
                                             plain_dialog, 0);
    ASSERT_NE(dialog, nullptr);
    RECT probe = {0, 0, 800, 800};
    MapDialogRect(dialog, &probe);
    const int ux = probe.right * 4 / 800;
    auto scaled = [ux](int v) { return (v * 28 + 4 * ux - 1) / (4 * ux); };
    HWND first = GetWindow(dialog, GW_CHILD), second = GetWindow(first, GW_HWNDNEXT);
    RECT a = child_rect(dialog, first), b = child_rect(dialog, second);
    RECT client;
    GetClientRect(dialog, &client);
    int dialogWidth = width_of(dialog);

    ZYN_UTI_FixDialogSize(dialog);

    RECT a2 = child_rect(dialog, first), b2 = child_rect(dialog, second);
    EXPECT_EQ(a2.left, scaled(a.left));
    EXPECT_EQ(a2.right - a2.left, scaled(a.right - a.left));
    EXPECT_EQ(a2.top, a.top);
    EXPECT_EQ(a2.bottom - a2.top, a.bottom - a.top);
    EXPECT_EQ(b2.left, scaled(b.left));
    EXPECT_EQ(b2.right - b2.left, scaled(b.right - b.left));
    EXPECT_EQ(GetWindow(dialog, GW_CHILD), first);  // z-order kept
    EXPECT_EQ(GetWindow(first, GW_HWNDNEXT), second);
    EXPECT_EQ(width_of(dialog), dialogWidth + scaled(client.right) - client.right);
    DestroyWindow(parent);
}

}  // namespace
