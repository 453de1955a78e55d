// Dialog 8303 "Mask Image": the shapes by name (string ids from 100 until
// one is missing), a preview of the chosen one, the mask color and the
// switches; the alpha and color switches are for 32-bit images only.
// Every choice loads its shape afresh; Cancel lets it go.
#include "image_strings.h"
#include "image_win.h"
#include "plugins/hostapi/hostapi.h"
#include "zynlib.h"

namespace {

// OK with no shape loaded (IDOK and IDCANCEL are taken).
const INT_PTR kOkWithoutShape = 100;

struct Masking {
    HGLOBAL dib;
    HPALETTE palette;
    BOOL deep; // 32 bits: alpha and color switches apply
    ImgColor color;
    ImgMaskParams *out;
};

void fill_names(HWND d) {
    HWND list = GetDlgItem(d, IDC_MSK_NAMES);
    for (UINT id = IMG_MASK_FIRST_SHAPE;; id++) {
        char name[64];
        if (LoadStringA(g_img_module, id, name, sizeof name) <= 0) break;
        LRESULT at = SendMessageA(list, LB_ADDSTRING, 0, (LPARAM)name);
        SendMessageA(list, LB_SETITEMDATA, (WPARAM)at, (LPARAM)id);
    }
}

void choose_selected(HWND d) {
    HWND list = GetDlgItem(d, IDC_MSK_NAMES);
    LRESULT at = SendMessageA(list, LB_GETCURSEL, 0, 0);
    if (at == LB_ERR)
        img_shape_release();
    else
        img_shape_choose((UINT)SendMessageA(list, LB_GETITEMDATA, (WPARAM)at, 0));
    InvalidateRect(GetDlgItem(d, IDC_MSK_PREVIEW), NULL, FALSE);
}

void draw_preview(const DRAWITEMSTRUCT *di) {
    RECT r = di->rcItem;
    FillRect(di->hDC, &r, (HBRUSH)GetStockObject(WHITE_BRUSH));
    FrameRect(di->hDC, &r, (HBRUSH)GetStockObject(BLACK_BRUSH));
    HMETAFILE mf = img_shape_metafile();
    if (mf) img_play_metafile(di->hDC, mf, r.left + 1, r.top + 1, r.right - r.left - 2, r.bottom - r.top - 2);
}

BOOL on_init(HWND d, Masking *m) {
    SetWindowLongPtrA(d, DWLP_USER, (LONG_PTR)m);
    img_dialog_caption(d, IDS_IMG_DLG_MASK);
    fill_names(d);
    const ImgSettings &s = g_img.settings;
    SendDlgItemMessageA(d, IDC_MSK_NAMES, LB_SETCURSEL, s.maskSelected, 0);
    choose_selected(d);
    img_color_from_table(m->dib, &m->color);
    img_swatch_show(d, IDC_MSK_SWATCH, &m->color);
    img_check(d, IDC_IMG_INVERT, s.maskInvert);
    img_check(d, IDC_IMG_ALPHA, m->deep ? s.alphaMask : FALSE);
    img_check(d, IDC_IMG_COLOR_CHANNELS, m->deep ? s.alphaColor : TRUE);
    img_enable(d, IDC_IMG_ALPHA, m->deep);
    img_enable(d, IDC_IMG_COLOR_CHANNELS, m->deep);
    SetFocus(GetDlgItem(d, IDC_MSK_NAMES));
    return FALSE;
}

void on_ok(HWND d, Masking *m) {
    ImgSettings &s = g_img.settings;
    LRESULT at = SendDlgItemMessageA(d, IDC_MSK_NAMES, LB_GETCURSEL, 0, 0);
    if (at != LB_ERR) s.maskSelected = (WORD)at;
    s.maskInvert = img_checked(d, IDC_IMG_INVERT);
    if (m->deep) {
        s.alphaMask = img_checked(d, IDC_IMG_ALPHA);
        s.alphaColor = img_checked(d, IDC_IMG_COLOR_CHANNELS);
    }
    g_img.maskColor = m->color;
    *m->out = ImgMaskParams{s.maskInvert, s.alphaMask, s.alphaColor, m->color};
    EndDialog(d, img_shape_metafile() ? IDOK : kOkWithoutShape);
}

}  // namespace

IMG_EXPORT INT_PTR CALLBACK MAS_MaskProc(HWND d, UINT msg, WPARAM wp, LPARAM lp) {
    Masking *m = (Masking *)GetWindowLongPtrA(d, DWLP_USER);
    switch (msg) {
        case WM_INITDIALOG: return on_init(d, (Masking *)lp);
        case WM_DRAWITEM:
            if (wp != IDC_MSK_PREVIEW) return FALSE;
            draw_preview((const DRAWITEMSTRUCT *)lp);
            return TRUE;
        case WM_COMMAND:
            if (!m) return FALSE;
            switch (LOWORD(wp)) {
                case IDC_MSK_NAMES:
                    if (HIWORD(wp) == LBN_SELCHANGE) choose_selected(d);
                    else if (HIWORD(wp) == LBN_DBLCLK) on_ok(d, m);
                    return TRUE;
                case IDC_MSK_COLOR:
                    if (img_choose_color(d, m->dib, m->palette, &m->color))
                        img_swatch_show(d, IDC_MSK_SWATCH, &m->color);
                    return TRUE;
                case IDOK: on_ok(d, m); return TRUE;
                case IDCANCEL: EndDialog(d, IDCANCEL); return TRUE;
            }
            return FALSE;
    }
    return FALSE;
}

int img_mask_dialog(HWND owner, HWND window, HGLOBAL dib, ImgMaskParams *out) {
    BITMAPINFOHEADER bi;
    if (!ZYN_DIB_Info(dib, &bi)) return 0;
    Masking m = {};
    m.dib = dib;
    m.palette = RQ_GetPalette(window);
    m.deep = bi.biBitCount == 32;
    m.color = g_img.maskColor;
    m.out = out;
    INT_PTR answer = img_dialog_run(owner, IDD_IMG_MASK, MAS_MaskProc, (LPARAM)&m);
    if (answer == IDOK) return 1;
    img_shape_release();
    return answer == kOkWithoutShape ? IMG_DIALOG_NO_SHAPE : 0;
}
