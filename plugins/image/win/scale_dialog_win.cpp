// Dialog 8307 "Scale Image": the new size in pixels, percent, inches or
// centimeters at the screen's, the printer's or a custom resolution.  The
// other side follows with "Maintain Aspect"; the field being typed in is
// rewritten in its units when it loses the focus, so the caret stays put.
#include <stdio.h>
#include <stdlib.h>

#include "image_dialogs.h"
#include "image_strings.h"
#include "image_win.h"
#include "zynlib.h"

namespace {

struct Scaling {
    DWORD oldSize[2], newSize[2];
    int units, measure, keep;
    int custom[2], screen[2];
    int guard;
    ImgScaleParams *out;
};

const int kEdit[2] = {IDC_IMG_WIDTH, IDC_IMG_HEIGHT};
const int kUnitLabel[2] = {IDC_SCL_WIDTH_UNIT, IDC_SCL_HEIGHT_UNIT};
const int kCustomEdit[2] = {IDC_SCL_CUSTOM_X, IDC_SCL_CUSTOM_Y};
const UINT kUnits[] = {IDS_IMG_UNIT_PIXELS, IDS_IMG_UNIT_PERCENTAGE, IDS_IMG_UNIT_INCHES, IDS_IMG_UNIT_CENTIMETERS};
const UINT kUnitLabels[] = {IDS_IMG_UNIT_PIXELS, IDS_IMG_LABEL_PERCENT, IDS_IMG_LABEL_INCHES,
                            IDS_IMG_LABEL_CENTIMETERS};
const UINT kMeasures[] = {IDS_IMG_MEASURE_SCREEN, IDS_IMG_MEASURE_PRINTER, IDS_IMG_MEASURE_CUSTOM};
const UINT kQualities[] = {IDS_IMG_QUALITY_LOW, IDS_IMG_QUALITY_HIGH};

int resolution(const Scaling *s, int axis) {
    if (s->measure == IMG_MEASURE_PRINTER) return IMG_PRINTER_DPI;
    return s->measure == IMG_MEASURE_CUSTOM ? s->custom[axis] : s->screen[axis];
}

void show_side(HWND d, Scaling *s, int axis) {
    char text[32];
    img_scale_format(s->newSize[axis], s->oldSize[axis], s->units, resolution(s, axis), text, sizeof text);
    img_edit_show(d, kEdit[axis], text, &s->guard);
}

void refresh(HWND d, Scaling *s) {
    char label[16];
    img_text(kUnitLabels[s->units], label, sizeof label);
    for (int axis = 0; axis < 2; axis++) {
        show_side(d, s, axis);
        SetDlgItemTextA(d, kUnitLabel[axis], label);
    }
}

// "Screen (96, 96)": the measure combo's items with their resolutions.
void fill_measures(HWND d, const Scaling *s) {
    HWND combo = GetDlgItem(d, IDC_SCL_MEASURE);
    SendMessageA(combo, CB_RESETCONTENT, 0, 0);
    char format[32], name[32], item[64];
    img_text(IDS_IMG_MEASURE_FORMAT, format, sizeof format);
    const int pairs[3][2] = {{s->screen[0], s->screen[1]},
                             {IMG_PRINTER_DPI, IMG_PRINTER_DPI},
                             {s->custom[0], s->custom[1]}};
    for (int i = 0; i < 3; i++) {
        img_text(kMeasures[i], name, sizeof name);
        snprintf(item, sizeof item, format, name, pairs[i][0], pairs[i][1]);
        SendMessageA(combo, CB_ADDSTRING, 0, (LPARAM)item);
    }
}

void show_measure(HWND d, Scaling *s) {
    BOOL custom = s->measure == IMG_MEASURE_CUSTOM;
    if (!custom) fill_measures(d, s);
    SendDlgItemMessageA(d, IDC_SCL_MEASURE, CB_SETCURSEL, (WPARAM)s->measure, 0);
    SendDlgItemMessageA(d, IDC_SCL_MEASURE_PLAIN, CB_SETCURSEL, (WPARAM)s->measure, 0);
    const int customOnly[] = {IDC_SCL_MEASURE_PLAIN, IDC_SCL_CUSTOM_X_LABEL, IDC_SCL_CUSTOM_X, IDC_SCL_CUSTOM_Y_LABEL,
                              IDC_SCL_CUSTOM_Y};
    for (int id : customOnly) img_show(d, id, custom);
    img_show(d, IDC_SCL_MEASURE, !custom);
}

// The size a side's text gives in the current units; 0 for nothing usable.
DWORD typed_size(HWND d, const Scaling *s, int axis) {
    char text[32] = "";
    GetDlgItemTextA(d, kEdit[axis], text, sizeof text);
    if (s->units == IMG_UNITS_PIXELS || s->units == IMG_UNITS_PERCENT) {
        char *end = NULL;
        unsigned long v = strtoul(text, &end, 10);
        if (end == text || text[0] == '-') return 0;
        if (v > IMG_MAX_SIDE) v = IMG_MAX_SIDE + 1UL; // refused when applied
        return s->units == IMG_UNITS_PIXELS ? (DWORD)v : img_scale_from_percent(s->oldSize[axis], (DWORD)v);
    }
    return img_scale_from_length(atof(text), s->units, resolution(s, axis), axis == 0);
}

void on_side_typed(HWND d, Scaling *s, int axis) {
    if (s->guard) return;
    s->newSize[axis] = typed_size(d, s, axis);
    if (!s->keep) return;
    int other = 1 - axis;
    s->newSize[other] = img_scale_follow_aspect(s->newSize[axis], s->oldSize[axis], s->oldSize[other]);
    show_side(d, s, other);
}

void on_custom_typed(HWND d, Scaling *s, int axis) {
    if (s->guard) return;
    DWORD v = 0;
    s->custom[axis] = img_edit_number(d, kCustomEdit[axis], IMG_MAX_DPI, &v) ? (int)v : 0;
    if (s->custom[0] && s->custom[1]) refresh(d, s);
}

void on_custom_left(HWND d, Scaling *s, int axis) {
    if (s->custom[axis]) return;
    MessageBeep(0);
    s->custom[axis] = 1;
    img_edit_show_number(d, kCustomEdit[axis], 1, &s->guard);
    if (s->custom[0] && s->custom[1]) refresh(d, s);
}

void on_measure(HWND d, Scaling *s, int combo) {
    int sel = (int)SendDlgItemMessageA(d, combo, CB_GETCURSEL, 0, 0);
    if (sel < 0 || sel == s->measure) return;
    s->measure = sel;
    show_measure(d, s);
    refresh(d, s);
    if (sel == IMG_MEASURE_CUSTOM) SetFocus(GetDlgItem(d, IDC_SCL_MEASURE_PLAIN));
}

void reset(HWND d, Scaling *s) {
    s->newSize[0] = s->oldSize[0];
    s->newSize[1] = s->oldSize[1];
    s->units = IMG_UNITS_PIXELS;
    s->measure = IMG_MEASURE_SCREEN;
    SendDlgItemMessageA(d, IDC_SCL_UNITS, CB_SETCURSEL, 0, 0);
    show_measure(d, s);
    refresh(d, s);
}

BOOL on_init(HWND d, Scaling *s) {
    SetWindowLongPtrA(d, DWLP_USER, (LONG_PTR)s);
    img_dialog_caption(d, IDS_IMG_DLG_SCALE);
    HDC screen = GetDC(NULL);
    s->screen[0] = GetDeviceCaps(screen, LOGPIXELSX);
    s->screen[1] = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(NULL, screen);
    img_combo_fill(d, IDC_SCL_UNITS, kUnits, 4, s->units);
    img_combo_fill(d, IDC_SCL_MEASURE_PLAIN, kMeasures, 3, s->measure);
    img_combo_fill(d, IDC_IMG_QUALITY, kQualities, 2, s->out->quality == IMG_QUALITY_HIGH);
    img_check(d, IDC_SCL_ASPECT, s->keep);
    for (int axis = 0; axis < 2; axis++) {
        SendDlgItemMessageA(d, kEdit[axis], EM_LIMITTEXT, 12, 0);
        SendDlgItemMessageA(d, kCustomEdit[axis], EM_LIMITTEXT, 5, 0);
        img_edit_show_number(d, kCustomEdit[axis], (DWORD)s->custom[axis], &s->guard);
    }
    show_measure(d, s);
    refresh(d, s);
    HWND width = GetDlgItem(d, IDC_IMG_WIDTH);
    SetFocus(width);
    SendMessageA(width, EM_SETSEL, 0, -1);
    return FALSE;
}

void on_ok(HWND d, Scaling *s) {
    if (s->newSize[0] == 0 || s->newSize[1] == 0) {
        img_say(IDS_IMG_ZERO_SIZE);
        SetFocus(GetDlgItem(d, s->newSize[0] == 0 ? IDC_IMG_WIDTH : IDC_IMG_HEIGHT));
        return;
    }
    ImgSettings &set = g_img.settings;
    set.keepAspect = s->keep;
    set.scaleMeasure = (WORD)s->measure;
    set.scaleUnits = (WORD)s->units;
    set.scaleQuality = SendDlgItemMessageA(d, IDC_IMG_QUALITY, CB_GETCURSEL, 0, 0) == 1;
    set.customResX = s->custom[0];
    set.customResY = s->custom[1];
    s->out->quality = set.scaleQuality;
    s->out->width = (LONG)s->newSize[0];
    s->out->height = (LONG)s->newSize[1];
    EndDialog(d, IDOK);
}

void on_command(HWND d, Scaling *s, int id, int code) {
    for (int axis = 0; axis < 2; axis++) {
        if (id == kEdit[axis] && code == EN_CHANGE) on_side_typed(d, s, axis);
        if (id == kEdit[axis] && code == EN_KILLFOCUS) show_side(d, s, axis);
        if (id == kCustomEdit[axis] && code == EN_CHANGE) on_custom_typed(d, s, axis);
        if (id == kCustomEdit[axis] && code == EN_KILLFOCUS) on_custom_left(d, s, axis);
    }
    switch (id) {
        case IDC_SCL_ASPECT:
            if (code != BN_CLICKED) break;
            s->keep = img_checked(d, IDC_SCL_ASPECT);
            s->newSize[0] = s->oldSize[0];
            s->newSize[1] = s->oldSize[1];
            refresh(d, s);
            break;
        case IDC_SCL_UNITS:
            if (code == CBN_SELCHANGE) {
                s->units = (int)SendDlgItemMessageA(d, IDC_SCL_UNITS, CB_GETCURSEL, 0, 0);
                refresh(d, s);
            }
            break;
        case IDC_SCL_MEASURE:
        case IDC_SCL_MEASURE_PLAIN:
            if (code == CBN_SELCHANGE) on_measure(d, s, id);
            break;
        case IDC_IMG_RESET: reset(d, s); break;
        case IDOK: on_ok(d, s); break;
        case IDCANCEL: EndDialog(d, IDCANCEL); break;
    }
}

}  // namespace

IMG_EXPORT INT_PTR CALLBACK ScaleProc(HWND d, UINT msg, WPARAM wp, LPARAM lp) {
    Scaling *s = (Scaling *)GetWindowLongPtrA(d, DWLP_USER);
    if (msg == WM_INITDIALOG) return on_init(d, (Scaling *)lp);
    if (msg != WM_COMMAND || !s) return FALSE;
    on_command(d, s, LOWORD(wp), HIWORD(wp));
    return TRUE;
}

int img_scale_dialog(HWND owner, HGLOBAL dib, ImgScaleParams *out) {
    BITMAPINFOHEADER bi;
    if (!ZYN_DIB_Info(dib, &bi) || bi.biWidth <= 0 || bi.biHeight <= 0) return 0;
    const ImgSettings &set = g_img.settings;
    Scaling s = {};
    s.oldSize[0] = s.newSize[0] = (DWORD)bi.biWidth;
    s.oldSize[1] = s.newSize[1] = (DWORD)bi.biHeight;
    s.units = set.scaleUnits;
    s.measure = set.scaleMeasure;
    s.keep = set.keepAspect;
    s.custom[0] = set.customResX;
    s.custom[1] = set.customResY;
    s.out = out;
    out->quality = set.scaleQuality;
    return img_dialog_run(owner, IDD_IMG_SCALE, ScaleProc, (LPARAM)&s) == IDOK;
}
