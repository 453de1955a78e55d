/* The "Icon Types/Sizes" dialog (309): a list of images or types, the mask
   check box, OK and Cancel.  OK (or a double click on a line) answers the
   selected line and the check box; Cancel answers -1. */
#include "codecs/ico/ico_dialog_win.h"

#include "codecs/ico/ico_dialog_res.h"
#include "core/lc_instance.h"
#include "lumacast_strings.h"

namespace {

struct IcoDialogState {
    const IcoListEntry *lines;
    int count;
    int selected;
    UINT maskTextId;
    int maskEnabled;
    int *useMask;
};

void fill_list(HWND dialog, const IcoDialogState *s) {
    HWND list = GetDlgItem(dialog, IDC_ICO_LIST);
    for (int i = 0; i < s->count; i++) SendMessageA(list, LB_ADDSTRING, 0, (LPARAM)s->lines[i].text);
    SendMessageA(list, LB_SETCURSEL, (WPARAM)s->selected, 0);
}

void set_mask_box(HWND dialog, const IcoDialogState *s) {
    char text[96];
    if (LoadStringA(lc_instance(), s->maskTextId, text, (int)sizeof text) > 0)
        SetDlgItemTextA(dialog, IDC_ICO_MASK, text);
    int checked = s->maskEnabled && *s->useMask;
    CheckDlgButton(dialog, IDC_ICO_MASK, checked ? BST_CHECKED : BST_UNCHECKED);
    EnableWindow(GetDlgItem(dialog, IDC_ICO_MASK), s->maskEnabled);
}

void set_title(HWND dialog) {
    char text[64];
    if (LoadStringA(lc_instance(), IDS_ICO_TYPES_TITLE, text, (int)sizeof text) > 0) SetWindowTextA(dialog, text);
}

void answer(HWND dialog, const IcoDialogState *s) {
    LRESULT line = SendDlgItemMessageA(dialog, IDC_ICO_LIST, LB_GETCURSEL, 0, 0);
    if (line == LB_ERR) return; /* nothing chosen yet: OK does nothing */
    *s->useMask = s->maskEnabled && IsDlgButtonChecked(dialog, IDC_ICO_MASK) == BST_CHECKED;
    EndDialog(dialog, (INT_PTR)line);
}

INT_PTR CALLBACK ico_dialog_proc(HWND dialog, UINT msg, WPARAM wp, LPARAM lp) {
    IcoDialogState *s = (IcoDialogState *)GetWindowLongPtrA(dialog, DWLP_USER);
    switch (msg) {
    case WM_INITDIALOG:
        s = (IcoDialogState *)lp;
        SetWindowLongPtrA(dialog, DWLP_USER, (LONG_PTR)s);
        set_title(dialog);
        fill_list(dialog, s);
        set_mask_box(dialog, s);
        return TRUE;
    case WM_COMMAND:
        if (!s) return FALSE;
        if (LOWORD(wp) == IDOK || (LOWORD(wp) == IDC_ICO_LIST && HIWORD(wp) == LBN_DBLCLK)) {
            answer(dialog, s);
            return TRUE;
        }
        if (LOWORD(wp) == IDCANCEL) {
            EndDialog(dialog, -1);
            return TRUE;
        }
        return FALSE;
    }
    return FALSE;
}

/* The window the dialog belongs to: the active window of this thread. */
HWND dialog_owner(void) { return GetActiveWindow(); }

int run_dialog(IcoDialogState *s) {
    INT_PTR r = DialogBoxParamA(lc_instance(), MAKEINTRESOURCEA(IDD_ICO_TYPES), dialog_owner(), ico_dialog_proc,
                                (LPARAM)s);
    return r >= 0 && r < s->count ? (int)r : -1; /* -1 also when the dialog could not be shown */
}

} // namespace

extern "C" int ico_dialog_choose_image(const IcoListEntry *lines, int count, int *useMask) {
    if (count <= 0) return -1;
    IcoDialogState s = {lines, count, 0, IDS_ICO_LOAD_MASK, 1, useMask};
    return run_dialog(&s);
}

extern "C" int ico_dialog_choose_type(const IcoListEntry *types, int count, int selected, int maskEnabled,
                                      int *useMask) {
    if (count <= 0) return -1;
    if (selected < 0 || selected >= count) selected = 0;
    IcoDialogState s = {types, count, selected, IDS_ICO_SAVE_MASK, maskEnabled != 0, useMask};
    return run_dialog(&s);
}

extern "C" void ico_dialog_install(void) {
    ico_set_chooser(ico_dialog_choose_image);
    ico_set_save_chooser(ico_dialog_choose_type);
}
