// Dialog 8306 "Frame/Caption": margins typed one by one or as the final
// size (split in two, the upper half to the right and bottom), the
// style, the fill, outline and text colors, and the caption with its
// font, place and switches (alpha and color for 32-bit images only).
// Margins are kept to 32767 so that the record's 16-bit sums hold them.
#include <stdint.h>
#include <string.h>

#include "frame_win.h"
#include "image_dialogs.h"
#include "image_strings.h"
#include "plugins/hostapi/hostapi.h"
#include "zynlib.h"

namespace {

const int kMarginEdit[FRAME_SIDES] = {IDC_IMG_TOP, IDC_IMG_BOTTOM, IDC_IMG_LEFT, IDC_IMG_RIGHT};
const UINT kStyles[] = {IDS_IMG_STYLE_FILLED, IDS_IMG_STYLE_OUTLINE};
const UINT kColors[] = {IDS_IMG_FILL_COLOR, IDS_IMG_OUTLINE_COLOR, IDS_IMG_TEXT_COLOR};

ImgColor color_of(const ImgFrameColor &c) { return ImgColor{c.index, c.blue, c.green, c.red}; }
ImgFrameColor frame_color_of(const ImgColor &c) { return ImgFrameColor{(WORD)c.index, c.blue, c.green, c.red}; }

void repaint(HWND d) { InvalidateRect(GetDlgItem(d, IDC_FRM_PREVIEW), NULL, FALSE); }

void show_sizes(HWND d, Framing *f) {
    const DWORD *m = f->margin;
    img_edit_show_number(d, IDC_IMG_WIDTH, f->width + m[FRAME_LEFT] + m[FRAME_RIGHT], &f->guard);
    img_edit_show_number(d, IDC_IMG_HEIGHT, f->height + m[FRAME_TOP] + m[FRAME_BOTTOM], &f->guard);
}

void show_margins(HWND d, Framing *f) {
    for (int side = 0; side < FRAME_SIDES; side++) img_edit_show_number(d, kMarginEdit[side], f->margin[side], &f->guard);
}

void show_color(HWND d, Framing *f) { img_swatch_show(d, IDC_FRM_SWATCH, &f->color[f->chosen]); }

// A number typed, cut back to high (and the edit with it).
DWORD typed(HWND d, Framing *f, int id, DWORD high) {
    DWORD v = 0;
    if (!img_edit_number(d, id, 0xFFFFFFFFu, &v)) {
        char text[32] = "";
        GetDlgItemTextA(d, id, text, sizeof text);
        v = text[0] ? high : 0; // only digits reach here: too many of them
    }
    if (v > high) {
        v = high;
        img_edit_show_number(d, id, v, &f->guard);
    }
    return v;
}

void on_margin(HWND d, Framing *f, int side) {
    f->margin[side] = typed(d, f, kMarginEdit[side], IMG_FRAME_MAX_MARGIN);
    show_sizes(d, f);
    repaint(d);
}

void on_size(HWND d, Framing *f, bool height) {
    DWORD old = height ? f->height : f->width;
    DWORD v = typed(d, f, height ? IDC_IMG_HEIGHT : IDC_IMG_WIDTH, old + 2 * IMG_FRAME_MAX_MARGIN);
    if (height)
        img_frame_margins(old, v, &f->margin[FRAME_TOP], &f->margin[FRAME_BOTTOM]);
    else
        img_frame_margins(old, v, &f->margin[FRAME_LEFT], &f->margin[FRAME_RIGHT]);
    show_margins(d, f);
    repaint(d);
}

void read_record(Framing *f) {
    const ImgFrameRecord &r = g_img.frameRecord;
    f->margin[FRAME_TOP] = r.top;
    f->margin[FRAME_BOTTOM] = r.bottom;
    f->margin[FRAME_LEFT] = r.left;
    f->margin[FRAME_RIGHT] = r.right;
    f->color[FRAME_FILL] = color_of(r.fill);
    f->color[FRAME_OUTLINE] = color_of(r.outline);
    f->color[FRAME_TEXT] = color_of(r.text);
    for (ImgColor &c : f->color) img_color_from_table(f->dib, &c);
    f->style = r.style;
    f->chosen = r.chosenColor < FRAME_COLORS ? r.chosenColor : 0;
    f->alignment = r.alignment;
    f->font = r.font;
    lstrcpynA(f->caption, r.caption ? r.caption : "", sizeof f->caption);
}

void write_record(const Framing *f) {
    ImgFrameRecord &r = g_img.frameRecord;
    r.top = (WORD)f->margin[FRAME_TOP];
    r.bottom = (WORD)f->margin[FRAME_BOTTOM];
    r.left = (WORD)f->margin[FRAME_LEFT];
    r.right = (WORD)f->margin[FRAME_RIGHT];
    r.extraWidth = (WORD)(r.left + r.right);
    r.extraHeight = (WORD)(r.top + r.bottom);
    r.fill = frame_color_of(f->color[FRAME_FILL]);
    r.outline = frame_color_of(f->color[FRAME_OUTLINE]);
    r.text = frame_color_of(f->color[FRAME_TEXT]);
    r.style = (WORD)f->style;
    r.chosenColor = (WORD)f->chosen;
    r.alignment = f->alignment;
    r.font = f->font;
    lstrcpynA(g_img.caption, f->caption, sizeof g_img.caption);
    r.caption = g_img.caption;
    g_img.settings.frameStyle = r.style;
    g_img.settings.chooseColor = r.chosenColor;
    g_img.settings.alignment = r.alignment;
}

BOOL on_init(HWND d, Framing *f) {
    SetWindowLongPtrA(d, DWLP_USER, (LONG_PTR)f);
    img_dialog_caption(d, IDS_IMG_DLG_FRAME);
    read_record(f);
    img_combo_fill(d, IDC_FRM_STYLE, kStyles, 2, f->style);
    img_combo_fill(d, IDC_FRM_COLORS, kColors, 3, f->chosen);
    for (int id : kMarginEdit) SendDlgItemMessageA(d, id, EM_LIMITTEXT, 5, 0);
    SendDlgItemMessageA(d, IDC_IMG_WIDTH, EM_LIMITTEXT, 9, 0);
    SendDlgItemMessageA(d, IDC_IMG_HEIGHT, EM_LIMITTEXT, 9, 0);
    show_margins(d, f);
    show_sizes(d, f);
    show_color(d, f);
    SendDlgItemMessageA(d, IDC_FRM_CAPTION, EM_LIMITTEXT, IMG_CAPTION_MAX, 0);
    SetDlgItemTextA(d, IDC_FRM_CAPTION, f->caption);
    const ImgCaptionFlags &flags = g_img.captionFlags;
    BOOL deep = f->bitCount == 32;
    img_check(d, IDC_IMG_INVERT, flags.invert);
    img_check(d, IDC_IMG_ALPHA, deep && flags.alpha);
    img_check(d, IDC_IMG_COLOR_CHANNELS, !deep || flags.color);
    img_enable(d, IDC_IMG_ALPHA, deep);
    img_enable(d, IDC_IMG_COLOR_CHANNELS, deep);
    frame_preview_attach(GetDlgItem(d, IDC_FRM_PREVIEW), f);
    SetFocus(GetDlgItem(d, IDC_FRM_STYLE));
    return FALSE;
}

// The order of the checks decides which message comes first.
void on_ok(HWND d, Framing *f) {
    char caption[IMG_CAPTION_MAX + 2] = "";
    int length = GetWindowTextLengthA(GetDlgItem(d, IDC_FRM_CAPTION));
    if (length > IMG_CAPTION_MAX) {
        img_say(IDS_IMG_CAPTION_TOO_LONG);
        SetFocus(GetDlgItem(d, IDC_FRM_CAPTION));
        return;
    }
    DWORD w = 0, h = 0;
    if (!img_edit_number(d, IDC_IMG_WIDTH, 0xFFFFFFFFu, &w) || w < f->width) {
        img_say(IDS_IMG_FRAME_WIDTH_SMALL);
        SetFocus(GetDlgItem(d, IDC_IMG_WIDTH));
        return;
    }
    if (!img_edit_number(d, IDC_IMG_HEIGHT, 0xFFFFFFFFu, &h) || h < f->height) {
        img_say(IDS_IMG_FRAME_HEIGHT_SMALL);
        SetFocus(GetDlgItem(d, IDC_IMG_HEIGHT));
        return;
    }
    GetDlgItemTextA(d, IDC_FRM_CAPTION, caption, sizeof caption);
    lstrcpynA(f->caption, caption, sizeof f->caption);
    write_record(f);
    BOOL deep = f->bitCount == 32;
    g_img.captionFlags.invert = img_checked(d, IDC_IMG_INVERT);
    if (deep) {
        g_img.captionFlags.alpha = img_checked(d, IDC_IMG_ALPHA);
        g_img.captionFlags.color = img_checked(d, IDC_IMG_COLOR_CHANNELS);
    }
    EndDialog(d, IDOK);
}

void reset(HWND d, Framing *f) {
    for (DWORD &m : f->margin) m = 0;
    show_margins(d, f);
    show_sizes(d, f);
    repaint(d);
}

void on_command(HWND d, Framing *f, int id, int code) {
    for (int side = 0; side < FRAME_SIDES; side++)
        if (id == kMarginEdit[side] && code == EN_CHANGE && !f->guard) on_margin(d, f, side);
    if ((id == IDC_IMG_WIDTH || id == IDC_IMG_HEIGHT) && code == EN_CHANGE && !f->guard)
        on_size(d, f, id == IDC_IMG_HEIGHT);
    switch (id) {
        case IDC_FRM_STYLE:
            if (code == CBN_SELCHANGE) f->style = (int)SendDlgItemMessageA(d, id, CB_GETCURSEL, 0, 0) == 1, repaint(d);
            break;
        case IDC_FRM_COLORS:
            if (code == CBN_SELCHANGE) {
                int sel = (int)SendDlgItemMessageA(d, id, CB_GETCURSEL, 0, 0);
                f->chosen = sel >= 0 && sel < FRAME_COLORS ? sel : 0;
                show_color(d, f);
            }
            break;
        case IDC_FRM_COLOR:
            if (img_choose_color(d, f->dib, f->palette, &f->color[f->chosen])) show_color(d, f), repaint(d);
            break;
        case IDC_FRM_CAPTION:
            if (code == EN_CHANGE) GetDlgItemTextA(d, id, f->caption, sizeof f->caption), repaint(d);
            break;
        case IDC_FRM_FONT:
            if (FRA_ChooseFont(d, &f->font)) repaint(d);
            break;
        case IDC_FRM_ALIGN:
            if (FRA_ChooseAlign(d, &f->alignment)) repaint(d);
            break;
        case IDC_IMG_RESET: reset(d, f); break;
        case IDOK: on_ok(d, f); break;
        case IDCANCEL: EndDialog(d, IDCANCEL); break;
    }
}

}  // namespace

IMG_EXPORT INT_PTR CALLBACK FrameProc(HWND d, UINT msg, WPARAM wp, LPARAM lp) {
    Framing *f = (Framing *)GetWindowLongPtrA(d, DWLP_USER);
    switch (msg) {
        case WM_INITDIALOG: return on_init(d, (Framing *)lp);
        case WM_COMMAND:
            if (f) on_command(d, f, LOWORD(wp), HIWORD(wp));
            return TRUE;
        case WM_DESTROY: frame_preview_detach(GetDlgItem(d, IDC_FRM_PREVIEW)); return FALSE;
    }
    return FALSE;
}

int img_frame_dialog(HWND owner, HWND window, HGLOBAL dib) {
    BITMAPINFOHEADER bi;
    if (!ZYN_DIB_Info(dib, &bi) || bi.biWidth <= 0 || bi.biHeight <= 0) return 0;
    Framing f = {};
    f.dib = dib;
    f.palette = RQ_GetPalette(window);
    f.width = (DWORD)bi.biWidth;
    f.height = (DWORD)bi.biHeight;
    f.bitCount = bi.biBitCount;
    return img_dialog_run(owner, IDD_IMG_FRAME, FrameProc, (LPARAM)&f) == IDOK;
}
