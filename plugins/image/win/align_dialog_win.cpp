// Dialog 8305: the caption's place, one radio button of each axis, and
// the font chooser of the Frame/Caption dialog.
#include "image_win.h"

#include <commdlg.h>

namespace {

struct Choice {
    int id;
    WORD bit;
};
const Choice kVertical[] = {{IDC_ALN_TOP, IMG_ALIGN_TOP}, {IDC_ALN_VCENTER, IMG_ALIGN_VCENTER},
                            {IDC_ALN_BOTTOM, IMG_ALIGN_BOTTOM}};
const Choice kHorizontal[] = {{IDC_ALN_LEFT, IMG_ALIGN_LEFT}, {IDC_ALN_HCENTER, IMG_ALIGN_HCENTER},
                              {IDC_ALN_RIGHT, IMG_ALIGN_RIGHT}};

void show(HWND d, const Choice (&axis)[3], WORD alignment) {
    int id = axis[0].id;
    for (const Choice &c : axis)
        if (alignment & c.bit) id = c.id;
    CheckRadioButton(d, axis[0].id, axis[2].id, id);
}

WORD read(HWND d, const Choice (&axis)[3]) {
    for (const Choice &c : axis)
        if (img_checked(d, c.id)) return c.bit;
    return axis[0].bit;
}

}  // namespace

IMG_EXPORT INT_PTR CALLBACK FRM_AlignProc(HWND d, UINT msg, WPARAM wp, LPARAM lp) {
    WORD *alignment = (WORD *)GetWindowLongPtrA(d, DWLP_USER);
    switch (msg) {
        case WM_INITDIALOG:
            SetWindowLongPtrA(d, DWLP_USER, lp);
            alignment = (WORD *)lp;
            show(d, kVertical, *alignment);
            show(d, kHorizontal, *alignment);
            return TRUE;
        case WM_COMMAND:
            if (!alignment) return FALSE;
            if (LOWORD(wp) == IDOK) {
                *alignment = (WORD)(read(d, kVertical) | read(d, kHorizontal));
                EndDialog(d, IDOK);
            } else if (LOWORD(wp) == IDCANCEL) {
                EndDialog(d, IDCANCEL);
            } else {
                return FALSE;
            }
            return TRUE;
    }
    return FALSE;
}

IMG_EXPORT BOOL WINAPI FRA_ChooseAlign(HWND owner, WORD *alignment) {
    if (!alignment) return FALSE;
    return img_dialog_run(owner, IDD_IMG_ALIGN, FRM_AlignProc, (LPARAM)alignment) == IDOK;
}

IMG_EXPORT BOOL WINAPI FRA_ChooseFont(HWND owner, LOGFONTA *font) {
    if (!font) return FALSE;
    CHOOSEFONTA cf = {};
    cf.lStructSize = sizeof cf;
    cf.hwndOwner = owner;
    cf.lpLogFont = font;
    cf.Flags = CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT;
    return ChooseFontA(&cf);
}
