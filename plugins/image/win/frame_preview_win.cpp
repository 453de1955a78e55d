// The Frame/Caption dialog's preview: a static control whose painting we
// take over to draw the final image to scale: the canvas in the fill
// color, the outline, the image at its margins and the caption in its
// place and color.
#include <stdint.h>

#include "frame_win.h"
#include "zynlib.h"

namespace {

const char kState[] = "ImgFramePreview";

COLORREF rgb_of(const ImgColor &c) { return RGB(c.red, c.green, c.blue); }

void fill(HDC dc, const RECT &r, COLORREF color) {
    HBRUSH b = CreateSolidBrush(color);
    FillRect(dc, &r, b);
    DeleteObject(b);
}

void draw_image(HDC dc, const Framing *f, const RECT &r) {
    BITMAPINFOHEADER *bi;
    RGBQUAD *table;
    BYTE *bits;
    if (r.right <= r.left || r.bottom <= r.top || !ZYN_DIB_LockPtrs(f->dib, &bi, &table, &bits)) return;
    int mode = SetStretchBltMode(dc, COLORONCOLOR);
    StretchDIBits(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, 0, 0, bi->biWidth, bi->biHeight, bits,
                  (BITMAPINFO *)bi, DIB_RGB_COLORS, SRCCOPY);
    SetStretchBltMode(dc, mode);
    GlobalUnlock(f->dib);
}

void draw_caption(HDC dc, const Framing *f, const RECT &canvas, double scale) {
    if (!f->caption[0]) return;
    LOGFONTA lf = f->font;
    lf.lfHeight = (LONG)(lf.lfHeight * scale);
    if (lf.lfHeight == 0) lf.lfHeight = f->font.lfHeight < 0 ? -1 : 1;
    HFONT font = CreateFontIndirectA(&lf);
    HGDIOBJ old = SelectObject(dc, font);
    UINT format = DT_SINGLELINE | DT_NOPREFIX;
    format |= f->alignment & IMG_ALIGN_HCENTER ? DT_CENTER : f->alignment & IMG_ALIGN_RIGHT ? DT_RIGHT : DT_LEFT;
    format |= f->alignment & IMG_ALIGN_VCENTER ? DT_VCENTER : f->alignment & IMG_ALIGN_BOTTOM ? DT_BOTTOM : DT_TOP;
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, rgb_of(f->color[FRAME_TEXT]));
    RECT r = canvas;
    DrawTextA(dc, f->caption, -1, &r, format);
    SelectObject(dc, old);
    DeleteObject(font);
}

void paint(HWND w, HDC dc, const Framing *f) {
    RECT client;
    GetClientRect(w, &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
    FrameRect(dc, &client, (HBRUSH)GetStockObject(BLACK_BRUSH));
    uint64_t fw = (uint64_t)f->width + f->margin[FRAME_LEFT] + f->margin[FRAME_RIGHT];
    uint64_t fh = (uint64_t)f->height + f->margin[FRAME_TOP] + f->margin[FRAME_BOTTOM];
    int room_w = client.right - 8, room_h = client.bottom - 8;
    if (room_w <= 0 || room_h <= 0) return;
    double scale = (double)room_w / fw < (double)room_h / fh ? (double)room_w / fw : (double)room_h / fh;
    int cw = (int)(fw * scale + 0.5), ch = (int)(fh * scale + 0.5);
    RECT canvas = {(client.right - cw) / 2, (client.bottom - ch) / 2, 0, 0};
    canvas.right = canvas.left + (cw > 0 ? cw : 1);
    canvas.bottom = canvas.top + (ch > 0 ? ch : 1);
    fill(dc, canvas, rgb_of(f->color[FRAME_FILL]));
    bool margins = f->margin[0] || f->margin[1] || f->margin[2] || f->margin[3];
    if (f->style == IMG_FRAME_OUTLINE && margins) {
        HBRUSH b = CreateSolidBrush(rgb_of(f->color[FRAME_OUTLINE]));
        FrameRect(dc, &canvas, b);
        DeleteObject(b);
    }
    RECT image = {canvas.left + (int)(f->margin[FRAME_LEFT] * scale), canvas.top + (int)(f->margin[FRAME_TOP] * scale),
                  0, 0};
    image.right = image.left + (int)(f->width * scale + 0.5);
    image.bottom = image.top + (int)(f->height * scale + 0.5);
    draw_image(dc, f, image);
    draw_caption(dc, f, canvas, scale);
}

LRESULT CALLBACK preview_proc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    Framing *f = (Framing *)GetPropA(w, kState);
    if (!f) return DefWindowProcA(w, msg, wp, lp);
    if (msg == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(w, &ps);
        paint(w, dc, f);
        EndPaint(w, &ps);
        return 0;
    }
    if (msg == WM_ERASEBKGND) return 1;
    return CallWindowProcA(f->previewProc, w, msg, wp, lp);
}

}  // namespace

IMG_EXPORT LRESULT CALLBACK FRM_StaticHookProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    return preview_proc(w, msg, wp, lp);
}

void frame_preview_attach(HWND preview, Framing *f) {
    SetPropA(preview, kState, f);
    f->previewProc = (WNDPROC)SetWindowLongPtrA(preview, GWLP_WNDPROC, (LONG_PTR)FRM_StaticHookProc);
}

void frame_preview_detach(HWND preview) {
    Framing *f = (Framing *)GetPropA(preview, kState);
    if (!f) return;
    SetWindowLongPtrA(preview, GWLP_WNDPROC, (LONG_PTR)f->previewProc);
    RemovePropA(preview, kState);
}
