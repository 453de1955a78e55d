// What an image window shows: its size fitted to the image, the scroll
// bars and scrolling, the palette and the paint.  Scrolling moves pixels
// already on the screen and paints only the strip that comes into view,
// from the screen bitmap when there is one.
#include "shell/imagewin/geometry.h"
#include "shell/settings/settings.h"
#include "shell_win.h"
#include "zynlib.h"

namespace {

BOOL image_size(HGLOBAL image, int *w, int *h) {
  BITMAPINFOHEADER bi;
  if (!image || !ZYN_DIB_Info(image, &bi)) return FALSE;
  *w = bi.biWidth;
  *h = bi.biHeight < 0 ? -bi.biHeight : bi.biHeight;
  return TRUE;
}

BOOL has_style(HWND w, LONG bit) { return (GetWindowLongA(w, GWL_STYLE) & bit) != 0; }

// The area image windows may take: the MDI client's, or for a minimised
// frame what it would have when restored.
void available_area(int *w, int *h) {
  RECT rc;
  GetClientRect(g_shell.client, &rc);
  *w = rc.right;
  *h = rc.bottom;
  if (!IsIconic(g_shell.frame)) return;
  WINDOWPLACEMENT wp = {};
  wp.length = sizeof wp;
  GetWindowPlacement(g_shell.frame, &wp);
  *w = wp.rcNormalPosition.right - wp.rcNormalPosition.left - 2 * GetSystemMetrics(SM_CXFRAME);
  *h = wp.rcNormalPosition.bottom - wp.rcNormalPosition.top - 2 * GetSystemMetrics(SM_CYFRAME) -
       GetSystemMetrics(SM_CYCAPTION) - GetSystemMetrics(SM_CYMENU);
}

// The client size the window would have without scroll bars.
void full_client(HWND w, int *cw, int *ch) {
  RECT rc;
  GetClientRect(w, &rc);
  *cw = rc.right + (has_style(w, WS_VSCROLL) ? GetSystemMetrics(SM_CXVSCROLL) : 0);
  *ch = rc.bottom + (has_style(w, WS_HSCROLL) ? GetSystemMetrics(SM_CYHSCROLL) : 0);
}

ScrollPlan plan_of(HWND w) {
  ScrollPlan p = {};
  int iw, ih, cw, ch;
  if (!image_size(image_of(w), &iw, &ih)) iw = ih = 0;
  full_client(w, &cw, &ch);
  scroll_plan(iw, ih, cw, ch, GetSystemMetrics(SM_CYHSCROLL), GetSystemMetrics(SM_CXVSCROLL), &p);
  return p;
}

int position_word(int bar) { return bar == SB_HORZ ? IR_SCROLL_X : IR_SCROLL_Y; }

int scroll_pos(HWND w, int bar) {
  return (int)record_get(image_record(w, IMAGE_SLOT_RECORD), position_word(bar));
}

// Moves the contents so that the image shows from position to; the
// record keeps the position.
void move_to(HWND w, int bar, int to) {
  int from = scroll_pos(w, bar);
  if (from == to) return;
  record_set(image_record(w, IMAGE_SLOT_RECORD), position_word(bar), (ULONG_PTR)to);
  int dx = bar == SB_HORZ ? from - to : 0, dy = bar == SB_VERT ? from - to : 0;
  ScrollWindowEx(w, dx, dy, NULL, NULL, NULL, NULL, SW_INVALIDATE);
}

void set_bar(HWND w, int bar, BOOL shown, int image, int visible, int pos) {
  SCROLLINFO si = {};
  si.cbSize = sizeof si;
  si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  si.nMin = 0;
  si.nMax = shown ? image - 1 : 0;
  si.nPage = shown ? (UINT)visible : 0;
  si.nPos = pos;
  SetScrollInfo(w, bar, &si, TRUE);
  ShowScrollBar(w, bar, shown);
}

BOOL g_updating_bars; // showing a bar resizes the client, which comes back here

void paint_outside_image(HDC dc, const RECT &paint, int iw, int ih) {
  HBRUSH back = GetSysColorBrush(COLOR_APPWORKSPACE);
  RECT right = {iw, paint.top, paint.right, paint.bottom};
  RECT below = {paint.left, ih, iw, paint.bottom};
  if (right.left < right.right) FillRect(dc, &right, back);
  if (below.top < below.bottom && below.left < below.right) FillRect(dc, &below, back);
}

void blit_screen_bitmap(HDC dc, HBITMAP bitmap, const RECT &paint, int iw, int ih) {
  RECT part;
  RECT all = {0, 0, iw, ih};
  if (!IntersectRect(&part, &paint, &all)) return;
  HDC mem = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(mem, bitmap);
  BitBlt(dc, part.left, part.top, part.right - part.left, part.bottom - part.top, mem, part.left, part.top,
         SRCCOPY);
  SelectObject(mem, old);
  DeleteDC(mem);
}

} // namespace

void image_fit_window(HWND w, HGLOBAL image) {
  if (!w || IsZoomed(w) || IsIconic(w)) return;
  FitInput in = {};
  if (!image_size(image, &in.imageW, &in.imageH)) return;
  available_area(&in.availW, &in.availH);
  RECT wr, cr;
  GetWindowRect(w, &wr);
  MapWindowPoints(NULL, g_shell.client, (POINT *)&wr, 2);
  GetClientRect(w, &cr);
  in.winX = wr.left;
  in.winY = wr.top;
  in.winW = wr.right - wr.left;
  in.winH = wr.bottom - wr.top;
  in.clientW = cr.right;
  in.clientH = cr.bottom;
  in.hBarShown = has_style(w, WS_HSCROLL);
  in.vBarShown = has_style(w, WS_VSCROLL);
  in.hBarH = GetSystemMetrics(SM_CYHSCROLL);
  in.vBarW = GetSystemMetrics(SM_CXVSCROLL);
  int nw, nh;
  fit_window_size(&in, &nw, &nh);
  SetWindowPos(w, NULL, 0, 0, nw, nh, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  image_update_scroll_bars(w);
}

void image_update_scroll_bars(HWND w) {
  if (g_updating_bars || !image_record(w, IMAGE_SLOT_RECORD)) return;
  g_updating_bars = TRUE;
  ScrollPlan p = plan_of(w);
  int iw = 0, ih = 0;
  image_size(image_of(w), &iw, &ih);
  int x = scroll_pos(w, SB_HORZ), y = scroll_pos(w, SB_VERT);
  move_to(w, SB_HORZ, x < p.hMax ? (x < 0 ? 0 : x) : p.hMax);
  move_to(w, SB_VERT, y < p.vMax ? (y < 0 ? 0 : y) : p.vMax);
  set_bar(w, SB_HORZ, p.hShown, iw, p.visW, scroll_pos(w, SB_HORZ));
  set_bar(w, SB_VERT, p.vShown, ih, p.visH, scroll_pos(w, SB_VERT));
  g_updating_bars = FALSE;
}

void image_scroll(HWND w, int bar, int code) {
  ScrollPlan p = plan_of(w);
  SCROLLINFO si = {};
  si.cbSize = sizeof si;
  si.fMask = SIF_TRACKPOS; // the whole position, also past 65535
  GetScrollInfo(w, bar, &si);
  BOOL horz = bar == SB_HORZ;
  int to = scroll_position(code, scroll_pos(w, bar), si.nTrackPos, horz ? p.visW : p.visH, horz ? p.hMax : p.vMax);
  if (to == scroll_pos(w, bar)) return;
  move_to(w, bar, to);
  SetScrollPos(w, bar, to, TRUE);
  UpdateWindow(w);
}

BOOL image_scroll_key(HWND w, UINT vk) {
  ScrollPlan p = plan_of(w);
  int bar, code;
  if (!scroll_key(vk, GetKeyState(VK_SHIFT) < 0, p.hShown, p.vShown, &bar, &code)) return FALSE;
  image_scroll(w, bar == SCROLL_BAR_H ? SB_HORZ : SB_VERT, code);
  return TRUE;
}

BOOL image_realize_foreground(HWND w) {
  ImageRecord *r = image_record(w, IMAGE_SLOT_RECORD);
  HPALETTE palette = (HPALETTE)record_get(r, IR_PALETTE);
  if (!record_get(r, IR_IMAGE) || !palette) return FALSE;
  HDC dc = GetDC(w);
  HPALETTE old = SelectPalette(dc, palette, FALSE);
  UINT changed = RealizePalette(dc);
  SelectPalette(dc, old, FALSE);
  ReleaseDC(w, dc);
  if (!changed) return FALSE;
  record_set(r, IR_REPAINT_COUNT, 0);
  InvalidateRect(w, NULL, TRUE);
  return TRUE;
}

void image_realize_background(HWND w) {
  ImageRecord *r = image_record(w, IMAGE_SLOT_RECORD);
  HPALETTE palette = (HPALETTE)record_get(r, IR_PALETTE);
  if (!record_get(r, IR_IMAGE) || !palette) return;
  HDC dc = GetDC(w);
  HPALETTE old = SelectPalette(dc, palette, TRUE);
  UINT changed = RealizePalette(dc);
  SelectPalette(dc, old, TRUE);
  ReleaseDC(w, dc);
  if (changed) InvalidateRect(w, NULL, TRUE);
}

// LC_EXIT_AFTER_PAINT=1: the program closes after the first image it
// painted, for the whole-process timing of opening a file.
void exit_after_first_paint(void) {
  static int asked = -1;
  if (asked < 0) {
    char v[8] = "";
    asked = GetEnvironmentVariableA("LC_EXIT_AFTER_PAINT", v, sizeof v) > 0 && v[0] == '1';
  }
  if (asked == 1 && g_shell.frame) {
    asked = 0;
    PostMessageA(g_shell.frame, WM_CLOSE, 0, 0);
  }
}

void image_paint(HWND w) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(w, &ps);
  ImageRecord *r = image_record(w, IMAGE_SLOT_RECORD);
  HGLOBAL image = (HGLOBAL)record_get(r, IR_IMAGE);
  int iw = 0, ih = 0;
  if (r && record_get(r, IR_REPAINT_COUNT) >= 2) {
    record_set(r, IR_REPAINT_COUNT, 0);
    EndPaint(w, &ps);
    InvalidateRect(w, NULL, TRUE);
    return;
  }
  if (!image_size(image, &iw, &ih)) {
    FillRect(dc, &ps.rcPaint, GetSysColorBrush(COLOR_APPWORKSPACE));
    EndPaint(w, &ps);
    return;
  }
  int sx = scroll_pos(w, SB_HORZ), sy = scroll_pos(w, SB_VERT);
  SetWindowOrgEx(dc, sx, sy, NULL);
  RECT paint = ps.rcPaint;
  OffsetRect(&paint, sx, sy);
  HPALETTE palette = (HPALETTE)record_get(r, IR_PALETTE), old = NULL;
  if (palette) {
    old = SelectPalette(dc, palette, g_shell.active != w);
    RealizePalette(dc);
  }
  HBITMAP bitmap = (HBITMAP)record_get(r, IR_SCREEN_BITMAP);
  if (bitmap) {
    blit_screen_bitmap(dc, bitmap, paint, iw, ih);
  } else {
    ZYN_DIB_FastPalDibBlt(dc, image, 0, settings_read(SET_COLOR_MATCH), settings_read(SET_ALPHA_DISPLAY));
    image_screen_bitmap_soon(w);
  }
  paint_outside_image(dc, paint, iw, ih);
  if (old) SelectPalette(dc, old, TRUE);
  EndPaint(w, &ps);
  exit_after_first_paint();
}
