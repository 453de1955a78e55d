// Dialog 8302 "Tile Image": the counts start at 1 on every opening; OK
// takes digits only, 1 to the largest side a result may have; "Mirror
// Tiles" is the setting "Mirror".
#include "image_dialogs.h"
#include "image_strings.h"
#include "image_win.h"

namespace {

BOOL count_of(HWND d, int id, DWORD *count) {
    char text[32] = "";
    GetDlgItemTextA(d, id, text, sizeof text);
    return img_tile_count_parse(text, count);
}

void refuse(HWND d, int id, UINT message) {
    img_say(message);
    HWND edit = GetDlgItem(d, id);
    SetFocus(edit);
    SendMessageA(edit, EM_SETSEL, 0, -1);
}

void on_ok(HWND d, ImgTileParams *t) {
    DWORD across, down;
    if (!count_of(d, IDC_IMG_WIDTH, &across)) return refuse(d, IDC_IMG_WIDTH, IDS_IMG_TILE_BAD_WIDTH);
    if (!count_of(d, IDC_IMG_HEIGHT, &down)) return refuse(d, IDC_IMG_HEIGHT, IDS_IMG_TILE_BAD_HEIGHT);
    t->across = across;
    t->down = down;
    g_img.settings.tileMirror = img_checked(d, IDC_TIL_MIRROR);
    t->mirror = g_img.settings.tileMirror;
    EndDialog(d, IDOK);
}

}  // namespace

IMG_EXPORT INT_PTR CALLBACK TIL_TileProc(HWND d, UINT msg, WPARAM wp, LPARAM lp) {
    ImgTileParams *t = (ImgTileParams *)GetWindowLongPtrA(d, DWLP_USER);
    switch (msg) {
        case WM_INITDIALOG:
            SetWindowLongPtrA(d, DWLP_USER, lp);
            img_dialog_caption(d, IDS_IMG_DLG_TILE);
            SetDlgItemInt(d, IDC_IMG_WIDTH, 1, FALSE);
            SetDlgItemInt(d, IDC_IMG_HEIGHT, 1, FALSE);
            SendDlgItemMessageA(d, IDC_IMG_WIDTH, EM_LIMITTEXT, 5, 0);
            SendDlgItemMessageA(d, IDC_IMG_HEIGHT, EM_LIMITTEXT, 5, 0);
            img_check(d, IDC_TIL_MIRROR, g_img.settings.tileMirror);
            SetFocus(GetDlgItem(d, IDC_IMG_WIDTH));
            SendDlgItemMessageA(d, IDC_IMG_WIDTH, EM_SETSEL, 0, -1);
            return FALSE;
        case WM_COMMAND:
            if (!t) return FALSE;
            if (LOWORD(wp) == IDOK) on_ok(d, t);
            else if (LOWORD(wp) == IDCANCEL) EndDialog(d, IDCANCEL);
            else return FALSE;
            return TRUE;
    }
    return FALSE;
}

int img_tile_dialog(HWND owner, ImgTileParams *out) {
    out->across = out->down = 1;
    return img_dialog_run(owner, IDD_IMG_TILE, TIL_TileProc, (LPARAM)out) == IDOK;
}
