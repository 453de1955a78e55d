// The two color controls: "ColorCtrl", a palette image's color table as a
// grid filled column by column (the current entry ringed in red), and
// "StatColorCtrl", a plain swatch whose one window word is its color.
#include <stdlib.h>
#include <string.h>

#include "image_win.h"

namespace {

struct Grid {
    RGBQUAD table[256];
    int count; // entries shown
    int side;  // 4 (16 entries) or 16 (256 entries)
    int index;
    HPALETTE palette;
};

Grid *grid_of(HWND w) { return (Grid *)GetWindowLongPtrA(w, 0); }

int inset_of(const Grid *g) { return g->side == 4 ? 6 : 3; }

RECT cell_rect(HWND w, const Grid *g, int i) {
    RECT c;
    GetClientRect(w, &c);
    int cw = c.right / g->side, ch = c.bottom / g->side;
    int col = i / g->side, row = i % g->side;
    RECT r = {col * cw, row * ch, col * cw + cw, row * ch + ch};
    return r;
}

void fill(HDC dc, const RECT &r, COLORREF color) {
    HBRUSH b = CreateSolidBrush(color);
    FillRect(dc, &r, b);
    DeleteObject(b);
}

void paint_grid(HWND w, HDC dc, const Grid *g) {
    RECT all;
    GetClientRect(w, &all);
    FillRect(dc, &all, GetSysColorBrush(COLOR_BTNFACE));
    HPALETTE old = g->palette ? SelectPalette(dc, g->palette, FALSE) : NULL;
    if (g->palette) RealizePalette(dc);
    for (int i = 0; i < g->count; i++) {
        RECT r = cell_rect(w, g, i);
        FrameRect(dc, &r, (HBRUSH)GetStockObject(BLACK_BRUSH));
        InflateRect(&r, -1, -1);
        if (i == g->index) fill(dc, r, RGB(255, 0, 0));
        int inset = inset_of(g) - 1;
        InflateRect(&r, -inset, -inset);
        const RGBQUAD &q = g->table[i];
        fill(dc, r, PALETTERGB(q.rgbRed, q.rgbGreen, q.rgbBlue));
    }
    if (GetFocus() == w && g->index >= 0 && g->index < g->count) {
        RECT r = cell_rect(w, g, g->index);
        DrawFocusRect(dc, &r);
    }
    if (old) SelectPalette(dc, old, FALSE);
}

void select_entry(HWND w, Grid *g, int i) {
    if (i < 0 || i >= g->count || i == g->index) return;
    g->index = i;
    InvalidateRect(w, NULL, FALSE);
}

int entry_at(HWND w, const Grid *g, int x, int y) {
    RECT c;
    GetClientRect(w, &c);
    int cw = c.right / g->side, ch = c.bottom / g->side;
    if (cw <= 0 || ch <= 0 || x < 0 || y < 0) return -1;
    int col = x / cw, row = y / ch;
    if (col >= g->side || row >= g->side) return -1;
    return col * g->side + row;
}

void notify_chosen(HWND w) {
    SendMessageA(GetParent(w), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(w), CCN_CHOSEN), (LPARAM)w);
}

// Up and down move within a column, left and right by a column.
void on_key(HWND w, Grid *g, WPARAM key) {
    int i = g->index, n = g->side;
    switch (key) {
        case VK_UP: i -= 1; break;
        case VK_DOWN: i += 1; break;
        case VK_LEFT: i -= n; break;
        case VK_RIGHT: i += n; break;
        case VK_HOME: i = 0; break;
        case VK_END: i = g->count - 1; break;
        default: return;
    }
    select_entry(w, g, i);
}

}  // namespace

IMG_EXPORT LRESULT CALLBACK COL_ColorCtrlProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    Grid *g = grid_of(w);
    switch (msg) {
        case WM_NCCREATE: {
            Grid *fresh = (Grid *)calloc(1, sizeof(Grid));
            if (!fresh) return FALSE;
            fresh->side = 16;
            SetWindowLongPtrA(w, 0, (LONG_PTR)fresh);
            break;
        }
        case WM_NCDESTROY:
            free(g);
            SetWindowLongPtrA(w, 0, 0);
            break;
        case CCM_SETTABLE:
            if (!g) return 0;
            g->count = wp > 256 ? 256 : (int)wp;
            memcpy(g->table, (const RGBQUAD *)lp, (size_t)g->count * sizeof(RGBQUAD));
            g->side = g->count <= 16 ? 4 : 16;
            InvalidateRect(w, NULL, TRUE);
            return 1;
        case CCM_SETINDEX:
            if (g && (int)wp < g->count) g->index = (int)wp, InvalidateRect(w, NULL, FALSE);
            return 0;
        case CCM_GETINDEX: return g ? g->index : 0;
        case CCM_SETPALETTE:
            if (g) g->palette = (HPALETTE)wp;
            return 0;
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(w, &ps);
            if (g) paint_grid(w, dc, g);
            EndPaint(w, &ps);
            return 0;
        }
        case WM_ERASEBKGND: return 1;
        case WM_LBUTTONDOWN:
            SetFocus(w);
            if (g) select_entry(w, g, entry_at(w, g, (SHORT)LOWORD(lp), (SHORT)HIWORD(lp)));
            return 0;
        case WM_LBUTTONDBLCLK:
            if (g && entry_at(w, g, (SHORT)LOWORD(lp), (SHORT)HIWORD(lp)) == g->index) notify_chosen(w);
            return 0;
        case WM_KEYDOWN:
            if (g) on_key(w, g, wp);
            return 0;
        case WM_GETDLGCODE: return DLGC_WANTARROWS;
        case WM_SETFOCUS:
        case WM_KILLFOCUS: InvalidateRect(w, NULL, FALSE); return 0;
    }
    return DefWindowProcA(w, msg, wp, lp);
}

IMG_EXPORT LRESULT CALLBACK STA_StatColorCtrlProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case SCM_SETCOLOR:
            SetWindowLongPtrA(w, 0, (LONG_PTR)(wp & 0xFFFFFF));
            InvalidateRect(w, NULL, TRUE);
            return 0;
        case SCM_GETCOLOR: return GetWindowLongPtrA(w, 0);
        case WM_ERASEBKGND: return 1;
        case WM_ENABLE: InvalidateRect(w, NULL, TRUE); return 0;
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(w, &ps);
            RECT r;
            GetClientRect(w, &r);
            DrawEdge(dc, &r, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
            if (IsWindowEnabled(w))
                fill(dc, r, (COLORREF)GetWindowLongPtrA(w, 0));
            else
                FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
            EndPaint(w, &ps);
            return 0;
        }
    }
    return DefWindowProcA(w, msg, wp, lp);
}
