// "CropClass": the Crop dialog's preview.  It shows the image (stretched
// to fit, or at real size scrolled by the dialog's bars) with the crop box
// over it, and lets the box's sides, corners or the whole box be dragged.
#include <stdint.h>

#include "crop_win.h"
#include "image_strings.h"
#include "plugins/hostapi/hostapi.h"

namespace {

int to_view(const Cropping *c, DWORD at, DWORD size, int inside, int scroll) {
    if (c->fit) return 1 + (int)((uint64_t)at * (uint64_t)inside / size);
    return 1 + (int)at - scroll;
}

DWORD to_image(const Cropping *c, int view, DWORD size, int inside, int scroll) {
    int64_t v = c->fit ? ((int64_t)view - 1) * (int64_t)size / (inside > 0 ? inside : 1) : (int64_t)view - 1 + scroll;
    return v < 0 ? 0 : v > (int64_t)size ? size : (DWORD)v;
}

RECT box_of(HWND w, const Cropping *c) {
    int iw, ih;
    crop_inside(w, &iw, &ih);
    RECT r;
    r.left = to_view(c, c->margin[CROP_LEFT], c->width, iw, c->scrollX);
    r.right = to_view(c, c->width - c->margin[CROP_RIGHT], c->width, iw, c->scrollX);
    r.top = to_view(c, c->margin[CROP_TOP], c->height, ih, c->scrollY);
    r.bottom = to_view(c, c->height - c->margin[CROP_BOTTOM], c->height, ih, c->scrollY);
    return r;
}

int near_line(int at, int line) { return at >= line - CROP_GRAB && at <= line + CROP_GRAB; }

int hit_test(HWND w, const Cropping *c, POINT p) {
    RECT b = box_of(w, c);
    int hit = 0;
    bool alongV = p.y >= b.top - CROP_GRAB && p.y <= b.bottom + CROP_GRAB;
    bool alongH = p.x >= b.left - CROP_GRAB && p.x <= b.right + CROP_GRAB;
    if (alongV && near_line(p.x, b.left)) hit |= CROP_HIT_LEFT;
    if (alongV && near_line(p.x, b.right) && (!hit || p.x > (b.left + b.right) / 2)) hit = CROP_HIT_RIGHT;
    int vertical = 0;
    if (alongH && near_line(p.y, b.top)) vertical = CROP_HIT_TOP;
    if (alongH && near_line(p.y, b.bottom) && (!vertical || p.y > (b.top + b.bottom) / 2)) vertical = CROP_HIT_BOTTOM;
    hit |= vertical;
    if (!hit && PtInRect(&b, p)) hit = CROP_HIT_BOX;
    return hit;
}

bool any_margin(const Cropping *c) {
    for (DWORD m : c->margin)
        if (m) return true;
    return false;
}

HCURSOR cursor_for(const Cropping *c, int hit) {
    bool h = (hit & (CROP_HIT_LEFT | CROP_HIT_RIGHT)) != 0, v = (hit & (CROP_HIT_TOP | CROP_HIT_BOTTOM)) != 0;
    if (h && v) return LoadCursorA(NULL, (LPCSTR)IDC_SIZEALL);
    if (h) return LoadCursorA(NULL, (LPCSTR)IDC_SIZEWE);
    if (v) return LoadCursorA(NULL, (LPCSTR)IDC_SIZENS);
    if (hit == CROP_HIT_BOX && any_margin(c)) return LoadCursorA(g_img_module, MAKEINTRESOURCEA(IDC_IMG_MOVE));
    return LoadCursorA(NULL, (LPCSTR)IDC_ARROW);
}

void paint_image(HDC dc, const Cropping *c, int iw, int ih) {
    int saved = SaveDC(dc);
    IntersectClipRect(dc, 1, 1, 1 + iw, 1 + ih);
    if (c->fit)
        SetViewportOrgEx(dc, 1, 1, NULL);
    else
        SetViewportOrgEx(dc, 1 - c->scrollX, 1 - c->scrollY, NULL);
    RQ_PaintDib(dc, c->fit ? c->preview : c->dib, c->palette);
    RestoreDC(dc, saved);
}

// What the cut takes away of the image is hatched over.
void dim_outside(HDC dc, HWND w, const Cropping *c, const RECT &b) {
    int iw, ih;
    crop_inside(w, &iw, &ih);
    RECT r = {to_view(c, 0, c->width, iw, c->scrollX), to_view(c, 0, c->height, ih, c->scrollY),
              to_view(c, c->width, c->width, iw, c->scrollX), to_view(c, c->height, c->height, ih, c->scrollY)};
    const RECT parts[] = {{r.left, r.top, r.right, b.top},
                          {r.left, b.bottom + 1, r.right, r.bottom},
                          {r.left, b.top, b.left, b.bottom + 1},
                          {b.right + 1, b.top, r.right, b.bottom + 1}};
    HBRUSH hatch = CreateHatchBrush(HS_BDIAGONAL, RGB(0, 0, 0));
    int mode = SetBkMode(dc, TRANSPARENT);
    for (const RECT &p : parts)
        if (p.right > p.left && p.bottom > p.top) FillRect(dc, &p, hatch);
    SetBkMode(dc, mode);
    DeleteObject(hatch);
}

// The box inverted over the image, with a handle at each corner.
void paint_box(HDC dc, HWND w, const Cropping *c) {
    RECT b = box_of(w, c);
    dim_outside(dc, w, c, b);
    int saved = SaveDC(dc);
    SetROP2(dc, R2_NOT);
    SelectObject(dc, GetStockObject(NULL_BRUSH));
    SelectObject(dc, GetStockObject(BLACK_PEN));
    Rectangle(dc, b.left, b.top, b.right + 1, b.bottom + 1);
    const POINT corners[] = {{b.left, b.top}, {b.right, b.top}, {b.left, b.bottom}, {b.right, b.bottom}};
    for (const POINT &p : corners) PatBlt(dc, p.x - 2, p.y - 2, 5, 5, DSTINVERT);
    RestoreDC(dc, saved);
}

void paint(HWND w, HDC target) {
    const Cropping *c = crop_of_preview(w);
    RECT r;
    GetClientRect(w, &r);
    HDC dc = CreateCompatibleDC(target);
    HBITMAP bitmap = CreateCompatibleBitmap(target, r.right, r.bottom);
    HGDIOBJ old = SelectObject(dc, bitmap);
    FillRect(dc, &r, GetSysColorBrush(COLOR_APPWORKSPACE));
    if (c) {
        int iw, ih;
        crop_inside(w, &iw, &ih);
        paint_image(dc, c, iw, ih);
        paint_box(dc, w, c);
    }
    FrameRect(dc, &r, (HBRUSH)GetStockObject(BLACK_BRUSH));
    BitBlt(target, 0, 0, r.right, r.bottom, dc, 0, 0, SRCCOPY);
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
}

DWORD limited(int64_t v, DWORD high) { return v < 0 ? 0 : v > (int64_t)high ? high : (DWORD)v; }

// The most a margin may take beside the opposite one.
DWORD room(DWORD size, DWORD opposite) { return size > opposite ? size - opposite - 1 : 0; }

// A side follows the pointer, leaving the box at least one pixel.
void drag_to(HWND w, Cropping *c, POINT p) {
    int iw, ih;
    crop_inside(w, &iw, &ih);
    DWORD x = to_image(c, p.x, c->width, iw, c->scrollX), y = to_image(c, p.y, c->height, ih, c->scrollY);
    DWORD *m = c->margin;
    if (c->drag == CROP_HIT_BOX) {
        int64_t dx = (int64_t)x - to_image(c, c->dragFrom.x, c->width, iw, c->scrollX);
        int64_t dy = (int64_t)y - to_image(c, c->dragFrom.y, c->height, ih, c->scrollY);
        const DWORD *s = c->dragStart;
        m[CROP_LEFT] = limited(s[CROP_LEFT] + dx, s[CROP_LEFT] + s[CROP_RIGHT]);
        m[CROP_RIGHT] = s[CROP_LEFT] + s[CROP_RIGHT] - m[CROP_LEFT];
        m[CROP_TOP] = limited(s[CROP_TOP] + dy, s[CROP_TOP] + s[CROP_BOTTOM]);
        m[CROP_BOTTOM] = s[CROP_TOP] + s[CROP_BOTTOM] - m[CROP_TOP];
    } else {
        if (c->drag & CROP_HIT_LEFT) m[CROP_LEFT] = limited(x, room(c->width, m[CROP_RIGHT]));
        if (c->drag & CROP_HIT_RIGHT) m[CROP_RIGHT] = limited((int64_t)c->width - x, room(c->width, m[CROP_LEFT]));
        if (c->drag & CROP_HIT_TOP) m[CROP_TOP] = limited(y, room(c->height, m[CROP_BOTTOM]));
        if (c->drag & CROP_HIT_BOTTOM) m[CROP_BOTTOM] = limited((int64_t)c->height - y, room(c->height, m[CROP_TOP]));
    }
    crop_margins_changed(GetParent(w), c);
}

void press(HWND w, Cropping *c, POINT p) {
    int hit = hit_test(w, c, p);
    if (hit == CROP_HIT_BOX && !any_margin(c)) {
        img_say(IDS_IMG_CROP_DRAG_HINT);
        return;
    }
    if (!hit) return;
    c->drag = hit;
    c->dragFrom = p;
    for (int i = 0; i < CROP_SIDES; i++) c->dragStart[i] = c->margin[i];
    SetCapture(w);
    SetCursor(cursor_for(c, hit));
}

POINT point_of(LPARAM lp) {
    POINT p = {(SHORT)LOWORD(lp), (SHORT)HIWORD(lp)};
    return p;
}

}  // namespace

void crop_inside(HWND preview, int *width, int *height) {
    RECT r;
    GetClientRect(preview, &r);
    *width = r.right > 2 ? r.right - 2 : 0;
    *height = r.bottom > 2 ? r.bottom - 2 : 0;
}

BOOL crop_image_fits(HWND preview, const Cropping *c) {
    int iw, ih;
    crop_inside(preview, &iw, &ih);
    return c->width <= (DWORD)iw && c->height <= (DWORD)ih;
}

IMG_EXPORT LRESULT CALLBACK CRP_ClassProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    Cropping *c = crop_of_preview(w);
    switch (msg) {
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(w, &ps);
            paint(w, dc);
            EndPaint(w, &ps);
            return 0;
        }
        case WM_ERASEBKGND: return 1;
        case WM_SETCURSOR:
            if (c && LOWORD(lp) == HTCLIENT && !c->drag) {
                POINT p;
                GetCursorPos(&p);
                ScreenToClient(w, &p);
                SetCursor(cursor_for(c, hit_test(w, c, p)));
                return TRUE;
            }
            break;
        case WM_LBUTTONDOWN:
            if (c) press(w, c, point_of(lp));
            return 0;
        case WM_MOUSEMOVE:
            if (c && c->drag && GetCapture() == w) drag_to(w, c, point_of(lp));
            return 0;
        case WM_LBUTTONUP:
            if (GetCapture() == w) ReleaseCapture();
            return 0;
        case WM_CAPTURECHANGED:
            if (c) c->drag = 0;
            return 0;
    }
    return DefWindowProcA(w, msg, wp, lp);
}
