// Dialog 8301 "Crop": the margins (top and bottom as displayed) typed or
// dragged in the preview, the size they leave (typing a size splits the
// cut between the two sides), and the preview fitted or at real size.
#include <stdint.h>

#include "crop_win.h"
#include "image_dialogs.h"
#include "image_strings.h"
#include "plugins/hostapi/hostapi.h"
#include "zynlib.h"

namespace {

const int kMarginEdit[CROP_SIDES] = {IDC_IMG_TOP, IDC_IMG_BOTTOM, IDC_IMG_LEFT, IDC_IMG_RIGHT};
const int kOpposite[CROP_SIDES] = {CROP_BOTTOM, CROP_TOP, CROP_RIGHT, CROP_LEFT};

bool vertical(int side) { return side == CROP_TOP || side == CROP_BOTTOM; }

DWORD left_over(DWORD size, DWORD a, DWORD b) { return (uint64_t)a + b >= size ? 0 : size - a - b; }

void show_sizes(HWND d, Cropping *c) {
    DWORD *m = c->margin;
    img_edit_show_number(d, IDC_IMG_WIDTH, left_over(c->width, m[CROP_LEFT], m[CROP_RIGHT]), &c->guard);
    img_edit_show_number(d, IDC_IMG_HEIGHT, left_over(c->height, m[CROP_TOP], m[CROP_BOTTOM]), &c->guard);
}

void show_margins(HWND d, Cropping *c) {
    for (int side = 0; side < CROP_SIDES; side++) img_edit_show_number(d, kMarginEdit[side], c->margin[side], &c->guard);
}

void repaint(HWND d) { InvalidateRect(GetDlgItem(d, IDC_CRP_PREVIEW), NULL, FALSE); }

DWORD typed(HWND d, int id) {
    DWORD v = 0;
    return img_edit_number(d, id, 0xFFFFFFFFu, &v) ? v : 0;
}

void on_margin(HWND d, Cropping *c, int side) {
    DWORD size = vertical(side) ? c->height : c->width;
    DWORD v = typed(d, kMarginEdit[side]);
    DWORD kept = img_crop_clamp_margin(size, v, c->margin[kOpposite[side]]);
    c->margin[side] = kept;
    if (kept != v) img_edit_show_number(d, kMarginEdit[side], kept, &c->guard);
    show_sizes(d, c);
    repaint(d);
}

void on_size(HWND d, Cropping *c, bool height) {
    DWORD v = typed(d, height ? IDC_IMG_HEIGHT : IDC_IMG_WIDTH);
    if (height)
        img_crop_margins(c->height, v, &c->margin[CROP_TOP], &c->margin[CROP_BOTTOM]);
    else
        img_crop_margins(c->width, v, &c->margin[CROP_RIGHT], &c->margin[CROP_LEFT]);
    show_margins(d, c);
    repaint(d);
}

void place_bar(HWND d, int id, BOOL shown, DWORD size, int inside, int *pos) {
    HWND bar = GetDlgItem(d, id);
    ShowWindow(bar, shown ? SW_SHOW : SW_HIDE);
    if (!shown) {
        *pos = 0;
        return;
    }
    int range = (int)(size - (DWORD)inside);
    if (*pos > range) *pos = range;
    SetScrollRange(bar, SB_CTL, 0, range, FALSE);
    SetScrollPos(bar, SB_CTL, *pos, TRUE);
}

void show_bars(HWND d, Cropping *c) {
    int iw, ih;
    crop_inside(GetDlgItem(d, IDC_CRP_PREVIEW), &iw, &ih);
    place_bar(d, IDC_CRP_HSCROLL, !c->fit && c->width > (DWORD)iw, c->width, iw, &c->scrollX);
    place_bar(d, IDC_CRP_VSCROLL, !c->fit && c->height > (DWORD)ih, c->height, ih, &c->scrollY);
}

void on_scroll(HWND d, Cropping *c, HWND bar, WPARAM code) {
    int iw, ih;
    crop_inside(GetDlgItem(d, IDC_CRP_PREVIEW), &iw, &ih);
    bool horizontal = bar == GetDlgItem(d, IDC_CRP_HSCROLL);
    int page = (horizontal ? iw : ih) * 3 / 4;
    int pos = ZYN_UTI_ScrollEx(NULL, code, bar, TRUE, 8, page > 1 ? page : 1);
    if (pos < 0) return;
    (horizontal ? c->scrollX : c->scrollY) = pos;
    repaint(d);
}

void set_mode(HWND d, Cropping *c, BOOL fit) {
    c->fit = fit && c->preview;
    CheckRadioButton(d, IDC_CRP_FIT, IDC_CRP_REAL, c->fit ? IDC_CRP_FIT : IDC_CRP_REAL);
    show_bars(d, c);
    repaint(d);
}

// The one radio button left moves up into the hidden one's place.
void take_place_of(HWND d, int id, int hidden) {
    RECT r;
    GetWindowRect(GetDlgItem(d, hidden), &r);
    MapWindowPoints(NULL, d, (POINT *)&r, 2);
    SetWindowPos(GetDlgItem(d, id), NULL, r.left, r.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

BOOL on_init(HWND d, Cropping *c) {
    SetWindowLongPtrA(d, DWLP_USER, (LONG_PTR)c);
    img_dialog_caption(d, IDS_IMG_DLG_CROP);
    HWND preview = GetDlgItem(d, IDC_CRP_PREVIEW);
    SetWindowLongPtrA(preview, 0, (LONG_PTR)c);
    for (int id : kMarginEdit) SendDlgItemMessageA(d, id, EM_LIMITTEXT, 8, 0);
    SendDlgItemMessageA(d, IDC_IMG_WIDTH, EM_LIMITTEXT, 8, 0);
    SendDlgItemMessageA(d, IDC_IMG_HEIGHT, EM_LIMITTEXT, 8, 0);
    show_margins(d, c);
    show_sizes(d, c);
    BOOL fits = crop_image_fits(preview, c);
    if (!fits) {
        int iw, ih;
        crop_inside(preview, &iw, &ih);
        c->preview = ZYN_DIB_StretchDIB(c->dib, iw, ih);
        if (!c->preview) {
            img_say(IDS_IMG_NOMEM_CROP);
            EndDialog(d, IDCANCEL);
            return TRUE;
        }
    }
    img_show(d, IDC_CRP_FIT, !fits);
    if (fits) take_place_of(d, IDC_CRP_REAL, IDC_CRP_FIT);
    set_mode(d, c, !fits);
    HWND top = GetDlgItem(d, IDC_IMG_TOP);
    SetFocus(top);
    SendMessageA(top, EM_SETSEL, 0, -1);
    return FALSE;
}

void reset(HWND d, Cropping *c) {
    for (DWORD &m : c->margin) m = 0;
    show_margins(d, c);
    show_sizes(d, c);
    repaint(d);
}

void on_ok(HWND d, Cropping *c) {
    const DWORD *m = c->margin;
    *c->out = ImgCropParams{(LONG)m[CROP_LEFT], (LONG)m[CROP_TOP], (LONG)m[CROP_RIGHT], (LONG)m[CROP_BOTTOM]};
    EndDialog(d, IDOK);
}

void on_command(HWND d, Cropping *c, int id, int code) {
    for (int side = 0; side < CROP_SIDES; side++)
        if (id == kMarginEdit[side] && code == EN_CHANGE && !c->guard) on_margin(d, c, side);
    if ((id == IDC_IMG_WIDTH || id == IDC_IMG_HEIGHT) && code == EN_CHANGE && !c->guard)
        on_size(d, c, id == IDC_IMG_HEIGHT);
    if ((id == IDC_IMG_WIDTH || id == IDC_IMG_HEIGHT) && code == EN_KILLFOCUS) show_sizes(d, c);
    switch (id) {
        case IDC_CRP_FIT:
        case IDC_CRP_REAL:
            if (code == BN_CLICKED) set_mode(d, c, id == IDC_CRP_FIT);
            break;
        case IDC_IMG_RESET: reset(d, c); break;
        case IDOK: on_ok(d, c); break;
        case IDCANCEL: EndDialog(d, IDCANCEL); break;
    }
}

}  // namespace

Cropping *crop_of_preview(HWND preview) { return (Cropping *)GetWindowLongPtrA(preview, 0); }

void crop_margins_changed(HWND d, Cropping *c) {
    show_margins(d, c);
    show_sizes(d, c);
    repaint(d);
    UpdateWindow(GetDlgItem(d, IDC_CRP_PREVIEW));
}

IMG_EXPORT INT_PTR CALLBACK CropProc(HWND d, UINT msg, WPARAM wp, LPARAM lp) {
    Cropping *c = (Cropping *)GetWindowLongPtrA(d, DWLP_USER);
    switch (msg) {
        case WM_INITDIALOG: return on_init(d, (Cropping *)lp);
        case WM_COMMAND:
            if (c) on_command(d, c, LOWORD(wp), HIWORD(wp));
            return TRUE;
        case WM_HSCROLL:
        case WM_VSCROLL:
            if (c && lp) on_scroll(d, c, (HWND)lp, wp);
            return TRUE;
        case WM_DESTROY:
            if (c) SetWindowLongPtrA(GetDlgItem(d, IDC_CRP_PREVIEW), 0, 0);
            return FALSE;
    }
    return FALSE;
}

int img_crop_dialog(HWND owner, HWND window, HGLOBAL dib, ImgCropParams *out) {
    BITMAPINFOHEADER bi;
    if (!ZYN_DIB_Info(dib, &bi) || bi.biWidth <= 0 || bi.biHeight <= 0) return 0;
    Cropping c = {};
    c.dib = dib;
    c.palette = RQ_GetPalette(window);
    c.width = (DWORD)bi.biWidth;
    c.height = (DWORD)bi.biHeight;
    c.out = out;
    INT_PTR answer = img_dialog_run(owner, IDD_IMG_CROP, CropProc, (LPARAM)&c);
    if (c.preview) GlobalFree(c.preview);
    return answer == IDOK;
}
