// Dialog 8304 "Rotate": a quarter turn or any amount from -360 to 360,
// the quality (a quarter turn suggests High) and the background color.
// The choice is kept for the run; Cancel keeps the last one.
#include <stdio.h>
#include <stdlib.h>

#include "image_strings.h"
#include "image_win.h"
#include "plugins/hostapi/hostapi.h"
#include "zynlib.h"

namespace {

struct Rotating {
    HGLOBAL dib;
    HPALETTE palette;
    ImgRotateState work;
    int guard;
};

const UINT kQualities[] = {IDS_IMG_QUALITY_LOW, IDS_IMG_QUALITY_HIGH};
const int kTurns[] = {90, 180, 270};

// The amount as typed; FALSE for a text that is no whole number.
BOOL amount_of(HWND d, long *value) {
    char text[32] = "", *end = NULL;
    GetDlgItemTextA(d, IDC_ROT_AMOUNT, text, sizeof text);
    long v = strtol(text, &end, 10);
    if (!text[0] || *end || end == text) return FALSE;
    *value = v;
    return TRUE;
}

void check_radio_for(HWND d, long v) {
    int id = IDC_ROT_CUSTOM;
    for (int k = 0; k < 3; k++)
        if (v == kTurns[k]) id = IDC_ROT_90 + k;
    CheckRadioButton(d, IDC_ROT_CUSTOM, IDC_ROT_270, id);
}

void show_quality(HWND d, int quality) { SendDlgItemMessageA(d, IDC_IMG_QUALITY, CB_SETCURSEL, (WPARAM)quality, 0); }

void say_range(void) {
    char text[128], caption[64];
    img_text(IDS_IMG_ANGLE_RANGE, text, sizeof text);
    img_text(IDS_IMG_ANGLE_CAPTION, caption, sizeof caption);
    ZYN_ERR_Error(text, caption, NULL, MB_OK | MB_TASKMODAL | MB_ICONEXCLAMATION);
}

void on_amount(HWND d, Rotating *r) {
    long v;
    if (r->guard) return;
    if (!amount_of(d, &v)) {
        check_radio_for(d, 0);
        return;
    }
    if (v < -360 || v > 360) {
        say_range();
        img_edit_show(d, IDC_ROT_AMOUNT, v < 0 ? "-360" : "360", &r->guard);
        v = v < 0 ? -360 : 360;
    }
    check_radio_for(d, v);
}

void on_turn(HWND d, Rotating *r, int id) {
    if (id == IDC_ROT_CUSTOM) return;
    img_edit_show_number(d, IDC_ROT_AMOUNT, (DWORD)kTurns[id - IDC_ROT_90], &r->guard);
    show_quality(d, IMG_QUALITY_HIGH);
}

BOOL on_init(HWND d, Rotating *r) {
    SetWindowLongPtrA(d, DWLP_USER, (LONG_PTR)r);
    img_dialog_caption(d, IDS_IMG_DLG_ROTATE);
    img_combo_fill(d, IDC_IMG_QUALITY, kQualities, 2, r->work.quality ? 1 : 0);
    char text[16];
    snprintf(text, sizeof text, "%d", r->work.angle);
    img_edit_show(d, IDC_ROT_AMOUNT, text, &r->guard);
    SendDlgItemMessageA(d, IDC_ROT_AMOUNT, EM_LIMITTEXT, 8, 0);
    check_radio_for(d, r->work.angle);
    for (int turn : kTurns)
        if (r->work.angle == turn) show_quality(d, IMG_QUALITY_HIGH);
    img_color_from_table(r->dib, &r->work.background);
    img_swatch_show(d, IDC_ROT_SWATCH, &r->work.background);
    HWND edit = GetDlgItem(d, IDC_ROT_AMOUNT);
    SetFocus(edit);
    SendMessageA(edit, EM_SETSEL, 0, -1);
    return FALSE;
}

void on_ok(HWND d, Rotating *r) {
    long v;
    if (!amount_of(d, &v) || v < -360 || v > 360) {
        say_range();
        SetFocus(GetDlgItem(d, IDC_ROT_AMOUNT));
        return;
    }
    r->work.angle = (int)(v % 360);
    r->work.quality = (int)SendDlgItemMessageA(d, IDC_IMG_QUALITY, CB_GETCURSEL, 0, 0) == 1;
    g_img.rotate = r->work;
    EndDialog(d, IDOK);
}

}  // namespace

IMG_EXPORT INT_PTR CALLBACK RotateProc(HWND d, UINT msg, WPARAM wp, LPARAM lp) {
    Rotating *r = (Rotating *)GetWindowLongPtrA(d, DWLP_USER);
    if (msg == WM_INITDIALOG) return on_init(d, (Rotating *)lp);
    if (msg != WM_COMMAND || !r) return FALSE;
    int id = LOWORD(wp), code = HIWORD(wp);
    switch (id) {
        case IDC_ROT_AMOUNT:
            if (code == EN_CHANGE) on_amount(d, r);
            break;
        case IDC_ROT_CUSTOM:
        case IDC_ROT_90:
        case IDC_ROT_180:
        case IDC_ROT_270:
            if (code == BN_CLICKED) on_turn(d, r, id);
            break;
        case IDC_ROT_COLOR:
            if (img_choose_color(d, r->dib, r->palette, &r->work.background))
                img_swatch_show(d, IDC_ROT_SWATCH, &r->work.background);
            break;
        case IDOK: on_ok(d, r); break;
        case IDCANCEL: EndDialog(d, IDCANCEL); break;
        default: return FALSE;
    }
    return TRUE;
}

int img_rotate_dialog(HWND owner, HWND window, HGLOBAL dib) {
    Rotating r = {};
    r.dib = dib;
    r.palette = RQ_GetPalette(window);
    r.work = g_img.rotate;
    return img_dialog_run(owner, IDD_IMG_ROTATE, RotateProc, (LPARAM)&r) == IDOK;
}
