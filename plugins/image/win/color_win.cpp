// COL_ChooseColor: the color of an operation for the image's depth.  A
// 1-bit image toggles between its two entries (the entry's own color, not
// black or white by index), 4- and 8-bit images pick an entry of their
// table in dialog 8300, deeper images (or none) use the system dialog,
// whose custom colors last for the run.
#include <string.h>

#include "image_win.h"

#include <commdlg.h>
#include "zynlib.h"

namespace {

COLORREF g_custom[16];

struct TableChoice {
    RGBQUAD table[256];
    int count;
    int index;
    HPALETTE palette;
};

BOOL read_table(HGLOBAL dib, TableChoice *c) {
    BITMAPINFOHEADER *bi;
    RGBQUAD *table;
    BYTE *bits;
    if (!ZYN_DIB_LockPtrs(dib, &bi, &table, &bits)) return FALSE;
    DWORD n = ZYN_DIB_NumColors(bi);
    c->count = (int)(n > 256 ? 256 : n);
    memcpy(c->table, table, (size_t)c->count * sizeof(RGBQUAD));
    GlobalUnlock(dib);
    return c->count > 0;
}

BOOL choose_entry(HWND owner, HGLOBAL dib, HPALETTE palette, WORD *index, BYTE *red, BYTE *green, BYTE *blue) {
    TableChoice c = {};
    if (!read_table(dib, &c)) return FALSE;
    c.index = *index < c.count ? *index : 0;
    c.palette = palette;
    if (img_dialog_run(owner, IDD_IMG_COLOR, COL_ChooseColorProc, (LPARAM)&c) != IDOK) return FALSE;
    *index = (WORD)c.index;
    *red = c.table[c.index].rgbRed;
    *green = c.table[c.index].rgbGreen;
    *blue = c.table[c.index].rgbBlue;
    return TRUE;
}

BOOL choose_system(HWND owner, WORD *index, BYTE *red, BYTE *green, BYTE *blue) {
    CHOOSECOLORA cc = {};
    cc.lStructSize = sizeof cc;
    cc.hwndOwner = owner;
    cc.rgbResult = RGB(*red, *green, *blue);
    cc.lpCustColors = g_custom;
    cc.Flags = CC_RGBINIT | CC_FULLOPEN;
    if (!ChooseColorA(&cc)) return FALSE;
    *red = GetRValue(cc.rgbResult);
    *green = GetGValue(cc.rgbResult);
    *blue = GetBValue(cc.rgbResult);
    *index = 0;
    return TRUE;
}

}  // namespace

IMG_EXPORT INT_PTR CALLBACK COL_ChooseColorProc(HWND d, UINT msg, WPARAM wp, LPARAM lp) {
    TableChoice *c = (TableChoice *)GetWindowLongPtrA(d, DWLP_USER);
    switch (msg) {
        case WM_INITDIALOG: {
            c = (TableChoice *)lp;
            SetWindowLongPtrA(d, DWLP_USER, (LONG_PTR)c);
            HWND grid = GetDlgItem(d, IDC_IMG_COLOR_GRID);
            SendMessageA(grid, CCM_SETPALETTE, (WPARAM)c->palette, 0);
            SendMessageA(grid, CCM_SETTABLE, (WPARAM)c->count, (LPARAM)c->table);
            SendMessageA(grid, CCM_SETINDEX, (WPARAM)c->index, 0);
            SetFocus(grid);
            return FALSE;
        }
        case WM_COMMAND:
            if (!c) return FALSE;
            if (LOWORD(wp) == IDOK || (LOWORD(wp) == IDC_IMG_COLOR_GRID && HIWORD(wp) == CCN_CHOSEN)) {
                c->index = (int)SendDlgItemMessageA(d, IDC_IMG_COLOR_GRID, CCM_GETINDEX, 0, 0);
                EndDialog(d, IDOK);
                return TRUE;
            }
            if (LOWORD(wp) == IDCANCEL) {
                EndDialog(d, IDCANCEL);
                return TRUE;
            }
            return FALSE;
    }
    return FALSE;
}

IMG_EXPORT BOOL WINAPI COL_ChooseColor(HWND owner, HGLOBAL dib, HPALETTE palette, WORD *index, BYTE *red,
                                       BYTE *green, BYTE *blue) {
    if (!index || !red || !green || !blue) return FALSE;
    BITMAPINFOHEADER bi;
    if (!dib) return choose_system(owner, index, red, green, blue);
    if (!ZYN_DIB_Info(dib, &bi)) return FALSE;
    switch (bi.biBitCount) {
        case 1: {
            ImgColor c = {*index, *blue, *green, *red};
            if (!img_toggle_mono_color(dib, &c)) return FALSE;
            *index = (WORD)c.index;
            *red = c.red, *green = c.green, *blue = c.blue;
            return TRUE;
        }
        case 4:
        case 8: return choose_entry(owner, dib, palette, index, red, green, blue);
        case 24:
        case 32: return choose_system(owner, index, red, green, blue);
        default: return FALSE;
    }
}
