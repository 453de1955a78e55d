// Dialog helpers: dialog units, text and frames drawn in them, font sizes,
// rescaling a dialog to the library's font, long names in file lists and
// sunken borders.
#include <stdio.h>
#include <string.h>

#include "zyn_internal.h"

namespace {

// Dialog units of the system font: 4 per base width, 8 per base height.
LONG map_x(LONG v, int baseWidth) { return (SHORT)(v * baseWidth / 4); }
LONG map_y(LONG v, int baseHeight) { return (SHORT)(v * baseHeight / 8); }

void fill(HDC dc, LONG l, LONG t, LONG r, LONG b, HBRUSH brush) {
    RECT rc = {l, t, r, b};
    FillRect(dc, &rc, brush);
}

// Horizontal rescaling to a base width of 7, rounded up.
int rescale(int v, int ux) { return (v * 28 + 4 * ux - 1) / (4 * ux); }

bool is_combo_box(HWND w) {
    char cls[16];
    return GetClassNameA(w, cls, sizeof cls) && lstrcmpiA(cls, "ComboBox") == 0;
}

}  // namespace

extern "C" void WINAPI ZYN_UTI_MapDlgRect(RECT *rect) {
    if (!rect) return;
    LONG units = GetDialogBaseUnits();
    int bw = LOWORD(units), bh = HIWORD(units);
    rect->left = map_x(rect->left, bw);
    rect->right = map_x(rect->right, bw);
    rect->top = map_y(rect->top, bh);
    rect->bottom = map_y(rect->bottom, bh);
}

extern "C" int WINAPI ZYN_UTI_DrawDlgText(HDC dc, LPCSTR text, const RECT *dlgRect, UINT format) {
    if (!dlgRect) return 0;
    RECT r = *dlgRect;
    ZYN_UTI_MapDlgRect(&r);
    return DrawTextA(dc, text, -1, &r, format);
}

extern "C" void WINAPI ZYN_UTI_DrawDlgShadowWindow(HDC dc, const RECT *dlgRect, HBRUSH brush) {
    if (!dlgRect) return;
    RECT r = *dlgRect;
    ZYN_UTI_MapDlgRect(&r);
    FillRect(dc, &r, brush);
    FrameRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    HBRUSH shadow = ZYN_UTI_GetSysBrush(2);
    fill(dc, r.right, r.top + 1, r.right + 2, r.bottom + 2, shadow);  // right edge
    fill(dc, r.left + 1, r.bottom, r.right + 2, r.bottom + 2, shadow);  // bottom edge
}

extern "C" int WINAPI ZYN_UTI_NormalizeFont(int size, int unit) {
    switch (unit) {
    case 1: return size * HIWORD(GetDialogBaseUnits()) / 8;
    case 2: {
        HDC screen = GetDC(nullptr);
        int perInch = GetDeviceCaps(screen, LOGPIXELSY);
        ReleaseDC(nullptr, screen);
        return -(size * perInch / 72);
    }
    default: return size;
    }
}

extern "C" void WINAPI ZYN_UTI_FixDialogSize(HWND dialog) {
    RECT probe = {0, 0, 800, 800};
    if (!dialog || !MapDialogRect(dialog, &probe)) return;
    int ux = probe.right * 4 / 800;
    if (ux <= 0) return;
    // Direct children in z-order; SWP_NOZORDER keeps that order.
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        RECT r;
        GetWindowRect(child, &r);
        if (is_combo_box(child)) SendMessageA(child, CB_GETDROPPEDCONTROLRECT, 0, (LPARAM)&r);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT *>(&r), 2);
        SetWindowPos(child, nullptr, rescale(r.left, ux), r.top, rescale(r.right - r.left, ux), r.bottom - r.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    RECT client, window;
    GetClientRect(dialog, &client);
    GetWindowRect(dialog, &window);
    int grow = rescale(client.right, ux) - client.right;
    SetWindowPos(dialog, nullptr, 0, 0, window.right - window.left + grow, window.bottom - window.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

extern "C" void WINAPI ZYN_UTI_TransShortLBFiles(HWND dialog, int listBoxId) {
    HWND list = GetDlgItem(dialog, listBoxId);
    if (!list) return;
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    int count = (int)SendMessageA(list, LB_GETCOUNT, 0, 0);
    for (int i = 0; i < count; ++i) {
        char name[MAX_PATH + 2];
        LRESULT len = SendMessageA(list, LB_GETTEXTLEN, i, 0);
        if (len <= 0 || len >= (LRESULT)sizeof name) continue;
        SendMessageA(list, LB_GETTEXT, i, (LPARAM)name);
        char *plain = name;
        bool directory = name[0] == '[' && name[len - 1] == ']';
        if (directory) {
            name[len - 1] = '\0';
            ++plain;
        }
        if (strcmp(plain, ".") == 0 || strcmp(plain, "..") == 0) continue;
        WIN32_FIND_DATAA found;
        HANDLE h = FindFirstFileA(plain, &found);
        if (h == INVALID_HANDLE_VALUE) continue;  // drives and vanished files stay as listed
        FindClose(h);
        char entry[MAX_PATH + 3];
        snprintf(entry, sizeof entry, directory ? "[%s]" : "%s", found.cFileName);
        SendMessageA(list, LB_DELETESTRING, i, 0);
        SendMessageA(list, LB_INSERTSTRING, i, (LPARAM)entry);
    }
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
}

extern "C" void WINAPI ZYN_UTI_DrawSunkBorder(HDC dc, HWND dialog, int controlId) {
    HWND control = GetDlgItem(dialog, controlId);
    if (!control) return;
    RECT r;
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT *>(&r), 2);
    HBRUSH shadow = ZYN_UTI_GetSysBrush(2), highlight = ZYN_UTI_GetSysBrush(0);
    HBRUSH black = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    // Top and left: shadow outside, black inside.
    fill(dc, r.left - 2, r.top - 2, r.right + 2, r.top - 1, shadow);
    fill(dc, r.left - 2, r.top - 2, r.left - 1, r.bottom + 2, shadow);
    fill(dc, r.left - 1, r.top - 1, r.right + 1, r.top, black);
    fill(dc, r.left - 1, r.top - 1, r.left, r.bottom + 1, black);
    // Bottom and right: highlight on both lines.
    fill(dc, r.left - 1, r.bottom, r.right + 1, r.bottom + 1, highlight);
    fill(dc, r.left - 2, r.bottom + 1, r.right + 2, r.bottom + 2, highlight);
    fill(dc, r.right, r.top - 1, r.right + 1, r.bottom + 1, highlight);
    fill(dc, r.right + 1, r.top - 2, r.right + 2, r.bottom + 2, highlight);
}
