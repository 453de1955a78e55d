// Small helpers of the plug-in's dialogs: numbers in edits, combo boxes
// from the string table, check boxes, the color swatch and chooser.
#include <stdio.h>

#include "image_win.h"

BOOL img_edit_number(HWND d, int id, DWORD max, DWORD *value) {
    char text[32] = "";
    GetDlgItemTextA(d, id, text, sizeof text);
    unsigned long long v = 0;
    if (!text[0]) return FALSE;
    for (const char *p = text; *p; p++) {
        if (*p < '0' || *p > '9') return FALSE;
        v = v * 10 + (unsigned)(*p - '0');
        if (v > max) return FALSE;
    }
    *value = (DWORD)v;
    return TRUE;
}

void img_edit_show(HWND d, int id, const char *text, int *guard) {
    HWND edit = GetDlgItem(d, id);
    char old[64] = "";
    GetWindowTextA(edit, old, sizeof old);
    if (lstrcmpA(old, text) == 0) return;
    DWORD start = 0, end = 0;
    SendMessageA(edit, EM_GETSEL, (WPARAM)&start, (LPARAM)&end);
    int saved = *guard;
    *guard = 1;
    SetWindowTextA(edit, text);
    *guard = saved;
    SendMessageA(edit, EM_SETSEL, start, end);
}

void img_edit_show_number(HWND d, int id, DWORD value, int *guard) {
    char text[16];
    snprintf(text, sizeof text, "%lu", (unsigned long)value);
    img_edit_show(d, id, text, guard);
}

void img_combo_fill(HWND d, int id, const UINT *ids, int count, int selected) {
    HWND combo = GetDlgItem(d, id);
    SendMessageA(combo, CB_RESETCONTENT, 0, 0);
    for (int i = 0; i < count; i++) {
        char text[64];
        img_text(ids[i], text, sizeof text);
        SendMessageA(combo, CB_ADDSTRING, 0, (LPARAM)text);
    }
    SendMessageA(combo, CB_SETCURSEL, (WPARAM)selected, 0);
}

void img_check(HWND d, int id, BOOL on) { CheckDlgButton(d, id, on ? BST_CHECKED : BST_UNCHECKED); }
BOOL img_checked(HWND d, int id) { return IsDlgButtonChecked(d, id) == BST_CHECKED; }
void img_show(HWND d, int id, BOOL shown) { ShowWindow(GetDlgItem(d, id), shown ? SW_SHOW : SW_HIDE); }
void img_enable(HWND d, int id, BOOL on) { EnableWindow(GetDlgItem(d, id), on); }

void img_swatch_show(HWND d, int id, const ImgColor *c) {
    SendDlgItemMessageA(d, id, SCM_SETCOLOR, RGB(c->red, c->green, c->blue), 0);
}

BOOL img_choose_color(HWND owner, HGLOBAL dib, HPALETTE palette, ImgColor *c) {
    WORD index = (WORD)c->index;
    BYTE red = c->red, green = c->green, blue = c->blue;
    if (!COL_ChooseColor(owner, dib, palette, &index, &red, &green, &blue)) return FALSE;
    *c = ImgColor{index, blue, green, red};
    return TRUE;
}

void img_dialog_caption(HWND d, UINT id) {
    char text[64];
    img_text(id, text, sizeof text);
    SetWindowTextA(d, text);
}

INT_PTR img_dialog_run(HWND owner, int id, DLGPROC proc, LPARAM param) {
    return DialogBoxParamA(g_img_module, MAKEINTRESOURCEA(id), owner, proc, param);
}
